#pragma once
// The Plasma shell's desktop scripting over D-Bus: KDE Plasma's own way to change the
// desktops' wallpaper.

#include <QString>

namespace pavix::platform {

struct PlasmaAnswer {
    enum class State {
        Done,       // the shell ran the script
        NotRunning, // no Plasma shell answers on the bus (or there is no bus)
        Failed,     // the shell refused the script or did not answer in time
    };
    State state = State::Done;
    QString reason; // NotRunning and Failed: what the bus or the shell said
};

// Has the Plasma shell (org.kde.plasmashell, object /PlasmaShell) evaluate `script` on
// the session bus at `busAddress` ("" for the session's own bus), waiting at most
// `timeoutMs` milliseconds for its answer.
PlasmaAnswer evaluatePlasmaScript(const QString &script, const QString &busAddress, int timeoutMs);

} // namespace pavix::platform
