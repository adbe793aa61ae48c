// The thumbnail grid of the real main window: its build, the marker, the keys and the
// selection shared with the list (offscreen).
#include "browser/browser.h"
#include "browser/texts.h"
#include "support/boxanswerer.h"
#include "support/mainfixture.h"
#include "support/mainparts.h"
#include "support/photofiles.h"

#include "common/keys.h"
#include "foldertree/foldertree.h"
#include "listview/listinteraction.h"
#include "listview/qtlistview.h"
#include "platform/pictureservice.h"
#include "preview/stretchimage.h"
#include "shell/statuswindow.h"
#include "thumbcache/fileuri.h"
#include "thumbs/gridgeometry.h"
#include "thumbs/thumbgrid.h"
#include "thumbs/thumbstrip.h"

#include <QCursor>
#include <QFileInfo>
#include <QLabel>
#include <QProgressBar>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

using namespace pavix;
using testsupport::MainFixture;

namespace {

// A grid whose strip holds `columns` columns: the file area is sized for them.
void sizeForColumns(shell::MainWindow &m, int columns)
{
    // picScroll width = Lv width - 10 = IsbLeft - IsaLeft - 50; (cm - 0.42) x 0.567 columns.
    const double stripCm = (columns + 0.5) / 0.567 + 240.0 / 567;
    testsupport::setSplitter(m, &shell::SplitterState::treeSplitterLeft, 1000);
    testsupport::setSplitter(m, &shell::SplitterState::previewSplitterLeft,
                             static_cast<std::int32_t>(1000 + 50 + stripCm * 567));
    m.resizeToOuter(std::max(9000.0, m.splitters().previewSplitterLeft + 2000.0), 7500);
    testsupport::setSplitter(m, &shell::SplitterState::treeSplitterLeft, 1000);
    testsupport::setSplitter(m, &shell::SplitterState::previewSplitterLeft,
                             static_cast<std::int32_t>(1000 + 50 + stripCm * 567));
    m.sizeControls();
}

QString statusText(const shell::MainWindow &m)
{
    return m.statusWindow() ? m.statusWindow()->shownText() : QStringLiteral("<none>");
}

void pressThumb(shell::MainWindow &m, int i, Qt::MouseButton button = Qt::LeftButton)
{
    MainFixture::press(m.thumbStrip(), m.thumbStrip()->elementRect(i).center(), button);
}

void key(shell::MainWindow &m, int vk)
{
    m.thumbGrid()->handleKey(vk);
}

int selectedThumb(const shell::MainWindow &m)
{
    const int sel = m.list()->selectedItem();
    return sel > 0 ? m.list()->addedPosition(sel) - 1 : -1;
}

} // namespace

TEST(ThumbGrid, BuildPlacesEveryFileInOrderAndShowsUnreadableCells)
{
    MainFixture f;
    const QString folder = f.folderWith(QStringLiteral("mixed"),
                                        {"good/hopper.bmp", "bad/empty.jpg", "good/transparent.gif", "good/pal8.bmp",
                                         "bad/progressive-49157x27397-613B.jpg", "good/python.ico", "good/rgb24.bmp"});
    f.start(folder);
    shell::MainWindow &m = *f.main;
    sizeForColumns(m, 3);
    testsupport::item(m, QStringLiteral("refreshItem"))->trigger();

    ASSERT_EQ(m.browser().files().listCount(), 7);
    ASSERT_EQ(m.thumbStrip()->elementCount(), 7);
    EXPECT_EQ(m.thumbGrid()->lastColumn(), 2);
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(m.thumbStrip()->elementPosition(i), QPoint((i % 3) * 1000, (i / 3) * 1000)) << i;
        EXPECT_TRUE(m.thumbStrip()->elementVisible(i));
    }
    // The cells of the two unreadable files are the drawn "cannot be read" cell, never a
    // neighbour's picture.
    const QImage unreadable = platform::unreadableCell(m.thumbStrip()->elementPicture(0).size());
    for (int i = 0; i < 7; ++i) {
        const bool bad = m.browser().files().list(i) == QStringLiteral("empty.jpg")
                         || m.browser().files().list(i).startsWith(QStringLiteral("progressive"));
        EXPECT_EQ(m.thumbStrip()->elementPicture(i) == unreadable, bad) << qPrintable(m.browser().files().list(i));
    }
    EXPECT_FALSE(m.progressBar()->isVisible());
    EXPECT_TRUE(m.imagesLabel()->isVisible());
    EXPECT_TRUE(m.browser().picture().isNull());

    // Fewer pictures next time: the surplus elements go.
    m.folderTree()->setSelectedFolder(f.folderWith(QStringLiteral("two"), {"good/hopper.bmp", "good/pal1.bmp"}));
    EXPECT_EQ(m.thumbStrip()->elementCount(), 2);
}

TEST(ThumbGrid, RowLimitStopsTheBuildWithItsMessage)
{
    MainFixture f;
    f.start(f.folderOfCopies(QStringLiteral("many"), QStringLiteral("good/pal1.bmp"), 246));
    shell::MainWindow &m = *f.main;
    testsupport::BoxAnswerer boxes;
    const QStringList &messages = boxes.texts();
    sizeForColumns(m, 1);
    testsupport::item(m, QStringLiteral("refreshItem"))->trigger();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages[0], QStringLiteral("Please increase the Thumbnailers' size and press F5 to show "
                                          "the thumbnails. "));
    EXPECT_EQ(boxes.boxes()[0].icon, QMessageBox::Information);
    EXPECT_EQ(boxes.boxes()[0].title, QStringLiteral("Pavix"));
    EXPECT_EQ(m.thumbStrip()->elementCount(), 1);
    EXPECT_FALSE(m.thumbStrip()->elementVisible(0));
    EXPECT_FALSE(m.thumbScrollBar()->isVisible());
    EXPECT_FALSE(m.progressBar()->isVisible());
    EXPECT_TRUE(m.imagesLabel()->isVisible());

    // 245 rows of one column still build, with the scroll bar.
    QFile::remove(m.browser().files().path() + QStringLiteral("/p245.bmp"));
    testsupport::item(m, QStringLiteral("refreshItem"))->trigger();
    EXPECT_EQ(messages.size(), 1);
    EXPECT_EQ(m.thumbStrip()->elementCount(), 245);
    EXPECT_TRUE(m.thumbScrollBar()->isVisibleTo(m.thumbArea()));
    // Page Down scrolls one large step (7 cm), moving the strip; the selection stays.
    pressThumb(m, 0);
    key(m, common::VkNext);
    EXPECT_EQ(m.thumbScrollBar()->value(), 7);
    EXPECT_EQ(m.thumbStrip()->y(), -static_cast<int>(std::lround(7 * 567 / m.twipsPerPixel())));
    EXPECT_EQ(selectedThumb(m), 0);
    key(m, common::VkNext);
    key(m, common::VkPrior);
    EXPECT_EQ(m.thumbScrollBar()->value(), 7);
    key(m, common::VkPrior);
    EXPECT_EQ(m.thumbScrollBar()->value(), 0);
    // Near the end Page Down goes to the maximum.
    m.thumbScrollBar()->setValue(m.thumbScrollBar()->maximum() - 7);
    key(m, common::VkNext);
    EXPECT_EQ(m.thumbScrollBar()->value(), m.thumbScrollBar()->maximum());
}

TEST(ThumbGrid, KeysWalkTheGridAndPagesScrollIt)
{
    MainFixture f;
    f.start(f.folderOfCopies(QStringLiteral("seven"), QStringLiteral("good/pal4.bmp"), 7));
    shell::MainWindow &m = *f.main;
    sizeForColumns(m, 3);
    testsupport::item(m, QStringLiteral("refreshItem"))->trigger();
    ASSERT_EQ(m.thumbGrid()->lastColumn(), 2);

    // No marker: every key is ignored.
    key(m, common::VkDown);
    EXPECT_EQ(selectedThumb(m), -1);

    pressThumb(m, 3);
    EXPECT_TRUE(m.thumbStrip()->markerVisible());
    EXPECT_EQ(m.browser().currentFile(), QStringLiteral("p003.bmp"));
    EXPECT_EQ(selectedThumb(m), 3);
    key(m, common::VkDown);
    EXPECT_EQ(selectedThumb(m), 6);
    EXPECT_EQ(m.thumbStrip()->markerPosition(), QPoint(0, 2000));
    key(m, common::VkRight); // the last thumbnail: nothing
    EXPECT_EQ(selectedThumb(m), 6);
    pressThumb(m, 4);
    key(m, common::VkDown); // 4 < 7 - 3 is false
    EXPECT_EQ(selectedThumb(m), 4);
    pressThumb(m, 2);
    key(m, common::VkUp);
    EXPECT_EQ(selectedThumb(m), 2);
    key(m, common::VkRight);
    EXPECT_EQ(selectedThumb(m), 3);
    key(m, common::VkLeft);
    EXPECT_EQ(selectedThumb(m), 2);
    key(m, common::VkDown);
    EXPECT_EQ(selectedThumb(m), 5);
    EXPECT_EQ(m.browser().currentFile(), QStringLiteral("p005.bmp"));
    EXPECT_EQ(m.list()->itemText(m.list()->selectedItem()), QStringLiteral("p005.bmp"));

    // The whole grid fits: the page keys leave the strip at the top.
    key(m, common::VkNext);
    EXPECT_EQ(m.thumbScrollBar()->value(), 0);
    EXPECT_EQ(selectedThumb(m), 5);
}

TEST(ThumbGrid, PressesSelectClearAndOfferTheirMenus)
{
    MainFixture f;
    f.start(f.folderWith(QStringLiteral("p"), {"good/hopper.bmp", "good/pal8.bmp", "bad/empty.bmp"}));
    shell::MainWindow &m = *f.main;
    testsupport::item(m, QStringLiteral("refreshItem"))->trigger();

    // A right press while nothing is selected makes the file current and shows no menu.
    pressThumb(m, 1, Qt::RightButton);
    EXPECT_EQ(m.browser().currentFile(), m.browser().files().list(1));
    EXPECT_FALSE(m.thumbStrip()->markerVisible());

    // A left press selects: preview, status and list follow.
    const int hopper = m.browser().files().names().indexOf(QStringLiteral("hopper.bmp"));
    pressThumb(m, hopper);
    EXPECT_TRUE(m.thumbStrip()->markerVisible());
    EXPECT_EQ(m.thumbStrip()->markerPosition(), m.thumbStrip()->elementPosition(hopper));
    EXPECT_TRUE(m.previewImage()->isVisible());
    EXPECT_EQ(m.browser().pictureSizeTwips().width(), 128 * m.twipsPerPixel());
    EXPECT_TRUE(statusText(m).startsWith(QStringLiteral("File: hopper.bmp | Dim: 128x128 | Size: ")));
    EXPECT_EQ(m.list()->itemText(m.list()->selectedItem()), QStringLiteral("hopper.bmp"));

    // An unreadable file leaves nothing of the previous picture behind; the marker stands
    // on its "cannot be read" cell.
    const int bad = m.browser().files().names().indexOf(QStringLiteral("empty.bmp"));
    pressThumb(m, bad);
    EXPECT_TRUE(m.browser().currentFile().isEmpty());
    EXPECT_TRUE(m.thumbStrip()->markerVisible());
    EXPECT_EQ(m.thumbStrip()->markerPosition(), m.thumbStrip()->elementPosition(bad));
    EXPECT_FALSE(m.previewImage()->isVisible());
    EXPECT_TRUE(m.browser().picture().isNull());
    EXPECT_TRUE(statusText(m).contains(QStringLiteral("empty.bmp")));
    EXPECT_TRUE(statusText(m).contains(QStringLiteral("cannot be read")));

    // A left press on empty space clears the selection and invites a click.
    pressThumb(m, hopper);
    MainFixture::press(m.thumbStrip(), QPoint(m.thumbStrip()->width() - 2, m.thumbStrip()->height() - 2));
    EXPECT_TRUE(m.browser().currentFile().isEmpty());
    EXPECT_EQ(m.list()->selectedItem(), 0);
    EXPECT_FALSE(m.previewImage()->isVisible());
    EXPECT_FALSE(m.thumbStrip()->markerVisible());
    EXPECT_EQ(statusText(m), browser::clickHint());
    EXPECT_FALSE(m.listInteraction()->hintShown());
}

TEST(ThumbGrid, ListClicksMoveTheMarkerToTheSameFileAfterSorting)
{
    MainFixture f;
    f.start(f.folderWith(QStringLiteral("p"), {"good/hopper.bmp", "good/pal8.bmp", "good/rgb24.bmp"}));
    shell::MainWindow &m = *f.main;
    testsupport::item(m, QStringLiteral("refreshItem"))->trigger();
    // Sorted by name, descending: the list's order is no longer the grid's.
    m.list()->setSortKey(0);
    m.list()->setSortOrder(1);
    m.list()->setSorted(true);
    ASSERT_EQ(m.list()->itemText(1), QStringLiteral("rgb24.bmp"));

    m.list()->setSelectedItem(1);
    emit m.list()->itemClick(1);
    EXPECT_EQ(m.browser().currentFile(), QStringLiteral("rgb24.bmp"));
    const int thumb = m.browser().files().names().indexOf(QStringLiteral("rgb24.bmp"));
    EXPECT_EQ(m.thumbStrip()->markerPosition(), m.thumbStrip()->elementPosition(thumb));
    EXPECT_TRUE(m.thumbStrip()->markerVisible());
    // And the arrow keys go on from that thumbnail.
    m.thumbGrid()->handleKey(common::VkLeft);
    EXPECT_EQ(m.browser().currentFile(), m.browser().files().list(thumb - 1));
}

TEST(ThumbGrid, KeysWalkOnPastAnUnreadableFileAndItsMessageStays)
{
    MainFixture f;
    // In name order: a.bmp, b.bmp (unreadable), c.bmp, d.bmp.
    const QString folder = f.folderWith(QStringLiteral("walk"), {});
    for (const auto &[source, name] : {std::pair{"good/pal8.bmp", "a.bmp"},
                                       {"bad/badbitcount.bmp", "b.bmp"},
                                       {"good/hopper.bmp", "c.bmp"},
                                       {"good/rgb24.bmp", "d.bmp"}})
        ASSERT_TRUE(QFile::copy(testsupport::corpusPath(QString::fromUtf8(source)),
                                folder + u'/' + QString::fromUtf8(name)));
    f.start(folder);
    shell::MainWindow &m = *f.main;
    sizeForColumns(m, 4);
    testsupport::item(m, QStringLiteral("refreshItem"))->trigger();
    listview::ListInteraction &li = *m.listInteraction();

    // The hover hint's timer runs while the pointer is away from the list.
    emit m.list()->mouseMove(0, 0, 10, 10);
    ASSERT_TRUE(li.hintTimer()->isActive());
    QCursor::setPos(m.mapToGlobal(QPoint(-500, -500)));

    pressThumb(m, 0);
    key(m, common::VkRight);
    EXPECT_TRUE(m.browser().currentFile().isEmpty());
    EXPECT_TRUE(m.thumbStrip()->markerVisible());
    EXPECT_EQ(m.thumbStrip()->markerPosition(), m.thumbStrip()->elementPosition(1));
    EXPECT_EQ(selectedThumb(m), 1);
    EXPECT_FALSE(m.previewImage()->isVisible());
    const QString message = statusText(m);
    EXPECT_TRUE(message.contains(QStringLiteral("b.bmp")) && message.contains(QStringLiteral("cannot be read")))
        << qPrintable(message);
    // The timer's next tick stops it (nothing is selected, the pointer is away) and takes
    // away only its own hint, not this message.
    EXPECT_TRUE(QTest::qWaitFor([&] { return !li.hintTimer()->isActive(); }, 2000));
    EXPECT_EQ(statusText(m), message);

    // The keys carry on from the unreadable cell, both ways.
    key(m, common::VkRight);
    EXPECT_EQ(m.browser().currentFile(), QStringLiteral("c.bmp"));
    EXPECT_TRUE(m.previewImage()->isVisible());
    key(m, common::VkLeft);
    EXPECT_EQ(selectedThumb(m), 1);
    key(m, common::VkLeft);
    EXPECT_EQ(m.browser().currentFile(), QStringLiteral("a.bmp"));
}

TEST(ThumbGrid, AFolderSeenBeforeIsBuiltFromTheSharedThumbnailCache)
{
    MainFixture f;
    const QString folder = f.folderWith(QStringLiteral("photos"), {});
    for (int i = 0; i < 4; ++i)
        testsupport::writePhoto(folder + QStringLiteral("/photo %1.jpg").arg(i), QSize(1200, 900), 70 + quint32(i));
    f.start(folder);
    shell::MainWindow &m = *f.main;
    sizeForColumns(m, 4);
    testsupport::item(m, QStringLiteral("refreshItem"))->trigger();
    ASSERT_EQ(m.thumbStrip()->elementCount(), 4);
    std::vector<QImage> first;
    for (int i = 0; i < 4; ++i) {
        first.push_back(m.thumbStrip()->elementPicture(i));
        // Where the desktop's other programs look for it.
        const QByteArray uri = thumbcache::fileUri(QFile::encodeName(folder + u'/' + m.browser().files().list(i)));
        EXPECT_TRUE(QFileInfo::exists(qEnvironmentVariable("XDG_CACHE_HOME") + QStringLiteral("/thumbnails/normal/")
                                      + thumbcache::thumbnailFileName(uri)));
    }

    // Photo 1 spoilt behind its date and length: the grid, built from the cache, still shows
    // it; the preview reads the file itself and cannot.
    const QString spoilt = folder + u'/' + m.browser().files().list(1);
    const QDateTime mtime = QFileInfo(spoilt).lastModified();
    QFile file(spoilt);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite) && file.write(QByteArray(file.size(), 'x')) > 0);
    ASSERT_TRUE(file.setFileTime(mtime, QFileDevice::FileModificationTime));
    file.close();
    testsupport::item(m, QStringLiteral("refreshItem"))->trigger();
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(m.thumbStrip()->elementPicture(i), first[size_t(i)]) << "cell " << i;
    pressThumb(m, 1);
    EXPECT_TRUE(m.browser().picture().isNull());
    EXPECT_TRUE(statusText(m).contains(QStringLiteral("cannot be read"))) << qPrintable(statusText(m));
}
