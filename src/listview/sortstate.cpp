#include "listview/sortstate.h"

namespace pavix::listview {

namespace {

bool validColumn(int column) { return column >= 0 && column < SortColumnCount; }

// The sort column's header shows the arrow of the order, the others none.
void headerRefresh(SortState &state)
{
    for (int i = 0; i < SortColumnCount; ++i) {
        auto &image = state.headerImages[static_cast<size_t>(i)];
        if (i == state.SortKey)
            image = state.SortOrder == 0 ? HeaderImageDown : HeaderImageUp;
        else
            image.reset();
    }
}

// "Ascending" is checked exactly when the order is ascending, "Descending" otherwise, and
// the context menu copies the View menu.
void menuMirror(SortState &state)
{
    state.azChecked = state.SortOrder == 0;
    state.zaChecked = !state.azChecked;
    state.lvAzChecked = state.azChecked;
    state.lvZaChecked = state.zaChecked;
}

void uncheckSortColumn(SortState &state)
{
    if (!validColumn(state.SortColumn))
        return;
    state.arrangeChecked[static_cast<size_t>(state.SortColumn)] = false;
    state.lvArrChecked[static_cast<size_t>(state.SortColumn)] = false;
}

} // namespace

SortState Lv_ColumnClick(SortState state, int index1)
{
    const int key = index1 - 1;
    if (!validColumn(key))
        return state;

    state.clickOrder =
        state.clickOrder == ClickOrder::Descending ? ClickOrder::Ascending : ClickOrder::Descending;
    state.SortKey = key;
    state.SortOrder = state.clickOrder == ClickOrder::Descending ? 1 : 0;
    state.Sorted = true;
    headerRefresh(state);
    uncheckSortColumn(state);
    menuMirror(state);
    state.arrangeChecked[static_cast<size_t>(key)] = true;
    state.SortColumn = key;
    state.lvArrChecked[static_cast<size_t>(key)] = state.arrangeChecked[static_cast<size_t>(key)];
    return state;
}

SortState mnuArrange_Click(SortState state, int index)
{
    if (!validColumn(index))
        return state;

    uncheckSortColumn(state);
    state.arrangeChecked[static_cast<size_t>(index)] = true;
    state.lvArrChecked[static_cast<size_t>(index)] = true;
    state.SortColumn = index;
    state.SortKey = index;
    state.SortOrder = 0;
    state.Sorted = true;
    menuMirror(state);
    headerRefresh(state);
    return state;
}

namespace {

// The order commands: the current key in the given order.
SortState sortInOrder(SortState state, int order)
{
    state.SortOrder = order;
    state.Sorted = true;
    menuMirror(state);
    headerRefresh(state);
    return state;
}

} // namespace

SortState mnuShortAZ_Click(SortState state) { return sortInOrder(state, 0); }

SortState mnuShortZA_Click(SortState state) { return sortInOrder(state, 1); }

} // namespace pavix::listview
