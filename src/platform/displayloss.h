#pragma once
// What is left to do when the display goes away. Qt's platforms end the process as soon
// as their connection breaks: the Wayland one writes "The Wayland connection broke. Did
// the Wayland compositor die?" and calls _exit(), the X11 one writes "The X11 connection
// broke ..." and calls exit(), neither through the program's close. Their message is the
// one moment the program still runs, so it is watched for.

#include <QString>

#include <chrono>
#include <functional>

namespace pavix::platform {

// True for the message a Qt platform writes as its connection to the display breaks.
bool isDisplayLossMessage(const QString &message);

// From now on, the first display-loss message runs `store` once on the interface thread
// before the process ends: at once when the message comes from that thread, otherwise
// through its event loop, waited for at most `longestWait` (a thread stuck in a display
// call ends without it). Every message still reaches the handler that was installed
// before. Call it once, after the application object exists.
void runBeforeDisplayLoss(std::function<void()> store,
                          std::chrono::milliseconds longestWait = std::chrono::milliseconds(2000));

} // namespace pavix::platform
