// ResizeImage from the usual capture sizes to the 320x240 working size, on each
// vector path. The source stays the same (warm in the caches); the frame-cycle
// benchmark measures the resize of cold frames as part of a whole tick.
#include <benchmark/benchmark.h>

#include "bench/bench_frames.h"
#include "processing/cpu_features.h"
#include "processing/resampling.h"

namespace {

void BM_ResizeImage(benchmark::State& state) {
    const VectorPath path = static_cast<VectorPath>(state.range(2));
    if (static_cast<int>(path) > static_cast<int>(SupportedVectorPath())) {
        state.SkipWithError("the processor lacks this vector path");
        return;
    }
    const VectorPath previous = LimitVectorPath(path);
    const CDibImage src =
        MakeCameraFrame(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)), 0);
    CDibImage dst;
    ResizeImage(&src, &dst, 320, 240);
    for (auto _ : state) {
        ResizeImage(&src, &dst, 320, 240);
        benchmark::DoNotOptimize(dst.Bits());
        benchmark::ClobberMemory();
    }
    state.SetLabel(VectorPathName(path));
    LimitVectorPath(previous);
}

void ResizeArguments(benchmark::internal::Benchmark* b) {
    for (const auto& size :
         {std::pair<int, int>{320, 240}, {640, 480}, {1280, 720}, {1920, 1080}, {352, 288}}) {
        for (const VectorPath path : {VectorPath::kAvx2, VectorPath::kSse41, VectorPath::kScalar}) {
            b->Args({size.first, size.second, static_cast<int>(path)});
        }
    }
}

BENCHMARK(BM_ResizeImage)
    ->ArgNames({"width", "height", "path"})
    ->Apply(ResizeArguments)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

}  // namespace
