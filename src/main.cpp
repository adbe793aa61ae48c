// Pavix: a picture-tiling browser. The splash window starts the program; its timer runs
// the start-up sequence, which shows the main window.
#include "platform/pictureservice.h"
#include "platform/qtshellinfo.h"
#include "platform/screen.h"
#include "platform/settingsstore.h"
#include "platform/terminationwatcher.h"
#include "shell/mainwindow.h"
#include "shell/splash.h"
#include "shell/startup.h"

#include <QApplication>
#include <QDir>
#include <QMessageBox>

#include <memory>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pavix"));
    QApplication::setApplicationDisplayName(QStringLiteral("Pavix"));
    pavix::platform::configurePictureLimits();

    pavix::platform::IniSettingsStore settings;
    // A settings file that could not be read was moved aside, never written over: say so.
    if (!settings.startNotice().isEmpty())
        QMessageBox::warning(nullptr, QStringLiteral("Pavix"), settings.startNotice(), QMessageBox::Ok);
    pavix::platform::QtShellInfo shellInfo;
    std::unique_ptr<pavix::shell::MainWindow> main;
    // A save that fails is told once, naming the file and the reason.
    settings.setFailureReporter([&main](const QString &message) {
        QMessageBox::warning(main ? main.get() : nullptr, QStringLiteral("Pavix"), message, QMessageBox::Ok);
    });

    // A logout, `kill` or Ctrl+C closes Pavix as its close button does: settings stored.
    pavix::platform::TerminationWatcher termination;
    QObject::connect(&termination, &pavix::platform::TerminationWatcher::terminationRequested, &app, [&] {
        if (main)
            main->close();
        QApplication::quit();
    });

    auto startup = [&](const auto &status) {
        main = pavix::shell::runStartup({settings, shellInfo, QDir::homePath(), status});
    };
    auto *splash = new pavix::shell::Splash(pavix::platform::screenTwipsPerPixel(), startup);
    splash->setAttribute(Qt::WA_DeleteOnClose);
    splash->show();

    const int code = app.exec();
    main.reset();
    settings.sync();
    return code;
}
