#pragma once
// A gate that work passes only once the test opens it: a stand-in for a read that stalls.
// Held by the work through a shared pointer, so that work left behind may outlive the test.

#include <condition_variable>
#include <mutex>

namespace pavix::testsupport {

struct Gate {
    std::mutex mutex;
    std::condition_variable opened;
    bool open = false;

    // Waits until the gate is open.
    void pass()
    {
        std::unique_lock lock(mutex);
        opened.wait(lock, [this] { return open; });
    }
    // Opens it for every work waiting and every work to come.
    void release()
    {
        {
            std::lock_guard lock(mutex);
            open = true;
        }
        opened.notify_all();
    }
};

} // namespace pavix::testsupport
