#include "platform/displayloss.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QSemaphore>
#include <QThread>

#include <atomic>
#include <memory>

namespace pavix::platform {

namespace {

// Not started, asked of the interface thread, or run (or running).
enum class StoreState { Idle, Asked, Run };

std::function<void()> &storeFunction()
{
    static std::function<void()> store;
    return store;
}

std::atomic<StoreState> &storeState()
{
    static std::atomic<StoreState> state{StoreState::Idle};
    return state;
}

QtMessageHandler previousHandler = nullptr;
std::chrono::milliseconds waitLimit{2000};

// Runs the store unless it ran or runs already; on the interface thread only.
void storeOnce()
{
    if (storeState().exchange(StoreState::Run) != StoreState::Run && storeFunction())
        storeFunction()();
}

void handleMessage(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (previousHandler)
        previousHandler(type, context, message);
    else
        qt_message_output(type, context, message);
    if (!isDisplayLossMessage(message))
        return;
    QCoreApplication *application = QCoreApplication::instance();
    if (!application)
        return;
    if (QThread::currentThread() == application->thread()) {
        storeOnce();
        return;
    }
    StoreState idle = StoreState::Idle;
    if (!storeState().compare_exchange_strong(idle, StoreState::Asked))
        return;
    // The semaphore outlives this wait: the interface thread may run the store after it.
    auto done = std::make_shared<QSemaphore>();
    QMetaObject::invokeMethod(
        application,
        [done] {
            storeOnce();
            done->release();
        },
        Qt::QueuedConnection);
    done->tryAcquire(1, static_cast<int>(waitLimit.count()));
}

} // namespace

bool isDisplayLossMessage(const QString &message)
{
    return message.startsWith(QLatin1String("The Wayland connection broke"))
           || message.startsWith(QLatin1String("The Wayland connection experienced a fatal error"))
           || message.startsWith(QLatin1String("The X11 connection broke"));
}

void runBeforeDisplayLoss(std::function<void()> store, std::chrono::milliseconds longestWait)
{
    storeFunction() = std::move(store);
    storeState() = StoreState::Idle;
    waitLimit = longestWait;
    const QtMessageHandler previous = qInstallMessageHandler(handleMessage);
    if (previous != handleMessage)
        previousHandler = previous;
}

} // namespace pavix::platform
