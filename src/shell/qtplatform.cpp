#include "shell/qtplatform.h"

namespace pavix::shell {

namespace {

const QString MissingWaylandNotice = QStringLiteral(
    "Pavix: Qt's Wayland platform plugin is not installed (Debian: qt6-wayland); running through XWayland.");

} // namespace

PlatformChoice choosePlatform(const PlatformFacts &facts)
{
    const QByteArray requested = facts.requested.trimmed();
    if (!requested.isEmpty()) {
        // Only a request Qt could not meet at all is changed: "wayland;xcb" falls back by itself.
        const bool waylandOnly = requested.startsWith("wayland") && !requested.contains(';');
        if (waylandOnly && !facts.waylandInstalled && facts.x11Display)
            return {"xcb", MissingWaylandNotice};
        return {};
    }
    // An X11 session that inherited a Wayland display stays on X11.
    const QByteArray type = facts.sessionType.trimmed().toLower();
    const bool wayland = type == "wayland" || (type != "x11" && facts.waylandDisplay);
    if (!wayland)
        return {};
    if (facts.waylandInstalled)
        return {"wayland;xcb", QString()};
    if (facts.x11Display)
        return {"xcb", MissingWaylandNotice};
    return {};
}

} // namespace pavix::shell
