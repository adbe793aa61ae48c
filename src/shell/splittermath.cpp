#include "shell/splittermath.h"

#include "common/units.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace pavix::shell {

using common::roundHalfEven;
using common::toSingle;

namespace {

constexpr double GhostInset = 100;   // the ghost bar starts this far below the splitter top
constexpr double GhostShorter = 140; // and is this much shorter than the splitter
constexpr double EdgeMargin = 1000;  // nearest the ghost bar comes to a window edge
constexpr std::int64_t PartnerGap = 1000;

// Rounded ties to even and held within the 32-bit range; NaN gives 0.
std::int32_t position32(double value)
{
    if (std::isnan(value))
        return 0;
    const double rounded = roundHalfEven(value);
    const double low = std::numeric_limits<std::int32_t>::min();
    const double high = std::numeric_limits<std::int32_t>::max();
    return std::int32_t(std::clamp(rounded, low, high));
}

std::int32_t clamp32(std::int64_t value)
{
    return std::int32_t(std::clamp<std::int64_t>(value, std::numeric_limits<std::int32_t>::min(),
                                                 std::numeric_limits<std::int32_t>::max()));
}

} // namespace

TwipRect ghostRectForPress(const TwipRect &splitter)
{
    TwipRect ghost;
    ghost.left = splitter.left;
    ghost.top = toSingle(splitter.top + GhostInset);
    // NOLINTNEXTLINE(bugprone-integer-division): half the width in whole twips, rounded down
    ghost.width = std::max(position32(splitter.width), 0) / 2;
    ghost.height = std::max(0.0f, toSingle(splitter.height - GhostShorter));
    return ghost;
}

double ghostLeftForMove(double splitterLeft, double x, double outerWidth)
{
    const float pointer = toSingle(splitterLeft + x);
    if (pointer < EdgeMargin)
        return EdgeMargin;
    const float right = toSingle(outerWidth - EdgeMargin);
    if (pointer > right)
        return right;
    return pointer;
}

SplitterState releaseTreeSplitter(double treeGhostLeft, double previewSplitterLeft, bool previewVisible)
{
    SplitterState state{position32(treeGhostLeft), position32(previewSplitterLeft), 0.0f, 0.0f};
    if (previewVisible && std::int64_t(state.previewSplitterLeft) - PartnerGap < state.treeSplitterLeft)
        state.treeSplitterLeft = clamp32(std::int64_t(state.previewSplitterLeft) - PartnerGap);
    return state;
}

SplitterState releasePreviewSplitter(double treeSplitterLeft, double previewGhostLeft, bool treeVisible)
{
    SplitterState state{position32(treeSplitterLeft), position32(previewGhostLeft), 0.0f, 0.0f};
    if (treeVisible && state.previewSplitterLeft < std::int64_t(state.treeSplitterLeft) + PartnerGap)
        state.previewSplitterLeft = clamp32(std::int64_t(state.treeSplitterLeft) + PartnerGap);
    return state;
}

} // namespace pavix::shell
