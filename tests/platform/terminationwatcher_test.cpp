// Ending from outside: the signals arrive on the event loop as one Qt signal each.
#include "platform/terminationwatcher.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <csignal>

using pavix::platform::TerminationWatcher;

TEST(TerminationWatcher, TermIntAndHupReachTheEventLoopInTurn)
{
    TerminationWatcher watcher;
    ASSERT_TRUE(watcher.isWatching());
    QSignalSpy spy(&watcher, &TerminationWatcher::terminationRequested);
    for (int signalNumber : {SIGTERM, SIGINT, SIGHUP})
        ASSERT_EQ(std::raise(signalNumber), 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return spy.count() == 3; }, 2000));
    ASSERT_EQ(spy.count(), 3);
    EXPECT_EQ(spy[0][0].toInt(), SIGTERM);
    EXPECT_EQ(spy[1][0].toInt(), SIGINT);
    EXPECT_EQ(spy[2][0].toInt(), SIGHUP);

    // Only one watcher at a time: a second one watches nothing and says so.
    TerminationWatcher second;
    EXPECT_FALSE(second.isWatching());
}
