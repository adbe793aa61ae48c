#include "preview/tileplan.h"

#include <QImage>
#include <QPainter>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

namespace pavix::preview {

namespace {

// floor(extent / step) + 1, or 0 when no copy can be laid.
int copiesAlong(double extent, double step)
{
    if (!(step > 0.0) || !std::isfinite(step) || !(extent >= 0.0))
        return 0;
    const double copies = std::floor(extent / step) + 1.0;
    if (!(copies < static_cast<double>(std::numeric_limits<int>::max())))
        return std::numeric_limits<int>::max();
    return static_cast<int>(copies);
}

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
constexpr qint64 WideStripBudgetBytes = 4 * 1024 * 1024;

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

TilePlan tilePlan(double widthTwips, double heightTwips, double stepX, double stepY)
{
    const int columns = copiesAlong(widthTwips, stepX);
    const int rows = copiesAlong(heightTwips, stepY);
    if (columns == 0 || rows == 0)
        return TilePlan{0, 0};
    return TilePlan{columns, rows};
}

void paintTiles(QPainter &painter, const QPixmap &tile, const QRect &clientRect,
                const QRect &dirtyRect)
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

void paintTilesPerCopy(QPainter &painter, const QPixmap &tile, const QRect &clientRect,
                       const QRect &dirtyRect)
{
    const QRect area = paintArea(tile, clientRect, dirtyRect);
    if (area.isEmpty())
        return;
    const int stepX = tile.width();
    const int stepY = tile.height();
    const TilePlan plan = tilePlan(clientRect.width(), clientRect.height(), stepX, stepY);
    painter.save();
    painter.setClipRect(area, Qt::IntersectClip);
    for (int column = 0; column < plan.columns; ++column) {
        const std::int64_t x = clientRect.x() + static_cast<std::int64_t>(column) * stepX;
        if (x > area.right())
            break;
        if (x + stepX <= area.left())
            continue;
        for (int row = 0; row < plan.rows; ++row) {
            const std::int64_t y = clientRect.y() + static_cast<std::int64_t>(row) * stepY;
            if (y > area.bottom())
                break;
            if (y + stepY <= area.top())
                continue;
            painter.drawPixmap(static_cast<int>(x), static_cast<int>(y), tile);
        }
    }
    painter.restore();
}

} // namespace pavix::preview
