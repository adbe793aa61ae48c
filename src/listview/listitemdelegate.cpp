#include "listview/listitemdelegate.h"

namespace pavix::listview {

QSize ListItemDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    if (m_maxWidth > 0 && size.width() > m_maxWidth)
        size.setWidth(m_maxWidth);
    return size;
}

} // namespace pavix::listview
