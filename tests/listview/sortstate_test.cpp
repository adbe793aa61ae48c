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
    EXPECT_FALSE(start.Sorted);
    EXPECT_EQ(start.SortColumn, 0);
    EXPECT_EQ(start.clickOrder, ClickOrder::None);
    EXPECT_EQ(checkedCount(start.arrangeChecked), 0);
    EXPECT_FALSE(start.azChecked || start.zaChecked || start.lvAzChecked || start.lvZaChecked);
    EXPECT_EQ(start.headerImages, (Images{}));
}

TEST(SortState, FirstClickOnSizeSortsDescendingWithTheUpArrow)
{
    const SortState state = Lv_ColumnClick(SortState{}, 2);
    EXPECT_EQ(state.SortKey, 1);
    EXPECT_EQ(state.SortOrder, 1);
    EXPECT_TRUE(state.Sorted);
    EXPECT_EQ(state.clickOrder, ClickOrder::Descending);
    EXPECT_EQ(state.headerImages, (Images{std::nullopt, HeaderImageUp, std::nullopt}));
    EXPECT_EQ(state.arrangeChecked, (Checks{false, true, false}));
    EXPECT_EQ(state.lvArrChecked, (Checks{false, true, false}));
    EXPECT_EQ(state.SortColumn, 1);
    EXPECT_FALSE(state.azChecked);
    EXPECT_TRUE(state.zaChecked);
    EXPECT_FALSE(state.lvAzChecked);
    EXPECT_TRUE(state.lvZaChecked);
}

TEST(SortState, ClicksAlternateOnAnyColumn)
{
    SortState state = Lv_ColumnClick(SortState{}, 2);
    state = Lv_ColumnClick(state, 2);
    EXPECT_EQ(state.SortOrder, 0);
    EXPECT_EQ(state.headerImages, (Images{std::nullopt, HeaderImageDown, std::nullopt}));
    EXPECT_TRUE(state.azChecked);
    EXPECT_FALSE(state.zaChecked);
    state = Lv_ColumnClick(state, 2);
    EXPECT_EQ(state.SortOrder, 1);
    EXPECT_EQ(state.headerImages[1], HeaderImageUp);

    // The next click, on another column, reverses again; the arrow moves with the key.
    state = Lv_ColumnClick(state, 1);
    EXPECT_EQ(state.SortKey, 0);
    EXPECT_EQ(state.SortOrder, 0);
    EXPECT_EQ(state.headerImages, (Images{HeaderImageDown, std::nullopt, std::nullopt}));
    EXPECT_EQ(state.arrangeChecked, (Checks{true, false, false}));
    EXPECT_EQ(state.lvArrChecked, (Checks{true, false, false}));
    EXPECT_EQ(state.SortColumn, 0);
}

TEST(SortState, MenuOrdersDoNotChangeTheClickAlternation)
{
    SortState state = Lv_ColumnClick(SortState{}, 3); // descending
    state = mnuShortZA_Click(state);
    EXPECT_EQ(state.clickOrder, ClickOrder::Descending);
    state = mnuShortAZ_Click(state);
    EXPECT_EQ(state.SortOrder, 0);
    EXPECT_EQ(state.SortKey, 2);
    EXPECT_EQ(state.headerImages[2], HeaderImageDown);
    state = mnuArrange_Click(state, 0);
    EXPECT_EQ(state.clickOrder, ClickOrder::Descending);
    // The previous click was descending, so this one is ascending.
    state = Lv_ColumnClick(state, 2);
    EXPECT_EQ(state.SortOrder, 0);
    EXPECT_EQ(state.SortKey, 1);
    EXPECT_EQ(state.clickOrder, ClickOrder::Ascending);

    // "Descending" from the menu, then a click: still the alternation, now descending.
    state = mnuShortZA_Click(state);
    state = Lv_ColumnClick(state, 2);
    EXPECT_EQ(state.SortOrder, 1);
}

TEST(SortState, ByTypeIsAscendingWithOneCheckPerMenu)
{
    SortState state = Lv_ColumnClick(SortState{}, 2); // by size, descending
    state = mnuArrange_Click(state, 2);
    EXPECT_EQ(state.SortKey, 2);
    EXPECT_EQ(state.SortOrder, 0);
    EXPECT_TRUE(state.Sorted);
    EXPECT_EQ(state.SortColumn, 2);
    EXPECT_EQ(state.arrangeChecked, (Checks{false, false, true}));
    EXPECT_EQ(state.lvArrChecked, (Checks{false, false, true}));
    EXPECT_EQ(state.headerImages, (Images{std::nullopt, std::nullopt, HeaderImageDown}));
    EXPECT_TRUE(state.azChecked && state.lvAzChecked);
    EXPECT_FALSE(state.zaChecked || state.lvZaChecked);

    // Descending, then "By Type" again: ascending once more.
    state = mnuArrange_Click(mnuShortZA_Click(state), 2);
    EXPECT_EQ(state.SortOrder, 0);
    EXPECT_EQ(checkedCount(state.arrangeChecked), 1);
    EXPECT_EQ(checkedCount(state.lvArrChecked), 1);
}

TEST(SortState, OrderOnlyCommandsKeepTheKeyAndItsCheck)
{
    SortState state = mnuArrange_Click(SortState{}, 1);
    state = mnuShortZA_Click(state);
    EXPECT_EQ(state.SortKey, 1);
    EXPECT_EQ(state.SortOrder, 1);
    EXPECT_EQ(state.headerImages[1], HeaderImageUp);
    EXPECT_EQ(state.arrangeChecked, (Checks{false, true, false}));

    // Before any arrange command, "Ascending" sorts by name and checks no arrange item.
    const SortState fresh = mnuShortAZ_Click(SortState{});
    EXPECT_TRUE(fresh.Sorted);
    EXPECT_EQ(fresh.SortKey, 0);
    EXPECT_EQ(fresh.headerImages[0], HeaderImageDown);
    EXPECT_EQ(checkedCount(fresh.arrangeChecked), 0);
    EXPECT_TRUE(fresh.azChecked);
}

TEST(SortState, HeadersOutsideTheThreeColumnsAreIgnored)
{
    const SortState state = Lv_ColumnClick(SortState{}, 1);
    for (int index1 : {0, 4, -1}) {
        const SortState after = Lv_ColumnClick(state, index1);
        EXPECT_EQ(after.clickOrder, state.clickOrder);
        EXPECT_EQ(after.SortKey, state.SortKey);
        EXPECT_EQ(after.arrangeChecked, state.arrangeChecked);
    }
    EXPECT_EQ(mnuArrange_Click(state, 3).SortKey, state.SortKey);
    EXPECT_EQ(mnuArrange_Click(state, -1).arrangeChecked, state.arrangeChecked);
}
