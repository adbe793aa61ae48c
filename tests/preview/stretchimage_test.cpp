// The preview image: how a picture is scaled into it.
#include "preview/stretchimage.h"

#include <QImage>

#include <gtest/gtest.h>

#include <cmath>

using pavix::preview::StretchImage;

namespace {

// Mean and standard deviation of the grey levels of a picture.
std::pair<double, double> greyStatistics(const QImage &image)
{
    double sum = 0, squares = 0;
    const double n = double(image.width()) * image.height();
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const double grey = qGray(image.pixel(x, y));
            sum += grey;
            squares += grey * grey;
        }
    const double mean = sum / n;
    return {mean, std::sqrt(std::max(0.0, squares / n - mean * mean))};
}

} // namespace

TEST(StretchImage, FineDetailShrinksToItsAverageWithoutMoire)
{
    // Black and white stripes one pixel wide, shown about ten times smaller.
    QImage stripes(1000, 1000, QImage::Format_RGB32);
    for (int y = 0; y < stripes.height(); ++y)
        for (int x = 0; x < stripes.width(); ++x)
            stripes.setPixel(x, y, x % 2 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
    StretchImage image(nullptr);
    image.resize(103, 99);
    image.setPicture(stripes);
    const QImage shown = image.shownPicture();
    ASSERT_EQ(shown.size(), QSize(101, 97)); // inside the one-pixel border
    const auto [mean, deviation] = greyStatistics(shown);
    EXPECT_NEAR(mean, 127.5, 3.0);
    EXPECT_LT(deviation, 4.0);

    // What is painted is that picture.
    const QImage painted = image.grab().toImage();
    EXPECT_EQ(painted.pixel(50, 50), shown.pixel(49, 49));
}

TEST(StretchImage, ScalesOnceForEachPictureAndSize)
{
    QImage picture(640, 480, QImage::Format_RGB32);
    picture.fill(qRgb(10, 120, 200));
    StretchImage image(nullptr);
    image.resize(66, 50);
    image.setPicture(picture);
    const qint64 first = image.shownPicture().cacheKey();
    image.grab();
    EXPECT_EQ(image.shownPicture().cacheKey(), first);

    image.resize(82, 62);
    EXPECT_EQ(image.shownPicture().size(), QSize(80, 60));
    const qint64 resized = image.shownPicture().cacheKey();
    EXPECT_NE(resized, first);
    image.setPicture(picture.copy());
    EXPECT_NE(image.shownPicture().cacheKey(), resized);

    image.clearPicture();
    EXPECT_TRUE(image.shownPicture().isNull());
    image.setPicture(picture);
    image.resize(2, 2); // no room inside the border
    EXPECT_TRUE(image.shownPicture().isNull());
}
