#include "about/aboutbackground.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace pavix::about {

namespace {

// Paints one motif with its top-left corner at the painter's origin: a diamond in the
// middle and quarter diamonds at the corners, which meet their neighbours' across the
// edges, so the pattern shows no seam.
void paintMotif(QPainter &p)
{
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
}

const QColor MotifGround(246, 248, 252);

} // namespace

QImage aboutMotif()
{
    QImage tile(AboutMotifPx, AboutMotifPx, QImage::Format_RGB32);
    tile.fill(MotifGround);
    QPainter p(&tile);
    p.setRenderHint(QPainter::Antialiasing);
    paintMotif(p);
    return tile;
}

QImage aboutBackground()
{
    QImage background(AboutBackgroundWidthPx, AboutBackgroundHeightPx, QImage::Format_RGB32);
    QPainter p(&background);
    p.fillRect(background.rect(), QBrush(aboutMotif()));
    return background;
}

QImage aboutBackground(QSize sizePx, double devicePixelRatio)
{
    const double ratio = devicePixelRatio > 0 ? devicePixelRatio : 1.0;
    const QSize devicePx(static_cast<int>(std::lround(sizePx.width() * ratio)),
                         static_cast<int>(std::lround(sizePx.height() * ratio)));
    if (devicePx.isEmpty())
        return QImage();
    QImage background(devicePx, QImage::Format_RGB32);
    background.fill(MotifGround);
    QPainter p(&background);
    p.setRenderHint(QPainter::Antialiasing);
    // Each motif drawn at the device's scale, clipped to its own square as the repeated
    // tile is, so that a scaled screen shows it sharp rather than stretched.
    p.scale(ratio, ratio);
    for (int top = 0; top < sizePx.height(); top += AboutMotifPx) {
        for (int left = 0; left < sizePx.width(); left += AboutMotifPx) {
            p.save();
            p.translate(left, top);
            p.setClipRect(QRectF(0, 0, AboutMotifPx, AboutMotifPx));
            paintMotif(p);
            p.restore();
        }
    }
    p.end();
    background.setDevicePixelRatio(ratio);
    return background;
}

} // namespace pavix::about
