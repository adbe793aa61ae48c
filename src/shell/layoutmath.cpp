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

// W / position at single precision; the previous ratio when the quotient is not a number.
float ratio(double W, std::int32_t position, float previous)
{
    if (position == 0)
        return previous;
    const float quotient = toSingle(W / position);
    return std::isfinite(quotient) ? quotient : previous;
}

// The three clamps every layout pass and the resize handling apply first.
void clampSplitters(double W, std::int32_t &IsaLeft, std::int32_t &IsbLeft)
{
    if (IsaLeft < SplitterMargin)
        IsaLeft = SplitterMargin;
    if (W - SplitterMargin < IsbLeft) {
        if (const auto right = toInt32(W - SplitterMargin))
            IsbLeft = *right;
    }
    if (IsaLeft >= IsbLeft) {
        IsaLeft = SplitterMargin;
        if (const auto right = toInt32(W - SplitterMargin))
            IsbLeft = *right;
    }
}

} // namespace

LayoutResult SizeControls(const LayoutInput &input)
{
    const double W = toSingle(input.W);
    const double SH = toSingle(input.SH);

    LayoutResult result;
    std::int32_t IsaLeft = input.IsaLeft;
    std::int32_t IsbLeft = input.IsbLeft;
    clampSplitters(W, IsaLeft, IsbLeft);
    result.IsaLeft = IsaLeft;
    result.IsbLeft = IsbLeft;
    result.IsaRatio = ratio(W, IsaLeft, input.IsaRatio);
    result.IsbRatio = ratio(W, IsbLeft, input.IsbRatio);

    Controls c = input.current;
    c.tvVisible = input.tvVisible;
    c.pvVisible = input.pvVisible;

    // Count label and progress bar run to the window's right edge.
    place(c.lblImg.left, input.lblImgLeft);
    extent(c.lblImg.width, W - c.lblImg.left);
    place(c.proBar.left, c.lblImg.left);
    extent(c.proBar.width, c.lblImg.width);

    // The file area: below tool bar and title strip, above the status bar.
    place(c.Lv.top, input.tbarVisible ? input.tbarHeight + input.picTitlesHeight
                                      : input.picTitlesHeight);
    const double statusReserve = input.statusBarChecked ? StatusBarReserve : 0.0;
    extent(c.Lv.height, SH - (input.picTitlesTop + input.picTitlesHeight + statusReserve));
    if (input.tvVisible) {
        place(c.Lv.left, double(IsaLeft) + 40);
        extent(c.Lv.width, input.pvVisible ? double(IsbLeft) - IsaLeft - 40
                                           : W - (double(IsaLeft) + 160));
    } else {
        place(c.Lv.left, 0);
        extent(c.Lv.width, input.pvVisible ? double(IsbLeft) : W - 100);
    }

    place(c.Tv.left, 0);
    place(c.Tv.top, c.Lv.top + 20);
    extent(c.Tv.height, c.Lv.height - 20);
    extent(c.Tv.width, IsaLeft);

    place(c.Pv.left, double(IsbLeft) + 40);
    place(c.Pv.top, c.Lv.top);
    extent(c.Pv.width, W - (double(IsbLeft) + 160));
    extent(c.Pv.height, c.Lv.height - 20);

    // Each splitter reaches 70 above the file area and 10 below it.
    place(c.Isa.left, IsaLeft);
    place(c.Isa.top, c.Lv.top - 70);
    extent(c.Isa.height, c.Lv.height + 60);
    c.IsaVisible = input.tvVisible;

    place(c.Isb.left, IsbLeft);
    place(c.Isb.top, c.Lv.top - 70);
    extent(c.Isb.height, c.Lv.height + 60);
    c.IsbVisible = input.pvVisible;

    place(c.picBase.left, c.Lv.left);
    place(c.picBase.top, c.Lv.top + 20);
    extent(c.picBase.height, c.Lv.height - 40);
    extent(c.picBase.width, c.Lv.width - 10);

    // Inside the viewport, in its centimetres: the scroll bar 280 twips in from its right
    // edge and 70 twips shorter; the strip as wide as the viewport, under the scroll bar.
    place(c.VScroll1.left, (c.picBase.width - 280) / TwipsPerCm);
    extent(c.VScroll1.height, (c.picBase.height - 70) / TwipsPerCm);
    extent(c.picScroll.width, c.picBase.width / TwipsPerCm);

    result.controls = c;
    return result;
}

SplitterState clampStartupSplitters(double W, SplitterState state)
{
    W = toSingle(W);
    clampSplitters(W, state.IsaLeft, state.IsbLeft);
    if (std::int64_t(state.IsbLeft) - state.IsaLeft <= MinGap) {
        if (const auto left = add32(state.IsaLeft, -GapWidening))
            state.IsaLeft = *left;
        if (const auto right = add32(state.IsbLeft, GapWidening))
            state.IsbLeft = *right;
    }
    return state;
}

SplitterState resizeSplitters(double W, SplitterState state)
{
    const float width = toSingle(W);
    state = clampStartupSplitters(width, state);
    // Keep each splitter at the fraction of the width it had at the last layout pass.
    if (state.IsaRatio != 0.0f) {
        if (const auto left = toInt32(width / state.IsaRatio))
            state.IsaLeft = *left;
    }
    if (state.IsbRatio != 0.0f) {
        if (const auto right = toInt32(width / state.IsbRatio))
            state.IsbLeft = *right;
    }
    return state;
}

double initialColumnWidth(std::int32_t IsaLeft, std::int32_t IsbLeft)
{
    return (double(IsbLeft) - double(IsaLeft) - 350.0) / 3.0;
}

SplitterState treeTogglePreAdjust(SplitterState state)
{
    if (std::int64_t(state.IsbLeft) < std::int64_t(state.IsaLeft) + MinGap) {
        if (const auto right = add32(state.IsaLeft, MinGap))
            state.IsbLeft = *right;
    }
    return state;
}

SplitterState previewTogglePreAdjust(SplitterState state)
{
    if (std::int64_t(state.IsaLeft) > std::int64_t(state.IsbLeft) - MinGap) {
        if (const auto left = add32(state.IsbLeft, -MinGap))
            state.IsaLeft = *left;
    }
    return state;
}

} // namespace pavix::shell
