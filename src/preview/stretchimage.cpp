#include "preview/stretchimage.h"

#include "common/keys.h"

#include <QMouseEvent>
#include <QPainter>

namespace pavix::preview {

StretchImage::StretchImage(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent, false);
}

void StretchImage::setPicture(const QImage &picture)
{
    m_picture = picture;
    update();
}

void StretchImage::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const QRect inner = rect().adjusted(1, 1, -1, -1);
    if (!m_picture.isNull() && inner.isValid()) {
        p.setRenderHint(QPainter::SmoothPixmapTransform, true);
        p.drawImage(inner, m_picture);
    }
    p.setPen(palette().dark().color());
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

void StretchImage::mousePressEvent(QMouseEvent *event)
{
    emit mouseDown(common::buttonMask(event->buttons() | event->button()),
                   common::shiftMask(event->modifiers()));
}

} // namespace pavix::preview
