#pragma once
// How the tiled preview window covers its area with copies of the picture at natural
// size, edge to edge, starting at the client area's top-left corner.

#include <QPixmap>
#include <QRect>

class QPainter;

namespace pavix::preview {

// Covers clientRect (pixels) with copies of tile at its own pixel size, the first copy at
// clientRect's top-left, in one tiled fill; only the part inside dirtyRect is painted. A
// null or empty tile paints nothing.
void paintTiles(QPainter &painter, const QPixmap &tile, const QRect &clientRect, const QRect &dirtyRect);

} // namespace pavix::preview
