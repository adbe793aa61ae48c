#pragma once
// Whether a picture tiles without visible seams: how much the colour jumps where one copy
// meets the next, against how much it changes between neighbouring pixels inside the
// picture.

#include <QColor>
#include <QImage>
#include <QString>

namespace pavix::preview {

enum class SeamGrade { Seamless = 0, Faint = 1, Visible = 2 };

// The seam ratios of the two edges where copies meet: the left-right edge (the last column
// against the first) and the top-bottom edge (the last row against the first).
struct SeamRatios {
    double leftRight = 1.0;
    double topBottom = 1.0;
    double worst() const { return leftRight > topBottom ? leftRight : topBottom; }
};

// The seam ratio of `picture` tiled edge to edge, 1 or more. Across the vertical edge, the
// mean colour difference between the last column and the first is set against the mean
// difference between neighbouring columns inside the picture; across the horizontal edge
// likewise for the last and first rows. A colour difference is the mean of the absolute
// differences of red, green and blue (0-255); each mean counts as at least 1, so a flat
// or gently changing picture gives 1. The larger of the two ratios is returned. In a
// picture over 65 rows high the inside is measured on about 64 evenly spread rows (and the
// pairs they start), the edges on every row or column. A picture
// one pixel wide (or high) has no edge that way: that ratio is 1. Transparent parts count
// as drawn over `background`. A null picture gives 1.
double seamRatio(const QImage &picture, QColor background);

// Both ratios that seamRatio() takes the larger of.
SeamRatios seamRatios(const QImage &picture, QColor background);

// The grade of a ratio once rounded to one decimal: Seamless up to 1.5, Faint up to 3,
// Visible above.
SeamGrade seamGrade(double ratio);

// "Tiles: seamless (1.0)", "Tiles: faint seams (2.1)", "Tiles: visible seams (7.2)": the
// grade and the ratio rounded to one decimal.
QString seamText(double ratio);

// The text of the worse edge's ratio, naming that edge when it has a seam: "Tiles: visible
// seams (4.2), left-right edge", "Tiles: faint seams (2.1), top-bottom edge"; the
// left-right edge when both are alike.
QString seamText(const SeamRatios &ratios);

} // namespace pavix::preview
