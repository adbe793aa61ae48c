// The picture-type options on the real main window (offscreen): OK stores the choice,
// rescans the listed folder and refuses to leave no type.
#include "support/boxanswerer.h"
#include "support/mainfixture.h"
#include "support/printers.h"

#include "browser/browser.h"
#include "browser/texts.h"
#include "preview/tiledpreview.h"
#include "catalogue/typepatterns.h"
#include "listview/qtlistview.h"
#include "options/optionsdialog.h"
#include "preview/stretchimage.h"
#include "shell/elidedlabel.h"
#include "shell/statuswindow.h"
#include "thumbs/thumbstrip.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "support/mainparts.h"

using namespace pavix;
using testsupport::MainFixture;

namespace {

QString statusText(const shell::MainWindow &m)
{
    return m.statusWindow() ? m.statusWindow()->shownText() : QStringLiteral("<none>");
}

// Ticks exactly the boxes given (0 bitmap, 1 JPEG, 2 GIF, 3 icon) and presses OK.
void choose(options::OptionsDialog *dialog, std::initializer_list<int> ticked)
{
    for (int type = 0; type < 4; ++type)
        dialog->typeBox(type)->setChecked(std::find(ticked.begin(), ticked.end(), type) != ticked.end());
    QTest::mouseClick(dialog->okButton(), Qt::LeftButton);
}

} // namespace

TEST(OptionsDialog, NoTypeTickedIsRefusedAndChangesNothing)
{
    MainFixture f;
    f.start(f.folderWith(QStringLiteral("p"), {"good/hopper.bmp", "good/hopper.gif"}));
    shell::MainWindow &m = *f.main;
    options::OptionsDialog *dialog = m.optionsDialog();
    testsupport::BoxAnswerer boxes;
    dialog->showCentred(false); // F3: not modal
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_FALSE(dialog->isModal());
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Options"));

    const auto before = f.store.values();
    choose(dialog, {});
    EXPECT_EQ(boxes.texts(), QStringList{options::NoTypeMessage});
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(f.store.values(), before);
    EXPECT_EQ(m.list()->count(), 2);

    // One box ticked again: applied.
    choose(dialog, {0});
    EXPECT_EQ(boxes.texts().size(), 1);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(m.list()->count(), 1);
}

TEST(OptionsDialog, GifOnlyIsStoredAndTheFolderIsScannedAgainWithIt)
{
    MainFixture f;
    const QString folder = f.folderWith(QStringLiteral("p"), {"good/hopper.bmp", "good/hopper.gif", "good/fire.gif",
                                                              "good/smile.ico"});
    f.start(folder);
    shell::MainWindow &m = *f.main;
    // A picture selected and the tiled window open before the change.
    m.list()->setSelectedItem(m.list()->findItem(QStringLiteral("hopper.bmp")));
    emit m.list()->itemClick(m.list()->selectedItem());
    ASSERT_TRUE(m.previewImage()->isVisible());
    emit m.list()->dblClick();
    ASSERT_TRUE(m.tiledPreview()->isShown());

    m.optionsDialog()->showCentred(false);
    choose(m.optionsDialog(), {2});

    const QString type = QStringLiteral("Type");
    EXPECT_EQ(f.store.read(type, QStringLiteral("Bitmap")), QStringLiteral("&;"));
    EXPECT_EQ(f.store.read(type, QStringLiteral("Jpg")), QStringLiteral("&;"));
    EXPECT_EQ(f.store.read(type, QStringLiteral("Gif")), QStringLiteral("*.gif;"));
    EXPECT_EQ(f.store.read(type, QStringLiteral("Ico")), QStringLiteral("&;"));
    EXPECT_EQ(m.browser().files().pattern(), QStringLiteral("&;&;*.gif;&;*.###"));
    EXPECT_EQ(m.typesLabel()->fullText(), QStringLiteral("Searching for *.gif  files."));
    // The same folder, its GIFs listed and in the grid, the preview emptied.
    EXPECT_EQ(m.browser().folder(), folder);
    EXPECT_EQ(m.list()->count(), 2);
    EXPECT_EQ(m.thumbStrip()->elementCount(), 2);
    EXPECT_EQ(m.imagesLabel()->text(), QStringLiteral("Images : 2"));
    EXPECT_FALSE(m.previewImage()->isVisible());
    EXPECT_TRUE(m.browser().picture().isNull());
    EXPECT_EQ(statusText(m), browser::ClickHint);
    // The current file's name stays; an open tiled window stays loaded.
    EXPECT_EQ(m.browser().currentFile(), QStringLiteral("hopper.bmp"));
    EXPECT_NE(m.tiledPreview()->window(), nullptr);
}

TEST(OptionsDialog, OkWithoutAChangeStillRescansAndAFolderWithoutThoseTypesSaysSo)
{
    MainFixture f;
    f.start(f.folderWith(QStringLiteral("p"), {"good/hopper.bmp", "good/pal8.bmp"}));
    shell::MainWindow &m = *f.main;
    m.list()->setSelectedItem(1);
    emit m.list()->itemClick(1);
    ASSERT_TRUE(m.previewImage()->hasPicture());

    m.optionsDialog()->showCentred(false);
    QTest::mouseClick(m.optionsDialog()->okButton(), Qt::LeftButton);
    EXPECT_EQ(m.list()->count(), 2);
    EXPECT_FALSE(m.previewImage()->hasPicture());

    // Only icons, in a folder of bitmaps.
    m.optionsDialog()->showCentred(false);
    choose(m.optionsDialog(), {3});
    EXPECT_EQ(m.list()->count(), 0);
    EXPECT_EQ(m.imagesLabel()->text(), QStringLiteral("Images :"));
    EXPECT_EQ(statusText(m), browser::NoImagesMessage);
    EXPECT_FALSE(m.thumbStrip()->elementVisible(0));
}

TEST(OptionsDialog, TheMenuAndTheToolBarOpenItModalF3Not)
{
    MainFixture f;
    f.start(f.folderWith(QStringLiteral("p"), {"good/hopper.bmp"}));
    shell::MainWindow &m = *f.main;
    options::OptionsDialog *dialog = m.optionsDialog();
    int modalShows = 0;
    auto answerWhenUp = [&] {
        QTimer::singleShot(50, [&] {
            if (dialog->isVisible() && dialog->isModal())
                ++modalShows;
            QTest::mouseClick(dialog->okButton(), Qt::LeftButton);
        });
    };
    answerWhenUp();
    m.menuItem(QStringLiteral("optionsItem"))->trigger(); // returns once OK hid it
    answerWhenUp();
    testsupport::toolAction(m, QStringLiteral("Options"))->trigger();
    EXPECT_EQ(modalShows, 2);
    EXPECT_FALSE(dialog->isVisible());

    m.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&m));
    QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : &m, Qt::Key_F3);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_FALSE(dialog->isModal());
    dialog->hide();
}

TEST(OptionsDialog, ClosedWithoutOkItOpensAgainWithTheTypesInForce)
{
    MainFixture f;
    f.start(f.folderWith(QStringLiteral("p"), {"good/hopper.bmp", "good/hopper.jpg"}));
    shell::MainWindow &m = *f.main;
    options::OptionsDialog *dialog = m.optionsDialog();
    choose(dialog, {0, 1});
    ASSERT_EQ(m.list()->count(), 2);

    // Jpg unticked, then the window closed (its close button) or Esc pressed: nothing applied.
    for (const bool byEsc : {false, true}) {
        dialog->showCentred(false);
        dialog->typeBox(1)->setChecked(false);
        if (byEsc)
            QTest::keyClick(dialog, Qt::Key_Escape);
        else
            dialog->close();
        EXPECT_FALSE(dialog->isVisible());
        dialog->showCentred(false);
        EXPECT_TRUE(dialog->typeBox(1)->isChecked()) << (byEsc ? "Esc" : "close button");
        EXPECT_TRUE(dialog->typeBox(0)->isChecked());
        EXPECT_EQ(m.list()->count(), 2);
        dialog->hide();
    }
}
