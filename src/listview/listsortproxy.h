#pragma once
// The displayed order of the picture list: Qt's sorting proxy over the items as added
// (listitemmodel.h), with the list's own rules, those of SortOrder.
//
// Sorted, rows go by the key column (0 the text, 1 and 2 the sub-items): numbers compare as
// numbers where the column holds them (an item without one goes first), texts in the
// user's collation ignoring case; equal keys keep the order of addition in both
// directions. An item added, or whose key changes, goes straight to its place.
// Unsorted, the rows keep the order they had when sorting stopped, and later items follow
// in the order they are added.

#include "listview/sortorder.h"

#include <QPointer>
#include <QSortFilterProxyModel>

#include <vector>

namespace pavix::listview {

class ListItemModel;

class ListSortProxy final : public QSortFilterProxyModel {
public:
    // Shows `items`, unsorted, in the order they were added.
    explicit ListSortProxy(ListItemModel *items, QObject *parent = nullptr);

    // Orders the rows at once by `key` (0 to 2) when `sorted`; unsorted keeps the present
    // order. The collation is that of the default locale at the time of the call.
    void setOrdering(bool sorted, int key, bool descending);
    bool sorted() const { return m_sorted; }

protected:
    bool lessThan(const QModelIndex &sourceLeft, const QModelIndex &sourceRight) const override;

private:
    // Remembers the present order as the unsorted one.
    void keepPresentOrder();
    // The place of a source row in the unsorted order.
    int unsortedRank(int sourceRow) const;

    // Null once the items are destroyed, which may happen before the proxy is.
    QPointer<const ListItemModel> m_items;
    bool m_sorted = false;
    // Opening a collator costs more than a comparison: one serves until the order changes.
    SortOrder m_order;
    // Unsorted place of each source row below its size; rows added later rank by their row.
    std::vector<int> m_unsortedRank;
};

} // namespace pavix::listview
