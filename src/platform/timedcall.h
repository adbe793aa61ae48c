#pragma once
// Runs a piece of work on a thread of its own and waits for it no longer than a time limit:
// for reads of files the interface thread needs at once but that may never end (a file on a
// stalled network mount). Work that runs past the limit is left to end on its own; it holds
// all it uses, so it touches nothing of the caller's when it does.

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>
#include <utility>

namespace pavix::platform {

// The work's result, or nothing when it ran past limit. Work must own everything it
// uses (capture by value). When the system refuses a thread, the work runs on the caller's
// thread, unbounded.
template<typename Work>
auto callWithin(std::chrono::milliseconds limit, Work work) -> std::optional<decltype(work())>
{
    using Value = decltype(work());
    struct Pending {
        std::mutex mutex;
        std::condition_variable finished;
        std::optional<Value> result;
    };
    const auto pending = std::make_shared<Pending>();
    // Shared, so that the caller can still run it when no thread can be started.
    const auto task = std::make_shared<Work>(std::move(work));
    std::thread worker;
    try {
        worker = std::thread([pending, task] {
            Value value = (*task)();
            {
                std::lock_guard lock(pending->mutex);
                pending->result.emplace(std::move(value));
            }
            pending->finished.notify_all();
        });
    } catch (const std::system_error &) {
        return std::optional<Value>((*task)());
    }
    std::unique_lock lock(pending->mutex);
    const bool finished = pending->finished.wait_for(lock, limit, [&] { return pending->result.has_value(); });
    lock.unlock();
    if (!finished) {
        worker.detach(); // it holds what it uses, and ends when its work does
        return std::nullopt;
    }
    // Joined, not left running: nothing of it outlives the call when it finished in time.
    worker.join();
    return std::move(pending->result);
}

} // namespace pavix::platform
