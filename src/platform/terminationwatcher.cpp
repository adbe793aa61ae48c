#include "platform/terminationwatcher.h"

#include <QSocketNotifier>

#include <array>
#include <cerrno>
#include <csignal>

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace pavix::platform {

namespace {

constexpr std::array<int, 3> WatchedSignals{SIGTERM, SIGINT, SIGHUP};
// The two ends of the pipe the handler writes to: a handler may only make async-signal-
// safe calls, so it only writes the signal's number, and the event loop reads it.
int signalPipe[2] = {-1, -1};
struct sigaction formerActions[WatchedSignals.size()];

extern "C" void onTerminationSignal(int signalNumber)
{
    const int saved = errno;
    const unsigned char byte = static_cast<unsigned char>(signalNumber);
    [[maybe_unused]] const ssize_t written = ::write(signalPipe[1], &byte, 1);
    errno = saved;
}

} // namespace

TerminationWatcher::TerminationWatcher(QObject *parent) : QObject(parent)
{
    if (signalPipe[0] >= 0 || ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, signalPipe) != 0)
        return;
    m_notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &TerminationWatcher::readSignal);
    struct sigaction action {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (size_t i = 0; i < WatchedSignals.size(); ++i)
        ::sigaction(WatchedSignals[i], &action, &formerActions[i]);
}

TerminationWatcher::~TerminationWatcher()
{
    if (!m_notifier)
        return;
    for (size_t i = 0; i < WatchedSignals.size(); ++i)
        ::sigaction(WatchedSignals[i], &formerActions[i], nullptr);
    ::close(signalPipe[0]);
    ::close(signalPipe[1]);
    signalPipe[0] = signalPipe[1] = -1;
}

void TerminationWatcher::readSignal()
{
    unsigned char byte = 0;
    while (::read(signalPipe[0], &byte, 1) == 1)
        emit terminationRequested(byte);
}

} // namespace pavix::platform
