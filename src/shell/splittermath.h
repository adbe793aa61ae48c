#pragma once
// The splitters' drag arithmetic in twips: where the ghost bar appears on a press, how far it
// follows the pointer, and the positions a release commits. The window lays itself out with
// sizeControls after a release, which applies the splitter clamps.

#include "shell/layoutmath.h"

namespace pavix::shell {

// The ghost bar shown on a press: at the splitter's left, 100 below its top, half its width
// (the width rounded ties to even, then halved downwards: 90 -> 45) and 140 shorter. A
// splitter shorter than 140 gives a ghost bar of height 0 rather than a negative one.
TwipRect ghostRectForPress(const TwipRect &splitter);

// The ghost bar's left for a pointer at x (relative to the splitter, whose left edge is
// splitterLeft) in a window outerWidth wide: splitterLeft + x, kept within 1000 ... outerWidth - 1000.
double ghostLeftForMove(double splitterLeft, double x, double outerWidth);

// The positions committed by releasing treeSplitter with its ghost bar at treeGhostLeft while previewSplitter is at
// previewSplitterLeft: both rounded ties to even, then, while the preview pane is shown, treeSplitterLeft kept at
// least 1000 left of previewSplitterLeft. Positions beyond 32 bits are held at the nearest 32-bit value
// (NaN as 0). The ratios are 0: the layout pass that follows computes them.
SplitterState releaseTreeSplitter(double treeGhostLeft, double previewSplitterLeft, bool previewVisible);

// As releaseTreeSplitter for previewSplitter with its ghost bar at previewGhostLeft while treeSplitter is at treeSplitterLeft: while the
// folder tree is shown, previewSplitterLeft is kept at least 1000 right of treeSplitterLeft.
SplitterState releasePreviewSplitter(double treeSplitterLeft, double previewGhostLeft, bool treeVisible);

} // namespace pavix::shell
