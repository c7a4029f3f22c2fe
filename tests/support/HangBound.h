#pragma once
// Runs a piece of work on a thread of its own and tells whether it ended within a bound:
// a test of hostile input names the input that hangs instead of stalling the whole run.
// The bound only catches a hang; it is no speed goal.
#include <chrono>
#include <exception>
#include <functional>
#include <future>
#include <memory>
#include <thread>

namespace TestSupport {

// False when `work` has not ended after `bound`. The thread is then left running on its
// own (`work` must hold by value whatever it uses), so the test reports the input and goes
// on. An exception from `work` is raised again here.
inline bool EndsWithin(std::function<void()> work, std::chrono::milliseconds bound) {
    auto done = std::make_shared<std::promise<void>>();
    std::future<void> ended = done->get_future();
    std::thread([work = std::move(work), done] {
        try {
            work();
            done->set_value();
        } catch (...) {
            done->set_exception(std::current_exception());
        }
    }).detach();
    if (ended.wait_for(bound) != std::future_status::ready) return false;
    ended.get();
    return true;
}

}  // namespace TestSupport
