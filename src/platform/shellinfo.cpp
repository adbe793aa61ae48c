#include "platform/shellinfo.h"

#include <QPainter>
#include <QPainterPath>

namespace pavix::platform {

ShellInfo::~ShellInfo() = default;

QString extensionOf(const QString &path)
{
    // Only the file name counts: a "." in a folder name gives no extension.
    const qsizetype slash = path.lastIndexOf(u'/');
    const qsizetype dot = path.lastIndexOf(u'.');
    if (dot < 0 || dot < slash)
        return QString();
    return path.mid(dot + 1).toUpper();
}

QString cacheKey(const QString &path)
{
    const QString extension = extensionOf(path);
    // An extension never holds a ".", an icon file's path always does: the two kinds of
    // key cannot meet.
    if (extension == QLatin1String("ICO"))
        return path;
    return extension;
}

QImage fallbackIcon(int sizePx)
{
    if (sizePx < 1)
        return QImage();
    QImage image(sizePx, sizePx, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);

    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal s = sizePx;
    const qreal left = s * 0.18;
    const qreal right = s * 0.82;
    const qreal top = s * 0.06;
    const qreal bottom = s * 0.94;
    const qreal fold = s * 0.22;

    QPainterPath page;
    page.moveTo(left, top);
    page.lineTo(right - fold, top);
    page.lineTo(right, top + fold);
    page.lineTo(right, bottom);
    page.lineTo(left, bottom);
    page.closeSubpath();
    const qreal pen = qMax<qreal>(1.0, s / 24.0);
    painter.setPen(QPen(QColor(0x60, 0x60, 0x60), pen));
    painter.setBrush(QColor(0xfa, 0xfa, 0xfa));
    painter.drawPath(page);

    QPainterPath corner;
    corner.moveTo(right - fold, top);
    corner.lineTo(right - fold, top + fold);
    corner.lineTo(right, top + fold);
    corner.closeSubpath();
    painter.setBrush(QColor(0xd0, 0xd0, 0xd0));
    painter.drawPath(corner);

    // A small landscape on the page says "picture".
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x3a, 0x7b, 0xd5));
    QPainterPath hill;
    hill.moveTo(left + s * 0.08, bottom - s * 0.1);
    hill.lineTo(left + s * 0.24, bottom - s * 0.36);
    hill.lineTo(left + s * 0.38, bottom - s * 0.18);
    hill.lineTo(left + s * 0.46, bottom - s * 0.26);
    hill.lineTo(right - s * 0.08, bottom - s * 0.1);
    hill.closeSubpath();
    painter.drawPath(hill);
    painter.setBrush(QColor(0xf5, 0xc2, 0x11));
    painter.drawEllipse(QPointF(right - s * 0.2, top + s * 0.42), s * 0.07, s * 0.07);
    painter.end();
    return image;
}

QImage squareIcon(const QImage &picture, int sizePx)
{
    if (picture.isNull() || sizePx < 1)
        return QImage();
    if (picture.width() == sizePx && picture.height() == sizePx)
        return picture;
    const QImage scaled = picture.scaled(sizePx, sizePx, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    QImage square(sizePx, sizePx, QImage::Format_ARGB32_Premultiplied);
    square.fill(Qt::transparent);
    QPainter painter(&square);
    painter.drawImage((sizePx - scaled.width()) / 2, (sizePx - scaled.height()) / 2, scaled);
    painter.end();
    return square;
}

} // namespace pavix::platform
