// The thumbnail grid of the real main window: its build, the marker, the keys and the
// selection shared with the list (offscreen).
#include "support/mainfixture.h"

#include "catalogue/listinteraction.h"
#include "common/keys.h"
#include "shell/foldertree.h"
#include "platform/pictureservice.h"
#include "platform/qtlistview.h"
#include "preview/stretchimage.h"
#include "shell/statuswindow.h"
#include "thumbs/gridgeometry.h"
#include "thumbs/thumbgrid.h"
#include "thumbs/thumbstrip.h"

#include <QCursor>
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
    m.IsaLeft = 1000;
    m.IsbLeft = static_cast<std::int32_t>(1000 + 50 + stripCm * 567);
    m.resizeToOuter(std::max(9000.0, m.IsbLeft + 2000.0), 7500);
    m.IsaLeft = 1000;
    m.IsbLeft = static_cast<std::int32_t>(1000 + 50 + stripCm * 567);
    m.SizeControls();
}

QString statusText(const shell::MainWindow &m)
{
    return m.hStatusBar ? m.hStatusBar->shownText() : QStringLiteral("<none>");
}

void pressThumb(shell::MainWindow &m, int i, Qt::MouseButton button = Qt::LeftButton)
{
    MainFixture::press(m.picScroll, m.picScroll->elementRect(i).center(), button);
}

void key(shell::MainWindow &m, int vk)
{
    m.thumbGrid->picScroll_KeyDown(vk, 0);
}

int selectedThumb(const shell::MainWindow &m)
{
    const int sel = m.Lv->selectedItem();
    return sel > 0 ? m.Lv->addedPosition(sel) - 1 : -1;
}

} // namespace

TEST(ThumbGrid, BuildPlacesEveryFileInOrderAndShowsUnreadableCells)
{
    MainFixture f;
    const QString folder = f.folderWith(QStringLiteral("mixed"),
                                        {"good/hopper.bmp", "bad/empty.jpg", "good/transparent.gif",
                                         "good/pal8.bmp", "bad/progressive-49157x27397-613B.jpg",
                                         "good/python.ico", "good/rgb24.bmp"});
    f.start(folder);
    shell::MainWindow &m = *f.main;
    sizeForColumns(m, 3);
    m.mnuViewRefresh->trigger();

    ASSERT_EQ(m.Files.listCount(), 7);
    ASSERT_EQ(m.picScroll->elementCount(), 7);
    EXPECT_EQ(m.thumbGrid->LastCol(), 2);
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(m.picScroll->elementPosition(i), QPoint((i % 3) * 1000, (i / 3) * 1000)) << i;
        EXPECT_TRUE(m.picScroll->elementVisible(i));
    }
    // The cells of the two unreadable files are the drawn "cannot be read" cell, never a
    // neighbour's picture.
    const QImage unreadable = platform::unreadableCell(m.picScroll->elementPicture(0).size());
    for (int i = 0; i < 7; ++i) {
        const bool bad = m.Files.list(i) == QStringLiteral("empty.jpg")
                         || m.Files.list(i).startsWith(QStringLiteral("progressive"));
        EXPECT_EQ(m.picScroll->elementPicture(i) == unreadable, bad) << qPrintable(m.Files.list(i));
    }
    EXPECT_FALSE(m.proBar->isVisible());
    EXPECT_TRUE(m.lblImg->isVisible());
    EXPECT_TRUE(m.imgFake.isNull());

    // Fewer pictures next time: the surplus elements go.
    m.Tv->setSelectedFolder(f.folderWith(QStringLiteral("two"), {"good/hopper.bmp", "good/pal1.bmp"}));
    EXPECT_EQ(m.picScroll->elementCount(), 2);
}

TEST(ThumbGrid, RowLimitStopsTheBuildWithItsMessage)
{
    MainFixture f;
    f.start(f.folderOfCopies(QStringLiteral("many"), QStringLiteral("good/pal1.bmp"), 246));
    shell::MainWindow &m = *f.main;
    QStringList messages;
    m.thumbGrid->showMessage = [&](const QString &text) { messages << text; };
    sizeForColumns(m, 1);
    m.mnuViewRefresh->trigger();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages[0], QStringLiteral("Please increase the Thumbnailers' size and press F5 to show "
                                          "the thumbnails. "));
    EXPECT_EQ(m.picScroll->elementCount(), 1);
    EXPECT_FALSE(m.picScroll->elementVisible(0));
    EXPECT_FALSE(m.VScroll1->isVisible());
    EXPECT_FALSE(m.proBar->isVisible());
    EXPECT_TRUE(m.lblImg->isVisible());

    // 245 rows of one column still build, with the scroll bar.
    QFile::remove(m.Files.path() + QStringLiteral("/p245.bmp"));
    m.mnuViewRefresh->trigger();
    EXPECT_EQ(messages.size(), 1);
    EXPECT_EQ(m.picScroll->elementCount(), 245);
    EXPECT_TRUE(m.VScroll1->isVisibleTo(m.picBase));
    // Page Down scrolls one large step (7 cm), moving the strip; the selection stays.
    pressThumb(m, 0);
    key(m, common::VkNext);
    EXPECT_EQ(m.VScroll1->value(), 7);
    EXPECT_EQ(m.picScroll->y(), -static_cast<int>(std::lround(7 * 567 / m.twipsPerPixel())));
    EXPECT_EQ(selectedThumb(m), 0);
    key(m, common::VkNext);
    key(m, common::VkPrior);
    EXPECT_EQ(m.VScroll1->value(), 7);
    key(m, common::VkPrior);
    EXPECT_EQ(m.VScroll1->value(), 0);
    // Near the end Page Down goes to the maximum.
    m.VScroll1->setValue(m.VScroll1->maximum() - 7);
    key(m, common::VkNext);
    EXPECT_EQ(m.VScroll1->value(), m.VScroll1->maximum());
}

TEST(ThumbGrid, KeysWalkTheGridAndPagesScrollIt)
{
    MainFixture f;
    f.start(f.folderOfCopies(QStringLiteral("seven"), QStringLiteral("good/pal4.bmp"), 7));
    shell::MainWindow &m = *f.main;
    sizeForColumns(m, 3);
    m.mnuViewRefresh->trigger();
    ASSERT_EQ(m.thumbGrid->LastCol(), 2);

    // No marker: every key is ignored.
    key(m, common::VkDown);
    EXPECT_EQ(selectedThumb(m), -1);

    pressThumb(m, 3);
    EXPECT_TRUE(m.picScroll->markerVisible());
    EXPECT_EQ(m.CurFile, QStringLiteral("p003.bmp"));
    EXPECT_EQ(selectedThumb(m), 3);
    key(m, common::VkDown);
    EXPECT_EQ(selectedThumb(m), 6);
    EXPECT_EQ(m.picScroll->markerPosition(), QPoint(0, 2000));
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
    EXPECT_EQ(m.CurFile, QStringLiteral("p005.bmp"));
    EXPECT_EQ(m.Lv->itemText(m.Lv->selectedItem()), QStringLiteral("p005.bmp"));

    // The whole grid fits: the page keys leave the strip at the top.
    key(m, common::VkNext);
    EXPECT_EQ(m.VScroll1->value(), 0);
    EXPECT_EQ(selectedThumb(m), 5);
}

TEST(ThumbGrid, PressesSelectClearAndOfferTheirMenus)
{
    MainFixture f;
    f.start(f.folderWith(QStringLiteral("p"), {"good/hopper.bmp", "good/pal8.bmp", "bad/empty.bmp"}));
    shell::MainWindow &m = *f.main;
    m.mnuViewRefresh->trigger();

    // A right press while nothing is selected makes the file current and shows no menu.
    pressThumb(m, 1, Qt::RightButton);
    EXPECT_EQ(m.CurFile, m.Files.list(1));
    EXPECT_FALSE(m.picScroll->markerVisible());

    // A left press selects: preview, status and list follow.
    const int hopper = m.Files.names().indexOf(QStringLiteral("hopper.bmp"));
    pressThumb(m, hopper);
    EXPECT_TRUE(m.picScroll->markerVisible());
    EXPECT_EQ(m.picScroll->markerPosition(), m.picScroll->elementPosition(hopper));
    EXPECT_TRUE(m.Primg->isVisible());
    EXPECT_EQ(m.ImgWidth, 128 * m.twipsPerPixel());
    EXPECT_TRUE(statusText(m).startsWith(QStringLiteral("File: hopper.bmp | Dim: 128x128 | Size: ")));
    EXPECT_EQ(m.Lv->itemText(m.Lv->selectedItem()), QStringLiteral("hopper.bmp"));

    // An unreadable file leaves nothing of the previous picture behind; the marker stands
    // on its "cannot be read" cell.
    const int bad = m.Files.names().indexOf(QStringLiteral("empty.bmp"));
    pressThumb(m, bad);
    EXPECT_TRUE(m.CurFile.isEmpty());
    EXPECT_TRUE(m.picScroll->markerVisible());
    EXPECT_EQ(m.picScroll->markerPosition(), m.picScroll->elementPosition(bad));
    EXPECT_FALSE(m.Primg->isVisible());
    EXPECT_TRUE(m.imgFake.isNull());
    EXPECT_TRUE(statusText(m).contains(QStringLiteral("empty.bmp")));
    EXPECT_TRUE(statusText(m).contains(QStringLiteral("cannot be read")));

    // A left press on empty space clears the selection and invites a click.
    pressThumb(m, hopper);
    MainFixture::press(m.picScroll, QPoint(m.picScroll->width() - 2, m.picScroll->height() - 2));
    EXPECT_TRUE(m.CurFile.isEmpty());
    EXPECT_EQ(m.Lv->selectedItem(), 0);
    EXPECT_FALSE(m.Primg->isVisible());
    EXPECT_FALSE(m.picScroll->markerVisible());
    EXPECT_EQ(statusText(m), shell::ClickHint);
    EXPECT_FALSE(m.listInteraction->HintShown);
}

TEST(ThumbGrid, ListClicksMoveTheMarkerToTheSameFileAfterSorting)
{
    MainFixture f;
    f.start(f.folderWith(QStringLiteral("p"), {"good/hopper.bmp", "good/pal8.bmp", "good/rgb24.bmp"}));
    shell::MainWindow &m = *f.main;
    m.mnuViewRefresh->trigger();
    // Sorted by name, descending: the list's order is no longer the grid's.
    m.Lv->setSortKey(0);
    m.Lv->setSortOrder(1);
    m.Lv->setSorted(true);
    ASSERT_EQ(m.Lv->itemText(1), QStringLiteral("rgb24.bmp"));

    m.Lv->setSelectedItem(1);
    emit m.Lv->itemClick(1);
    EXPECT_EQ(m.CurFile, QStringLiteral("rgb24.bmp"));
    const int thumb = m.Files.names().indexOf(QStringLiteral("rgb24.bmp"));
    EXPECT_EQ(m.picScroll->markerPosition(), m.picScroll->elementPosition(thumb));
    EXPECT_TRUE(m.picScroll->markerVisible());
    // And the arrow keys go on from that thumbnail.
    m.thumbGrid->picScroll_KeyDown(common::VkLeft, 0);
    EXPECT_EQ(m.CurFile, m.Files.list(thumb - 1));
}

TEST(ThumbGrid, KeysWalkOnPastAnUnreadableFileAndItsMessageStays)
{
    MainFixture f;
    // In name order: a.bmp, b.bmp (unreadable), c.bmp, d.bmp.
    const QString folder = f.folderWith(QStringLiteral("walk"), {});
    for (const auto &[source, name] : {std::pair{"good/pal8.bmp", "a.bmp"}, {"bad/badbitcount.bmp", "b.bmp"},
                                       {"good/hopper.bmp", "c.bmp"}, {"good/rgb24.bmp", "d.bmp"}})
        ASSERT_TRUE(QFile::copy(testsupport::corpusPath(QString::fromUtf8(source)),
                                folder + u'/' + QString::fromUtf8(name)));
    f.start(folder);
    shell::MainWindow &m = *f.main;
    sizeForColumns(m, 4);
    m.mnuViewRefresh->trigger();
    catalogue::ListInteraction &li = *m.listInteraction;

    // The hover hint's timer runs while the pointer is away from the list.
    emit m.Lv->mouseMove(0, 0, 10, 10);
    ASSERT_TRUE(li.Timer1->isActive());
    QCursor::setPos(m.mapToGlobal(QPoint(-500, -500)));

    pressThumb(m, 0);
    key(m, common::VkRight);
    EXPECT_TRUE(m.CurFile.isEmpty());
    EXPECT_TRUE(m.picScroll->markerVisible());
    EXPECT_EQ(m.picScroll->markerPosition(), m.picScroll->elementPosition(1));
    EXPECT_EQ(selectedThumb(m), 1);
    EXPECT_FALSE(m.Primg->isVisible());
    const QString message = statusText(m);
    EXPECT_TRUE(message.contains(QStringLiteral("b.bmp")) && message.contains(QStringLiteral("cannot be read")))
        << qPrintable(message);
    // The timer's next tick stops it (nothing is selected, the pointer is away) and takes
    // away only its own hint, not this message.
    EXPECT_TRUE(QTest::qWaitFor([&] { return !li.Timer1->isActive(); }, 2000));
    EXPECT_EQ(statusText(m), message);

    // The keys carry on from the unreadable cell, both ways.
    key(m, common::VkRight);
    EXPECT_EQ(m.CurFile, QStringLiteral("c.bmp"));
    EXPECT_TRUE(m.Primg->isVisible());
    key(m, common::VkLeft);
    EXPECT_EQ(selectedThumb(m), 1);
    key(m, common::VkLeft);
    EXPECT_EQ(m.CurFile, QStringLiteral("a.bmp"));
}
