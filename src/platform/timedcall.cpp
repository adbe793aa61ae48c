#include "platform/timedcall.h"

#include <QCoreApplication>
#include <QThread>

#include <atomic>
#include <cstdio>
#include <cstdlib>

namespace pavix::platform {

namespace {

// Constant-initialised and never destroyed in effect (an atomic's destructor does nothing):
// a thread left behind may give its place back while the process ends.
constinit std::atomic<int> g_threadsCounted{0};
constinit std::atomic<bool> g_threadLeftBehind{false};

} // namespace

bool onInterfaceThread()
{
    const QCoreApplication *application = QCoreApplication::instance();
    return application && QThread::currentThread() == application->thread();
}

int threadsLeftBehind()
{
    return g_threadsCounted.load();
}

bool takeThreadPlace()
{
    int counted = g_threadsCounted.load();
    while (counted < MaxThreadsLeftBehind) {
        if (g_threadsCounted.compare_exchange_weak(counted, counted + 1))
            return true;
    }
    return false;
}

void noteThreadLeftBehind()
{
    g_threadLeftBehind = true;
}

void takeThreadPlaceAnyway()
{
    ++g_threadsCounted;
    noteThreadLeftBehind();
}

void giveThreadPlaceBack()
{
    --g_threadsCounted;
}

void endProcessIfThreadsLeftBehind(int exitCode)
{
    if (!g_threadLeftBehind && threadsLeftBehind() == 0)
        return;
    std::fflush(nullptr);
    std::_Exit(exitCode);
}

} // namespace pavix::platform
