#include "shell/splitterbar.h"

#include "common/keys.h"

#include <QMouseEvent>

namespace pavix::shell {

SplitterBar::SplitterBar(QWidget *parent, double twipsPerPixel) : QWidget(parent), m_tpp(twipsPerPixel)
{
    setCursor(Qt::SplitHCursor);
    setMouseTracking(false);
}

void SplitterBar::mousePressEvent(QMouseEvent *event)
{
    const QPointF p = event->position();
    emit mouseDown(common::buttonMask(event->buttons() | event->button()), common::shiftMask(event->modifiers()),
                   p.x() * m_tpp, p.y() * m_tpp);
}

void SplitterBar::mouseMoveEvent(QMouseEvent *event)
{
    const QPointF p = event->position();
    emit mouseMove(common::buttonMask(event->buttons()), common::shiftMask(event->modifiers()), p.x() * m_tpp,
                   p.y() * m_tpp);
}

void SplitterBar::mouseReleaseEvent(QMouseEvent *event)
{
    const QPointF p = event->position();
    emit mouseUp(common::buttonMask(event->button()), common::shiftMask(event->modifiers()), p.x() * m_tpp,
                 p.y() * m_tpp);
}

} // namespace pavix::shell
