#include "about/aboutbackground.h"

#include <QPainter>
#include <QPainterPath>

namespace pavix::about {

QImage aboutMotif()
{
    QImage tile(AboutMotifPx, AboutMotifPx, QImage::Format_RGB32);
    tile.fill(QColor(246, 248, 252));
    QPainter p(&tile);
    p.setRenderHint(QPainter::Antialiasing);
    // A diamond in the middle and quarter diamonds at the corners, which meet their
    // neighbours' across the edges: the pattern shows no seam.
    const QColor diamond(214, 226, 244);
    const double half = AboutMotifPx / 2.0;
    QPainterPath shape;
    shape.moveTo(half, 4);
    shape.lineTo(AboutMotifPx - 4, half);
    shape.lineTo(half, AboutMotifPx - 4);
    shape.lineTo(4, half);
    shape.closeSubpath();
    p.fillPath(shape, diamond);
    for (const QPointF corner :
         {QPointF(0, 0), QPointF(AboutMotifPx, 0), QPointF(0, AboutMotifPx), QPointF(AboutMotifPx, AboutMotifPx)}) {
        QPainterPath quarter;
        quarter.moveTo(corner.x(), corner.y() - 11);
        quarter.lineTo(corner.x() + 11, corner.y());
        quarter.lineTo(corner.x(), corner.y() + 11);
        quarter.lineTo(corner.x() - 11, corner.y());
        quarter.closeSubpath();
        p.fillPath(quarter, QColor(236, 222, 198));
    }
    return tile;
}

QImage aboutBackground()
{
    QImage background(AboutBackgroundWidthPx, AboutBackgroundHeightPx, QImage::Format_RGB32);
    QPainter p(&background);
    p.fillRect(background.rect(), QBrush(aboutMotif()));
    return background;
}

} // namespace pavix::about
