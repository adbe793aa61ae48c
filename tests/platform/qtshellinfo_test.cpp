#include "platform/qtshellinfo.h"

#include "common/filename.h"
#include "platform/pictureservice.h"
#include "platform/timedcall.h"

#include "support/stalledstatus.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIcon>
#include <QImageReader>
#include <QImageWriter>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>

#include <cstdio>

#include <sys/stat.h>
#include <unistd.h>

using pavix::platform::fallbackIcon;
using pavix::platform::QtShellInfo;

namespace {

QString corpus(const QString &relative)
{
    return QStringLiteral(PAVIX_CORPUS_DIR) + u'/' + relative;
}

QImage argb(const QImage &image)
{
    return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

} // namespace

TEST(QtShellInfo, EveryCorpusFileGetsBothIconSizes)
{
    QtShellInfo shell;
    for (const char *folder : {"good", "bad", "names"}) {
        const QDir dir(corpus(QString::fromUtf8(folder)));
        const QStringList names = dir.entryList(QDir::Files | QDir::Hidden);
        ASSERT_FALSE(names.isEmpty()) << folder;
        for (const QString &name : names) {
            const QString path = dir.filePath(name);
            const QImage large = shell.icon(path, 2);
            const QImage small = shell.icon(path, 1);
            EXPECT_EQ(large.size(), QSize(32, 32)) << qPrintable(path);
            EXPECT_EQ(small.size(), QSize(16, 16)) << qPrintable(path);
            EXPECT_EQ(shell.icon(path, 0).size(), QSize(16, 16)) << qPrintable(path);
        }
    }
}

TEST(QtShellInfo, AnIconFileShowsItsOwnPictureInTheNearestEntry)
{
    QtShellInfo shell;
    // smile.ico holds a 32 px entry first and a 16 px entry second.
    const QString smile = corpus(QStringLiteral("good/smile.ico"));
    QImageReader reader(smile);
    const QImage first = reader.read();
    ASSERT_TRUE(reader.jumpToImage(1));
    const QImage second = reader.read();
    ASSERT_EQ(first.size(), QSize(32, 32));
    ASSERT_EQ(second.size(), QSize(16, 16));
    EXPECT_EQ(argb(shell.icon(smile, 2)), argb(first));
    EXPECT_EQ(argb(shell.icon(smile, 1)), argb(second));

    // Two icon files give two different pictures, unlike two files of another type.
    const QString hopper = corpus(QStringLiteral("good/hopper.ico"));
    EXPECT_NE(argb(shell.icon(hopper, 2)), argb(shell.icon(smile, 2)));
    EXPECT_EQ(shell.icon(corpus(QStringLiteral("good/pal1.bmp")), 2),
              shell.icon(corpus(QStringLiteral("good/rgb24.bmp")), 2));

    // An icon file whose name is not UTF-8 is read by its name's bytes.
    QTemporaryDir folder;
    const QByteArray latin = QFile::encodeName(folder.path()) + "/caf\xe9.ico";
    ASSERT_TRUE(QFile::copy(smile, folder.filePath(QStringLiteral("smile.ico"))));
    ASSERT_EQ(::rename(QFile::encodeName(folder.filePath(QStringLiteral("smile.ico"))).constData(), latin.constData()),
              0);
    EXPECT_EQ(argb(shell.icon(pavix::common::decodeFileName(latin), 2)), argb(first));
    ::unlink(latin.constData());
}

TEST(QtShellInfo, DamagedIconFilesFallBackWithoutCrashing)
{
    // The 32 and 48 px entries are cut off: the 16 px entry is scaled up instead.
    const QImage truncated = QtShellInfo::iconFilePicture(corpus(QStringLiteral("bad/truncated-multisize.ico")), 32);
    EXPECT_EQ(truncated.size(), QSize(32, 32));

    for (const char *name : {"empty.ico", "no-images-cursor.ico", "giflib-text-format.ico",
                             "crash-981fee302fe0fc543ee48292cc3d6ace7e97e633.ico"})
        EXPECT_TRUE(QtShellInfo::iconFilePicture(corpus(QStringLiteral("bad/") + QString::fromUtf8(name)), 32).isNull())
            << name;

    // Anything else an icon file holds is still a picture, fitted to the square.
    const QImage jpeg = QtShellInfo::iconFilePicture(corpus(QStringLiteral("bad/jpeg-data.ico")), 32);
    EXPECT_EQ(jpeg.size(), QSize(32, 32));
}

TEST(QtShellInfo, TypeNamesComeFromTheExtension)
{
    QtShellInfo shell;
    const QString jpg = shell.typeName(QStringLiteral("/x/a.jpg"));
    EXPECT_FALSE(jpg.isEmpty());
    EXPECT_EQ(shell.typeName(QStringLiteral("/x/B.JPG")), jpg);
    EXPECT_EQ(shell.typeName(QStringLiteral("/x/b.jpeg")), jpg);
    EXPECT_NE(shell.typeName(QStringLiteral("/x/a.bmp")), jpg);
    EXPECT_FALSE(shell.typeName(QStringLiteral("/x/a.gif")).isEmpty());
    EXPECT_FALSE(shell.typeName(QStringLiteral("/x/a.ico")).isEmpty());
    // Content does not count: GIF data named .bmp is a bitmap by its name.
    EXPECT_EQ(shell.typeName(corpus(QStringLiteral("bad/gif-data.bmp"))), shell.typeName(QStringLiteral("a.bmp")));
}

TEST(QtShellInfo, PicturesUseAnInstalledThemeBeforeTheDrawnIcon)
{
    const QString adwaita = QStringLiteral("/usr/share/icons/Adwaita/%1x%1/mimetypes/image-x-generic.png");
    if (!QFileInfo::exists(adwaita.arg(32)))
        GTEST_SKIP() << "no Adwaita icon theme installed";
    QtShellInfo shell;
    // Found through QIcon::fromTheme even under the offscreen platform, which names no theme.
    EXPECT_EQ(argb(shell.icon(QStringLiteral("/x/a.bmp"), 2)), argb(QImage(adwaita.arg(32))));
    EXPECT_EQ(argb(shell.icon(QStringLiteral("/x/a.bmp"), 1)), argb(QImage(adwaita.arg(16))));
    EXPECT_NE(shell.icon(QStringLiteral("/x/a.bmp"), 2), fallbackIcon(32));
    EXPECT_NE(shell.icon(QStringLiteral("/x/a.bmp"), 1), fallbackIcon(16));
}

TEST(QtShellInfo, IconThemesAreSearchedInTheXdgIconFolders)
{
    const QStringList before = QIcon::themeSearchPaths();
    QtShellInfo shell;
    const QStringList paths = QIcon::themeSearchPaths();
    // The paths Qt had stay first; the XDG folders follow, each once.
    EXPECT_EQ(paths.mid(0, before.size()), before);
    QStringList xdg{QDir::homePath() + QStringLiteral("/.icons")};
    for (const QString &data : QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation))
        xdg.append(data + QStringLiteral("/icons"));
    for (const QString &root : xdg)
        EXPECT_EQ(paths.count(root), 1) << qPrintable(root) << " in " << qPrintable(paths.join(u' '));

    const bool adwaita = std::any_of(paths.cbegin(), paths.cend(), [](const QString &root) {
        return QFileInfo::exists(root + QStringLiteral("/Adwaita/index.theme"));
    });
    EXPECT_EQ(QIcon::fallbackThemeName(), adwaita ? QStringLiteral("Adwaita") : QStringLiteral("hicolor"));
    EXPECT_FALSE(QIcon::themeName().isEmpty());

    QtShellInfo::useDesktopIconThemes();
    EXPECT_EQ(QIcon::themeSearchPaths(), paths);
}

namespace {

void writeThemeIcon(const QString &theme, int sizePx, const QString &name, QColor colour)
{
    const QString folder = QStringLiteral("%1/%2x%2/mimetypes").arg(theme).arg(sizePx);
    ASSERT_TRUE(QDir().mkpath(folder));
    QImage image(sizePx, sizePx, QImage::Format_ARGB32);
    image.fill(colour);
    ASSERT_TRUE(image.save(folder + u'/' + name + QStringLiteral(".png")));
}

} // namespace

TEST(QtShellInfo, TheUsersOwnIconThemeGivesTheTypeIcon)
{
    if (!qEnvironmentVariableIsEmpty("PAVIX_TEST_KEEP_HOME"))
        GTEST_SKIP() << "would write into the real home folder";
    // A theme installed in ~/.icons, as a user installs one: its type icon for BMP and its
    // generic picture icon, which JPEG files get since the theme has no icon of their own.
    const QString theme = QDir::homePath() + QStringLiteral("/.icons/PavixTestTheme");
    const QString previousTheme = QIcon::themeName();
    const auto restore = qScopeGuard([&] {
        QIcon::setThemeName(previousTheme);
        QDir(theme).removeRecursively();
    });
    ASSERT_TRUE(QDir().mkpath(theme));
    QFile index(theme + QStringLiteral("/index.theme"));
    ASSERT_TRUE(index.open(QIODevice::WriteOnly));
    index.write("[Icon Theme]\nName=PavixTestTheme\nDirectories=16x16/mimetypes,32x32/mimetypes\n\n"
                "[16x16/mimetypes]\nSize=16\nType=Fixed\n\n[32x32/mimetypes]\nSize=32\nType=Fixed\n");
    index.close();
    for (int sizePx : {16, 32}) {
        writeThemeIcon(theme, sizePx, QStringLiteral("image-bmp"), Qt::red);
        writeThemeIcon(theme, sizePx, QStringLiteral("image-x-generic"), Qt::green);
    }

    QtShellInfo shell;
    QIcon::setThemeName(QStringLiteral("PavixTestTheme"));
    for (int selector : {2, 1}) {
        const QImage bmp = shell.icon(QStringLiteral("/x/a.bmp"), selector);
        const QImage jpg = shell.icon(QStringLiteral("/x/a.jpg"), selector);
        const int sizePx = selector == 2 ? 32 : 16;
        ASSERT_EQ(bmp.size(), QSize(sizePx, sizePx));
        ASSERT_EQ(jpg.size(), QSize(sizePx, sizePx));
        EXPECT_EQ(bmp.pixelColor(sizePx / 2, sizePx / 2), QColor(Qt::red));
        EXPECT_EQ(jpg.pixelColor(sizePx / 2, sizePx / 2), QColor(Qt::green));
    }
}

TEST(QtShellInfo, TheDrawnIconWhenNoThemeHasOne)
{
    QtShellInfo shell;
    const QString previousTheme = QIcon::themeName();
    const QString previousFallback = QIcon::fallbackThemeName();
    const auto restore = qScopeGuard([&] {
        QIcon::setThemeName(previousTheme);
        QIcon::setFallbackThemeName(previousFallback);
    });
    QIcon::setThemeName(QStringLiteral("PavixNoSuchTheme"));
    QIcon::setFallbackThemeName(QStringLiteral("PavixNoSuchTheme"));
    EXPECT_EQ(shell.icon(QStringLiteral("/x/a.bmp"), 2), fallbackIcon(32));
    EXPECT_EQ(shell.icon(QStringLiteral("/x/a.###"), 1), fallbackIcon(16));
    // An icon file still shows its own picture.
    EXPECT_NE(shell.icon(corpus(QStringLiteral("good/smile.ico")), 2), fallbackIcon(32));
}

TEST(QtShellInfo, ReadingIconsLeavesTheProgramWideDecodeLimitAlone)
{
    // Qt's allocation limit is one setting for the whole program: an icon read that lowered
    // it once made every large photo unreadable for the rest of the run.
    pavix::platform::configurePictureLimits();
    QtShellInfo shell;
    for (const char *name : {"good/smile.ico", "good/hopper_256x256.ico", "good/python.ico"})
        EXPECT_EQ(shell.icon(corpus(QString::fromUtf8(name)), 2).size(), QSize(32, 32)) << name;
    EXPECT_EQ(QImageReader::allocationLimit(), pavix::platform::PictureAllocationLimitMb);

    const auto photo = pavix::platform::loadPicture(corpus(QStringLiteral("good/large_4032x3024.jpg")));
    ASSERT_TRUE(photo.ok()) << qPrintable(photo.error().message);
    EXPECT_EQ(photo->size(), QSize(4032, 3024));
}

TEST(QtShellInfo, IconFilesThatCouldBlockOrNeverEndAreLeftToTheirTypeIcon)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    // A pipe named like an icon blocks whoever opens it until a writer comes; a pseudo file
    // of the system reports no length; a damaged picture whose frames never run out when
    // walked by "can read another" (here under an icon's name) is walked by its count.
    const QString pipe = folder.filePath(QStringLiteral("pipe.ico"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    const QString pseudo = folder.filePath(QStringLiteral("status.ico"));
    ASSERT_TRUE(QFile::link(QStringLiteral("/proc/self/status"), pseudo));
    const QString frames = folder.filePath(QStringLiteral("frames.ico"));
    ASSERT_TRUE(QFile::copy(corpus(QStringLiteral("bad/tiff-data.gif")), frames));

    // An icon whose only entry is a PNG with a text chunk claiming 2 GB: the PNG reader
    // would set that much aside before finding the file short.
    QByteArray png;
    {
        QBuffer buffer(&png);
        ASSERT_TRUE(buffer.open(QIODevice::WriteOnly));
        QImage small(16, 16, QImage::Format_RGB32);
        small.fill(Qt::darkGreen);
        ASSERT_TRUE(QImageWriter(&buffer, "png").write(small));
    }
    png.insert(8 + 25, QByteArray("\x7f\xff\xff\xf0tEXtComment", 15));
    QByteArray claimBytes = QByteArray::fromHex("000001000100"
                                                "10100000"
                                                "01002000");
    for (const qint64 value : {qint64(png.size()), qint64(6 + 16)}) {
        for (int shift = 0; shift < 32; shift += 8)
            claimBytes.append(char((value >> shift) & 0xff));
    }
    const QString claim = folder.filePath(QStringLiteral("claim.ico"));
    QFile claimFile(claim);
    ASSERT_TRUE(claimFile.open(QIODevice::WriteOnly));
    claimFile.write(claimBytes + png);
    claimFile.close();

    EXPECT_TRUE(QtShellInfo::iconFilePicture(claim, 32).isNull());
    EXPECT_TRUE(QtShellInfo::iconFilePicture(pipe, 32).isNull());
    EXPECT_TRUE(QtShellInfo::iconFilePicture(pseudo, 32).isNull());
    const QImage picture = QtShellInfo::iconFilePicture(frames, 32);
    EXPECT_TRUE(picture.isNull() || picture.size() == QSize(32, 32));
    QtShellInfo shell;
    for (const QString &path : {pipe, pseudo, frames})
        EXPECT_FALSE(shell.icon(path, 0).isNull()) << qPrintable(path);
}

TEST(QtShellInfo, AnIconFileWhoseStatusStallsCostsItsPictureNotTheCaller)
{
    using namespace std::chrono_literals;
    ASSERT_TRUE(QTest::qWaitFor([] { return pavix::platform::threadsLeftBehind() == 0; }, 5000));
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString icon = folder.filePath(QStringLiteral("stalled.ico"));
    ASSERT_TRUE(QFile::copy(corpus(QStringLiteral("good/smile.ico")), icon));
    {
        // As on a stalled network mount: asking for its status never answers. Before the
        // fix this thread waited here (60 s, then the picture was read).
        const pavix::testsupport::StalledStatus stall("stalled.ico");
        EXPECT_TRUE(QtShellInfo::iconFilePicture(icon, 32, 20ms).isNull());
        EXPECT_EQ(pavix::platform::threadsLeftBehind(), 1);
    }
    EXPECT_TRUE(QTest::qWaitFor([] { return pavix::platform::threadsLeftBehind() == 0; }, 5000));
    EXPECT_EQ(QtShellInfo::iconFilePicture(icon, 32).size(), QSize(32, 32));
}
