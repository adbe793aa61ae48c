#pragma once
// The main window's layout arithmetic in twips: sizeControls places every pane from the
// window's size, the splitter positions and the pane flags; the resize handling keeps the
// splitters at the same fraction of the width; start-up and the pane toggles move the
// splitters apart before a layout. Splitter positions are 32-bit, so a window wider than
// 32767 twips keeps its proportions.

#include "common/units.h"

#include <cstdint>

namespace pavix::shell {

using common::TwipRect;

// Every control the layout places. All in twips of the main window, except thumbStrip and
// thumbScrollBar, which sit inside thumbArea and are measured in its centimetres (567 twips).
struct Controls {
    TwipRect imagesLabel; // inside the title strip
    TwipRect progressBar; // inside the title strip
    TwipRect list;
    TwipRect tree;
    TwipRect previewFrame;
    TwipRect treeSplitter;
    TwipRect previewSplitter;
    TwipRect thumbArea;
    TwipRect thumbStrip;     // centimetres
    TwipRect thumbScrollBar; // centimetres
    bool treeVisible = true;
    bool previewVisible = true;
    bool treeSplitterVisible = true;
    bool previewSplitterVisible = true;
};

struct LayoutInput {
    double outerWidth = 0;   // outer width of the main window
    double clientHeight = 0; // height of its client area
    std::int32_t treeSplitterLeft = 2000;
    std::int32_t previewSplitterLeft = 5000;
    bool toolBarVisible = true;
    bool treeVisible = true;
    bool previewVisible = true;
    bool statusBarChecked = true;
    double toolBarHeight = 360;
    double titleStripTop = 360; // 0 while the tool bar is hidden
    double titleStripHeight = 280;
    double imagesLabelLeft = 3225; // within the title strip
    // What the controls report now; a size the layout cannot give leaves it as it is.
    Controls current;
    // The ratios of the previous pass, kept when a new one cannot be computed (a splitter
    // at 0).
    float treeSplitterRatio = 0.0f;
    float previewSplitterRatio = 0.0f;
};

struct LayoutResult {
    std::int32_t treeSplitterLeft = 0;
    std::int32_t previewSplitterLeft = 0;
    float treeSplitterRatio = 0.0f;    // outerWidth / treeSplitterLeft
    float previewSplitterRatio = 0.0f; // outerWidth / previewSplitterLeft
    Controls controls;
};

// Lays out every pane: clamps the splitters (treeSplitterLeft at least 1000, previewSplitterLeft at most outerWidth - 1000,
// both reset to 1000 and outerWidth - 1000 when they cross), records the ratios, then places imagesLabel,
// progressBar, list, tree, previewFrame, treeSplitter, previewSplitter, thumbArea, thumbScrollBar and thumbStrip in that order. An assignment
// that would make a width or height negative is skipped and the control keeps its old
// value, which later placements then read; a window too small for the panes thus never
// produces a negative size. Refitting the preview picture is the caller's.
LayoutResult sizeControls(const LayoutInput &input);

struct SplitterState {
    std::int32_t treeSplitterLeft = 2000;
    std::int32_t previewSplitterLeft = 5000;
    float treeSplitterRatio = 0.0f;
    float previewSplitterRatio = 0.0f;
};

// The clamps start-up applies to the stored splitter positions for a window outerWidth twips wide:
// treeSplitterLeft at least 1000; previewSplitterLeft at most outerWidth - 1000; both reset to 1000 and outerWidth - 1000 when
// treeSplitterLeft >= previewSplitterLeft; and a gap of 1000 or less widened by 500 on each side. The ratios
// pass through unchanged. A step whose result does not fit 32 bits is skipped.
SplitterState clampStartupSplitters(double outerWidth, SplitterState state);

// The splitters after the window became outerWidth twips wide (outerWidth already raised to its minimum):
// the start-up clamps, then each position = outerWidth / its ratio of the last layout pass, rounded
// ties to even. A ratio of 0 (no pass yet) or a quotient beyond 32 bits keeps the clamped
// position. The ratios pass through unchanged.
SplitterState resizeSplitters(double outerWidth, SplitterState state);

// Width of each of the three list columns at start-up, twips: (previewSplitterLeft - treeSplitterLeft - 350) / 3.
double initialColumnWidth(std::int32_t treeSplitterLeft, std::int32_t previewSplitterLeft);

// Before the folder tree is shown or hidden: previewSplitterLeft is moved to treeSplitterLeft + 1000 when it is
// closer than that.
SplitterState treeTogglePreAdjust(SplitterState state);

// Before the preview pane is shown or hidden: treeSplitterLeft is moved to previewSplitterLeft - 1000 when it is
// closer than that.
SplitterState previewTogglePreAdjust(SplitterState state);

} // namespace pavix::shell
