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
    facts.currentDesktop = QStringLiteral("Hyprland");
    expectDesktop(detectDesktop(facts), Desktop::Unsupported, QStringLiteral("Hyprland"));

    expectDesktop(detectDesktop(SessionFacts{}), Desktop::Unsupported, QStringLiteral("a session without a display"));
}
