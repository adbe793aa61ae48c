#include "listview/listitemdelegate.h"

#include "catalogue/filepaths.h"

namespace pavix::listview {

QSize ListItemDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    if (m_maxWidth > 0 && size.width() > m_maxWidth)
        size.setWidth(m_maxWidth);
    return size;
}

QString ListItemDelegate::displayText(const QVariant &value, const QLocale &locale) const
{
    return catalogue::oneLineText(QStyledItemDelegate::displayText(value, locale));
}

} // namespace pavix::listview
