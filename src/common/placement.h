#pragma once
// Where a window may stand: a stored place is kept as it is while the window lies wholly on
// one screen, and moved onto a screen when it does not.

#include <QList>
#include <QPoint>
#include <QRect>

namespace pavix::common {

// The top-left corner (pixels) for a window whose frame would be `frame`, given the free
// areas of the `screens`. A frame wholly inside one screen keeps its corner. Otherwise the
// window is moved onto the screen it overlaps most (the first screen when it overlaps none):
// wholly onto it where it fits, and where it is larger than the screen, its top-left corner
// to the screen's, so that its title bar shows. No screens: the corner is kept. The stored
// place itself is the caller's and is not changed by this.
QPoint onScreenTopLeft(const QRect &frame, const QList<QRect> &screens);

} // namespace pavix::common
