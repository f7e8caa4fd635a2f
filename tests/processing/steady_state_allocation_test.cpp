// In the steady state of the frame cycle the pixel operations allocate
// nothing, apart from the copy of the frame that UpdateMotionHistory takes by
// value. Counted with the replaced global operator new of tests/support.
#include <gtest/gtest.h>

#include <cstring>

#include "processing/compositing.h"
#include "processing/cpu_features.h"
#include "processing/motion_history.h"
#include "tests/processing/vector_paths.h"
#include "tests/support/counting_new.h"

namespace {

CDibImage Frame(BYTE shade) {
    CDibImage frame;
    frame.Create(320, 240);
    std::memset(frame.Bits(), shade, static_cast<size_t>(frame.ImageSize()));
    return frame;
}

using SteadyStateOnPath = OnVectorPath;
INSTANTIATE_TEST_SUITE_P(AllPaths, SteadyStateOnPath, AllVectorPaths(), VectorPathTestName);

TEST_P(SteadyStateOnPath, OnlyTheFrameCopyIsAllocatedPerTick) {
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

    long long before = AllocationCount();
    const CDibImage copy(frames[0]);
    const long long perCopy = AllocationCount() - before;
    EXPECT_GT(perCopy, 0);

    for (int tick = 0; tick < 6; ++tick) {
        before = AllocationCount();
        UpdateMotionHistory(frames[tick % 2], &history);
        EXPECT_EQ(perCopy, AllocationCount() - before) << VectorPathName(ActiveVectorPath());
        before = AllocationCount();
        const int hidden = BlendByHistory(&frames[tick % 2], &history, &background, &display);
        PasteColorKeyed(&display, &sprite, 290, 25, Pixel3{0, 255, 0});
        PasteColorKeyed(&display, &sprite, -3, 230, Pixel3{0, 255, 0});
        EXPECT_EQ(0, AllocationCount() - before);
        EXPECT_EQ(0, hidden);  // every pixel moved on every tick
    }
}

}  // namespace
