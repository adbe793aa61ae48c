// Layout, pane toggles and splitter drags on the real main window (offscreen).
#include "common/units.h"
#include "foldertree/foldertree.h"
#include "listview/qtlistview.h"
#include "platform/settingsstore.h"
#include "shell/mainwindow.h"
#include "shell/settingskeys.h"
#include "shell/splitterbar.h"
#include "shell/startup.h"
#include "shell/statuswindow.h"
#include "support/fakeshellinfo.h"
#include "support/mainparts.h"
#include "support/printers.h"
#include "support/scratchfolder.h"

#include <QApplication>
#include <QMouseEvent>
#include <QToolBar>

#include <gtest/gtest.h>

using namespace pavix;
using namespace pavix::shell;

namespace {

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        home = scratch.copyCorpus(QStringLiteral("good"), QStringLiteral("home"));
        main = runStartup({store, shell, home, {}, {}, {}});
        // 526 + 8 pixels of 15 twips: an outer width of 8010 twips.
        main->resizeToOuter(8010, 6000);
        setSplitters(2000, 5000);
    }
    void setSplitters(std::int32_t isa, std::int32_t isb)
    {
        testsupport::setSplitter(*main, &shell::SplitterState::treeSplitterLeft, isa);
        testsupport::setSplitter(*main, &shell::SplitterState::previewSplitterLeft, isb);
        main->sizeControls();
    }
    int px(double twips) const { return common::twipsToPixels(twips, main->twipsPerPixel()); }

    // Presses on a splitter, moves the pointer to `toTwips` (window twips) and releases.
    void drag(SplitterBar *bar, double toTwips, bool release = true)
    {
        const QPointF start(2, 10);
        send(bar, QEvent::MouseButtonPress, start, Qt::LeftButton);
        const double x = (toTwips - barLeft(bar)) / main->twipsPerPixel();
        send(bar, QEvent::MouseMove, QPointF(x, 10), Qt::LeftButton);
        if (release)
            send(bar, QEvent::MouseButtonRelease, QPointF(x, 10), Qt::NoButton);
    }
    double barLeft(SplitterBar *bar) const
    {
        return bar == main->treeSplitter() ? main->controls().treeSplitter.left : main->controls().previewSplitter.left;
    }
    static void send(QWidget *w, QEvent::Type type, QPointF pos, Qt::MouseButtons buttons)
    {
        QMouseEvent e(type, pos, w->mapToGlobal(pos), Qt::LeftButton, buttons, Qt::NoModifier);
        QApplication::sendEvent(w, &e);
    }
    QString stored(QLatin1StringView key) const
    {
        return store.read(SectionSettings, key).value_or(QStringLiteral("<missing>"));
    }

    platform::MemorySettingsStore store;
    testsupport::FakeShellInfo shell;
    testsupport::ScratchFolder scratch;
    QString home;
    std::unique_ptr<MainWindow> main;
};

} // namespace

TEST_F(MainWindowTest, PanesSitWhereTheLayoutPutsThemInTwips)
{
    MainWindow &m = *main;
    ASSERT_NEAR(m.outerWidthTwips(), 8010, 0.01);
    const double SH = m.clientHeightTwips();
    // File area between the splitters, below tool bar (360) and title strip (280), with
    // 300 twips kept for the status bar.
    EXPECT_EQ(m.list()->geometry(), QRect(px(2040), px(640), px(2960), px(SH - 940)));
    EXPECT_EQ(m.folderTree()->geometry(), QRect(0, px(660), px(2000), px(SH - 960)));
    EXPECT_EQ(m.treeSplitter()->geometry(), QRect(px(2000), px(570), px(90), px(SH - 880)));
    EXPECT_EQ(m.previewSplitter()->geometry().left(), px(5000));
    const TwipRect &pv = m.controls().previewFrame;
    EXPECT_DOUBLE_EQ(pv.left, 5040);
    EXPECT_DOUBLE_EQ(pv.width, 8010 - 5160);
    // The status window sits at the bottom, inside the 300 twips kept for it.
    ASSERT_NE(m.statusWindow(), nullptr);
    EXPECT_EQ(m.statusWindow()->geometry().bottom(), m.centralWidget()->height() - 1);
    EXPECT_LE(m.statusWindow()->height(), px(300));
    EXPECT_GE(m.statusWindow()->geometry().top(), m.list()->geometry().bottom());

    // Hiding both side panes gives the whole width to the file area.
    m.toggleFolderTree();
    m.togglePreview();
    EXPECT_EQ(m.list()->geometry().left(), 0);
    EXPECT_EQ(m.list()->width(), px(8010 - 100));
    EXPECT_FALSE(m.treeSplitter()->isVisible());
    EXPECT_FALSE(m.previewSplitter()->isVisible());
    EXPECT_FALSE(m.folderTree()->isVisible());
}

TEST_F(MainWindowTest, ResizeKeepsSplittersInProportionAndTheMinimumWidth)
{
    MainWindow &m = *main;
    setSplitters(2000, 5000);
    m.resizeToOuter(12015, 6000);
    // Same fractions of the width as before: 8010 / 2000 and 8010 / 5000.
    EXPECT_EQ(m.splitters().treeSplitterLeft, static_cast<int>(common::roundHalfEven(12015 / (8010 / 2000.0f))));
    EXPECT_NEAR(m.splitters().previewSplitterLeft, 12015 / 1.602, 2);

    m.resizeToOuter(2000, 6000);
    EXPECT_GE(m.outerWidthTwips(), 3100);
    EXPECT_LT(m.outerWidthTwips(), 3100 + 2 * m.twipsPerPixel());
    EXPECT_GE(m.splitters().treeSplitterLeft, 1000);
    EXPECT_LE(m.splitters().previewSplitterLeft, m.outerWidthTwips() - 1000);
    // The layout gives no pane a negative size however small the window (a widget would
    // silently take 0 for it).
    for (const TwipRect &pane :
         {m.controls().list, m.controls().tree, m.controls().thumbArea, m.controls().previewFrame})
        EXPECT_GE(pane.width, 0);
}

TEST_F(MainWindowTest, TogglesStoreTheirFlagAndLayOutAgain)
{
    MainWindow &m = *main;
    const int lvTop = m.list()->y();
    const int lvHeight = m.list()->height();

    testsupport::item(m, QStringLiteral("hideToolBarItem"))->trigger(); // the tool bar's pop-up item
    EXPECT_FALSE(testsupport::item(m, QStringLiteral("toolBarItem"))->isChecked());
    EXPECT_FALSE(m.toolBar()->isVisible());
    EXPECT_EQ(stored(KeyToolBarShown), QStringLiteral("False"));
    EXPECT_EQ(m.list()->y(), px(280));
    EXPECT_LT(m.list()->y(), lvTop);

    m.toggleStatusBar();
    EXPECT_EQ(m.statusWindow(), nullptr);
    EXPECT_EQ(stored(KeyStatusBarShown), QStringLiteral("False"));
    EXPECT_NEAR(m.list()->height() - lvHeight, px(360 + 300), 2);

    // Switching it on again makes a new status window at once.
    m.toggleStatusBar();
    ASSERT_NE(m.statusWindow(), nullptr);
    EXPECT_TRUE(m.statusWindow()->isVisible());
    EXPECT_EQ(stored(KeyStatusBarShown), QStringLiteral("True"));

    // Showing the tree moves Isb 1000 right of Isa first.
    m.toggleFolderTree();
    EXPECT_EQ(stored(KeyTreeShown), QStringLiteral("False"));
    setSplitters(2000, 2500);
    testsupport::item(m, QStringLiteral("hideTreeItem"))->trigger();
    EXPECT_EQ(m.splitters().previewSplitterLeft, 3000);
    EXPECT_TRUE(testsupport::item(m, QStringLiteral("folderTreeItem"))->isChecked());
    EXPECT_EQ(stored(KeyTreeShown), QStringLiteral("True"));

    // Hiding the preview moves Isa 1000 left of Isb first.
    setSplitters(2600, 3000);
    testsupport::item(m, QStringLiteral("hidePreviewItem"))->trigger();
    EXPECT_EQ(m.splitters().treeSplitterLeft, 2000);
    EXPECT_FALSE(testsupport::item(m, QStringLiteral("previewItem"))->isChecked());
    EXPECT_EQ(stored(KeyPreviewShown), QStringLiteral("False"));
}

TEST_F(MainWindowTest, GhostBarFollowsThePointerWithinItsLimits)
{
    MainWindow &m = *main;
    drag(m.treeSplitter(), -5000, /*release*/ false);
    EXPECT_TRUE(m.treeGhost()->isVisible());
    EXPECT_TRUE(m.isDraggingSplitter());
    EXPECT_EQ(m.treeGhost()->x(), px(1000));
    EXPECT_EQ(m.treeGhost()->width(), px(45));
    send(m.treeSplitter(), QEvent::MouseMove, QPointF(4000, 10), Qt::LeftButton);
    EXPECT_EQ(m.treeGhost()->x(), px(8010 - 1000));
    send(m.treeSplitter(), QEvent::MouseButtonRelease, QPointF(4000, 10), Qt::NoButton);
    EXPECT_FALSE(m.treeGhost()->isVisible());
    EXPECT_FALSE(m.isDraggingSplitter());

    // Moving without a press moves nothing.
    const int before = m.previewGhost()->x();
    send(m.previewSplitter(), QEvent::MouseMove, QPointF(-50, 10), Qt::NoButton);
    EXPECT_EQ(m.previewGhost()->x(), before);
}

TEST_F(MainWindowTest, ReleasingASplitterCommitsItsPosition)
{
    MainWindow &m = *main;
    // With the preview shown, Isa stays 1000 left of Isb.
    drag(m.treeSplitter(), 4500);
    EXPECT_EQ(m.splitters().treeSplitterLeft, 4000);
    EXPECT_EQ(m.splitters().previewSplitterLeft, 5000);
    EXPECT_EQ(m.treeSplitter()->x(), px(4000));

    // Without the preview it goes where it is dropped ...
    m.togglePreview();
    setSplitters(2000, 5000);
    drag(m.treeSplitter(), 4500);
    EXPECT_EQ(m.splitters().treeSplitterLeft, 4500);
    // ... and dropped past Isb both are reset.
    drag(m.treeSplitter(), 5500);
    EXPECT_EQ(m.splitters().treeSplitterLeft, 1000);
    EXPECT_EQ(m.splitters().previewSplitterLeft, 8010 - 1000);
    m.togglePreview();

    // With the tree shown, Isb stays 1000 right of Isa.
    setSplitters(2000, 5000);
    drag(m.previewSplitter(), 2500);
    EXPECT_EQ(m.splitters().previewSplitterLeft, 3000);
    EXPECT_EQ(m.previewSplitter()->x(), px(3000));

    // A press and release without a move lays out again at the same place.
    drag(m.previewSplitter(), 3000);
    EXPECT_EQ(m.splitters().previewSplitterLeft, 3000);

    // The dragged position is the one kept in proportion afterwards.
    m.resizeToOuter(16020, 6000);
    EXPECT_NEAR(m.splitters().previewSplitterLeft, 6000, 2);
}
