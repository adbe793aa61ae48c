// The command surface of the real main window (offscreen): the menu captions, the keys the
// window handles before its controls, the pop-ups and the tool bar.
#include "support/boxanswerer.h"
#include "support/mainfixture.h"
#include "support/mainparts.h"
#include "support/printers.h"

#include "browser/browser.h"
#include "common/keys.h"
#include "foldertree/foldertree.h"
#include "listview/qtlistview.h"
#include "options/optionsdialog.h"
#include "platform/linkopener.h"
#include "preview/tiledpreview.h"
#include "shell/settingskeys.h"
#include "shell/statuswindow.h"
#include "thumbs/thumbstrip.h"
#include "toolbox/toolbox.h"
#include "toolbox/toolboxhost.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolBar>

using namespace pavix;
using testsupport::MainFixture;

namespace {

// Records the addresses it is asked to open, and opens none of them.
class RecordingOpener : public platform::LinkOpener {
public:
    explicit RecordingOpener(QList<QUrl> &opened, bool succeed = true) : m_opened(opened), m_succeed(succeed) {}
    bool open(const QUrl &address) override
    {
        m_opened << address;
        return m_succeed;
    }

private:
    QList<QUrl> &m_opened;
    bool m_succeed;
};

QStringList captions(const QMenu *menu)
{
    QStringList out;
    for (const QAction *a : menu->actions())
        out << (a->isSeparator() ? QStringLiteral("-") : a->text());
    return out;
}

void activate(shell::MainWindow &m)
{
    m.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&m));
}

} // namespace

TEST(Commands, MenuBarCaptionsShowTheirShortcutTextsInTheShortcutColumn)
{
    MainFixture f;
    f.start();
    shell::MainWindow &m = *f.main;
    QStringList top;
    for (const QAction *a : m.menuBar()->actions())
        top << a->text();
    EXPECT_EQ(top, (QStringList{"&File", "&View", "&Tools", "&Help"}));
    EXPECT_EQ(captions(testsupport::menu(m, QStringLiteral("fileMenu"))),
              (QStringList{"&Open\tCtl+ O", "&Wallpaper\tCtl+ W", "-", "Exit\tAlt+ X"}));
    EXPECT_EQ(captions(testsupport::menu(m, QStringLiteral("viewMenu"))),
              (QStringList{"Toolbar\tCtl+ T", "Status Bar\tCtl+ S", "Folders tree\tCtl+ F", "Preview\tCtl+ P", "-",
                           "Thumbnails\tF4", "Large Icons\tF6", "Small Icons\tF7", "List\tF8", "Details\tF9", "-",
                           "Arrange Icons", "-", "Refresh\tF5"}));
    EXPECT_EQ(captions(testsupport::menu(m, QStringLiteral("toolsMenu"))),
              (QStringList{"Toolbox\tF2", "-", "Options\tF3"}));
    EXPECT_EQ(captions(testsupport::menu(m, QStringLiteral("helpMenu"))),
              (QStringList{"Contents\tF1", "Mp3", "Web page\tCtl+ I", "-", "About"}));
    // The captions are not shortcuts: the key table handles the keys.
    for (const QAction *a : m.findChildren<QAction *>())
        EXPECT_TRUE(a->shortcut().isEmpty()) << qPrintable(a->text());
    // Four items start checked; every command is there.
    for (const char *name : {"toolBarItem", "statusBarItem", "folderTreeItem", "previewItem"})
        EXPECT_TRUE(testsupport::item(m, QString::fromLatin1(name))->isChecked()) << name;
    for (const char *name : {"toolboxItem", "fileWallpaperItem", "wallpaperItem"})
        EXPECT_TRUE(testsupport::item(m, QString::fromLatin1(name))->isEnabled()) << name;
}

TEST(Commands, KeysReachTheWindowFirstAndTheFocusedListStillGetsThem)
{
    MainFixture f;
    const QString folder = f.folderWith(QStringLiteral("p"), {"good/hopper.bmp", "good/pal8.bmp"});
    f.start(folder);
    shell::MainWindow &m = *f.main;
    activate(m);
    QAbstractItemView *view = m.list()->currentView();
    view->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return view->hasFocus(); }, 2000));
    // The keys the list itself gets (a key with modifiers comes after their own presses).
    QList<int> listKeys;
    QObject::connect(m.list(), &listview::QtListView::keyDown, &m, [&](int keyCode) { listKeys << keyCode; });

    // F5 (also with Shift) reads the folder again: a new file shows.
    QFile::copy(testsupport::corpusPath(QStringLiteral("good/rgb24.bmp")), folder + QStringLiteral("/rgb24.bmp"));
    QTest::keyClick(view, Qt::Key_F5, Qt::ShiftModifier);
    EXPECT_EQ(m.list()->count(), 3);
    EXPECT_TRUE(listKeys.contains(common::VkF5));

    // Ctrl+T, and Ctrl+Shift+T, toggle the tool bar and store the flag at once.
    QTest::keyClick(view, Qt::Key_T, Qt::ControlModifier);
    EXPECT_TRUE(m.toolBar()->isHidden());
    EXPECT_EQ(f.store.read(shell::SectionSettings, shell::KeyToolBarShown), QStringLiteral("False"));
    QTest::keyClick(view, Qt::Key_T, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_FALSE(m.toolBar()->isHidden());
    EXPECT_EQ(f.store.read(shell::SectionSettings, shell::KeyToolBarShown), QStringLiteral("True"));

    // A letter alone, or with the wrong modifier, does nothing here; Alt+T opens the Tools
    // menu, whose letter it is, instead of reaching the list.
    QTest::keyClick(view, Qt::Key_T);
    QTest::keyClick(view, Qt::Key_T, Qt::AltModifier);
    EXPECT_EQ(m.menuBar()->activeAction(), m.menuBar()->actions().value(2));
    // Escape closes the menu, and Escape again gives the keyboard back to the list.
    ASSERT_NE(QApplication::activePopupWidget(), nullptr);
    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Escape);
    QTest::keyClick(m.menuBar(), Qt::Key_Escape);
    EXPECT_TRUE(view->hasFocus());
    // The offscreen platform activates the closed menu's window late: the window takes the
    // activation back once that is over.
    QApplication::processEvents();
    activate(m);
    QTest::keyClick(view, Qt::Key_O);
    QTest::keyClick(view, Qt::Key_O, Qt::AltModifier);
    EXPECT_FALSE(m.toolBar()->isHidden());
    EXPECT_EQ(listKeys.count('T'), 3);
    EXPECT_EQ(listKeys.count('O'), 2);

    // F4 switches to the thumbnails; F5 on the grid refreshes there too; F8 back to a list.
    QTest::keyClick(view, Qt::Key_F4);
    EXPECT_TRUE(m.thumbArea()->isVisible());
    ASSERT_TRUE(QTest::qWaitFor([&] { return m.thumbStrip()->hasFocus(); }, 2000));
    QFile::remove(folder + QStringLiteral("/rgb24.bmp"));
    QTest::keyClick(m.thumbStrip(), Qt::Key_F5);
    EXPECT_EQ(m.browser().files().listCount(), 2);
    EXPECT_EQ(m.thumbStrip()->elementCount(), 2);
    // The refresh hid and showed the strip: the key goes wherever the focus is now.
    QWidget *focus = QApplication::focusWidget();
    ASSERT_NE(focus, nullptr);
    ASSERT_EQ(focus->window(), &m);
    QTest::keyClick(focus, Qt::Key_F8);
    EXPECT_TRUE(m.list()->isVisible());
    EXPECT_EQ(m.list()->view(), listview::ListLayout::List);

    // F2 shows the font toolbox, not modal.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F2);
    ASSERT_NE(m.toolbox()->window(), nullptr);
    EXPECT_TRUE(m.toolbox()->window()->isVisible());
    EXPECT_FALSE(m.toolbox()->window()->isModal());
    m.toolbox()->window()->hide();
    activate(m);

    // Alt+X closes the window, which stores the settings.
    f.store.values().clear();
    QTest::keyClick(m.list()->currentView(), Qt::Key_X, Qt::AltModifier);
    EXPECT_FALSE(m.isVisible());
    EXPECT_EQ(f.store.read(shell::SectionSettings, shell::KeyViewMode), QStringLiteral("2"));
    EXPECT_EQ(f.store.read(shell::SectionSettings, shell::KeyFolder), folder);
}

TEST(Commands, PopUpsOpenWhereTheyBelongAndTheToolBarRunsItsButtons)
{
    MainFixture f;
    f.start(f.folderWith(QStringLiteral("p"), {"good/hopper.bmp"}));
    shell::MainWindow &m = *f.main;

    // A right press on the tool bar offers "Hide Toolbar"; choosing it is Ctrl+T.
    QTimer::singleShot(50, [] {
        auto *popup = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        ASSERT_NE(popup, nullptr);
        EXPECT_EQ(captions(popup), QStringList{"Hide Toolbar"});
        popup->actions().constFirst()->trigger();
        popup->close();
    });
    MainFixture::press(m.toolBar(), QPoint(m.toolBar()->width() - 5, 5), Qt::RightButton);
    EXPECT_TRUE(m.toolBar()->isHidden());
    EXPECT_EQ(f.store.read(shell::SectionSettings, shell::KeyToolBarShown), QStringLiteral("False"));

    // On the window's own surface (beside the preview picture): "Hide Preview".
    const QRect frame = common::twipsToPixels(m.controls().previewFrame, m.twipsPerPixel());
    MainFixture::press(m.centralWidget(), frame.topLeft() + QPoint(3, 3), Qt::RightButton);
    auto *popup = qobject_cast<QMenu *>(QApplication::activePopupWidget());
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(captions(popup), QStringList{"Hide Preview"});
    popup->close();

    // The list's menu: Refresh, View, Arrange icons.
    EXPECT_EQ(captions(testsupport::menu(m, QStringLiteral("listMenu"))),
              (QStringList{"Refresh", "-", "View", "-", "Arrange icons"}));
    EXPECT_EQ(captions(testsupport::menu(m, QStringLiteral("treeMenu"))), QStringList{"Hide Folders Tree"});
    EXPECT_EQ(captions(testsupport::menu(m, QStringLiteral("wallpaperMenu"))), QStringList{"Set Wallpaper"});

    // Thirteen positions: ten buttons and three separators, which run nothing.
    const QList<QAction *> positions = m.toolBar()->actions();
    ASSERT_EQ(positions.size(), 13);
    for (int separator : {1, 7, 10})
        EXPECT_TRUE(positions[separator]->isSeparator()) << separator;
    testsupport::toolAction(m, QStringLiteral("View Details"))->trigger();
    EXPECT_EQ(m.list()->view(), listview::ListLayout::Details);
    testsupport::toolAction(m, QStringLiteral("View Thumbnails"))->trigger();
    EXPECT_TRUE(m.thumbArea()->isVisible());
}

TEST(Commands, LinksAndTheHelpPageGoToTheDesktopAndFailuresAreTold)
{
    MainFixture f;
    f.start();
    shell::MainWindow &m = *f.main;
    QList<QUrl> opened;
    testsupport::BoxAnswerer boxes;
    const QStringList &told = boxes.texts();
    m.setLinkOpener(std::make_unique<RecordingOpener>(opened));

    testsupport::item(m, QStringLiteral("webPageItem"))->trigger();
    testsupport::item(m, QStringLiteral("musicPageItem"))->trigger();
    ASSERT_EQ(opened.size(), 2);
    EXPECT_EQ(opened[0], m.links().homePage);
    EXPECT_EQ(opened[1], m.links().musicPage);
    EXPECT_EQ(opened[0].host(), QStringLiteral("pavix.example.org"));

    // The help page is found beside the executable of a build tree (the test program's
    // own folder holds none), so here it is reported as missing by name.
    testsupport::item(m, QStringLiteral("helpContentsItem"))->trigger();
    const bool found = !platform::findDataFile(shell::HelpPage).isEmpty();
    if (found) {
        ASSERT_EQ(opened.size(), 3);
        EXPECT_TRUE(opened[2].isLocalFile());
        EXPECT_TRUE(opened[2].toLocalFile().endsWith(QStringLiteral("help/index.html")));
    } else {
        ASSERT_EQ(told.size(), 1);
        EXPECT_TRUE(told[0].contains(QStringLiteral("help/index.html"))) << qPrintable(told[0]);
    }

    // A link the desktop cannot open is named in a message.
    boxes.clear();
    m.setLinkOpener(std::make_unique<RecordingOpener>(opened, false));
    testsupport::item(m, QStringLiteral("webPageItem"))->trigger();
    ASSERT_EQ(told.size(), 1);
    EXPECT_TRUE(told[0].contains(QStringLiteral("https://pavix.example.org/"))) << qPrintable(told[0]);
}

TEST(Commands, TheSettingsMayGiveOtherAddresses)
{
    platform::MemorySettingsStore store;
    store.write(QStringLiteral("Links"), QStringLiteral("HomePage"), QStringLiteral("https://example.net/pavix/"));
    store.write(QStringLiteral("Links"), QStringLiteral("MusicPage"), QStringLiteral("not an address"));
    store.write(QStringLiteral("Links"), QStringLiteral("ContactMail"), QStringLiteral("me@example.net"));
    const about::Links links = shell::readLinks(store);
    EXPECT_EQ(links.homePage, QUrl(QStringLiteral("https://example.net/pavix/")));
    EXPECT_EQ(links.musicPage, about::Links().musicPage);
    EXPECT_EQ(links.homePageIndex, about::Links().homePageIndex);
    EXPECT_EQ(links.mailLink(), QUrl(QStringLiteral("mailto:me@example.net")));
    // Read, never written.
    EXPECT_EQ(store.values().size(), 3u);
}

TEST(Commands, AKeyRunsItsCommandOnceWhereverTheFocusIs)
{
    MainFixture f;
    f.start(f.folderWith(QStringLiteral("p"), {"good/hopper.bmp"}));
    shell::MainWindow &m = *f.main;
    // Ctrl+W with nothing selected says so in a modal box; once the box is answered the key
    // goes on to the parents of the focused control, with the focus not yet back.
    for (QWidget *focus : {static_cast<QWidget *>(m.folderTree()), static_cast<QWidget *>(m.list()->currentView())}) {
        activate(m);
        focus->setFocus();
        ASSERT_TRUE(QTest::qWaitFor([&] { return focus->hasFocus(); }, 2000));
        testsupport::BoxAnswerer boxes;
        QTest::keyClick(focus, Qt::Key_W, Qt::ControlModifier);
        EXPECT_EQ(boxes.texts(), QStringList{QStringLiteral("Please select a file first!")})
            << qPrintable(focus->metaObject()->className());
    }
}

TEST(Commands, TheTiledWindowHidingItselfGivesTheKeyboardBack)
{
    MainFixture f;
    f.start(f.folderWith(QStringLiteral("p"), {"good/hopper.bmp", "good/pal8.bmp"}));
    shell::MainWindow &m = *f.main;
    activate(m);
    QTest::keyClick(m.list()->currentView(), Qt::Key_F9);
    m.browser().selectFile(QStringLiteral("hopper.bmp"));
    m.tiledPreview()->show();
    QWidget *tiled = nullptr;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            tiled = QApplication::activeWindow();
            return m.tiledPreview()->isShown() && tiled && tiled != &m;
        },
        2000));

    // A new scan takes the picture away: the window's next paint finds none and hides it.
    m.browser().clearPicture();
    tiled->update();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !m.tiledPreview()->isShown(); }, 2000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == &m; }, 2000));
    EXPECT_EQ(QApplication::focusWidget(), m.list()->currentView());
    // The keys of the key table work again.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F4);
    EXPECT_TRUE(m.thumbArea()->isVisible());
}
