#pragma once
// Units of the program: geometry is reasoned about in twips (1440 per inch), the thumbnail
// viewport in centimetres (567 twips each), the status window in pixels.

#include <cstdint>
#include <optional>

namespace pavix::common {

inline constexpr int TwipsPerInch = 1440;
inline constexpr int TwipsPerCm = 567;

// Rounds to the nearest integer, ties to even (2.5 -> 2, 3.5 -> 4, -0.5 -> 0).
double roundHalfEven(double value);

// The value as a single-precision number, the way single variables hold geometry.
inline float toSingle(double value) { return static_cast<float>(value); }

// Rounds half to even into a signed 16-bit integer; empty when the result does not fit.
std::optional<std::int16_t> toInt16(double value);
// Rounds half to even into a signed 32-bit integer; empty when the result does not fit.
std::optional<std::int32_t> toInt32(double value);

// Twips per pixel for a display of the given logical dpi (15 at 96 dpi). A dpi of 0 or
// less gives 15.
double twipsPerPixelForDpi(double logicalDpi);

// Converts between twips and pixels with a factor of twips per pixel; pixels are rounded
// half to even.
int twipsToPixels(double twips, double twipsPerPixel);
double pixelsToTwips(double pixels, double twipsPerPixel);

} // namespace pavix::common
