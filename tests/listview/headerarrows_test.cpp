#include "listview/headerarrows.h"

#include <gtest/gtest.h>

using namespace pavix::listview;

namespace {

bool isRed(QRgb pixel)
{
    return qAlpha(pixel) > 128 && qRed(pixel) > 200 && qGreen(pixel) < 60;
}

// Mean row of the red pixels in a column of the image; -1 when none is red.
double meanRedRow(const QImage &image, int x)
{
    double sum = 0;
    int n = 0;
    for (int y = 0; y < image.height(); ++y) {
        if (isRed(image.pixel(x, y))) {
            sum += y;
            ++n;
        }
    }
    return n ? sum / n : -1.0;
}

} // namespace

TEST(HeaderArrows, RedChevronsOnTransparent)
{
    for (int image : {0, 1}) {
        const QImage arrow = headerArrowImage(image);
        ASSERT_EQ(arrow.size(), QSize(12, 12));
        EXPECT_TRUE(arrow.hasAlphaChannel());
        EXPECT_EQ(qAlpha(arrow.pixel(0, 0)), 0);
        EXPECT_EQ(qAlpha(arrow.pixel(11, 11)), 0);
        int red = 0;
        for (int y = 0; y < 12; ++y)
            for (int x = 0; x < 12; ++x)
                red += isRed(arrow.pixel(x, y)) ? 1 : 0;
        EXPECT_GT(red, 8);
    }
    EXPECT_TRUE(headerArrowImage(2).isNull());
    EXPECT_TRUE(headerArrowImage(-1).isNull());
}

TEST(HeaderArrows, DownPointsDownAndUpPointsUp)
{
    // A chevron pointing down has its middle lower than its ends.
    const QImage down = headerArrowImage(0);
    EXPECT_GT(meanRedRow(down, 6), meanRedRow(down, 2));
    EXPECT_GT(meanRedRow(down, 6), meanRedRow(down, 10));
    const QImage up = headerArrowImage(1);
    EXPECT_LT(meanRedRow(up, 6), meanRedRow(up, 2));
    EXPECT_LT(meanRedRow(up, 6), meanRedRow(up, 10));
}
