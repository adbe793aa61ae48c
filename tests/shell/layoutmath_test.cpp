#include "shell/layoutmath.h"

#include <gtest/gtest.h>

#include <cstdint>

using namespace pavix::shell;

namespace {

// Tool bar 360 high, title strip 280 below it, status bar on.
LayoutInput input(double outerWidth, double clientHeight, std::int32_t isa, std::int32_t isb, bool tv = true,
                  bool pv = true)
{
    LayoutInput in;
    in.outerWidth = outerWidth;
    in.clientHeight = clientHeight;
    in.treeSplitterLeft = isa;
    in.previewSplitterLeft = isb;
    in.treeVisible = tv;
    in.previewVisible = pv;
    in.toolBarVisible = true;
    in.toolBarHeight = 360;
    in.titleStripTop = 360;
    in.titleStripHeight = 280;
    in.imagesLabelLeft = 3225;
    in.current.treeSplitter.width = 90;
    in.current.previewSplitter.width = 90;
    return in;
}

void expectRect(const TwipRect &r, double left, double top, double width, double height)
{
    EXPECT_DOUBLE_EQ(r.left, left);
    EXPECT_DOUBLE_EQ(r.top, top);
    EXPECT_DOUBLE_EQ(r.width, width);
    EXPECT_DOUBLE_EQ(r.height, height);
}

void expectNoNegativeSize(const Controls &c)
{
    for (const TwipRect *r : {&c.imagesLabel, &c.progressBar, &c.list, &c.tree, &c.previewFrame, &c.treeSplitter,
                              &c.previewSplitter, &c.thumbArea, &c.thumbStrip, &c.thumbScrollBar}) {
        EXPECT_GE(r->width, 0);
        EXPECT_GE(r->height, 0);
    }
}

} // namespace

TEST(PaneLayout, AllPanesShownAtWidth8000)
{
    const LayoutResult r = sizeControls(input(8000, 6000, 2000, 5000));
    EXPECT_EQ(r.treeSplitterLeft, 2000);
    EXPECT_EQ(r.previewSplitterLeft, 5000);
    EXPECT_FLOAT_EQ(r.treeSplitterRatio, 4.0f);
    EXPECT_FLOAT_EQ(r.previewSplitterRatio, 1.6f);

    const Controls &c = r.controls;
    EXPECT_DOUBLE_EQ(c.imagesLabel.left, 3225);
    EXPECT_DOUBLE_EQ(c.imagesLabel.width, 4775);
    EXPECT_DOUBLE_EQ(c.progressBar.left, 3225);
    EXPECT_DOUBLE_EQ(c.progressBar.width, 4775);
    expectRect(c.list, 2040, 640, 2960, 6000 - 940);
    expectRect(c.tree, 0, 660, 2000, 5040);
    expectRect(c.previewFrame, 5040, 640, 2840, 5040);
    expectRect(c.treeSplitter, 2000, 570, 90, 5120);
    expectRect(c.previewSplitter, 5000, 570, 90, 5120);
    EXPECT_TRUE(c.treeSplitterVisible);
    EXPECT_TRUE(c.previewSplitterVisible);
    expectRect(c.thumbArea, 2040, 660, 2950, 5020);
    // Scroll bar and strip in the viewport's centimetres.
    EXPECT_FLOAT_EQ(float(c.thumbScrollBar.left), 2670.0f / 567.0f);
    EXPECT_FLOAT_EQ(float(c.thumbScrollBar.height), 4950.0f / 567.0f);
    EXPECT_FLOAT_EQ(float(c.thumbStrip.width), 2950.0f / 567.0f);
}

TEST(PaneLayout, FileAreaFollowsTreeAndPreviewFlags)
{
    struct Case {
        bool tv, pv;
        double lvLeft, lvWidth;
    };
    for (const Case k : {Case{true, true, 2040, 2960}, Case{true, false, 2040, 5840}, Case{false, true, 0, 5000},
                         Case{false, false, 0, 7900}}) {
        SCOPED_TRACE(testing::Message() << "tree " << k.tv << " preview " << k.pv);
        const LayoutResult r = sizeControls(input(8000, 6000, 2000, 5000, k.tv, k.pv));
        EXPECT_DOUBLE_EQ(r.controls.list.left, k.lvLeft);
        EXPECT_DOUBLE_EQ(r.controls.list.width, k.lvWidth);
        EXPECT_DOUBLE_EQ(r.controls.thumbArea.left, k.lvLeft);
        EXPECT_DOUBLE_EQ(r.controls.thumbArea.width, k.lvWidth - 10);
        EXPECT_EQ(r.controls.treeSplitterVisible, k.tv);
        EXPECT_EQ(r.controls.previewSplitterVisible, k.pv);
        EXPECT_EQ(r.controls.treeVisible, k.tv);
        EXPECT_EQ(r.controls.previewVisible, k.pv);
        // Hidden panes are still placed, so showing them needs no other pass.
        EXPECT_DOUBLE_EQ(r.controls.previewFrame.left, 5040);
        EXPECT_DOUBLE_EQ(r.controls.tree.width, 2000);
    }
}

TEST(PaneLayout, ToolBarAndStatusBarSetTheFileAreaTopAndHeight)
{
    LayoutInput in = input(8000, 6000, 2000, 5000);
    in.statusBarChecked = false;
    EXPECT_DOUBLE_EQ(sizeControls(in).controls.list.height, 6000 - 640); // 300 taller

    in = input(8000, 6000, 2000, 5000);
    in.toolBarVisible = false;
    in.titleStripTop = 0;
    const LayoutResult r = sizeControls(in);
    EXPECT_DOUBLE_EQ(r.controls.list.top, 280);
    EXPECT_DOUBLE_EQ(r.controls.list.height, 6000 - 580);
    EXPECT_DOUBLE_EQ(r.controls.treeSplitter.top, 210);
    EXPECT_DOUBLE_EQ(r.controls.tree.top, 300);
}

TEST(PaneLayout, ClampsTheSplittersAndRecordsTheRatios)
{
    LayoutResult r = sizeControls(input(8000, 6000, 800, 5000));
    EXPECT_EQ(r.treeSplitterLeft, 1000);
    EXPECT_FLOAT_EQ(r.treeSplitterRatio, 8.0f);

    r = sizeControls(input(8000, 6000, 2000, 7500));
    EXPECT_EQ(r.previewSplitterLeft, 7000);
    EXPECT_DOUBLE_EQ(r.controls.previewFrame.width, 840);

    r = sizeControls(input(8000, 6000, 5500, 5000)); // crossed: both reset
    EXPECT_EQ(r.treeSplitterLeft, 1000);
    EXPECT_EQ(r.previewSplitterLeft, 7000);

    r = sizeControls(input(8000.5, 6000, 2000, 7500)); // outerWidth - 1000 rounded ties to even
    EXPECT_EQ(r.previewSplitterLeft, 7000);
}

TEST(PaneLayout, WindowTooSmallSkipsNegativeSizes)
{
    LayoutInput in = input(3100, 500, 1000, 2100);
    in.current.list.height = 1000; // what the list view reports before the pass
    const LayoutResult r = sizeControls(in);
    const Controls &c = r.controls;
    expectNoNegativeSize(c);
    // 500 - 940 is refused: the list keeps its height and the others are built on it.
    EXPECT_DOUBLE_EQ(c.list.height, 1000);
    EXPECT_DOUBLE_EQ(c.list.top, 640); // positions still apply
    EXPECT_DOUBLE_EQ(c.tree.height, 980);
    EXPECT_DOUBLE_EQ(c.treeSplitter.height, 1060);
    EXPECT_DOUBLE_EQ(c.thumbArea.height, 960);
    EXPECT_DOUBLE_EQ(c.list.width, 1060);
    EXPECT_DOUBLE_EQ(c.previewFrame.width, 840);

    // From nothing: every size that would go negative stays 0.
    const LayoutResult z = sizeControls(input(3100, 100, 1000, 2100));
    expectNoNegativeSize(z.controls);
    EXPECT_DOUBLE_EQ(z.controls.list.height, 0);
    EXPECT_DOUBLE_EQ(z.controls.tree.height, 0);
    EXPECT_DOUBLE_EQ(z.controls.treeSplitter.height, 60);
    EXPECT_DOUBLE_EQ(z.controls.thumbArea.height, 0);
    EXPECT_DOUBLE_EQ(z.controls.thumbScrollBar.height, 0);
    EXPECT_FLOAT_EQ(float(z.controls.thumbScrollBar.left), 770.0f / 567.0f);

    // Narrower than the title strip's label and than the splitter margins.
    LayoutInput tiny = input(500, 100, 1000, 2100, false, true);
    tiny.current.imagesLabel.width = 77;
    tiny.current.list.width = 33;
    tiny.treeSplitterRatio = 9.0f;
    tiny.previewSplitterRatio = 9.0f;
    const LayoutResult t = sizeControls(tiny);
    expectNoNegativeSize(t.controls);
    EXPECT_EQ(t.treeSplitterLeft, 1000);
    EXPECT_EQ(t.previewSplitterLeft, -500);
    EXPECT_DOUBLE_EQ(t.controls.imagesLabel.width, 77);
    EXPECT_DOUBLE_EQ(t.controls.progressBar.width, 77);
    EXPECT_DOUBLE_EQ(t.controls.list.width, 33);
    EXPECT_DOUBLE_EQ(t.controls.thumbArea.width, 23);
    EXPECT_FLOAT_EQ(t.previewSplitterRatio, -1.0f);

    // A splitter at 0 gives no ratio: the previous one is kept.
    LayoutInput zero = input(1000, 6000, 1000, 5000);
    zero.previewSplitterRatio = 1.6f;
    const LayoutResult zr = sizeControls(zero);
    EXPECT_EQ(zr.previewSplitterLeft, 0);
    EXPECT_FLOAT_EQ(zr.previewSplitterRatio, 1.6f);
}

TEST(PaneLayout, WideWindowsKeepSplittersBeyond16Bits)
{
    const LayoutResult r = sizeControls(input(57600, 15000, 14400, 36000));
    EXPECT_EQ(r.treeSplitterLeft, 14400);
    EXPECT_EQ(r.previewSplitterLeft, 36000);
    EXPECT_FLOAT_EQ(r.previewSplitterRatio, 1.6f);
    EXPECT_DOUBLE_EQ(r.controls.list.width, 21560);
    EXPECT_DOUBLE_EQ(r.controls.previewFrame.left, 36040);
    EXPECT_DOUBLE_EQ(r.controls.previewFrame.width, 21440);
    EXPECT_DOUBLE_EQ(r.controls.previewSplitter.left, 36000);
}

TEST(SplitterResize, KeepsEachSplitterAtItsFraction)
{
    const LayoutResult at8000 = sizeControls(input(8000, 6000, 2000, 5000));
    SplitterState s{at8000.treeSplitterLeft, at8000.previewSplitterLeft, at8000.treeSplitterRatio,
                    at8000.previewSplitterRatio};

    SplitterState grown = resizeSplitters(12000, s);
    EXPECT_EQ(grown.treeSplitterLeft, 3000);
    EXPECT_EQ(grown.previewSplitterLeft, 7500);
    EXPECT_FLOAT_EQ(grown.treeSplitterRatio, 4.0f); // ratios are the layout pass's to change

    SplitterState wide = resizeSplitters(57600, s);
    EXPECT_EQ(wide.treeSplitterLeft, 14400);
    EXPECT_EQ(wide.previewSplitterLeft, 36000);

    SplitterState narrow = resizeSplitters(3100, s);
    EXPECT_EQ(narrow.treeSplitterLeft, 775);     // sizeControls raises it to 1000 afterwards
    EXPECT_EQ(narrow.previewSplitterLeft, 1938); // 1937.5, ties to even

    SplitterState eighth{1000, 5000, 8.0f, 1.6f};
    EXPECT_EQ(resizeSplitters(12500, eighth).treeSplitterLeft, 1562); // 1562.5
    EXPECT_EQ(resizeSplitters(12508, eighth).treeSplitterLeft, 1564); // 1563.5
    EXPECT_EQ(resizeSplitters(12509, eighth).treeSplitterLeft, 1564); // 1563.625
    EXPECT_EQ(resizeSplitters(12520, eighth).treeSplitterLeft, 1565);
}

TEST(SplitterResize, WithoutUsableRatiosTheClampsStand)
{
    // Before the first layout pass the ratios are 0.
    SplitterState s = resizeSplitters(6500, SplitterState{800, 9000, 0.0f, 0.0f});
    EXPECT_EQ(s.treeSplitterLeft, 1000);
    EXPECT_EQ(s.previewSplitterLeft, 5500);

    s = resizeSplitters(6500, SplitterState{2000, 2600, 0.0f, 0.0f});
    EXPECT_EQ(s.treeSplitterLeft, 1500);
    EXPECT_EQ(s.previewSplitterLeft, 3100);

    // A quotient beyond 32 bits keeps the clamped value.
    s = resizeSplitters(10000, SplitterState{2000, 5000, 1e-6f, 2.0f});
    EXPECT_EQ(s.treeSplitterLeft, 2000);
    EXPECT_EQ(s.previewSplitterLeft, 5000);
}

TEST(StartupSplitters, StoredPositionsAreClamped)
{
    auto clamp = [](std::int32_t isa, std::int32_t isb, double outerWidth = 6500) {
        return clampStartupSplitters(outerWidth, SplitterState{isa, isb, 0.0f, 0.0f});
    };
    EXPECT_EQ(clamp(2000, 5000).treeSplitterLeft, 2000);
    EXPECT_EQ(clamp(2000, 5000).previewSplitterLeft, 5000);
    EXPECT_EQ(clamp(800, 5000).treeSplitterLeft, 1000);
    EXPECT_EQ(clamp(2000, 9000).previewSplitterLeft, 5500);
    EXPECT_EQ(clamp(4000, 3000).treeSplitterLeft, 1000);
    EXPECT_EQ(clamp(4000, 3000).previewSplitterLeft, 5500);
    EXPECT_EQ(clamp(2000, 2600).treeSplitterLeft, 1500);
    EXPECT_EQ(clamp(2000, 2600).previewSplitterLeft, 3100);
    EXPECT_EQ(clamp(2000, 3000).treeSplitterLeft, 1500); // a gap of exactly 1000 is widened too
    EXPECT_EQ(clamp(2000, 3001).treeSplitterLeft, 2000);
    // A narrow window: reset to 1000 and 1100, then widened.
    EXPECT_EQ(clamp(3000, 3000, 2100).treeSplitterLeft, 500);
    EXPECT_EQ(clamp(3000, 3000, 2100).previewSplitterLeft, 1600);
    // Wide screens beyond 16 bits.
    EXPECT_EQ(clamp(14400, 40000, 57600).previewSplitterLeft, 40000);
    // Extremes do not wrap around.
    EXPECT_EQ(clamp(2147483000, 2147483600, 1e12).previewSplitterLeft, 2147483600);
}

TEST(StartupSplitters, ColumnWidthIsAThirdOfTheFileArea)
{
    EXPECT_NEAR(initialColumnWidth(2000, 5000), 883.3333333, 1e-6);
    EXPECT_DOUBLE_EQ(initialColumnWidth(1500, 3100), 1250.0 / 3.0);
    EXPECT_DOUBLE_EQ(initialColumnWidth(14400, 36000), 7083.0 + 1.0 / 3.0);
}

TEST(PaneToggles, SplittersAreMovedApartBeforeTheLayout)
{
    SplitterState s = treeTogglePreAdjust(SplitterState{2000, 2500, 4.0f, 3.2f});
    EXPECT_EQ(s.treeSplitterLeft, 2000);
    EXPECT_EQ(s.previewSplitterLeft, 3000);
    EXPECT_FLOAT_EQ(s.previewSplitterRatio, 3.2f);
    EXPECT_EQ(treeTogglePreAdjust(SplitterState{2000, 3000}).previewSplitterLeft, 3000);
    EXPECT_EQ(treeTogglePreAdjust(SplitterState{2000, 5000}).previewSplitterLeft, 5000);

    s = previewTogglePreAdjust(SplitterState{2000, 2500});
    EXPECT_EQ(s.treeSplitterLeft, 1500);
    EXPECT_EQ(s.previewSplitterLeft, 2500);
    EXPECT_EQ(previewTogglePreAdjust(SplitterState{2000, 3000}).treeSplitterLeft, 2000);
    EXPECT_EQ(previewTogglePreAdjust(SplitterState{4000, 3000}).treeSplitterLeft, 2000);

    // No wrap-around at the ends of the 32-bit range.
    EXPECT_EQ(treeTogglePreAdjust(SplitterState{2147483000, 0}).previewSplitterLeft, 0);
    EXPECT_EQ(previewTogglePreAdjust(SplitterState{0, -2147483000}).treeSplitterLeft, 0);
}
