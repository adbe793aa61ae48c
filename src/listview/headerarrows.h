#pragma once
// The two arrows a column header shows beside its caption when the list is sorted by that
// column: 12 x 12 pixels, red on a transparent background.

#include <QImage>
#include <QString>

namespace pavix::listview {

inline constexpr int HeaderArrowSizePx = 12;

// Image 0 (key "Down"): a chevron pointing down, shown for ascending order; image 1 (key
// "Up"): a chevron pointing up, for descending. Any other image number gives a null image.
QImage headerArrowImage(int image);

} // namespace pavix::listview
