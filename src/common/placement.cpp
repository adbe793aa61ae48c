#include "common/placement.h"

#include <algorithm>

namespace pavix::common {

namespace {

qint64 area(const QRect &r)
{
    return r.isEmpty() ? 0 : qint64(r.width()) * r.height();
}

} // namespace

QPoint reachableTopLeft(const QRect &frame, const QList<QRect> &screens, int titleHeightPx, int gripPx)
{
    if (screens.isEmpty() || frame.isEmpty())
        return frame.topLeft();
    const QRect titleBar(frame.left(), frame.top(), frame.width(), std::max(1, titleHeightPx));
    const int grip = std::min(std::max(1, gripPx), frame.width());
    for (const QRect &screen : screens) {
        const QRect shown = titleBar.intersected(screen);
        if (shown.width() >= grip && shown.height() == titleBar.height())
            return frame.topLeft();
    }
    const QRect *target = &screens.front();
    for (const QRect &screen : screens)
        if (area(frame.intersected(screen)) > area(frame.intersected(*target)))
            target = &screen;
    // As much of the window as the screen holds, its title bar always.
    const int x = std::max(target->left(), std::min(frame.left(), target->right() + 1 - frame.width()));
    const int y = std::max(target->top(), std::min(frame.top(), target->bottom() + 1 - frame.height()));
    return QPoint(x, y);
}

} // namespace pavix::common
