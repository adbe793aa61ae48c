#include "shell/mainmenus.h"

#include "common/keys.h"
#include "listview/viewmode.h"
#include "shell/menuaccessible.h"
#include "shell/menuclick.h"
#include "shell/toolbarimages.h"

#include <QActionGroup>
#include <QCoreApplication>
#include <QCursor>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QToolBar>

namespace pavix::shell {

namespace {

// The pane a toggle command shows or hides.
Pane paneOf(Command command)
{
    switch (command) {
    case Command::ToggleStatusBar:
        return Pane::StatusBar;
    case Command::ToggleFolderTree:
        return Pane::Tree;
    case Command::TogglePreview:
        return Pane::Preview;
    default:
        return Pane::ToolBar;
    }
}

// Five checkable view-mode items, named `baseName` 0 to 4.
void addViewModeItems(QMenu *menu, const char *baseName, QString (*caption)(int), std::array<QAction *, 5> &items)
{
    for (int mode = 0; mode < 5; ++mode) {
        QAction *item = menu->addAction(caption(mode));
        item->setObjectName(QLatin1String(baseName) + QString::number(mode));
        item->setCheckable(true);
        items[static_cast<size_t>(mode)] = item;
    }
}

QString menuBarViewCaption(int mode)
{
    return menuCaption(listview::listViewModeCaption(mode));
}

} // namespace

MainMenus::MainMenus(QMenuBar *menuBar, QToolBar *toolBar, QWidget *window) : QObject(window)
{
    setObjectName(QStringLiteral("mainMenus"));
    installMenuAccessibility();
    for (const MenuDefinition &menuDefinition : menuBarMenus())
        fill(menuBar->addMenu(QCoreApplication::translate("pavix::shell", menuDefinition.caption)), menuDefinition);
    for (PopUp popUp : {PopUp::Preview, PopUp::ToolBar, PopUp::Tree, PopUp::Wallpaper, PopUp::List}) {
        const MenuDefinition &menuDefinition = popUpMenu(popUp);
        auto *menu = new QMenu(QCoreApplication::translate("pavix::shell", menuDefinition.caption), window);
        fill(menu, menuDefinition);
        m_popUps[static_cast<size_t>(popUp)] = menu;
    }
    addToolBar(toolBar);
    m_toolBar = toolBar;
    toolBar->installEventFilter(this);
}

void MainMenus::showPopUp(PopUp popUp) const
{
    this->popUp(popUp)->exec(QCursor::pos());
}

bool MainMenus::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_toolBar && event->type() == QEvent::MouseButtonPress) {
        const auto *press = static_cast<QMouseEvent *>(event);
        if (common::buttonMask(press->buttons() | press->button()) & common::ButtonRight) {
            showPopUp(PopUp::ToolBar);
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

void MainMenus::fill(QMenu *menu, const MenuDefinition &menuDefinition)
{
    menu->setObjectName(QLatin1String(menuDefinition.objectName));
    menu->setAccessibleName(menuAccessibleName(menu->title()));
    for (const MenuEntry &entry : menuDefinition.entries) {
        switch (entry.slot) {
        case MenuSlot::Separator:
            menu->addSeparator();
            break;
        case MenuSlot::Item:
        case MenuSlot::CheckItem: {
            // The caption shows the shortcut text in the menu's shortcut column; the key
            // itself is the key table's.
            QAction *item = menu->addAction(menuCaption(QCoreApplication::translate("pavix::shell", entry.caption)));
            item->setObjectName(QLatin1String(entry.objectName));
            const Command command = entry.command;
            if (entry.slot == MenuSlot::CheckItem) {
                item->setCheckable(true);
                item->setChecked(true);
                m_paneItems[static_cast<size_t>(paneOf(command))] = item;
            }
            connectClick(item, this, [this, command] { emit commandChosen(command); });
            break;
        }
        case MenuSlot::ViewModeItems:
            addViewModeItems(menu, entry.objectName, &menuBarViewCaption, m_viewModeItems);
            break;
        case MenuSlot::ViewModeMenu: {
            QMenu *sub = menu->addMenu(QCoreApplication::translate("pavix::shell", entry.caption));
            sub->setObjectName(QLatin1String(entry.objectName));
            addViewModeItems(sub, "listViewItem", &listview::iconsMenuCaption, m_listViewItems);
            break;
        }
        case MenuSlot::SortMenu: {
            QMenu *sub = menu->addMenu(QCoreApplication::translate("pavix::shell", entry.caption));
            sub->setObjectName(QLatin1String(entry.objectName));
            // The menu bar is filled first: its sub-menu is the View menu's.
            (m_viewArrangeMenu ? m_listSortMenu : m_viewArrangeMenu) = sub;
            break;
        }
        }
    }
}

void MainMenus::addToolBar(QToolBar *toolBar)
{
    m_viewButtons = new QActionGroup(this);
    m_viewButtons->setExclusive(true);
    for (const ToolButton &button : toolBarButtons()) {
        if (!button.key) {
            toolBar->addSeparator();
            continue;
        }
        // Drawn at the sizes a button takes on screens scaled from 100 % to 300 %, so the
        // icon never has to be stretched.
        QIcon icon;
        for (const int sizePx : {16, 20, 24, 32, 40, 48})
            icon.addPixmap(QPixmap::fromImage(toolbarImage(button.image, sizePx)));
        QAction *action = toolBar->addAction(icon, QCoreApplication::translate("pavix::shell", button.tip));
        action->setObjectName(QLatin1String(button.key));
        action->setData(QLatin1String(button.key));
        if (button.group) {
            action->setCheckable(true);
            m_viewButtons->addAction(action);
        }
        // The button's key chooses the command; the view group has already pressed the
        // button, and the view command presses it too.
        connect(action, &QAction::triggered, this, [this, action] {
            if (const std::optional<Command> command = commandForToolButton(action->data().toString()))
                emit commandChosen(*command);
        });
    }
}

} // namespace pavix::shell
