#pragma once
// The view-mode and sorting commands of the main window. They fill the two arrange menus
// (View menu "Arrange Icons" and the list's context menu "Arrange icons"), connect the
// view-mode items of both menus, the five view buttons of the tool bar and the list's
// column headers, and apply the rules of viewmode.h and sortstate.h to the real controls.
// The controls themselves are the state: the check marks, the pressed button and the
// list's sort properties; the sort column and the alternation of header clicks are kept
// here.

#include "listview/sortstate.h"
#include "listview/viewmode.h"

#include <QObject>

#include <array>

class QAction;
class QActionGroup;
class QMenu;
class QWidget;

namespace pavix::listview {
class QtListView;
}

namespace pavix::shell {

// The controls the commands work on.
struct ListCommandParts {
    listview::QtListView *list = nullptr;
    QWidget *thumbArea = nullptr;  // shown instead of the list in thumbnail mode
    QWidget *thumbStrip = nullptr; // takes the focus in thumbnail mode
    QMenu *viewArrangeMenu = nullptr;
    QMenu *listSortMenu = nullptr;
    std::array<QAction *, listview::ViewModeCount> viewModeItems{}; // View menu
    std::array<QAction *, listview::ViewModeCount> listViewItems{}; // the list's menu
    QActionGroup *viewButtons = nullptr;                            // the tool bar's five, keyed by their data
};

class ListCommands : public QObject {
    Q_OBJECT

public:
    // Fills the arrange menus and connects the menus, the tool bar's view buttons and the
    // list's column headers.
    ListCommands(const ListCommandParts &parts, QObject *parent);

    // --- View modes ---------------------------------------------------------------------
    // Switches the file area to view mode `mode` (0 thumbnails, 1 large icons, 2 small
    // icons, 3 list, 4 details): tool bar button, arrange menus, check marks of both menus,
    // the shown area and its focus, the list's layout and, in details mode, each column a
    // third of the list's width less 110 twips. Any other mode only copies the View menu's
    // check marks onto the context menu.
    void setViewMode(int mode);
    // The view mode whose View menu item carries the check mark; -1 when none does.
    int viewMode() const;
    // Presses the tool bar button of a mode (start-up).
    void pressViewButton(int mode);
    // The mode whose tool bar button is pressed; -1 when none is.
    int pressedViewButton() const;

    // --- Sorting ------------------------------------------------------------------------
    // A click on the column header `column` (1 name, 2 size, 3 type): the first click
    // orders descending, each further one reverses the previous click's order. A column
    // outside 1 to 3 does nothing.
    void sortByHeader(int column);
    // "By Name" (0), "By Size" (1), "By Type" (2): ascending on that column. An index
    // outside 0 to 2 does nothing.
    void arrangeBy(int column);
    // "Ascending" / "Descending" on the list's current sort key.
    void sortAscending();
    void sortDescending();

    // Where the header clicks have got to.
    listview::ClickOrder clickOrder() const { return m_clickOrder; }
    // The column the header clicks and arrange items last sorted by.
    int sortColumn() const { return m_sortColumn; }

    // Items of the View menu's "Arrange Icons" and of the context menu's "Arrange icons".
    std::array<QAction *, listview::SortColumnCount> viewArrangeItems{};
    QAction *viewAscendingItem = nullptr;
    QAction *viewDescendingItem = nullptr;
    std::array<QAction *, listview::SortColumnCount> listArrangeItems{};
    QAction *listAscendingItem = nullptr;
    QAction *listDescendingItem = nullptr;

private:
    void createArrangeMenus();
    void connectViewModes();
    // The sort state as the controls show it, with the click alternation kept here.
    listview::SortState sortStateFromControls() const;
    // Gives the list, the menus, the headers and the sort column the state.
    void applySortState(const listview::SortState &state);

    ListCommandParts m_parts;
    listview::ClickOrder m_clickOrder = listview::ClickOrder::None;
    int m_sortColumn = 0;
};

} // namespace pavix::shell
