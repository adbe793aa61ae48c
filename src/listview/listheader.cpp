#include "listview/listheader.h"

#include "listview/headerarrows.h"

#include <QEvent>
#include <QHoverEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionHeader>

#include <algorithm>

namespace pavix::listview {

namespace {

// Gap between a header caption and its sort arrow.
constexpr int HeaderArrowGapPx = 4;

} // namespace

ListHeader::ListHeader(QWidget *parent) : QHeaderView(Qt::Horizontal, parent)
{
    m_images[0] = headerArrowImage(0);
    m_images[1] = headerArrowImage(1);
    setSectionsClickable(true);
    setSectionsMovable(false);
    setHighlightSections(false);
    setStretchLastSection(false);
    setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setMouseTracking(true);
    viewport()->setMouseTracking(true);
    viewport()->setAttribute(Qt::WA_Hover, true);
}

void ListHeader::setHotTrack(bool on)
{
    m_hotTrack = on;
    viewport()->update();
}

void ListHeader::setArrow(int column0, std::optional<int> image)
{
    if (column0 < 0)
        return;
    if (column0 >= static_cast<int>(m_arrows.size()))
        m_arrows.resize(static_cast<size_t>(column0) + 1);
    m_arrows[static_cast<size_t>(column0)] = image;
    updateSection(column0);
}

std::optional<int> ListHeader::arrow(int column0) const
{
    if (column0 < 0 || column0 >= static_cast<int>(m_arrows.size()))
        return std::nullopt;
    return m_arrows[static_cast<size_t>(column0)];
}

void ListHeader::paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const
{
    if (!rect.isValid())
        return;
    QStyleOptionHeader option;
    initStyleOptionForIndex(&option, logicalIndex);
    option.rect = rect;
    option.sortIndicator = QStyleOptionHeader::None;
    const bool hot = m_hotTrack && logicalIndex == m_hover;
    if (hot)
        option.state |= QStyle::State_MouseOver;
    else
        option.state &= ~QStyle::State_MouseOver;

    painter->save();
    style()->drawControl(QStyle::CE_HeaderSection, &option, painter, this);
    if (hot) {
        // Not every style shows the hovered section; a tint of the highlight colour does.
        QColor tint = palette().color(QPalette::Highlight);
        tint.setAlpha(60);
        painter->fillRect(rect.adjusted(1, 1, -1, -1), tint);
    }

    QStyleOptionHeader label = option;
    label.rect = style()->subElementRect(QStyle::SE_HeaderLabel, &option, this);
    label.textAlignment = Qt::AlignLeft | Qt::AlignVCenter;
    const QImage *image = arrowImage(logicalIndex);
    if (image) {
        // The arrow sits right after the caption (trailing spaces included), and within
        // the section when the column is narrow; the caption gives way to it.
        const int textWidth = option.fontMetrics.horizontalAdvance(option.text);
        const int maxLeft = label.rect.right() + 1 - image->width();
        const int left = std::max(label.rect.left(),
                                  std::min(label.rect.left() + textWidth + HeaderArrowGapPx, maxLeft));
        const int top = rect.top() + (rect.height() - image->height()) / 2;
        label.rect.setRight(left - HeaderArrowGapPx);
        painter->drawImage(QPoint(left, top), *image);
    }
    if (label.rect.width() > 0)
        style()->drawControl(QStyle::CE_HeaderLabel, &label, painter, this);
    painter->restore();
}

bool ListHeader::viewportEvent(QEvent *event)
{
    switch (event->type()) {
    case QEvent::HoverEnter:
    case QEvent::HoverMove:
        setHover(logicalIndexAt(static_cast<QHoverEvent *>(event)->position().toPoint()));
        break;
    case QEvent::HoverLeave:
    case QEvent::Leave:
        setHover(-1);
        break;
    default:
        break;
    }
    return QHeaderView::viewportEvent(event);
}

const QImage *ListHeader::arrowImage(int logicalIndex) const
{
    const std::optional<int> image = arrow(logicalIndex);
    if (!image || *image < 0 || *image > 1 || m_images[static_cast<size_t>(*image)].isNull())
        return nullptr;
    return &m_images[static_cast<size_t>(*image)];
}

void ListHeader::setHover(int section)
{
    if (section == m_hover)
        return;
    const int old = m_hover;
    m_hover = section;
    if (!m_hotTrack)
        return;
    if (old >= 0)
        updateSection(old);
    if (section >= 0)
        updateSection(section);
}

} // namespace pavix::listview
