#include "shell/qtplatform.h"

#include <gtest/gtest.h>

using namespace pavix::shell;

TEST(QtPlatform, WaylandSessionsDrawNativelyAndFallBackToXWaylandWithOneLine)
{
    struct Case {
        const char *requested;
        const char *sessionType;
        bool waylandDisplay, x11Display, installed;
        const char *platform;
        bool notice;
    };
    const Case cases[] = {
        {"", "wayland", true, true, true, "wayland;xcb", false},
        {"", "", true, false, true, "wayland;xcb", false},
        // Without the plugin: XWayland, said in one line; nothing to fall back to without X11.
        {"", "wayland", true, true, false, "xcb", true},
        {"", "wayland", true, false, false, "", false},
        // An X11 session stays with Qt's choice, even with a Wayland display inherited.
        {"", "x11", true, true, true, "", false},
        {"", "", false, true, true, "", false},
        // The user's request is kept unless Qt could not meet it at all.
        {"offscreen", "wayland", true, true, true, "", false},
        {"xcb", "wayland", true, true, false, "", false},
        {"wayland", "wayland", true, true, false, "xcb", true},
        {"wayland-egl", "", true, false, false, "", false},
        {"wayland;xcb", "wayland", true, true, false, "", false},
    };
    for (const Case &c : cases) {
        const PlatformChoice choice = choosePlatform({c.requested, c.sessionType, c.waylandDisplay, c.x11Display,
                                                      c.installed});
        EXPECT_EQ(choice.platform, QByteArray(c.platform)) << c.requested << " / " << c.sessionType;
        EXPECT_EQ(choice.notice.isEmpty(), !c.notice) << c.requested << " / " << c.sessionType;
        EXPECT_FALSE(choice.notice.contains(u'\n'));
    }
    EXPECT_TRUE(choosePlatform({"", "wayland", true, true, false}).notice.contains(QStringLiteral("qt6-wayland")));
}
