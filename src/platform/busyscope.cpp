#include "platform/busyscope.h"

#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QThread>
#include <QWindow>
// QSpontaneKeyEvent marks an event as the window system's; Qt's test library keeps it in a
// header of its own, with no code to link.
#include <QtTest/qtestspontaneevent.h>

#include <deque>
#include <memory>
#include <utility>
#include <vector>

QT_BEGIN_NAMESPACE
// Qt's own entry for a key press that goes through the shortcuts before it reaches a window
// (declared for Qt's test library in QtTest/qtestkeyboard.h): sends the shortcut-override
// event to `o`, then tries the shortcuts; true when a shortcut took the key.
Q_GUI_EXPORT bool qt_sendShortcutOverrideEvent(QObject *o, ulong timestamp, int k, Qt::KeyboardModifiers mods,
                                               const QString &text, bool autorep, ushort count);
QT_END_NAMESPACE

namespace pavix::platform {

namespace {

// The events the window system makes of the user's input, as a window receives them. A
// close is not among them: a window closes at once, and the main window's close ends the
// work (a close also comes from the program itself, which must never wait).
bool isUserInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Enter:
    case QEvent::Leave:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TouchCancel:
    case QEvent::TabletPress:
    case QEvent::TabletMove:
    case QEvent::TabletRelease:
    case QEvent::NativeGesture:
    case QEvent::NonClientAreaMouseButtonPress:
    case QEvent::NonClientAreaMouseButtonRelease:
    case QEvent::NonClientAreaMouseButtonDblClick:
    case QEvent::NonClientAreaMouseMove:
        return true;
    default:
        return false;
    }
}

// One thing waiting for the work's end: a copy of an input event for its window, or a task.
struct Waiting {
    QPointer<QObject> receiver;
    std::unique_ptr<QEvent> event;
    std::function<void()> task;
};

struct State {
    int depth = 0;
    // Event loops running when the outermost scope began; a dialog's loop started within
    // the work gets its input as usual.
    int loopLevel = 0;
    bool stop = false;
    QPointer<QObject> holder;
    std::vector<QPointer<QObject>> deferredDeletes;
    std::deque<Waiting> waiting;
    bool replayPosted = false;
    // The held event being given back, and the key whose shortcuts are being tried again.
    const QEvent *replaying = nullptr;
    const QKeyEvent *replayingShortcut = nullptr;
    QPointer<QObject> atOnceContext;
    std::function<bool(QObject *, QEvent *)> atOnce;
};

State &state()
{
    static State s;
    return s;
}

bool holdsInput()
{
    State &s = state();
    if (s.depth > 0)
        return QThread::currentThread()->loopLevel() == s.loopLevel;
    // After the work, new input queues behind what is still to be given back; what was for
    // a window or an object that is gone holds nothing back.
    std::erase_if(s.waiting, [](const Waiting &w) { return !w.receiver; });
    return !s.waiting.empty();
}

bool isShortcutBeingReplayed(const QEvent *event)
{
    const QKeyEvent *key = state().replayingShortcut;
    if (!key || event->type() != QEvent::ShortcutOverride || BusyScope::isBusy())
        return false;
    const auto *override = static_cast<const QKeyEvent *>(event);
    return override->key() == key->key() && override->modifiers() == key->modifiers();
}

// Takes an input event of a window while input is held: true when it was held or dropped.
bool holdInput(QObject *window, QEvent *event)
{
    State &s = state();
    if (event == s.replaying || isShortcutBeingReplayed(event) || !holdsInput())
        return false;
    if (s.atOnce && s.atOnceContext && s.atOnce(window, event))
        return false;
    // A key's shortcut-override counts as taken, so no shortcut runs now; the key press that
    // follows is held, and its shortcuts are tried when it is given back.
    event->accept();
    if (event->type() == QEvent::ShortcutOverride || s.stop)
        return true;
    // Pointer moves with the same buttons come down to the last one, as the window system
    // itself compresses them.
    if (event->type() == QEvent::MouseMove && !s.waiting.empty()) {
        Waiting &last = s.waiting.back();
        if (last.receiver == window && last.event && last.event->type() == QEvent::MouseMove
            && static_cast<QMouseEvent *>(last.event.get())->buttons()
                   == static_cast<QMouseEvent *>(event)->buttons()) {
            last.event.reset(event->clone());
            return true;
        }
    }
    s.waiting.push_back({window, std::unique_ptr<QEvent>(event->clone()), {}});
    return true;
}

// Holds the program's own timers and deferred deletes while a scope lives, and the user's
// input while input is held. A timer's event is dropped: the timer stays active and fires
// again once the work is over. A deferred delete is dropped and asked for again when the
// last scope ends.
class EventHolder : public QObject {
public:
    // Goes with the application: what was held goes with it, while Qt is still there.
    ~EventHolder() override
    {
        State &s = state();
        s.waiting.clear();
        s.atOnce = {};
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        State &s = state();
        switch (event->type()) {
        case QEvent::Timer:
            // Timers of widgets and windows are their own drawing and scrolling; timers
            // of other objects (QTimer and single shots) run the program's handlers.
            return s.depth > 0 && !watched->isWidgetType() && !watched->isWindowType();
        case QEvent::DeferredDelete:
            if (s.depth == 0)
                return false;
            s.deferredDeletes.emplace_back(watched);
            return true;
        default:
            return watched->isWindowType() && event->spontaneous() && isUserInput(event->type())
                   && holdInput(watched, event);
        }
    }
};

void replayNext();

void postReplay()
{
    State &s = state();
    if (s.replayPosted || s.waiting.empty())
        return;
    s.replayPosted = true;
    QMetaObject::invokeMethod(QCoreApplication::instance(), &replayNext, Qt::QueuedConnection);
}

// Gives a held event back to its window as the window system would: a key press goes
// through the shortcuts first, and every event counts as the window system's, so a click
// moves the focus as it would have. A click for a window that a dialog now blocks is
// dropped by Qt, as it would have been.
void deliver(QObject *window, QEvent *event)
{
    State &s = state();
    QSpontaneKeyEvent::setSpontaneous(event);
    // Keys go where the keyboard is: into a dialog that input given before them has opened.
    const bool isKey = event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease;
    if (QWindow *modal = QGuiApplication::modalWindow(); isKey && modal)
        window = modal;
    if (event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<const QKeyEvent *>(event);
        QObject *focus = static_cast<QWindow *>(window)->focusObject();
        const QKeyEvent *before = std::exchange(s.replayingShortcut, key);
        const bool byShortcut = qt_sendShortcutOverrideEvent(focus ? focus : window, key->timestamp(), key->key(),
                                                             key->modifiers(), key->text(), key->isAutoRepeat(),
                                                             key->count());
        s.replayingShortcut = before;
        if (byShortcut)
            return;
    }
    const QEvent *before = std::exchange(s.replaying, event);
    QCoreApplication::sendEvent(window, event);
    s.replaying = before;
}

// One held thing per turn of the event loop. The next turn is posted before this one runs, so
// a dialog this one opens gets the input that followed in its own loop, as it would have.
void replayNext()
{
    State &s = state();
    s.replayPosted = false;
    if (BusyScope::isBusy() || s.waiting.empty())
        return; // the end of the work posts it again
    Waiting next = std::move(s.waiting.front());
    s.waiting.pop_front();
    postReplay();
    if (!next.receiver)
        return;
    if (next.task)
        next.task();
    else
        deliver(next.receiver, next.event.get());
}

} // namespace

BusyScope::BusyScope()
{
    State &s = state();
    if (s.depth++ > 0)
        return;
    s.stop = false;
    s.loopLevel = QThread::currentThread()->loopLevel();
    if (!s.holder) {
        s.holder = new EventHolder;
        s.holder->setParent(QCoreApplication::instance());
        QCoreApplication::instance()->installEventFilter(s.holder);
    }
}

BusyScope::~BusyScope()
{
    State &s = state();
    if (--s.depth > 0)
        return;
    const std::vector<QPointer<QObject>> deletes = std::exchange(s.deferredDeletes, {});
    for (const QPointer<QObject> &object : deletes)
        if (object)
            object->deleteLater();
    postReplay();
}

bool BusyScope::keepAlive()
{
    QCoreApplication::processEvents();
    return stopRequested();
}

bool BusyScope::isBusy()
{
    return state().depth > 0;
}

void BusyScope::requestStop()
{
    State &s = state();
    if (!isBusy())
        return;
    s.stop = true;
    std::erase_if(s.waiting, [](const Waiting &w) { return w.event != nullptr; });
}

bool BusyScope::stopRequested()
{
    return isBusy() && state().stop;
}

void BusyScope::afterwards(QObject *context, std::function<void()> task)
{
    if (!context)
        return;
    State &s = state();
    if (isBusy() || !s.waiting.empty()) {
        s.waiting.push_back({context, nullptr, std::move(task)});
        if (!isBusy())
            postReplay();
    } else {
        QMetaObject::invokeMethod(context, std::move(task), Qt::QueuedConnection);
    }
}

void BusyScope::setInputAtOnce(QObject *context, std::function<bool(QObject *window, QEvent *event)> isAtOnce)
{
    State &s = state();
    s.atOnceContext = context;
    s.atOnce = std::move(isAtOnce);
}

} // namespace pavix::platform
