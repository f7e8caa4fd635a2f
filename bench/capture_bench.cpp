// The per-tick grab: GrabFrame of a 640 x 480 frame from the GStreamer
// driver's Sample Grabber (a virtual test camera) into a matching image, which
// is one bottom-up copy of 921,600 bytes and no allocation: back to back, and
// as the program's tick does it, 30 ms after the last one.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "capture/capture_manager.h"
#include "platform/win32/null/null_driver.h"

namespace {

void GrabFrames(benchmark::State& state, std::chrono::milliseconds pause) {
    null_driver::Use();
    setenv("TENEBRIX_VIRTUAL_CAMERAS",
           "Bench Camera=videotestsrc pattern=smpte is-live=true ! "
           "video/x-raw,width=640,height=480,framerate=30/1",
           1);
    // Every question is answered Yes: the first device is taken.
    CCaptureManager manager;
    if (manager.Open(1, 0) != 1 || std::string(manager.Device(0).name) != "Bench Camera") {
        state.SkipWithError("the virtual camera was not the first device");
        return;
    }
    CDibImage image;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (manager.GrabFrame(0, &image) != 0 && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    for (auto _ : state) {
        if (pause.count() > 0) {
            state.PauseTiming();
            std::this_thread::sleep_for(pause);
            state.ResumeTiming();
        }
        benchmark::DoNotOptimize(manager.GrabFrame(0, &image));
    }
    state.SetBytesProcessed(state.iterations() * manager.FrameSize(0));
    unsetenv("TENEBRIX_VIRTUAL_CAMERAS");
}

void BM_GrabFrame640x480(benchmark::State& state) {
    GrabFrames(state, std::chrono::milliseconds(0));
}
BENCHMARK(BM_GrabFrame640x480)->Unit(benchmark::kMicrosecond);

// Caches that other work had for 30 ms: the frame and the image are read and
// written from memory.
void BM_GrabFrame640x480AfterIdle(benchmark::State& state) {
    GrabFrames(state, std::chrono::milliseconds(30));
}
BENCHMARK(BM_GrabFrame640x480AfterIdle)->Unit(benchmark::kMicrosecond)->Iterations(100);

// What waking up costs the tick's thread by itself: a 30 ms wait for nothing,
// in processor time.
void BM_WakeUpEvery30ms(benchmark::State& state) {
    for (auto _ : state) {
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
    }
}
BENCHMARK(BM_WakeUpEvery30ms)->Unit(benchmark::kMicrosecond)->Iterations(100);

}  // namespace
