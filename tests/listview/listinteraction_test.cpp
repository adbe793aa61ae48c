// Clicks, keys and the hover hint of the list, and the preview pane they fill, on the real
// main window (offscreen).
#include "support/mainfixture.h"

#include "browser/browser.h"
#include "browser/texts.h"
#include "preview/tiledpreview.h"

#include "catalogue/filesize.h"
#include "common/keys.h"
#include "common/units.h"
#include "foldertree/foldertree.h"
#include "listview/listinteraction.h"
#include "listview/qtlistview.h"
#include "preview/previewfit.h"
#include "preview/previewpane.h"
#include "preview/stretchimage.h"
#include "shell/statuswindow.h"
#include "thumbs/thumbstrip.h"

#include <QCursor>
#include <QFileInfo>
#include <QMenu>
#include <QTest>
#include <QTimer>

using namespace pavix;
using testsupport::MainFixture;

namespace {

QString statusText(const shell::MainWindow &m)
{
    return m.statusWindow() ? m.statusWindow()->shownText() : QStringLiteral("<none>");
}

void click(shell::MainWindow &m, const QString &name)
{
    const int index = m.list()->findItem(name);
    ASSERT_GT(index, 0) << qPrintable(name);
    m.list()->setSelectedItem(index);
    emit m.list()->itemClick(index);
}

// Closes the pop-up menu that the next handler opens, once it is up.
void closeNextPopup()
{
    QTimer::singleShot(50, [] {
        if (QWidget *popup = QApplication::activePopupWidget())
            popup->close();
    });
}

bool tiledWindowOpen(const shell::MainWindow &m)
{
    return m.tiledPreview()->window() && m.tiledPreview()->window()->isVisible();
}

} // namespace

TEST(ListInteraction, ClickingAnEntryPreviewsItAndMarksItsThumbnail)
{
    MainFixture f;
    const QString folder = f.folderWith(QStringLiteral("p"),
                                        {"good/hopper.bmp", "good/pal8.bmp", "good/large_4032x3024.jpg"});
    f.start(folder);
    shell::MainWindow &m = *f.main;
    const double tpp = m.twipsPerPixel();
    // A preview pane wide enough for hopper's 1920 twips plus 200.
    m.resizeToOuter(12015, 7500);
    ASSERT_GE(m.controls().previewFrame.width, 128 * tpp + 200);

    click(m, QStringLiteral("hopper.bmp"));
    EXPECT_EQ(m.browser().currentFolder(), folder);
    EXPECT_EQ(m.browser().currentFile(), QStringLiteral("hopper.bmp"));
    EXPECT_EQ(m.browser().pictureSizeTwips().width(), 128 * tpp);
    EXPECT_EQ(m.browser().pictureSizeTwips().height(), 128 * tpp);
    // Natural size plus 60 twips, centred on the picture's own size.
    const shell::TwipRect &pv = m.controls().previewFrame;
    EXPECT_EQ(m.previewImage()->width(), common::twipsToPixels(128 * tpp + 60, tpp));
    EXPECT_EQ(m.previewImage()->x(), common::twipsToPixels(pv.left + (pv.width - 128 * tpp) / 2, tpp));
    EXPECT_TRUE(m.previewImage()->isVisible());
    EXPECT_EQ(m.previewImage()->picture().size(), QSize(128, 128));
    EXPECT_EQ(m.statusWindow()->partText(0), QStringLiteral("File: hopper.bmp"));
    EXPECT_EQ(m.statusWindow()->partText(1), QStringLiteral("Dim: 128x128"));
    EXPECT_EQ(
        m.statusWindow()->partText(2),
        QStringLiteral("Size: %1 bytes").arg(catalogue::formatFileSize(QFileInfo(folder + "/hopper.bmp").size())));
    const int q = m.centralWidget()->width() / 4;
    EXPECT_EQ(m.statusWindow()->parts(), (std::vector<int>{q, 2 * q, 3 * q, -1}));
    const int thumb = m.browser().files().names().indexOf(QStringLiteral("hopper.bmp"));
    EXPECT_TRUE(m.thumbStrip()->markerVisible());
    EXPECT_EQ(m.thumbStrip()->markerPosition(), m.thumbStrip()->elementPosition(thumb));

    // A camera-sized picture (wider than 32767 twips) is previewed, shrunk into the pane.
    click(m, QStringLiteral("large_4032x3024.jpg"));
    EXPECT_EQ(m.browser().pictureSizeTwips().width(), 4032 * tpp);
    EXPECT_EQ(m.statusWindow()->partText(1), QStringLiteral("Dim: 4032x3024"));
    EXPECT_EQ(m.previewImage()->width(), common::twipsToPixels(pv.width - 200, tpp));
    EXPECT_EQ(m.previewImage()->x(), common::twipsToPixels(pv.left + 100, tpp));

    // Following the layout: hiding the preview pane hides the image too.
    m.togglePreview();
    EXPECT_FALSE(m.previewImage()->isVisible());
    m.togglePreview();
    EXPECT_TRUE(m.previewImage()->isVisible());

    // Switching the status bar back on shows the file at once.
    m.toggleStatusBar();
    m.toggleStatusBar();
    ASSERT_NE(m.statusWindow(), nullptr);
    EXPECT_EQ(m.statusWindow()->partText(0), QStringLiteral("File: large_4032x3024.jpg"));
}

TEST(ListInteraction, AnUnreadableFileLeavesNoStaleSelection)
{
    MainFixture f;
    f.start(f.folderWith(QStringLiteral("p"),
                         {"good/hopper.bmp", "bad/badbitcount.bmp", "bad/progressive-49157x27397-613B.jpg"}));
    shell::MainWindow &m = *f.main;
    click(m, QStringLiteral("hopper.bmp"));
    ASSERT_TRUE(m.previewImage()->hasPicture());

    for (const QString &name :
         {QStringLiteral("badbitcount.bmp"), QStringLiteral("progressive-49157x27397-613B.jpg")}) {
        click(m, QStringLiteral("hopper.bmp"));
        click(m, name);
        EXPECT_TRUE(m.browser().currentFile().isEmpty()) << qPrintable(name);
        EXPECT_TRUE(m.browser().picture().isNull());
        EXPECT_FALSE(m.previewImage()->hasPicture());
        EXPECT_FALSE(m.previewImage()->isVisible());
        // The marker stands on the file's "cannot be read" cell.
        EXPECT_TRUE(m.thumbStrip()->markerVisible());
        EXPECT_EQ(m.thumbStrip()->markerPosition(),
                  m.thumbStrip()->elementPosition(m.browser().files().names().indexOf(name)));
        EXPECT_TRUE(statusText(m).contains(name)) << qPrintable(statusText(m));
        // Nothing is selected, so nothing opens the tiled window.
        emit m.list()->dblClick();
        EXPECT_FALSE(tiledWindowOpen(m));
    }
}

TEST(ListInteraction, EmptySpaceClicksAndTheHoverHint)
{
    MainFixture f;
    f.start(f.folderWith(QStringLiteral("p"), {"good/hopper.bmp", "good/pal8.bmp"}));
    shell::MainWindow &m = *f.main;
    listview::ListInteraction &li = *m.listInteraction();

    // With nothing selected, moving over the list shows the hint and starts the timer.
    emit m.list()->mouseMove(0, 0, 10, 10);
    EXPECT_TRUE(li.hintShown());
    EXPECT_EQ(statusText(m), browser::clickHint());
    EXPECT_TRUE(li.hintTimer()->isActive());
    // Once the pointer is outside the list the hint goes within about 100 ms.
    QCursor::setPos(m.mapToGlobal(QPoint(-500, -500)));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !li.hintShown(); }, 1000));
    EXPECT_EQ(statusText(m), QString());
    EXPECT_FALSE(li.hintTimer()->isActive());

    // With a file selected there is no hint.
    click(m, QStringLiteral("hopper.bmp"));
    emit m.list()->mouseMove(0, 0, 10, 10);
    EXPECT_FALSE(li.hintShown());

    // A right click on empty space only opens the menu.
    const int emptyY = static_cast<int>(m.list()->heightTwips()) - 30;
    const int emptyX = static_cast<int>(m.list()->widthTwips()) - 300;
    ASSERT_EQ(m.list()->hitTest(emptyX, emptyY), 0);
    closeNextPopup();
    emit m.list()->mouseDown(2, 0, emptyX, emptyY);
    EXPECT_EQ(m.browser().currentFile(), QStringLiteral("hopper.bmp"));
    EXPECT_TRUE(m.previewImage()->isVisible());

    // A left click there clears the selection and invites a click.
    emit m.list()->mouseDown(1, 0, emptyX, emptyY);
    EXPECT_TRUE(m.browser().currentFile().isEmpty());
    EXPECT_EQ(m.list()->selectedItem(), 0);
    EXPECT_FALSE(m.previewImage()->isVisible());
    EXPECT_TRUE(m.browser().picture().isNull());
    EXPECT_FALSE(m.thumbStrip()->markerVisible());
    EXPECT_EQ(statusText(m), browser::clickHint());
    EXPECT_FALSE(li.hintShown());
    EXPECT_EQ(m.browser().currentFolder(), m.browser().files().path());
}

TEST(ListInteraction, KeysAndDoubleClicksOpenTheTiledWindow)
{
    MainFixture f;
    f.start(f.folderWith(QStringLiteral("p"), {"good/hopper.bmp", "good/pal8.bmp"}));
    shell::MainWindow &m = *f.main;

    emit m.list()->keyDown(common::VkDown, 0);
    EXPECT_FALSE(tiledWindowOpen(m));

    click(m, QStringLiteral("pal8.bmp"));
    emit m.list()->keyDown(common::VkDown, 0);
    ASSERT_TRUE(tiledWindowOpen(m));
    QTest::keyClick(m.tiledPreview()->window(), Qt::Key_Escape);
    EXPECT_FALSE(tiledWindowOpen(m));

    emit m.list()->dblClick();
    EXPECT_TRUE(tiledWindowOpen(m));
    // A new folder closes it.
    m.folderTree()->setSelectedFolder(f.folderWith(QStringLiteral("q"), {"good/pal1.bmp"}));
    EXPECT_FALSE(tiledWindowOpen(m));

    // A click on the preview image opens it too.
    click(m, QStringLiteral("pal1.bmp"));
    MainFixture::press(m.previewImage(), QPoint(3, 3));
    EXPECT_TRUE(tiledWindowOpen(m));
}

TEST(ListInteraction, ATallPictureIsShownOnlyInsideThePane)
{
    MainFixture f;
    const QString folder = f.folderWith(QStringLiteral("p"), {"good/hopper.bmp"});
    QImage tall(100, 1500, QImage::Format_RGB32);
    tall.fill(qRgb(200, 40, 40));
    ASSERT_TRUE(tall.save(folder + QStringLiteral("/tall.jpg")));
    f.start(folder);
    shell::MainWindow &m = *f.main;
    m.resizeToOuter(9000, 6000);
    click(m, QStringLiteral("tall.jpg"));
    ASSERT_TRUE(m.previewImage()->isVisible());

    const double tpp = m.twipsPerPixel();
    const shell::TwipRect &pv = m.controls().previewFrame;
    const QRect pane(common::twipsToPixels(pv.left, tpp), common::twipsToPixels(pv.top, tpp),
                     common::twipsToPixels(pv.width, tpp), common::twipsToPixels(pv.height, tpp));
    // Narrow enough to show at its natural size, which is taller than the pane.
    ASSERT_FALSE(pane.contains(m.previewImage()->geometry()));
    const QRegion shown = (m.previewImage()->mask().isEmpty() ? QRegion(m.previewImage()->rect())
                                                              : m.previewImage()->mask())
                              .translated(m.previewImage()->pos());
    EXPECT_TRUE(pane.contains(shown.boundingRect()));
    EXPECT_FALSE(shown.isEmpty());

    // A picture that fits shows whole.
    click(m, QStringLiteral("hopper.bmp"));
    EXPECT_TRUE(m.previewImage()->mask().isEmpty());
    EXPECT_TRUE(pane.contains(m.previewImage()->geometry()));
}

TEST(ListInteraction, AnOpenTiledWindowRepaintsWhenTheSelectionChanges)
{
    MainFixture f;
    f.start(f.folderWith(QStringLiteral("p"), {"good/hopper.bmp", "good/pal8.bmp", "bad/empty.bmp"}));
    shell::MainWindow &m = *f.main;
    click(m, QStringLiteral("hopper.bmp"));
    emit m.list()->dblClick();
    ASSERT_TRUE(tiledWindowOpen(m));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(m.tiledPreview()->window()));

    // Counts the paints the window gets.
    struct PaintCounter : QObject {
        int paints = 0;
        bool eventFilter(QObject *, QEvent *event) override
        {
            paints += event->type() == QEvent::Paint;
            return false;
        }
    } counter;
    m.tiledPreview()->window()->installEventFilter(&counter);
    QApplication::processEvents();
    counter.paints = 0;

    click(m, QStringLiteral("pal8.bmp"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return counter.paints > 0; }, 2000));
    // An unreadable file empties the picture: the window is painted again (and hides).
    counter.paints = 0;
    click(m, QStringLiteral("empty.bmp"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return counter.paints > 0 || !tiledWindowOpen(m); }, 2000));
    if (m.tiledPreview()->window())
        m.tiledPreview()->window()->removeEventFilter(&counter);
}
