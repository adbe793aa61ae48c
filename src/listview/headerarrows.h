#pragma once
// The two arrows a column header shows beside its caption when the list is sorted by that
// column (`ilsClmn`): 12 x 12 pixels, red on a transparent background.

#include "platform/imagelist.h"

#include <QImage>
#include <QString>

namespace pavix::listview {

inline constexpr int HeaderArrowSizePx = 12;

// Image 0 (key "Down"): a chevron pointing down, shown for ascending order; image 1 (key
// "Up"): a chevron pointing up, for descending. Any other image number gives a null image.
QImage headerArrowImage(int image);
// "Down" for 0, "Up" for 1, empty otherwise.
QString headerArrowKey(int image);
// Both arrows in an image list, "Down" at position 1 and "Up" at position 2.
platform::ImageList headerArrowList();

} // namespace pavix::listview
