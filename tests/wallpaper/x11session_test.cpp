// The command on a real X display with no desktop running: what the user sees on the
// screen and what pasting in another program gives.
#include "support/corpus.h"
#include "support/printers.h"
#include "support/scratchfolder.h"
#include "support/serverprocess.h"
#include "support/xvfbserver.h"
#include "support/xview.h"

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>

#include <gtest/gtest.h>

using namespace pavix::testsupport;

TEST(X11Session, TheCommandTilesTheRootWindowAndOffersThePictureToPaste)
{
    XvfbServer server(QStringLiteral("300x200x24"));
    if (server.display().isEmpty())
        GTEST_SKIP() << qPrintable(server.failure());
    ScratchFolder scratch;
    const QString pictures = scratch.makeFolder(QStringLiteral("pictures"));
    ASSERT_TRUE(QFile::copy(corpusPath(QStringLiteral("good/hopper.jpg")), pictures + QStringLiteral("/hopper.jpg")));

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *name :
         {"XDG_CURRENT_DESKTOP", "DESKTOP_SESSION", "XDG_SESSION_TYPE", "WAYLAND_DISPLAY", "SWAYSOCK"})
        env.remove(QLatin1String(name));
    env.insert(QStringLiteral("DISPLAY"), server.display());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.insert(QStringLiteral("XDG_DATA_HOME"), scratch.file(QStringLiteral("data")));
    ServerProcess probe;
    const QString said = probe.start(QStringLiteral(PAVIX_WALLPAPER_PROBE), {pictures, QStringLiteral("hopper.jpg")},
                                     env);
    ASSERT_EQ(said, QStringLiteral("set")) << qPrintable(probe.failure());

    // The bitmap the desktop was given is the picture the root window shows, tiled.
    const QImage bitmap =
        QImage(scratch.file(QStringLiteral("data/Pavix/Wallpaper.bmp"))).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(bitmap.size(), QSize(128, 128));
    XView view(server.display());
    ASSERT_TRUE(view.ok());
    const auto pixmap = view.rootPixmap("_XROOTPMAP_ID");
    ASSERT_TRUE(pixmap.has_value());
    EXPECT_EQ(view.pixels(*pixmap, bitmap.rect()), bitmap);
    EXPECT_EQ(view.pixels(view.root(), QRect(128, 128, 128, 72)), bitmap.copy(0, 0, 128, 72));

    // Pasting elsewhere: another X client asks for the clipboard's picture.
    if (QStandardPaths::findExecutable(QStringLiteral("xclip")).isEmpty())
        GTEST_SKIP() << "xclip is not installed; the clipboard is not looked at";
    auto paste = [&](const QString &target) {
        QProcess xclip;
        xclip.start(QStringLiteral("xclip"),
                    {QStringLiteral("-display"), server.display(), QStringLiteral("-selection"),
                     QStringLiteral("clipboard"), QStringLiteral("-t"), target, QStringLiteral("-o")});
        EXPECT_TRUE(xclip.waitForFinished(10000));
        return xclip.readAllStandardOutput();
    };
    EXPECT_TRUE(paste(QStringLiteral("TARGETS")).contains("image/png"));
    const QImage pasted =
        QImage::fromData(paste(QStringLiteral("image/png")), "PNG").convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(pasted, bitmap);
}
