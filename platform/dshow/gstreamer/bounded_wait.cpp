// Waiting on a device for a bounded time (see bounded_wait.h).
#include "platform/dshow/gstreamer/bounded_wait.h"

#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

namespace {

struct Completion {
    std::mutex lock;
    std::condition_variable changed;
    bool done = false;
};

}  // namespace

bool FinishesWithin(std::function<void()> work, std::chrono::milliseconds wait) {
    auto completion = std::make_shared<Completion>();
    std::thread worker([completion, work = std::move(work)]() {
        work();
        std::lock_guard<std::mutex> guard(completion->lock);
        completion->done = true;
        completion->changed.notify_all();
    });
    std::unique_lock<std::mutex> guard(completion->lock);
    const bool done =
        completion->changed.wait_for(guard, wait, [&completion]() { return completion->done; });
    guard.unlock();
    if (done) {
        worker.join();
    } else {
        worker.detach();  // it keeps its own references; the process may end before it does
    }
    return done;
}
