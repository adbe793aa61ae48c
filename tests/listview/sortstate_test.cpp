#include "listview/sortstate.h"

#include <gtest/gtest.h>

using namespace pavix::listview;

namespace {

using Checks = std::array<bool, 3>;
using Images = std::array<std::optional<int>, 3>;

int checkedCount(const Checks &checks)
{
    return static_cast<int>(checks[0]) + static_cast<int>(checks[1]) + static_cast<int>(checks[2]);
}

} // namespace

TEST(SortState, NothingIsCheckedBeforeTheFirstCommand)
{
    const SortState start;
    EXPECT_FALSE(start.sorted);
    EXPECT_EQ(start.sortColumn, 0);
    EXPECT_EQ(start.clickOrder, ClickOrder::None);
    EXPECT_EQ(checkedCount(start.viewArrangeChecked), 0);
    EXPECT_FALSE(start.viewAscendingChecked || start.viewDescendingChecked || start.listAscendingChecked
                 || start.listDescendingChecked);
    EXPECT_EQ(start.headerImages, (Images{}));
}

TEST(SortState, FirstClickOnSizeSortsDescendingWithTheUpArrow)
{
    const SortState state = afterHeaderClick(SortState{}, 2);
    EXPECT_EQ(state.sortKey, 1);
    EXPECT_EQ(state.sortOrder, 1);
    EXPECT_TRUE(state.sorted);
    EXPECT_EQ(state.clickOrder, ClickOrder::Descending);
    EXPECT_EQ(state.headerImages, (Images{std::nullopt, HeaderImageUp, std::nullopt}));
    EXPECT_EQ(state.viewArrangeChecked, (Checks{false, true, false}));
    EXPECT_EQ(state.listArrangeChecked, (Checks{false, true, false}));
    EXPECT_EQ(state.sortColumn, 1);
    EXPECT_FALSE(state.viewAscendingChecked);
    EXPECT_TRUE(state.viewDescendingChecked);
    EXPECT_FALSE(state.listAscendingChecked);
    EXPECT_TRUE(state.listDescendingChecked);
}

TEST(SortState, ClicksAlternateOnAnyColumn)
{
    SortState state = afterHeaderClick(SortState{}, 2);
    state = afterHeaderClick(state, 2);
    EXPECT_EQ(state.sortOrder, 0);
    EXPECT_EQ(state.headerImages, (Images{std::nullopt, HeaderImageDown, std::nullopt}));
    EXPECT_TRUE(state.viewAscendingChecked);
    EXPECT_FALSE(state.viewDescendingChecked);
    state = afterHeaderClick(state, 2);
    EXPECT_EQ(state.sortOrder, 1);
    EXPECT_EQ(state.headerImages[1], HeaderImageUp);

    // The next click, on another column, reverses again; the arrow moves with the key.
    state = afterHeaderClick(state, 1);
    EXPECT_EQ(state.sortKey, 0);
    EXPECT_EQ(state.sortOrder, 0);
    EXPECT_EQ(state.headerImages, (Images{HeaderImageDown, std::nullopt, std::nullopt}));
    EXPECT_EQ(state.viewArrangeChecked, (Checks{true, false, false}));
    EXPECT_EQ(state.listArrangeChecked, (Checks{true, false, false}));
    EXPECT_EQ(state.sortColumn, 0);
}

TEST(SortState, MenuOrdersDoNotChangeTheClickAlternation)
{
    SortState state = afterHeaderClick(SortState{}, 3); // descending
    state = sortDescending(state);
    EXPECT_EQ(state.clickOrder, ClickOrder::Descending);
    state = sortAscending(state);
    EXPECT_EQ(state.sortOrder, 0);
    EXPECT_EQ(state.sortKey, 2);
    EXPECT_EQ(state.headerImages[2], HeaderImageDown);
    state = arrangeBy(state, 0);
    EXPECT_EQ(state.clickOrder, ClickOrder::Descending);
    // The previous click was descending, so this one is ascending.
    state = afterHeaderClick(state, 2);
    EXPECT_EQ(state.sortOrder, 0);
    EXPECT_EQ(state.sortKey, 1);
    EXPECT_EQ(state.clickOrder, ClickOrder::Ascending);

    // "Descending" from the menu, then a click: still the alternation, now descending.
    state = sortDescending(state);
    state = afterHeaderClick(state, 2);
    EXPECT_EQ(state.sortOrder, 1);
}

TEST(SortState, ByTypeIsAscendingWithOneCheckPerMenu)
{
    SortState state = afterHeaderClick(SortState{}, 2); // by size, descending
    state = arrangeBy(state, 2);
    EXPECT_EQ(state.sortKey, 2);
    EXPECT_EQ(state.sortOrder, 0);
    EXPECT_TRUE(state.sorted);
    EXPECT_EQ(state.sortColumn, 2);
    EXPECT_EQ(state.viewArrangeChecked, (Checks{false, false, true}));
    EXPECT_EQ(state.listArrangeChecked, (Checks{false, false, true}));
    EXPECT_EQ(state.headerImages, (Images{std::nullopt, std::nullopt, HeaderImageDown}));
    EXPECT_TRUE(state.viewAscendingChecked && state.listAscendingChecked);
    EXPECT_FALSE(state.viewDescendingChecked || state.listDescendingChecked);

    // Descending, then "By Type" again: ascending once more.
    state = arrangeBy(sortDescending(state), 2);
    EXPECT_EQ(state.sortOrder, 0);
    EXPECT_EQ(checkedCount(state.viewArrangeChecked), 1);
    EXPECT_EQ(checkedCount(state.listArrangeChecked), 1);
}

TEST(SortState, OrderOnlyCommandsKeepTheKeyAndItsCheck)
{
    SortState state = arrangeBy(SortState{}, 1);
    state = sortDescending(state);
    EXPECT_EQ(state.sortKey, 1);
    EXPECT_EQ(state.sortOrder, 1);
    EXPECT_EQ(state.headerImages[1], HeaderImageUp);
    EXPECT_EQ(state.viewArrangeChecked, (Checks{false, true, false}));

    // Before any arrange command, "Ascending" sorts by name and checks no arrange item.
    const SortState fresh = sortAscending(SortState{});
    EXPECT_TRUE(fresh.sorted);
    EXPECT_EQ(fresh.sortKey, 0);
    EXPECT_EQ(fresh.headerImages[0], HeaderImageDown);
    EXPECT_EQ(checkedCount(fresh.viewArrangeChecked), 0);
    EXPECT_TRUE(fresh.viewAscendingChecked);
}

TEST(SortState, HeadersOutsideTheThreeColumnsAreIgnored)
{
    const SortState state = afterHeaderClick(SortState{}, 1);
    for (int index1 : {0, 4, -1}) {
        const SortState after = afterHeaderClick(state, index1);
        EXPECT_EQ(after.clickOrder, state.clickOrder);
        EXPECT_EQ(after.sortKey, state.sortKey);
        EXPECT_EQ(after.viewArrangeChecked, state.viewArrangeChecked);
    }
    EXPECT_EQ(arrangeBy(state, 3).sortKey, state.sortKey);
    EXPECT_EQ(arrangeBy(state, -1).viewArrangeChecked, state.viewArrangeChecked);
}
