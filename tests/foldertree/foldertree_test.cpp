// The folder tree on its own (offscreen): deep folders keep their names in view.
#include "support/scratchfolder.h"
#include "foldertree/foldertree.h"

#include <QDir>
#include <QHeaderView>
#include <QScrollBar>
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
