// In the steady state of the frame cycle the pixel operations allocate
// nothing, apart from the copy of the frame that UpdateMotionHistory takes by
// value. Counted with a replaced global operator new (for this whole test
// program; it only counts).
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <new>

#include "processing/compositing.h"
#include "processing/cpu_features.h"
#include "processing/motion_history.h"

namespace {

std::atomic<long> g_allocations{0};

}  // namespace

void* operator new(std::size_t size) {
    g_allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size == 0 ? 1 : size)) {
        return p;
    }
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
    return operator new(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    g_allocations.fetch_add(1, std::memory_order_relaxed);
    return std::malloc(size == 0 ? 1 : size);
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept {
    return operator new(size, tag);
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete[](void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete(void* p, const std::nothrow_t&) noexcept {
    std::free(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept {
    std::free(p);
}

namespace {

CDibImage Frame(BYTE shade) {
    CDibImage frame;
    frame.Create(320, 240);
    std::memset(frame.Bits(), shade, static_cast<size_t>(frame.ImageSize()));
    return frame;
}

TEST(SteadyState, OnlyTheFrameCopyIsAllocatedPerTick) {
    for (VectorPath path : {VectorPath::kScalar, VectorPath::kAvx2}) {
        const VectorPath previous = LimitVectorPath(path);
        const CDibImage frames[2] = {Frame(10), Frame(200)};
        const CDibImage background = Frame(90);
        CDibImage sprite;
        sprite.Create(9, 13);
        CDibImage history;
        CDibImage display;
        display.Create(320, 240);
        // The first ticks shape every image.
        for (int tick = 0; tick < 2; ++tick) {
            UpdateMotionHistory(frames[tick], &history);
            BlendByHistory(&frames[tick], &history, &background, &display);
        }

        long before = g_allocations.load();
        const CDibImage copy(frames[0]);
        const long perCopy = g_allocations.load() - before;
        EXPECT_GT(perCopy, 0);

        for (int tick = 0; tick < 6; ++tick) {
            before = g_allocations.load();
            UpdateMotionHistory(frames[tick % 2], &history);
            EXPECT_EQ(perCopy, g_allocations.load() - before) << VectorPathName(ActiveVectorPath());
            before = g_allocations.load();
            const int hidden = BlendByHistory(&frames[tick % 2], &history, &background, &display);
            PasteColorKeyed(&display, &sprite, 290, 25, Pixel3{0, 255, 0});
            PasteColorKeyed(&display, &sprite, -3, 230, Pixel3{0, 255, 0});
            EXPECT_EQ(0, g_allocations.load() - before);
            EXPECT_EQ(0, hidden);  // every pixel moved on every tick
        }
        LimitVectorPath(previous);
    }
}

}  // namespace
