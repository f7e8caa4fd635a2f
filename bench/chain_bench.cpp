// The image chain of one tick of the frame cycle in stealth mode, for each
// capture size: the resize of a captured frame to 320x240, straight from a
// rotation of frames that misses the caches (as a camera's buffers do), the
// motion history with its by-value frame copy, the blend over the background,
// and five HUD sprite pastes. The grab copy is measured on its own
// (capture_bench.cpp). Reports the heap allocations made per tick as well.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "bench/bench_frames.h"
#include "tests/support/counting_new.h"
#include "processing/compositing.h"
#include "processing/motion_history.h"
#include "processing/resampling.h"

namespace {

constexpr Pixel3 kKey = {0x00, 0xFF, 0x00};

void BM_FrameCycle(benchmark::State& state) {
    const int width = static_cast<int>(state.range(0));
    const int height = static_cast<int>(state.range(1));
    const std::vector<CDibImage>& frames = ColdCameraFrames(width, height);
    CDibImage current;
    CDibImage motion;
    CDibImage display;
    display.Create(320, 240);
    const CDibImage background = MakeCameraFrame(320, 240, 1000);
    const CDibImage itemMark = MakeSprite(36, 40, 90);
    const CDibImage camouflageMark = MakeSprite(44, 17, 160);
    const CDibImage digit = MakeSprite(9, 13, 220);

    size_t next = 0;
    auto tick = [&]() {
        ResizeImage(&frames[next], &current, 320, 240);
        next = (next + 1) % frames.size();
        UpdateMotionHistory(current, &motion);
        const int hidden = BlendByHistory(&current, &motion, &background, &display);
        PasteColorKeyed(&display, &itemMark, 3, 195, kKey);
        PasteColorKeyed(&display, &camouflageMark, 260, 7, kKey);
        PasteColorKeyed(&display, &digit, 290, 25, kKey);
        PasteColorKeyed(&display, &digit, 279, 25, kKey);
        PasteColorKeyed(&display, &digit, 269, 25, kKey);
        benchmark::DoNotOptimize(hidden);
        benchmark::ClobberMemory();
    };
    // Steady state first: every image shaped, the history's state made.
    for (int n = 0; n < 3; ++n) {
        tick();
    }
    const long long allocationsBefore = AllocationCount();
    for (auto _ : state) {
        tick();
    }
    const long long allocations = AllocationCount() - allocationsBefore;
    state.counters["allocs_per_tick"] =
        static_cast<double>(allocations) / static_cast<double>(state.iterations());
}

BENCHMARK(BM_FrameCycle)->Apply(CaptureSizes);

// The floor of a tick: a plain read of the cold frame bytes that the resize
// to 320x240 needs (the rows its samples touch, whole), summed in 64-bit words.
void BM_ColdFrameRead(benchmark::State& state) {
    const int width = static_cast<int>(state.range(0));
    const int height = static_cast<int>(state.range(1));
    const std::vector<CDibImage>& frames = ColdCameraFrames(width, height);
    const std::vector<int> rows = RowsReadByResize(width, height, 320, 240);
    const size_t words = static_cast<size_t>(DibStride(width)) / sizeof(std::uint64_t);
    size_t next = 0;
    for (auto _ : state) {
        std::uint64_t sum = 0;
        for (const int y : rows) {
            const auto* row = reinterpret_cast<const std::uint64_t*>(frames[next].Row(y));
            for (size_t i = 0; i < words; ++i) {
                sum += row[i];
            }
        }
        benchmark::DoNotOptimize(sum);
        next = (next + 1) % frames.size();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<long long>(rows.size()) *
                            DibStride(width));
    state.counters["bytes_read"] = static_cast<double>(rows.size()) * DibStride(width);
}

BENCHMARK(BM_ColdFrameRead)->Apply(CaptureSizes);

}  // namespace
