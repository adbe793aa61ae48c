#include "preview/previewfit.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

using pavix::preview::fittedPreview;
using pavix::preview::PreviewGeometry;

namespace {

const PreviewGeometry previous{11, 22, 333, 444, true};

void expectGeometry(const PreviewGeometry &g, double left, double top, double width, double height)
{
    EXPECT_DOUBLE_EQ(g.left, left);
    EXPECT_DOUBLE_EQ(g.top, top);
    EXPECT_DOUBLE_EQ(g.width, width);
    EXPECT_DOUBLE_EQ(g.height, height);
}

} // namespace

TEST(FitPreview, TooWidePictureShrinksToThePaneWidth)
{
    // 3000-wide pane, 6000 x 3000 picture: 2800 wide, 2800 / 2 + 60 high, 100 inside.
    const PreviewGeometry g = fittedPreview(6000, 3000, 500, 200, 3000, 4000, true, previous);
    expectGeometry(g, 600, 200 + (4000 - 1460) / 2.0, 2800, 1460);
    EXPECT_TRUE(g.visible);

    // Only the width decides: a shrunk picture may be taller than the pane.
    const PreviewGeometry tall = fittedPreview(2000, 8000, 0, 0, 1000, 500, true, previous);
    expectGeometry(tall, 100, (500 - 3260) / 2.0, 800, 800 / 0.25 + 60);
}

TEST(FitPreview, FittingPictureIsShownAtNaturalSize)
{
    // 3000 x 3000 pane at (0, 0), 900 x 600 picture: 960 x 660 at (1050, 1200), which is
    // 30 twips right of and below the exact centre.
    expectGeometry(fittedPreview(900, 600, 0, 0, 3000, 3000, true, previous), 1050, 1200, 960, 660);

    // A tall narrow picture stays at natural size even past the pane's bottom.
    expectGeometry(fittedPreview(500, 9000, 100, 100, 1000, 1000, true, previous), 350, 100 + (1000 - 9000) / 2.0, 560,
                   9060);
}

TEST(FitPreview, WidthTestIsStrictlyLessThan)
{
    // The pane exactly ImgWidth + 200 wide shows the natural size; one twip less shrinks.
    expectGeometry(fittedPreview(1000, 500, 0, 0, 1200, 2000, true, previous), 100, 750, 1060, 560);
    const PreviewGeometry shrunk = fittedPreview(1000, 500, 0, 0, 1199, 2000, true, previous);
    EXPECT_DOUBLE_EQ(shrunk.width, 999);
    EXPECT_DOUBLE_EQ(shrunk.height, 999 / 2.0 + 60);
    EXPECT_DOUBLE_EQ(shrunk.left, 100);
}

TEST(FitPreview, HiddenPaneKeepsTheImageHiddenButPlaced)
{
    const PreviewGeometry g = fittedPreview(900, 600, 0, 0, 3000, 3000, false, previous);
    EXPECT_FALSE(g.visible);
    expectGeometry(g, 1050, 1200, 960, 660);
}

TEST(FitPreview, MissingRatioKeepsThePreviousHeight)
{
    // Too wide with a height of 0: no ratio, so the height stays and centres the image.
    const PreviewGeometry noHeight = fittedPreview(6000, 0, 0, 0, 3000, 4000, true, previous);
    expectGeometry(noHeight, 100, (4000 - 444) / 2.0, 2800, 444);

    // A width of 0 gives a ratio of 0, which cannot divide either.
    const PreviewGeometry noWidth = fittedPreview(0, 500, 0, 0, 150, 4000, true, previous);
    EXPECT_DOUBLE_EQ(noWidth.height, 444);

    // At natural size the ratio is not needed.
    expectGeometry(fittedPreview(900, 0, 0, 0, 3000, 3000, true, previous), 1050, 1500, 960, 60);
}

TEST(FitPreview, NeverProducesANegativeSize)
{
    // A pane narrower than 200 twips cannot give a width; the old width gives the height.
    const PreviewGeometry narrow = fittedPreview(1000, 500, 0, 0, 150, 2000, true, previous);
    EXPECT_DOUBLE_EQ(narrow.width, 333);
    EXPECT_DOUBLE_EQ(narrow.height, 333 / 2.0 + 60);
    EXPECT_DOUBLE_EQ(narrow.left, 100);

    // Negative picture sizes leave the sizes they would make negative alone.
    const PreviewGeometry negative = fittedPreview(-100, -500, 0, 0, 3000, 3000, true, previous);
    EXPECT_DOUBLE_EQ(negative.width, 333);
    EXPECT_DOUBLE_EQ(negative.height, 444);
}

TEST(FitPreview, PicturesPastSixteenBitsAreFittedToo)
{
    // 40000 x 30000 twips (2667 x 2000 pixels) fits a 50000-wide pane at natural size.
    expectGeometry(fittedPreview(40000, 30000, 0, 0, 50000, 40000, true, previous), 5000, 5000, 40060, 30060);
    // ... and shrinks into a 3000-wide one: 2800 / (4 / 3) + 60.
    const PreviewGeometry shrunk = fittedPreview(40000, 30000, 0, 0, 3000, 3000, true, previous);
    EXPECT_DOUBLE_EQ(shrunk.width, 2800);
    EXPECT_NEAR(shrunk.height, 2160, 0.001);

    // 32700 + 200 is past 16 bits but not past 32: the natural size is kept.
    EXPECT_DOUBLE_EQ(fittedPreview(32700, 100, 0, 0, 32900, 1000, true, previous).width, 32760);

    // A height whose sum with 60 leaves 32 bits keeps the old height.
    const std::int32_t huge = std::numeric_limits<std::int32_t>::max();
    EXPECT_DOUBLE_EQ(fittedPreview(1000, huge, 0, 0, 3000, 3000, true, previous).height, 444);
    // A width whose sum with 200 leaves 32 bits cannot fit: it is shrunk.
    EXPECT_DOUBLE_EQ(fittedPreview(huge, 1000, 0, 0, 3000, 3000, true, previous).width, 2800);
}
