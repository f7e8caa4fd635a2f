// Waits for a camera's first frame: the grab fails until the graph has
// delivered one.
#pragma once

#include <chrono>
#include <thread>

#include "capture/capture_manager.h"

// Grabs from device 0 until a frame has arrived (at most 30 s, for a busy
// machine); the last result.
inline int GrabFirstFrame(CCaptureManager& manager, CDibImage* image) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    int result = manager.GrabFrame(0, image);
    while (result != 0 && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        result = manager.GrabFrame(0, image);
    }
    return result;
}
