#pragma once
// How well the sample text reads on the tiled background: contrast ratios between the text
// colour and the colours under the text, as WCAG 2.x defines them (relative luminance of
// sRGB colours, ratio (lighter + 0.05) / (darker + 0.05), 1:1 to 21:1), and the grade a
// ratio earns for text of a given size.

#include <QColor>
#include <QImage>
#include <QRect>
#include <QString>

#include <optional>

namespace pavix::toolbox {

// Text of this many points and more counts as large (the sample is never bold).
inline constexpr double LargeTextPoints = 18;

// The WCAG 2.x relative luminance of an opaque colour: 0 for black to 1 for white. The
// alpha of `colour` is ignored.
double relativeLuminance(QRgb colour);

// The contrast ratio of two luminances, (lighter + 0.05) / (darker + 0.05): 1 to 21.
double contrastRatio(double luminanceA, double luminanceB);
// The contrast ratio of two opaque colours (alpha ignored).
double contrastRatio(QRgb a, QRgb b);

enum class ContrastGrade { Low = 0, AA = 1, AAA = 2 };

// The grade of a ratio for text of `pointSize` points: AAA from 7:1 (4.5:1 for large
// text), AA from 4.5:1 (3:1 for large text), otherwise Low. The ratio is compared as it
// is, never rounded up to a threshold.
ContrastGrade contrastGrade(double ratio, double pointSize);

// The colour a transparent pixel shows when it is drawn over `background`: `pixel` is
// premultiplied (QImage::Format_ARGB32_Premultiplied), the result opaque.
QRgb overBackground(QRgb premultipliedPixel, QRgb background);

// How the background under the text measures against the text colour. Each figure is a
// contrast ratio; `tenthPercentile` is the ratio that 90 % of the pixels reach or pass.
struct ContrastFigures {
    double tenthPercentile = 1;
    double median = 1;
    double minimum = 1;
};

// The contrast between `text` and the background under `area` on a surface covered with
// copies of `tile` at its pixel size from (0, 0) (the copy at (x, y) shows tile pixel
// (x mod width, y mod height), also for negative x and y). Transparent parts of the tile
// count as drawn over `background`. Every pixel of `area` counts once; of an area of more
// than 2^32 - 1 pixels only the first rows up to that many count. Luminances of the
// background are told apart to 1/65535. Nothing when the tile is null or the area empty.
std::optional<ContrastFigures> measureContrast(const QImage &tile, QColor background, const QRect &area, QColor text);

// The figure on the swatch, "4.5:1 AA": the ratio cut (never rounded up) to one decimal,
// then the grade ("AAA", "AA" or "low").
QString contrastFigureText(double ratio, ContrastGrade grade);

// The swatch's tool tip and accessible description: what the figure measures, the three
// figures cut to two decimals, and what AAA, AA and low mean. Without figures (no sample
// shown), what the swatch is.
QString contrastToolTip(const std::optional<ContrastFigures> &figures);

// Black or white, whichever has the higher contrast with `swatch` (black on a tie).
QColor figureInk(QColor swatch);

} // namespace pavix::toolbox
