// The PNG, WebP and TIFF files of tests/data/pictures, made by others: each loads at its size,
// first frame or first page only, or is refused with its name and a reason, in the preview
// and in the grid alike.
#include "platform/pictureservice.h"

#include <QImageReader>
#include <QPainter>

#include <cstdlib>
#include <vector>

#include <gtest/gtest.h>

using namespace pavix;

namespace {

QString testPicture(const char *name)
{
    return QStringLiteral(PAVIX_TEST_PICTURES_DIR "/") + QLatin1String(name);
}

} // namespace

TEST(LaterTypes, EachFileLoadsAtItsFirstPicturesSizeOrIsRefusedWithItsName)
{
    platform::configurePictureLimits();
    const QSize refused;
    const struct {
        const char *name;
        QSize size; // invalid: refused
        const char *reason = "";
    } cases[] = {
        {"hopper.png", {128, 128}},
        {"basn6a16.png", {32, 32}},
        {"hopper.webp", {128, 128}},
        {"lossy_alpha.webp", {100, 100}},
        {"anim.webp", {200, 200}},
        {"hopper_lzw.tif", {128, 128}},
        {"multipage.tiff", {10, 10}}, // the first of 10x10, 10x10 and 20x20
        {"tiff_tiled_ycbcr_jpeg_2x2_sampling.tif", {480, 360}},
        {"ihdr-8961x26369-288B.png", refused},
        {"truncated-hopper.png", refused},
        {"vp8-12336x12336-537B.webp", refused}, // its frame header cannot be read: no size, nothing decoded
        {"truncated-animation.webp", refused},
        {"libtiff_segfault.tif", refused, "strip or tile"},
        {"seek_too_large.tif", refused},
        {"truncated-tiled-jpeg.tif", refused},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = testPicture(c.name);
        const common::Result<QImage> picture = platform::loadPicture(path);
        const common::Result<QImage> cell = platform::loadThumbnail(path, QSize(48, 36));
        ASSERT_EQ(picture.ok(), c.size.isValid()) << qPrintable(picture.ok() ? QString() : picture.error().message);
        EXPECT_EQ(cell.ok(), picture.ok());
        if (picture.ok()) {
            EXPECT_EQ(picture->size(), c.size);
            continue;
        }
        EXPECT_EQ(picture.error().number, common::ErrBadPicture);
        EXPECT_TRUE(
            picture.error().message.startsWith(QStringLiteral("\"%1\" cannot be read").arg(QLatin1String(c.name))))
            << qPrintable(picture.error().message);
        EXPECT_TRUE(picture.error().message.contains(QLatin1String(c.reason))) << qPrintable(picture.error().message);
    }

    // An animation shows its first frame.
    QImageReader reader(testPicture("anim.webp"));
    ASSERT_GT(reader.imageCount(), 1);
    const QImage firstFrame = reader.read();
    EXPECT_EQ(platform::loadPicture(testPicture("anim.webp"))->convertToFormat(firstFrame.format()), firstFrame);
}

TEST(LaterTypes, AStillWebpCellIsDecodedStraightToItsSize)
{
    platform::configurePictureLimits();
    const QSize cellPx(48, 36);
    for (const char *name : {"hopper.webp", "lossy_alpha.webp", "anim.webp"}) {
        SCOPED_TRACE(name);
        const QString path = testPicture(name);
        // A full-size decode passes the gate with its memory; a shrunk one does not.
        std::vector<qint64> gateCalls;
        platform::DecodeGate gate{[&](qint64 bytes) { gateCalls.push_back(bytes); },
                                  [&](qint64 bytes) { gateCalls.push_back(-bytes); }};
        platform::DecodeScratch scratch;
        const common::Result<QImage> cell = platform::loadThumbnail(path, cellPx, scratch, &gate);
        ASSERT_TRUE(cell.ok());
        ASSERT_EQ(cell->size(), cellPx);
        const bool animation = QLatin1String(name) == QLatin1String("anim.webp");
        EXPECT_EQ(gateCalls.empty(), !animation) << "an animation's first frame is decoded whole";

        // The same picture as the whole one shrunk, within what two scalers differ by.
        const QImage whole = platform::loadPicture(path)->scaled(cellPx, Qt::IgnoreAspectRatio,
                                                                 Qt::SmoothTransformation);
        const QImage got = cell->convertToFormat(QImage::Format_RGB32);
        QImage reference(cellPx, QImage::Format_RGB32);
        reference.fill(platform::CellCanvasColour);
        QPainter(&reference).drawImage(0, 0, whole);
        double difference = 0;
        for (int y = 0; y < cellPx.height(); ++y)
            for (int x = 0; x < cellPx.width(); ++x) {
                const QRgb a = got.pixel(x, y);
                const QRgb b = reference.pixel(x, y);
                difference += std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b))
                              + std::abs(qBlue(a) - qBlue(b));
            }
        EXPECT_LT(difference / (3.0 * cellPx.width() * cellPx.height()), 6.0);
    }
}
