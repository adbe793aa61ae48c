#include "platform/busyscope.h"

#include <QCoreApplication>
#include <QEvent>
#include <QPointer>

#include <utility>
#include <vector>

namespace pavix::platform {

namespace {

// Holds the program's own timers and deferred deletes while a scope lives. A timer's event
// is dropped: the timer stays active and fires again once the work is over. A deferred
// delete is dropped and asked for again when the last scope ends.
class EventHolder : public QObject {
public:
    std::vector<QPointer<QObject>> deferredDeletes;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::Timer:
            // Timers of widgets and windows are their own drawing and scrolling; timers
            // of other objects (QTimer and single shots) run the program's handlers.
            return !watched->isWidgetType() && !watched->isWindowType();
        case QEvent::DeferredDelete:
            deferredDeletes.emplace_back(watched);
            return true;
        default:
            return false;
        }
    }
};

struct State {
    int depth = 0;
    bool stop = false;
    EventHolder *holder = nullptr;
    std::vector<std::pair<QPointer<QObject>, std::function<void()>>> tasks;
};

State &state()
{
    static State s;
    return s;
}

void post(QObject *context, std::function<void()> task)
{
    QMetaObject::invokeMethod(context, std::move(task), Qt::QueuedConnection);
}

} // namespace

BusyScope::BusyScope()
{
    State &s = state();
    if (s.depth++ > 0)
        return;
    s.stop = false;
    s.holder = new EventHolder;
    QCoreApplication::instance()->installEventFilter(s.holder);
}

BusyScope::~BusyScope()
{
    State &s = state();
    if (--s.depth > 0)
        return;
    QCoreApplication::instance()->removeEventFilter(s.holder);
    const std::vector<QPointer<QObject>> deletes = std::move(s.holder->deferredDeletes);
    delete s.holder;
    s.holder = nullptr;
    for (const QPointer<QObject> &object : deletes)
        if (object)
            object->deleteLater();
    auto tasks = std::move(s.tasks);
    s.tasks.clear();
    for (auto &[context, task] : tasks)
        if (context)
            post(context, std::move(task));
}

bool BusyScope::keepAlive()
{
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    return stopRequested();
}

bool BusyScope::isBusy()
{
    return state().depth > 0;
}

void BusyScope::requestStop()
{
    if (isBusy())
        state().stop = true;
}

bool BusyScope::stopRequested()
{
    return isBusy() && state().stop;
}

void BusyScope::afterwards(QObject *context, std::function<void()> task)
{
    if (!context)
        return;
    if (isBusy())
        state().tasks.emplace_back(context, std::move(task));
    else
        post(context, std::move(task));
}

} // namespace pavix::platform
