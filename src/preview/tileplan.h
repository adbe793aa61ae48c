#pragma once
// How the tiled preview window covers its area with copies of the picture at natural
// size, edge to edge, starting at the client area's top-left corner.

#include <QPixmap>
#include <QRect>

class QPainter;

namespace pavix::preview {

struct TilePlan {
    int columns;
    int rows;
};

// Copies a window of widthTwips x heightTwips needs with a tile step of stepX x stepY:
// floor(width / step) + 1 each way (6500 with 1000 -> 7, with 6500 -> 2). A step that is 0,
// negative or not a number, or a negative size, gives 0 x 0: nothing is painted. Counts
// past the int range are clamped.
TilePlan tilePlan(double widthTwips, double heightTwips, double stepX, double stepY);

// Covers clientRect (pixels) with copies of tile at its own pixel size, the first copy at
// clientRect's top-left, in one tiled fill; only the part inside dirtyRect is painted. A
// null or empty tile paints nothing.
void paintTiles(QPainter &painter, const QPixmap &tile, const QRect &clientRect,
                const QRect &dirtyRect);

// The same picture drawn one copy at a time, column by column and top to bottom within a
// column, clipped to dirtyRect. Gives the same pixels as paintTiles, only slower.
void paintTilesPerCopy(QPainter &painter, const QPixmap &tile, const QRect &clientRect,
                       const QRect &dirtyRect);

} // namespace pavix::preview
