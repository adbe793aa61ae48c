#include "listview/sortstate.h"

namespace pavix::listview {

namespace {

bool validColumn(int column)
{
    return column >= 0 && column < SortColumnCount;
}

// The sort column's header shows the arrow of the order, the others none.
void headerRefresh(SortState &state)
{
    for (int i = 0; i < SortColumnCount; ++i) {
        auto &image = state.headerImages[static_cast<size_t>(i)];
        if (i == state.sortKey)
            image = state.sortOrder == 0 ? HeaderImageDown : HeaderImageUp;
        else
            image.reset();
    }
}

// "Ascending" is checked exactly when the order is ascending, "Descending" otherwise, and
// the context menu copies the View menu.
void menuMirror(SortState &state)
{
    state.viewAscendingChecked = state.sortOrder == 0;
    state.viewDescendingChecked = !state.viewAscendingChecked;
    state.listAscendingChecked = state.viewAscendingChecked;
    state.listDescendingChecked = state.viewDescendingChecked;
}

void uncheckSortColumn(SortState &state)
{
    if (!validColumn(state.sortColumn))
        return;
    state.viewArrangeChecked[static_cast<size_t>(state.sortColumn)] = false;
    state.listArrangeChecked[static_cast<size_t>(state.sortColumn)] = false;
}

} // namespace

SortState afterHeaderClick(SortState state, int index1)
{
    const int key = index1 - 1;
    if (!validColumn(key))
        return state;

    state.clickOrder = state.clickOrder == ClickOrder::Descending ? ClickOrder::Ascending : ClickOrder::Descending;
    state.sortKey = key;
    state.sortOrder = state.clickOrder == ClickOrder::Descending ? 1 : 0;
    state.sorted = true;
    headerRefresh(state);
    uncheckSortColumn(state);
    menuMirror(state);
    state.viewArrangeChecked[static_cast<size_t>(key)] = true;
    state.sortColumn = key;
    state.listArrangeChecked[static_cast<size_t>(key)] = state.viewArrangeChecked[static_cast<size_t>(key)];
    return state;
}

SortState arrangeBy(SortState state, int index)
{
    if (!validColumn(index))
        return state;

    uncheckSortColumn(state);
    state.viewArrangeChecked[static_cast<size_t>(index)] = true;
    state.listArrangeChecked[static_cast<size_t>(index)] = true;
    state.sortColumn = index;
    state.sortKey = index;
    state.sortOrder = 0;
    state.sorted = true;
    menuMirror(state);
    headerRefresh(state);
    return state;
}

namespace {

// The order commands: the current key in the given order.
SortState sortInOrder(SortState state, int order)
{
    state.sortOrder = order;
    state.sorted = true;
    menuMirror(state);
    headerRefresh(state);
    return state;
}

} // namespace

SortState sortAscending(SortState state)
{
    return sortInOrder(state, 0);
}

SortState sortDescending(SortState state)
{
    return sortInOrder(state, 1);
}

} // namespace pavix::listview
