#include "preview/stretchimage.h"

#include "common/keys.h"
#include "common/units.h"

#include <QMouseEvent>
#include <QPainter>

namespace pavix::preview {

StretchImage::StretchImage(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent, false);
    // Reached with Tab, so that the keyboard and screen readers come to the preview too.
    setFocusPolicy(Qt::TabFocus);
}

void StretchImage::setPicture(const QImage &picture)
{
    m_picture = picture;
    m_shown = QImage();
    update();
}

const QImage &StretchImage::shownPicture()
{
    // Scaled to the device pixels of the area, so that a scaled screen shows it sharp.
    const double ratio = devicePixelRatioF();
    const QSize innerPx = rect().adjusted(1, 1, -1, -1).size();
    const QSize inner(common::devicePixels(innerPx.width(), ratio), common::devicePixels(innerPx.height(), ratio));
    if (m_picture.isNull() || inner.isEmpty()) {
        m_shown = QImage();
        return m_shown;
    }
    // Scaled once for each picture and size, by area averaging when shrinking: fine
    // stripes and dithering show as their true average, not as moiré, and a paint only
    // copies pixels.
    if (m_shown.size() != inner || m_shown.devicePixelRatio() != ratio) {
        m_shown = m_picture.size() == inner ? m_picture
                                            : m_picture.scaled(inner, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        m_shown.setDevicePixelRatio(ratio);
    }
    return m_shown;
}

void StretchImage::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const QImage &shown = shownPicture();
    if (!shown.isNull())
        p.drawImage(1, 1, shown);
    p.setPen(palette().dark().color());
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    if (hasFocus()) {
        // The focus: a dotted ring inside the border, black over white, seen on any picture.
        const QRect ring = rect().adjusted(2, 2, -3, -3);
        p.setPen(QPen(Qt::white, 1));
        p.drawRect(ring);
        p.setPen(QPen(Qt::black, 1, Qt::DotLine));
        p.drawRect(ring);
    }
}

void StretchImage::focusInEvent(QFocusEvent *event)
{
    QWidget::focusInEvent(event);
    update();
}

void StretchImage::focusOutEvent(QFocusEvent *event)
{
    QWidget::focusOutEvent(event);
    update();
}

void StretchImage::mousePressEvent(QMouseEvent *event)
{
    emit mouseDown(common::buttonMask(event->buttons() | event->button()), common::shiftMask(event->modifiers()));
}

} // namespace pavix::preview
