#include "common/placement.h"

#include <algorithm>

namespace pavix::common {

namespace {

qint64 area(const QRect &r)
{
    return r.isEmpty() ? 0 : qint64(r.width()) * r.height();
}

} // namespace

QPoint onScreenTopLeft(const QRect &frame, const QList<QRect> &screens)
{
    if (screens.isEmpty() || frame.isEmpty())
        return frame.topLeft();
    for (const QRect &screen : screens) {
        if (screen.contains(frame))
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
