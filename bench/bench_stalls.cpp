// What files that never answer cost in time, against the time limits that bound it:
//   - a grid build (ThumbLoader, one worker) over a list with stalled files among readable
//     ones, for a few cell time limits: the build should take about one limit a stalled
//     file, plus the readable files' own time;
//   - a timed call (callWithin) that ends at once, against the same work called directly:
//     the cost of the thread each call starts;
//   - a timed call whose work never ends: how long past its limit it returns;
//   - while a timed call waits 2 s for work that never ends (a listing on a stalled mount),
//     the longest time an event posted to the interface thread every 5 ms (as the desktop's
//     ping is) waits to be handled: with the caller blocked, and keeping the windows alive.
// The stalled work is released at the end of each figure, and its threads end.
//
// Usage: bench_stalls

#include "platform/pictureservice.h"
#include "platform/thumbloader.h"
#include "platform/timedcall.h"
#include "support/gate.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QImage>
#include <QThread>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <memory>
#include <optional>
#include <thread>

namespace {

using namespace pavix::platform;
using namespace std::chrono_literals;

constexpr QSize CellPx(60, 60);

// Work waits here until released: a stand-in for a read on a stalled mount.
using Stall = pavix::testsupport::Gate;

// Waits, up to 10 s, for every thread left behind to end.
void waitForThreadsToEnd()
{
    QElapsedTimer clock;
    clock.start();
    while (threadsLeftBehind() > 0 && clock.elapsed() < 10'000)
        QThread::msleep(1);
}

void measureGridBuild(int readable, int stalled, std::chrono::milliseconds limit)
{
    const auto stall = std::make_shared<Stall>();
    QStringList paths;
    for (int i = 0; i < readable + stalled; ++i)
        paths << (i % 2 == 1 && i / 2 < stalled ? QStringLiteral("stalled") : QStringLiteral("readable"));
    ThumbLoader::Options options;
    options.threads = 1;
    options.cellTimeLimit = limit;
    const QImage cell(CellPx, QImage::Format_RGB32);
    options.makeCell = [stall, cell](const QString &path, QSize, DecodeScratch &, const DecodeGate *, bool) {
        if (path == QLatin1String("stalled"))
            stall->pass();
        CachedCell made;
        made.cell = cell;
        return made;
    };
    QElapsedTimer clock;
    clock.start();
    int givenUp = 0;
    {
        ThumbLoader loader(paths, CellPx, options);
        for (int i = 0; i < loader.count(); ++i)
            loader.waitFor(i);
        givenUp = loader.givenUpCells();
    }
    const double ms = double(clock.nsecsElapsed()) / 1e6;
    std::printf("grid build, %d readable and %d stalled files, cell limit %lld ms: %.1f ms, %.2f limits a stalled file "
                "(%d given up)\n",
                readable, stalled, static_cast<long long>(limit.count()), ms,
                stalled > 0 ? ms / double(stalled * limit.count()) : 0.0, givenUp);
    stall->release();
    waitForThreadsToEnd();
}

void measureTimedCalls()
{
    constexpr int Calls = 2000;
    QElapsedTimer clock;
    clock.start();
    long sum = 0;
    for (int i = 0; i < Calls; ++i)
        sum += callWithin(1h, [i] { return long(i); }).value_or(0);
    const double timedUs = double(clock.nsecsElapsed()) / 1e3 / Calls;
    clock.restart();
    for (int i = 0; i < Calls; ++i)
        sum += [i] { return long(i); }();
    const double directUs = double(clock.nsecsElapsed()) / 1e3 / Calls;
    std::printf("timed call that ends at once: %.1f us a call, %.3f us called directly (sum %ld)\n", timedUs, directUs,
                sum);

    for (const auto limit : {10ms, 100ms}) {
        const auto stall = std::make_shared<Stall>();
        clock.restart();
        const std::optional<bool> answer = callWithin(limit, [stall] {
            stall->pass();
            return true;
        });
        const double ms = double(clock.nsecsElapsed()) / 1e6;
        std::printf("timed call whose work never ends, limit %lld ms: returned after %.1f ms%s\n",
                    static_cast<long long>(limit.count()), ms, answer ? " (answered!)" : "");
        stall->release();
        waitForThreadsToEnd();
    }
}

// Handles the events a thread posts every 5 ms, and keeps the longest wait of one.
class PingAnswerer : public QObject {
public:
    struct Ping : QEvent {
        explicit Ping(std::chrono::steady_clock::time_point sentAt) : QEvent(QEvent::User), sent(sentAt) {}
        std::chrono::steady_clock::time_point sent;
    };
    std::chrono::nanoseconds longest{0};

protected:
    bool event(QEvent *event) override
    {
        if (event->type() != QEvent::User)
            return QObject::event(event);
        longest = std::max(longest, std::chrono::steady_clock::now() - static_cast<Ping *>(event)->sent);
        return true;
    }
};

void measureAnswersDuringAStall()
{
    for (const Waiting waiting : {Waiting::Blocked, Waiting::KeepingWindowsAlive}) {
        PingAnswerer answerer;
        std::atomic<bool> pinging{true};
        std::thread pinger([&] {
            while (pinging) {
                QCoreApplication::postEvent(&answerer, new PingAnswerer::Ping(std::chrono::steady_clock::now()));
                std::this_thread::sleep_for(5ms);
            }
        });
        const auto stall = std::make_shared<Stall>();
        callWithin(
            2000ms,
            [stall] {
                stall->pass();
                return true;
            },
            waiting);
        pinging = false;
        pinger.join();
        QCoreApplication::processEvents();
        std::printf("a 2 s wait for a stalled read, %s: longest time an event waited %.1f ms\n",
                    waiting == Waiting::Blocked ? "caller blocked" : "windows kept alive",
                    double(answerer.longest.count()) / 1e6);
        stall->release();
        waitForThreadsToEnd();
    }
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    configurePictureLimits();
    for (const auto limit : {20ms, 50ms, 150ms})
        measureGridBuild(20, 4, limit);
    measureGridBuild(20, 0, 50ms);
    measureTimedCalls();
    measureAnswersDuringAStall();
    // Nothing is left behind here; were anything left, the process would end at once.
    endProcessIfThreadsLeftBehind(0);
    return 0;
}
