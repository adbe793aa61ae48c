#include "platform/plasmashell.h"
#include "wallpaper/desktopcommands.h"
#include "wallpaper/desktopwallpapersetter.h"

#include "support/fakehelpers.h"
#include "support/printers.h"
#include "support/serverprocess.h"

#include <QFile>
#include <QTemporaryDir>

#include <QTest>

#include <gtest/gtest.h>

using namespace pavix::wallpaper;
using pavix::platform::WallpaperOutcome;
using pavix::testsupport::FakeHelpers;
using pavix::testsupport::ServerProcess;

namespace {

const QString BitmapPath = QStringLiteral(u"/home/zoë/it's \"here\"/Pavix/Wallpaper.bmp");

QStringList scriptsIn(const QString &log)
{
    QFile file(log);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).split(QChar(036), Qt::SkipEmptyParts);
}

} // namespace

TEST(PlasmaShell, TheShellOnTheSessionBusRunsTheScriptOrSaysWhyNot)
{
    ServerProcess bus;
    const QString address = bus.start(QStringLiteral("dbus-daemon"),
                                      {QStringLiteral("--session"), QStringLiteral("--nofork"),
                                       QStringLiteral("--print-address=1")});
    if (address.isEmpty())
        GTEST_SKIP() << qPrintable(bus.failure());
    QProcessEnvironment busEnvironment = QProcessEnvironment::systemEnvironment();
    busEnvironment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), address);

    FakeHelpers helpers;
    helpers.add(QStringLiteral("plasma-apply-wallpaperimage"));
    DesktopWallpaperSetter setter(helpers.environment({{QStringLiteral("XDG_CURRENT_DESKTOP"), QStringLiteral("KDE")},
                                                       {QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), address}}),
                                  {});
    QTemporaryDir scratch;

    {
        ServerProcess shell;
        const QString log = scratch.filePath(QStringLiteral("taken.log"));
        ASSERT_EQ(shell.start(QStringLiteral(PAVIX_FAKE_PLASMASHELL), {log}, busEnvironment), QStringLiteral("ready"))
            << qPrintable(shell.failure());
        const WallpaperOutcome set = setter.setWallpaper(BitmapPath);
        EXPECT_EQ(set.state, WallpaperOutcome::State::Set) << qPrintable(set.detail);
        // The script arrives whole, letters outside ASCII and quotes included. The stand-in
        // shell writes its log as it answers; the log may land a moment later.
        EXPECT_TRUE(QTest::qWaitFor([&] { return !scriptsIn(log).isEmpty(); }, 2000));
        EXPECT_EQ(scriptsIn(log), QStringList{plasmaScript(BitmapPath)});
    }
    {
        ServerProcess shell;
        const QString log = scratch.filePath(QStringLiteral("refused.log"));
        ASSERT_EQ(shell.start(QStringLiteral(PAVIX_FAKE_PLASMASHELL), {log, QStringLiteral("Widgets are locked")},
                              busEnvironment),
                  QStringLiteral("ready"));
        const WallpaperOutcome refused = setter.setWallpaper(BitmapPath);
        EXPECT_EQ(refused.state, WallpaperOutcome::State::Refused);
        EXPECT_EQ(refused.detail, QStringLiteral("The Plasma shell answered: Widgets are locked"));
        EXPECT_TRUE(QTest::qWaitFor([&] { return scriptsIn(log).size() == 1; }, 2000));
    }
    // The shell answered both times: its tool was never needed.
    EXPECT_TRUE(helpers.calls().isEmpty());

    // No shell on the bus: Plasma's tool instead.
    EXPECT_TRUE(setter.setWallpaper(BitmapPath).ok());
    EXPECT_EQ(helpers.calls(), (QList<QStringList>{{QStringLiteral("plasma-apply-wallpaperimage"), BitmapPath}}));
    const auto answer = pavix::platform::evaluatePlasmaScript(QStringLiteral("print(1)"), address, 5000);
    EXPECT_EQ(answer.state, pavix::platform::PlasmaAnswer::State::NotRunning);
    EXPECT_EQ(pavix::platform::evaluatePlasmaScript(QStringLiteral("print(1)"),
                                                    QStringLiteral("unix:path=/no/such/bus"), 5000)
                  .state,
              pavix::platform::PlasmaAnswer::State::NotRunning);
}
