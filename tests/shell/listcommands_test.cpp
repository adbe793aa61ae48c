// View modes and sorting on the real main window (offscreen), reached from the View menu,
// the list's context menu, the tool bar, the keys and the column headers.
#include "browser/browser.h"
#include "catalogue/typepatterns.h"
#include "common/keys.h"
#include "listview/qtlistview.h"
#include "platform/settingsstore.h"
#include "shell/listcommands.h"
#include "shell/mainwindow.h"
#include "shell/settingskeys.h"
#include "shell/startup.h"
#include "support/fakeshellinfo.h"
#include "support/mainparts.h"
#include "support/printers.h"
#include "support/scratchfolder.h"
#include "thumbs/thumbstrip.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QHeaderView>
#include <QMenu>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace pavix;
using namespace pavix::shell;
using listview::ClickOrder;
using listview::HeaderImageDown;
using listview::HeaderImageUp;
using listview::ListLayout;
using shell::ListCommands;

namespace {

class ListCommandsTest : public ::testing::Test {
protected:
    // Four pictures whose orders by name, size and type all differ; "a.jpg" and "d.jpg" are
    // both 9 bytes long, "b.bmp" 10,240.
    void start(const QString &viewMode = QString())
    {
        scratch.write(QStringLiteral("b.bmp"), 10240);
        scratch.write(QStringLiteral("a.jpg"), 9);
        scratch.write(QStringLiteral("C.gif"), 500);
        scratch.write(QStringLiteral("d.jpg"), 9);
        store.write(catalogue::SectionType, catalogue::KeyBitmap, QStringLiteral("*.bmp;"));
        store.write(catalogue::SectionType, catalogue::KeyJpg, QStringLiteral("*.jpg;"));
        store.write(catalogue::SectionType, catalogue::KeyGif, QStringLiteral("*.gif;"));
        store.write(catalogue::SectionType, catalogue::KeyIco, QStringLiteral("&;"));
        if (!viewMode.isEmpty())
            store.write(SectionSettings, KeyViewMode, viewMode);
        main = runStartup({store, shell, scratch.path(), {}, {}, {}});
        ASSERT_NE(main->listCommands(), nullptr);
        cmd = main->listCommands();
    }

    // Closed before it is destroyed, as the program closes it: a shown window destroyed
    // as it is lays its list out once more while it hides, after the icon cache the list
    // draws from is gone.
    void TearDown() override
    {
        if (main)
            main->close();
    }

    // The list's texts in the order shown.
    QStringList shown() const
    {
        QStringList names;
        for (int i = 1; i <= main->list()->count(); ++i)
            names << main->list()->itemText(i);
        return names;
    }

    // Clicks the details header of column `index1` (1 to 3) with the mouse.
    void clickHeader(int index1)
    {
        QHeaderView *header = main->list()->header();
        const int column0 = index1 - 1;
        const QPoint at(header->sectionViewportPosition(column0) + header->sectionSize(column0) / 2,
                        header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    }

    // The check marks of a menu item array.
    template <size_t N>
    static std::vector<bool> checks(const std::array<QAction *, N> &items)
    {
        std::vector<bool> out;
        for (QAction *a : items)
            out.push_back(a->isChecked());
        return out;
    }
    static std::vector<bool> only(int index, int size)
    {
        std::vector<bool> out(static_cast<size_t>(size), false);
        if (index >= 0)
            out[static_cast<size_t>(index)] = true;
        return out;
    }

    // Everything that shows the view mode agrees on `mode`.
    void expectMode(int mode)
    {
        SCOPED_TRACE(mode);
        MainWindow &m = *main;
        std::array<QAction *, 5> viewItems{}, listItems{};
        for (int i = 0; i < 5; ++i) {
            viewItems[size_t(i)] = testsupport::viewModeItem(m, i);
            listItems[size_t(i)] = testsupport::listViewItem(m, i);
        }
        EXPECT_EQ(checks(viewItems), only(mode, 5));
        EXPECT_EQ(checks(listItems), only(mode, 5));
        EXPECT_EQ(cmd->viewMode(), mode);
        EXPECT_EQ(cmd->pressedViewButton(), mode);
        const bool list = mode != 0;
        EXPECT_EQ(m.list()->isVisible(), list);
        EXPECT_EQ(m.thumbArea()->isVisible(), !list);
        EXPECT_EQ(testsupport::menu(m, QStringLiteral("viewArrangeMenu"))->menuAction()->isEnabled(), list);
        EXPECT_EQ(testsupport::menu(m, QStringLiteral("listSortMenu"))->menuAction()->isEnabled(), list);
        if (list) {
            EXPECT_EQ(static_cast<int>(m.list()->view()), mode - 1);
        }
    }

    platform::MemorySettingsStore store;
    testsupport::FakeShellInfo shell;
    testsupport::ScratchFolder scratch;
    std::unique_ptr<MainWindow> main;
    ListCommands *cmd = nullptr;
};

} // namespace

TEST_F(ListCommandsTest, ArrangeMenusAreFilledAndUncheckedAfterStartup)
{
    start();
    MainWindow &m = *main;
    auto captions = [](QMenu *menu) {
        QStringList out;
        for (QAction *a : menu->actions())
            out << (a->isSeparator() ? QStringLiteral("-") : a->text());
        return out;
    };
    const QStringList expected = {"By Name", "By Size", "By Type", "-", "Ascending", "Descending"};
    EXPECT_EQ(captions(testsupport::menu(m, QStringLiteral("viewArrangeMenu"))), expected);
    EXPECT_EQ(captions(testsupport::menu(m, QStringLiteral("listSortMenu"))), expected);
    for (QMenu *menu : {testsupport::menu(m, QStringLiteral("viewArrangeMenu")),
                        testsupport::menu(m, QStringLiteral("listSortMenu"))})
        for (QAction *a : menu->actions()) {
            EXPECT_FALSE(a->isChecked()) << qPrintable(a->text());
            EXPECT_TRUE(a->isSeparator() || a->isCheckable()) << qPrintable(a->text());
        }
    EXPECT_EQ(m.listCommands()->sortColumn(), 0);
    EXPECT_FALSE(m.list()->sorted());
    for (int c = 0; c < 3; ++c)
        EXPECT_FALSE(m.list()->headerImage(c).has_value()) << c;
    // Start-up's large-icon layout is what the commands see as mode 1.
    expectMode(1);
}

TEST_F(ListCommandsTest, SwitchingModesKeepsMenusButtonAndAreaInStep)
{
    start();
    MainWindow &m = *main;
    for (int mode : {0, 2, 3, 4, 1, 0, 0, 4, 4}) {
        cmd->setViewMode(mode);
        expectMode(mode);
    }

    // Switching layouts keeps the items and the selection.
    m.list()->setSelectedItem(2);
    const QString selected = m.list()->itemText(2);
    cmd->setViewMode(0);
    cmd->setViewMode(3);
    EXPECT_EQ(m.list()->count(), 4);
    EXPECT_EQ(m.list()->itemText(m.list()->selectedItem()), selected);

    // A mode outside 0 to 4 only copies the View menu's marks onto the context menu.
    testsupport::listViewItem(m, 0)->setChecked(true);
    testsupport::listViewItem(m, 3)->setChecked(false);
    cmd->setViewMode(7);
    cmd->setViewMode(-1);
    expectMode(3);
    EXPECT_EQ(m.list()->view(), ListLayout::List);
}

TEST_F(ListCommandsTest, ModeTakesTheFocusToTheShownArea)
{
    start();
    MainWindow &m = *main;
    m.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&m));
    cmd->setViewMode(0);
    EXPECT_TRUE(m.thumbStrip()->hasFocus());
    cmd->setViewMode(4);
    EXPECT_EQ(QApplication::focusWidget(), m.list()->currentView());
    cmd->setViewMode(2);
    EXPECT_EQ(QApplication::focusWidget(), m.list()->currentView());
}

TEST_F(ListCommandsTest, DetailsColumnsTakeAThirdOfTheListLess110Twips)
{
    start();
    MainWindow &m = *main;
    ASSERT_DOUBLE_EQ(m.twipsPerPixel(), 15.0);

    // A list 4,500 twips wide gives three columns of 1,390.
    m.list()->resize(300, m.list()->height());
    ASSERT_DOUBLE_EQ(m.list()->widthTwips(), 4500.0);
    cmd->setViewMode(4);
    for (int c = 1; c <= 3; ++c)
        EXPECT_DOUBLE_EQ(m.list()->columnWidth(c), 1390.0) << c;
    EXPECT_EQ(m.list()->header()->sectionSize(1), 93); // 1390 twips, rounded to pixels

    // Other layouts leave the widths alone.
    m.list()->resize(400, m.list()->height());
    cmd->setViewMode(3);
    cmd->setViewMode(0);
    EXPECT_DOUBLE_EQ(m.list()->columnWidth(2), 1390.0);

    // After the window is resized the width is divided again, also when details is chosen
    // from thumbnails (the hidden list keeps its place in the layout).
    m.resizeToOuter(12000, 6500);
    const double width = m.list()->widthTwips();
    ASSERT_GT(width, 4500.0);
    cmd->setViewMode(4);
    const float expected = static_cast<float>(width) / 3.0f - 110.0f;
    for (int c = 1; c <= 3; ++c)
        EXPECT_DOUBLE_EQ(m.list()->columnWidth(c), static_cast<double>(expected)) << c;
}

TEST_F(ListCommandsTest, MenusToolBarAndKeysReachTheModes)
{
    start();
    MainWindow &m = *main;

    // View menu items, also the one already checked: the click must not take the mark away.
    testsupport::viewModeItem(m, 4)->trigger();
    expectMode(4);
    testsupport::viewModeItem(m, 4)->trigger();
    expectMode(4);
    testsupport::viewModeItem(m, 0)->trigger();
    expectMode(0);

    // Context menu items.
    testsupport::listViewItem(m, 2)->trigger();
    expectMode(2);
    testsupport::listViewItem(m, 2)->trigger();
    expectMode(2);

    // Tool bar buttons, pressed with the mouse and through their actions.
    QToolButton *details = testsupport::toolButton(m, QStringLiteral("View Details"));
    ASSERT_NE(details, nullptr);
    QTest::mouseClick(details, Qt::LeftButton);
    expectMode(4);
    QTest::mouseClick(details, Qt::LeftButton);
    expectMode(4);
    testsupport::toolAction(m, QStringLiteral("View Thumbnails"))->trigger();
    expectMode(0);
    testsupport::toolAction(m, QStringLiteral("View List"))->trigger();
    expectMode(3);
}

TEST_F(ListCommandsTest, StartupInDetailsAgreesWithTheCommands)
{
    start(QStringLiteral("3"));
    expectMode(4);
    // The first switch keeps everything in step from there.
    testsupport::listViewItem(*main, 1)->trigger();
    expectMode(1);
}

TEST_F(ListCommandsTest, HeaderClicksAlternateAcrossColumns)
{
    start(QStringLiteral("3"));
    MainWindow &m = *main;
    const std::vector<bool> none(3, false);

    // First click on "Size  (bytes)": descending by the number of bytes (10,240 before 500
    // before 9; of the two 9-byte files the one listed first stays first), up chevron.
    clickHeader(2);
    EXPECT_EQ(shown(), (QStringList{"b.bmp", "C.gif", "a.jpg", "d.jpg"}));
    EXPECT_EQ(m.list()->sortKey(), 1);
    EXPECT_EQ(m.list()->sortOrder(), 1);
    EXPECT_TRUE(m.list()->sorted());
    EXPECT_EQ(m.list()->headerImage(1), HeaderImageUp);
    EXPECT_FALSE(m.list()->headerImage(0).has_value());
    EXPECT_FALSE(m.list()->headerImage(2).has_value());
    EXPECT_EQ(checks(cmd->viewArrangeItems), only(1, 3));
    EXPECT_EQ(checks(cmd->listArrangeItems), only(1, 3));
    EXPECT_FALSE(cmd->viewAscendingItem->isChecked());
    EXPECT_TRUE(cmd->viewDescendingItem->isChecked());
    EXPECT_FALSE(cmd->listAscendingItem->isChecked());
    EXPECT_TRUE(cmd->listDescendingItem->isChecked());
    EXPECT_EQ(m.listCommands()->sortColumn(), 1);
    EXPECT_EQ(cmd->clickOrder(), ClickOrder::Descending);

    // Second click on the same header: ascending, numbers compared as numbers.
    clickHeader(2);
    EXPECT_EQ(shown(), (QStringList{"a.jpg", "d.jpg", "C.gif", "b.bmp"}));
    EXPECT_EQ(m.list()->headerImage(1), HeaderImageDown);
    EXPECT_TRUE(cmd->viewAscendingItem->isChecked());
    EXPECT_TRUE(cmd->listAscendingItem->isChecked());
    EXPECT_FALSE(cmd->listDescendingItem->isChecked());

    // Third click, on "Name": descending again, case ignored; the arrow moves over.
    clickHeader(1);
    EXPECT_EQ(shown(), (QStringList{"d.jpg", "C.gif", "b.bmp", "a.jpg"}));
    EXPECT_EQ(m.list()->headerImage(0), HeaderImageUp);
    EXPECT_FALSE(m.list()->headerImage(1).has_value());
    EXPECT_EQ(checks(cmd->viewArrangeItems), only(0, 3));
    EXPECT_EQ(checks(cmd->listArrangeItems), only(0, 3));
    EXPECT_EQ(m.listCommands()->sortColumn(), 0);

    // Fourth, on "Type": ascending by type name (BMP, GIF, JPG; the two JPEGs keep the
    // order they were listed in).
    clickHeader(3);
    EXPECT_EQ(shown(), (QStringList{"b.bmp", "C.gif", "a.jpg", "d.jpg"}));
    EXPECT_EQ(m.list()->headerImage(2), HeaderImageDown);
    EXPECT_EQ(checks(cmd->viewArrangeItems), only(2, 3));
    EXPECT_EQ(m.listCommands()->sortColumn(), 2);
}

TEST_F(ListCommandsTest, MenuOrdersLeaveTheClickAlternationAlone)
{
    start(QStringLiteral("3"));
    MainWindow &m = *main;

    // An order from the menu before any click: the first click still orders descending.
    cmd->viewAscendingItem->trigger();
    EXPECT_TRUE(m.list()->sorted());
    EXPECT_EQ(m.list()->sortKey(), 0);
    EXPECT_EQ(shown(), (QStringList{"a.jpg", "b.bmp", "C.gif", "d.jpg"}));
    EXPECT_EQ(m.list()->headerImage(0), HeaderImageDown);
    EXPECT_EQ(cmd->clickOrder(), ClickOrder::None);
    // No arrange item was chosen yet.
    EXPECT_EQ(checks(cmd->viewArrangeItems), only(-1, 3));
    clickHeader(1);
    EXPECT_EQ(m.list()->sortOrder(), 1);

    // "Descending" from the context menu between two clicks: the next click ascends,
    // because the previous click descended.
    cmd->listDescendingItem->trigger();
    EXPECT_EQ(m.list()->sortOrder(), 1);
    EXPECT_TRUE(cmd->viewDescendingItem->isChecked());
    EXPECT_TRUE(cmd->listDescendingItem->isChecked());
    clickHeader(2);
    EXPECT_EQ(m.list()->sortOrder(), 0);
    EXPECT_EQ(m.list()->headerImage(1), HeaderImageDown);

    // "Descending" twice from the View menu keeps its check mark; the key stays size.
    cmd->viewDescendingItem->trigger();
    cmd->viewDescendingItem->trigger();
    EXPECT_TRUE(cmd->viewDescendingItem->isChecked());
    EXPECT_FALSE(cmd->viewAscendingItem->isChecked());
    EXPECT_EQ(m.list()->sortKey(), 1);
    EXPECT_EQ(shown(), (QStringList{"b.bmp", "C.gif", "a.jpg", "d.jpg"}));
    EXPECT_EQ(m.list()->headerImage(1), HeaderImageUp);
    clickHeader(2);
    EXPECT_EQ(m.list()->sortOrder(), 1); // the click before this one ascended
}

TEST_F(ListCommandsTest, ByTypeFromEitherMenuIsAscendingWithOneArrangeCheck)
{
    start(QStringLiteral("3"));
    MainWindow &m = *main;
    clickHeader(2); // by size, descending

    // The context menu's twin first.
    cmd->listArrangeItems[2]->trigger();
    EXPECT_EQ(m.list()->sortKey(), 2);
    EXPECT_EQ(m.list()->sortOrder(), 0);
    EXPECT_EQ(shown(), (QStringList{"b.bmp", "C.gif", "a.jpg", "d.jpg"}));
    EXPECT_EQ(checks(cmd->viewArrangeItems), only(2, 3));
    EXPECT_EQ(checks(cmd->listArrangeItems), only(2, 3));
    EXPECT_TRUE(cmd->viewAscendingItem->isChecked());
    EXPECT_TRUE(cmd->listAscendingItem->isChecked());
    EXPECT_EQ(m.list()->headerImage(2), HeaderImageDown);
    EXPECT_FALSE(m.list()->headerImage(1).has_value());
    EXPECT_EQ(m.listCommands()->sortColumn(), 2);

    // Choosing the checked item again, after a descending order, from the View menu.
    cmd->viewDescendingItem->trigger();
    cmd->viewArrangeItems[2]->trigger();
    EXPECT_EQ(m.list()->sortOrder(), 0);
    EXPECT_EQ(checks(cmd->viewArrangeItems), only(2, 3));
    EXPECT_EQ(checks(cmd->listArrangeItems), only(2, 3));

    // "By Name" moves the single check in both menus.
    cmd->viewArrangeItems[0]->trigger();
    EXPECT_EQ(checks(cmd->viewArrangeItems), only(0, 3));
    EXPECT_EQ(checks(cmd->listArrangeItems), only(0, 3));
    EXPECT_EQ(shown(), (QStringList{"a.jpg", "b.bmp", "C.gif", "d.jpg"}));

    // An index outside 0 to 2 changes nothing.
    cmd->arrangeBy(3);
    cmd->sortByHeader(0);
    EXPECT_EQ(checks(cmd->viewArrangeItems), only(0, 3));
    EXPECT_EQ(m.listCommands()->sortColumn(), 0);
    EXPECT_EQ(cmd->clickOrder(), ClickOrder::Descending);
}

TEST_F(ListCommandsTest, SortingLeavesTheFileListAndTheGridOrderAlone)
{
    // Two real pictures besides the four filler files, so the grid's cells differ.
    const QString corpus = QStringLiteral(PAVIX_CORPUS_DIR "/good/");
    ASSERT_TRUE(QFile::copy(corpus + "hopper.gif", scratch.file(QStringLiteral("aa.gif"))));
    ASSERT_TRUE(QFile::copy(corpus + "pal8.bmp", scratch.file(QStringLiteral("zz.bmp"))));
    start(QStringLiteral("1"));
    MainWindow &m = *main;
    const QStringList files = m.browser().files().names();
    ASSERT_EQ(files, (QStringList{"a.jpg", "aa.gif", "b.bmp", "C.gif", "d.jpg", "zz.bmp"}));
    thumbs::ThumbStrip *strip = m.thumbStrip();
    ASSERT_EQ(strip->elementCount(), files.size());
    std::vector<QImage> cells;
    std::vector<QPoint> places;
    for (int i = 0; i < strip->elementCount(); ++i) {
        cells.push_back(strip->elementPicture(i));
        places.push_back(strip->elementPosition(i));
    }
    ASSERT_NE(cells[1], cells[5]);

    // Sorting works in any list layout, not only with the header shown.
    cmd->sortByHeader(2);
    cmd->arrangeBy(2);
    cmd->sortDescending();
    cmd->setViewMode(0);
    cmd->setViewMode(2);
    EXPECT_EQ(shown(), (QStringList{"a.jpg", "d.jpg", "aa.gif", "C.gif", "b.bmp", "zz.bmp"}));

    EXPECT_EQ(m.browser().files().names(), files);
    ASSERT_EQ(strip->elementCount(), files.size());
    for (int i = 0; i < strip->elementCount(); ++i) {
        EXPECT_EQ(strip->elementPicture(i), cells[static_cast<size_t>(i)]) << i;
        EXPECT_EQ(strip->elementPosition(i), places[static_cast<size_t>(i)]) << i;
    }
    // Each item still names the file at its catalogue position.
    for (int i = 1; i <= m.list()->count(); ++i)
        EXPECT_EQ(m.browser().files().list(m.list()->addedPosition(i) - 1), m.list()->itemText(i)) << i;
}
