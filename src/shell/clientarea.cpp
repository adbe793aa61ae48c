#include "shell/clientarea.h"

#include "common/keys.h"

#include <QMouseEvent>
#include <QPainter>

namespace pavix::shell {

ClientArea::ClientArea(QWidget *parent, double twipsPerPixel) : QWidget(parent), m_tpp(twipsPerPixel) {}

void ClientArea::setPreviewFrame(const common::TwipRect &frame, bool shown)
{
    m_previewFrame = frame;
    m_previewShown = shown;
    update();
}

void ClientArea::paintEvent(QPaintEvent *)
{
    if (!m_previewShown)
        return;
    QPainter p(this);
    p.setPen(palette().dark().color());
    p.drawRect(common::twipsToPixels(m_previewFrame, m_tpp).adjusted(0, 0, -1, -1));
}

void ClientArea::mousePressEvent(QMouseEvent *event)
{
    if (common::buttonMask(event->buttons() | event->button()) & common::ButtonRight)
        emit surfaceMenuRequested(event->globalPosition().toPoint());
}

} // namespace pavix::shell
