#include "wallpaper/wallpapercommand.h"

#include "browser/browser.h"
#include "catalogue/typepatterns.h"
#include "platform/clipboard.h"
#include "wallpaper/desktopwallpapersetter.h"

#include "support/boxanswerer.h"
#include "support/corpus.h"
#include "support/fakehelpers.h"
#include "support/fakeshellinfo.h"
#include "support/printers.h"
#include "support/scopedenvironment.h"
#include "support/scratchfolder.h"
#include "support/withoutfileoverride.h"

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QProcess>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <functional>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>

using namespace pavix;
using wallpaper::WallpaperCommand;
using Result = WallpaperCommand::Result;

namespace {

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The command over a browser of real pictures, with Pavix's data folder in a scratch
// folder and a GNOME session whose gsettings is a stand-in that records its calls.
class CommandRig {
public:
    explicit CommandRig(const QList<std::pair<QString, QString>> &session = {{QStringLiteral("XDG_CURRENT_DESKTOP"),
                                                                              QStringLiteral("GNOME")}})
        : setter(helpers.environment(session), {})
    {
        env.set("XDG_DATA_HOME", QFile::encodeName(scratch.file(QStringLiteral("data"))));
        helpers.add(QStringLiteral("gsettings"), 0, "picture-uri\n");
        pictures = scratch.makeFolder(QStringLiteral("pictures"));
        for (const char *name : {"good/cat.jpg", "good/transparent.gif", "good/smile.ico", "good/hopper.bmp"})
            EXPECT_TRUE(QFile::copy(testsupport::corpusPath(QLatin1String(name)),
                                    pictures + u'/' + QString::fromLatin1(name).section(u'/', -1)));
        browser.setFilePattern(catalogue::combinedPattern(catalogue::patternsInForce({}))); // every type
        EXPECT_TRUE(browser.setFolder(pictures).ok());
    }

    // The command's message boxes so far: their icons and texts.
    QList<std::pair<QMessageBox::Icon, QString>> messages() const
    {
        QList<std::pair<QMessageBox::Icon, QString>> shown;
        for (const testsupport::BoxAnswerer::Box &box : boxes.boxes())
            shown.append({box.icon, box.text});
        return shown;
    }

    QString dataFolder() const { return scratch.file(QStringLiteral("data/Pavix")); }
    QString bitmap() const { return dataFolder() + QStringLiteral("/Wallpaper.bmp"); }
    // The values gsettings was asked to set.
    QStringList valuesSet() const
    {
        QStringList values;
        for (const QStringList &call : helpers.calls())
            if (call.value(1) == QLatin1String("set"))
                values.append(call.value(4));
        return values;
    }

    testsupport::ScratchFolder scratch;
    testsupport::ScopedEnvironment env;
    testsupport::FakeHelpers helpers;
    testsupport::FakeShellInfo shell;
    browser::Browser browser{shell, 15.0};
    wallpaper::DesktopWallpaperSetter setter;
    WallpaperCommand command{browser, setter, nullptr};
    QString pictures;
    testsupport::BoxAnswerer boxes;
};

} // namespace

TEST(WallpaperCommand, WithNoPictureSelectedItAsksForOneAndChangesNothing)
{
    CommandRig rig;
    EXPECT_EQ(rig.command.run(), Result::NothingSelected);
    // A folder chosen since: the file's name stays, its picture is gone.
    rig.browser.setCurrentFile(QStringLiteral("cat.jpg"));
    EXPECT_EQ(rig.command.run(), Result::NothingSelected);
    // A file that could not be read leaves nothing selected.
    QFile broken(rig.pictures + QStringLiteral("/broken.jpg"));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("not a picture");
    broken.close();
    EXPECT_FALSE(rig.browser.selectFile(QStringLiteral("broken.jpg")).ok());
    EXPECT_EQ(rig.command.run(), Result::NothingSelected);

    const std::pair<QMessageBox::Icon, QString> expected{QMessageBox::Information,
                                                         QStringLiteral("Please select a file first!")};
    EXPECT_EQ(rig.messages(), (QList<std::pair<QMessageBox::Icon, QString>>{expected, expected, expected}));
    EXPECT_FALSE(QFile::exists(rig.bitmap()));
    EXPECT_TRUE(rig.helpers.calls().isEmpty());
}

TEST(WallpaperCommand, EveryPictureTypeBecomesABitmapOfItsSizeOnTheClipboardAndTheDesktop)
{
    CommandRig rig;
    for (const char *name : {"cat.jpg", "transparent.gif", "smile.ico"}) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(rig.browser.selectFile(QLatin1String(name)).ok());
        const QImage picture = rig.browser.picture();
        EXPECT_EQ(rig.command.run(), Result::Set);
        EXPECT_TRUE(rig.messages().isEmpty()) << qPrintable(rig.messages().value(0).second);

        QImageReader reader(rig.bitmap());
        EXPECT_EQ(reader.format(), QByteArray("bmp"));
        const QImage written = reader.read();
        ASSERT_EQ(written.size(), picture.size());
        // Opaque pixels as they were, transparent ones white.
        for (const QPoint at : {QPoint(0, 0), QPoint(picture.width() / 2, picture.height() / 3),
                                QPoint(picture.width() - 1, picture.height() - 1)}) {
            const QRgb in = picture.pixel(at);
            EXPECT_EQ(written.pixel(at), qAlpha(in) == 0 ? qRgb(255, 255, 255) : (in | 0xff000000u))
                << at.x() << "," << at.y();
        }
        // ImageMagick reads it as a bitmap of the same size.
        QProcess identify;
        identify.start(QStringLiteral("identify"),
                       {QStringLiteral("-format"), QStringLiteral("%m %w %h"), rig.bitmap()});
        if (identify.waitForFinished(20000)) {
            // "BMP" or "BMP3", by the header's version.
            const QString seen = QString::fromLatin1(identify.readAllStandardOutput());
            EXPECT_TRUE(seen.startsWith(QStringLiteral("BMP"))) << qPrintable(seen);
            EXPECT_EQ(seen.section(u' ', 1), QStringLiteral("%1 %2").arg(picture.width()).arg(picture.height()))
                << qPrintable(seen);
        } else {
            ADD_FAILURE() << "ImageMagick's identify did not run";
        }

        const QImage pasted = platform::clipboardBitmap();
        ASSERT_EQ(pasted.size(), picture.size());
        const QPoint middle(picture.width() / 2, picture.height() / 2);
        if (qAlpha(picture.pixel(middle)) == 255) {
            EXPECT_EQ(pasted.pixel(middle), picture.pixel(middle));
        }
    }
    const QString uri = QStringLiteral("'file://") + rig.bitmap() + u'\'';
    EXPECT_EQ(rig.valuesSet(), (QStringList{uri, uri, uri}));
}

TEST(WallpaperCommand, ABitmapThatCannotBeWrittenStopsTheCommandAndKeepsTheOldFile)
{
    CommandRig rig;
    ASSERT_TRUE(QDir().mkpath(rig.dataFolder()));
    QFile old(rig.bitmap());
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("the wallpaper from last time");
    old.close();
    ASSERT_TRUE(QFile::setPermissions(rig.dataFolder(), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    ASSERT_TRUE(rig.browser.selectFile(QStringLiteral("cat.jpg")).ok());
    {
        testsupport::WithoutFileOverride asOtherUsers;
        QFile probe(rig.dataFolder() + QStringLiteral("/probe"));
        if (probe.open(QIODevice::WriteOnly)) {
            probe.remove();
            QFile::setPermissions(rig.dataFolder(),
                                  QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
            GTEST_SKIP() << "this process may write into read-only folders";
        }
        EXPECT_EQ(rig.command.run(), Result::NotWritten);
    }
    QFile::setPermissions(rig.dataFolder(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_EQ(fileBytes(rig.bitmap()), QByteArray("the wallpaper from last time"));
    EXPECT_EQ(QDir(rig.dataFolder()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("Wallpaper.bmp")});
    ASSERT_EQ(rig.messages().size(), 1);
    EXPECT_EQ(rig.messages()[0].first, QMessageBox::Warning);
    EXPECT_TRUE(rig.messages()[0].second.startsWith(
        QStringLiteral("The wallpaper was not changed: the picture could not be saved as the bitmap \"%1\".\n\n")
            .arg(rig.bitmap())))
        << qPrintable(rig.messages()[0].second);
    EXPECT_TRUE(rig.messages()[0].second.contains(QStringLiteral("Permission denied")))
        << qPrintable(rig.messages()[0].second);
    // The desktop was never handed the old file.
    EXPECT_TRUE(rig.helpers.calls().isEmpty());

    // No data folder can be made: a file is where it should be.
    rig.boxes.clear();
    QFile::remove(rig.bitmap());
    ASSERT_TRUE(QDir(rig.dataFolder()).removeRecursively());
    QFile blocker(rig.dataFolder());
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EXPECT_EQ(rig.command.run(), Result::NotWritten);
    ASSERT_EQ(rig.messages().size(), 1);
    EXPECT_TRUE(
        rig.messages()[0].second.contains(QStringLiteral("The folder \"%1\" cannot be created").arg(rig.dataFolder())))
        << qPrintable(rig.messages()[0].second);
    EXPECT_TRUE(rig.helpers.calls().isEmpty());
}

TEST(WallpaperCommand, TheDesktopsRefusalOrAbsenceIsReportedWithTheSavedFile)
{
    // One rig at a time: each answers the message boxes that come up while it lives.
    {
        CommandRig rig;
        rig.helpers.add(QStringLiteral("gsettings"), 1, {}, "No such schema “org.gnome.desktop.background”\n");
        ASSERT_TRUE(rig.browser.selectFile(QStringLiteral("hopper.bmp")).ok());
        EXPECT_EQ(rig.command.run(), Result::NotSet);
        ASSERT_EQ(rig.messages().size(), 1);
        EXPECT_EQ(rig.messages()[0],
                  std::make_pair(QMessageBox::Warning,
                                 QStringLiteral("The wallpaper was not changed: the desktop (GNOME) refused it.\n\n"
                                                "\"gsettings\" ended with exit status 1: No such schema "
                                                "“org.gnome.desktop.background”")));
        EXPECT_TRUE(QFile::exists(rig.bitmap()));
    }

    CommandRig wayland({{QStringLiteral("XDG_CURRENT_DESKTOP"), QStringLiteral("niri")},
                        {QStringLiteral("WAYLAND_DISPLAY"), QStringLiteral("wayland-1")}});
    ASSERT_TRUE(wayland.browser.selectFile(QStringLiteral("hopper.bmp")).ok());
    EXPECT_EQ(wayland.command.run(), Result::NotSet);
    ASSERT_EQ(wayland.messages().size(), 1);
    EXPECT_TRUE(wayland.messages()[0].second.contains(QStringLiteral("on this desktop (niri)")));
    EXPECT_TRUE(wayland.messages()[0].second.contains(QStringLiteral("saved as \"%1\"").arg(wayland.bitmap())));
    EXPECT_EQ(QImage(wayland.bitmap()).size(), QSize(128, 128));
}

TEST(WallpaperCommand, TheListingIsOutOfDateOnlyWhenItShowsTheDataFolder)
{
    CommandRig rig;
    QSignalSpy changed(&rig.command, &WallpaperCommand::listedFolderChanged);
    ASSERT_TRUE(rig.browser.selectFile(QStringLiteral("hopper.bmp")).ok());
    EXPECT_EQ(rig.command.run(), Result::Set);
    EXPECT_EQ(changed.count(), 0);

    // The data folder listed, under another spelling of its path.
    ASSERT_TRUE(QFile::copy(rig.pictures + QStringLiteral("/cat.jpg"), rig.dataFolder() + QStringLiteral("/cat.jpg")));
    const QString link = rig.scratch.file(QStringLiteral("linked"));
    ASSERT_TRUE(QFile::link(rig.scratch.file(QStringLiteral("data")), link));
    ASSERT_TRUE(rig.browser.setFolder(link + QStringLiteral("/Pavix/")).ok());
    ASSERT_TRUE(rig.browser.selectFile(QStringLiteral("cat.jpg")).ok());
    EXPECT_EQ(rig.command.run(), Result::Set);
    EXPECT_EQ(changed.count(), 1);
    // Also when the desktop refused: the file in the folder changed all the same.
    rig.helpers.add(QStringLiteral("gsettings"), 4);
    EXPECT_EQ(rig.command.run(), Result::NotSet);
    EXPECT_EQ(changed.count(), 2);
}

TEST(WallpaperCommand, WhatHasTheBitmapsNameIsReplacedNeverWrittenThrough)
{
    CommandRig rig;
    ASSERT_TRUE(QDir().mkpath(rig.dataFolder()));
    const QString notes = rig.scratch.file(QStringLiteral("notes.txt"));
    {
        QFile file(notes);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write("my notes\n") == 9);
    }
    const QByteArray bitmap = QFile::encodeName(rig.bitmap());
    struct Case {
        const char *what;
        std::function<void()> make;
    };
    const Case cases[] = {
        {"a link to the user's notes", [&] { ASSERT_TRUE(QFile::link(notes, rig.bitmap())); }},
        {"a link that leads nowhere",
         [&] { ASSERT_TRUE(QFile::link(rig.scratch.file(QStringLiteral("gone.bmp")), rig.bitmap())); }},
        {"a pipe", [&] { ASSERT_EQ(::mkfifo(bitmap.constData(), 0600), 0); }},
    };
    ASSERT_TRUE(rig.browser.selectFile(QStringLiteral("hopper.bmp")).ok());
    for (const Case &c : cases) {
        QFile::remove(rig.bitmap());
        c.make();
        EXPECT_EQ(rig.command.run(), Result::Set) << c.what;
        EXPECT_TRUE(rig.messages().isEmpty()) << c.what << ": " << qPrintable(rig.messages().value(0).second);
        struct stat st {};
        ASSERT_EQ(::lstat(bitmap.constData(), &st), 0) << c.what;
        EXPECT_TRUE(S_ISREG(st.st_mode)) << c.what;
        EXPECT_EQ(QImage(rig.bitmap()).size(), QSize(128, 128)) << c.what;
        EXPECT_EQ(fileBytes(notes), QByteArray("my notes\n")) << c.what;
        EXPECT_FALSE(QFileInfo::exists(rig.scratch.file(QStringLiteral("gone.bmp")))) << c.what;
    }
    EXPECT_EQ(QDir(rig.dataFolder()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
              QStringList{QStringLiteral("Wallpaper.bmp")})
        << "no temporary file is left";

    // A folder of that name is not replaced, and the system says why.
    QFile::remove(rig.bitmap());
    ASSERT_TRUE(QDir().mkpath(rig.bitmap() + QStringLiteral("/kept")));
    EXPECT_EQ(rig.command.run(), Result::NotWritten);
    ASSERT_EQ(rig.messages().size(), 1);
    EXPECT_TRUE(
        rig.messages()[0].second.endsWith(QStringLiteral("\"Wallpaper.bmp\" cannot be written: Is a directory")))
        << qPrintable(rig.messages()[0].second);
    EXPECT_TRUE(QFileInfo(rig.bitmap() + QStringLiteral("/kept")).isDir());
}

TEST(WallpaperCommand, AFullDiskIsReportedWithTheSystemsReason)
{
    struct Case {
        const char *what;
        bool smallFileSystem; // a 64 KB file system over the data folder, or a file size limit
        const char *reason;
    };
    // A file size limit, which any user may set, and a small file system that fills up,
    // which only the superuser can mount for the test.
    for (const Case c : {Case{"a file size limit", false, "File too large"},
                         Case{"a full file system", true, "No space left on device"}}) {
        SCOPED_TRACE(c.what);
        CommandRig rig;
        ASSERT_TRUE(QDir().mkpath(rig.dataFolder()));
        const QByteArray folder = QFile::encodeName(rig.dataFolder());
        ASSERT_TRUE(rig.browser.selectFile(QStringLiteral("cat.jpg")).ok());
        ASSERT_GT(qint64(rig.browser.picture().sizeInBytes()), 64 * 1024) << "the bitmap is larger than the room";

        Result result = Result::Set;
        if (!c.smallFileSystem) {
            rlimit before{};
            ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &before), 0);
            const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
            rlimit small = before;
            small.rlim_cur = 16 * 1024;
            ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
            result = rig.command.run();
            ::setrlimit(RLIMIT_FSIZE, &before);
            std::signal(SIGXFSZ, oldHandler);
        } else {
            if (::mount("tmpfs", folder.constData(), "tmpfs", MS_NOSUID | MS_NODEV, "size=64k,mode=0700") != 0) {
                std::printf("[ skipped  ] %s: no tmpfs can be mounted (%s)\n", c.what, std::strerror(errno));
                continue;
            }
            result = rig.command.run();
            EXPECT_EQ(QDir(rig.dataFolder()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                      QStringList())
                << "nothing half-written is left";
            EXPECT_EQ(::umount2(folder.constData(), MNT_DETACH), 0);
        }
        EXPECT_EQ(result, Result::NotWritten);
        ASSERT_EQ(rig.messages().size(), 1);
        EXPECT_TRUE(rig.messages()[0].second.endsWith(QStringLiteral("\"Wallpaper.bmp\" cannot be written: ")
                                                      + QLatin1String(c.reason)))
            << qPrintable(rig.messages()[0].second);
        EXPECT_TRUE(rig.helpers.calls().isEmpty());
    }
}
