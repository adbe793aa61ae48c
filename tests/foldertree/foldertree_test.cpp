// The folder tree on its own (offscreen): deep folders keep their names in view.
#include "support/scratchfolder.h"
#include "foldertree/foldertree.h"

#include <QDir>
#include <QHeaderView>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

using pavix::foldertree::FolderTree;

TEST(FolderTree, ADeepFolderIsScrolledIntoViewSideways)
{
    pavix::testsupport::ScratchFolder scratch;
    QString deep = scratch.path();
    for (int level = 1; level <= 8; ++level)
        deep += QStringLiteral("/folder at level %1 with a long name").arg(level);
    ASSERT_TRUE(QDir().mkpath(deep));

    FolderTree tree(nullptr);
    tree.resize(180, 300);
    tree.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&tree));
    tree.setSelectedFolder(deep);

    // The model reads the folders above it in the background.
    const auto nameShown = [&] {
        const QModelIndex current = tree.currentIndex();
        if (!current.isValid() || current.data().toString() != deep.section(u'/', -1))
            return false;
        const QRect item = tree.visualRect(current);
        return item.left() >= 0 && item.left() < tree.viewport()->width();
    };
    EXPECT_TRUE(QTest::qWaitFor(nameShown, 5000));
    // The column is as wide as its names, wider than the pane, and the tree scrolls.
    EXPECT_GT(tree.header()->sectionSize(0), tree.viewport()->width());
    EXPECT_GT(tree.horizontalScrollBar()->maximum(), 0);
    EXPECT_GT(tree.horizontalScrollBar()->value(), 0);
}

TEST(FolderTree, ScrollsSidewaysOnlyAsFarAsTheNameNeeds)
{
    struct Case {
        int left, right, viewport, margin, scroll;
    } const cases[] = {
        {40, 150, 180, 20, 0},     // fits from the left edge: no scroll, the arrows stay in view
        {40, 180, 180, 20, 0},     // ends exactly at the edge
        {300, 400, 180, 20, 220},  // just far enough to show the end
        {300, 900, 180, 20, 280},  // longer than the pane: its start, one margin in
        {10, 900, 180, 20, 0},     // never scrolled back past the left edge
    };
    for (const Case &c : cases)
        EXPECT_EQ(FolderTree::nameScroll(c.left, c.right, c.viewport, c.margin), c.scroll)
            << c.left << ".." << c.right << " in " << c.viewport;
}

TEST(FolderTree, ARightPressRaisesTheMenuWithoutPickingTheFolder)
{
    pavix::testsupport::ScratchFolder scratch;
    const QString first = scratch.path() + QStringLiteral("/first");
    const QString second = scratch.path() + QStringLiteral("/second");
    ASSERT_TRUE(QDir().mkpath(first));
    ASSERT_TRUE(QDir().mkpath(second));

    FolderTree tree(nullptr);
    tree.resize(300, 400);
    tree.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&tree));
    tree.setSelectedFolder(first);
    const auto model = tree.model();
    QModelIndex secondRow;
    ASSERT_TRUE(QTest::qWaitFor([&] {
        for (int row = 0; row < model->rowCount(tree.currentIndex().parent()); ++row) {
            const QModelIndex index = model->index(row, 0, tree.currentIndex().parent());
            if (index.data().toString() == QStringLiteral("second"))
                secondRow = index;
        }
        return tree.currentIndex().data().toString() == QStringLiteral("first") && secondRow.isValid();
    }, 5000));
    tree.scrollTo(secondRow);

    QSignalSpy changes(&tree, &FolderTree::folderChanged);
    QSignalSpy presses(&tree, &FolderTree::mouseDown);
    const QPoint onSecond = tree.visualRect(secondRow).center();
    QTest::mouseClick(tree.viewport(), Qt::RightButton, {}, onSecond);
    EXPECT_EQ(presses.count(), 1);
    ASSERT_FALSE(presses.isEmpty());
    EXPECT_TRUE(presses.front().at(0).toInt() & 2);
    EXPECT_EQ(changes.count(), 0);
    EXPECT_EQ(tree.selectedFolder(), first);
    EXPECT_EQ(tree.currentIndex().data().toString(), QStringLiteral("first"));

    // The left button still picks it.
    QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, onSecond);
    EXPECT_EQ(changes.count(), 1);
    EXPECT_EQ(tree.selectedFolder(), second);
}
