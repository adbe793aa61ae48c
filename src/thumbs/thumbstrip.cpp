#include "thumbs/thumbstrip.h"

#include "common/keys.h"
#include "common/units.h"
#include "thumbs/gridgeometry.h"
#include "thumbs/thumbgridaccessible.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include <algorithm>
#include <utility>

namespace pavix::thumbs {

using common::twipsToPixels;

ThumbStrip::ThumbStrip(QWidget *parent, double twipsPerPixel) : QWidget(parent), m_tpp(twipsPerPixel), m_cells(1)
{
    setFocusPolicy(Qt::StrongFocus);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, pal.color(QPalette::Base));
    setPalette(pal);
    installThumbStripAccessibility();
}

void ThumbStrip::setElementCount(int count)
{
    m_cells.resize(static_cast<size_t>(std::max(1, count)));
    update();
}

void ThumbStrip::setElementPosition(int i, QPoint twips)
{
    if (i < 0 || i >= elementCount())
        return;
    const QRect before = elementRect(i);
    m_cells[static_cast<size_t>(i)].twips = twips;
    update(before);
    update(elementRect(i));
}

void ThumbStrip::setElementPicture(int i, const QImage &cell)
{
    if (i < 0 || i >= elementCount())
        return;
    m_cells[static_cast<size_t>(i)].picture = cell;
    update(elementRect(i));
}

void ThumbStrip::setElementVisible(int i, bool visible)
{
    if (i < 0 || i >= elementCount())
        return;
    m_cells[static_cast<size_t>(i)].visible = visible;
    update(elementRect(i));
}

bool ThumbStrip::elementVisible(int i) const
{
    return i >= 0 && i < elementCount() && m_cells[static_cast<size_t>(i)].visible;
}

QPoint ThumbStrip::elementPosition(int i) const
{
    return i >= 0 && i < elementCount() ? m_cells[static_cast<size_t>(i)].twips : QPoint();
}

QImage ThumbStrip::elementPicture(int i) const
{
    return i >= 0 && i < elementCount() ? m_cells[static_cast<size_t>(i)].picture : QImage();
}

QRect ThumbStrip::elementRect(int i) const
{
    const QPoint t = elementPosition(i);
    return QRect(twipsToPixels(t.x(), m_tpp), twipsToPixels(t.y(), m_tpp), twipsToPixels(ThumbSize, m_tpp),
                 twipsToPixels(ThumbSize, m_tpp));
}

QRect ThumbStrip::markerRect() const
{
    return QRect(twipsToPixels(m_marker.x(), m_tpp), twipsToPixels(m_marker.y(), m_tpp),
                 twipsToPixels(MarkerSize, m_tpp), twipsToPixels(MarkerSize, m_tpp));
}

void ThumbStrip::setMarkerPosition(QPoint twips)
{
    update(markerRect().adjusted(-2, -2, 2, 2));
    m_marker = twips;
    update(markerRect().adjusted(-2, -2, 2, 2));
}

void ThumbStrip::setMarkerVisible(bool visible)
{
    m_markerVisible = visible;
    if (!visible)
        m_markedElement = -1;
    update(markerRect().adjusted(-2, -2, 2, 2));
}

int ThumbStrip::elementAt(QPoint px) const
{
    // Later elements lie above earlier ones where they overlap.
    for (int i = elementCount() - 1; i >= 0; --i)
        if (m_cells[static_cast<size_t>(i)].visible && elementRect(i).contains(px))
            return i;
    return -1;
}

void ThumbStrip::paintEvent(QPaintEvent *event)
{
    QPainter p(this);
    const QRect dirty = event->rect();
    for (int i = 0; i < elementCount(); ++i) {
        const Cell &cell = m_cells[static_cast<size_t>(i)];
        if (!cell.visible || cell.picture.isNull())
            continue;
        const QRect r = elementRect(i);
        if (r.intersects(dirty))
            p.drawImage(r, cell.picture);
    }
    if (m_markerVisible) {
        // The marker stays visible over any picture: a frame in the selection colour
        // between a dark outer and a light inner line.
        const QRect r = markerRect();
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(Qt::black, 1));
        p.drawRect(r.adjusted(0, 0, -1, -1));
        p.setPen(QPen(palette().color(QPalette::Highlight), 3, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        p.drawRect(r.adjusted(2, 2, -3, -3));
        p.setPen(QPen(Qt::white, 1));
        p.drawRect(r.adjusted(4, 4, -5, -5));
    }
    if (hasFocus()) {
        // The focus: a dotted ring just outside the marker, or round the part in view when
        // nothing is marked, black over white so that it shows on any picture.
        const QRect ring = (m_markerVisible ? markerRect().adjusted(-2, -2, 1, 1)
                                            : visibleRegion().boundingRect().adjusted(1, 1, -2, -2))
                               .intersected(rect().adjusted(0, 0, -1, -1));
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(Qt::white, 1));
        p.drawRect(ring);
        p.setPen(QPen(Qt::black, 1, Qt::DotLine));
        p.drawRect(ring);
    }
}

void ThumbStrip::mousePressEvent(QMouseEvent *event)
{
    const int button = common::buttonMask(event->buttons() | event->button());
    const int shift = common::shiftMask(event->modifiers());
    const int i = elementAt(event->position().toPoint());
    if (i >= 0)
        emit thumbMouseDown(i, button, shift);
    else
        emit emptyMouseDown(button, shift);
}

void ThumbStrip::mouseDoubleClickEvent(QMouseEvent *event)
{
    const int i = elementAt(event->position().toPoint());
    if (i >= 0)
        emit thumbDblClick(i);
}

void ThumbStrip::setMarkedElement(int i)
{
    // The grid marks the selected thumbnail once more when the browser confirms it.
    if (std::exchange(m_markedElement, i) == i || !QAccessible::isActive() || i < 0)
        return;
    QAccessibleEvent selection(this, QAccessible::Selection);
    selection.setChild(i);
    QAccessible::updateAccessibility(&selection);
    if (hasFocus()) {
        QAccessibleEvent focus(this, QAccessible::Focus);
        focus.setChild(i);
        QAccessible::updateAccessibility(&focus);
    }
}

void ThumbStrip::focusInEvent(QFocusEvent *event)
{
    QWidget::focusInEvent(event);
    update();
    // The list took the focus; the marked thumbnail is the item that has it.
    if (QAccessible::isActive() && markedElement() >= 0) {
        QAccessibleEvent focus(this, QAccessible::Focus);
        focus.setChild(markedElement());
        QAccessible::updateAccessibility(&focus);
    }
}

void ThumbStrip::focusOutEvent(QFocusEvent *event)
{
    QWidget::focusOutEvent(event);
    update();
}

void ThumbStrip::keyPressEvent(QKeyEvent *event)
{
    emit keyDown(common::virtualKeyCode(event->key(), event->modifiers()), common::shiftMask(event->modifiers()));
}

} // namespace pavix::thumbs
