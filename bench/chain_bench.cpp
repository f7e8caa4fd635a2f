// One whole tick of the frame cycle in stealth mode, for each capture size:
// the copy of a captured frame (from a rotation of frames that misses the
// caches, as a camera's buffers do), the resize to 320x240, the motion history
// with its by-value frame copy, the blend over the background, and five HUD
// sprite pastes. Reports the heap allocations made per tick as well.
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

BENCHMARK(BM_FrameCycle)->Apply(CaptureSizes);

// The floor of a tick that copies the frame: a plain read of the same cold
// frame bytes, summed in 64-bit words.
void BM_ColdFrameRead(benchmark::State& state) {
    const std::vector<CDibImage>& frames =
        ColdCameraFrames(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    size_t next = 0;
    for (auto _ : state) {
        const auto* words = reinterpret_cast<const std::uint64_t*>(frames[next].Bits());
        const size_t count = static_cast<size_t>(frames[next].ImageSize()) / sizeof(*words);
        std::uint64_t sum = 0;
        for (size_t i = 0; i < count; ++i) {
            sum += words[i];
        }
        benchmark::DoNotOptimize(sum);
        next = (next + 1) % frames.size();
    }
    state.SetBytesProcessed(state.iterations() * frames[0].ImageSize());
}

BENCHMARK(BM_ColdFrameRead)->Apply(CaptureSizes);

}  // namespace
