#include "preview/tilezoom.h"

#include "preview/tileplan.h"

#include <QCoreApplication>
#include <QPainter>
#include <QPixmap>

#include <algorithm>
#include <cmath>
#include <iterator>

namespace pavix::preview {

int zoomedIn(int percent)
{
    const auto next = std::upper_bound(std::begin(ZoomSteps), std::end(ZoomSteps), percent);
    return next == std::end(ZoomSteps) ? ZoomSteps[std::size(ZoomSteps) - 1] : *next;
}

int zoomedOut(int percent)
{
    const auto next = std::lower_bound(std::begin(ZoomSteps), std::end(ZoomSteps), percent);
    return next == std::begin(ZoomSteps) ? ZoomSteps[0] : *std::prev(next);
}

QString zoomedTitle(int percent)
{
    if (percent == NaturalZoom)
        return QCoreApplication::translate("pavix::preview", "Preview");
    return QCoreApplication::translate("pavix::preview", "Preview - %1 %").arg(percent);
}

QSize zoomedTileSize(QSize picture, int percent)
{
    const auto side = [percent](int pixels) {
        return std::max(1, static_cast<int>(std::lround(double(pixels) * percent / 100.0)));
    };
    return QSize(side(picture.width()), side(picture.height()));
}

QImage zoomedTile(const QImage &picture, int percent)
{
    if (picture.isNull() || percent == NaturalZoom)
        return picture;
    const QSize size = zoomedTileSize(picture.size(), percent);
    // Qt's smooth scaling averages the covered area when it shrinks; the fast one repeats
    // pixels when it enlarges.
    return picture.scaled(size, Qt::IgnoreAspectRatio,
                          percent < NaturalZoom ? Qt::SmoothTransformation : Qt::FastTransformation);
}

QImage tileSource(const QImage &picture, int percent)
{
    return percent < NaturalZoom ? zoomedTile(picture, percent) : picture;
}

void paintZoomedTiles(QPainter &painter, const QPixmap &source, QSize pictureSize, int percent, const QRect &client,
                      const QRect &dirty)
{
    if (source.isNull() || pictureSize.isEmpty())
        return;
    if (percent <= NaturalZoom) {
        paintTiles(painter, source, client, dirty);
        return;
    }
    // Scaled so that one copy covers exactly zoomedTileSize() pixels, each sampled from the
    // nearest picture pixel.
    const QSize zoomed = zoomedTileSize(pictureSize, percent);
    const double sx = double(zoomed.width()) / pictureSize.width();
    const double sy = double(zoomed.height()) / pictureSize.height();
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.translate(client.topLeft());
    painter.scale(sx, sy);
    const auto unscaled = [sx, sy](const QRect &r, const QPoint &origin) {
        const double left = (r.left() - origin.x()) / sx;
        const double top = (r.top() - origin.y()) / sy;
        const double right = (r.right() + 1 - origin.x()) / sx;
        const double bottom = (r.bottom() + 1 - origin.y()) / sy;
        return QRect(QPoint(int(std::floor(left)), int(std::floor(top))),
                     QPoint(int(std::ceil(right)) - 1, int(std::ceil(bottom)) - 1));
    };
    paintTiles(painter, source, unscaled(client, client.topLeft()),
               unscaled(dirty.intersected(client), client.topLeft()));
    painter.restore();
}

std::vector<SeamMark> seamMarks(QSize tile, const QRect &client, const SeamRatios &ratios, int bandPx)
{
    std::vector<SeamMark> marks;
    if (tile.isEmpty() || client.isEmpty())
        return marks;
    const int before = bandPx / 2;
    if (const SeamGrade grade = seamGrade(ratios.leftRight); grade != SeamGrade::Seamless) {
        for (int x = client.left() + tile.width(); x <= client.right(); x += tile.width())
            marks.push_back({QRect(x - before, client.top(), bandPx, client.height()), grade});
    }
    if (const SeamGrade grade = seamGrade(ratios.topBottom); grade != SeamGrade::Seamless) {
        for (int y = client.top() + tile.height(); y <= client.bottom(); y += tile.height())
            marks.push_back({QRect(client.left(), y - before, client.width(), bandPx), grade});
    }
    return marks;
}

} // namespace pavix::preview
