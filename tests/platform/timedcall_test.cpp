// Timed work: a result in time, nothing past the limit, a cap on the threads left behind
// that the thumbnail loader shares, and the end of the program with a thread still stuck.
#include "platform/timedcall.h"

#include "platform/pictureservice.h"
#include "platform/thumbloader.h"

#include "support/corpus.h"
#include "support/gate.h"
#include "support/ownprocess.h"

#include <QString>
#include <QTest>

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <vector>

#include <unistd.h>

using namespace pavix::platform;
using namespace std::chrono_literals;
using pavix::testsupport::Gate;

namespace {

// True once every thread left behind has ended (waits up to 5 s).
bool noneLeftBehind()
{
    return QTest::qWaitFor([] { return threadsLeftBehind() == 0; }, 5000);
}

} // namespace

TEST(TimedCall, WorkInTimeGivesItsResultAndWorkPastTheLimitIsLeftToEnd)
{
    ASSERT_TRUE(noneLeftBehind());
    EXPECT_EQ(callWithin(1h, [] { return 42; }), std::optional<int>(42));
    EXPECT_EQ(threadsLeftBehind(), 0) << "a call that ended in time leaves nothing";

    const auto gate = std::make_shared<Gate>();
    const std::optional<QString> stalled = callWithin(1ms, [gate] {
        gate->pass();
        return QStringLiteral("late");
    });
    EXPECT_FALSE(stalled.has_value());
    EXPECT_EQ(threadsLeftBehind(), 1);
    gate->release();
    // The work left behind ends now; its place comes free once it has let go of all it held.
    EXPECT_TRUE(noneLeftBehind());
    EXPECT_EQ(gate.use_count(), 1);

    // The picture read through it gives what loadPicture gives, refusals included.
    const QString hopper = pavix::testsupport::corpusPath(QStringLiteral("good/hopper.bmp"));
    const auto picture = loadPictureWithin(hopper);
    ASSERT_TRUE(picture.ok());
    EXPECT_EQ(*picture, *loadPicture(hopper));
    const QString bad = pavix::testsupport::corpusPath(QStringLiteral("bad/badbitcount.bmp"));
    ASSERT_FALSE(loadPictureWithin(bad).ok());
    EXPECT_EQ(loadPictureWithin(bad).error().message, loadPicture(bad).error().message);
}

TEST(TimedCall, OnceTheCapIsReachedTimedWorkIsRefusedAtOnceUntilAThreadEnds)
{
    ASSERT_TRUE(noneLeftBehind());
    std::vector<std::shared_ptr<Gate>> gates;
    for (int i = 0; i < MaxThreadsLeftBehind; ++i) {
        gates.push_back(std::make_shared<Gate>());
        EXPECT_FALSE(callWithin(1ms, [gate = gates.back()] {
            gate->pass();
            return true;
        }));
    }
    ASSERT_EQ(threadsLeftBehind(), MaxThreadsLeftBehind);

    // Refused without a thread: work that would end at once gives nothing, and the count
    // stays where it is.
    EXPECT_FALSE(callWithin(1h, [] { return 42; }));
    EXPECT_EQ(threadsLeftBehind(), MaxThreadsLeftBehind);
    // The thumbnail loader shares the cap: it starts no worker and gives every cell up.
    {
        const QString hopper = pavix::testsupport::corpusPath(QStringLiteral("good/hopper.jpg"));
        ThumbLoader loader({hopper, hopper}, QSize(60, 60));
        EXPECT_EQ(loader.threadCount(), 0);
        EXPECT_EQ(loader.waitFor(0), unreadableCell(QSize(60, 60)));
        EXPECT_EQ(loader.waitFor(1), unreadableCell(QSize(60, 60)));
        EXPECT_EQ(loader.givenUpCells(), 2);
        EXPECT_EQ(loader.decodedFiles(), 0);
    }

    // One thread ends: its place comes free, and the next work runs.
    gates.front()->release();
    EXPECT_TRUE(QTest::qWaitFor([] { return threadsLeftBehind() == MaxThreadsLeftBehind - 1; }, 5000));
    EXPECT_EQ(callWithin(1h, [] { return 42; }), std::optional<int>(42));

    for (const auto &gate : gates)
        gate->release();
    EXPECT_TRUE(noneLeftBehind());
}

TEST(TimedCall, TheProgramEndsAtOnceOnceAThreadWasLeftBehindWaitingForNone)
{
    // Each case runs in a process of its own, which ends through the rule main() follows.
    constexpr const char *Role = "PAVIX_TEST_END_AFTER_TIMED_WORK";
    if (pavix::testsupport::runsAs(Role)) {
        // With none ever left behind it returns, and the program ends as usual.
        endProcessIfThreadsLeftBehind(3);
        // A read of a pipe whose writer stays silent: stuck until the writer goes.
        int pipeEnds[2];
        if (::pipe(pipeEnds) != 0)
            std::_Exit(4);
        const int readEnd = pipeEnds[0];
        const std::optional<ssize_t> read = callWithin(1ms, [readEnd] {
            char byte = 0;
            return ::read(readEnd, &byte, 1);
        });
        if (read || threadsLeftBehind() != 1)
            std::_Exit(5);
        if (pavix::testsupport::roleValue(Role) == QLatin1String("ended")) {
            // It ends, and its place comes free; its last steps may still be under way.
            ::close(pipeEnds[1]);
            if (!QTest::qWaitFor([] { return threadsLeftBehind() == 0; }, 5000))
                std::_Exit(6);
        }
        endProcessIfThreadsLeftBehind(7);
        std::_Exit(8);
    }
    for (const QString &thread : {QStringLiteral("stuck"), QStringLiteral("ended")}) {
        const pavix::testsupport::AloneRun run = pavix::testsupport::runThisTestAlone(Role, thread);
        ASSERT_TRUE(run.finished) << qPrintable(thread) << run.output.toStdString();
        EXPECT_FALSE(run.crashed) << qPrintable(thread) << run.output.toStdString();
        EXPECT_EQ(run.exitCode, 7) << qPrintable(thread) << run.output.toStdString();
    }
}
