#include "wallpaper/desktopwallpapersetter.h"

#include "support/fakehelpers.h"
#include "support/postedwhilewaiting.h"
#include "support/printers.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace pavix::wallpaper;
using pavix::platform::WallpaperOutcome;
using pavix::testsupport::FakeHelpers;

namespace {

using State = WallpaperOutcome::State;

const QString BitmapPath = QStringLiteral(u"/home/zoë/my pictures/it's \"here\"/Pavix/Wallpaper.bmp");
const QString BitmapUri = QStringLiteral("file:///home/zo%C3%AB/my%20pictures/it's%20%22here%22/Pavix/Wallpaper.bmp");
const QByteArray GnomeKeys = "color-shading-type\npicture-options\npicture-uri\npicture-uri-dark\nprimary-color\n";

QStringList call(std::initializer_list<QString> words)
{
    return QStringList(words);
}

// A setter for a session that names its desktop in XDG_CURRENT_DESKTOP.
DesktopWallpaperSetter setterFor(const FakeHelpers &helpers, const QString &desktop,
                                 const QStringList &runningPrograms = {})
{
    return DesktopWallpaperSetter(helpers.environment({{QStringLiteral("XDG_CURRENT_DESKTOP"), desktop},
                                                       {QStringLiteral("DISPLAY"), QStringLiteral(":0")}}),
                                  runningPrograms);
}

} // namespace

TEST(DesktopWallpaperSetter, GnomeFamilyGetsTheFilesUriInEveryKeyItsSchemaHas)
{
    FakeHelpers helpers;
    helpers.add(QStringLiteral("gsettings"), 0, GnomeKeys);
    const WallpaperOutcome set = setterFor(helpers, QStringLiteral("ubuntu:GNOME")).setWallpaper(BitmapPath);
    EXPECT_EQ(set.state, State::Set);
    EXPECT_EQ(set.desktop, QStringLiteral("Ubuntu"));
    const QString quotedUri =
        QStringLiteral("'file:///home/zo%C3%AB/my%20pictures/it\\'s%20%22here%22/Pavix/Wallpaper.bmp'");
    const QString schema = QStringLiteral("org.gnome.desktop.background");
    EXPECT_EQ(helpers.calls(),
              (QList<QStringList>{call({QStringLiteral("gsettings"), QStringLiteral("list-keys"), schema}),
                                  call({QStringLiteral("gsettings"), QStringLiteral("set"), schema,
                                        QStringLiteral("picture-uri"), quotedUri}),
                                  call({QStringLiteral("gsettings"), QStringLiteral("set"), schema,
                                        QStringLiteral("picture-uri-dark"), quotedUri})}));

    // A GNOME from before dark styles has no picture-uri-dark key.
    FakeHelpers older;
    older.add(QStringLiteral("gsettings"), 0, "picture-options\npicture-uri\n");
    EXPECT_TRUE(setterFor(older, QStringLiteral("Budgie:GNOME")).setWallpaper(BitmapPath).ok());
    ASSERT_EQ(older.calls().size(), 2);
    EXPECT_EQ(older.calls()[1].mid(1, 3), (QStringList{QStringLiteral("set"), schema, QStringLiteral("picture-uri")}));

    // Cinnamon and MATE: their own schemas, one key each, MATE's a plain path.
    FakeHelpers others;
    others.add(QStringLiteral("gsettings"));
    EXPECT_TRUE(setterFor(others, QStringLiteral("X-Cinnamon")).setWallpaper(BitmapPath).ok());
    EXPECT_TRUE(setterFor(others, QStringLiteral("MATE")).setWallpaper(BitmapPath).ok());
    EXPECT_EQ(others.calls(),
              (QList<QStringList>{
                  call({QStringLiteral("gsettings"), QStringLiteral("set"),
                        QStringLiteral("org.cinnamon.desktop.background"), QStringLiteral("picture-uri"), quotedUri}),
                  call({QStringLiteral("gsettings"), QStringLiteral("set"), QStringLiteral("org.mate.background"),
                        QStringLiteral("picture-filename"),
                        QStringLiteral(u"'/home/zoë/my pictures/it\\'s \"here\"/Pavix/Wallpaper.bmp'")})}));
}

TEST(DesktopWallpaperSetter, RealGsettingsStoresTheUriExactly)
{
    // The machine's own gsettings, on a settings file of the test's own.
    const QString gsettings = QStandardPaths::findExecutable(QStringLiteral("gsettings"));
    if (gsettings.isEmpty())
        GTEST_SKIP() << "gsettings is not installed";
    QTemporaryDir config;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("GSETTINGS_BACKEND"), QStringLiteral("keyfile"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
    env.insert(QStringLiteral("XDG_CURRENT_DESKTOP"), QStringLiteral("GNOME"));
    QProcess probe;
    probe.setProcessEnvironment(env);
    probe.start(gsettings, {QStringLiteral("list-keys"), QStringLiteral("org.gnome.desktop.background")});
    if (!probe.waitForFinished(10000) || probe.exitCode() != 0)
        GTEST_SKIP() << "the GNOME background schema is not installed";

    DesktopWallpaperSetter setter(env, {});
    const WallpaperOutcome set = setter.setWallpaper(BitmapPath);
    ASSERT_TRUE(set.ok()) << qPrintable(set.detail);
    for (const QString &key : {QStringLiteral("picture-uri"), QStringLiteral("picture-uri-dark")}) {
        QProcess get;
        get.setProcessEnvironment(env);
        get.start(gsettings, {QStringLiteral("get"), QStringLiteral("org.gnome.desktop.background"), key});
        ASSERT_TRUE(get.waitForFinished(10000));
        // gsettings prints a string holding a "'" in double quotes.
        EXPECT_EQ(QString::fromUtf8(get.readAllStandardOutput()).trimmed(), u'"' + BitmapUri + u'"') << qPrintable(key);
    }
}

TEST(DesktopWallpaperSetter, XfceGetsThePathOnEveryMonitorAndWorkspace)
{
    FakeHelpers helpers;
    helpers.add(QStringLiteral("xfconf-query"), 0,
                "/backdrop/screen0/monitorHDMI-1/workspace0/last-image\n"
                "/backdrop/screen0/monitorHDMI-1/workspace0/image-style\n"
                "/backdrop/screen0/monitoreDP-1/workspace1/last-image\n");
    // Found from the running programs alone.
    DesktopWallpaperSetter setter(helpers.environment({{QStringLiteral("DISPLAY"), QStringLiteral(":0")}}),
                                  {QStringLiteral("bash"), QStringLiteral("xfdesktop")});
    EXPECT_TRUE(setter.setWallpaper(BitmapPath).ok());
    const QString channel = QStringLiteral("xfce4-desktop");
    EXPECT_EQ(helpers.calls(),
              (QList<QStringList>{
                  call({QStringLiteral("xfconf-query"), QStringLiteral("-c"), channel, QStringLiteral("-l")}),
                  call({QStringLiteral("xfconf-query"), QStringLiteral("-c"), channel, QStringLiteral("-p"),
                        QStringLiteral("/backdrop/screen0/monitorHDMI-1/workspace0/last-image"), QStringLiteral("-s"),
                        BitmapPath}),
                  call({QStringLiteral("xfconf-query"), QStringLiteral("-c"), channel, QStringLiteral("-p"),
                        QStringLiteral("/backdrop/screen0/monitoreDP-1/workspace1/last-image"), QStringLiteral("-s"),
                        BitmapPath})}));

    // No backdrop picture to change: said so, nothing set.
    FakeHelpers bare;
    bare.add(QStringLiteral("xfconf-query"), 0, "/desktop-icons/style\n");
    const WallpaperOutcome refused = setterFor(bare, QStringLiteral("XFCE")).setWallpaper(BitmapPath);
    EXPECT_EQ(refused.state, State::Refused);
    EXPECT_TRUE(refused.detail.contains(QStringLiteral("last-image"))) << qPrintable(refused.detail);
    EXPECT_EQ(bare.calls().size(), 1);
}

TEST(DesktopWallpaperSetter, PcmanfmSwayAndPlasmasToolGetTheFile)
{
    FakeHelpers helpers;
    for (const char *name : {"pcmanfm", "pcmanfm-qt", "swaymsg", "plasma-apply-wallpaperimage"})
        helpers.add(QLatin1String(name));
    EXPECT_TRUE(setterFor(helpers, QStringLiteral("LXQt")).setWallpaper(BitmapPath).ok());
    EXPECT_TRUE(setterFor(helpers, QStringLiteral("LXDE")).setWallpaper(BitmapPath).ok());
    EXPECT_TRUE(setterFor(helpers, QStringLiteral("sway")).setWallpaper(BitmapPath).ok());
    // Plasma with no session bus to reach its shell on: its own tool.
    EXPECT_TRUE(setterFor(helpers, QStringLiteral("KDE")).setWallpaper(BitmapPath).ok());
    EXPECT_EQ(helpers.calls(),
              (QList<QStringList>{
                  call({QStringLiteral("pcmanfm-qt"), QStringLiteral("--set-wallpaper"), BitmapPath}),
                  call({QStringLiteral("pcmanfm"), QStringLiteral("--set-wallpaper"), BitmapPath}),
                  call({QStringLiteral("swaymsg"), QStringLiteral("output"), QStringLiteral("*"), QStringLiteral("bg"),
                        QStringLiteral(R"("/home/zoë/my\\ pictures/it\\'s\\ \\\"here\\\"/Pavix/Wallpaper.bmp")"),
                        QStringLiteral("tile")}),
                  call({QStringLiteral("plasma-apply-wallpaperimage"), BitmapPath})}));

    FakeHelpers none;
    const WallpaperOutcome plasma = setterFor(none, QStringLiteral("KDE")).setWallpaper(BitmapPath);
    EXPECT_EQ(plasma.state, State::NoSetter);
    EXPECT_EQ(plasma.desktop, QStringLiteral("KDE Plasma"));
    EXPECT_TRUE(plasma.detail.contains(QStringLiteral("\"plasma-apply-wallpaperimage\" is not installed")))
        << qPrintable(plasma.detail);
}

TEST(DesktopWallpaperSetter, WhatTheDesktopAnswersDecidesTheOutcome)
{
    // Refused: the exit status and the first line of the error output; nothing is set
    // after a listing that failed.
    FakeHelpers helpers;
    helpers.add(QStringLiteral("gsettings"), 1, {},
                "\n(gsettings:4242): GLib-GIO-CRITICAL **: No such schema “org.gnome.desktop.background”\nmore\n");
    const WallpaperOutcome refused = setterFor(helpers, QStringLiteral("GNOME")).setWallpaper(BitmapPath);
    EXPECT_EQ(refused.state, State::Refused);
    EXPECT_EQ(refused.detail, QStringLiteral("\"gsettings\" ended with exit status 1: (gsettings:4242): "
                                             "GLib-GIO-CRITICAL **: No such schema “org.gnome.desktop.background”"));
    EXPECT_EQ(helpers.calls().size(), 1);

    // An exit status without a word.
    helpers.add(QStringLiteral("swaymsg"), 2);
    const WallpaperOutcome silent = setterFor(helpers, QStringLiteral("sway")).setWallpaper(BitmapPath);
    EXPECT_EQ(silent.state, State::Refused);
    EXPECT_EQ(silent.detail, QStringLiteral("\"swaymsg\" ended with exit status 2 and gave no reason."));

    // A helper that writes without end is stopped; what it wrote first is its answer.
    helpers.add(QStringLiteral("gsettings"), 0, {}, {},
                "/usr/bin/yes 'No such schema “org.gnome.desktop.background”' >&2");
    const WallpaperOutcome flooded = setterFor(helpers, QStringLiteral("GNOME")).setWallpaper(BitmapPath);
    EXPECT_EQ(flooded.state, State::Refused);
    EXPECT_EQ(flooded.detail, QStringLiteral("\"gsettings\" wrote too much output and was stopped: "
                                             "No such schema “org.gnome.desktop.background”"));

    // A helper that hangs is stopped at the time limit.
    helpers.add(QStringLiteral("pcmanfm-qt"), 0, {}, {}, "/bin/sleep 30");
    DesktopWallpaperSetter slow = setterFor(helpers, QStringLiteral("LXQt"));
    slow.setTimeout(300);
    QElapsedTimer clock;
    clock.start();
    const WallpaperOutcome hung = slow.setWallpaper(BitmapPath);
    EXPECT_LT(clock.elapsed(), 5000);
    EXPECT_EQ(hung.state, State::Refused);
    EXPECT_EQ(hung.detail, QStringLiteral("\"pcmanfm-qt\" did not finish within 0.3 seconds and was stopped."));

    // The desktop's helper is not installed.
    const WallpaperOutcome missing = setterFor(helpers, QStringLiteral("XFCE")).setWallpaper(BitmapPath);
    EXPECT_EQ(missing.state, State::NoSetter);
    EXPECT_EQ(missing.desktop, QStringLiteral("Xfce"));
    EXPECT_EQ(missing.detail, QStringLiteral("It needs the program \"xfconf-query\", which is not installed."));

    // A Wayland compositor Pavix does not know: no setter, and nothing is run.
    const int callsBefore = int(helpers.calls().size());
    DesktopWallpaperSetter wayland(
        helpers.environment({{QStringLiteral("XDG_CURRENT_DESKTOP"), QStringLiteral("Hyprland")},
                             {QStringLiteral("WAYLAND_DISPLAY"), QStringLiteral("wayland-1")},
                             {QStringLiteral("DISPLAY"), QStringLiteral(":0")}}),
        {QStringLiteral("Hyprland")});
    const WallpaperOutcome unsupported = wayland.setWallpaper(BitmapPath);
    EXPECT_EQ(unsupported.state, State::NoSetter);
    EXPECT_EQ(unsupported.desktop, QStringLiteral("Hyprland"));
    EXPECT_EQ(helpers.calls().size(), callsBefore);
}

// While a helper runs, what the window is asked (a repaint, the desktop's ping) is answered;
// here the answer is what the helper waits for.
TEST(DesktopWallpaperSetter, TheWindowsAreAnsweredWhileAHelperRuns)
{
    QTemporaryDir folder;
    const QByteArray fifo = QFile::encodeName(folder.filePath(QStringLiteral("answer")));
    ASSERT_EQ(::mkfifo(fifo.constData(), 0600), 0);
    FakeHelpers helpers;
    helpers.add(QStringLiteral("swaymsg"), 0, {}, {}, "read answer < '" + fifo + "'");
    int writer = -1;
    // Opening the pipe for writing succeeds once the helper is there to read it.
    const pavix::testsupport::PostedWhileWaiting answer(
        [&] { return (writer = ::open(fifo.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC)) >= 0; },
        [&] {
            EXPECT_EQ(::write(writer, "\n", 1), 1);
            ::close(writer);
        });
    const WallpaperOutcome outcome = setterFor(helpers, QStringLiteral("sway")).setWallpaper(BitmapPath);
    EXPECT_TRUE(answer.acted());
    EXPECT_EQ(outcome.state, State::Set) << qPrintable(outcome.detail);
}

TEST(DesktopWallpaperSetter, HyprpaperMustAnswerOkAndSwaybgIsStartedAnew)
{
    FakeHelpers helpers;
    helpers.add(QStringLiteral("hyprctl"), 0, "ok\n");
    EXPECT_TRUE(
        setterFor(helpers, QStringLiteral("Hyprland"), {QStringLiteral("hyprpaper")}).setWallpaper(BitmapPath).ok());
    ASSERT_EQ(helpers.calls().size(), 3);
    EXPECT_EQ(helpers.calls()[2], call({QStringLiteral("hyprctl"), QStringLiteral("hyprpaper"),
                                        QStringLiteral("wallpaper"), QStringLiteral(",tile:") + BitmapPath}));

    // hyprctl ends with 0 whatever hyprpaper answers: the answer decides.
    FakeHelpers refusing;
    refusing.add(QStringLiteral("hyprctl"), 0, "wallpaper failed (not preloaded)\n");
    const WallpaperOutcome refused = setterFor(refusing, QStringLiteral("Hyprland")).setWallpaper(BitmapPath);
    EXPECT_EQ(refused.state, State::Refused);
    EXPECT_TRUE(refused.detail.contains(QStringLiteral("wallpaper failed (not preloaded)")))
        << qPrintable(refused.detail);
    EXPECT_EQ(refusing.calls().size(), 2); // the unload's answer does not count

    // A compositor that runs swaybg gets a new swaybg, which outlives the call.
    FakeHelpers swaybg;
    swaybg.add(QStringLiteral("swaybg"));
    const WallpaperOutcome set =
        DesktopWallpaperSetter(swaybg.environment({{QStringLiteral("XDG_CURRENT_DESKTOP"), QStringLiteral("river")},
                                                   {QStringLiteral("WAYLAND_DISPLAY"), QStringLiteral("wayland-1")}}),
                               {QStringLiteral("swaybg")})
            .setWallpaper(BitmapPath);
    EXPECT_EQ(set.state, State::Set) << qPrintable(set.detail);
    EXPECT_EQ(set.desktop, QStringLiteral("river"));
    EXPECT_TRUE(QTest::qWaitFor([&swaybg] { return !swaybg.calls().isEmpty(); }));
    EXPECT_EQ(swaybg.calls(), (QList<QStringList>{call({QStringLiteral("swaybg"), QStringLiteral("-o"),
                                                        QStringLiteral("*"), QStringLiteral("-i"), BitmapPath,
                                                        QStringLiteral("-m"), QStringLiteral("tile")})}));

    // A Wayland compositor Pavix cannot tell: said so, with the bitmap left for the user.
    FakeHelpers none;
    const WallpaperOutcome unknown =
        DesktopWallpaperSetter(none.environment({{QStringLiteral("XDG_CURRENT_DESKTOP"), QStringLiteral("niri")},
                                                 {QStringLiteral("WAYLAND_DISPLAY"), QStringLiteral("wayland-1")},
                                                 {QStringLiteral("DISPLAY"), QStringLiteral(":0")}}),
                               {})
            .setWallpaper(BitmapPath);
    EXPECT_EQ(unknown.state, State::NoSetter);
    EXPECT_EQ(unknown.desktop, QStringLiteral("niri"));
    EXPECT_TRUE(unknown.detail.contains(QStringLiteral("Wayland"))) << qPrintable(unknown.detail);
}
