#pragma once
// The view-mode and sorting commands of the main window. They fill the two arrange menus
// (View menu "Arrange Icons" and the list's context menu "Arrange icons"), connect the
// view-mode items of both menus, the five view buttons of the tool bar and the list's
// column headers, and apply the rules of viewmode.h and sortstate.h to the real controls.
// The controls themselves are the state: the check marks, the pressed button, the list's
// sort properties and the main window's `SortColumn`; only the alternation of header clicks
// is kept here.

#include "listview/sortstate.h"

#include <QObject>

#include <array>
#include <optional>

class QAction;

namespace pavix::shell {
class MainWindow;
}

namespace pavix::listview {

// The view mode a key of the main window chooses: F4 thumbnails, F6 large icons, F7 small
// icons, F8 list, F9 details (virtual-key codes 115, 117 to 120); none for any other key.
std::optional<int> viewModeForKey(int keyCode);

class ListCommands : public QObject {
    Q_OBJECT

public:
    // Fills the arrange menus of `main` and connects the menus, the tool bar's view buttons
    // and the list's column headers. The commands belong to `main` and go with it.
    explicit ListCommands(shell::MainWindow &main);

    // --- View modes ---------------------------------------------------------------------
    // Switches the file area to view mode `Index` (0 thumbnails, 1 large icons, 2 small
    // icons, 3 list, 4 details): tool bar button, arrange menus, check marks of both menus,
    // the shown area and its focus, the list's layout and, in details mode, each column a
    // third of the list's width less 110 twips. Any other index only copies the View menu's
    // check marks onto the context menu.
    void mnuListViewMode_Click(int Index);
    // The context menu's view items: the same as the View menu's for 0 to 4; nothing else.
    void mnuIcons_Click(int Index);
    // The main window's key handler: runs the view mode of F4 or F6 to F9 and returns true;
    // any other key does nothing and returns false.
    bool viewModeKey(int keyCode);
    // The view mode whose View menu item carries the check mark; -1 when none does.
    int viewMode() const;

    // --- Sorting ------------------------------------------------------------------------
    // A click on the column header `index1` (1 name, 2 size, 3 type): the first click
    // orders descending, each further one reverses the previous click's order. An index
    // outside 1 to 3 does nothing.
    void Lv_ColumnClick(int index1);
    // "By Name" (0), "By Size" (1), "By Type" (2): ascending on that column. An index
    // outside 0 to 2 does nothing.
    void mnuArrange_Click(int Index);
    // "Ascending" / "Descending" on the list's current sort key.
    void mnuShortAZ_Click();
    void mnuShortZA_Click();
    // The context menu's twins, which run the View menu's handlers.
    void mnuLvArr_Click(int Index);
    void mnuLvShortAZ_Click();
    void mnuLvShortZA_Click();

    // Where the header clicks have got to.
    ClickOrder clickOrder() const { return m_clickOrder; }

    // Items of the View menu's "Arrange Icons" and of the context menu's "Arrange icons".
    std::array<QAction *, SortColumnCount> mnuArrange{};
    QAction *mnuShortAZ = nullptr;
    QAction *mnuShortZA = nullptr;
    std::array<QAction *, SortColumnCount> mnuLvArr{};
    QAction *mnuLvShortAZ = nullptr;
    QAction *mnuLvShortZA = nullptr;

private:
    void createArrangeMenus();
    void connectViewModes();
    // The sort state as the controls show it, with the click alternation kept here.
    SortState sortStateFromControls() const;
    // Gives the list, the menus, the headers and `SortColumn` the state.
    void applySortState(const SortState &state);

    shell::MainWindow &m_main;
    ClickOrder m_clickOrder = ClickOrder::None;
};

} // namespace pavix::listview
