#include "platform/shellinfo.h"

#include "platform/pictureservice.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>

#include <gtest/gtest.h>

using pavix::catalogue::fallbackIcon;
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
}

TEST(QtShellInfo, DamagedIconFilesFallBackWithoutCrashing)
{
    // The 32 and 48 px entries are cut off: the 16 px entry is scaled up instead.
    const QImage truncated =
        QtShellInfo::iconFilePicture(corpus(QStringLiteral("bad/truncated-multisize.ico")), 32);
    EXPECT_EQ(truncated.size(), QSize(32, 32));

    for (const char *name : {"empty.ico", "no-images-cursor.ico", "giflib-text-format.ico",
                             "crash-981fee302fe0fc543ee48292cc3d6ace7e97e633.ico"})
        EXPECT_TRUE(QtShellInfo::iconFilePicture(corpus(QStringLiteral("bad/") + QString::fromUtf8(name)), 32)
                        .isNull())
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
    const bool adwaita = QFileInfo::exists(QStringLiteral("/usr/share/icons/Adwaita/32x32/mimetypes/image-x-generic.png"));
    if (!adwaita)
        GTEST_SKIP() << "no Adwaita icon theme installed";
    QtShellInfo shell;
    EXPECT_NE(shell.icon(QStringLiteral("/x/a.bmp"), 2), fallbackIcon(32));
    EXPECT_NE(shell.icon(QStringLiteral("/x/a.bmp"), 1), fallbackIcon(16));
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
