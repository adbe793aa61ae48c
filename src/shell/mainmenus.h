#pragma once
// The main window's menus, pop-up menus and tool bar, built from the command tables: every
// item and button says which command it runs by commandChosen(). The marks of the pane and
// view items are the commands' to set.

#include "shell/commandtable.h"

#include <QObject>

#include <array>

class QAction;
class QActionGroup;
class QMenu;
class QMenuBar;
class QToolBar;
class QWidget;

namespace pavix::shell {

// The View menu's pane items, in their order.
enum class Pane { ToolBar, StatusBar, Tree, Preview };

class MainMenus : public QObject {
    Q_OBJECT
public:
    // Fills `menuBar` and `toolBar` and makes the pop-up menus, owned by `window`.
    MainMenus(QMenuBar *menuBar, QToolBar *toolBar, QWidget *window);

    QAction *paneItem(Pane pane) const { return m_paneItems.at(static_cast<size_t>(pane)); }
    // The view-mode items of the View menu and of the file area's pop-up, modes 0 to 4.
    const std::array<QAction *, 5> &viewModeItems() const { return m_viewModeItems; }
    const std::array<QAction *, 5> &listViewItems() const { return m_listViewItems; }
    // The five view buttons of the tool bar, one of them pressed.
    QActionGroup *viewButtons() const { return m_viewButtons; }
    // The two sub-menus the sorting commands fill: the View menu's and the pop-up's.
    QMenu *viewArrangeMenu() const { return m_viewArrangeMenu; }
    QMenu *listSortMenu() const { return m_listSortMenu; }
    QMenu *popUp(PopUp popUp) const { return m_popUps.at(static_cast<size_t>(popUp)); }
    // Shows a pop-up menu at the mouse pointer and returns once it is closed.
    void showPopUp(PopUp popUp) const;

signals:
    void commandChosen(Command command);

protected:
    // A right press on the tool bar offers "Hide Toolbar".
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void fill(QMenu *menu, const MenuDefinition &menuDefinition);
    void addToolBar(QToolBar *toolBar);

    std::array<QAction *, 4> m_paneItems{};
    std::array<QAction *, 5> m_viewModeItems{};
    std::array<QAction *, 5> m_listViewItems{};
    std::array<QMenu *, 5> m_popUps{};
    QActionGroup *m_viewButtons = nullptr;
    QMenu *m_viewArrangeMenu = nullptr;
    QMenu *m_listSortMenu = nullptr;
    QToolBar *m_toolBar = nullptr;
};

} // namespace pavix::shell
