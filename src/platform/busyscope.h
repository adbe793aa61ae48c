#pragma once
// Keeps the windows alive while the interface thread works through one long piece of work
// (a thumbnail grid build). keepAlive(), called between the work's steps, handles what
// repaints the windows and answers the desktop (exposures, paints, layouts, the window
// manager's pings) and holds back what is the user's: the window system's keys, clicks and
// wheel turns are taken at their windows, kept in their order and given to the same windows
// again once the work is over. The program's own timers and deferred deletes are held too.
// So no command of the user's and no other handler of the program's timers runs in the
// middle of the work.
//
// Input the program marks with setInputAtOnce() (its menus, the Exit key) is handled at once,
// and so is a window's close. Closing the program asks the work to stop: requestStop() drops
// the input held so far, and the work sees stopRequested() at its next step and ends early.

#include <QObject>

#include <functional>

class QEvent;

namespace pavix::platform {

class BusyScope {
public:
    // The first scope starts holding; scopes nest, and the last one to end lets go.
    BusyScope();
    ~BusyScope();

    BusyScope(const BusyScope &) = delete;
    BusyScope &operator=(const BusyScope &) = delete;

    // Handles the pending events that keep the windows alive and holds the user's input and
    // the program's timers; returns stopRequested().
    bool keepAlive();

    // True while a scope lives.
    static bool isBusy();
    // Asks the work under way to stop at its next step and drops the input held for after
    // it; nothing when no scope lives.
    static void requestStop();
    // A stop was asked for since the outermost scope began.
    static bool stopRequested();
    // Runs `task` on the event loop once the last scope has ended and the input held before
    // it has been handled (soon, when nothing is held); nothing when `context` is gone by then.
    static void afterwards(QObject *context, std::function<void()> task);
    // While `context` lives, window input for which `isAtOnce(window, event)` is true is
    // handled at once during the work instead of after it.
    static void setInputAtOnce(QObject *context, std::function<bool(QObject *window, QEvent *event)> isAtOnce);
};

} // namespace pavix::platform
