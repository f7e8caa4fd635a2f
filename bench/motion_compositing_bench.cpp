// The motion history and the blend at the display size (320x240), on the
// plain path and on each vector path, with a history made by a moving shape as
// in the frame cycle; and the blend's slowest case, where every channel needs
// the double formula.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "bench/bench_frames.h"
#include "processing/compositing.h"
#include "processing/cpu_features.h"
#include "processing/motion_history.h"

namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 240;
constexpr int kFrames = 16;

class PathLimit {
  public:
    explicit PathLimit(const benchmark::State& state)
        : m_previous(LimitVectorPath(static_cast<VectorPath>(state.range(0)))) {}
    ~PathLimit() { LimitVectorPath(m_previous); }

  private:
    VectorPath m_previous;
};

std::vector<CDibImage> Frames() {
    std::vector<CDibImage> frames;
    for (int n = 0; n < kFrames; ++n) {
        frames.push_back(MakeCameraFrame(kWidth, kHeight, n));
    }
    return frames;
}

void BM_UpdateMotionHistory(benchmark::State& state) {
    PathLimit limit(state);
    const std::vector<CDibImage> frames = Frames();
    CDibImage history;
    int next = 0;
    for (auto _ : state) {
        UpdateMotionHistory(frames[next], &history);  // the by-value copy included
        next = (next + 1) % kFrames;
        benchmark::ClobberMemory();
    }
    state.SetLabel(VectorPathName(ActiveVectorPath()));
}

// Blends with histories of a moving shape (255 where it is, fading behind it).
void BM_BlendByHistory(benchmark::State& state) {
    PathLimit limit(state);
    const std::vector<CDibImage> frames = Frames();
    std::vector<CDibImage> histories(kFrames);
    for (int round = 0; round < 3; ++round) {
        for (int n = 0; n < kFrames; ++n) {
            UpdateMotionHistory(frames[n], &histories[n]);
        }
    }
    const CDibImage background = MakeCameraFrame(kWidth, kHeight, 1000);
    CDibImage out;
    out.Create(kWidth, kHeight);
    int next = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            BlendByHistory(&frames[next], &histories[next], &background, &out));
        next = (next + 1) % kFrames;
        benchmark::ClobberMemory();
    }
    state.SetLabel(VectorPathName(ActiveVectorPath()));
}

// The frame equal to the background under a half-faded history everywhere:
// every channel lies on a multiple of 1/255, the case taken from the formula.
void BM_BlendByHistory_Slowest(benchmark::State& state) {
    PathLimit limit(state);
    const CDibImage frame = MakeCameraFrame(kWidth, kHeight, 3);
    CDibImage history;
    history.Create(kWidth, kHeight);
    std::memset(history.Bits(), 128, static_cast<size_t>(history.ImageSize()));
    CDibImage out;
    out.Create(kWidth, kHeight);
    for (auto _ : state) {
        benchmark::DoNotOptimize(BlendByHistory(&frame, &history, &frame, &out));
        benchmark::ClobberMemory();
    }
    state.SetLabel(VectorPathName(ActiveVectorPath()));
}

void PathArgs(benchmark::internal::Benchmark* b) {
    b->ArgName("path")
        ->Arg(static_cast<int>(VectorPath::kScalar))
        ->Arg(static_cast<int>(VectorPath::kSse41))
        ->Arg(static_cast<int>(VectorPath::kAvx2))
        ->Unit(benchmark::kMicrosecond);
}

BENCHMARK(BM_UpdateMotionHistory)->Apply(PathArgs);
BENCHMARK(BM_BlendByHistory)->Apply(PathArgs);
BENCHMARK(BM_BlendByHistory_Slowest)->Apply(PathArgs);

}  // namespace
