#include "support/printers.h"
#include "toolbox/readability.h"

#include <QImage>

#include <gtest/gtest.h>

#include <vector>

using namespace pavix::toolbox;

namespace {

const QRgb Black = qRgb(0, 0, 0);
const QRgb White = qRgb(255, 255, 255);

// A tile one pixel high whose pixels are `colours`, left to right.
QImage strip(const std::vector<QRgb> &colours, QImage::Format format = QImage::Format_RGB32)
{
    QImage image(static_cast<int>(colours.size()), 1, QImage::Format_ARGB32);
    for (size_t x = 0; x < colours.size(); ++x)
        image.setPixel(static_cast<int>(x), 0, colours[x]);
    return image.convertToFormat(format);
}

// A square tile of `side` x `side` pixels: the first `dark` pixels (row by row) black, the
// rest white.
QImage blackAndWhite(int side, int dark)
{
    QImage image(side, side, QImage::Format_RGB32);
    for (int i = 0; i < side * side; ++i)
        image.setPixel(i % side, i / side, i < dark ? Black : White);
    return image;
}

} // namespace

TEST(Readability, ContrastRatiosAreTheWcagOnes)
{
    EXPECT_NEAR(contrastRatio(Black, White), 21.0, 1e-12);
    EXPECT_NEAR(contrastRatio(White, Black), 21.0, 1e-12);
    EXPECT_DOUBLE_EQ(contrastRatio(qRgb(90, 20, 200), qRgb(90, 20, 200)), 1.0);
    // The two greys either side of the 4.5:1 line on white.
    EXPECT_NEAR(contrastRatio(qRgb(0x76, 0x76, 0x76), White), 4.54222, 1e-5);
    EXPECT_NEAR(contrastRatio(qRgb(0x77, 0x77, 0x77), White), 4.47809, 1e-5);
    // Green counts most: pure green on black reads better than pure blue.
    EXPECT_GT(contrastRatio(qRgb(0, 255, 0), Black), contrastRatio(qRgb(0, 0, 255), Black));
    EXPECT_NEAR(relativeLuminance(qRgb(0, 0, 255)), 0.0722, 1e-12);
    // Alpha does not enter.
    EXPECT_DOUBLE_EQ(relativeLuminance(qRgba(10, 200, 30, 0)), relativeLuminance(qRgb(10, 200, 30)));
}

TEST(Readability, GradesNeedTheFullRatioAndRelaxFrom18Points)
{
    const double justPassing = contrastRatio(qRgb(0x76, 0x76, 0x76), White);
    const double justFailing = contrastRatio(qRgb(0x77, 0x77, 0x77), White);
    EXPECT_EQ(contrastGrade(justPassing, 12), ContrastGrade::AA);
    EXPECT_EQ(contrastGrade(justFailing, 12), ContrastGrade::Low);
    // Large text from 18 points: 3:1 for AA, 4.5:1 for AAA.
    EXPECT_EQ(contrastGrade(justFailing, 17), ContrastGrade::Low);
    EXPECT_EQ(contrastGrade(justFailing, 18), ContrastGrade::AA);
    EXPECT_EQ(contrastGrade(justPassing, 18), ContrastGrade::AAA);
    EXPECT_EQ(contrastGrade(3.0, 18), ContrastGrade::AA);
    EXPECT_EQ(contrastGrade(2.999, 120), ContrastGrade::Low);
    EXPECT_EQ(contrastGrade(7.0, 8), ContrastGrade::AAA);
    EXPECT_EQ(contrastGrade(6.999, 8), ContrastGrade::AA);
    EXPECT_EQ(contrastGrade(1.0, 36), ContrastGrade::Low);

    // The figure is cut, never rounded up past a line: 4.478 reads 4.4, not 4.5.
    EXPECT_EQ(contrastFigureText(justPassing, contrastGrade(justPassing, 12)), QStringLiteral("4.5:1 AA"));
    EXPECT_EQ(contrastFigureText(justFailing, contrastGrade(justFailing, 12)), QStringLiteral("4.4:1 low"));
    EXPECT_EQ(contrastFigureText(contrastRatio(Black, White), ContrastGrade::AAA), QStringLiteral("21.0:1 AAA"));
    EXPECT_EQ(contrastFigureText(6.99, ContrastGrade::AA), QStringLiteral("6.9:1 AA"));

    const QString tip = contrastToolTip(ContrastFigures{justPassing, 7.25, 1.0});
    EXPECT_TRUE(tip.contains(QStringLiteral("\n10th percentile 4.54:1, median 7.25:1, minimum 1.00:1\n")))
        << qPrintable(tip);
    // It says what is measured and what each grade means.
    for (const char *part : {"contrast between the text colour and the tiles", "AAA: ", "AA: ", "low: ", "18 point"})
        EXPECT_TRUE(tip.contains(QLatin1String(part))) << part;
}

TEST(Readability, SwatchFigureIsBlackOrWhiteWhicheverReadsBetter)
{
    EXPECT_EQ(figureInk(QColor(Qt::white)), QColor(Qt::black));
    EXPECT_EQ(figureInk(QColor(Qt::black)), QColor(Qt::white));
    EXPECT_EQ(figureInk(QColor(255, 255, 0)), QColor(Qt::black));
    // Mid green: 5.14:1 with white against 4.09:1 with black.
    EXPECT_EQ(figureInk(QColor(0, 128, 0)), QColor(Qt::white));
    EXPECT_EQ(figureInk(QColor(0, 0, 255)), QColor(Qt::white));
}

TEST(Readability, PercentilesCountEveryPixelUnderTheText)
{
    // 100 pixels, 10 of them black, under black text: 90 % reach 21:1.
    auto figures = measureContrast(blackAndWhite(10, 10), Qt::white, QRect(0, 0, 10, 10), Qt::black);
    ASSERT_TRUE(figures.has_value());
    EXPECT_NEAR(figures->tenthPercentile, 21.0, 1e-9);
    EXPECT_NEAR(figures->median, 21.0, 1e-9);
    EXPECT_DOUBLE_EQ(figures->minimum, 1.0);
    // One more black pixel and only 89 % do.
    figures = measureContrast(blackAndWhite(10, 11), Qt::white, QRect(0, 0, 10, 10), Qt::black);
    ASSERT_TRUE(figures.has_value());
    EXPECT_DOUBLE_EQ(figures->tenthPercentile, 1.0);
    EXPECT_NEAR(figures->median, 21.0, 1e-9);
    // Half black: the median is the first figure half the pixels pass.
    figures = measureContrast(blackAndWhite(10, 50), Qt::white, QRect(0, 0, 10, 10), Qt::black);
    EXPECT_NEAR(figures->median, 21.0, 1e-9);
    figures = measureContrast(blackAndWhite(10, 51), Qt::white, QRect(0, 0, 10, 10), Qt::black);
    EXPECT_DOUBLE_EQ(figures->median, 1.0);

    // Grey text between black and white: white gives 4.54:1, black 4.62:1, so white
    // pixels are the worst ones although they are lighter than the text.
    const QColor grey(0x76, 0x76, 0x76);
    figures = measureContrast(blackAndWhite(10, 60), Qt::white, QRect(0, 0, 10, 10), grey);
    ASSERT_TRUE(figures.has_value());
    EXPECT_NEAR(figures->minimum, 4.54222, 1e-5);
    EXPECT_NEAR(figures->tenthPercentile, 4.54222, 1e-5);
    EXPECT_NEAR(figures->median, 4.62328, 1e-5);

    // Nothing to measure.
    EXPECT_FALSE(measureContrast(QImage(), Qt::white, QRect(0, 0, 10, 10), Qt::black).has_value());
    EXPECT_FALSE(measureContrast(blackAndWhite(4, 1), Qt::white, QRect(3, 3, 0, 5), Qt::black).has_value());
}

TEST(Readability, TheAreaCoversTheCopiesOfTheTileItLiesOn)
{
    // One black pixel in four; the surface repeats the tile from (0, 0) both ways.
    const QImage tile = strip({Black, White, White, White});
    auto minimum = [&](const QRect &area) {
        const auto figures = measureContrast(tile, Qt::white, area, Qt::black);
        return figures ? figures->minimum : 0.0;
    };
    EXPECT_NEAR(minimum(QRect(1, 0, 3, 1)), 21.0, 1e-9);      // columns 1-3
    EXPECT_NEAR(minimum(QRect(5, 7, 3, 4)), 21.0, 1e-9);      // tile columns 1-3 again
    EXPECT_DOUBLE_EQ(minimum(QRect(6, 7, 3, 4)), 1.0);        // tile columns 2, 3 and 0
    EXPECT_DOUBLE_EQ(minimum(QRect(-1, 0, 2, 1)), 1.0);       // tile columns 3 and 0
    EXPECT_NEAR(minimum(QRect(-3, -5, 3, 9)), 21.0, 1e-9);    // tile columns 1-3 on any row
    EXPECT_NEAR(minimum(QRect(401, 12, 3, 100)), 21.0, 1e-9); // far from the origin

    // Across many copies each pixel counts as often as the area shows it: 7 columns
    // starting at tile column 3 show it twice as black, 5 times white.
    const auto figures = measureContrast(tile, Qt::white, QRect(3, 0, 7, 1), Qt::black);
    ASSERT_TRUE(figures.has_value());
    EXPECT_DOUBLE_EQ(figures->tenthPercentile, 1.0); // 2 of 7 are below
    EXPECT_NEAR(figures->median, 21.0, 1e-9);

    // One black pixel in ten: 40 columns show exactly a tenth black, 41 columns from 0 a
    // little more (5 of 41).
    const QImage tenth = strip({Black, White, White, White, White, White, White, White, White, White});
    EXPECT_NEAR(measureContrast(tenth, Qt::white, QRect(0, 0, 40, 3), Qt::black)->tenthPercentile, 21.0, 1e-9);
    EXPECT_DOUBLE_EQ(measureContrast(tenth, Qt::white, QRect(0, 0, 41, 3), Qt::black)->tenthPercentile, 1.0);
    EXPECT_NEAR(measureContrast(tenth, Qt::white, QRect(1, 0, 41, 3), Qt::black)->tenthPercentile, 21.0, 1e-9);
}

TEST(Readability, TransparentPixelsShowTheWindowBackground)
{
    // Half-transparent black over white shows grey 127; over black it stays black.
    const QImage half = strip({qRgba(0, 0, 0, 128)}, QImage::Format_ARGB32);
    auto overWhite = measureContrast(half, Qt::white, QRect(0, 0, 5, 5), Qt::black);
    ASSERT_TRUE(overWhite.has_value());
    EXPECT_DOUBLE_EQ(overWhite->median, contrastRatio(qRgb(127, 127, 127), Black));
    EXPECT_NEAR(overWhite->median, 5.24462, 1e-5);
    auto overBlack = measureContrast(half, Qt::black, QRect(0, 0, 5, 5), Qt::black);
    EXPECT_DOUBLE_EQ(overBlack->median, 1.0);
    // The same pixel premultiplied reads the same.
    const QImage premultiplied = half.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    EXPECT_DOUBLE_EQ(measureContrast(premultiplied, Qt::white, QRect(0, 0, 5, 5), Qt::black)->median,
                     overWhite->median);
    // Fully transparent is the background itself.
    EXPECT_DOUBLE_EQ(measureContrast(strip({qRgba(0, 0, 0, 0)}, QImage::Format_ARGB32), QColor(0x76, 0x76, 0x76),
                                     QRect(0, 0, 1, 1), Qt::white)
                         ->median,
                     contrastRatio(qRgb(0x76, 0x76, 0x76), White));
}

TEST(Readability, EveryPictureFormatMeasuresAlike)
{
    // A picture with a few colours, read as 32 bits, as a palette picture and as 24 bits.
    QImage tile(13, 7, QImage::Format_RGB32);
    const QRgb colours[] = {qRgb(200, 30, 30), qRgb(10, 10, 120), qRgb(250, 250, 240), qRgb(90, 160, 90)};
    for (int y = 0; y < tile.height(); ++y)
        for (int x = 0; x < tile.width(); ++x)
            tile.setPixel(x, y, colours[(x * 3 + y) % 4]);
    const QRect area(-5, 2, 30, 9);
    const auto reference = measureContrast(tile, Qt::white, area, QColor(40, 40, 40));
    ASSERT_TRUE(reference.has_value());
    for (const QImage::Format format : {QImage::Format_Indexed8, QImage::Format_RGB888, QImage::Format_ARGB32}) {
        SCOPED_TRACE(static_cast<int>(format));
        const auto figures = measureContrast(tile.convertToFormat(format), Qt::white, area, QColor(40, 40, 40));
        ASSERT_TRUE(figures.has_value());
        EXPECT_DOUBLE_EQ(figures->tenthPercentile, reference->tenthPercentile);
        EXPECT_DOUBLE_EQ(figures->median, reference->median);
        EXPECT_DOUBLE_EQ(figures->minimum, reference->minimum);
    }
}
