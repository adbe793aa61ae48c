#include "shell/layoutmath.h"

#include "common/units.h"

#include <cmath>
#include <optional>

namespace pavix::shell {

using common::toInt32;
using common::toSingle;
using common::TwipsPerCm;

namespace {

constexpr std::int32_t SplitterMargin = 1000; // nearest a splitter comes to a window edge
constexpr std::int32_t MinGap = 1000;         // the gap start-up and resizing widen
constexpr std::int32_t GapWidening = 500;     // added on each side of a narrow gap
constexpr double StatusBarReserve = 300;      // kept free under the panes for the status bar

// A position as a control takes it: held at single precision; a value a single cannot hold
// is refused and the old one stays.
void place(double &field, double value)
{
    const float single = toSingle(value);
    if (std::isfinite(single))
        field = single + 0.0f;
}

// A width or height as a control takes it: as place(), and a negative size is refused too.
void extent(double &field, double value)
{
    const float single = toSingle(value);
    if (std::isfinite(single) && single >= 0.0f)
        field = single + 0.0f;
}

std::optional<std::int32_t> add32(std::int32_t value, std::int64_t delta)
{
    return toInt32(double(std::int64_t(value) + delta));
}

// outerWidth / position at single precision; the previous ratio when the quotient is not a number.
float ratio(double outerWidth, std::int32_t position, float previous)
{
    if (position == 0)
        return previous;
    const float quotient = toSingle(outerWidth / position);
    return std::isfinite(quotient) ? quotient : previous;
}

// The three clamps every layout pass and the resize handling apply first.
void clampSplitters(double outerWidth, std::int32_t &treeSplitterLeft, std::int32_t &previewSplitterLeft)
{
    if (treeSplitterLeft < SplitterMargin)
        treeSplitterLeft = SplitterMargin;
    if (outerWidth - SplitterMargin < previewSplitterLeft) {
        if (const auto right = toInt32(outerWidth - SplitterMargin))
            previewSplitterLeft = *right;
    }
    if (treeSplitterLeft >= previewSplitterLeft) {
        treeSplitterLeft = SplitterMargin;
        if (const auto right = toInt32(outerWidth - SplitterMargin))
            previewSplitterLeft = *right;
    }
}

} // namespace

LayoutResult sizeControls(const LayoutInput &input)
{
    const double outerWidth = toSingle(input.outerWidth);
    const double clientHeight = toSingle(input.clientHeight);

    LayoutResult result;
    std::int32_t treeSplitterLeft = input.treeSplitterLeft;
    std::int32_t previewSplitterLeft = input.previewSplitterLeft;
    clampSplitters(outerWidth, treeSplitterLeft, previewSplitterLeft);
    result.treeSplitterLeft = treeSplitterLeft;
    result.previewSplitterLeft = previewSplitterLeft;
    result.treeSplitterRatio = ratio(outerWidth, treeSplitterLeft, input.treeSplitterRatio);
    result.previewSplitterRatio = ratio(outerWidth, previewSplitterLeft, input.previewSplitterRatio);

    Controls c = input.current;
    c.treeVisible = input.treeVisible;
    c.previewVisible = input.previewVisible;

    // Count label and progress bar run to the window's right edge.
    place(c.imagesLabel.left, input.imagesLabelLeft);
    extent(c.imagesLabel.width, outerWidth - c.imagesLabel.left);
    place(c.progressBar.left, c.imagesLabel.left);
    extent(c.progressBar.width, c.imagesLabel.width);

    // The file area: below tool bar and title strip, above the status bar.
    place(c.list.top, input.toolBarVisible ? input.toolBarHeight + input.titleStripHeight : input.titleStripHeight);
    const double statusReserve = input.statusBarChecked ? StatusBarReserve : 0.0;
    extent(c.list.height, clientHeight - (input.titleStripTop + input.titleStripHeight + statusReserve));
    if (input.treeVisible) {
        place(c.list.left, double(treeSplitterLeft) + 40);
        extent(c.list.width, input.previewVisible ? double(previewSplitterLeft) - treeSplitterLeft - 40
                                                  : outerWidth - (double(treeSplitterLeft) + 160));
    } else {
        place(c.list.left, 0);
        extent(c.list.width, input.previewVisible ? double(previewSplitterLeft) : outerWidth - 100);
    }

    place(c.tree.left, 0);
    place(c.tree.top, c.list.top + 20);
    extent(c.tree.height, c.list.height - 20);
    extent(c.tree.width, treeSplitterLeft);

    place(c.previewFrame.left, double(previewSplitterLeft) + 40);
    place(c.previewFrame.top, c.list.top);
    extent(c.previewFrame.width, outerWidth - (double(previewSplitterLeft) + 160));
    extent(c.previewFrame.height, c.list.height - 20);

    // Each splitter reaches 70 above the file area and 10 below it.
    place(c.treeSplitter.left, treeSplitterLeft);
    place(c.treeSplitter.top, c.list.top - 70);
    extent(c.treeSplitter.height, c.list.height + 60);
    c.treeSplitterVisible = input.treeVisible;

    place(c.previewSplitter.left, previewSplitterLeft);
    place(c.previewSplitter.top, c.list.top - 70);
    extent(c.previewSplitter.height, c.list.height + 60);
    c.previewSplitterVisible = input.previewVisible;

    place(c.thumbArea.left, c.list.left);
    place(c.thumbArea.top, c.list.top + 20);
    extent(c.thumbArea.height, c.list.height - 40);
    extent(c.thumbArea.width, c.list.width - 10);

    // Inside the viewport, in its centimetres: the scroll bar 280 twips in from its right
    // edge and 70 twips shorter; the strip as wide as the viewport, under the scroll bar.
    place(c.thumbScrollBar.left, (c.thumbArea.width - 280) / TwipsPerCm);
    extent(c.thumbScrollBar.height, (c.thumbArea.height - 70) / TwipsPerCm);
    extent(c.thumbStrip.width, c.thumbArea.width / TwipsPerCm);

    result.controls = c;
    return result;
}

SplitterState clampStartupSplitters(double outerWidth, SplitterState state)
{
    outerWidth = toSingle(outerWidth);
    clampSplitters(outerWidth, state.treeSplitterLeft, state.previewSplitterLeft);
    if (std::int64_t(state.previewSplitterLeft) - state.treeSplitterLeft <= MinGap) {
        if (const auto left = add32(state.treeSplitterLeft, -GapWidening))
            state.treeSplitterLeft = *left;
        if (const auto right = add32(state.previewSplitterLeft, GapWidening))
            state.previewSplitterLeft = *right;
    }
    return state;
}

SplitterState resizeSplitters(double outerWidth, SplitterState state)
{
    const float width = toSingle(outerWidth);
    state = clampStartupSplitters(width, state);
    // Keep each splitter at the fraction of the width it had at the last layout pass.
    if (state.treeSplitterRatio != 0.0f) {
        if (const auto left = toInt32(width / state.treeSplitterRatio))
            state.treeSplitterLeft = *left;
    }
    if (state.previewSplitterRatio != 0.0f) {
        if (const auto right = toInt32(width / state.previewSplitterRatio))
            state.previewSplitterLeft = *right;
    }
    return state;
}

double initialColumnWidth(std::int32_t treeSplitterLeft, std::int32_t previewSplitterLeft)
{
    return (double(previewSplitterLeft) - double(treeSplitterLeft) - 350.0) / 3.0;
}

SplitterState treeTogglePreAdjust(SplitterState state)
{
    if (std::int64_t(state.previewSplitterLeft) < std::int64_t(state.treeSplitterLeft) + MinGap) {
        if (const auto right = add32(state.treeSplitterLeft, MinGap))
            state.previewSplitterLeft = *right;
    }
    return state;
}

SplitterState previewTogglePreAdjust(SplitterState state)
{
    if (std::int64_t(state.treeSplitterLeft) > std::int64_t(state.previewSplitterLeft) - MinGap) {
        if (const auto left = add32(state.previewSplitterLeft, -MinGap))
            state.treeSplitterLeft = *left;
    }
    return state;
}

} // namespace pavix::shell
