#pragma once
// The five view modes of the file area and the decisions of switching between them: which
// menu items carry the check mark, which tool bar button is pressed, whether the arrange
// menus are enabled, which area is shown, the list's layout and, in details mode, the
// width of the three columns. The main window applies them.

#include "listview/listlayout.h"

#include <QString>

#include <array>
#include <optional>

namespace pavix::listview {

enum class ViewMode { Thumbnails = 0, LargeIcons = 1, SmallIcons = 2, List = 3, Details = 4 };

inline constexpr int ViewModeCount = 5;

// Caption of the View menu's view-mode item ("Thumbnails          F4" ...), with
// the shortcut padded exactly as the menu shows it; empty for a mode outside 0 to 4.
QString listViewModeCaption(int mode);
// Caption of the list menu's view item ("Thumbnails", "Large icons" ...); empty
// for a mode outside 0 to 4.
QString iconsMenuCaption(int mode);
// Key of the tool bar button of a mode ("View Thumbnails" ...); empty outside 0 to 4.
QString toolBarKey(int mode);
// The mode of a tool bar button key, or none when the key is not a view button.
std::optional<int> modeForToolBarKey(const QString &key);

// The list's layout for a view mode (the mode minus 1); none for thumbnails and for a
// value outside 0 to 4.
std::optional<ListLayout> listLayoutForMode(int mode);
// The view mode showing a list layout (the layout plus 1).
int modeForListLayout(ListLayout view);

struct ViewModeState {
    // Check marks of the View menu's five view-mode items, mirrored onto the list menu's.
    std::array<bool, ViewModeCount> checked{};
    // The view mode whose tool bar button is pressed; -1 when none is.
    int pressedButton = -1;
    // The two arrange menus (View menu and list menu).
    bool arrangeEnabled = false;
    // True: the list shown and given the focus; false: the thumbnail viewport shown instead.
    bool listVisible = false;
    // The layout to give the list; none leaves it as it is.
    std::optional<ListLayout> listLayout;
    // Width in twips for each of the three columns; none leaves the widths as they are.
    std::optional<double> detailsColumnWidth;
};

// The state after choosing view mode `index` with the list `lvWidthTwips` wide. The
// details columns each get a third of that width (single precision) less 110 twips: 4500
// gives 1390. An index outside 0 to 4 returns `current` with only the context menu
// mirrored, since nothing else changes; `listLayout` and `detailsColumnWidth` of `current`
// are not carried over.
ViewModeState switchViewMode(int index, double lvWidthTwips, const ViewModeState &current = {});

} // namespace pavix::listview
