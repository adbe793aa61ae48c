#include "wallpaper/desktopdetection.h"

#include "support/printers.h"

#include <gtest/gtest.h>

using namespace pavix::wallpaper;

namespace {

DetectedDesktop fromCurrentDesktop(const QString &value)
{
    SessionFacts facts;
    facts.currentDesktop = value;
    facts.x11Display = QStringLiteral(":0");
    return detectDesktop(facts);
}

void expectDesktop(const DetectedDesktop &found, Desktop desktop, const QString &name)
{
    EXPECT_EQ(found.desktop, desktop) << qPrintable(name);
    EXPECT_EQ(found.name, name);
}

} // namespace

TEST(DesktopDetection, CurrentDesktopNamesAreKnownHoweverTheSessionSpellsThem)
{
    expectDesktop(fromCurrentDesktop(QStringLiteral("GNOME")), Desktop::Gnome, QStringLiteral("GNOME"));
    expectDesktop(fromCurrentDesktop(QStringLiteral("ubuntu:GNOME")), Desktop::Gnome, QStringLiteral("Ubuntu"));
    expectDesktop(fromCurrentDesktop(QStringLiteral("Budgie:GNOME")), Desktop::Gnome, QStringLiteral("Budgie"));
    expectDesktop(fromCurrentDesktop(QStringLiteral("Unity:Unity7:ubuntu")), Desktop::Gnome, QStringLiteral("Unity"));
    expectDesktop(fromCurrentDesktop(QStringLiteral("Pantheon")), Desktop::Gnome, QStringLiteral("Pantheon"));
    expectDesktop(fromCurrentDesktop(QStringLiteral("GNOME-Flashback:GNOME")), Desktop::Gnome, QStringLiteral("GNOME"));
    expectDesktop(fromCurrentDesktop(QStringLiteral("X-Cinnamon")), Desktop::Cinnamon, QStringLiteral("Cinnamon"));
    expectDesktop(fromCurrentDesktop(QStringLiteral("MATE")), Desktop::Mate, QStringLiteral("MATE"));
    expectDesktop(fromCurrentDesktop(QStringLiteral("KDE")), Desktop::Plasma, QStringLiteral("KDE Plasma"));
    expectDesktop(fromCurrentDesktop(QStringLiteral("XFCE")), Desktop::Xfce, QStringLiteral("Xfce"));
    expectDesktop(fromCurrentDesktop(QStringLiteral("LXQt")), Desktop::Lxqt, QStringLiteral("LXQt"));
    expectDesktop(fromCurrentDesktop(QStringLiteral("LXDE-pi")), Desktop::Lxde, QStringLiteral("LXDE"));
    expectDesktop(fromCurrentDesktop(QStringLiteral("sway")), Desktop::Sway, QStringLiteral("sway"));
    // The first name Pavix knows decides; unknown names before it are passed over.
    expectDesktop(fromCurrentDesktop(QStringLiteral("Custom: :KDE:GNOME")), Desktop::Plasma,
                  QStringLiteral("KDE Plasma"));
    expectDesktop(fromCurrentDesktop(QStringLiteral(" gnome ")), Desktop::Gnome, QStringLiteral("GNOME"));
}

TEST(DesktopDetection, EachSourceIsAskedOnlyWhenTheOneBeforeNamesNoKnownDesktop)
{
    SessionFacts facts;
    facts.currentDesktop = QStringLiteral("XFCE");
    facts.desktopSession = QStringLiteral("plasma");
    facts.swaySocket = QStringLiteral("/run/user/1000/sway-ipc.sock");
    facts.runningPrograms = {QStringLiteral("gnome-shell")};
    facts.x11Display = QStringLiteral(":0");
    EXPECT_EQ(detectDesktop(facts).desktop, Desktop::Xfce);

    facts.currentDesktop = QStringLiteral("i3");
    EXPECT_EQ(detectDesktop(facts).desktop, Desktop::Plasma);
    // Display managers also give the session file's path.
    facts.desktopSession = QStringLiteral("/usr/share/xsessions/mate.desktop");
    EXPECT_EQ(detectDesktop(facts).desktop, Desktop::Mate);
    facts.desktopSession = QStringLiteral("plasmawayland");
    EXPECT_EQ(detectDesktop(facts).desktop, Desktop::Plasma);

    facts.desktopSession = QStringLiteral("default");
    EXPECT_EQ(detectDesktop(facts).desktop, Desktop::Sway);
    facts.swaySocket.clear();
    expectDesktop(detectDesktop(facts), Desktop::Gnome, QStringLiteral("GNOME"));
    facts.runningPrograms = {QStringLiteral("bash"), QStringLiteral("xfdesktop"), QStringLiteral("Xorg")};
    EXPECT_EQ(detectDesktop(facts).desktop, Desktop::Xfce);
    facts.runningPrograms = {QStringLiteral("bash"), QStringLiteral("lxsession")};
    EXPECT_EQ(detectDesktop(facts).desktop, Desktop::Lxde);
    // A program whose name only starts like a desktop's is not that desktop.
    facts.runningPrograms = {QStringLiteral("gnome-shell-calendar-server"), QStringLiteral("swaybg")};
    expectDesktop(detectDesktop(facts), Desktop::OtherX11, QStringLiteral("i3"));
}

TEST(DesktopDetection, UnknownSessionsAreX11RootWindowsOrHaveNoSetter)
{
    SessionFacts facts;
    facts.x11Display = QStringLiteral(":1");
    expectDesktop(detectDesktop(facts), Desktop::OtherX11, QStringLiteral("an X11 session"));
    facts.desktopSession = QStringLiteral("openbox");
    expectDesktop(detectDesktop(facts), Desktop::OtherX11, QStringLiteral("openbox"));

    // An X11 display inside a Wayland session is the compositor's X server, not the desktop.
    facts.sessionType = QStringLiteral("wayland");
    expectDesktop(detectDesktop(facts), Desktop::Unsupported, QStringLiteral("openbox"));
    facts.desktopSession.clear();
    expectDesktop(detectDesktop(facts), Desktop::Unsupported, QStringLiteral("a Wayland session"));
    facts.sessionType = QStringLiteral("x11");
    facts.waylandDisplay = QStringLiteral("wayland-1");
    facts.currentDesktop = QStringLiteral("niri");
    expectDesktop(detectDesktop(facts), Desktop::Unsupported, QStringLiteral("niri"));
    EXPECT_TRUE(detectDesktop(facts).wayland);

    expectDesktop(detectDesktop(SessionFacts{}), Desktop::Unsupported, QStringLiteral("a session without a display"));
}

TEST(DesktopDetection, WaylandCompositorsAreToldThroughTheWallpaperProgramTheyRun)
{
    const QString wayland = QStringLiteral("wayland");
    const QStringList none;
    const QStringList swaybg = {QStringLiteral("river"), QStringLiteral("swaybg")};
    const QStringList both = {QStringLiteral("swaybg"), QStringLiteral("hyprpaper")};
    struct Case {
        QString currentDesktop, sessionType, hyprlandInstance, platformName;
        QStringList running;
        Desktop desktop;
        QString name;
        bool wayland;
    };
    const Case cases[] = {
        {QStringLiteral("Hyprland"), wayland, {}, {}, none, Desktop::Hyprland, QStringLiteral("Hyprland"), true},
        {{}, wayland, QStringLiteral("abc_123"), {}, none, Desktop::Hyprland, QStringLiteral("Hyprland"), true},
        {{}, wayland, {}, {}, {QStringLiteral("Hyprland")}, Desktop::Hyprland, QStringLiteral("Hyprland"), true},
        // Hyprland with swaybg drawing its wallpaper, unless hyprpaper runs too.
        {QStringLiteral("Hyprland"), wayland, {}, {}, swaybg, Desktop::Swaybg, QStringLiteral("Hyprland"), true},
        {QStringLiteral("Hyprland"), wayland, {}, {}, both, Desktop::Hyprland, QStringLiteral("Hyprland"), true},
        {QStringLiteral("river"), wayland, {}, {}, swaybg, Desktop::Swaybg, QStringLiteral("river"), true},
        {{}, wayland, {}, {}, swaybg, Desktop::Swaybg, QStringLiteral("a Wayland session"), true},
        {QStringLiteral("labwc:wlroots"), wayland, {}, {}, none, Desktop::Unsupported, QStringLiteral("labwc"), true},
        // Drawing through Qt's Wayland platform is a Wayland session, whatever the rest says.
        {QStringLiteral("openbox"),
         {},
         {},
         QStringLiteral("wayland-egl"),
         none,
         Desktop::Unsupported,
         QStringLiteral("openbox"),
         true},
        // swaybg under X11 is no Wayland compositor's.
        {QStringLiteral("openbox"),
         QStringLiteral("x11"),
         {},
         QStringLiteral("xcb"),
         swaybg,
         Desktop::OtherX11,
         QStringLiteral("openbox"),
         false},
        // sway runs swaybg itself and is told through swaymsg.
        {QStringLiteral("sway"), wayland, {}, {}, swaybg, Desktop::Sway, QStringLiteral("sway"), true},
    };
    for (const Case &c : cases) {
        SessionFacts facts;
        facts.currentDesktop = c.currentDesktop;
        facts.sessionType = c.sessionType;
        facts.hyprlandInstance = c.hyprlandInstance;
        facts.platformName = c.platformName;
        facts.runningPrograms = c.running;
        facts.x11Display = QStringLiteral(":0");
        const DetectedDesktop found = detectDesktop(facts);
        expectDesktop(found, c.desktop, c.name);
        EXPECT_EQ(found.wayland, c.wayland) << qPrintable(c.name);
    }
}
