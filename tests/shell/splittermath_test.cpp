#include "shell/layoutmath.h"
#include "shell/splittermath.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace pavix::shell;

TEST(SplitterDrag, GhostBarOnPress)
{
    const TwipRect ghost = ghostRectForPress(TwipRect{2000, 570, 90, 5120});
    EXPECT_DOUBLE_EQ(ghost.left, 2000);
    EXPECT_DOUBLE_EQ(ghost.top, 670);
    EXPECT_DOUBLE_EQ(ghost.width, 45);
    EXPECT_DOUBLE_EQ(ghost.height, 4980);

    EXPECT_DOUBLE_EQ(ghostRectForPress(TwipRect{0, 0, 91, 500}).width, 45);
    EXPECT_DOUBLE_EQ(ghostRectForPress(TwipRect{0, 0, 93, 500}).width, 46);
    EXPECT_DOUBLE_EQ(ghostRectForPress(TwipRect{0, 0, 92.5, 500}).width, 46); // 92 first
    EXPECT_DOUBLE_EQ(ghostRectForPress(TwipRect{0, 0, 93.5, 500}).width, 47); // 94 first
    // A splitter shorter than 140 gives an empty ghost bar, not a negative one.
    EXPECT_DOUBLE_EQ(ghostRectForPress(TwipRect{0, 0, 90, 60}).height, 0);
}

TEST(SplitterDrag, GhostBarStaysWithinTheWindowMargins)
{
    EXPECT_DOUBLE_EQ(ghostLeftForMove(2000, 500, 8000), 2500);
    EXPECT_DOUBLE_EQ(ghostLeftForMove(2000, -1500, 8000), 1000);
    EXPECT_DOUBLE_EQ(ghostLeftForMove(2000, -1000, 8000), 1000);
    EXPECT_DOUBLE_EQ(ghostLeftForMove(2000, -999, 8000), 1001);
    EXPECT_DOUBLE_EQ(ghostLeftForMove(2000, 6500, 8000), 7000);
    EXPECT_DOUBLE_EQ(ghostLeftForMove(2000, 5000, 8000), 7000);
    EXPECT_DOUBLE_EQ(ghostLeftForMove(5000, 4999, 8000), 7000);
    // Past the other splitter is allowed: the release sorts it out.
    EXPECT_DOUBLE_EQ(ghostLeftForMove(2000, 4000, 8000), 6000);
    // Wide windows.
    EXPECT_DOUBLE_EQ(ghostLeftForMove(30000, 40000, 57600), 56600);
}

TEST(SplitterRelease, IsaKeepsItsDistanceFromAShownPreview)
{
    SplitterState s = releaseTreeSplitter(4500, 5000, true);
    EXPECT_EQ(s.treeSplitterLeft, 4000);
    EXPECT_EQ(s.previewSplitterLeft, 5000);

    s = releaseTreeSplitter(4500, 5000, false);
    EXPECT_EQ(s.treeSplitterLeft, 4500);

    // Past the other splitter with the preview hidden: the layout resets both.
    s = releaseTreeSplitter(5500, 5000, false);
    EXPECT_EQ(s.treeSplitterLeft, 5500);
    LayoutInput in;
    in.outerWidth = 8000;
    in.clientHeight = 6000;
    in.treeSplitterLeft = s.treeSplitterLeft;
    in.previewSplitterLeft = s.previewSplitterLeft;
    in.previewVisible = false;
    const LayoutResult r = sizeControls(in);
    EXPECT_EQ(r.treeSplitterLeft, 1000);
    EXPECT_EQ(r.previewSplitterLeft, 7000);

    // Pressed and released without moving: committed unchanged.
    s = releaseTreeSplitter(2000, 5000, true);
    EXPECT_EQ(s.treeSplitterLeft, 2000);
    EXPECT_EQ(s.previewSplitterLeft, 5000);

    // Positions are rounded ties to even.
    s = releaseTreeSplitter(2500.5, 6001.5, true);
    EXPECT_EQ(s.treeSplitterLeft, 2500);
    EXPECT_EQ(s.previewSplitterLeft, 6002);
}

TEST(SplitterRelease, IsbKeepsItsDistanceFromAShownTree)
{
    SplitterState s = releasePreviewSplitter(2000, 2500, true);
    EXPECT_EQ(s.treeSplitterLeft, 2000);
    EXPECT_EQ(s.previewSplitterLeft, 3000);

    s = releasePreviewSplitter(2000, 2500, false);
    EXPECT_EQ(s.previewSplitterLeft, 2500);

    s = releasePreviewSplitter(2000, 3000, true);
    EXPECT_EQ(s.previewSplitterLeft, 3000);

    s = releasePreviewSplitter(2000, 40000, true);
    EXPECT_EQ(s.previewSplitterLeft, 40000);
}

TEST(SplitterRelease, UnrepresentablePositionsAreHeldInRange)
{
    const SplitterState s = releaseTreeSplitter(1e12, std::nan(""), true);
    EXPECT_EQ(s.previewSplitterLeft, 0);
    EXPECT_EQ(s.treeSplitterLeft, -1000);

    const SplitterState t = releasePreviewSplitter(3e9, 0, true);
    EXPECT_EQ(t.treeSplitterLeft, std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(t.previewSplitterLeft, std::numeric_limits<std::int32_t>::max());
}

TEST(SplitterRelease, DraggedPositionIsKeptInProportionOnResize)
{
    const SplitterState released = releaseTreeSplitter(3000, 5000, true);
    LayoutInput in;
    in.outerWidth = 8000;
    in.clientHeight = 6000;
    in.treeSplitterLeft = released.treeSplitterLeft;
    in.previewSplitterLeft = released.previewSplitterLeft;
    const LayoutResult laid = sizeControls(in);
    const SplitterState grown = resizeSplitters(12000,
                                                SplitterState{laid.treeSplitterLeft, laid.previewSplitterLeft,
                                                              laid.treeSplitterRatio, laid.previewSplitterRatio});
    EXPECT_EQ(grown.treeSplitterLeft, 4500);
    EXPECT_EQ(grown.previewSplitterLeft, 7500);
}
