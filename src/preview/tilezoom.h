#pragma once
// The tiled window's zoom: the steps it goes through, its title at each, the tile drawn at
// each, and where the marks of the seams between the copies fall.

#include "preview/seams.h"

#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>

#include <vector>

class QPainter;
class QPixmap;

namespace pavix::preview {

// The zoom steps, in percent of the picture's natural size.
inline constexpr int ZoomSteps[] = {25, 33, 50, 67, 100, 150, 200, 300, 400};
inline constexpr int NaturalZoom = 100;

// The next step up or down from `percent` (a step or any value between), or the last step
// when there is none further.
int zoomedIn(int percent);
int zoomedOut(int percent);

// "Preview" at natural size, "Preview - 50 %" at any other zoom.
QString zoomedTitle(int percent);

// The size of one copy at `percent`: each side scaled and rounded, at least 1 pixel.
QSize zoomedTileSize(QSize picture, int percent);

// One copy of `picture` at `percent`. Shrunk, each pixel is the average of the area it
// covers, as the eye sees a pattern from afar; enlarged, each picture pixel stays a sharp
// square. At natural size the picture itself.
QImage zoomedTile(const QImage &picture, int percent);

// What the window keeps to paint the tiles at `percent`: the shrunk copy below natural
// size, the picture itself at or above it (enlarged copies are drawn through the painter,
// never made: one at 400 % of a large picture would take hundreds of megabytes).
QImage tileSource(const QImage &picture, int percent);

// Covers `client` with copies of the picture at `percent` from its top-left corner, each
// copy zoomedTileSize() large, painting only inside `dirty`. `source` is tileSource() of a
// picture of `pictureSize`; enlarged copies are drawn with each pixel a sharp square.
void paintZoomedTiles(QPainter &painter, const QPixmap &source, QSize pictureSize, int percent, const QRect &client,
                      const QRect &dirty);

// A mark along a line where two copies meet.
struct SeamMark {
    QRect band;
    SeamGrade grade;
};

// The marks over `client` (pixels) tiled with copies of `tile` from its top-left corner:
// a band `bandPx` wide centred on every line where copies meet side by side, when the
// left-right edge has a seam, and on every line where they meet one above the other, when
// the top-bottom edge has one. No marks for a seamless edge or an empty tile.
std::vector<SeamMark> seamMarks(QSize tile, const QRect &client, const SeamRatios &ratios, int bandPx);

} // namespace pavix::preview
