#include "preview/previewfit.h"

#include <cmath>
#include <limits>

namespace pavix::preview {

namespace {

constexpr int PaneMargin = 100;     // twips kept free at each side of a shrunk image
constexpr int BorderAllowance = 60; // twips added for the image's flat border

// Sets a position when it could be computed.
void setPosition(double &target, float value)
{
    if (std::isfinite(value))
        target = value;
}

// Sets a size when it could be computed and is not negative; otherwise the image keeps
// the size it had, as a size the control refuses leaves it unchanged.
void setSize(double &target, double value)
{
    if (std::isfinite(value) && value >= 0.0)
        target = value;
}

// Whole-number sum the way a 32-bit integer holds it; past the range there is no sum.
bool sum32(std::int32_t a, std::int32_t b, std::int64_t &out)
{
    const std::int64_t s = static_cast<std::int64_t>(a) + b;
    if (s > std::numeric_limits<std::int32_t>::max() || s < std::numeric_limits<std::int32_t>::min())
        return false;
    out = s;
    return true;
}

} // namespace

PreviewGeometry fittedPreview(std::int32_t widthTwips, std::int32_t heightTwips, double paneLeft, double paneTop,
                              double paneWidth, double paneHeight, bool paneVisible, const PreviewGeometry &current)
{
    PreviewGeometry image = current;

    // The picture's aspect ratio, formed in double and kept as single. Without a height (or
    // without a width, giving a ratio of 0) no shrunk height can be formed.
    float ratio = 0.0f;
    if (heightTwips != 0)
        ratio = static_cast<float>(static_cast<double>(widthTwips) / heightTwips);

    // Only the width decides; a sum past 32 bits cannot be compared, so the picture is
    // taken as too wide.
    std::int64_t neededWidth = 0;
    const bool tooWide = !sum32(widthTwips, 2 * PaneMargin, neededWidth)
                         || paneWidth < static_cast<double>(neededWidth);

    if (tooWide) {
        setSize(image.width, static_cast<float>(paneWidth) - 2.0f * PaneMargin);
        if (ratio != 0.0f)
            setSize(image.height, static_cast<float>(image.width) / ratio + static_cast<float>(BorderAllowance));
        setPosition(image.left, static_cast<float>(paneLeft) + PaneMargin);
        setPosition(image.top, static_cast<float>(paneTop)
                                   + (static_cast<float>(paneHeight) - static_cast<float>(image.height)) / 2.0f);
    } else {
        std::int64_t sum = 0;
        if (sum32(widthTwips, BorderAllowance, sum))
            setSize(image.width, static_cast<double>(sum));
        if (sum32(heightTwips, BorderAllowance, sum))
            setSize(image.height, static_cast<double>(sum));
        // Centred on the picture's own size, not the enlarged image's.
        setPosition(image.left, static_cast<float>(paneLeft)
                                    + (static_cast<float>(paneWidth) - static_cast<float>(widthTwips)) / 2.0f);
        setPosition(image.top, static_cast<float>(paneTop)
                                   + (static_cast<float>(paneHeight) - static_cast<float>(heightTwips)) / 2.0f);
    }

    image.visible = paneVisible;
    return image;
}

} // namespace pavix::preview
