#pragma once
// Runs a piece of work on a thread of its own and waits for it no longer than a time limit:
// for reads of files the interface thread needs at once but that may never end (a file on a
// stalled network mount). Work that runs past the limit is left to end on its own.
//
// Threads left behind. A stalled mount could otherwise leave a thread behind for every file
// asked for, so the process counts them: the threads of callWithin from their start to their
// end (any of them may be left behind), and the thumbnail loader's workers once it has given
// up on them. Once MaxThreadsLeftBehind are counted, timed work is refused at once, starting
// no thread: callWithin gives nothing, a thumbnail loader made then gives every cell up, and
// one at work starts no worker in place of a stuck one. A place comes free when its thread
// ends.
//
// What work left behind may touch. It owns everything it uses (captured by value, or held
// by shared pointers of its own), never an object of the caller's, a QObject or the
// application object, so the caller may go on, or go away, at once. It still runs Qt's own
// code (a file read, a picture decode), which needs Qt as the application object leaves it,
// and even once its place is free a thread's last steps (Qt's own bookkeeping of a thread
// that used it) may still be under way: so nothing of it may run once the application
// object is destroyed. The program therefore ends through endProcessIfThreadsLeftBehind()
// before it destroys the application object: when any thread was left behind during the
// run it ends the process there and then, waiting for none of them and running no
// destructor they could be using; when none was, it returns, and the program ends as usual.

#include "platform/busyscope.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>
#include <utility>

namespace pavix::platform {

// Most threads timed work may have counted at once, over the whole process.
inline constexpr int MaxThreadsLeftBehind = 16;

// Threads counted now: callWithin's that run, and the thumbnail loader's given up on that
// have not ended.
int threadsLeftBehind();

// Counts a thread about to start for timed work; false, counting nothing, when
// MaxThreadsLeftBehind are counted already (the work is then refused).
bool takeThreadPlace();
// Notes that a counted thread has just been left behind (for endProcessIfThreadsLeftBehind).
void noteThreadLeftBehind();
// Counts a thread that runs already and has just been left behind, even past the cap (it
// runs whatever the count says), and notes it.
void takeThreadPlaceAnyway();
// Frees the place of a thread that ends; the thread's last act, once it holds nothing more.
void giveThreadPlaceBack();

// Ends the process at once with exitCode when a thread was left behind during the run, ended
// or not, or one is counted now (output flushed, no destructor run, no thread waited for);
// returns when none ever was. main() calls it before the application object goes.
void endProcessIfThreadsLeftBehind(int exitCode);

// How the caller spends the wait.
enum class Waiting {
    Blocked, // it waits and does nothing else
    // On the interface thread, the windows repaint and answer the desktop meanwhile, with the
    // user's input and the program's timers held (BusyScope). On any other thread, as Blocked.
    KeepingWindowsAlive,
};

// True on the thread of the application object.
bool onInterfaceThread();

// How long a wait that keeps the windows alive waits before it handles their events again.
inline constexpr std::chrono::milliseconds KeepAliveSlice{15};

// The work's result, or nothing when it ran past limit or was refused (MaxThreadsLeftBehind
// threads counted already). Work must own everything it uses (capture by value). When the
// system refuses a thread, the work runs on the caller's thread, unbounded.
template <typename Work>
auto callWithin(std::chrono::milliseconds limit, Work work, Waiting waiting = Waiting::Blocked)
    -> std::optional<decltype(work())>
{
    using Value = decltype(work());
    struct Pending {
        std::mutex mutex;
        std::condition_variable finished;
        std::optional<Value> result;
    };
    if (!takeThreadPlace())
        return std::nullopt;
    auto pending = std::make_shared<Pending>();
    // Shared, so that the caller can still run it when no thread can be started.
    auto task = std::make_shared<Work>(std::move(work));
    std::thread worker;
    try {
        worker = std::thread([pending, task]() mutable {
            Value value = (*task)();
            {
                std::lock_guard lock(pending->mutex);
                pending->result.emplace(std::move(value));
            }
            pending->finished.notify_all();
            // Lets go of the work and its result before the place comes free: once the count
            // has come down, nothing of this thread touches anything any more.
            task.reset();
            pending.reset();
            giveThreadPlaceBack();
        });
    } catch (const std::system_error &) {
        giveThreadPlaceBack();
        return std::optional<Value>((*task)());
    }
    const auto deadline = std::chrono::steady_clock::now() + limit;
    std::optional<BusyScope> busy;
    if (waiting == Waiting::KeepingWindowsAlive && onInterfaceThread())
        busy.emplace();
    std::unique_lock lock(pending->mutex);
    bool finished = false;
    for (;;) {
        const auto until = busy ? std::min(deadline, std::chrono::steady_clock::now() + KeepAliveSlice) : deadline;
        finished = pending->finished.wait_until(lock, until, [&] { return pending->result.has_value(); });
        if (finished || std::chrono::steady_clock::now() >= deadline)
            break;
        lock.unlock();
        busy->keepAlive();
        lock.lock();
    }
    lock.unlock();
    if (!finished) {
        noteThreadLeftBehind();
        worker.detach(); // it holds what it uses, and ends when its work does
        return std::nullopt;
    }
    // Joined, not left running: nothing of it outlives the call when it finished in time.
    worker.join();
    return std::move(pending->result);
}

} // namespace pavix::platform
