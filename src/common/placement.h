#pragma once
// Where a window may stand: a stored place is kept as it is when the window can still be
// grabbed there, and moved onto a screen when it cannot.

#include <QList>
#include <QPoint>
#include <QRect>

namespace pavix::common {

// The top-left corner (pixels) for a window whose frame would be `frame`, so that its title
// bar can be reached on one of `screens` (their free areas). The frame's top strip of
// `titleHeightPx` must show at least `gripPx` pixels (or its whole width, when narrower)
// wholly inside one screen; then the corner is kept. Otherwise the window is moved onto the
// screen it overlaps most (the first screen when it overlaps none), as far as the screen
// holds it, never past the screen's top-left. No screens: the corner is kept.
QPoint reachableTopLeft(const QRect &frame, const QList<QRect> &screens, int titleHeightPx = 24,
                        int gripPx = 64);

} // namespace pavix::common
