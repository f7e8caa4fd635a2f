// The image chain of one tick of the frame cycle in stealth mode, for each
// capture size, as the program builds it (BuildShownPicture): the resize of a
// captured frame to 320x240, straight from a rotation of frames that misses
// the caches (as a camera's buffers do), the motion history, the blend over
// the background, and the HUD's sprite pastes. The grab copy is measured on
// its own (capture_bench.cpp). Reports the heap allocations made per tick as
// well.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "app/shown_picture.h"
#include "bench/bench_frames.h"
#include "processing/memory_ahead.h"
#include "tests/support/counting_new.h"

namespace {

void BM_FrameCycle(benchmark::State& state) {
    const int width = static_cast<int>(state.range(0));
    const int height = static_cast<int>(state.range(1));
    const std::vector<CDibImage>& frames = ColdCameraFrames(width, height);
    FrameCycleImages cycle;
    CDibImage display;
    display.Create(320, 240);
    const CDibImage background = MakeCameraFrame(320, 240, 1000);
    const CDibImage itemMark = MakeSprite(36, 40, 90);
    const CDibImage camouflageMark = MakeSprite(44, 17, 160);
    const CDibImage digits[10] = {MakeSprite(9, 13, 220), MakeSprite(9, 13, 220),
                                  MakeSprite(9, 13, 220), MakeSprite(9, 13, 220),
                                  MakeSprite(9, 13, 220), MakeSprite(9, 13, 220),
                                  MakeSprite(9, 13, 220), MakeSprite(9, 13, 220),
                                  MakeSprite(9, 13, 220), MakeSprite(9, 13, 220)};
    const HudImages sprites = {&itemMark, &camouflageMark, digits};

    size_t next = 0;
    auto tick = [&]() {
        const int hidden =
            BuildShownPicture(&frames[next], &background, sprites, 1, &cycle, &display);
        next = (next + 1) % frames.size();
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

// The floor of a tick: a read of the cold frame bytes that the resize to
// 320x240 needs (the rows its samples touch, whole), summed in 64-bit words,
// the way the chain reads them: in memory order (the bottom row first), each
// row asked for a little ahead. Read from the top row down, or without asking
// ahead, the same bytes take several times longer on the development machine.
void BM_ColdFrameRead(benchmark::State& state) {
    const int width = static_cast<int>(state.range(0));
    const int height = static_cast<int>(state.range(1));
    const std::vector<CDibImage>& frames = ColdCameraFrames(width, height);
    const std::vector<int> rows = RowsReadByResize(width, height, 320, 240);
    const size_t words = static_cast<size_t>(DibStride(width)) / sizeof(std::uint64_t);
    std::vector<std::uintptr_t> order(rows.size());
    size_t next = 0;
    for (auto _ : state) {
        for (size_t k = 0; k < rows.size(); ++k) {
            order[k] =
                reinterpret_cast<std::uintptr_t>(frames[next].Row(rows[rows.size() - 1 - k]));
        }
        RowReadAhead ahead(order.data(), static_cast<int>(order.size()),
                           static_cast<std::uintptr_t>(DibStride(width)));
        std::uint64_t sum = 0;
        for (const std::uintptr_t address : order) {
            ahead.AskAhead(address);
            const auto* row = reinterpret_cast<const std::uint64_t*>(address);
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
