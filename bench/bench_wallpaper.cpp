// Wallpaper timings on a 4032 x 3024 photo: what the user waits for between choosing
// "Set Wallpaper" and the desktop having the picture. Each figure is the median of five
// runs:
//   - the bitmap written to the data folder (atomic save of a 36 MB file),
//   - the bitmap read back, as the X11 root setter does,
//   - the root window's background set from the picture on an Xvfb of the bench's own,
//   - the whole X11 setter (read back and set), and one helper program started and waited
//     for (the cost each gsettings or xfconf-query call adds).
// Prints one line per figure and each as a ratio to the bitmap write.
//
// Usage: bench_wallpaper [picture]   (default: the corpus's large_4032x3024.jpg)

#include "platform/helperprocess.h"
#include "platform/pictureservice.h"
#include "platform/x11rootbackground.h"
#include "wallpaper/desktopwallpapersetter.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

using namespace pavix;

namespace {

constexpr int Runs = 5;

double medianMs(const std::function<bool()> &work)
{
    std::vector<double> times;
    for (int i = 0; i < Runs; ++i) {
        QElapsedTimer clock;
        clock.start();
        if (!work())
            return -1;
        times.push_back(clock.nsecsElapsed() / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// An X server for the bench: its display name, or "" when Xvfb cannot be started.
QString startXvfb(QProcess &server)
{
    server.start(QStringLiteral("Xvfb"),
                 {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"), QStringLiteral("0"),
                  QStringLiteral("1920x1080x24"), QStringLiteral("-nolisten"), QStringLiteral("tcp")});
    QByteArray number;
    while (!number.contains('\n') && server.waitForReadyRead(10000))
        number += server.readAllStandardOutput();
    return number.contains('\n') ? u':' + QString::fromLatin1(number.trimmed()) : QString();
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    platform::configurePictureLimits();
    const QString source = argc > 1 ? QString::fromLocal8Bit(argv[1])
                                    : QStringLiteral(PAVIX_CORPUS_DIR "/good/large_4032x3024.jpg");
    const auto picture = platform::loadPicture(source);
    if (!picture) {
        std::printf("cannot read %s\n", qPrintable(source));
        return 1;
    }
    std::printf("picture: %s, %d x %d\n", qPrintable(source), picture->width(), picture->height());

    QTemporaryDir scratch;
    const QString bitmap = scratch.filePath(QStringLiteral("Wallpaper.bmp"));
    const double write = medianMs([&] { return platform::saveBitmap(*picture, bitmap).ok(); });
    const double read = medianMs([&] { return platform::loadPicture(bitmap).ok(); });
    std::printf("bitmap write          %8.1f ms  (%lld bytes)\n", write, QFile(bitmap).size());
    std::printf("bitmap read back      %8.1f ms  %5.2f x the write\n", read, read / write);

    QProcess server;
    const QString display = startXvfb(server);
    if (display.isEmpty()) {
        std::printf("Xvfb cannot be started: no X11 figures\n");
    } else {
        const double root = medianMs([&] { return platform::setRootBackground(*picture, display).ok(); });
        QProcessEnvironment env;
        env.insert(QStringLiteral("DISPLAY"), display);
        wallpaper::DesktopWallpaperSetter setter(env, {});
        const double whole = medianMs([&] { return setter.setWallpaper(bitmap).ok(); });
        std::printf("root background set   %8.1f ms  %5.2f x the write\n", root, root / write);
        std::printf("X11 setter, whole     %8.1f ms  %5.2f x the write\n", whole, whole / write);
        server.terminate();
        server.waitForFinished(5000);
    }

    QProcessEnvironment path;
    path.insert(QStringLiteral("PATH"), QStringLiteral("/usr/bin:/bin"));
    const double helper = medianMs([&] {
        return platform::runHelper(QStringLiteral("true"), {}, path, 10000).succeeded();
    });
    std::printf("one helper program    %8.1f ms  %5.2f x the write\n", helper, helper / write);
    return 0;
}
