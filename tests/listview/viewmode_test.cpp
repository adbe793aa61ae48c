#include "listview/viewmode.h"


#include <gtest/gtest.h>

using namespace pavix::listview;
using pavix::listview::ListLayout;

namespace {

int checkedCount(const ViewModeState &state)
{
    int n = 0;
    for (bool checked : state.checked)
        n += checked ? 1 : 0;
    return n;
}

} // namespace

TEST(ViewMode, CaptionsAndKeys)
{
    EXPECT_EQ(listViewModeCaption(0), QStringLiteral("Thumbnails          F4"));
    EXPECT_EQ(listViewModeCaption(2), QStringLiteral("Small Icons          F7"));
    EXPECT_EQ(listViewModeCaption(3), QStringLiteral("List                      F8"));
    EXPECT_EQ(listViewModeCaption(4).size(), 26);
    EXPECT_TRUE(listViewModeCaption(5).isEmpty());
    EXPECT_EQ(iconsMenuCaption(1), QStringLiteral("Large icons"));
    EXPECT_EQ(toolBarKey(1), QStringLiteral("View Large Icons"));
    EXPECT_EQ(modeForToolBarKey(QStringLiteral("View Details")), 4);
    EXPECT_FALSE(modeForToolBarKey(QStringLiteral("Details")).has_value());
    EXPECT_FALSE(listLayoutForMode(0).has_value());
    EXPECT_EQ(listLayoutForMode(3), ListLayout::List);
    EXPECT_EQ(modeForListLayout(ListLayout::LargeIcons), 1);
}

TEST(ViewMode, DetailsSplitsTheWidthInThirds)
{
    const ViewModeState details = switchViewMode(4, 4500);
    ASSERT_TRUE(details.detailsColumnWidth.has_value());
    EXPECT_DOUBLE_EQ(*details.detailsColumnWidth, 1390.0);
    EXPECT_EQ(details.listLayout, ListLayout::Details);
    // Again after the list was resized: the new width is divided.
    EXPECT_DOUBLE_EQ(*switchViewMode(4, 6000, details).detailsColumnWidth, 1890.0);
    // A third in single precision: 1000 / 3 = 333.333344 less 110.
    EXPECT_FLOAT_EQ(static_cast<float>(*switchViewMode(4, 1000).detailsColumnWidth), 223.333344f);
    // Other layouts leave the widths alone.
    EXPECT_FALSE(switchViewMode(3, 4500).detailsColumnWidth.has_value());
}

TEST(ViewMode, ArrangeMenusAndOneCheckFollowTheMode)
{
    ViewModeState state = switchViewMode(0, 4500);
    EXPECT_FALSE(state.arrangeEnabled);
    EXPECT_FALSE(state.listVisible);
    EXPECT_FALSE(state.listLayout.has_value());
    EXPECT_EQ(state.pressedButton, 0);
    EXPECT_EQ(checkedCount(state), 1);
    EXPECT_TRUE(state.checked[0]);

    for (int mode = 1; mode <= 4; ++mode) {
        SCOPED_TRACE(mode);
        state = switchViewMode(mode, 4500, state);
        EXPECT_TRUE(state.arrangeEnabled);
        EXPECT_TRUE(state.listVisible);
        EXPECT_EQ(state.pressedButton, mode);
        EXPECT_EQ(checkedCount(state), 1);
        EXPECT_TRUE(state.checked[static_cast<size_t>(mode)]);
        ASSERT_TRUE(state.listLayout.has_value());
        EXPECT_EQ(static_cast<int>(*state.listLayout), mode - 1);
    }

    // Twice in a row changes nothing.
    const ViewModeState twice = switchViewMode(2, 4500, switchViewMode(2, 4500, state));
    EXPECT_EQ(twice.checked, switchViewMode(2, 4500).checked);
    EXPECT_EQ(twice.listLayout, ListLayout::SmallIcons);

    // Back to thumbnails disables arranging again.
    EXPECT_FALSE(switchViewMode(0, 4500, state).arrangeEnabled);
}

TEST(ViewMode, AnUnknownModeChangesNothing)
{
    const ViewModeState list = switchViewMode(3, 4500);
    for (int index : {-1, 5, 32767}) {
        const ViewModeState after = switchViewMode(index, 4500, list);
        EXPECT_EQ(after.checked, list.checked);
        EXPECT_EQ(after.pressedButton, 3);
        EXPECT_TRUE(after.arrangeEnabled);
        EXPECT_TRUE(after.listVisible);
        EXPECT_FALSE(after.listLayout.has_value());
        EXPECT_FALSE(after.detailsColumnWidth.has_value());
    }
}
