// Waiting on a device for a bounded time.
//
// A camera can stop answering at any moment: a source blocked in a read, a
// device that never opens. GStreamer's state changes then wait for it without
// end. Work that may wait on a device runs on a thread of its own, and the
// caller waits for it only so long; work that does not finish in time goes on
// alone and must hold references of its own on everything it uses.
#pragma once

#include <chrono>
#include <functional>

// The longest a stop of the graph may take before it is left to finish alone.
constexpr std::chrono::milliseconds kStopWait(500);
// The longest a device may take to open before its bind counts as failed.
constexpr std::chrono::milliseconds kOpenWait(5000);

// Runs `work` on a new thread; true when it finished within `wait`.
bool FinishesWithin(std::function<void()> work, std::chrono::milliseconds wait);
