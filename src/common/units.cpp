#include "common/units.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace pavix::common {

double roundHalfEven(double value)
{
    if (!std::isfinite(value))
        return value;
    // nearbyint rounds with the current mode, which is round-to-nearest-even by default.
    const double floorValue = std::floor(value);
    const double diff = value - floorValue;
    if (diff < 0.5)
        return floorValue;
    if (diff > 0.5)
        return floorValue + 1.0;
    return std::fmod(floorValue, 2.0) == 0.0 ? floorValue : floorValue + 1.0;
}

std::optional<std::int32_t> toInt32(double value)
{
    const double r = roundHalfEven(value);
    if (!std::isfinite(r) || r < std::numeric_limits<std::int32_t>::min()
        || r > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return static_cast<std::int32_t>(r);
}

double twipsPerPixelForDpi(double logicalDpi)
{
    if (!(logicalDpi > 0.0))
        return 15.0;
    return TwipsPerInch / logicalDpi;
}

int twipsToPixels(double twips, double twipsPerPixel)
{
    if (!(twipsPerPixel > 0.0))
        twipsPerPixel = 15.0;
    const auto px = toInt32(twips / twipsPerPixel);
    if (px)
        return *px;
    return twips < 0 ? std::numeric_limits<std::int32_t>::min() : std::numeric_limits<std::int32_t>::max();
}

double pixelsToTwips(double pixels, double twipsPerPixel)
{
    return pixels * twipsPerPixel;
}

} // namespace pavix::common

namespace pavix::common {

double outerTwips(int clientPx, double twipsPerPixel)
{
    return (clientPx + FrameAllowancePx) * twipsPerPixel;
}

int clientPixels(double outerTwips, double twipsPerPixel)
{
    if (!(twipsPerPixel > 0.0))
        twipsPerPixel = 15.0;
    const double client = std::round(outerTwips / twipsPerPixel - FrameAllowancePx);
    return static_cast<int>(std::clamp(client, 1.0, double(std::numeric_limits<int>::max())));
}

int devicePixels(int logicalPx, double devicePixelRatio)
{
    if (!(devicePixelRatio > 0.0))
        return logicalPx;
    return static_cast<int>(std::lround(logicalPx * devicePixelRatio));
}

QRect twipsToPixels(const TwipRect &rect, double twipsPerPixel)
{
    return QRect(twipsToPixels(rect.left, twipsPerPixel), twipsToPixels(rect.top, twipsPerPixel),
                 std::max(0, twipsToPixels(rect.width, twipsPerPixel)),
                 std::max(0, twipsToPixels(rect.height, twipsPerPixel)));
}

} // namespace pavix::common
