// Pavix: a picture-tiling browser. The splash window starts the program; its timer runs
// the start-up sequence, which shows the main window.
#include "common/filename.h"
#include "platform/appicon.h"
#include "platform/displayloss.h"
#include "platform/pictureservice.h"
#include "platform/qtshellinfo.h"
#include "platform/screen.h"
#include "platform/settingsstore.h"
#include "platform/terminationwatcher.h"
#include "platform/timedcall.h"
#include "platform/translations.h"
#include "shell/commandline.h"
#include "shell/mainwindow.h"
#include "shell/qtplatform.h"
#include "shell/splash.h"
#include "shell/startpath.h"
#include "shell/startup.h"

#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QPointer>

#include <cstdio>
#include <memory>

namespace {

const QString Version = QStringLiteral(PAVIX_VERSION);

void writeLines(std::FILE *stream, const QStringList &lines)
{
    for (const QString &line : lines)
        std::fputs(pavix::common::encodeFileName(line + u'\n').constData(), stream);
}

// Prints what a --help, --version or refused command line asks for and gives the exit
// code; -1 when the program is to start.
int answerCommandLine(const pavix::shell::CommandLine &line)
{
    using pavix::shell::CommandLineAction;
    if (line.action == CommandLineAction::Print) {
        std::fputs(line.output.toLocal8Bit().constData(), stdout);
        return 0;
    }
    if (line.action == CommandLineAction::Fail) {
        writeLines(stderr, line.errors);
        return 1;
    }
    return -1;
}

// Tells a save of the settings that failed in a warning box, over the window it is given.
class SaveFailureBox : public pavix::platform::SaveFailureReporter {
public:
    void setWindow(QWidget *window) { m_window = window; }
    void reportSaveFailure(const QString &message) override
    {
        QMessageBox::warning(m_window, QStringLiteral("Pavix"), message, QMessageBox::Ok);
    }

private:
    QPointer<QWidget> m_window;
};

} // namespace

int main(int argc, char **argv)
{
    // The command line is read before the application object exists, so --help, --version
    // and a refused option answer without a display.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << pavix::common::decodeFileName(argv[i]);
    const pavix::shell::CommandLine line = pavix::shell::parseCommandLine(arguments, Version);
    if (const int code = answerCommandLine(line); code >= 0)
        return code;
    writeLines(stderr, line.errors);

    // A Wayland session is drawn on natively, with XWayland behind it.
    const pavix::shell::PlatformChoice platform = pavix::shell::choosePlatform(
        {.requested = qgetenv("QT_QPA_PLATFORM"),
         .sessionType = qgetenv("XDG_SESSION_TYPE"),
         .waylandDisplay = !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
                           || !qEnvironmentVariableIsEmpty("WAYLAND_SOCKET"),
         .x11Display = !qEnvironmentVariableIsEmpty("DISPLAY"),
         .waylandInstalled = pavix::platform::qtPlatformInstalled(QStringLiteral("wayland"))});
    if (!platform.platform.isEmpty())
        qputenv("QT_QPA_PLATFORM", platform.platform);
    if (!platform.notice.isEmpty())
        writeLines(stderr, {platform.notice});

    QApplication app(argc, argv);
    // Before the first window or message: everything shown speaks the user's language.
    pavix::platform::installTranslations(QLocale::system(), pavix::platform::translationFolders());
    pavix::shell::setApplicationIdentity(Version, QStringLiteral(PAVIX_APP_ID));
    pavix::shell::StartPlace place;
    if (!line.path.isEmpty()) {
        place = pavix::shell::findStartPlace(line.path);
        if (!place.error.isEmpty())
            writeLines(stderr, {place.error});
    }

    pavix::platform::configurePictureLimits();

    // A save that fails is told once, naming the file and the reason, over the main window
    // once there is one.
    SaveFailureBox saveFailures;
    pavix::platform::IniSettingsStore settings(&saveFailures);
    // A settings file that could not be read was moved aside, never written over: say so.
    if (!settings.startNotice().isEmpty())
        QMessageBox::warning(nullptr, QStringLiteral("Pavix"), settings.startNotice(), QMessageBox::Ok);
    pavix::platform::QtShellInfo shellInfo;
    // After the shell information has joined the desktop's icon folders to the search.
    QApplication::setWindowIcon(pavix::platform::applicationIcon(QStringLiteral(PAVIX_APP_ID)));
    std::unique_ptr<pavix::shell::MainWindow> main;
    // The main window from the moment it shows, also while the first scan fills it.
    QPointer<pavix::shell::MainWindow> shownMain;
    pavix::shell::Splash *splash = nullptr;

    // A logout, `kill` or Ctrl+C closes Pavix as its close button does: settings stored.
    // During a grid build (the first one too) the close ends the build.
    pavix::platform::TerminationWatcher termination;
    bool terminated = false;
    QObject::connect(&termination, &pavix::platform::TerminationWatcher::terminationRequested, &app, [&] {
        terminated = true;
        if (shownMain)
            shownMain->close();
        QApplication::quit();
    });

    auto startup = [&](const auto &status) {
        main = pavix::shell::runStartup({.settings = settings,
                                         .shellInfo = shellInfo,
                                         .homeFolder = QDir::homePath(),
                                         .status = status,
                                         .startFolder = place.folder,
                                         .startPicture = place.picture,
                                         .mainShown = [&](pavix::shell::MainWindow &window) {
                                             shownMain = &window;
                                             saveFailures.setWindow(&window);
                                             // The main window takes over from the splash.
                                             splash->close();
                                         }});
    };
    splash = new pavix::shell::Splash(pavix::platform::screenTwipsPerPixel(), startup);
    splash->setAttribute(Qt::WA_DeleteOnClose);
    splash->show();
    // Showing the splash paints it at once, which handles a signal that came meanwhile;
    // quit() does nothing before the event loop runs, so such a signal ends Pavix here.
    if (terminated) {
        delete splash;
        return 0;
    }

    // The display going away ends the process inside Qt: the settings are stored first.
    pavix::platform::runBeforeDisplayLoss([&] {
        if (shownMain)
            shownMain->storeSettings();
    });

    const int code = app.exec();
    main.reset();
    settings.sync();
    // A read left running on a stalled file may still be inside Qt: the process ends here,
    // before the application object and Qt's own data are destroyed under it.
    pavix::platform::endProcessIfThreadsLeftBehind(code);
    return code;
}
