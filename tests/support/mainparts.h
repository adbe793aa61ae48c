#pragma once
// Short ways for tests to reach the main window's menu items and menus by their names.

#include "shell/mainwindow.h"

#include <QAction>
#include <QMenu>
#include <QToolBar>
#include <QToolButton>

#include <gtest/gtest.h>

namespace pavix::testsupport {

inline QAction *item(const shell::MainWindow &m, const QString &name)
{
    QAction *action = m.menuItem(name);
    EXPECT_NE(action, nullptr) << qPrintable(name);
    return action;
}

inline QMenu *menu(const shell::MainWindow &m, const QString &name)
{
    QMenu *found = m.menu(name);
    EXPECT_NE(found, nullptr) << qPrintable(name);
    return found;
}

// The View menu's view-mode item and the list menu's twin, for mode 0 (thumbnails) to 4.
inline QAction *viewModeItem(const shell::MainWindow &m, int mode)
{
    return item(m, QStringLiteral("viewModeItem%1").arg(mode));
}

inline QAction *listViewItem(const shell::MainWindow &m, int mode)
{
    return item(m, QStringLiteral("listViewItem%1").arg(mode));
}

// The tool bar's action and button for a button key ("Open", "View Details", ...).
inline QAction *toolAction(const shell::MainWindow &m, const QString &key)
{
    for (QAction *action : m.toolBar()->actions())
        if (action->data().toString() == key)
            return action;
    ADD_FAILURE() << "no tool bar button " << qPrintable(key);
    return nullptr;
}

inline QToolButton *toolButton(const shell::MainWindow &m, const QString &key)
{
    return qobject_cast<QToolButton *>(m.toolBar()->widgetForAction(toolAction(m, key)));
}

// Sets one splitter position of the window without laying it out.
inline void setSplitter(shell::MainWindow &m, std::int32_t shell::SplitterState::*field, std::int32_t value)
{
    shell::SplitterState splitters = m.splitters();
    splitters.*field = value;
    m.setSplitters(splitters);
}

} // namespace pavix::testsupport
