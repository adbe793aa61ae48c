#include "listview/headerarrows.h"

#include <QColor>
#include <QPainter>
#include <QPen>
#include <QPointF>

namespace pavix::listview {

namespace {

const QColor ArrowColour(255, 0, 0);

// A chevron across the middle of the image: 8 pixels wide, 4 high, drawn with a 2-pixel
// pen so that it reads at 12 pixels.
QImage drawChevron(bool pointsDown)
{
    QImage image(HeaderArrowSizePx, HeaderArrowSizePx, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, true);
    QPen pen(ArrowColour, 2.0);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::MiterJoin);
    painter.setPen(pen);
    const qreal top = 4.0;
    const qreal bottom = 8.0;
    const QPointF points[3] = {
        QPointF(2.0, pointsDown ? top : bottom),
        QPointF(6.0, pointsDown ? bottom : top),
        QPointF(10.0, pointsDown ? top : bottom),
    };
    painter.drawPolyline(points, 3);
    painter.end();
    return image;
}

} // namespace

QImage headerArrowImage(int image)
{
    if (image == 0)
        return drawChevron(true);
    if (image == 1)
        return drawChevron(false);
    return QImage();
}

} // namespace pavix::listview
