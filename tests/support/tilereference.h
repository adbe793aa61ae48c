#pragma once
// A plain reference for the tiled fill, for tests and the tiling benchmark: the picture
// drawn one copy at a time, column by column and top to bottom within a column.

#include <QPainter>
#include <QPixmap>
#include <QRect>

#include <cmath>
#include <cstdint>
#include <limits>

namespace pavix::testsupport {

struct TilePlan {
    int columns;
    int rows;
};

// Copies a window of widthTwips x heightTwips needs with a tile step of stepX x stepY:
// floor(width / step) + 1 each way (6500 with 1000 -> 7, with 6500 -> 2). A step that is 0,
// negative or not a number, or a negative size, gives 0 x 0: nothing is painted. Counts
// past the int range are clamped.
inline TilePlan tilePlan(double widthTwips, double heightTwips, double stepX, double stepY)
{
    auto copiesAlong = [](double extent, double step) {
        if (!(step > 0.0) || !std::isfinite(step) || !(extent >= 0.0))
            return 0;
        const double copies = std::floor(extent / step) + 1.0;
        if (!(copies < static_cast<double>(std::numeric_limits<int>::max())))
            return std::numeric_limits<int>::max();
        return static_cast<int>(copies);
    };
    const int columns = copiesAlong(widthTwips, stepX);
    const int rows = copiesAlong(heightTwips, stepY);
    if (columns == 0 || rows == 0)
        return TilePlan{0, 0};
    return TilePlan{columns, rows};
}

// The same pixels paintTiles gives, one copy at a time, clipped to dirtyRect.
inline void paintTilesPerCopy(QPainter &painter, const QPixmap &tile, const QRect &clientRect, const QRect &dirtyRect)
{
    if (tile.isNull() || tile.width() <= 0 || tile.height() <= 0)
        return;
    const QRect area = clientRect.intersected(dirtyRect);
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

} // namespace pavix::testsupport
