#include "platform/displayloss.h"

#include <QTest>
#include <QThread>

#include <gtest/gtest.h>

#include <atomic>

using namespace pavix::platform;

// Qt's platform writes its message and ends the process; here only the message comes, from
// the interface thread and from another one, and the store runs once, on the interface
// thread, before the message's writer goes on.
TEST(DisplayLoss, TheFirstLossMessageStoresOnceOnTheInterfaceThread)
{
    EXPECT_TRUE(isDisplayLossMessage(QStringLiteral("The Wayland connection broke. Did the Wayland compositor die?")));
    EXPECT_TRUE(isDisplayLossMessage(QStringLiteral("The X11 connection broke (error 1). Did the X11 server die?")));
    EXPECT_FALSE(
        isDisplayLossMessage(QStringLiteral("qt.qpa.wayland: Wayland does not support QWindow::requestActivate()")));

    int stores = 0;
    std::atomic<bool> onInterfaceThread = false;
    runBeforeDisplayLoss([&] {
        ++stores;
        onInterfaceThread = QThread::currentThread() == qApp->thread();
    });
    qWarning("Wayland does not support QWindow::requestActivate()");
    EXPECT_EQ(stores, 0);

    // From Qt's thread that reads the display: the interface thread runs the store while the
    // writer waits.
    std::atomic<bool> writerDone = false;
    QThread *reader = QThread::create([&] {
        qWarning("The Wayland connection broke. Did the Wayland compositor die?");
        writerDone = true;
    });
    reader->start();
    EXPECT_TRUE(QTest::qWaitFor([&] { return writerDone.load(); }));
    reader->wait();
    delete reader;
    EXPECT_EQ(stores, 1);
    EXPECT_TRUE(onInterfaceThread);

    qWarning("The Wayland connection broke. Did the Wayland compositor die?");
    EXPECT_EQ(stores, 1);

    // Installed again (a new run), the message on the interface thread stores at once.
    runBeforeDisplayLoss([&] { ++stores; });
    qWarning("The X11 connection broke (error 1). Did the X11 server die?");
    EXPECT_EQ(stores, 2);
    runBeforeDisplayLoss({});
}
