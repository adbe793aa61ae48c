// Start-up and shutdown of the real main window under the offscreen platform.
#include "browser/browser.h"
#include "catalogue/typepatterns.h"
#include "foldertree/foldertree.h"
#include "listview/qtlistview.h"
#include "options/optionsdialog.h"
#include "platform/settingsstore.h"
#include "preview/stretchimage.h"
#include "preview/tiledpreview.h"
#include "shell/elidedlabel.h"
#include "shell/listcommands.h"
#include "shell/mainwindow.h"
#include "shell/settingskeys.h"
#include "shell/splash.h"
#include "shell/startpath.h"
#include "shell/startup.h"
#include "shell/statuswindow.h"
#include "support/fakeshellinfo.h"
#include "support/mainparts.h"
#include "support/printers.h"
#include "support/scratchfolder.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPointer>
#include <QScreen>
#include <QTest>
#include <QToolBar>

#include <gtest/gtest.h>

using namespace pavix;
using namespace pavix::shell;

namespace {

// What a first start lists, and says it searches for: every type.
const QString AllTypesPattern = QStringLiteral("*.bmp;*.jpeg;*.jpg;*.gif;*.ico;*.png;*.webp;*.tif;*.tiff;*.###");
const QString AllTypesText = QStringLiteral("Searching for *.bmp *.gif *.jpeg *.ico *.png *.webp *.tif  files.");

struct Started {
    platform::MemorySettingsStore store;
    testsupport::FakeShellInfo shell;
    testsupport::ScratchFolder scratch;
    QString home;
    // The place named on the command line: a folder, and a picture in it.
    QString startFolder;
    QString startPicture;
    QStringList statusTexts;
    std::unique_ptr<MainWindow> main;

    void seed(QLatin1StringView key, const QString &text, QLatin1StringView section = SectionSettings)
    {
        store.write(section, key, text);
    }
    // Stored types with only `type` switched on.
    void seedOnlyType(catalogue::PictureType type)
    {
        for (const catalogue::PictureType each : catalogue::AllPictureTypes)
            seed(catalogue::typeKey(each), each == type ? catalogue::enabledPattern(each) : catalogue::DisabledPattern,
                 catalogue::SectionType);
    }
    void start()
    {
        if (home.isEmpty())
            home = scratch.copyCorpus(QStringLiteral("names"), QStringLiteral("home"));
        main = runStartup({store, shell, home, [this](const QString &t) { statusTexts << t; }, startFolder,
                           startPicture});
    }
    QString stored(QLatin1StringView key, QLatin1StringView section = SectionSettings) const
    {
        return store.read(section, key).value_or(QStringLiteral("<missing>"));
    }
};

} // namespace

TEST(Startup, FirstStartRunsOnTheDefaults)
{
    Started s;
    s.start();
    MainWindow &m = *s.main;

    EXPECT_EQ(s.statusTexts, (QStringList{"Loading ....", "Loading ......", "Loading ........", "Loading ..........",
                                          "Loading ............", "Loading ..............", "Loading ................",
                                          "Loading .................."}));
    EXPECT_TRUE(m.isVisible());
    EXPECT_NEAR(m.outerWidthTwips(), 6500, m.twipsPerPixel());
    EXPECT_EQ(m.splitters().treeSplitterLeft, 2000);
    EXPECT_EQ(m.splitters().previewSplitterLeft, 5000);
    EXPECT_TRUE(testsupport::item(m, QStringLiteral("toolBarItem"))->isChecked());
    EXPECT_TRUE(testsupport::item(m, QStringLiteral("statusBarItem"))->isChecked());
    EXPECT_TRUE(testsupport::item(m, QStringLiteral("folderTreeItem"))->isChecked());
    EXPECT_TRUE(testsupport::item(m, QStringLiteral("previewItem"))->isChecked());
    ASSERT_NE(m.statusWindow(), nullptr);
    EXPECT_TRUE(m.statusWindow()->isSimple());
    EXPECT_EQ(m.folderTree()->selectedFolder(), s.home);

    // Large icons, checked in both menus and pressed on the tool bar.
    EXPECT_EQ(m.list()->view(), listview::ListLayout::LargeIcons);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(testsupport::viewModeItem(m, i)->isChecked(), i == 1) << i;
        EXPECT_EQ(testsupport::listViewItem(m, i)->isChecked(), i == 1) << i;
    }
    EXPECT_EQ(m.listCommands()->pressedViewButton(), 1);

    // Every type, so that a first start shows the user's pictures whatever their type.
    for (int type = 0; type < catalogue::PictureTypeCount; ++type) {
        EXPECT_TRUE(m.optionsDialog()->typeBox(type)->isChecked()) << type;
        EXPECT_TRUE(m.optionsDialog()->typeBox(type)->isEnabled()) << type;
    }
    EXPECT_FALSE(m.optionsDialog()->isVisible());
    EXPECT_EQ(m.browser().files().pattern(), AllTypesPattern);
    EXPECT_EQ(m.typesLabel()->fullText(), AllTypesText);

    // Three columns of (5000 - 2000 - 350) / 3 twips.
    ASSERT_EQ(m.list()->columnCount(), 3);
    EXPECT_EQ(m.list()->columnText(1), QStringLiteral("Name         "));
    EXPECT_EQ(m.list()->columnText(2), QStringLiteral("Size  (bytes)"));
    EXPECT_EQ(m.list()->columnText(3), QStringLiteral("Type         "));
    EXPECT_EQ(m.list()->columnKey(2), QStringLiteral("FILESIZE"));
    for (int c = 1; c <= 3; ++c)
        EXPECT_NEAR(m.list()->columnWidth(c), 883.33, 0.01) << c;
    EXPECT_TRUE(m.list()->headerHotTrack());

    // The first scan listed the home folder's pictures: "-leading-dash.bmp", "Mixed.Bmp",
    // "semi;colon.bmp", "UPPER.JPG" (".hidden.bmp" is a hidden file).
    EXPECT_EQ(m.browser().files().path(), s.home);
    EXPECT_EQ(m.list()->count(), m.browser().files().listCount());
    EXPECT_GE(m.list()->count(), 3);
    EXPECT_EQ(m.imagesLabel()->text(), QStringLiteral("Images : %1").arg(m.browser().files().listCount()));
    EXPECT_EQ(m.list()->findItem(QStringLiteral("Mixed.Bmp")) > 0, true);
    EXPECT_GT(m.list()->findItem(QStringLiteral("UPPER.JPG")), 0);
}

TEST(Startup, StoredValuesAreRestoredAndClamped)
{
    Started s;
    s.seed(KeyTreeSplitterLeft, QStringLiteral("800"));
    s.seed(KeyPreviewSplitterLeft, QStringLiteral("4000"));
    s.seed(KeyViewMode, QStringLiteral("3"));
    s.seed(KeyStatusBarShown, QStringLiteral("False"));
    s.seed(KeyTiledWindowWidth, QStringLiteral("7000"));
    s.seed(KeyMainWidth, QStringLiteral("9000"));
    // Only GIF enabled: the first listing already uses the stored types.
    s.seedOnlyType(catalogue::PictureType::Gif);
    s.start();
    MainWindow &m = *s.main;

    EXPECT_EQ(m.splitters().treeSplitterLeft, 1000);
    EXPECT_EQ(m.splitters().previewSplitterLeft, 4000);
    EXPECT_EQ(m.tiledPreview()->place().width, 7000);
    EXPECT_NEAR(m.outerWidthTwips(), 9000, m.twipsPerPixel());
    EXPECT_FALSE(testsupport::item(m, QStringLiteral("statusBarItem"))->isChecked());
    EXPECT_EQ(m.statusWindow(), nullptr);
    EXPECT_EQ(m.list()->view(), listview::ListLayout::Details);
    EXPECT_TRUE(testsupport::viewModeItem(m, 4)->isChecked());
    EXPECT_TRUE(testsupport::listViewItem(m, 4)->isChecked());
    EXPECT_EQ(m.listCommands()->pressedViewButton(), 4);
    EXPECT_NEAR(m.list()->columnWidth(1), (4000 - 1000 - 350) / 3.0, 0.01);

    EXPECT_EQ(m.browser().files().pattern(), QStringLiteral("&;&;*.gif;&;&;&;&;*.###"));
    EXPECT_EQ(m.typesLabel()->text(), QStringLiteral("Searching for *.gif  files."));
    EXPECT_FALSE(m.optionsDialog()->typeBox(0)->isChecked());
    EXPECT_TRUE(m.optionsDialog()->typeBox(2)->isChecked());
    ASSERT_GT(m.list()->count(), 0);
    for (int i = 1; i <= m.list()->count(); ++i)
        EXPECT_TRUE(m.list()->itemText(i).endsWith(QStringLiteral(".gif"), Qt::CaseInsensitive)
                    || m.list()->itemText(i).endsWith(QStringLiteral(".GIF")))
            << qPrintable(m.list()->itemText(i));
    // "&" is a placeholder of the pattern, never a picture.
    EXPECT_EQ(m.list()->findItem(QStringLiteral("&")), 0);
}

TEST(Startup, BadStoredValuesFallBackToDefaults)
{
    Started s;
    s.seed(KeyTreeSplitterLeft, QStringLiteral("left"));
    s.seed(KeyToolBarShown, QStringLiteral("maybe"));
    s.seed(KeyViewMode, QStringLiteral("7"));
    s.seed(KeyMainHeight, QStringLiteral("1e40"));
    s.seed(KeyFolder, s.scratch.file(QStringLiteral("no-such-folder")));
    s.start();
    MainWindow &m = *s.main;
    EXPECT_EQ(m.splitters().treeSplitterLeft, 2000);
    EXPECT_TRUE(testsupport::item(m, QStringLiteral("toolBarItem"))->isChecked());
    EXPECT_EQ(m.list()->view(), listview::ListLayout::LargeIcons);
    EXPECT_NEAR(m.outerHeightTwips(), 6500, m.twipsPerPixel());
    // A folder that is gone gives way to the home folder.
    EXPECT_EQ(m.folderTree()->selectedFolder(), s.home);
}

TEST(Startup, ShutdownStoresEveryKeyAndTheNextStartRestoresThem)
{
    Started s;
    s.start();
    MainWindow &m = *s.main;
    m.resizeToOuter(9000, 6990);
    m.toggleFolderTree();
    preview::WindowPlace place = m.tiledPreview()->place();
    place.left = 1234;
    m.tiledPreview()->setPlace(place);
    m.close();

    EXPECT_EQ(s.stored(KeyMainWidth), QStringLiteral("9000"));
    EXPECT_EQ(s.stored(KeyMainHeight), QStringLiteral("6990"));
    EXPECT_NE(s.stored(KeyMainLeft), QStringLiteral("<missing>"));
    EXPECT_EQ(s.stored(KeyFolder), s.home);
    EXPECT_EQ(s.stored(KeyViewMode), QStringLiteral("0"));
    EXPECT_EQ(s.stored(KeyToolBarShown), QStringLiteral("True"));
    EXPECT_EQ(s.stored(KeyStatusBarShown), QStringLiteral("True"));
    EXPECT_EQ(s.stored(KeyTreeShown), QStringLiteral("False"));
    EXPECT_EQ(s.stored(KeyPreviewShown), QStringLiteral("True"));
    EXPECT_EQ(s.stored(KeyTreeSplitterLeft), QString::number(m.splitters().treeSplitterLeft));
    EXPECT_EQ(s.stored(KeyPreviewSplitterLeft), QString::number(m.splitters().previewSplitterLeft));
    EXPECT_EQ(s.stored(KeyTiledWindowLeft), QStringLiteral("1234"));
    EXPECT_EQ(s.stored(KeyTiledWindowHeight), QStringLiteral("6500"));

    // The next start comes back as it was left.
    const std::int32_t isb = m.splitters().previewSplitterLeft;
    s.main.reset();
    s.start();
    EXPECT_FALSE(testsupport::item(*s.main, QStringLiteral("folderTreeItem"))->isChecked());
    EXPECT_FALSE(s.main->folderTree()->isVisible());
    EXPECT_EQ(s.main->splitters().previewSplitterLeft, isb);
    EXPECT_NEAR(s.main->outerWidthTwips(), 9000, s.main->twipsPerPixel());
    EXPECT_EQ(s.main->tiledPreview()->place().left, 1234);
}

TEST(Startup, ClosingWhileMinimizedKeepsThePlacement)
{
    Started s;
    s.seed(KeyMainWidth, QStringLiteral("8000"));
    s.start();
    s.main->showMinimized();
    s.main->close();
    EXPECT_EQ(s.stored(KeyMainWidth), QStringLiteral("8000"));
    EXPECT_EQ(s.stored(KeyMainLeft), QStringLiteral("<missing>"));
    EXPECT_EQ(s.stored(KeyToolBarShown), QStringLiteral("True"));
}

TEST(Startup, SplashTimerRunsTheSequenceOnceAndCloses)
{
    Started s;
    s.home = s.scratch.copyCorpus(QStringLiteral("good"), QStringLiteral("home"));
    QStringList shown;
    int runs = 0;
    QPointer<Splash> splash = new Splash(15.0, [&](const auto &status) {
        ++runs;
        s.main = runStartup({s.store,
                             s.shell,
                             s.home,
                             [&](const QString &text) {
                                 status(text);
                                 shown << splash->statusLabel()->text();
                             },
                             {},
                             {}});
    });
    splash->setAttribute(Qt::WA_DeleteOnClose);
    EXPECT_EQ(splash->statusLabel()->text(), QStringLiteral("Loading .."));
    // Every label is wide enough for its whole text.
    for (QLabel *label : {splash->nameLabel(), splash->versionLabel(), splash->statusLabel()})
        EXPECT_GE(label->width(), label->fontMetrics().horizontalAdvance(label->text())) << qPrintable(label->text());
    splash->show();
    EXPECT_TRUE(QTest::qWaitFor([&] { return splash.isNull(); }, 5000));
    EXPECT_EQ(runs, 1);
    ASSERT_EQ(shown.size(), 8);
    EXPECT_EQ(shown.front(), QStringLiteral("Loading ...."));
    EXPECT_EQ(shown.back(), QStringLiteral("Loading .................."));
    ASSERT_TRUE(s.main);
    EXPECT_TRUE(s.main->isVisible());
}

TEST(Startup, AHugeStoredSizeIsCutToTwiceTheDesktop)
{
    Started s;
    s.seed(KeyMainWidth, QStringLiteral("2000000000"));
    s.seed(KeyMainHeight, QStringLiteral("900000000"));
    s.start();
    const QSize desktop = QGuiApplication::primaryScreen()->availableVirtualSize();
    EXPECT_LE(s.main->width(), 2 * desktop.width());
    EXPECT_LE(s.main->height(), 2 * desktop.height());
    EXPECT_GE(s.main->outerWidthTwips(), 3100);
}

TEST(Startup, ALongSearchingTextEndsInAnEllipsisAndHasItsWholeTextAsTip)
{
    Started s;
    for (auto [key, value] :
         {std::pair{"Bitmap", "*.bmp;"}, {"Jpg", "*.jpeg;*.jpg;"}, {"Gif", "*.gif;"}, {"Ico", "*.ico;"}})
        s.seed(QLatin1StringView(key), QString::fromLatin1(value), catalogue::SectionType);
    s.start();
    const QLabel *label = s.main->typesLabel();
    const QString whole = label->toolTip();
    EXPECT_TRUE(whole.startsWith(QStringLiteral("Searching for *.bmp")) && whole.endsWith(QStringLiteral("files.")))
        << qPrintable(whole);
    ASSERT_GT(label->fontMetrics().horizontalAdvance(whole), label->width());
    EXPECT_TRUE(label->text().endsWith(QChar(0x2026))) << qPrintable(label->text());
    EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->width());
}

TEST(Startup, PaneTogglesAndTheFolderReachTheFileWhenTheyChange)
{
    testsupport::ScratchFolder scratch;
    const QString file = scratch.file(QStringLiteral("Pavix.ini"));
    platform::IniSettingsStore store(file);
    testsupport::FakeShellInfo shell;
    const QString home = scratch.copyCorpus(QStringLiteral("names"), QStringLiteral("home"));
    const QString other = scratch.makeFolder(QStringLiteral("other"));
    auto main = runStartup({store, shell, home, {}, {}, {}});

    // What another run would read from the file now, with this one still going.
    const auto onDisk = [&](QLatin1StringView key) {
        return platform::IniSettingsStore(file).read(SectionSettings, key).value_or(QStringLiteral("<missing>"));
    };
    main->toggleToolBar();
    EXPECT_EQ(onDisk(KeyToolBarShown), QStringLiteral("False"));
    main->toggleStatusBar();
    EXPECT_EQ(onDisk(KeyStatusBarShown), QStringLiteral("False"));
    main->toggleFolderTree();
    EXPECT_EQ(onDisk(KeyTreeShown), QStringLiteral("False"));
    main->togglePreview();
    EXPECT_EQ(onDisk(KeyPreviewShown), QStringLiteral("False"));
    main->togglePreview();
    EXPECT_EQ(onDisk(KeyPreviewShown), QStringLiteral("True"));
    main->folderTree()->setSelectedFolder(other);
    EXPECT_EQ(onDisk(KeyFolder), other);
}

TEST(Startup, AStoredPlaceOrSizeNoScreenCanShowIsBroughtBack)
{
    Started s;
    s.seed(KeyMainLeft, QStringLiteral("-1e30"));
    s.seed(KeyMainTop, QStringLiteral("1e30"));
    s.seed(KeyMainWidth, QStringLiteral("-5"));
    s.seed(KeyMainHeight, QStringLiteral("0"));
    s.start();
    MainWindow &m = *s.main;
    // The default size, on the screen.
    EXPECT_NEAR(m.outerWidthTwips(), DefaultMainWidth, m.twipsPerPixel());
    EXPECT_NEAR(m.outerHeightTwips(), DefaultMainHeight, m.twipsPerPixel());
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_TRUE(screen.contains(QRect(m.pos(), m.size()))) << m.pos().x() << "," << m.pos().y();

    // What is stored at the end is where the window was, nothing like 2^31 pixels.
    m.close();
    EXPECT_LT(std::abs(s.stored(KeyMainLeft).toDouble()), 1e6);
    EXPECT_LT(std::abs(s.stored(KeyMainTop).toDouble()), 1e6);
}

TEST(Startup, AFolderGivenAtStartIsListedAndRememberedAtExit)
{
    Started s;
    s.home = s.scratch.copyCorpus(QStringLiteral("names"), QStringLiteral("home"));
    s.seed(KeyFolder, s.home);
    s.startFolder = s.scratch.copyCorpus(QStringLiteral("good"), QStringLiteral("pics"));
    s.start();
    MainWindow &m = *s.main;

    EXPECT_EQ(m.folderTree()->selectedFolder(), s.startFolder);
    EXPECT_EQ(m.browser().folder(), s.startFolder);
    // The first start's pictures of that folder, and nothing selected.
    EXPECT_EQ(m.browser().files().pattern(), AllTypesPattern);
    EXPECT_GT(m.list()->findItem(QStringLiteral("hopper.bmp")), 0);
    EXPECT_EQ(m.list()->count(), m.browser().files().listCount());
    EXPECT_TRUE(m.browser().currentFile().isEmpty());
    EXPECT_TRUE(m.browser().picture().isNull());

    m.close();
    EXPECT_EQ(s.stored(KeyFolder), s.startFolder);
}

TEST(Startup, APictureGivenAtStartIsSelectedAndPreviewed)
{
    Started s;
    s.startFolder = s.scratch.copyCorpus(QStringLiteral("good"), QStringLiteral("pics"));
    s.startPicture = QStringLiteral("hopper.bmp");
    s.start();
    MainWindow &m = *s.main;

    EXPECT_EQ(m.browser().folder(), s.startFolder);
    EXPECT_EQ(m.browser().currentFile(), QStringLiteral("hopper.bmp"));
    EXPECT_EQ(m.browser().picture().size(), QSize(128, 128));
    EXPECT_FALSE(m.previewImage()->picture().isNull());
    const int selected = m.list()->selectedItem();
    ASSERT_GT(selected, 0);
    EXPECT_EQ(m.list()->itemText(selected), QStringLiteral("hopper.bmp"));
    ASSERT_NE(m.statusWindow(), nullptr);
    EXPECT_EQ(m.statusWindow()->partText(0), QStringLiteral("File: hopper.bmp"));
    // Every type is listed on a first start anyway: the listing is the usual one.
    EXPECT_EQ(m.browser().files().pattern(), AllTypesPattern);
    EXPECT_EQ(m.typesLabel()->fullText(), AllTypesText);
}

TEST(Startup, APictureOfATypeSwitchedOffIsListedForThisRunOnly)
{
    {
        // Only bitmaps stored: the JPEG joins them.
        Started s;
        s.seedOnlyType(catalogue::PictureType::Bmp);
        s.startFolder = s.scratch.copyCorpus(QStringLiteral("good"), QStringLiteral("pics"));
        s.startPicture = QStringLiteral("cat.jpg");
        s.start();
        MainWindow &m = *s.main;
        EXPECT_EQ(m.browser().files().pattern(), QStringLiteral("*.bmp;*.jpeg;*.jpg;&;&;&;&;&;*.###"));
        EXPECT_EQ(m.typesLabel()->text(), QStringLiteral("Searching for *.bmp *.jpeg  files."));
        EXPECT_TRUE(m.optionsDialog()->typeBox(0)->isChecked());
        EXPECT_TRUE(m.optionsDialog()->typeBox(1)->isChecked());
        EXPECT_FALSE(m.optionsDialog()->typeBox(2)->isChecked());
        EXPECT_GT(m.list()->findItem(QStringLiteral("hopper.bmp")), 0);
        EXPECT_GT(m.list()->findItem(QStringLiteral("icc_chunk_order.jpeg")), 0);
        EXPECT_EQ(m.browser().currentFile(), QStringLiteral("cat.jpg"));
        EXPECT_FALSE(m.browser().picture().isNull());
        EXPECT_EQ(m.list()->itemText(m.list()->selectedItem()), QStringLiteral("cat.jpg"));
        m.close();
        // Only the options dialog stores the types.
        EXPECT_EQ(s.stored(catalogue::KeyJpg, catalogue::SectionType), QStringLiteral("&;"));
    }
    {
        // A settings file written before PNG, WebP and TIFF were known, with only GIF: an
        // icon joins it, the later types are on, and the rest stay off.
        Started s;
        s.seed(catalogue::KeyBitmap, QStringLiteral("&;"), catalogue::SectionType);
        s.seed(catalogue::KeyJpg, QStringLiteral("&;"), catalogue::SectionType);
        s.seed(catalogue::KeyGif, QStringLiteral("*.gif;"), catalogue::SectionType);
        s.seed(catalogue::KeyIco, QStringLiteral("&;"), catalogue::SectionType);
        s.startFolder = s.scratch.copyCorpus(QStringLiteral("good"), QStringLiteral("pics"));
        s.startPicture = QStringLiteral("smile.ico");
        s.start();
        MainWindow &m = *s.main;
        EXPECT_EQ(m.browser().files().pattern(), QStringLiteral("&;&;*.gif;*.ico;*.png;*.webp;*.tif;*.tiff;*.###"));
        EXPECT_EQ(m.list()->findItem(QStringLiteral("hopper.bmp")), 0);
        EXPECT_GT(m.list()->findItem(QStringLiteral("fire.gif")), 0);
        EXPECT_GT(m.list()->findItem(QStringLiteral("hopper.webp")), 0);
        EXPECT_GT(m.list()->findItem(QStringLiteral("hopper_lzw.tif")), 0);
        EXPECT_EQ(m.browser().currentFile(), QStringLiteral("smile.ico"));
        m.close();
        EXPECT_EQ(s.stored(catalogue::KeyIco, catalogue::SectionType), QStringLiteral("&;"));
    }
}

TEST(Startup, AnUnreadablePictureGivenAtStartIsSelectedWithItsReason)
{
    Started s;
    s.startFolder = s.scratch.makeFolder(QStringLiteral("pics"));
    s.scratch.write(QStringLiteral("pics/broken.bmp"), 10);
    s.startPicture = QStringLiteral("broken.bmp");
    s.start();
    MainWindow &m = *s.main;

    EXPECT_TRUE(m.browser().currentFile().isEmpty());
    EXPECT_TRUE(m.browser().picture().isNull());
    // The list stays on the entry, as after a click on it, and the status line says why.
    EXPECT_EQ(m.list()->itemText(m.list()->selectedItem()), QStringLiteral("broken.bmp"));
    ASSERT_NE(m.statusWindow(), nullptr);
    EXPECT_TRUE(m.statusWindow()->isSimple());
    EXPECT_FALSE(m.statusWindow()->simpleText().isEmpty());
}

TEST(Startup, APathOfNoUseStartsAsUsual)
{
    Started s;
    s.home = s.scratch.copyCorpus(QStringLiteral("names"), QStringLiteral("home"));
    const QString remembered = s.scratch.copyCorpus(QStringLiteral("good"), QStringLiteral("pics"));
    s.seed(KeyFolder, remembered);
    const StartPlace missing = findStartPlace(s.scratch.file(QStringLiteral("gone")));
    EXPECT_FALSE(missing.error.isEmpty());
    s.startFolder = missing.folder;
    s.startPicture = missing.picture;
    s.start();
    MainWindow &m = *s.main;
    EXPECT_EQ(m.folderTree()->selectedFolder(), remembered);
    EXPECT_EQ(m.browser().folder(), remembered);
    EXPECT_TRUE(m.browser().currentFile().isEmpty());
    m.close();
    EXPECT_EQ(s.stored(KeyFolder), remembered);
}

TEST(Startup, TheApplicationHasNoDisplayNameToAddToCaptions)
{
    const QString name = QCoreApplication::applicationName();
    const QString version = QCoreApplication::applicationVersion();
    const QString desktopFile = QGuiApplication::desktopFileName();
    pavix::shell::setApplicationIdentity(QStringLiteral("9.9"), QStringLiteral("org.example.pavix"));
    EXPECT_EQ(QCoreApplication::applicationName(), QStringLiteral("Pavix"));
    EXPECT_EQ(QCoreApplication::applicationVersion(), QStringLiteral("9.9"));
    EXPECT_EQ(QGuiApplication::desktopFileName(), QStringLiteral("org.example.pavix"));
    // Unset, the display name follows the application's name; once set, the platform adds
    // it to every caption ("Options — Pavix").
    QCoreApplication::setApplicationName(QStringLiteral("Another"));
    EXPECT_EQ(QGuiApplication::applicationDisplayName(), QStringLiteral("Another"));
    QCoreApplication::setApplicationName(name);
    QCoreApplication::setApplicationVersion(version);
    QGuiApplication::setDesktopFileName(desktopFile);
}
