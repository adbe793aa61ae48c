#include "shell/mainwindow.h"

#include "browser/browser.h"
#include "browser/texts.h"
#include "common/keys.h"
#include "common/units.h"
#include "foldertree/foldertree.h"
#include "listview/listinteraction.h"
#include "listview/qtlistview.h"
#include "options/optionsdialog.h"
#include "platform/linkopener.h"
#include "platform/qtfontcatalogue.h"
#include "platform/screen.h"
#include "platform/thumbnailcache.h"
#include "preview/previewpane.h"
#include "preview/stretchimage.h"
#include "preview/tiledpreview.h"
#include "shell/elidedlabel.h"
#include "shell/folderscan.h"
#include "shell/listcommands.h"
#include "shell/settings.h"
#include "shell/settingskeys.h"
#include "shell/splitterbar.h"
#include "shell/statusbar.h"
#include "shell/statuswindow.h"
#include "thumbs/thumbgrid.h"
#include "thumbs/thumbstrip.h"
#include "toolbox/toolboxhost.h"
#include "wallpaper/desktopwallpapersetter.h"
#include "wallpaper/wallpapercommand.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QProgressBar>
#include <QScrollBar>
#include <QToolBar>

#include <cmath>
#include <utility>

namespace pavix::shell {

// The client area of the main window: it carries every pane, draws the preview frame and
// raises the preview's pop-up on a right press on its own surface.
class ClientArea : public QWidget {
public:
    explicit ClientArea(MainWindow *main) : QWidget(main), m_main(main) {}

protected:
    void paintEvent(QPaintEvent *) override
    {
        const Controls &c = m_main->controls();
        if (!c.previewVisible)
            return;
        QPainter p(this);
        p.setPen(palette().dark().color());
        p.drawRect(common::twipsToPixels(c.previewFrame, m_main->twipsPerPixel()).adjusted(0, 0, -1, -1));
    }
    void mousePressEvent(QMouseEvent *event) override
    {
        if (common::buttonMask(event->buttons() | event->button()) & common::ButtonRight)
            m_main->menus().popUp(PopUp::Preview)->popup(event->globalPosition().toPoint());
    }

private:
    MainWindow *m_main;
};

MainWindow::MainWindow(platform::SettingsStore &settings, platform::ShellInfo &shellInfo) : m_settings(settings)
{
    setObjectName(QStringLiteral("mainWindow"));
    setWindowTitle(browser::AppTitle);
    m_tpp = platform::screenTwipsPerPixel();
    setMinimumWidth(static_cast<int>(std::ceil(PaneLayout::minimumWidth() / m_tpp - common::FrameAllowancePx)));

    m_browser = new browser::Browser(shellInfo, m_tpp, 0, this);
    createControls();
    m_menus = new MainMenus(menuBar(), m_toolBar, this);
    createParts();
    wireParts();
    // The main window sees every key of its own controls before they do (they still get
    // it): the key table.
    qApp->installEventFilter(this);
}

MainWindow::~MainWindow()
{
    qApp->removeEventFilter(this);
    // The toolbox takes its sample back from the browser as it goes, before the browser does.
    m_toolbox->unload();
    // The list draws its icons from the browser's cache, which goes before the widgets do.
    m_list->setIcons(nullptr);
    m_list->setSmallIcons(nullptr);
}

// --- Construction ---------------------------------------------------------------------------

void MainWindow::createControls()
{
    m_client = new ClientArea(this);
    m_client->setObjectName(QStringLiteral("clientArea"));
    setCentralWidget(m_client);
    m_statusBar = std::make_unique<StatusBar>(m_client, PaneLayout::statusReservePx(m_tpp));

    m_toolBar = new QToolBar(m_client);
    m_toolBar->setObjectName(QStringLiteral("toolBar"));
    m_toolBar->setMovable(false);
    m_toolBar->setFloatable(false);
    m_toolBar->setIconSize(QSize(16, 16));
    m_toolBar->setContextMenuPolicy(Qt::PreventContextMenu);
    m_toolBar->installEventFilter(this);

    m_titleStrip = new QWidget(m_client);
    m_titleStrip->setObjectName(QStringLiteral("titleStrip"));
    m_typesLabel = new ElidedLabel(m_titleStrip);
    m_typesLabel->setObjectName(QStringLiteral("typesLabel"));
    m_imagesLabel = new QLabel(m_titleStrip);
    m_imagesLabel->setObjectName(QStringLiteral("imagesLabel"));
    m_progressBar = new QProgressBar(m_titleStrip);
    m_progressBar->setObjectName(QStringLiteral("progressBar"));
    m_progressBar->setTextVisible(false);
    m_progressBar->hide();

    m_folderTree = new foldertree::FolderTree(m_client);
    m_folderTree->setObjectName(QStringLiteral("folderTree"));

    m_list = new listview::QtListView(m_client, m_tpp);
    m_list->setObjectName(QStringLiteral("list"));

    m_thumbArea = new QWidget(m_client);
    m_thumbArea->setObjectName(QStringLiteral("thumbArea"));
    m_thumbArea->hide();
    m_thumbScrollBar = new QScrollBar(Qt::Vertical, m_thumbArea);
    m_thumbScrollBar->setObjectName(QStringLiteral("thumbScrollBar"));
    m_thumbScrollBar->setSingleStep(1);
    m_thumbScrollBar->setPageStep(7);
    m_thumbScrollBar->hide();
    m_thumbStrip = new thumbs::ThumbStrip(m_thumbArea, m_tpp);
    m_thumbStrip->setObjectName(QStringLiteral("thumbStrip"));
    m_thumbScrollBar->raise();

    m_treeSplitter = new SplitterBar(m_client, m_tpp);
    m_treeSplitter->setObjectName(QStringLiteral("treeSplitter"));
    m_previewSplitter = new SplitterBar(m_client, m_tpp);
    m_previewSplitter->setObjectName(QStringLiteral("previewSplitter"));

    m_previewImage = new preview::StretchImage(m_client);
    m_previewImage->setObjectName(QStringLiteral("previewImage"));
    m_previewImage->hide();

    m_optionsDialog = new options::OptionsDialog(*m_browser, m_settings, this, m_tpp);
    m_optionsDialog->hide();
}

void MainWindow::createParts()
{
    m_previewPane = new preview::PreviewPane(*m_browser, m_previewImage, *m_statusBar, m_client);
    m_thumbGrid = new thumbs::ThumbGrid(*m_browser, *m_statusBar,
                                        {m_thumbStrip, m_thumbScrollBar, m_thumbArea, m_progressBar, m_imagesLabel});
    m_thumbGrid->setThumbnailCache(platform::ThumbnailCache::forCurrentUser());
    m_listInteraction = new listview::ListInteraction(*m_browser, *m_statusBar, m_list);
    m_tiledPreview = new preview::TiledPreviewHost(*m_browser, this);
    m_fonts = std::make_unique<platform::QtFontCatalogue>();
    m_toolbox = new toolbox::ToolboxHost(*m_browser, *m_fonts, m_tpp, this);
    ScanParts scan;
    scan.list = m_list;
    scan.listInteraction = m_listInteraction;
    scan.grid = m_thumbGrid;
    scan.strip = m_thumbStrip;
    scan.imagesLabel = m_imagesLabel;
    scan.typesLabel = m_typesLabel;
    scan.tree = m_folderTree;
    scan.tiledPreview = m_tiledPreview;
    m_folderScan = new FolderScan(*m_browser, *m_statusBar, m_settings, scan, this);
    ListCommandParts commands;
    commands.list = m_list;
    commands.thumbArea = m_thumbArea;
    commands.thumbStrip = m_thumbStrip;
    commands.viewArrangeMenu = m_menus->viewArrangeMenu();
    commands.listSortMenu = m_menus->listSortMenu();
    commands.viewModeItems = m_menus->viewModeItems();
    commands.listViewItems = m_menus->listViewItems();
    commands.viewButtons = m_menus->viewButtons();
    m_listCommands = new ListCommands(commands, this);
    m_wallpaperSetter = std::make_unique<wallpaper::DesktopWallpaperSetter>();
    m_wallpaperCommand = new wallpaper::WallpaperCommand(*m_browser, *m_wallpaperSetter, this);
    m_linkCommands = new LinkCommands(this, m_tpp);

    PaneWidgets panes;
    panes.window = this;
    panes.client = m_client;
    panes.toolBar = m_toolBar;
    panes.titleStrip = m_titleStrip;
    panes.typesLabel = m_typesLabel;
    panes.imagesLabel = m_imagesLabel;
    panes.progressBar = m_progressBar;
    panes.tree = m_folderTree;
    panes.list = m_list;
    panes.thumbArea = m_thumbArea;
    panes.thumbScrollBar = m_thumbScrollBar;
    panes.thumbStrip = m_thumbStrip;
    panes.thumbGrid = m_thumbGrid;
    panes.previewPane = m_previewPane;
    panes.treeSplitter = m_treeSplitter;
    panes.previewSplitter = m_previewSplitter;
    panes.statusBar = m_statusBar.get();
    m_panes = new PaneLayout(panes, m_tpp);
}

void MainWindow::wireParts()
{
    connect(m_folderTree, &foldertree::FolderTree::folderChanged, this, &MainWindow::onTreeFolderChanged);
    connect(m_folderTree, &foldertree::FolderTree::mouseDown, this, [this](int button, int) {
        if (button & common::ButtonRight)
            popUp(PopUp::Tree);
    });
    connect(m_menus, &MainMenus::commandChosen, this, &MainWindow::run);
    connect(m_optionsDialog, &options::OptionsDialog::typesApplied, m_folderScan, &FolderScan::rescanForTypes);
    connect(m_wallpaperCommand, &wallpaper::WallpaperCommand::listedFolderChanged, m_folderScan, &FolderScan::refresh);

    // The parts ask; the window has the menus and the tiled window.
    connect(m_previewPane, &preview::PreviewPane::wallpaperMenuRequested, this, [this] { popUp(PopUp::Wallpaper); });
    connect(m_thumbGrid, &thumbs::ThumbGrid::wallpaperMenuRequested, this, [this] { popUp(PopUp::Wallpaper); });
    connect(m_listInteraction, &listview::ListInteraction::listMenuRequested, this, [this] { popUp(PopUp::List); });
    connect(m_thumbGrid, &thumbs::ThumbGrid::areaMenuRequested, this, [this] {
        popUp(PopUp::List);
        // Sorting orders the list only; the grid keeps the order of the listing.
        m_menus->listSortMenu()->setEnabled(false);
    });
    auto showTiled = [this] { m_tiledPreview->show(); };
    connect(m_previewPane, &preview::PreviewPane::tiledPreviewRequested, this, showTiled);
    connect(m_thumbGrid, &thumbs::ThumbGrid::tiledPreviewRequested, this, showTiled);
    connect(m_listInteraction, &listview::ListInteraction::tiledPreviewRequested, this, showTiled);
    connect(m_thumbGrid, &thumbs::ThumbGrid::selectionClearedByClick, m_listInteraction,
            &listview::ListInteraction::resetHint);
    // F2 on the tiled window and its placing of the sample both end in the toolbox.
    connect(m_tiledPreview, &preview::TiledPreviewHost::toolboxRequested, this, &MainWindow::showToolbox);
    connect(m_tiledPreview, &preview::TiledPreviewHost::sampleShown, this, &MainWindow::showToolbox);
    // Closing the tiled window gives the focus back to the file area.
    connect(m_tiledPreview, &preview::TiledPreviewHost::focusReturned, this, [this] {
        QWidget *target = m_list->isVisible() ? static_cast<QWidget *>(m_list) : m_thumbStrip;
        activateWindow();
        target->setFocus(Qt::OtherFocusReason);
    });
}

bool MainWindow::isFirstDelivery(QObject *watched, QEvent *event)
{
    // A key press reaches the focused control first and then, while ignored, each of its
    // parents, all within one event. Every key press is announced by a shortcut-override
    // event first, so the first widget it reaches after one is its first delivery. A
    // command's dialog can move the focus away before the key goes on to the parents;
    // counting deliveries, not focus, keeps the key from running the command twice.
    if (event->type() == QEvent::ShortcutOverride) {
        m_keyAnnounced = true;
        return false;
    }
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType())
        return false;
    return std::exchange(m_keyAnnounced, false) && static_cast<QWidget *>(watched)->window() == this;
}

// --- Commands -------------------------------------------------------------------------------

void MainWindow::run(Command command)
{
    if (const std::optional<int> mode = viewModeOfCommand(command)) {
        m_listCommands->setViewMode(*mode);
        return;
    }
    switch (command) {
    case Command::OpenFolder:
        m_folderScan->browseFolder(m_folderTree->selectedFolder());
        break;
    case Command::Exit:
        close();
        break;
    case Command::ToggleToolBar:
        toggleToolBar();
        break;
    case Command::ToggleStatusBar:
        toggleStatusBar();
        break;
    case Command::ToggleFolderTree:
        toggleFolderTree();
        break;
    case Command::TogglePreview:
        togglePreview();
        break;
    case Command::Refresh:
        m_folderScan->refresh();
        break;
    case Command::OptionsModal:
        m_optionsDialog->showCentred(true);
        break;
    case Command::OptionsModeless:
        m_optionsDialog->showCentred(false);
        break;
    case Command::HelpContents:
        m_linkCommands->showHelp();
        break;
    case Command::MusicPage:
        m_linkCommands->openLink(links().musicPage);
        break;
    case Command::WebPage:
        m_linkCommands->openLink(links().homePage);
        break;
    case Command::About:
        m_linkCommands->showAbout();
        break;
    case Command::Toolbox:
        showToolbox();
        break;
    case Command::Wallpaper:
        setWallpaper();
        break;
    default:
        break;
    }
}

void MainWindow::setUnopenedReporter(std::function<void(const QString &)> reporter)
{
    m_linkCommands->setUnopenedReporter(std::move(reporter));
}

void MainWindow::setLinkOpener(std::unique_ptr<platform::LinkOpener> opener)
{
    m_linkCommands->setLinkOpener(std::move(opener));
}

StatusWindow *MainWindow::statusWindow() const
{
    return m_statusBar->window();
}

QAction *MainWindow::menuItem(const QString &name) const
{
    return findChild<QAction *>(name);
}

QMenu *MainWindow::menu(const QString &name) const
{
    return findChild<QMenu *>(name);
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (isFirstDelivery(watched, event)) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (const std::optional<Command> command =
                commandForKey(common::virtualKeyCode(key->key(), key->modifiers()),
                              common::shiftMask(key->modifiers())))
            run(*command);
        // Not consumed: the focused control gets the key as well.
        return false;
    }
    // A right press on the tool bar offers "Hide Toolbar".
    if (watched == m_toolBar && event->type() == QEvent::MouseButtonPress) {
        auto *me = static_cast<QMouseEvent *>(event);
        if (common::buttonMask(me->buttons() | me->button()) & common::ButtonRight) {
            popUp(PopUp::ToolBar);
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::registerLoadedWindow(QWidget *window)
{
    m_loadedWindows.emplace_back(window);
}

void MainWindow::setWallpaper()
{
    m_wallpaperCommand->run();
}

void MainWindow::popUp(QMenu *menu)
{
    menu->exec(QCursor::pos());
}

void MainWindow::popUp(PopUp popUp)
{
    this->popUp(m_menus->popUp(popUp));
}

// --- Layout and panes -----------------------------------------------------------------------

void MainWindow::setTypesCaption(const QString &text)
{
    // The label ends where the image count begins.
    m_typesLabel->setFullText(text);
}

void MainWindow::toggleHeaderHotTrack()
{
    m_list->setHeaderHotTrack(!m_list->headerHotTrack());
}

void MainWindow::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    m_panes->handleResize();
}

void MainWindow::applySettings(const WindowSettings &settings)
{
    m_menus->paneItem(Pane::ToolBar)->setChecked(settings.toolBarShown);
    m_menus->paneItem(Pane::StatusBar)->setChecked(settings.statusBarShown);
    m_menus->paneItem(Pane::Tree)->setChecked(settings.treeShown);
    m_menus->paneItem(Pane::Preview)->setChecked(settings.previewShown);
    if (settings.statusBarShown)
        m_statusBar->create();
    m_panes->setPaneFlags(settings.toolBarShown, settings.treeShown, settings.previewShown);
    m_tiledPreview->setPlace(settings.tiledWindow);
    if (settings.toolboxCorner)
        m_toolbox->setCorner(*settings.toolboxCorner);
}

void MainWindow::storePaneFlag(const QString &key, bool shown)
{
    // Written through at once: a run that ends without closing the window keeps it.
    writeTruth(m_settings, SectionSettings, key, shown);
    m_settings.sync();
}

void MainWindow::toggleToolBar()
{
    QAction *item = m_menus->paneItem(Pane::ToolBar);
    item->setChecked(!item->isChecked());
    m_toolBar->setVisible(item->isChecked());
    storePaneFlag(KeyToolBarShown, !m_toolBar->isHidden());
    m_panes->sizeControls();
}

void MainWindow::toggleStatusBar()
{
    QAction *item = m_menus->paneItem(Pane::StatusBar);
    item->setChecked(!item->isChecked());
    if (item->isChecked()) {
        m_statusBar->create();
        if (!m_browser->currentFile().isEmpty())
            m_previewPane->showFileInfo();
    } else {
        m_statusBar->destroy();
    }
    storePaneFlag(KeyStatusBarShown, item->isChecked());
    m_panes->sizeControls();
}

void MainWindow::toggleFolderTree()
{
    setSidePaneShown(SidePane::Tree, !m_menus->paneItem(Pane::Tree)->isChecked());
}

void MainWindow::togglePreview()
{
    setSidePaneShown(SidePane::Preview, !m_menus->paneItem(Pane::Preview)->isChecked());
}

void MainWindow::setSidePaneShown(SidePane pane, bool shown)
{
    const bool tree = pane == SidePane::Tree;
    m_menus->paneItem(tree ? Pane::Tree : Pane::Preview)->setChecked(shown);
    storePaneFlag(tree ? KeyTreeShown : KeyPreviewShown, shown);
    m_panes->setSidePaneShown(pane, shown);
}

// --- Folders --------------------------------------------------------------------------------

void MainWindow::holdTreeNotifications(bool hold)
{
    m_holdTree = hold;
    if (!hold && m_treePending) {
        m_treePending = false;
        m_folderScan->scanTreeFolder();
    }
}

void MainWindow::onTreeFolderChanged()
{
    if (m_holdTree)
        m_treePending = true;
    else
        m_folderScan->scanTreeFolder();
}

// --- Font toolbox ---------------------------------------------------------------------------

void MainWindow::showToolbox()
{
    m_toolbox->show();
}

// --- Shutdown -------------------------------------------------------------------------------

void MainWindow::closeEvent(QCloseEvent *event)
{
    storeSettingsAndCloseWindows();
    event->accept();
}

WindowSettings MainWindow::currentSettings() const
{
    WindowSettings w;
    if (!isMinimized()) {
        const QRect frame = frameGeometry();
        w.mainPlace = MainWindowPlace{common::toSingle(frame.x() * m_tpp), common::toSingle(frame.y() * m_tpp),
                                      common::toSingle(outerWidthTwips()), common::toSingle(outerHeightTwips())};
    }
    w.folder = m_folderTree->selectedFolder();
    w.listLayout = static_cast<std::int32_t>(m_list->view());
    w.toolBarShown = !m_toolBar->isHidden();
    w.statusBarShown = m_menus->paneItem(Pane::StatusBar)->isChecked();
    w.treeShown = controls().treeVisible;
    w.previewShown = controls().previewVisible;
    w.treeSplitterLeft = splitters().treeSplitterLeft;
    w.previewSplitterLeft = splitters().previewSplitterLeft;
    w.tiledWindow = m_tiledPreview->place();
    w.toolboxCorner = m_toolbox->cornerToStore();
    return w;
}

void MainWindow::storeSettingsAndCloseWindows()
{
    if (m_closed)
        return;
    m_closed = true;
    // An open tiled preview window records its place as it closes: close it before its
    // place is stored, so the place of this run is the one kept.
    m_tiledPreview->close();
    currentSettings().store(m_settings);
    // Every other loaded window, newest first.
    for (auto it = m_loadedWindows.rbegin(); it != m_loadedWindows.rend(); ++it)
        if (*it)
            (*it)->close();
    m_toolbox->unload();
    m_optionsDialog->close();
}

} // namespace pavix::shell
