#pragma once
// The wallpaper of an X11 session without a desktop of its own: the root window's
// background pixmap, which the X server tiles over the screen. Set over a connection of
// its own, so the pixmap outlives Pavix, and announced through the root window's
// _XROOTPMAP_ID and ESETROOT_PMAP_ID properties, which compositors and transparent
// terminals read.

#include "common/result.h"

#include <QImage>
#include <QString>

namespace pavix::platform {

// The largest side of an X pixmap, in pixels.
inline constexpr int LargestPixmapSide = 32767;

// Makes `picture` the background of the root window of the X display named `display`
// ("" for the default display), in the root window's own pixel format; transparent parts
// show white. The pixmap an earlier setter left behind with ESETROOT_PMAP_ID is freed.
// Refuses with ErrGeneral and the reason a null picture, one wider or taller than
// LargestPixmapSide, a display that cannot be reached, a root window whose pixels are not
// true colour, and any request the server rejects.
common::Status setRootBackground(const QImage &picture, const QString &display);

} // namespace pavix::platform
