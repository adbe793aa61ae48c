#pragma once
// The sorting commands of the list: a column-header click, "By Name" / "By Size" / "By
// Type" and "Ascending" / "Descending" from either arrange menu. Each takes the state and
// returns the new one: the list's sort properties, the alternation of header clicks, the
// check marks of both arrange menus and which header shows which arrow. The main window
// applies it to the list and the menus.

#include <array>
#include <optional>

namespace pavix::listview {

// Where the header clicks have got to: each click goes from None or Ascending to
// Descending and from Descending to Ascending. The menus never change it.
enum class ClickOrder { None, Descending, Ascending };

inline constexpr int SortColumnCount = 3; // name, size, type

// Arrow images of the column headers (positions in the header's image list).
inline constexpr int HeaderImageDown = 0; // ascending
inline constexpr int HeaderImageUp = 1;   // descending

struct SortState {
    int sortKey = 0;   // 0 name, 1 size, 2 type
    int sortOrder = 0; // 0 ascending, 1 descending
    bool sorted = false;
    int sortColumn = 0; // the arrange item that carries the check mark
    ClickOrder clickOrder = ClickOrder::None;
    // The arrange items of the View menu and of the list's context menu.
    std::array<bool, SortColumnCount> viewArrangeChecked{};
    std::array<bool, SortColumnCount> listArrangeChecked{};
    // "Ascending" and "Descending" of both menus.
    bool viewAscendingChecked = false;
    bool viewDescendingChecked = false;
    bool listAscendingChecked = false;
    bool listDescendingChecked = false;
    // The arrow each header shows on the right of its caption (HeaderImageDown or
    // HeaderImageUp), or none.
    std::array<std::optional<int>, SortColumnCount> headerImages{};
};

// A click on the header at `index1` (1 to 3): the first click after start-up orders
// descending, every further one reverses the previous click's order, on any column. An
// index outside 1 to 3 returns the state unchanged.
SortState afterHeaderClick(SortState state, int index1);

// "By Name" (0), "By Size" (1) or "By Type" (2) from either arrange menu: ascending on that
// column. An index outside 0 to 2 returns the state unchanged.
SortState arrangeBy(SortState state, int index);

// "Ascending" or "Descending" from either arrange menu, on the current key.
SortState sortAscending(SortState state);
SortState sortDescending(SortState state);

} // namespace pavix::listview
