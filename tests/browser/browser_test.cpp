// The browsing state: the catalogue it makes of a folder and the selection it announces.
#include "browser/browser.h"
#include "platform/folderlisting.h"

#include "catalogue/filesize.h"
#include "catalogue/typepatterns.h"
#include "support/corpus.h"
#include "support/fakeshellinfo.h"
#include "support/scratchfolder.h"

#include <QFile>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <array>
#include <functional>

using namespace pavix;
using namespace pavix::catalogue;
using browser::Browser;
using pavix::platform::cacheKey;
using pavix::platform::IconCache;
using testsupport::FakeShellInfo;
using testsupport::ScratchFolder;

namespace {

QString allTypes()
{
    return combinedPattern(patternsInForce(TypePatterns{})); // every type
}

struct Browsing {
    FakeShellInfo shell;
    Browser browser{shell, 15.0};
};

} // namespace

TEST(Browser, CatalogueHasOneEntryPerFileInListOrder)
{
    ScratchFolder folder;
    folder.write(QStringLiteral("b.jpg"), 1000);
    folder.write(QStringLiteral("a.BMP"), 0);
    folder.write(QStringLiteral("c.bmp"), 1234567);
    folder.write(QStringLiteral("d.ico"), 5);
    Browsing b;
    b.browser.setFilePattern(allTypes());
    ASSERT_TRUE(b.browser.setFolder(folder.path()).ok());

    const auto entries = b.browser.catalogueEntries();
    ASSERT_EQ(entries.size(), 4u);
    const QStringList names{QStringLiteral("a.BMP"), QStringLiteral("b.jpg"), QStringLiteral("c.bmp"),
                            QStringLiteral("d.ico")};
    const qint64 sizes[] = {0, 1000, 1234567, 5};
    const int icons[] = {1, 2, 1, 3};
    const QStringList types{QStringLiteral("BMP picture"), QStringLiteral("JPG picture"), QStringLiteral("BMP picture"),
                            QStringLiteral("ICO picture")};
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(entries[i].name, names[int(i)]);
        EXPECT_EQ(entries[i].length, sizes[i]);
        EXPECT_EQ(entries[i].iconPosition, icons[i]);
        EXPECT_EQ(entries[i].typeName, types[int(i)]);
    }

    // Listing again adds no images and asks the shell nothing new.
    const auto iconCalls = b.shell.iconCalls.size();
    EXPECT_EQ(b.browser.catalogueEntries().size(), 4u);
    EXPECT_EQ(b.browser.icons().large().count(), 3);
    EXPECT_EQ(b.shell.iconCalls.size(), iconCalls);
}

TEST(Browser, AFileGoneSinceTheListingKeepsItsEntryAndTheEntriesAfterIt)
{
    ScratchFolder folder;
    folder.write(QStringLiteral("a.bmp"), 1);
    folder.write(QStringLiteral("b.bmp"), 2);
    folder.write(QStringLiteral("c.bmp"), 3);
    Browsing b;
    ASSERT_TRUE(b.browser.setFolder(folder.path()).ok());
    ASSERT_TRUE(QFile::remove(folder.file(QStringLiteral("b.bmp"))));

    // The catalogue is the listing: as many entries as the file list (and the grid built
    // from it) has, with the lengths the listing read. Selecting the gone file says so.
    const auto entries = b.browser.catalogueEntries();
    ASSERT_EQ(entries.size(), 3u);
    for (size_t i = 0; i < entries.size(); ++i) {
        EXPECT_EQ(entries[i].name, b.browser.files().list(int(i)));
        EXPECT_EQ(entries[i].length, qint64(i) + 1);
    }
    EXPECT_EQ(b.browser.listedFileLength(QStringLiteral("a.bmp")).value(), 1);
    EXPECT_EQ(b.browser.listedFileLength(QStringLiteral("b.bmp")).error().number, platform::ErrFileNotFound);

    // The next listing leaves it out.
    ASSERT_TRUE(b.browser.setFolder(folder.path()).ok());
    EXPECT_EQ(b.browser.catalogueEntries().size(), 2u);
    EXPECT_EQ(b.browser.files().names(), (QStringList{QStringLiteral("a.bmp"), QStringLiteral("c.bmp")}));
}

TEST(Browser, CorpusFoldersCatalogueWithoutErrors)
{
    ScratchFolder folder;
    Browsing b;
    b.browser.setFilePattern(allTypes());
    for (const char *name : {"good", "bad", "names"}) {
        ASSERT_TRUE(b.browser.setFolder(folder.copyCorpus(QString::fromUtf8(name), QString::fromUtf8(name))).ok());
        const auto entries = b.browser.catalogueEntries();
        ASSERT_EQ(int(entries.size()), b.browser.files().listCount());
        for (size_t i = 0; i < entries.size(); ++i) {
            EXPECT_EQ(entries[i].name, b.browser.files().list(int(i)));
            EXPECT_GE(entries[i].iconPosition, 1);
        }
    }
    EXPECT_EQ(b.browser.icons().large().count(), b.browser.icons().small().count());
}

TEST(Browser, SelectingAnnouncesThePictureOrWhyItCannotBeRead)
{
    ScratchFolder folder;
    ASSERT_TRUE(QFile::copy(testsupport::corpusPath(QStringLiteral("good/hopper.bmp")),
                            folder.file(QStringLiteral("a.bmp"))));
    ASSERT_TRUE(QFile::copy(testsupport::corpusPath(QStringLiteral("bad/empty.bmp")),
                            folder.file(QStringLiteral("b.bmp"))));
    Browsing b;
    ASSERT_TRUE(b.browser.setFolder(folder.path()).ok());
    QSignalSpy pictures(&b.browser, &Browser::pictureChanged);
    QSignalSpy selected(&b.browser, &Browser::fileSelected);
    QSignalSpy failed(&b.browser, &Browser::selectionFailed);
    QSignalSpy cleared(&b.browser, &Browser::selectionCleared);

    ASSERT_TRUE(b.browser.selectFile(QStringLiteral("a.bmp")).ok());
    EXPECT_EQ(b.browser.currentFile(), QStringLiteral("a.bmp"));
    EXPECT_EQ(b.browser.currentFolder(), folder.path());
    EXPECT_EQ(b.browser.picture().size(), QSize(128, 128));
    EXPECT_EQ(b.browser.pictureSizeTwips(), QSize(1920, 1920));
    EXPECT_EQ(pictures.count(), 1);
    ASSERT_EQ(selected.count(), 1);
    EXPECT_EQ(selected[0][0].toInt(), 0);

    // An unreadable file: no current file, no picture, the reason, and still its place.
    const auto bad = b.browser.selectFile(QStringLiteral("b.bmp"));
    EXPECT_FALSE(bad.ok());
    EXPECT_TRUE(b.browser.currentFile().isEmpty());
    EXPECT_TRUE(b.browser.picture().isNull());
    EXPECT_EQ(b.browser.pictureSizeTwips(), QSize(1920, 1920)); // the size stays
    EXPECT_EQ(pictures.count(), 2);
    EXPECT_EQ(failed.count(), 1);
    ASSERT_EQ(selected.count(), 2);
    EXPECT_EQ(selected[1][0].toInt(), 1);

    // Making a file current reads nothing; clearing leaves nothing selected.
    b.browser.setCurrentFile(QStringLiteral("a.bmp"));
    EXPECT_EQ(pictures.count(), 2);
    b.browser.clearSelection();
    EXPECT_TRUE(b.browser.currentFile().isEmpty());
    EXPECT_EQ(cleared.count(), 1);
}

TEST(Browser, EachSetterAnnouncesARealChangeOnce)
{
    ScratchFolder scratch;
    const QString one = scratch.makeFolder(QStringLiteral("one"));
    const QString two = scratch.makeFolder(QStringLiteral("two"));
    ASSERT_TRUE(QFile::copy(testsupport::corpusPath(QStringLiteral("good/hopper.bmp")),
                            one + QStringLiteral("/a.bmp")));
    ASSERT_TRUE(QFile::copy(testsupport::corpusPath(QStringLiteral("bad/empty.bmp")), one + QStringLiteral("/b.bmp")));
    Browsing b;
    Browser &browser = b.browser;
    QSignalSpy folders(&browser, &Browser::folderChanged);
    QSignalSpy filePatterns(&browser, &Browser::filePatternChanged);
    QSignalSpy patterns(&browser, &Browser::patternsChanged);
    QSignalSpy currentFiles(&browser, &Browser::currentFileChanged);
    const TypePatterns gifs{DisabledPattern, DisabledPattern, GifEnabled,     DisabledPattern,
                            DisabledPattern, DisabledPattern, DisabledPattern};

    struct Step {
        const char *what;
        std::function<void()> act;
        std::array<int, 4> announced; // folder, file pattern, types, current file
    };
    const Step steps[] = {
        {"a folder", [&] { browser.setFolder(one); }, {1, 0, 0, 0}},
        {"the same folder, read afresh",
         [&] {
             scratch.write(QStringLiteral("one/c.bmp"));
             browser.setFolder(one + u'/');
             EXPECT_EQ(browser.files().listCount(), 3);
         },
         {0, 0, 0, 0}},
        {"a file pattern", [&] { browser.setFilePattern(allTypes()); }, {0, 1, 0, 0}},
        {"the same file pattern", [&] { browser.setFilePattern(allTypes()); }, {0, 0, 0, 0}},
        {"picture types", [&] { browser.setPatterns(gifs); }, {0, 0, 1, 0}},
        {"the same picture types", [&] { browser.setPatterns(gifs); }, {0, 0, 0, 0}},
        {"a current file", [&] { browser.setCurrentFile(QStringLiteral("a.bmp")); }, {0, 0, 0, 1}},
        {"the same current file", [&] { browser.setCurrentFile(QStringLiteral("a.bmp")); }, {0, 0, 0, 0}},
        {"the current file selected", [&] { browser.selectFile(QStringLiteral("a.bmp")); }, {0, 0, 0, 0}},
        {"a file that cannot be read: current, then none",
         [&] { browser.selectFile(QStringLiteral("b.bmp")); },
         {0, 0, 0, 2}},
        {"no file, again", [&] { browser.setCurrentFile(QString()); }, {0, 0, 0, 0}},
        {"another folder with no file in it current",
         [&] {
             browser.setFolder(two);
             browser.setCurrentFile(QString());
         },
         {1, 0, 0, 0}},
        {"a file made current, then the selection cleared",
         [&] {
             browser.setCurrentFile(QStringLiteral("a.bmp"));
             browser.clearSelection();
             browser.clearSelection();
         },
         {0, 0, 0, 2}},
        {"a folder that cannot be read",
         [&] { browser.setFolder(scratch.file(QStringLiteral("gone"))); },
         {1, 0, 0, 0}},
        {"no folder at all", [&] { browser.setFolder(QString()); }, {0, 0, 0, 0}},
    };
    for (const Step &step : steps) {
        SCOPED_TRACE(step.what);
        for (QSignalSpy *spy : {&folders, &filePatterns, &patterns, &currentFiles})
            spy->clear();
        step.act();
        EXPECT_EQ(folders.count(), step.announced[0]);
        EXPECT_EQ(filePatterns.count(), step.announced[1]);
        EXPECT_EQ(patterns.count(), step.announced[2]);
        EXPECT_EQ(currentFiles.count(), step.announced[3]);
        // Each announcement gives the new value.
        if (!folders.isEmpty()) {
            EXPECT_EQ(folders.last().at(0).toString(), browser.folder());
        }
        if (!filePatterns.isEmpty()) {
            EXPECT_EQ(filePatterns.last().at(0).toString(), browser.files().pattern());
        }
        if (!currentFiles.isEmpty()) {
            EXPECT_EQ(currentFiles.last().at(0).toString(), browser.currentFile());
        }
    }
    EXPECT_EQ(browser.typeTexts().gifText, GifDisplay);
}

TEST(Browser, ListingManyIconFoldersKeepsIconMemoryBoundedAndEveryEntrysIconRight)
{
    constexpr qint64 pairBytes = (32 * 32 + 16 * 16) * 4; // the fake shell's icons
    ScratchFolder scratch;
    FakeShellInfo shell;
    Browser browser(shell, 15.0, 6 * pairBytes);
    browser.setFilePattern(allTypes());
    for (int f = 0; f < 12; ++f) {
        const QString folder = scratch.makeFolder(QStringLiteral("f%1").arg(f));
        for (int i = 0; i < 8; ++i)
            scratch.write(QStringLiteral("f%1/icon%2.ico").arg(f).arg(i));
        scratch.write(QStringLiteral("f%1/photo.bmp").arg(f));

        ASSERT_TRUE(browser.setFolder(folder).ok());
        const auto entries = browser.catalogueEntries();
        ASSERT_EQ(entries.size(), 9u);
        const IconCache &cache = browser.icons();
        for (const browser::CatalogueEntry &entry : entries) {
            const QString path = folder + u'/' + entry.name;
            const QString key = cacheKey(path);
            EXPECT_EQ(cache.large().at(entry.iconPosition).key, key) << qPrintable(path);
            EXPECT_EQ(cache.small().at(entry.iconPosition).key, key) << qPrintable(path);
            if (key == path) {
                EXPECT_EQ(cache.large().at(entry.iconPosition).picture, shell.icon(path, 2)) << qPrintable(path);
                EXPECT_EQ(cache.small().at(entry.iconPosition).picture, shell.icon(path, 1)) << qPrintable(path);
            }
        }
        // This folder's eight icons, whatever the budget; none of earlier folders beyond it.
        EXPECT_EQ(cache.fileIconCount(), 8);
        EXPECT_LE(cache.large().count(), 1 + 8 + 6);
    }
}
