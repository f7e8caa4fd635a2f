// One whole tick of the frame cycle in stealth mode, for each capture size:
// the copy of a captured frame (from a rotation of frames that misses the
// caches, as a camera's buffers do), the resize to 320x240, the motion history
// with its by-value frame copy, the blend over the background, and five HUD
// sprite pastes. Reports the heap allocations made per tick as well.
#include <benchmark/benchmark.h>

#include "bench/bench_frames.h"
#include "tests/support/counting_new.h"
#include "processing/compositing.h"
#include "processing/motion_history.h"
#include "processing/resampling.h"

namespace {

constexpr Pixel3 kKey = {0x00, 0xFF, 0x00};

// A sprite of the HUD's size: key colour around a filled rectangle.
CDibImage MakeSprite(int width, int height, BYTE shade) {
    CDibImage sprite;
    sprite.Create(width, height);
    for (int i = 0; i < height; ++i) {
        for (int j = 0; j < width; ++j) {
            BYTE* p = sprite.Row(i) + 3 * j;
            const bool inside = i > 1 && i < height - 2 && j > 1 && j < width - 2;
            p[0] = inside ? shade : kKey.blue;
            p[1] = inside ? shade : kKey.green;
            p[2] = inside ? static_cast<BYTE>(255 - shade) : kKey.red;
        }
    }
    return sprite;
}

void BM_FrameCycle(benchmark::State& state) {
    const int width = static_cast<int>(state.range(0));
    const int height = static_cast<int>(state.range(1));
    const std::vector<CDibImage>& frames = ColdCameraFrames(width, height);
    CDibImage captured;
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
        captured.CopyFrom(frames[next]);
        next = (next + 1) % frames.size();
        ResizeImage(&captured, &current, 320, 240);
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

BENCHMARK(BM_FrameCycle)
    ->ArgNames({"width", "height"})
    ->Args({320, 240})
    ->Args({640, 480})
    ->Args({1280, 720})
    ->Args({1920, 1080})
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(7)
    ->ReportAggregatesOnly(true);

}  // namespace
