#include "catalogue/catalogue.h"

#include "catalogue/fakeshellinfo.h"
#include "catalogue/filesize.h"
#include "catalogue/scratchfolder.h"
#include "catalogue/typepatterns.h"
#include "support/fakelistview.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace pavix::catalogue;
using pavix::testsupport::FakeListView;
using pavix::testsupport::FakeShellInfo;
using pavix::testsupport::ScratchFolder;

namespace {

QString allTypes()
{
    return combinedPattern(TypePatterns{BmpEnabled, JpgEnabled, GifEnabled, IcoEnabled});
}

struct Catalogue {
    FakeShellInfo shell;
    IconCache cache{shell};
    FakeListView lv;
    FileList files;
};

} // namespace

TEST(Catalogue, ListFolderMakesOneEntryPerFileInListOrder)
{
    ScratchFolder folder;
    folder.write(QStringLiteral("b.jpg"), 1000);
    folder.write(QStringLiteral("a.BMP"), 0);
    folder.write(QStringLiteral("c.bmp"), 1234567);
    folder.write(QStringLiteral("d.ico"), 5);
    Catalogue c;
    c.files.setPattern(allTypes());
    ASSERT_TRUE(c.files.setPath(folder.path()).ok());

    ASSERT_TRUE(ListFolder(c.files.path(), c.files, c.cache, c.lv).ok());
    ASSERT_EQ(c.lv.count(), 4);
    const QStringList names{QStringLiteral("a.BMP"), QStringLiteral("b.jpg"), QStringLiteral("c.bmp"),
                            QStringLiteral("d.ico")};
    const qint64 sizes[] = {0, 1000, 1234567, 5};
    const int icons[] = {1, 2, 1, 3};
    const QStringList types{QStringLiteral("BMP picture"), QStringLiteral("JPG picture"),
                            QStringLiteral("BMP picture"), QStringLiteral("ICO picture")};
    for (int i = 1; i <= 4; ++i) {
        EXPECT_EQ(c.lv.itemText(i), names[i - 1]);
        EXPECT_EQ(c.lv.addedPosition(i), i);
        EXPECT_EQ(c.lv.itemIcon(i), icons[i - 1]);
        EXPECT_EQ(c.lv.subItemText(i, 1), FormatFileSize(sizes[i - 1]));
        EXPECT_EQ(c.lv.subItemNumber(i, 1), sizes[i - 1]);
        EXPECT_EQ(c.lv.subItemText(i, 2), types[i - 1]);
    }
    EXPECT_EQ(c.lv.subItemText(1, 1), QStringLiteral("0"));
    EXPECT_EQ(c.lv.icons(), &c.cache.large());
    EXPECT_EQ(c.lv.smallIcons(), &c.cache.small());
    EXPECT_EQ(c.lv.iconsChangedCalls(), 1); // once for the folder, not once per image
}

TEST(Catalogue, RelistingAddsNoImagesAndAsksTheShellNothing)
{
    ScratchFolder folder;
    folder.write(QStringLiteral("a.ico"), 1);
    folder.write(QStringLiteral("b.ico"), 2);
    folder.write(QStringLiteral("c.gif"), 3);
    Catalogue c;
    c.files.setPattern(allTypes());
    ASSERT_TRUE(c.files.setPath(folder.path()).ok());
    ASSERT_TRUE(ListFolder(c.files.path(), c.files, c.cache, c.lv).ok());
    EXPECT_EQ(c.cache.large().count(), 3); // two icon files, one GIF type
    const int iconCalls = c.shell.iconCalls.size();

    c.lv.clear();
    ASSERT_TRUE(ListFolder(c.files.path(), c.files, c.cache, c.lv).ok());
    EXPECT_EQ(c.lv.count(), 3);
    EXPECT_EQ(c.cache.large().count(), 3);
    EXPECT_EQ(c.cache.small().count(), 3);
    EXPECT_EQ(c.shell.iconCalls.size(), iconCalls);
    EXPECT_EQ(c.shell.typeNameCalls.size(), 3);
    EXPECT_EQ(c.lv.iconsChangedCalls(), 1);
    EXPECT_EQ(c.lv.itemIcon(1), 1);
    EXPECT_EQ(c.lv.itemIcon(2), 2);
}

TEST(Catalogue, AFolderWithATrailingSlashGivesSingleSlashPaths)
{
    ScratchFolder folder;
    folder.write(QStringLiteral("a.gif"), 7);
    Catalogue c;
    c.files.setPattern(allTypes());
    ASSERT_TRUE(c.files.setPath(folder.path()).ok());
    ASSERT_TRUE(ListFolder(folder.path() + QStringLiteral("/"), c.files, c.cache, c.lv).ok());
    EXPECT_EQ(c.shell.typeNameCalls, QStringList{folder.path() + QStringLiteral("/a.gif")});
    EXPECT_EQ(c.lv.subItemNumber(1, 1), 7);
}

TEST(Catalogue, ExistingIconSourcesOfTheListAreKept)
{
    ScratchFolder folder;
    folder.write(QStringLiteral("a.gif"));
    Catalogue c;
    c.files.setPattern(allTypes());
    ASSERT_TRUE(c.files.setPath(folder.path()).ok());
    pavix::platform::ImageList other;
    c.lv.setIcons(&other);
    ASSERT_TRUE(AddCatalogueEntry(folder.file(QStringLiteral("a.gif")), c.files, c.cache, c.lv).ok());
    EXPECT_EQ(c.lv.icons(), &other);
    EXPECT_EQ(c.lv.smallIcons(), &c.cache.small());
    EXPECT_EQ(c.lv.iconsChangedCalls(), 1);
    ASSERT_TRUE(AddCatalogueEntry(folder.file(QStringLiteral("a.gif")), c.files, c.cache, c.lv).ok());
    EXPECT_EQ(c.lv.iconsChangedCalls(), 1); // nothing new in the second call
    EXPECT_EQ(c.lv.count(), 2);
}

TEST(Catalogue, AVanishedFileStopsTheListingAndKeepsTheEntriesBefore)
{
    ScratchFolder folder;
    folder.write(QStringLiteral("a.bmp"), 1);
    folder.write(QStringLiteral("b.bmp"), 2);
    folder.write(QStringLiteral("c.bmp"), 3);
    Catalogue c;
    ASSERT_TRUE(c.files.setPath(folder.path()).ok());
    ASSERT_TRUE(QFile::remove(folder.file(QStringLiteral("b.bmp"))));

    const auto status = ListFolder(c.files.path(), c.files, c.cache, c.lv);
    ASSERT_FALSE(status.ok());
    EXPECT_EQ(status.error().number, ErrFileNotFound);
    ASSERT_EQ(c.lv.count(), 1);
    EXPECT_EQ(c.lv.itemText(1), QStringLiteral("a.bmp"));
    EXPECT_EQ(c.lv.iconsChangedCalls(), 1); // the image made for a.bmp is still announced

    const auto single = AddCatalogueEntry(folder.file(QStringLiteral("b.bmp")), c.files, c.cache, c.lv);
    EXPECT_FALSE(single.ok());
    EXPECT_EQ(c.lv.count(), 1); // no half-made entry
}

TEST(Catalogue, SizesOrderAsNumbersInTheList)
{
    ScratchFolder folder;
    folder.write(QStringLiteral("a.bmp"), 10);
    folder.write(QStringLiteral("b.bmp"), 9);
    folder.write(QStringLiteral("c.bmp"), 1000);
    Catalogue c;
    ASSERT_TRUE(c.files.setPath(folder.path()).ok());
    ASSERT_TRUE(ListFolder(c.files.path(), c.files, c.cache, c.lv).ok());
    c.lv.setSortKey(1);
    c.lv.setSorted(true);
    EXPECT_EQ(c.lv.itemText(1), QStringLiteral("b.bmp"));
    EXPECT_EQ(c.lv.itemText(2), QStringLiteral("a.bmp"));
    EXPECT_EQ(c.lv.itemText(3), QStringLiteral("c.bmp"));
}

TEST(Catalogue, ListedFileLengthReadsFromTheListsFolder)
{
    ScratchFolder folder;
    folder.write(QStringLiteral("a.bmp"), 42);
    FileList files;
    ASSERT_TRUE(files.setPath(folder.path()).ok());
    EXPECT_EQ(listedFileLength(files, QStringLiteral("a.bmp")).value(), 42);
    EXPECT_FALSE(listedFileLength(files, QStringLiteral("none.bmp")).ok());
}

TEST(Catalogue, CorpusFoldersListWithoutErrors)
{
    ScratchFolder folder;
    Catalogue c;
    c.files.setPattern(allTypes());
    for (const char *name : {"good", "bad", "names"}) {
        const QString copy = folder.copyCorpus(QString::fromUtf8(name), QString::fromUtf8(name));
        ASSERT_TRUE(c.files.setPath(copy).ok());
        c.lv.clear();
        ASSERT_TRUE(ListFolder(c.files.path(), c.files, c.cache, c.lv).ok()) << name;
        EXPECT_EQ(c.lv.count(), c.files.listCount());
        for (int i = 1; i <= c.lv.count(); ++i) {
            EXPECT_EQ(c.lv.itemText(i), c.files.list(i - 1));
            EXPECT_GE(c.lv.itemIcon(i), 1);
        }
    }
    EXPECT_EQ(c.cache.large().count(), c.cache.small().count());
}

TEST(Catalogue, ListingManyIconFoldersKeepsIconMemoryBoundedAndEveryEntrysIconRight)
{
    constexpr qint64 pairBytes = (32 * 32 + 16 * 16) * 4; // the fake shell's icons
    ScratchFolder scratch;
    FakeShellInfo shell;
    IconCache cache(shell, 6 * pairBytes);
    FakeListView lv;
    FileList files;
    files.setPattern(allTypes());
    for (int f = 0; f < 12; ++f) {
        const QString folder = scratch.makeFolder(QStringLiteral("f%1").arg(f));
        for (int i = 0; i < 8; ++i)
            scratch.write(QStringLiteral("f%1/icon%2.ico").arg(f).arg(i));
        scratch.write(QStringLiteral("f%1/photo.bmp").arg(f));

        const int told = lv.iconsChangedCalls();
        lv.clear();
        ASSERT_TRUE(files.setPath(folder).ok());
        ASSERT_TRUE(ListFolder(files.path(), files, cache, lv).ok());
        ASSERT_EQ(lv.count(), 9);
        for (int i = 1; i <= lv.count(); ++i) {
            const QString path = folder + u'/' + lv.itemText(i);
            const QString key = cacheKey(path);
            EXPECT_EQ(cache.large().at(lv.itemIcon(i)).key, key) << qPrintable(path);
            EXPECT_EQ(cache.small().at(lv.itemIcon(i)).key, key) << qPrintable(path);
            if (key == path) {
                EXPECT_EQ(cache.large().at(lv.itemIcon(i)).picture, shell.icon(path, 2)) << qPrintable(path);
                EXPECT_EQ(cache.small().at(lv.itemIcon(i)).picture, shell.icon(path, 1)) << qPrintable(path);
            }
        }
        // This folder's eight icons, whatever the budget; none of earlier folders beyond it.
        EXPECT_EQ(cache.fileIconCount(), 8);
        EXPECT_LE(cache.large().count(), 1 + 8 + 6);
        // Positions were filled again, so the list was told.
        EXPECT_EQ(lv.iconsChangedCalls(), told + 1);
    }
}
