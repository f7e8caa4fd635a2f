// The per-tick grab: GrabFrame of a 640 x 480 frame from the GStreamer
// driver's Sample Grabber (a virtual test camera) into a matching image, which
// is one bottom-up copy of 921,600 bytes and no allocation.
#include <benchmark/benchmark.h>

#include <chrono>
#include <string>
#include <cstdlib>
#include <thread>

#include "capture/capture_manager.h"
#include "platform/win32/null/null_driver.h"

namespace {

void BM_GrabFrame640x480(benchmark::State& state) {
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
        benchmark::DoNotOptimize(manager.GrabFrame(0, &image));
    }
    state.SetBytesProcessed(state.iterations() * manager.FrameSize(0));
    unsetenv("TENEBRIX_VIRTUAL_CAMERAS");
}
BENCHMARK(BM_GrabFrame640x480)->Unit(benchmark::kMicrosecond);

}  // namespace
