// Runs the wallpaper command once in a process of its own on a real X display, for the
// tests that look at what an X11 session without a desktop gets: the root window's
// background and the clipboard. Arguments: the folder and the name of the picture to
// select. It writes one line, "set" or the message the command showed (answered at once), and
// then keeps offering the picture on the clipboard until its standard input closes.
#include "browser/browser.h"
#include "platform/qtshellinfo.h"
#include "wallpaper/desktopwallpapersetter.h"
#include "wallpaper/wallpapercommand.h"

#include "support/boxanswerer.h"

#include <QApplication>
#include <QSocketNotifier>

#include <cstdio>
#include <unistd.h>

using namespace pavix;

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.size() != 3)
        return 2;
    platform::QtShellInfo shellInfo;
    browser::Browser browser(shellInfo, 15.0);
    browser.setFolder(arguments[1]);
    if (!browser.selectFile(arguments[2]))
        return 3;
    // The session as the environment tells it, without this machine's running programs.
    wallpaper::DesktopWallpaperSetter setter(QProcessEnvironment::systemEnvironment(), {});
    wallpaper::WallpaperCommand command(browser, setter, nullptr);
    testsupport::BoxAnswerer boxes;
    const bool set = command.run() == wallpaper::WallpaperCommand::Result::Set;
    QString said = boxes.texts().value(0);
    std::puts(set ? "set" : qPrintable(said.replace(u'\n', u' ')));
    std::fflush(stdout);

    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, &app, [&] {
        char buffer[256];
        if (::read(STDIN_FILENO, buffer, sizeof buffer) <= 0)
            app.quit();
    });
    return app.exec();
}
