// What a screen reader finds in the real main window (offscreen), read through Qt's
// accessibility interfaces as the desktop's bridge reads them, and the keyboard's way
// through the window.
#include "support/mainfixture.h"

#include "browser/browser.h"
#include "foldertree/foldertree.h"
#include "listview/qtlistview.h"
#include "preview/stretchimage.h"
#include "shell/menuaccessible.h"
#include "thumbs/thumbgrid.h"
#include "thumbs/thumbstrip.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

#include <functional>

using namespace pavix;
using testsupport::MainFixture;

namespace {

// Every interface under `iface` that is shown, depth first, with `iface` itself.
void walkShown(QAccessibleInterface *iface, const std::function<void(QAccessibleInterface *)> &visit)
{
    if (!iface || iface->state().invisible || iface->state().offscreen)
        return;
    visit(iface);
    for (int i = 0; i < iface->childCount(); ++i)
        walkShown(iface->child(i), visit);
}

QAccessibleInterface *of(QObject *object)
{
    return QAccessible::queryAccessibleInterface(object);
}

QString name(QAccessibleInterface *iface)
{
    return iface ? iface->text(QAccessible::Name) : QStringLiteral("<none>");
}

} // namespace

TEST(Accessibility, EveryShownControlHasANameAndTheThumbnailsReadAsAList)
{
    MainFixture f;
    f.start(f.folderWith(QStringLiteral("p"), {"good/hopper.bmp", "good/cat.jpg", "bad/badbitcount.bmp"}));
    shell::MainWindow &m = *f.main;
    m.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&m));
    m.run(shell::Command::ViewThumbnails);
    thumbs::ThumbStrip *strip = m.thumbStrip();
    ASSERT_TRUE(strip->isVisible());
    strip->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return strip->hasFocus(); }, 2000));

    // The grid: one item per thumbnail in the listing's order; the one that cannot be read
    // says so.
    QAccessibleInterface *grid = of(strip);
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->role(), QAccessible::List);
    EXPECT_EQ(name(grid), QStringLiteral("Thumbnails"));
    QStringList items;
    for (int i = 0; i < grid->childCount(); ++i)
        items << name(grid->child(i));
    EXPECT_EQ(items, (QStringList{"badbitcount.bmp, cannot be read", "cat.jpg", "hopper.bmp"}));
    EXPECT_EQ(grid->focusChild(), nullptr);

    // Walking the grid with the keys moves the selected and focused item along.
    m.thumbGrid()->selectThumb(1);
    QTest::keyClick(strip, Qt::Key_Right);
    ASSERT_EQ(m.browser().currentFile(), QStringLiteral("hopper.bmp"));
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(grid->child(i)->state().selected, i == 2) << i;
        EXPECT_EQ(grid->child(i)->state().focused, i == 2) << i;
        EXPECT_EQ(grid->indexOfChild(grid->child(i)), i);
    }
    EXPECT_EQ(grid->focusChild(), grid->child(2));
    EXPECT_EQ(grid->childAt(grid->child(1)->rect().center().x(), grid->child(1)->rect().center().y()), grid->child(1));
    EXPECT_EQ(name(of(m.previewImage())), QStringLiteral("Preview of hopper.bmp"));

    // Every control shown has a name, in the main window, the toolbox and the options dialog;
    // only the plain containers need none.
    m.run(shell::Command::Toolbox);
    m.run(shell::Command::OptionsModeless);
    for (const char *window : {"mainWindow", "toolbox", "optionsDialog"}) {
        QWidget *shown = nullptr;
        for (QWidget *top : QApplication::topLevelWidgets())
            if (top->objectName() == QLatin1String(window) && top->isVisible())
                shown = top;
        ASSERT_NE(shown, nullptr) << window;
        QStringList unnamed;
        walkShown(of(shown), [&](QAccessibleInterface *iface) {
            const QAccessible::Role role = iface->role();
            if (role == QAccessible::Client || role == QAccessible::Separator || role == QAccessible::Border
                || !name(iface).isEmpty())
                return;
            unnamed << QStringLiteral("%1 %2").arg(role).arg(iface->object() ? iface->object()->objectName() : "?");
        });
        EXPECT_EQ(unnamed, QStringList()) << window;
    }
    m.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&m));
    EXPECT_EQ(name(of(m.folderTree())), QStringLiteral("Folders"));
    ASSERT_NE(of(m.folderTree())->tableInterface(), nullptr);
    EXPECT_EQ(of(m.folderTree())->tableInterface()->columnCount(), 1);

    // Menu items: the words of the caption, the shortcut text as the shortcut.
    const struct {
        const char *item;
        const char *name;
        const char *shortcut;
    } menuItems[] = {{"openItem", "Open", "Ctrl+O"},        {"exitItem", "Exit", "Alt+X"},
                     {"toolBarItem", "Toolbar", "Ctrl+T"},  {"refreshItem", "Refresh", "F5"},
                     {"viewModeItem0", "Thumbnails", "F4"}, {"musicPageItem", "Mp3", ""}};
    for (const auto &expected : menuItems) {
        // As the menu hands its items out.
        QAction *action = m.menuItem(QLatin1String(expected.item));
        ASSERT_NE(action, nullptr) << expected.item;
        auto *menu = qobject_cast<QMenu *>(action->associatedObjects().value(0));
        ASSERT_NE(menu, nullptr) << expected.item;
        QAccessibleInterface *item = of(menu)->child(int(menu->actions().indexOf(action)));
        ASSERT_NE(item, nullptr) << expected.item;
        EXPECT_EQ(item->role(), QAccessible::MenuItem) << expected.item;
        EXPECT_EQ(name(item), QLatin1String(expected.name)) << expected.item;
        EXPECT_EQ(item->text(QAccessible::Accelerator), QLatin1String(expected.shortcut)) << expected.item;
    }
    EXPECT_EQ(shell::shortcutDescription(QStringLiteral("Ctl+ ")), QStringLiteral("Ctl+ "));

    // Tab: the tree, the thumbnails, the preview.
    m.folderTree()->setFocus();
    QTest::keyClick(m.folderTree(), Qt::Key_Tab);
    EXPECT_TRUE(strip->hasFocus());
    QTest::keyClick(strip, Qt::Key_Tab);
    EXPECT_TRUE(m.previewImage()->hasFocus());
    // F10 and Alt with a menu's letter open the menu bar.
    QTest::keyClick(m.previewImage(), Qt::Key_F10);
    EXPECT_EQ(m.menuBar()->activeAction(), m.menuBar()->actions().value(0));
    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Escape);
}
