// The picture-type options on the real main window (offscreen): OK stores the choice,
// rescans the listed folder and refuses to leave no type.
#include "support/boxanswerer.h"
#include "support/mainfixture.h"
#include "support/printers.h"

#include "browser/browser.h"
#include "browser/texts.h"
#include "catalogue/typepatterns.h"
#include "listview/qtlistview.h"
#include "options/optionsdialog.h"
#include "preview/stretchimage.h"
#include "preview/tiledpreview.h"
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

// Ticks exactly the boxes given (0 bitmap, 1 JPEG, 2 GIF, 3 icon, 4 PNG, 5 WebP, 6 TIFF)
// and presses OK.
void choose(options::OptionsDialog *dialog, std::initializer_list<int> ticked)
{
    for (int type = 0; type < catalogue::PictureTypeCount; ++type)
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
    EXPECT_EQ(boxes.texts(), QStringList{options::noTypeMessage()});
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(f.store.values(), before);
    EXPECT_EQ(m.list()->count(), 2);

    // One box ticked again: applied.
    choose(dialog, {0});
    EXPECT_EQ(boxes.texts().size(), 1);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(m.list()->count(), 1);
}

TEST(OptionsDialog, TheTypesTickedAreStoredAndTheFolderIsScannedAgainWithThem)
{
    const struct {
        std::initializer_list<int> ticked;
        // The values stored under "Bitmap", "Jpg", "Gif", "Ico", "Png", "Webp", "Tiff".
        QStringList stored;
        QString pattern;
        QString searching;
        QStringList listed;
    } cases[] = {
        {{2},
         {"&;", "&;", "*.gif;", "&;", "&;", "&;", "&;"},
         "&;&;*.gif;&;&;&;&;*.###",
         "Searching for *.gif  files.",
         {"fire.gif", "hopper.gif"}},
        {{4, 6},
         {"&;", "&;", "&;", "&;", "*.png;", "&;", "*.tif;*.tiff;"},
         "&;&;&;&;*.png;&;*.tif;*.tiff;*.###",
         "Searching for *.png *.tif  files.",
         {"hopper.png", "hopper_lzw.tif", "multipage.tiff"}},
        {{0, 5},
         {"*.bmp;", "&;", "&;", "&;", "&;", "*.webp;", "&;"},
         "*.bmp;&;&;&;&;*.webp;&;*.###",
         "Searching for *.bmp *.webp  files.",
         {"anim.webp", "hopper.bmp", "hopper.webp"}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(qPrintable(c.searching));
        MainFixture f;
        const QString folder = f.folderWith(QStringLiteral("p"),
                                            {"good/hopper.bmp", "good/hopper.gif", "good/fire.gif", "good/smile.ico",
                                             "good/hopper.png", "good/hopper.webp", "good/anim.webp",
                                             "good/hopper_lzw.tif", "good/multipage.tiff"});
        f.start(folder);
        shell::MainWindow &m = *f.main;
        ASSERT_EQ(m.list()->count(), 9) << "a first start lists every type";
        // A picture selected and the tiled window open before the change.
        m.list()->setSelectedItem(m.list()->findItem(QStringLiteral("hopper.bmp")));
        emit m.list()->itemClick(m.list()->selectedItem());
        ASSERT_TRUE(m.previewImage()->isVisible());
        emit m.list()->dblClick();
        ASSERT_TRUE(m.tiledPreview()->isShown());

        m.optionsDialog()->showCentred(false);
        choose(m.optionsDialog(), c.ticked);

        QStringList stored;
        for (const char *key : {"Bitmap", "Jpg", "Gif", "Ico", "Png", "Webp", "Tiff"})
            stored
                << f.store.read(QStringLiteral("Type"), QString::fromLatin1(key)).value_or(QStringLiteral("<missing>"));
        EXPECT_EQ(stored, c.stored);
        EXPECT_EQ(m.browser().files().pattern(), c.pattern);
        EXPECT_EQ(m.typesLabel()->fullText(), c.searching);
        // The same folder, its pictures of those types listed and in the grid, the preview
        // emptied.
        EXPECT_EQ(m.browser().folder(), folder);
        QStringList listed;
        for (int i = 1; i <= m.list()->count(); ++i)
            listed << m.list()->itemText(i);
        listed.sort();
        EXPECT_EQ(listed, c.listed);
        EXPECT_EQ(m.thumbStrip()->elementCount(), c.listed.size());
        EXPECT_EQ(m.imagesLabel()->text(), QStringLiteral("Images : %1").arg(c.listed.size()));
        EXPECT_FALSE(m.previewImage()->isVisible());
        EXPECT_TRUE(m.browser().picture().isNull());
        EXPECT_EQ(statusText(m), browser::clickHint());
        // The current file's name stays; an open tiled window stays loaded.
        EXPECT_EQ(m.browser().currentFile(), QStringLiteral("hopper.bmp"));
        EXPECT_NE(m.tiledPreview()->window(), nullptr);
    }
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
    EXPECT_EQ(statusText(m), browser::noImagesMessage());
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
