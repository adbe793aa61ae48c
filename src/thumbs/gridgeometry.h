#pragma once
// Geometry of the thumbnail grid and its keyboard navigation. The strip measures its
// thumbnails in twips; the viewport measures the strip and the scroll bar in centimetres.

#include "common/keys.h"
#include <QPoint>

#include <optional>

namespace pavix::thumbs {

inline constexpr int CellPitch = 1000;       // twips; the picture takes 900, the gap the other 100
inline constexpr int ThumbSize = 900;        // twips, square, at the cell's top-left corner
inline constexpr int MarkerSize = 850;       // twips, the selection marker's side
inline constexpr int RowLimit = 245;         // the grid never grows past this many rows
inline constexpr float CmPerRow = 1.76367f;  // one row (1000 twips) in centimetres
inline constexpr float KTwipsPerCm = 0.567f; // centimetres to thousands of twips
inline constexpr int LargeStep = 7;          // scroll bar steps, in centimetres
inline constexpr int SmallStep = 1;

// Number of thumbnail columns for a strip and a scroll bar whose widths are in
// centimetres: the whole part (toward zero) of (strip - scroll) x 0.567 taken in single
// precision, so 11.0 and 0.42 give 5 (5.9989). Zero or negative when no column fits; a
// width that is not a number gives 0.
int columnCount(float stripWidthCm, float scrollWidthCm);

// Rows the viewport shows beyond the first two: viewport outer height / 1000 - 2, rounded
// half to even (2500 -> 0, 3500 -> 2). May be negative; a height that is not a number
// gives 0.
int reservedRows(double viewportHeightTwips);

struct GridPlan {
    int columns;       // thumbnails in a row; zero or negative when no column fits
    int lastColumn;    // columns - 1
    int reservedRows;  // rows the viewport holds, less two
    bool overRowLimit; // the build stops with the row-limit message
    // The rest holds only when overRowLimit is false; after a stop the scroll bar is hidden
    // and the strip keeps what it had.
    int lastRow;         // (count - 1) div columns, the last row's index (0 for an empty grid)
    int scrollMax;       // (lastRow - reservedRows) x 1.76367, half to even, centimetres; may be negative
    float stripHeightCm; // (lastRow + 1) x 1.76367
    bool scrollVisible;  // scrollMax > 1
};

// Plans a grid of count thumbnails. More than C x 245 thumbnails, or any thumbnail when
// no column fits (C <= 0), is over the row limit. A negative count counts as 0.
GridPlan planGrid(int count, float stripWidthCm, float scrollWidthCm, double viewportHeightTwips);

// Top-left corner of thumbnail index in strip twips: column index mod C, row index div C.
// A negative index or columns <= 0 gives (0, 0); rows past the int range are clamped.
QPoint cellPosition(int index, int columns);


// The thumbnail an arrow key (37 to 40) moves the selection to from thumbnail current, on a
// grid of count thumbnails whose last column is lastColumn. Empty when the key does nothing:
// another key, fewer than two thumbnails, current outside the grid, the grid's edge, or
// Up/Down on a grid without columns.
std::optional<int> arrowStep(int vkey, int current, int count, int lastColumn);

// New scroll position (centimetres) after Page Down (34) or Page Up (33) from position on
// a scroll bar of maximum max; other keys return position. Page Down goes to max when the
// bar is hidden or position >= max - 7, Page Up to 0 when hidden or position <= 7. The
// result is kept within 0 .. max(max, 0): a hidden bar with a negative maximum (the whole
// grid fits) leaves the strip's top at 0 rather than shifting the grid down.
int pageScroll(int vkey, int position, int max, bool scrollVisible);

// The strip's top inside the viewport, in centimetres, for a scroll position: minus the
// position. Positions below 0 give 0, so the first row never leaves the viewport's top.
double stripTopCm(int scrollPosition);

} // namespace pavix::thumbs
