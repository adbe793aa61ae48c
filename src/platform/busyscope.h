#pragma once
// Keeps the windows alive while the interface thread works through one long piece of work
// (a thumbnail grid build). keepAlive(), called between the work's steps, handles what
// repaints the windows and answers the desktop (exposures, paints, layouts, the window
// manager's pings) and nothing of the user's: input stays queued by the window system, in
// its order, and the program's own timers and deferred deletes are held. All of it is
// handled once the last scope has ended and the event loop runs again, so no command of
// the user's and no other handler of the program's timers runs in the middle of the work.
//
// A close asked for meanwhile (the termination signal closes the window) asks the work to
// stop: the work sees stopRequested() at its next step and ends early.

#include <QObject>

#include <functional>

namespace pavix::platform {

class BusyScope {
public:
    // The first scope starts holding; scopes nest, and the last one to end lets go.
    BusyScope();
    ~BusyScope();

    BusyScope(const BusyScope &) = delete;
    BusyScope &operator=(const BusyScope &) = delete;

    // Handles the pending events that keep the windows alive (none of the user's input,
    // none of the program's timers); returns stopRequested().
    bool keepAlive();

    // True while a scope lives.
    static bool isBusy();
    // Asks the work under way to stop at its next step; nothing when no scope lives.
    static void requestStop();
    // A stop was asked for since the outermost scope began.
    static bool stopRequested();
    // Runs `task` on the event loop once the last scope has ended (soon, when none lives);
    // nothing when `context` is gone by then.
    static void afterwards(QObject *context, std::function<void()> task);
};

} // namespace pavix::platform
