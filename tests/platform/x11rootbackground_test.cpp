#include "platform/x11rootbackground.h"

#include "platform/pictureservice.h"
#include "support/corpus.h"
#include "support/printers.h"
#include "support/xvfbserver.h"
#include "support/xview.h"

#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>


using namespace pavix::platform;
using pavix::testsupport::corpusPath;
using pavix::testsupport::XvfbServer;
using pavix::testsupport::XView;

namespace {

QImage corpusPicture(const char *name)
{
    const auto picture = loadPicture(corpusPath(QLatin1String(name)));
    EXPECT_TRUE(picture.ok()) << name;
    return picture.ok() ? picture.value().convertToFormat(QImage::Format_RGB32) : QImage();
}

// A picture of `size` with different neighbouring pixels all over.
QImage gradient(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            line[x] = qRgb(x & 0xff, y & 0xff, (x * 7 + y * 3) & 0xff);
    }
    return image;
}

// `picture` as a 16-bit 5-6-5 screen shows it.
QImage in565(const QImage &picture)
{
    QImage result = picture.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < result.height(); ++y)
        for (int x = 0; x < result.width(); ++x) {
            const QRgb c = result.pixel(x, y);
            result.setPixel(x, y, qRgb(qRed(c) & 0xf8, qGreen(c) & 0xfc, qBlue(c) & 0xf8));
        }
    return result;
}

} // namespace

TEST(RootBackground, RootWindowTilesThePictureItsPropertiesName)
{
    XvfbServer server(QStringLiteral("320x200x24"));
    if (server.display().isEmpty())
        GTEST_SKIP() << qPrintable(server.failure());
    // 125 pixels wide: rows of the pixmap are padded, the tiles do not meet at even places.
    const QImage picture = corpusPicture("good/pal8w125.bmp");
    ASSERT_EQ(picture.size(), QSize(125, 62));
    const auto set = setRootBackground(picture, server.display());
    ASSERT_TRUE(set.ok()) << qPrintable(set.error().message);

    XView view(server.display());
    ASSERT_TRUE(view.ok());
    const auto pixmap = view.rootPixmap("_XROOTPMAP_ID");
    ASSERT_TRUE(pixmap.has_value());
    EXPECT_EQ(view.rootPixmap("ESETROOT_PMAP_ID"), pixmap);
    const auto geometry = view.geometry(*pixmap);
    ASSERT_TRUE(geometry.has_value()) << "the pixmap went with the setter's connection";
    EXPECT_EQ(geometry->first, picture.size());
    EXPECT_EQ(geometry->second, 24);
    EXPECT_EQ(view.pixels(*pixmap, picture.rect()), picture);

    // The screen, as a screenshot program sees it: copies of the picture edge to edge.
    QTemporaryDir scratch;
    const QString shot = scratch.filePath(QStringLiteral("root.png"));
    if (QProcess::execute(QStringLiteral("import"), {QStringLiteral("-display"), server.display(),
                                                     QStringLiteral("-window"), QStringLiteral("root"), shot})
        == 0) {
        const QImage screen = QImage(shot).convertToFormat(QImage::Format_RGB32);
        ASSERT_EQ(screen.size(), QSize(320, 200));
        int differing = 0;
        for (int y = 0; y < screen.height(); ++y)
            for (int x = 0; x < screen.width(); ++x)
                differing += screen.pixel(x, y) != picture.pixel(x % 125, y % 62);
        EXPECT_EQ(differing, 0);
    } else {
        ADD_FAILURE() << "ImageMagick's import could not take the screen";
    }

    // More rows than one request carries.
    const QImage large = gradient(QSize(2401, 2200));
    ASSERT_TRUE(setRootBackground(large, server.display()).ok());
    const auto largePixmap = view.rootPixmap("_XROOTPMAP_ID");
    ASSERT_TRUE(largePixmap.has_value());
    for (const QRect area : {QRect(0, 0, 64, 8), QRect(2301, 2190, 100, 10), QRect(1000, 1100, 50, 50)})
        EXPECT_EQ(view.pixels(*largePixmap, area), large.copy(area)) << area.x() << "," << area.y();
}

TEST(RootBackground, EachNewBackgroundFreesTheOneBefore)
{
    XvfbServer server(QStringLiteral("160x120x24"));
    if (server.display().isEmpty())
        GTEST_SKIP() << qPrintable(server.failure());
    XView view(server.display());
    ASSERT_TRUE(view.ok());
    ASSERT_TRUE(setRootBackground(corpusPicture("good/hopper.bmp"), server.display()).ok());
    const auto first = view.rootPixmap("_XROOTPMAP_ID");
    ASSERT_TRUE(first.has_value());
    const QImage second = corpusPicture("good/jpg-size-17x17.jpg");
    ASSERT_TRUE(setRootBackground(second, server.display()).ok());
    const auto now = view.rootPixmap("_XROOTPMAP_ID");
    ASSERT_TRUE(now.has_value());
    EXPECT_NE(now, first);
    EXPECT_FALSE(view.geometry(*first).has_value()) << "the first background's pixmap is kept for ever";
    EXPECT_EQ(view.pixels(*now, second.rect()), second);
    EXPECT_EQ(view.pixels(view.root(), QRect(17, 34, 17, 17)), second);
}

TEST(RootBackground, LargePicturesGoOverInBandsAndShallowScreensGetTheirOwnPixels)
{
    XvfbServer server(QStringLiteral("200x150x16"));
    if (server.display().isEmpty())
        GTEST_SKIP() << qPrintable(server.failure());
    // 21 MB of pixels: more than one request may carry. An odd width pads each 16-bit row.
    const QImage large = gradient(QSize(2401, 2200));
    const auto set = setRootBackground(large, server.display());
    ASSERT_TRUE(set.ok()) << qPrintable(set.error().message);
    XView view(server.display());
    const auto pixmap = view.rootPixmap("_XROOTPMAP_ID");
    ASSERT_TRUE(pixmap.has_value());
    EXPECT_EQ(view.geometry(*pixmap), std::make_pair(large.size(), 16));
    for (const QRect area : {QRect(0, 0, 64, 8), QRect(2301, 2190, 100, 10), QRect(1000, 1100, 50, 50)})
        EXPECT_EQ(view.pixels(*pixmap, area), in565(large.copy(area))) << area.x() << "," << area.y();

    // Transparent parts show white, as in the bitmap file.
    QImage glass(4, 1, QImage::Format_ARGB32);
    glass.fill(Qt::transparent);
    glass.setPixel(1, 0, qRgba(0, 0, 255, 255));
    ASSERT_TRUE(setRootBackground(glass, server.display()).ok());
    const QImage shown = view.pixels(*view.rootPixmap("_XROOTPMAP_ID"), QRect(0, 0, 4, 1));
    EXPECT_EQ(shown.pixel(0, 0), qRgb(0xf8, 0xfc, 0xf8));
    EXPECT_EQ(shown.pixel(1, 0), qRgb(0, 0, 0xf8));
}

TEST(RootBackground, RefusalsSayWhy)
{
    const auto unreachable = setRootBackground(corpusPicture("good/hopper.bmp"), QStringLiteral(":9999"));
    ASSERT_FALSE(unreachable.ok());
    EXPECT_EQ(unreachable.error().message, QStringLiteral("The X display \":9999\" cannot be reached."));
    EXPECT_FALSE(setRootBackground(QImage(), QStringLiteral(":9999")).ok());
    const auto tooWide = setRootBackground(QImage(LargestPixmapSide + 1, 1, QImage::Format_RGB32),
                                           QStringLiteral(":0"));
    ASSERT_FALSE(tooWide.ok());
    EXPECT_TRUE(tooWide.error().message.contains(QStringLiteral("32768 x 1 pixels")))
        << qPrintable(tooWide.error().message);
}
