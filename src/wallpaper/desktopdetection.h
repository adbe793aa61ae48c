#pragma once
// Which desktop the user runs, worked out from what the session says about itself: the
// desktop names in the environment first, then the programs the user runs, then whether
// the session is on X11 or on Wayland.

#include <QString>
#include <QStringList>

namespace pavix::wallpaper {

// The ways Pavix knows to hand a wallpaper to the desktop.
enum class Desktop {
    Gnome, // GNOME and the desktops on its background settings: Ubuntu, Unity, Budgie, Pantheon
    Cinnamon,
    Mate,
    Plasma, // KDE Plasma
    Xfce,
    Lxqt,
    Lxde,
    Sway,
    Hyprland,    // told through hyprpaper, Hyprland's wallpaper program
    Swaybg,      // a Wayland compositor whose wallpaper swaybg draws (river, labwc, Wayfire, ...)
    OtherX11,    // any other X11 session: the root window's background, set by Pavix itself
    Unsupported, // anything else, such as another Wayland compositor, or no graphical session
};

// What the session tells about itself.
struct SessionFacts {
    QString currentDesktop;      // XDG_CURRENT_DESKTOP: names separated by ':', most specific first
    QString desktopSession;      // DESKTOP_SESSION: a session name, sometimes a path to its file
    QString sessionType;         // XDG_SESSION_TYPE: "x11", "wayland", ...
    QString waylandDisplay;      // WAYLAND_DISPLAY
    QString x11Display;          // DISPLAY
    QString swaySocket;          // SWAYSOCK
    QString hyprlandInstance;    // HYPRLAND_INSTANCE_SIGNATURE
    QString platformName;        // the Qt platform Pavix draws through: "xcb", "wayland", ...
    QStringList runningPrograms; // names of the programs the user runs ("gnome-shell", ...)
};

struct DetectedDesktop {
    Desktop desktop = Desktop::Unsupported;
    // How messages name the desktop: "GNOME", "Budgie", "Xfce", "an X11 session", or what
    // the session calls an unknown desktop ("Hyprland").
    QString name;
    // The session is a Wayland one (what it says, or the Qt platform Pavix draws through).
    bool wayland = false;
};

// The desktop of a session. XDG_CURRENT_DESKTOP decides when one of its names is known
// (the first known one wins), then DESKTOP_SESSION, then SWAYSOCK,
// HYPRLAND_INSTANCE_SIGNATURE and the running programs (gnome-shell, plasmashell,
// xfdesktop, Hyprland, ...). A Wayland session none of those places is told through swaybg
// when swaybg runs, and so is Hyprland when swaybg draws its wallpaper instead of
// hyprpaper. Any other session is an X11 session when DISPLAY is set and neither
// XDG_SESSION_TYPE nor WAYLAND_DISPLAY speaks of Wayland; otherwise it is unsupported.
// Names are compared ignoring case.
DetectedDesktop detectDesktop(const SessionFacts &facts);

} // namespace pavix::wallpaper
