#pragma once
// Which of Qt's platforms Pavix draws through, chosen before the application starts: a
// Wayland session gets Qt's Wayland platform, with X11 (XWayland) behind it should the
// compositor not take the connection; without the Wayland platform installed, XWayland,
// and a line saying so.

#include <QByteArray>
#include <QString>

namespace pavix::shell {

// What the session and the installation say.
struct PlatformFacts {
    QByteArray requested;          // QT_QPA_PLATFORM as the user set it ("" when unset)
    QByteArray sessionType;        // XDG_SESSION_TYPE
    bool waylandDisplay = false;   // WAYLAND_DISPLAY (or WAYLAND_SOCKET) is set
    bool x11Display = false;       // DISPLAY is set
    bool waylandInstalled = false; // Qt's Wayland platform plugin is installed
};

struct PlatformChoice {
    // What QT_QPA_PLATFORM is to say; empty leaves it as it is (Qt chooses).
    QByteArray platform;
    // The one line for the error output when Pavix falls back; empty otherwise.
    QString notice;
};

// The platform for a session. A platform the user asked for is kept, except the Wayland
// one alone when it is not installed and an X11 display is there: X11 then. A Wayland
// session (XDG_SESSION_TYPE "wayland", or a Wayland display in a session whose type is
// not "x11") gets "wayland;xcb" when the
// plugin is installed, otherwise "xcb" with a notice when there is an X11 display. Any
// other session is left to Qt.
PlatformChoice choosePlatform(const PlatformFacts &facts);

} // namespace pavix::shell
