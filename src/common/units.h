#pragma once
// Units of the program: geometry is reasoned about in twips (1440 per inch), the thumbnail
// viewport in centimetres (567 twips each), the status window in pixels.

#include <QRect>

#include <cstdint>
#include <optional>

namespace pavix::common {

inline constexpr int TwipsPerInch = 1440;
inline constexpr int TwipsPerCm = 567;

// Rounds to the nearest integer, ties to even (2.5 -> 2, 3.5 -> 4, -0.5 -> 0).
double roundHalfEven(double value);

// The value as a single-precision number, the way single variables hold geometry.
inline float toSingle(double value)
{
    return static_cast<float>(value);
}

// Rounds half to even into a signed 32-bit integer; empty when the result does not fit.
std::optional<std::int32_t> toInt32(double value);

// Windows are measured as if they had the four-pixel sizing border they were designed
// with, so their panes keep the same margins, and a stored size comes back the same,
// whatever frame the window manager draws.
inline constexpr int FrameAllowancePx = 8;
// The outer length in twips of a window whose client area is `clientPx` long.
double outerTwips(int clientPx, double twipsPerPixel);
// The client length in pixels of a window `outerTwips` long outside, rounded; never below 1.
int clientPixels(double outerTwips, double twipsPerPixel);

// A control's rectangle in twips as it reports it. Values are held at single precision,
// the way the controls hold their geometry.
struct TwipRect {
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;
};

// Twips per pixel for a display of the given logical dpi (15 at 96 dpi). A dpi of 0 or
// less gives 15.
double twipsPerPixelForDpi(double logicalDpi);

// Converts between twips and pixels with a factor of twips per pixel; pixels are rounded
// half to even.
int twipsToPixels(double twips, double twipsPerPixel);
double pixelsToTwips(double pixels, double twipsPerPixel);
// The rectangle in pixels, each value converted on its own; a negative width or height
// becomes 0.
QRect twipsToPixels(const TwipRect &rect, double twipsPerPixel);

// The device pixels `logicalPx` logical pixels cover at `devicePixelRatio` (2 on a screen
// scaled to 200 %), rounded to the nearest; a ratio of 0 or less counts as 1.
int devicePixels(int logicalPx, double devicePixelRatio);

} // namespace pavix::common
