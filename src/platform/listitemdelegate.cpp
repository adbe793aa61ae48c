#include "platform/listitemdelegate.h"

namespace pavix::platform {

QSize ListItemDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    if (m_maxWidth > 0 && size.width() > m_maxWidth)
        size.setWidth(m_maxWidth);
    return size;
}

} // namespace pavix::platform
