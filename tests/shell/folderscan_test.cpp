// The three folder scans on the real main window (offscreen).
#include "browser/browser.h"
#include "browser/texts.h"
#include "support/mainfixture.h"
#include "support/mainparts.h"

#include "foldertree/foldertree.h"
#include "listview/qtlistview.h"
#include "preview/previewpane.h"
#include "preview/stretchimage.h"
#include "preview/tiledpreview.h"
#include "shell/folderscan.h"
#include "shell/settingskeys.h"
#include "shell/statuswindow.h"
#include "thumbs/thumbgrid.h"
#include "thumbs/thumbstrip.h"

#include <QDir>
#include <QLabel>
#include <QScrollBar>
#include <QSignalSpy>

#include <functional>

using namespace pavix;
using testsupport::MainFixture;

namespace {

const QStringList Pictures = {"good/hopper.bmp", "good/hopper.jpg", "good/transparent.gif", "good/python.ico",
                              "names/UPPER.JPG"};

QString statusText(const shell::MainWindow &m)
{
    return m.statusWindow() ? m.statusWindow()->shownText() : QStringLiteral("<none>");
}

// Selects the first entry of the list the way a click does.
void clickFirstEntry(shell::MainWindow &m)
{
    m.list()->setSelectedItem(1);
    emit m.list()->itemClick(1);
}

} // namespace

TEST(FolderScan, TreeScanListsTheFolderAndItsThumbnails)
{
    MainFixture f;
    const QString pictures = f.folderWith(QStringLiteral("pictures"), Pictures);
    const QString empty = f.scratch.makeFolder(QStringLiteral("empty"));
    f.start(pictures);
    shell::MainWindow &m = *f.main;

    EXPECT_EQ(m.list()->count(), 5);
    EXPECT_EQ(m.imagesLabel()->text(), QStringLiteral("Images : 5"));
    EXPECT_EQ(statusText(m), QString());
    EXPECT_EQ(m.thumbStrip()->elementCount(), 5);
    for (int i = 0; i < 5; ++i) {
        EXPECT_TRUE(m.thumbStrip()->elementVisible(i)) << i;
        // Entry i + 1 and thumbnail i name the same file.
        EXPECT_EQ(m.list()->itemText(i + 1), m.browser().files().list(i));
    }
    EXPECT_FALSE(m.thumbStrip()->markerVisible());
    EXPECT_TRUE(m.browser().picture().isNull());

    // A selection, then a folder without pictures: everything is emptied.
    clickFirstEntry(m);
    ASSERT_FALSE(m.browser().currentFile().isEmpty());
    m.folderTree()->setSelectedFolder(empty);
    EXPECT_EQ(m.browser().files().path(), empty);
    EXPECT_EQ(m.list()->count(), 0);
    EXPECT_EQ(m.imagesLabel()->text(), QStringLiteral("Images : "));
    EXPECT_EQ(statusText(m), QString());
    EXPECT_TRUE(m.browser().currentFile().isEmpty());
    EXPECT_FALSE(m.previewImage()->isVisible());
    EXPECT_FALSE(m.previewImage()->hasPicture());
    EXPECT_EQ(m.thumbStrip()->elementCount(), 1);
    EXPECT_FALSE(m.thumbStrip()->elementVisible(0));
    EXPECT_FALSE(m.thumbScrollBar()->isVisible());

    // A folder that cannot be opened shows nothing of the folder before it, and says why.
    m.folderTree()->setSelectedFolder(pictures);
    ASSERT_EQ(m.list()->count(), 5);
    const QString gone = f.scratch.file(QStringLiteral("gone"));
    m.folderTree()->setSelectedFolder(gone);
    EXPECT_EQ(m.browser().files().path(), gone);
    EXPECT_EQ(m.list()->count(), 0);
    EXPECT_EQ(m.imagesLabel()->text(), QStringLiteral("Images : "));
    EXPECT_FALSE(m.thumbStrip()->elementVisible(0));
    EXPECT_EQ(statusText(m), QStringLiteral("The folder %1 cannot be read: no such file or directory.").arg(gone));
    // Refreshing it says so again and still lists nothing.
    testsupport::item(m, QStringLiteral("refreshItem"))->trigger();
    EXPECT_EQ(m.list()->count(), 0);
    EXPECT_TRUE(statusText(m).startsWith(QStringLiteral("The folder %1 cannot be read").arg(gone)));
}

TEST(FolderScan, BrowseScanShowsItsOwnTextsAndStoresTheFolder)
{
    MainFixture f;
    const QString pictures = f.folderWith(QStringLiteral("pictures"), Pictures);
    const QString empty = f.scratch.makeFolder(QStringLiteral("empty"));
    f.start(pictures);
    shell::MainWindow &m = *f.main;
    QString &answer = f.folderChooser.answer;
    const QString &askedTitle = f.folderChooser.askedTitle;
    const QString &askedFolder = f.folderChooser.askedFolder;

    clickFirstEntry(m);
    const QString selected = m.browser().currentFile();
    ASSERT_FALSE(selected.isEmpty());

    // Cancelling, or choosing the folder already listed, changes nothing.
    answer = QString();
    EXPECT_EQ(m.folderScan()->browseFolder(m.folderTree()->selectedFolder()), QString());
    EXPECT_EQ(askedTitle, QStringLiteral("Searching for *.bmp *.gif *.jpeg *.ico *.png *.webp *.tif  files."));
    EXPECT_EQ(askedFolder, pictures);
    answer = pictures;
    m.folderScan()->browseFolder(pictures);
    EXPECT_EQ(m.list()->count(), 5);
    EXPECT_TRUE(m.previewImage()->hasPicture());
    EXPECT_EQ(m.browser().currentFile(), selected);

    // An empty folder: "Images :" without the space, and a message.
    answer = empty;
    EXPECT_EQ(m.folderScan()->browseFolder(pictures), empty);
    EXPECT_EQ(m.imagesLabel()->text(), QStringLiteral("Images :"));
    EXPECT_EQ(statusText(m), QStringLiteral("This directory does not contain supported images."));
    EXPECT_EQ(m.folderTree()->selectedFolder(), empty);
    EXPECT_EQ(f.store.read(QStringLiteral("Settings"), QStringLiteral("Folder")), empty);
    // The browse scan leaves the selection's names as they were.
    EXPECT_EQ(m.browser().currentFile(), selected);
    EXPECT_FALSE(m.previewImage()->hasPicture());

    // Back to the pictures: count first, then the list; the status bar is emptied.
    answer = pictures;
    m.folderScan()->browseFolder(empty);
    EXPECT_EQ(m.imagesLabel()->text(), QStringLiteral("Images : 5"));
    EXPECT_EQ(m.list()->count(), 5);
    EXPECT_EQ(statusText(m), QString());
    EXPECT_EQ(m.browser().files().path(), pictures);
}

TEST(FolderScan, RefreshSeesNewFilesOfTheSameFolder)
{
    MainFixture f;
    const QString pictures = f.folderWith(QStringLiteral("pictures"), Pictures);
    f.start(pictures);
    shell::MainWindow &m = *f.main;
    clickFirstEntry(m);

    ASSERT_TRUE(QFile::copy(QStringLiteral(PAVIX_CORPUS_DIR "/good/pal8.bmp"),
                            pictures + QStringLiteral("/added.bmp")));
    testsupport::item(m, QStringLiteral("refreshItem"))->trigger();
    EXPECT_EQ(m.list()->count(), 6);
    EXPECT_EQ(m.imagesLabel()->text(), QStringLiteral("Images : 6"));
    EXPECT_GT(m.list()->findItem(QStringLiteral("added.bmp")), 0);
    EXPECT_EQ(statusText(m), browser::clickHint());
    EXPECT_TRUE(m.browser().currentFile().isEmpty());
    EXPECT_TRUE(m.thumbStrip()->isVisibleTo(m.thumbArea()));
    EXPECT_EQ(m.thumbStrip()->elementCount(), 6);

    // Emptied on disk: the count label keeps its space, the status bar is emptied.
    for (const QString &name : QDir(pictures).entryList(QDir::Files))
        QFile::remove(pictures + u'/' + name);
    testsupport::item(m, QStringLiteral("listRefreshItem"))->trigger();
    EXPECT_EQ(m.list()->count(), 0);
    EXPECT_EQ(m.imagesLabel()->text(), QStringLiteral("Images : "));
    EXPECT_EQ(statusText(m), QString());
    EXPECT_FALSE(m.thumbStrip()->elementVisible(0));

    // A folder removed since it was listed: the refresh keeps the folder it had.
    QDir(pictures).removeRecursively();
    testsupport::item(m, QStringLiteral("refreshItem"))->trigger();
    EXPECT_EQ(m.browser().files().path(), pictures);
    EXPECT_EQ(m.list()->count(), 0);
}

TEST(FolderScan, TheRootFolderIsListedLikeAnyOther)
{
    MainFixture f;
    f.start(QStringLiteral("/"));
    shell::MainWindow &m = *f.main;
    EXPECT_EQ(m.browser().files().path(), QStringLiteral("/"));
    EXPECT_EQ(m.imagesLabel()->text(), m.browser().files().listCount()
                                           ? QStringLiteral("Images : %1").arg(m.browser().files().listCount())
                                           : QStringLiteral("Images : "));
    EXPECT_EQ(m.list()->count(), m.browser().files().listCount());
}

TEST(FolderScan, EachScanListsOnceAndOnlyAnotherFolderClosesTheTiledWindow)
{
    MainFixture f;
    const QString pictures = f.folderWith(QStringLiteral("pictures"), Pictures);
    const QString others = f.folderWith(QStringLiteral("others"), {"good/hopper.bmp", "good/pal8.bmp"});
    f.start(pictures);
    shell::MainWindow &m = *f.main;
    QSignalSpy folders(&m.browser(), &browser::Browser::folderChanged);
    // The grid places its strip once a build (the folders are too small to scroll).
    QSignalSpy builds(m.thumbGrid(), &thumbs::ThumbGrid::stripPlaced);
    auto otherFolder = [&] { return m.browser().folder() == pictures ? others : pictures; };
    auto browse = [&](const QString &folder) {
        f.folderChooser.answer = folder;
        m.folderScan()->browseFolder(folder);
    };

    struct Scan {
        const char *what;
        std::function<void()> run;
        int folderChanges;
        int builds;
        bool tiledWindowStays;
    };
    const Scan scans[] = {
        {"the tree's folder, listed already", [&] { m.folderScan()->scanTreeFolder(); }, 0, 0, true},
        {"a refresh", [&] { testsupport::item(m, QStringLiteral("refreshItem"))->trigger(); }, 0, 1, true},
        {"new types", [&] { m.folderScan()->rescanForTypes(); }, 0, 1, true},
        {"another folder in the tree", [&] { m.folderTree()->setSelectedFolder(otherFolder()); }, 1, 1, false},
        {"the folder listed, browsed", [&] { browse(m.browser().folder()); }, 0, 0, true},
        {"another folder, browsed", [&] { browse(otherFolder()); }, 1, 1, false},
    };
    for (const Scan &scan : scans) {
        SCOPED_TRACE(scan.what);
        clickFirstEntry(m);
        m.tiledPreview()->show();
        ASSERT_TRUE(m.tiledPreview()->isShown());
        folders.clear();
        builds.clear();
        scan.run();
        EXPECT_EQ(folders.count(), scan.folderChanges);
        EXPECT_EQ(builds.count(), scan.builds);
        EXPECT_EQ(m.tiledPreview()->isShown(), scan.tiledWindowStays);
        m.tiledPreview()->close();
    }
}
