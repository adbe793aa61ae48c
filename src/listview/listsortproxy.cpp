#include "listview/listsortproxy.h"

#include "listview/listitemmodel.h"

#include <QLocale>

namespace pavix::listview {

namespace {

listview::SortItem sortItem(const ListItem &item, int column)
{
    if (column < 1 || column > 2)
        return listview::SortItem{item.text, std::nullopt, item.added};
    const auto sub = static_cast<size_t>(column - 1);
    return listview::SortItem{item.sub[sub], item.number[sub], item.added};
}

} // namespace

ListSortProxy::ListSortProxy(ListItemModel *items, QObject *parent)
    : QSortFilterProxyModel(parent), m_items(items), m_order(false, QLocale())
{
    setDynamicSortFilter(true);
    setSourceModel(items);
    // Emptied, the list starts a new unsorted order.
    connect(items, &QAbstractItemModel::modelReset, this, [this] { m_unsortedRank.clear(); });
    // The proxy always sorts: unsorted by the ranks, on column 0 ascending.
    sort(0, Qt::AscendingOrder);
}

void ListSortProxy::setOrdering(bool sorted, int key, bool descending)
{
    if (!sorted && !m_sorted)
        return; // the order stays as it is
    if (!sorted)
        keepPresentOrder();
    m_sorted = sorted;
    m_order = SortOrder(descending, QLocale());
    const int column = sorted ? key : 0;
    const Qt::SortOrder order = sorted && descending ? Qt::DescendingOrder : Qt::AscendingOrder;
    // sort() does nothing for the column and order it already has; the rules changed, so
    // invalidate() sorts again.
    if (column == sortColumn() && order == sortOrder())
        invalidate();
    else
        sort(column, order);
}

bool ListSortProxy::lessThan(const QModelIndex &sourceLeft, const QModelIndex &sourceRight) const
{
    if (!m_sorted)
        return unsortedRank(sourceLeft.row()) < unsortedRank(sourceRight.row());
    const ListItem *left = m_items ? m_items->item(sourceLeft.row()) : nullptr;
    const ListItem *right = m_items ? m_items->item(sourceRight.row()) : nullptr;
    if (!left || !right)
        return false;
    const int column = sourceLeft.column();
    const int byKey = m_order.compareKeys(sortItem(*left, column), sortItem(*right, column));
    if (byKey != 0)
        return byKey < 0;
    // Qt sorts descending by swapping the arguments; swapping the tie break too keeps
    // equal keys in the order they were added either way.
    return sortOrder() == Qt::AscendingOrder ? left->added < right->added : left->added > right->added;
}

void ListSortProxy::keepPresentOrder()
{
    const int rows = rowCount();
    m_unsortedRank.assign(static_cast<size_t>(rows), 0);
    for (int row = 0; row < rows; ++row)
        m_unsortedRank[static_cast<size_t>(mapToSource(index(row, 0)).row())] = row;
}

int ListSortProxy::unsortedRank(int sourceRow) const
{
    // Ranks given when sorting stopped are below their count, and later rows are added
    // after every one of them, so a later row ranks by its own number.
    if (sourceRow >= 0 && sourceRow < static_cast<int>(m_unsortedRank.size()))
        return m_unsortedRank[static_cast<size_t>(sourceRow)];
    return sourceRow;
}

} // namespace pavix::listview
