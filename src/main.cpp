// Pavix: a picture-tiling browser. The splash window starts the program; its timer runs
// the start-up sequence, which shows the main window.
#include "platform/pictureservice.h"
#include "platform/qtshellinfo.h"
#include "platform/screen.h"
#include "platform/settingsstore.h"
#include "shell/mainwindow.h"
#include "shell/splash.h"
#include "shell/startup.h"

#include <QApplication>
#include <QDir>

#include <memory>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pavix"));
    QApplication::setApplicationDisplayName(QStringLiteral("Pavix"));
    pavix::platform::configurePictureLimits();

    pavix::platform::IniSettingsStore settings;
    pavix::platform::QtShellInfo shellInfo;
    std::unique_ptr<pavix::shell::MainWindow> main;

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
