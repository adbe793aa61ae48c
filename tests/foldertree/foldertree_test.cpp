// The folder tree on its own (offscreen): deep folders keep their names in view, and
// folders whose names are not UTF-8 are shown and picked.
#include "common/filename.h"
#include "foldertree/foldertree.h"
#include "foldertree/foldertreemodel.h"
#include "support/printers.h"
#include "support/scratchfolder.h"

#include <QDir>
#include <QHeaderView>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStyledItemDelegate>
#include <QTest>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using pavix::common::decodeFileName;
using pavix::foldertree::FolderTree;
using pavix::foldertree::FolderTreeModel;

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

TEST(FolderTree, FoldersWhoseNamesAreNotUtf8AreShownAndEachPicksItsOwnFolder)
{
    pavix::testsupport::ScratchFolder scratch;
    const QByteArray base = QFile::encodeName(scratch.path());
    ASSERT_TRUE(QDir(scratch.path()).mkdir(QStringLiteral("plain")));
    // Two names that differ only in a Latin-1 byte; a hidden one; a file, which is no folder.
    for (const QByteArray &name : {QByteArray("caf\xe9"), QByteArray("caf\xe8"), QByteArray(".hidden\xe9")})
        ASSERT_EQ(::mkdir((base + '/' + name).constData(), 0755), 0);
    const int fd = ::open((base + "/file\xe9").constData(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
    ASSERT_GE(fd, 0);
    ::close(fd);
    const QString e8 = decodeFileName(base + "/caf\xe8");
    const QString e9 = decodeFileName(base + "/caf\xe9");

    FolderTree tree(nullptr);
    tree.resize(300, 400);
    tree.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&tree));
    auto *model = qobject_cast<FolderTreeModel *>(tree.model());
    ASSERT_NE(model, nullptr);
    tree.setSelectedFolder(scratch.path());
    ASSERT_TRUE(QTest::qWaitFor([&] { return model->indexOf(scratch.path()).isValid(); }, 5000));
    // Persistent: the folders above are sorted again as they are read.
    const QPersistentModelIndex folder = model->indexOf(scratch.path());
    tree.expand(folder);
    ASSERT_TRUE(QTest::qWaitFor([&] { return model->indexOf(e9).isValid(); }, 5000));

    // The folders Qt lists, then the others in the order of their bytes, drawn with U+FFFD.
    const auto *delegate = qobject_cast<const QStyledItemDelegate *>(tree.itemDelegate());
    ASSERT_NE(delegate, nullptr);
    const auto shownRows = [&] {
        QStringList shown;
        for (int row = 0; row < model->rowCount(folder); ++row)
            shown << delegate->displayText(model->index(row, 0, folder).data(), QLocale());
        return shown;
    };
    const QString replaced = QString::fromUtf16(u"caf\uFFFD");
    EXPECT_EQ(shownRows(), (QStringList{QStringLiteral("plain"), replaced, replaced}));
    EXPECT_EQ(model->filePath(model->index(1, 0, folder)), e8);
    EXPECT_EQ(model->filePath(model->index(2, 0, folder)), e9);
    EXPECT_EQ(model->indexOf(e8), model->index(1, 0, folder));
    EXPECT_EQ(model->parent(model->indexOf(e8)), folder);
    EXPECT_FALSE(model->hasChildren(model->indexOf(e8)));

    // Each picks its own folder.
    QSignalSpy changed(&tree, &FolderTree::folderChanged);
    tree.setCurrentIndex(model->indexOf(e9));
    EXPECT_EQ(tree.selectedFolder(), e9);
    tree.setCurrentIndex(model->indexOf(e8));
    EXPECT_EQ(tree.selectedFolder(), e8);
    EXPECT_EQ(changed.count(), 2);

    // A folder made beside them, and sorting the folders the other way, leave the current
    // folder the one picked.
    ASSERT_TRUE(QDir(scratch.path()).mkdir(QStringLiteral("another")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return model->rowCount(folder) == 4; }, 5000));
    EXPECT_EQ(model->filePath(tree.currentIndex()), e8);
    model->sourceModel()->sort(0, Qt::DescendingOrder);
    EXPECT_EQ(model->filePath(tree.currentIndex()), e8);
    EXPECT_EQ(model->filePath(model->index(0, 0, folder)), scratch.file(QStringLiteral("plain")));
    EXPECT_EQ(tree.selectedFolder(), e8);
    EXPECT_EQ(changed.count(), 2);

    // Written before anything is read (the folder of the last run), such a folder is shown
    // as the current one once the folders above it are read.
    FolderTree fresh(nullptr);
    fresh.resize(300, 400);
    fresh.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&fresh));
    fresh.setSelectedFolder(e9);
    const auto *freshModel = qobject_cast<FolderTreeModel *>(fresh.model());
    EXPECT_TRUE(QTest::qWaitFor([&] { return freshModel->filePath(fresh.currentIndex()) == e9; }, 5000));
    EXPECT_EQ(fresh.selectedFolder(), e9);
}

TEST(FolderTree, ScrollsSidewaysOnlyAsFarAsTheNameNeeds)
{
    struct Case {
        int left, right, viewport, margin, scroll;
    } const cases[] = {
        {40, 150, 180, 20, 0},    // fits from the left edge: no scroll, the arrows stay in view
        {40, 180, 180, 20, 0},    // ends exactly at the edge
        {300, 400, 180, 20, 220}, // just far enough to show the end
        {300, 900, 180, 20, 280}, // longer than the pane: its start, one margin in
        {10, 900, 180, 20, 0},    // never scrolled back past the left edge
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
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            for (int row = 0; row < model->rowCount(tree.currentIndex().parent()); ++row) {
                const QModelIndex index = model->index(row, 0, tree.currentIndex().parent());
                if (index.data().toString() == QStringLiteral("second"))
                    secondRow = index;
            }
            return tree.currentIndex().data().toString() == QStringLiteral("first") && secondRow.isValid();
        },
        5000));
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
