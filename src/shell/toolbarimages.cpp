#include "shell/toolbarimages.h"

#include <QPainter>
#include <QPainterPath>

namespace pavix::shell {

namespace {

const QColor Ink(40, 40, 48);
const QColor Blue(52, 101, 164);
const QColor Folder(233, 185, 60);

void drawOpen(QPainter &p)
{
    p.setPen(QPen(QColor(160, 110, 20), 1));
    p.setBrush(Folder);
    p.drawRect(QRectF(1.5, 4.5, 13, 9));
    p.drawRect(QRectF(1.5, 2.5, 5, 2));
    p.setBrush(QColor(250, 215, 110));
    QPainterPath flap;
    flap.moveTo(3.5, 7.5);
    flap.lineTo(15.5, 7.5);
    flap.lineTo(13.5, 13.5);
    flap.lineTo(1.5, 13.5);
    flap.closeSubpath();
    p.drawPath(flap);
}

void drawThumbnails(QPainter &p)
{
    p.setPen(Qt::NoPen);
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 2; ++c) {
            p.setBrush(r == c ? Blue : QColor(115, 170, 60));
            p.drawRect(QRectF(1 + c * 7.5, 1 + r * 7.5, 6.5, 6.5));
        }
}

void drawLargeIcons(QPainter &p)
{
    p.setPen(Qt::NoPen);
    p.setBrush(Blue);
    p.drawRect(QRectF(4, 1, 8, 8));
    p.setBrush(Ink);
    p.drawRect(QRectF(2, 11, 12, 1.5));
    p.drawRect(QRectF(4, 13.5, 8, 1.5));
}

void drawSmallIcons(QPainter &p)
{
    p.setPen(Qt::NoPen);
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 2; ++c) {
            p.setBrush(Blue);
            p.drawRect(QRectF(1 + c * 8, 2 + r * 7, 3, 3));
            p.setBrush(Ink);
            p.drawRect(QRectF(5 + c * 8, 3 + r * 7, 2.5, 1.2));
        }
}

void drawList(QPainter &p)
{
    p.setPen(Qt::NoPen);
    for (int r = 0; r < 4; ++r) {
        p.setBrush(Blue);
        p.drawRect(QRectF(1, 1 + r * 4, 2.5, 2.5));
        p.setBrush(Ink);
        p.drawRect(QRectF(5, 1.7 + r * 4, 9, 1.2));
    }
}

void drawDetails(QPainter &p)
{
    p.setPen(QPen(Ink, 1));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(0.5, 1.5, 15, 13));
    p.setBrush(QColor(200, 200, 210));
    p.drawRect(QRectF(0.5, 1.5, 15, 3));
    for (int r = 0; r < 3; ++r)
        p.drawLine(QPointF(2, 7 + r * 3), QPointF(14, 7 + r * 3));
    p.drawLine(QPointF(8.5, 1.5), QPointF(8.5, 14.5));
}

void drawToolbox(QPainter &p)
{
    p.setPen(QPen(Ink, 1));
    p.setBrush(QColor(204, 0, 0));
    p.drawRect(QRectF(1.5, 6.5, 13, 8));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(5.5, 3.5, 5, 3));
    QFont f;
    f.setPixelSize(9);
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRectF(1.5, 6.5, 13, 8), Qt::AlignCenter, QStringLiteral("A"));
}

void drawOptions(QPainter &p)
{
    p.setPen(QPen(Ink, 1));
    for (int r = 0; r < 3; ++r) {
        p.setBrush(Qt::white);
        p.drawRect(QRectF(1.5, 1.5 + r * 5, 3.5, 3.5));
        if (r != 1) {
            p.drawLine(QPointF(2.2, 3.4 + r * 5), QPointF(3.2, 4.4 + r * 5));
            p.drawLine(QPointF(3.2, 4.4 + r * 5), QPointF(4.8, 2.0 + r * 5));
        }
        p.drawLine(QPointF(7, 3.25 + r * 5), QPointF(15, 3.25 + r * 5));
    }
}

void drawRoundGlyph(QPainter &p, const QColor &fill, const QString &glyph)
{
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawEllipse(QRectF(1, 1, 14, 14));
    QFont f;
    f.setPixelSize(11);
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRectF(1, 1, 14, 14), Qt::AlignCenter, glyph);
}

} // namespace

QImage toolbarImage(int image, int sizePx)
{
    QImage out(sizePx, sizePx, QImage::Format_ARGB32_Premultiplied);
    out.fill(Qt::transparent);
    QPainter p(&out);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.scale(sizePx / 16.0, sizePx / 16.0);
    switch (image) {
    case 1:
        drawOpen(p);
        break;
    case 2:
        drawThumbnails(p);
        break;
    case 3:
        drawLargeIcons(p);
        break;
    case 4:
        drawSmallIcons(p);
        break;
    case 5:
        drawList(p);
        break;
    case 6:
        drawDetails(p);
        break;
    case 7:
        drawToolbox(p);
        break;
    case 8:
        drawOptions(p);
        break;
    case 9:
        drawRoundGlyph(p, Blue, QStringLiteral("?"));
        break;
    case 10:
        drawRoundGlyph(p, QColor(78, 154, 6), QStringLiteral("i"));
        break;
    default:
        break;
    }
    return out;
}

} // namespace pavix::shell
