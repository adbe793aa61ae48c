#include "preview/tileplan.h"

#include <QImage>
#include <QPainter>

#include <cstdint>
#include <cstring>

namespace pavix::preview {

namespace {

// The part of the client area to paint, or an empty rectangle when there is nothing to do.
QRect paintArea(const QPixmap &tile, const QRect &clientRect, const QRect &dirtyRect)
{
    if (tile.isNull() || tile.width() <= 0 || tile.height() <= 0)
        return QRect();
    return clientRect.intersected(dirtyRect);
}

// The tiled fill blends one copy's width at a time, so copies a few pixels wide cost several
// times the blending itself. A narrow tile is first widened into a strip of whole copies
// at least this wide; the strip repeats with the tile's own period, so the pixels match.
constexpr int WideStripPx = 512;
constexpr qint64 WideStripBudgetBytes = qint64(4) * 1024 * 1024;

QPixmap widenedTile(const QPixmap &tile, int areaWidthPx)
{
    const int width = tile.width();
    const int height = tile.height();
    if (width >= WideStripPx || areaWidthPx <= WideStripPx)
        return tile;
    const QImage source = tile.toImage();
    // Whole bytes per pixel only, so rows can be copied as they are.
    if (source.isNull() || source.depth() < 8 || source.depth() % 8 != 0)
        return tile;
    const int copies = (WideStripPx + width - 1) / width;
    const qint64 rowBytes = static_cast<qint64>(width) * (source.depth() / 8);
    if (rowBytes * copies * height > WideStripBudgetBytes)
        return tile;
    QImage strip(width * copies, height, source.format());
    if (strip.isNull())
        return tile;
    strip.setColorTable(source.colorTable());
    strip.setDevicePixelRatio(source.devicePixelRatio());
    for (int y = 0; y < height; ++y) {
        const uchar *from = source.constScanLine(y);
        uchar *to = strip.scanLine(y);
        for (int copy = 0; copy < copies; ++copy)
            std::memcpy(to + copy * rowBytes, from, static_cast<size_t>(rowBytes));
    }
    return QPixmap::fromImage(strip);
}

} // namespace

void paintTiles(QPainter &painter, const QPixmap &tile, const QRect &clientRect, const QRect &dirtyRect)
{
    const QRect area = paintArea(tile, clientRect, dirtyRect);
    if (area.isEmpty())
        return;
    // The pattern stays anchored at the client's top-left whatever part is repainted: the
    // area's corner falls this far into its copy.
    const std::int64_t dx = static_cast<std::int64_t>(area.x()) - clientRect.x();
    const std::int64_t dy = static_cast<std::int64_t>(area.y()) - clientRect.y();
    const QPoint offset(static_cast<int>(dx % tile.width()), static_cast<int>(dy % tile.height()));
    painter.drawTiledPixmap(area, widenedTile(tile, area.width()), offset);
}

} // namespace pavix::preview
