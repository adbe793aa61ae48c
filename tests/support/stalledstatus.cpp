#include "support/stalledstatus.h"

#include <chrono>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

struct Holdback {
    std::mutex mutex;
    std::condition_variable released;
    std::string name; // empty: nothing held back
    int held = 0;
    int waiting = 0;
};

// Never destroyed: a caller may still be held back, or come, while the program ends.
Holdback &holdback()
{
    static auto *const state = new Holdback;
    return *state;
}

void waitIfHeldBack(const char *path)
{
    Holdback &h = holdback();
    std::unique_lock lock(h.mutex);
    if (h.name.empty())
        return;
    const char *slash = std::strrchr(path, '/');
    if (h.name != (slash ? slash + 1 : path))
        return;
    ++h.held;
    ++h.waiting;
    const std::string name = h.name;
    h.released.wait_for(lock, std::chrono::seconds(60), [&] { return h.name != name; });
    --h.waiting;
}

} // namespace

// The system's own calls, made directly, as the C library makes them.
extern "C" int stat(const char *__restrict path, struct stat *__restrict info) noexcept
{
    waitIfHeldBack(path);
    return static_cast<int>(::syscall(SYS_newfstatat, AT_FDCWD, path, info, 0));
}

extern "C" int fstatat(int folder, const char *__restrict path, struct stat *__restrict info, int flags) noexcept
{
    waitIfHeldBack(path);
    return static_cast<int>(::syscall(SYS_newfstatat, folder, path, info, flags));
}

namespace pavix::testsupport {

StalledStatus::StalledStatus(const QByteArray &name)
{
    Holdback &h = holdback();
    std::lock_guard lock(h.mutex);
    h.name = name.toStdString();
}

StalledStatus::~StalledStatus()
{
    release();
}

void StalledStatus::release()
{
    Holdback &h = holdback();
    {
        std::lock_guard lock(h.mutex);
        h.name.clear();
    }
    h.released.notify_all();
}

int StalledStatus::held()
{
    Holdback &h = holdback();
    std::lock_guard lock(h.mutex);
    return h.held;
}

int StalledStatus::waiting()
{
    Holdback &h = holdback();
    std::lock_guard lock(h.mutex);
    return h.waiting;
}

} // namespace pavix::testsupport
