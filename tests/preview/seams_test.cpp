#include "preview/seams.h"
#include "support/printers.h"

#include <QImage>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <random>

using namespace pavix::preview;

namespace {

// A grey picture whose pixel (x, y) has the value `value(x, y)`.
template <typename Value>
QImage greys(int width, int height, Value value)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const int v = value(x, y);
            image.setPixel(x, y, qRgb(v, v, v));
        }
    return image;
}

QImage noise(int width, int height, unsigned seed)
{
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> byte(0, 255);
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(byte(random), byte(random), byte(random)));
    return image;
}

// The ratio worked out pixel by pixel, the slow way.
double countedRatio(const QImage &image)
{
    auto difference = [&](int x1, int y1, int x2, int y2) {
        const QRgb a = image.pixel(x1, y1);
        const QRgb b = image.pixel(x2, y2);
        return (std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) + std::abs(qBlue(a) - qBlue(b))) / 3.0;
    };
    const int w = image.width();
    const int h = image.height();
    double inner = 0, wrap = 0;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x + 1 < w; ++x)
            inner += difference(x, y, x + 1, y);
        wrap += difference(w - 1, y, 0, y);
    }
    const double columns = w > 1 ? std::max(1.0, wrap / h) / std::max(1.0, inner / (h * (w - 1))) : 1.0;
    inner = wrap = 0;
    for (int x = 0; x < w; ++x) {
        for (int y = 0; y + 1 < h; ++y)
            inner += difference(x, y, x, y + 1);
        wrap += difference(x, h - 1, x, 0);
    }
    const double rows = h > 1 ? std::max(1.0, wrap / w) / std::max(1.0, inner / (w * (h - 1))) : 1.0;
    return std::max(columns, rows);
}

} // namespace

TEST(Seams, FlatAndGentlePicturesAreSeamless)
{
    const QImage flat = greys(40, 30, [](int, int) { return 77; });
    EXPECT_DOUBLE_EQ(seamRatio(flat, Qt::white), 1.0);
    EXPECT_EQ(seamText(seamRatio(flat, Qt::white)), QStringLiteral("Tiles: seamless (1.0)"));
    // Noise repeats as noise: the copies meet like any two neighbours.
    const double noisy = seamRatio(noise(64, 64, 7), Qt::white);
    EXPECT_GT(noisy, 0.8);
    EXPECT_LT(noisy, 1.2);
    EXPECT_EQ(seamGrade(noisy), SeamGrade::Seamless);
    EXPECT_DOUBLE_EQ(seamRatio(QImage(), Qt::white), 1.0);
}

TEST(Seams, AGradientJumpsBackWhereTheCopiesMeet)
{
    // Across: 0 to 255 one step a column; the wrap edge jumps 255 against steps of 1.
    const QImage across = greys(256, 9, [](int x, int) { return x; });
    EXPECT_DOUBLE_EQ(seamRatio(across, Qt::white), 255.0);
    EXPECT_EQ(seamText(seamRatio(across, Qt::white)), QStringLiteral("Tiles: visible seams (255.0)"));
    // The same gradient downwards gives the same seam across the other edge.
    EXPECT_DOUBLE_EQ(seamRatio(greys(9, 256, [](int, int y) { return y; }), Qt::white), 255.0);
    // Short gradients: a jump of 2 or 3 steps is faint, 4 is visible.
    EXPECT_EQ(seamText(seamRatio(greys(3, 4, [](int x, int) { return 10 * x; }), Qt::white)),
              QStringLiteral("Tiles: faint seams (2.0)"));
    EXPECT_EQ(seamText(seamRatio(greys(4, 4, [](int x, int) { return x; }), Qt::white)),
              QStringLiteral("Tiles: faint seams (3.0)"));
    EXPECT_EQ(seamText(seamRatio(greys(5, 4, [](int x, int) { return x; }), Qt::white)),
              QStringLiteral("Tiles: visible seams (4.0)"));
    // Means below 1 count as 1: a single step of 1 at the edge is no seam.
    EXPECT_DOUBLE_EQ(seamRatio(greys(4, 2, [](int x, int y) { return x == 3 && y == 0 ? 1 : 0; }), Qt::white), 1.0);
}

TEST(Seams, GradesFollowTheRatioAsShown)
{
    // Row 0 jumps 2 across the edge, row 1 jumps 1: a mean of 1.5 against inner steps of
    // at most 1.
    const QImage edge = greys(3, 2, [](int x, int y) { return y == 0 ? x : std::min(x, 1); });
    EXPECT_DOUBLE_EQ(seamRatio(edge, Qt::white), 1.5);
    EXPECT_EQ(seamText(1.5), QStringLiteral("Tiles: seamless (1.5)"));
    EXPECT_EQ(seamGrade(1.54), SeamGrade::Seamless); // shown as 1.5
    EXPECT_EQ(seamText(1.56), QStringLiteral("Tiles: faint seams (1.6)"));
    EXPECT_EQ(seamGrade(3.04), SeamGrade::Faint);
    EXPECT_EQ(seamText(3.06), QStringLiteral("Tiles: visible seams (3.1)"));
    EXPECT_EQ(seamText(7.2), QStringLiteral("Tiles: visible seams (7.2)"));
}

TEST(Seams, APictureOnePixelWideHasNoSeamAcross)
{
    EXPECT_DOUBLE_EQ(seamRatio(greys(1, 1, [](int, int) { return 200; }), Qt::white), 1.0);
    EXPECT_DOUBLE_EQ(seamRatio(greys(1, 50, [](int, int) { return 3; }), Qt::white), 1.0);
    // Downwards it still tiles like any picture.
    EXPECT_DOUBLE_EQ(seamRatio(greys(1, 20, [](int, int y) { return y; }), Qt::white), 19.0);
    EXPECT_DOUBLE_EQ(seamRatio(greys(20, 1, [](int x, int) { return 2 * x; }), Qt::white), 19.0);
    EXPECT_DOUBLE_EQ(seamRatio(noise(1, 30, 3), Qt::white), countedRatio(noise(1, 30, 3)));
}

TEST(Seams, TransparentPartsShowTheWindowBackground)
{
    // Two transparent columns, then opaque white.
    QImage picture(3, 4, QImage::Format_ARGB32);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 3; ++x)
            picture.setPixel(x, y, x == 2 ? qRgba(255, 255, 255, 255) : qRgba(0, 0, 0, 0));
    // Over white it is one flat colour; over black the edge jumps 255 against a mean
    // inner step of 127.5.
    EXPECT_DOUBLE_EQ(seamRatio(picture, Qt::white), 1.0);
    EXPECT_DOUBLE_EQ(seamRatio(picture, Qt::black), 2.0);
}

TEST(Seams, EveryPictureSizeAndFormatCountsEveryPixel)
{
    // Widths around the sixteen-byte steps, heights of a few rows.
    for (const QSize size : {QSize(2, 2), QSize(3, 5), QSize(4, 3), QSize(5, 7), QSize(17, 3), QSize(37, 23)}) {
        SCOPED_TRACE(testing::Message() << size.width() << "x" << size.height());
        QImage picture = noise(size.width(), size.height(), static_cast<unsigned>(size.width() * 31 + size.height()));
        // Make the edges differ more than the inside so the ratio is not clamped to 1.
        for (int y = 0; y < picture.height(); ++y)
            picture.setPixel(picture.width() - 1, y, qRgb(255, 255, 255));
        const double expected = countedRatio(picture);
        EXPECT_NEAR(seamRatio(picture, Qt::white), expected, 1e-9);
        EXPECT_NEAR(seamRatio(picture.convertToFormat(QImage::Format_RGB888), Qt::white), expected, 1e-9);
        EXPECT_NEAR(seamRatio(picture.convertToFormat(QImage::Format_ARGB32), Qt::white), expected, 1e-9);
    }
    // A palette picture reads its colours through its palette.
    const QImage across = greys(16, 16, [](int x, int) { return 16 * x; });
    EXPECT_DOUBLE_EQ(seamRatio(across.convertToFormat(QImage::Format_Indexed8), Qt::white),
                     seamRatio(across, Qt::white));
}

TEST(Seams, ATallPictureIsMeasuredOnRowsSpreadOverEveryOffset)
{
    // Noise with a white last column: the estimate from spread rows stays close to the
    // count over every row.
    QImage tall = noise(50, 2000, 5);
    for (int y = 0; y < tall.height(); ++y)
        tall.setPixel(tall.width() - 1, y, qRgb(255, 255, 255));
    EXPECT_NEAR(seamRatio(tall, Qt::white), countedRatio(tall), 0.03 * countedRatio(tall));

    // Bands 8 rows high, as a JPEG's blocks can show: the jumps between bands are part of
    // the inside, so the rows measured must not all fall at the same place in a band.
    const QImage bands = greys(64, 1600, [](int, int y) { return ((y / 8) % 2) * 80 + (y % 8); });
    const double counted = countedRatio(bands);
    EXPECT_NEAR(seamRatio(bands, Qt::white), counted, 0.1 * counted);
    EXPECT_EQ(seamGrade(seamRatio(bands, Qt::white)), seamGrade(counted));
}
