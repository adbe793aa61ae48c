#include "shell/splittermath.h"

#include "common/units.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace pavix::shell {

using common::roundHalfEven;
using common::toSingle;

namespace {

constexpr double GhostInset = 100;    // the ghost bar starts this far below the splitter top
constexpr double GhostShorter = 140;  // and is this much shorter than the splitter
constexpr double EdgeMargin = 1000;   // nearest the ghost bar comes to a window edge
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
    ghost.width = std::max(position32(splitter.width), 0) / 2;
    ghost.height = std::max(0.0f, toSingle(splitter.height - GhostShorter));
    return ghost;
}

double ghostLeftForMove(double splitterLeft, double x, double W)
{
    const float pointer = toSingle(splitterLeft + x);
    if (pointer < EdgeMargin)
        return EdgeMargin;
    const float right = toSingle(W - EdgeMargin);
    if (pointer > right)
        return right;
    return pointer;
}

SplitterState releaseIsa(double psaLeft, double isbLeft, bool pvVisible)
{
    SplitterState state{position32(psaLeft), position32(isbLeft), 0.0f, 0.0f};
    if (pvVisible && std::int64_t(state.IsbLeft) - PartnerGap < state.IsaLeft)
        state.IsaLeft = clamp32(std::int64_t(state.IsbLeft) - PartnerGap);
    return state;
}

SplitterState releaseIsb(double isaLeft, double psbLeft, bool tvVisible)
{
    SplitterState state{position32(isaLeft), position32(psbLeft), 0.0f, 0.0f};
    if (tvVisible && state.IsbLeft < std::int64_t(state.IsaLeft) + PartnerGap)
        state.IsbLeft = clamp32(std::int64_t(state.IsaLeft) + PartnerGap);
    return state;
}

} // namespace pavix::shell
