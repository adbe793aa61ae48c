#pragma once
// The pictures of the tool bar buttons (`ilsTbar`), drawn by Pavix: 1 open folder,
// 2 thumbnails, 3 large icons, 4 small icons, 5 list, 6 details, 7 toolbox, 8 options,
// 9 help, 10 about.

#include <QImage>

namespace pavix::shell {

// The button picture number `image` (1 to 10) at `sizePx` pixels square, on a transparent
// background; other numbers give an empty transparent picture.
QImage toolbarImage(int image, int sizePx = 16);

} // namespace pavix::shell
