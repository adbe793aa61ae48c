#include "shell/layoutmath.h"

#include <gtest/gtest.h>

#include <cstdint>

using namespace pavix::shell;

namespace {

// Tool bar 360 high, title strip 280 below it, status bar on.
LayoutInput input(double W, double SH, std::int32_t isa, std::int32_t isb, bool tv = true,
                  bool pv = true)
{
    LayoutInput in;
    in.W = W;
    in.SH = SH;
    in.IsaLeft = isa;
    in.IsbLeft = isb;
    in.tvVisible = tv;
    in.pvVisible = pv;
    in.tbarVisible = true;
    in.tbarHeight = 360;
    in.picTitlesTop = 360;
    in.picTitlesHeight = 280;
    in.lblImgLeft = 3225;
    in.current.Isa.width = 90;
    in.current.Isb.width = 90;
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
    for (const TwipRect *r : {&c.lblImg, &c.proBar, &c.Lv, &c.Tv, &c.Pv, &c.Isa, &c.Isb,
                              &c.picBase, &c.picScroll, &c.VScroll1}) {
        EXPECT_GE(r->width, 0);
        EXPECT_GE(r->height, 0);
    }
}

} // namespace

TEST(SizeControls, AllPanesShownAtWidth8000)
{
    const LayoutResult r = SizeControls(input(8000, 6000, 2000, 5000));
    EXPECT_EQ(r.IsaLeft, 2000);
    EXPECT_EQ(r.IsbLeft, 5000);
    EXPECT_FLOAT_EQ(r.IsaRatio, 4.0f);
    EXPECT_FLOAT_EQ(r.IsbRatio, 1.6f);

    const Controls &c = r.controls;
    EXPECT_DOUBLE_EQ(c.lblImg.left, 3225);
    EXPECT_DOUBLE_EQ(c.lblImg.width, 4775);
    EXPECT_DOUBLE_EQ(c.proBar.left, 3225);
    EXPECT_DOUBLE_EQ(c.proBar.width, 4775);
    expectRect(c.Lv, 2040, 640, 2960, 6000 - 940);
    expectRect(c.Tv, 0, 660, 2000, 5040);
    expectRect(c.Pv, 5040, 640, 2840, 5040);
    expectRect(c.Isa, 2000, 570, 90, 5120);
    expectRect(c.Isb, 5000, 570, 90, 5120);
    EXPECT_TRUE(c.IsaVisible);
    EXPECT_TRUE(c.IsbVisible);
    expectRect(c.picBase, 2040, 660, 2950, 5020);
    // Scroll bar and strip in the viewport's centimetres.
    EXPECT_FLOAT_EQ(float(c.VScroll1.left), 2670.0f / 567.0f);
    EXPECT_FLOAT_EQ(float(c.VScroll1.height), 4950.0f / 567.0f);
    EXPECT_FLOAT_EQ(float(c.picScroll.width), 2950.0f / 567.0f);
}

TEST(SizeControls, FileAreaFollowsTreeAndPreviewFlags)
{
    struct Case {
        bool tv, pv;
        double lvLeft, lvWidth;
    };
    for (const Case k : {Case{true, true, 2040, 2960}, Case{true, false, 2040, 5840},
                         Case{false, true, 0, 5000}, Case{false, false, 0, 7900}}) {
        SCOPED_TRACE(testing::Message() << "tree " << k.tv << " preview " << k.pv);
        const LayoutResult r = SizeControls(input(8000, 6000, 2000, 5000, k.tv, k.pv));
        EXPECT_DOUBLE_EQ(r.controls.Lv.left, k.lvLeft);
        EXPECT_DOUBLE_EQ(r.controls.Lv.width, k.lvWidth);
        EXPECT_DOUBLE_EQ(r.controls.picBase.left, k.lvLeft);
        EXPECT_DOUBLE_EQ(r.controls.picBase.width, k.lvWidth - 10);
        EXPECT_EQ(r.controls.IsaVisible, k.tv);
        EXPECT_EQ(r.controls.IsbVisible, k.pv);
        EXPECT_EQ(r.controls.tvVisible, k.tv);
        EXPECT_EQ(r.controls.pvVisible, k.pv);
        // Hidden panes are still placed, so showing them needs no other pass.
        EXPECT_DOUBLE_EQ(r.controls.Pv.left, 5040);
        EXPECT_DOUBLE_EQ(r.controls.Tv.width, 2000);
    }
}

TEST(SizeControls, ToolBarAndStatusBarSetTheFileAreaTopAndHeight)
{
    LayoutInput in = input(8000, 6000, 2000, 5000);
    in.statusBarChecked = false;
    EXPECT_DOUBLE_EQ(SizeControls(in).controls.Lv.height, 6000 - 640); // 300 taller

    in = input(8000, 6000, 2000, 5000);
    in.tbarVisible = false;
    in.picTitlesTop = 0;
    const LayoutResult r = SizeControls(in);
    EXPECT_DOUBLE_EQ(r.controls.Lv.top, 280);
    EXPECT_DOUBLE_EQ(r.controls.Lv.height, 6000 - 580);
    EXPECT_DOUBLE_EQ(r.controls.Isa.top, 210);
    EXPECT_DOUBLE_EQ(r.controls.Tv.top, 300);
}

TEST(SizeControls, ClampsTheSplittersAndRecordsTheRatios)
{
    LayoutResult r = SizeControls(input(8000, 6000, 800, 5000));
    EXPECT_EQ(r.IsaLeft, 1000);
    EXPECT_FLOAT_EQ(r.IsaRatio, 8.0f);

    r = SizeControls(input(8000, 6000, 2000, 7500));
    EXPECT_EQ(r.IsbLeft, 7000);
    EXPECT_DOUBLE_EQ(r.controls.Pv.width, 840);

    r = SizeControls(input(8000, 6000, 5500, 5000)); // crossed: both reset
    EXPECT_EQ(r.IsaLeft, 1000);
    EXPECT_EQ(r.IsbLeft, 7000);

    r = SizeControls(input(8000.5, 6000, 2000, 7500)); // W - 1000 rounded ties to even
    EXPECT_EQ(r.IsbLeft, 7000);
}

TEST(SizeControls, WindowTooSmallSkipsNegativeSizes)
{
    LayoutInput in = input(3100, 500, 1000, 2100);
    in.current.Lv.height = 1000; // what the list view reports before the pass
    const LayoutResult r = SizeControls(in);
    const Controls &c = r.controls;
    expectNoNegativeSize(c);
    // 500 - 940 is refused: the list keeps its height and the others are built on it.
    EXPECT_DOUBLE_EQ(c.Lv.height, 1000);
    EXPECT_DOUBLE_EQ(c.Lv.top, 640); // positions still apply
    EXPECT_DOUBLE_EQ(c.Tv.height, 980);
    EXPECT_DOUBLE_EQ(c.Isa.height, 1060);
    EXPECT_DOUBLE_EQ(c.picBase.height, 960);
    EXPECT_DOUBLE_EQ(c.Lv.width, 1060);
    EXPECT_DOUBLE_EQ(c.Pv.width, 840);

    // From nothing: every size that would go negative stays 0.
    const LayoutResult z = SizeControls(input(3100, 100, 1000, 2100));
    expectNoNegativeSize(z.controls);
    EXPECT_DOUBLE_EQ(z.controls.Lv.height, 0);
    EXPECT_DOUBLE_EQ(z.controls.Tv.height, 0);
    EXPECT_DOUBLE_EQ(z.controls.Isa.height, 60);
    EXPECT_DOUBLE_EQ(z.controls.picBase.height, 0);
    EXPECT_DOUBLE_EQ(z.controls.VScroll1.height, 0);
    EXPECT_FLOAT_EQ(float(z.controls.VScroll1.left), 770.0f / 567.0f);

    // Narrower than the title strip's label and than the splitter margins.
    LayoutInput tiny = input(500, 100, 1000, 2100, false, true);
    tiny.current.lblImg.width = 77;
    tiny.current.Lv.width = 33;
    tiny.IsaRatio = 9.0f;
    tiny.IsbRatio = 9.0f;
    const LayoutResult t = SizeControls(tiny);
    expectNoNegativeSize(t.controls);
    EXPECT_EQ(t.IsaLeft, 1000);
    EXPECT_EQ(t.IsbLeft, -500);
    EXPECT_DOUBLE_EQ(t.controls.lblImg.width, 77);
    EXPECT_DOUBLE_EQ(t.controls.proBar.width, 77);
    EXPECT_DOUBLE_EQ(t.controls.Lv.width, 33);
    EXPECT_DOUBLE_EQ(t.controls.picBase.width, 23);
    EXPECT_FLOAT_EQ(t.IsbRatio, -1.0f);

    // A splitter at 0 gives no ratio: the previous one is kept.
    LayoutInput zero = input(1000, 6000, 1000, 5000);
    zero.IsbRatio = 1.6f;
    const LayoutResult zr = SizeControls(zero);
    EXPECT_EQ(zr.IsbLeft, 0);
    EXPECT_FLOAT_EQ(zr.IsbRatio, 1.6f);
}

TEST(SizeControls, WideWindowsKeepSplittersBeyond16Bits)
{
    const LayoutResult r = SizeControls(input(57600, 15000, 14400, 36000));
    EXPECT_EQ(r.IsaLeft, 14400);
    EXPECT_EQ(r.IsbLeft, 36000);
    EXPECT_FLOAT_EQ(r.IsbRatio, 1.6f);
    EXPECT_DOUBLE_EQ(r.controls.Lv.width, 21560);
    EXPECT_DOUBLE_EQ(r.controls.Pv.left, 36040);
    EXPECT_DOUBLE_EQ(r.controls.Pv.width, 21440);
    EXPECT_DOUBLE_EQ(r.controls.Isb.left, 36000);
}

TEST(SplitterResize, KeepsEachSplitterAtItsFraction)
{
    const LayoutResult at8000 = SizeControls(input(8000, 6000, 2000, 5000));
    SplitterState s{at8000.IsaLeft, at8000.IsbLeft, at8000.IsaRatio, at8000.IsbRatio};

    SplitterState grown = resizeSplitters(12000, s);
    EXPECT_EQ(grown.IsaLeft, 3000);
    EXPECT_EQ(grown.IsbLeft, 7500);
    EXPECT_FLOAT_EQ(grown.IsaRatio, 4.0f); // ratios are the layout pass's to change

    SplitterState wide = resizeSplitters(57600, s);
    EXPECT_EQ(wide.IsaLeft, 14400);
    EXPECT_EQ(wide.IsbLeft, 36000);

    SplitterState narrow = resizeSplitters(3100, s);
    EXPECT_EQ(narrow.IsaLeft, 775);   // SizeControls raises it to 1000 afterwards
    EXPECT_EQ(narrow.IsbLeft, 1938);  // 1937.5, ties to even

    SplitterState eighth{1000, 5000, 8.0f, 1.6f};
    EXPECT_EQ(resizeSplitters(12500, eighth).IsaLeft, 1562); // 1562.5
    EXPECT_EQ(resizeSplitters(12508, eighth).IsaLeft, 1564); // 1563.5
    EXPECT_EQ(resizeSplitters(12509, eighth).IsaLeft, 1564); // 1563.625
    EXPECT_EQ(resizeSplitters(12520, eighth).IsaLeft, 1565);
}

TEST(SplitterResize, WithoutUsableRatiosTheClampsStand)
{
    // Before the first layout pass the ratios are 0.
    SplitterState s = resizeSplitters(6500, SplitterState{800, 9000, 0.0f, 0.0f});
    EXPECT_EQ(s.IsaLeft, 1000);
    EXPECT_EQ(s.IsbLeft, 5500);

    s = resizeSplitters(6500, SplitterState{2000, 2600, 0.0f, 0.0f});
    EXPECT_EQ(s.IsaLeft, 1500);
    EXPECT_EQ(s.IsbLeft, 3100);

    // A quotient beyond 32 bits keeps the clamped value.
    s = resizeSplitters(10000, SplitterState{2000, 5000, 1e-6f, 2.0f});
    EXPECT_EQ(s.IsaLeft, 2000);
    EXPECT_EQ(s.IsbLeft, 5000);
}

TEST(StartupSplitters, StoredPositionsAreClamped)
{
    auto clamp = [](std::int32_t isa, std::int32_t isb, double W = 6500) {
        return clampStartupSplitters(W, SplitterState{isa, isb, 0.0f, 0.0f});
    };
    EXPECT_EQ(clamp(2000, 5000).IsaLeft, 2000);
    EXPECT_EQ(clamp(2000, 5000).IsbLeft, 5000);
    EXPECT_EQ(clamp(800, 5000).IsaLeft, 1000);
    EXPECT_EQ(clamp(2000, 9000).IsbLeft, 5500);
    EXPECT_EQ(clamp(4000, 3000).IsaLeft, 1000);
    EXPECT_EQ(clamp(4000, 3000).IsbLeft, 5500);
    EXPECT_EQ(clamp(2000, 2600).IsaLeft, 1500);
    EXPECT_EQ(clamp(2000, 2600).IsbLeft, 3100);
    EXPECT_EQ(clamp(2000, 3000).IsaLeft, 1500); // a gap of exactly 1000 is widened too
    EXPECT_EQ(clamp(2000, 3001).IsaLeft, 2000);
    // A narrow window: reset to 1000 and 1100, then widened.
    EXPECT_EQ(clamp(3000, 3000, 2100).IsaLeft, 500);
    EXPECT_EQ(clamp(3000, 3000, 2100).IsbLeft, 1600);
    // Wide screens beyond 16 bits.
    EXPECT_EQ(clamp(14400, 40000, 57600).IsbLeft, 40000);
    // Extremes do not wrap around.
    EXPECT_EQ(clamp(2147483000, 2147483600, 1e12).IsbLeft, 2147483600);
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
    EXPECT_EQ(s.IsaLeft, 2000);
    EXPECT_EQ(s.IsbLeft, 3000);
    EXPECT_FLOAT_EQ(s.IsbRatio, 3.2f);
    EXPECT_EQ(treeTogglePreAdjust(SplitterState{2000, 3000}).IsbLeft, 3000);
    EXPECT_EQ(treeTogglePreAdjust(SplitterState{2000, 5000}).IsbLeft, 5000);

    s = previewTogglePreAdjust(SplitterState{2000, 2500});
    EXPECT_EQ(s.IsaLeft, 1500);
    EXPECT_EQ(s.IsbLeft, 2500);
    EXPECT_EQ(previewTogglePreAdjust(SplitterState{2000, 3000}).IsaLeft, 2000);
    EXPECT_EQ(previewTogglePreAdjust(SplitterState{4000, 3000}).IsaLeft, 2000);

    // No wrap-around at the ends of the 32-bit range.
    EXPECT_EQ(treeTogglePreAdjust(SplitterState{2147483000, 0}).IsbLeft, 0);
    EXPECT_EQ(previewTogglePreAdjust(SplitterState{0, -2147483000}).IsaLeft, 0);
}
