#pragma once
// The main window's layout arithmetic in twips: SizeControls places every pane from the
// window's size, the splitter positions and the pane flags; the resize handling keeps the
// splitters at the same fraction of the width; start-up and the pane toggles move the
// splitters apart before a layout. Splitter positions are 32-bit, so a window wider than
// 32767 twips keeps its proportions.

#include <cstdint>

namespace pavix::shell {

// A control's rectangle as it reports it. Values are held at single precision, the way the
// controls hold their geometry.
struct TwipRect {
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;
};

// Every control the layout places. All in twips of the main window, except picScroll and
// VScroll1, which sit inside picBase and are measured in its centimetres (567 twips).
struct Controls {
    TwipRect lblImg;   // inside the title strip
    TwipRect proBar;   // inside the title strip
    TwipRect Lv;
    TwipRect Tv;
    TwipRect Pv;
    TwipRect Isa;
    TwipRect Isb;
    TwipRect picBase;
    TwipRect picScroll; // centimetres
    TwipRect VScroll1;  // centimetres
    bool tvVisible = true;
    bool pvVisible = true;
    bool IsaVisible = true;
    bool IsbVisible = true;
};

struct LayoutInput {
    double W = 0;  // outer width of the main window
    double SH = 0; // height of its client area
    std::int32_t IsaLeft = 2000;
    std::int32_t IsbLeft = 5000;
    bool tbarVisible = true;
    bool tvVisible = true;
    bool pvVisible = true;
    bool statusBarChecked = true;
    double tbarHeight = 360;
    double picTitlesTop = 360; // 0 while the tool bar is hidden
    double picTitlesHeight = 280;
    double lblImgLeft = 3225;  // within the title strip
    // What the controls report now; a size the layout cannot give leaves it as it is.
    Controls current;
    // The ratios of the previous pass, kept when a new one cannot be computed (a splitter
    // at 0).
    float IsaRatio = 0.0f;
    float IsbRatio = 0.0f;
};

struct LayoutResult {
    std::int32_t IsaLeft = 0;
    std::int32_t IsbLeft = 0;
    float IsaRatio = 0.0f; // W / IsaLeft
    float IsbRatio = 0.0f; // W / IsbLeft
    Controls controls;
};

// Lays out every pane: clamps the splitters (IsaLeft at least 1000, IsbLeft at most W - 1000,
// both reset to 1000 and W - 1000 when they cross), records the ratios, then places lblImg,
// proBar, Lv, Tv, Pv, Isa, Isb, picBase, VScroll1 and picScroll in that order. An assignment
// that would make a width or height negative is skipped and the control keeps its old
// value, which later placements then read; a window too small for the panes thus never
// produces a negative size. Refitting the preview picture is the caller's.
LayoutResult SizeControls(const LayoutInput &input);

struct SplitterState {
    std::int32_t IsaLeft = 2000;
    std::int32_t IsbLeft = 5000;
    float IsaRatio = 0.0f;
    float IsbRatio = 0.0f;
};

// The clamps start-up applies to the stored splitter positions for a window W twips wide:
// IsaLeft at least 1000; IsbLeft at most W - 1000; both reset to 1000 and W - 1000 when
// IsaLeft >= IsbLeft; and a gap of 1000 or less widened by 500 on each side. The ratios
// pass through unchanged. A step whose result does not fit 32 bits is skipped.
SplitterState clampStartupSplitters(double W, SplitterState state);

// The splitters after the window became W twips wide (W already raised to its minimum):
// the start-up clamps, then each position = W / its ratio of the last layout pass, rounded
// ties to even. A ratio of 0 (no pass yet) or a quotient beyond 32 bits keeps the clamped
// position. The ratios pass through unchanged.
SplitterState resizeSplitters(double W, SplitterState state);

// Width of each of the three list columns at start-up, twips: (IsbLeft - IsaLeft - 350) / 3.
double initialColumnWidth(std::int32_t IsaLeft, std::int32_t IsbLeft);

// Before the folder tree is shown or hidden: IsbLeft is moved to IsaLeft + 1000 when it is
// closer than that.
SplitterState treeTogglePreAdjust(SplitterState state);

// Before the preview pane is shown or hidden: IsaLeft is moved to IsbLeft - 1000 when it is
// closer than that.
SplitterState previewTogglePreAdjust(SplitterState state);

} // namespace pavix::shell
