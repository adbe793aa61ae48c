#include "wallpaper/desktopdetection.h"

#include <QCoreApplication>

#include <array>
#include <optional>

namespace pavix::wallpaper {

namespace {

struct KnownName {
    const char *prefix; // a session name starting with this (lower case) is the desktop
    Desktop desktop;
    const char *name;
};

// Session names as XDG_CURRENT_DESKTOP and DESKTOP_SESSION spell them: "ubuntu:GNOME",
// "Budgie:GNOME", "X-Cinnamon", "KDE", "plasmawayland", "xfce4", "LXDE-pi", "sway".
constexpr std::array KnownNames{
    KnownName{"ubuntu", Desktop::Gnome, "Ubuntu"},      KnownName{"unity", Desktop::Gnome, "Unity"},
    KnownName{"budgie", Desktop::Gnome, "Budgie"},      KnownName{"pantheon", Desktop::Gnome, "Pantheon"},
    KnownName{"gnome", Desktop::Gnome, "GNOME"},        KnownName{"cinnamon", Desktop::Cinnamon, "Cinnamon"},
    KnownName{"mate", Desktop::Mate, "MATE"},           KnownName{"kde", Desktop::Plasma, "KDE Plasma"},
    KnownName{"plasma", Desktop::Plasma, "KDE Plasma"}, KnownName{"xfce", Desktop::Xfce, "Xfce"},
    KnownName{"lxqt", Desktop::Lxqt, "LXQt"},           KnownName{"lxde", Desktop::Lxde, "LXDE"},
    KnownName{"sway", Desktop::Sway, "sway"},           KnownName{"hyprland", Desktop::Hyprland, "Hyprland"},
};

struct KnownProgram {
    const char *program; // as the kernel names a running program
    Desktop desktop;
    const char *name;
};

// Programs only their desktop runs, the shells and session managers.
constexpr std::array KnownPrograms{
    KnownProgram{"gnome-shell", Desktop::Gnome, "GNOME"}, KnownProgram{"budgie-panel", Desktop::Gnome, "Budgie"},
    KnownProgram{"gala", Desktop::Gnome, "Pantheon"},     KnownProgram{"cinnamon", Desktop::Cinnamon, "Cinnamon"},
    KnownProgram{"mate-session", Desktop::Mate, "MATE"},  KnownProgram{"plasmashell", Desktop::Plasma, "KDE Plasma"},
    KnownProgram{"xfdesktop", Desktop::Xfce, "Xfce"},     KnownProgram{"xfce4-session", Desktop::Xfce, "Xfce"},
    KnownProgram{"lxqt-session", Desktop::Lxqt, "LXQt"},  KnownProgram{"lxsession", Desktop::Lxde, "LXDE"},
    KnownProgram{"sway", Desktop::Sway, "sway"},          KnownProgram{"Hyprland", Desktop::Hyprland, "Hyprland"},
};

// The wallpaper programs of the Wayland compositors that draw no wallpaper of their own.
const QString Hyprpaper = QStringLiteral("hyprpaper");
const QString Swaybg = QStringLiteral("swaybg");

// A session name in lower case, without the "X-" that marks names outside the standard
// list ("X-Cinnamon").
QString normalised(const QString &name)
{
    QString lower = name.trimmed().toLower();
    if (lower.startsWith(QLatin1String("x-")))
        lower.remove(0, 2);
    return lower;
}

std::optional<DetectedDesktop> knownName(const QString &name)
{
    const QString lower = normalised(name);
    if (lower.isEmpty())
        return std::nullopt;
    for (const KnownName &known : KnownNames) {
        if (lower.startsWith(QLatin1String(known.prefix)))
            return DetectedDesktop{known.desktop, QString::fromLatin1(known.name)};
    }
    return std::nullopt;
}

// DESKTOP_SESSION as a bare name: some display managers give the session file's path.
QString sessionName(const QString &desktopSession)
{
    QString name = desktopSession.trimmed().section(QLatin1Char('/'), -1);
    if (name.endsWith(QLatin1String(".desktop")))
        name.chop(8);
    return name;
}

// What the session calls itself when Pavix does not know it; empty when it says nothing.
QString ownName(const SessionFacts &facts)
{
    for (const QString &name : facts.currentDesktop.split(QLatin1Char(':'), Qt::SkipEmptyParts)) {
        if (!name.trimmed().isEmpty())
            return name.trimmed();
    }
    return sessionName(facts.desktopSession);
}

// The desktop as found, or Pavix's own knowledge of it, before the wallpaper program
// running is taken into account.
std::optional<DetectedDesktop> knownDesktop(const SessionFacts &facts)
{
    for (const QString &name : facts.currentDesktop.split(QLatin1Char(':'), Qt::SkipEmptyParts)) {
        if (const auto known = knownName(name))
            return *known;
    }
    if (const auto known = knownName(sessionName(facts.desktopSession)))
        return *known;

    if (!facts.swaySocket.isEmpty())
        return DetectedDesktop{Desktop::Sway, QStringLiteral("sway")};
    if (!facts.hyprlandInstance.isEmpty())
        return DetectedDesktop{Desktop::Hyprland, QStringLiteral("Hyprland")};
    for (const KnownProgram &known : KnownPrograms) {
        if (facts.runningPrograms.contains(QLatin1String(known.program)))
            return DetectedDesktop{known.desktop, QString::fromLatin1(known.name)};
    }
    return std::nullopt;
}

} // namespace

DetectedDesktop detectDesktop(const SessionFacts &facts)
{
    const bool wayland = facts.sessionType.trimmed().compare(QLatin1String("wayland"), Qt::CaseInsensitive) == 0
                         || !facts.waylandDisplay.isEmpty() || facts.platformName.startsWith(QLatin1String("wayland"));
    const bool swaybgRuns = facts.runningPrograms.contains(Swaybg);
    if (std::optional<DetectedDesktop> known = knownDesktop(facts)) {
        known->wayland = wayland;
        // Hyprland draws no wallpaper itself: many sessions run swaybg in place of hyprpaper.
        if (known->desktop == Desktop::Hyprland && swaybgRuns && !facts.runningPrograms.contains(Hyprpaper))
            known->desktop = Desktop::Swaybg;
        return *known;
    }

    const QString own = ownName(facts);
    if (wayland)
        return {swaybgRuns ? Desktop::Swaybg : Desktop::Unsupported,
                own.isEmpty() ? QCoreApplication::translate("pavix::wallpaper", "a Wayland session") : own, true};
    if (!facts.x11Display.isEmpty())
        return {Desktop::OtherX11,
                own.isEmpty() ? QCoreApplication::translate("pavix::wallpaper", "an X11 session") : own};
    return {Desktop::Unsupported,
            own.isEmpty() ? QCoreApplication::translate("pavix::wallpaper", "a session without a display") : own};
}

} // namespace pavix::wallpaper
