#include "preview/tilezoom.h"

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
        return QStringLiteral("Preview");
    return QStringLiteral("Preview - %1 %").arg(percent);
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
