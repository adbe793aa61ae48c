// Pavix in a Wayland session: a headless sway (as "nobody" when the tests run as root,
// since sway refuses the superuser) and this test run again inside it, on Qt's Wayland
// platform. The windows open and are shown, the grid builds, and the corners read at
// start-up are stored again in place of those the compositor reports.
#include "options/optionsdialog.h"
#include "preview/tiledpreview.h"
#include "shell/settings.h"
#include "shell/settingskeys.h"
#include "support/mainfixture.h"
#include "support/mainparts.h"
#include "support/serverprocess.h"
#include "support/unprivileged.h"
#include "thumbs/thumbstrip.h"
#include "toolbox/toolbox.h"

#include <QGuiApplication>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

using namespace pavix;

namespace {

constexpr const char *WaylandRole = "PAVIX_TEST_WAYLAND";

// Runs inside the compositor.
void checkWindowsInTheSession()
{
    ASSERT_TRUE(QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        << qPrintable(QGuiApplication::platformName());
    testsupport::MainFixture f;
    f.store.write(shell::SectionSettings, shell::KeyMainLeft, QStringLiteral("2345"));
    f.store.write(shell::SectionSettings, shell::KeyTiledWindowLeft, QStringLiteral("3456"));
    const QString folder = f.scratch.makeFolder(QStringLiteral("pictures"));
    for (int i = 0; i < 3; ++i) {
        QImage picture(40 + i, 30, QImage::Format_RGB32);
        picture.fill(QColor::fromHsv(i * 100, 200, 200));
        ASSERT_TRUE(picture.save(folder + QStringLiteral("/p%1.png").arg(i)));
    }
    f.start(folder);
    shell::MainWindow &m = *f.main;
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&m));
    testsupport::item(m, QStringLiteral("refreshItem"))->trigger();
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(m.thumbStrip()->elementVisible(i)) << i;

    testsupport::MainFixture::press(m.thumbStrip(), m.thumbStrip()->elementRect(0).center());
    m.tiledPreview()->show();
    preview::TiledPreview *tiled = m.tiledPreview()->window();
    ASSERT_NE(tiled, nullptr);
    EXPECT_TRUE(QTest::qWaitForWindowExposed(tiled));
    // F2 asks for the toolbox from the active tiled window.
    EXPECT_TRUE(QTest::qWaitFor([&] { return QGuiApplication::focusWindow() == tiled->windowHandle(); }));
    m.showToolbox();
    auto *tools = m.findChild<toolbox::Toolbox *>();
    ASSERT_NE(tools, nullptr);
    EXPECT_TRUE(QTest::qWaitForWindowExposed(tools));
    // "On Top" without a stays-on-top hint: a tool window of the window it was asked from.
    EXPECT_EQ(tools->windowHandle()->transientParent(), tiled->windowHandle());

    // The options dialog and a message box show as windows of their own.
    m.optionsDialog()->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(m.optionsDialog()));
    m.optionsDialog()->close();
    QMessageBox box(QMessageBox::Information, QStringLiteral("Pavix"), QStringLiteral("Wayland"), QMessageBox::Ok, &m);
    box.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&box));
    box.close();

    m.close();
    EXPECT_EQ(shell::readSingle(f.store, shell::SectionSettings, shell::KeyMainLeft, 0), 2345.0f);
    EXPECT_EQ(shell::readInt32(f.store, shell::SectionSettings, shell::KeyTiledWindowLeft, 0), 3456);
    EXPECT_GT(shell::readSingle(f.store, shell::SectionSettings, shell::KeyMainWidth, 0), 0.0f);
}

} // namespace

TEST(Wayland, UnderHeadlessSwayTheWindowsOpenAndTheGridBuilds)
{
    if (qEnvironmentVariableIsSet(WaylandRole)) {
        checkWindowsInTheSession();
        return;
    }
    if (QStandardPaths::findExecutable(QStringLiteral("sway")).isEmpty()) {
        GTEST_SKIP() << "sway is not installed";
    }
    const bool asRoot = ::getuid() == 0;
    if (asRoot && QStandardPaths::findExecutable(QStringLiteral("setpriv")).isEmpty()) {
        GTEST_SKIP() << "sway refuses to run as root, and setpriv is not installed to run it as nobody";
    }

    // The compositor's runtime folder, its socket's, shared with the run inside it.
    QTemporaryDir runtime(QStringLiteral("/tmp/pavix-wl-XXXXXX"));
    ASSERT_TRUE(runtime.isValid());
    if (asRoot) {
        ASSERT_EQ(::chown(QFile::encodeName(runtime.path()).constData(), testsupport::NobodyId, testsupport::NobodyId),
                  0);
        // Nobody passes into it; nobody else may list it.
        QFile::setPermissions(runtime.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner
                                                  | QFileDevice::ExeGroup | QFileDevice::ExeOther);
    }
    const QString config = runtime.filePath(QStringLiteral("sway.conf"));
    {
        QFile file(config);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        // The first line sway writes is the socket's name, once it listens.
        file.write("output HEADLESS-1 resolution 1280x800\nexec printenv WAYLAND_DISPLAY\n");
    }
    QFile::setPermissions(config, QFileDevice::ReadOwner | QFileDevice::ReadOther);
    QProcessEnvironment environment;
    environment.insert(QStringLiteral("PATH"), qEnvironmentVariable("PATH"));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
    environment.insert(QStringLiteral("HOME"), runtime.path());
    environment.insert(QStringLiteral("WLR_BACKENDS"), QStringLiteral("headless"));
    environment.insert(QStringLiteral("WLR_LIBINPUT_NO_DEVICES"), QStringLiteral("1"));
    environment.insert(QStringLiteral("WLR_RENDERER"), QStringLiteral("pixman"));
    testsupport::ServerProcess sway;
    const QStringList swayCommand = {QStringLiteral("sway"), QStringLiteral("-c"), config};
    const QString socket = asRoot ? sway.start(QStringLiteral("setpriv"),
                                               QStringList{QStringLiteral("--reuid=%1").arg(testsupport::NobodyId),
                                                           QStringLiteral("--regid=%1").arg(testsupport::NobodyId),
                                                           QStringLiteral("--clear-groups"), QStringLiteral("--")}
                                                   + swayCommand,
                                               environment)
                                  : sway.start(swayCommand.front(), swayCommand.mid(1), environment);
    if (socket.isEmpty()) {
        GTEST_SKIP() << "headless sway did not start: " << qPrintable(sway.failure());
    }

    QProcessEnvironment session;
    session.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
    session.insert(QStringLiteral("WAYLAND_DISPLAY"), socket);
    session.insert(QStringLiteral("XDG_SESSION_TYPE"), QStringLiteral("wayland"));
    session.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("wayland"));
    session.insert(QStringLiteral("DISPLAY"), QString());
    const ::testing::TestInfo *test = ::testing::UnitTest::GetInstance()->current_test_info();
    const QString name = QStringLiteral("%1.%2").arg(QLatin1String(test->test_suite_name()),
                                                     QLatin1String(test->name()));
    testsupport::UnprivilegedRun run;
    if (asRoot) {
        run = testsupport::rerunAsNobody(name, WaylandRole, QStringLiteral("1"), runtime.path(), session);
    } else {
        QProcessEnvironment own = QProcessEnvironment::systemEnvironment();
        own.insert(session);
        own.insert(QString::fromLatin1(WaylandRole), QStringLiteral("1"));
        QProcess child;
        child.setProcessEnvironment(own);
        child.setProcessChannelMode(QProcess::MergedChannels);
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--gtest_filter=") + name});
        const bool ended = child.waitForFinished(120'000);
        run.output = QString::fromLocal8Bit(child.readAll());
        run.exitCode = ended && child.exitStatus() == QProcess::NormalExit ? child.exitCode() : -1;
    }
    if (!run.skipReason.isEmpty()) {
        GTEST_SKIP() << qPrintable(run.skipReason);
    }
    EXPECT_EQ(run.exitCode, 0) << qPrintable(run.output);
}
