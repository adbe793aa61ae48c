#include "shell/mainwindow.h"

#include "browser/browser.h"
#include "browser/texts.h"
#include "catalogue/typepatterns.h"
#include "common/keys.h"
#include "common/units.h"
#include "foldertree/foldertree.h"
#include "listview/listinteraction.h"
#include "listview/qtlistview.h"
#include "options/optionsdialog.h"
#include "platform/busyscope.h"
#include "platform/linkopener.h"
#include "platform/qtfontcatalogue.h"
#include "platform/screen.h"
#include "platform/thumbnailcache.h"
#include "preview/previewpane.h"
#include "preview/stretchimage.h"
#include "preview/tiledpreview.h"
#include "shell/accessibility.h"
#include "shell/clientarea.h"
#include "shell/elidedlabel.h"
#include "shell/folderchooser.h"
#include "shell/folderscan.h"
#include "shell/keyrouter.h"
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
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QProgressBar>
#include <QScrollBar>
#include <QToolBar>
#include <QWindow>

#include <cmath>
#include <utility>

namespace pavix::shell {

MainWindow::MainWindow(platform::SettingsStore &settings, platform::ShellInfo &shellInfo, FolderChooser *folderChooser)
    : m_settings(settings)
{
    setObjectName(QStringLiteral("mainWindow"));
    setWindowTitle(browser::AppTitle);
    m_tpp = platform::screenTwipsPerPixel();
    setMinimumWidth(static_cast<int>(std::ceil(PaneLayout::minimumWidth() / m_tpp - common::FrameAllowancePx)));

    m_browser = new browser::Browser(shellInfo, m_tpp, 0, this);
    if (!folderChooser) {
        m_dialogFolderChooser = std::make_unique<DialogFolderChooser>(this);
        folderChooser = m_dialogFolderChooser.get();
    }
    m_folderChooser = folderChooser;
    createControls();
    m_menus = new MainMenus(menuBar(), m_toolBar, this);
    createParts();
    wireParts();
    makeAccessible(this, *m_browser);
    // The main window sees every key of its own controls before they do (they still get
    // it): the key table.
    connect(new KeyRouter(this), &KeyRouter::commandPressed, this, &MainWindow::run);
    platform::BusyScope::setInputAtOnce(this, [this](QObject *window, QEvent *event) {
        return isAnsweredDuringWork(window, event);
    });
}

MainWindow::~MainWindow()
{
    // The toolbox takes its sample back from the browser as it goes, before the browser does.
    m_toolbox->unload();
    // The list draws its icons from the browser's cache, which goes before the widgets do.
    m_list->setIcons(nullptr);
    m_list->setSmallIcons(nullptr);
}

// --- Construction ---------------------------------------------------------------------------

namespace {

// The widget, named for style sheets, accessibility tools and anything that looks it up.
template <typename W>
W *named(W *widget, const char *name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

} // namespace

void MainWindow::createControls()
{
    m_client = named(new ClientArea(this, m_tpp), "clientArea");
    setCentralWidget(m_client);
    m_statusBar = std::make_unique<StatusBar>(m_client, PaneLayout::statusReservePx(m_tpp));

    m_toolBar = named(new QToolBar(m_client), "toolBar");
    m_toolBar->setMovable(false);
    m_toolBar->setFloatable(false);
    m_toolBar->setIconSize(QSize(16, 16));
    m_toolBar->setContextMenuPolicy(Qt::PreventContextMenu);

    m_titleStrip = named(new QWidget(m_client), "titleStrip");
    m_typesLabel = named(new ElidedLabel(m_titleStrip), "typesLabel");
    m_imagesLabel = named(new QLabel(m_titleStrip), "imagesLabel");
    m_progressBar = named(new QProgressBar(m_titleStrip), "progressBar");
    m_progressBar->setTextVisible(false);
    m_progressBar->hide();

    m_folderTree = named(new foldertree::FolderTree(m_client), "folderTree");
    m_list = named(new listview::QtListView(m_client, m_tpp), "list");
    m_thumbArea = named(new QWidget(m_client), "thumbArea");
    m_thumbArea->hide();
    m_thumbScrollBar = named(new QScrollBar(Qt::Vertical, m_thumbArea), "thumbScrollBar");
    m_thumbScrollBar->setSingleStep(1);
    m_thumbScrollBar->setPageStep(7);
    m_thumbScrollBar->hide();
    m_thumbStrip = named(new thumbs::ThumbStrip(m_thumbArea, m_tpp), "thumbStrip");
    m_thumbScrollBar->raise();

    m_treeSplitter = named(new SplitterBar(m_client, m_tpp), "treeSplitter");
    m_previewSplitter = named(new SplitterBar(m_client, m_tpp), "previewSplitter");
    m_previewImage = named(new preview::StretchImage(m_client), "previewImage");
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
    ScanParts scan{.listInteraction = m_listInteraction,
                   .grid = m_thumbGrid,
                   .strip = m_thumbStrip,
                   .imagesLabel = m_imagesLabel,
                   .tree = m_folderTree};
    m_folderScan = new FolderScan(*m_browser, *m_statusBar, m_settings, *m_folderChooser, scan, this);
    ListCommandParts commands{.list = m_list,
                              .thumbArea = m_thumbArea,
                              .thumbStrip = m_thumbStrip,
                              .viewArrangeMenu = m_menus->viewArrangeMenu(),
                              .listSortMenu = m_menus->listSortMenu(),
                              .viewModeItems = m_menus->viewModeItems(),
                              .listViewItems = m_menus->listViewItems(),
                              .viewButtons = m_menus->viewButtons()};
    m_listCommands = new ListCommands(commands, this);
    m_wallpaperSetter = std::make_unique<wallpaper::DesktopWallpaperSetter>();
    m_wallpaperCommand = new wallpaper::WallpaperCommand(*m_browser, *m_wallpaperSetter, this);
    m_linkCommands = new LinkCommands(this, m_tpp);

    PaneWidgets panes{.window = this,
                      .client = m_client,
                      .toolBar = m_toolBar,
                      .titleStrip = m_titleStrip,
                      .typesLabel = m_typesLabel,
                      .imagesLabel = m_imagesLabel,
                      .progressBar = m_progressBar,
                      .tree = m_folderTree,
                      .list = m_list,
                      .thumbArea = m_thumbArea,
                      .thumbScrollBar = m_thumbScrollBar,
                      .thumbStrip = m_thumbStrip,
                      .thumbGrid = m_thumbGrid,
                      .previewPane = m_previewPane,
                      .treeSplitter = m_treeSplitter,
                      .previewSplitter = m_previewSplitter,
                      .statusBar = m_statusBar.get()};
    for (Pane pane : {Pane::ToolBar, Pane::StatusBar, Pane::Tree, Pane::Preview})
        panes.paneItems[static_cast<size_t>(pane)] = m_menus->paneItem(pane);
    m_panes = new PaneLayout(panes, m_settings, m_tpp);
}

void MainWindow::wireParts()
{
    connect(m_folderTree, &foldertree::FolderTree::folderChanged, m_folderScan, &FolderScan::treeFolderChanged);
    connect(m_folderTree, &foldertree::FolderTree::mouseDown, this, [this](int button, int) {
        if (button & common::ButtonRight)
            m_menus->showPopUp(PopUp::Tree);
    });
    connect(m_menus, &MainMenus::commandChosen, this, &MainWindow::run);
    connect(m_client, &ClientArea::surfaceMenuRequested, this,
            [this](QPoint at) { m_menus->popUp(PopUp::Preview)->popup(at); });
    // A status line switched on shows the selected file's information at once.
    connect(m_panes, &PaneLayout::statusBarCreated, this, [this] {
        if (!m_browser->currentFile().isEmpty())
            m_previewPane->showFileInfo();
    });
    // The title strip says what is searched for, and the tiled window shows a picture of the
    // folder listed: another folder closes it.
    connect(m_browser, &browser::Browser::patternsChanged, this, &MainWindow::showTypesCaption);
    connect(m_browser, &browser::Browser::folderChanged, m_tiledPreview, &preview::TiledPreviewHost::unloadIfVisible);
    connect(m_optionsDialog, &options::OptionsDialog::typesApplied, m_folderScan, &FolderScan::rescanForTypes);
    connect(m_wallpaperCommand, &wallpaper::WallpaperCommand::listedFolderChanged, m_folderScan, &FolderScan::refresh);

    // The parts ask; the window has the menus and the tiled window.
    connect(m_previewPane, &preview::PreviewPane::wallpaperMenuRequested, this,
            [this] { m_menus->showPopUp(PopUp::Wallpaper); });
    connect(m_thumbGrid, &thumbs::ThumbGrid::wallpaperMenuRequested, this,
            [this] { m_menus->showPopUp(PopUp::Wallpaper); });
    connect(m_listInteraction, &listview::ListInteraction::listMenuRequested, this,
            [this] { m_menus->showPopUp(PopUp::List); });
    connect(m_thumbGrid, &thumbs::ThumbGrid::areaMenuRequested, this, [this] {
        m_menus->showPopUp(PopUp::List);
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

// --- Commands -------------------------------------------------------------------------------

bool MainWindow::isAnsweredDuringWork(const QObject *window, const QEvent *event) const
{
    // An open menu takes its keys and clicks.
    if (QApplication::activePopupWidget())
        return true;
    if (window != windowHandle())
        return false;
    switch (event->type()) {
    case QEvent::ShortcutOverride:
    case QEvent::KeyPress:
        return KeyRouter::commandOf(*static_cast<const QKeyEvent *>(event)) == Command::Exit;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseMove: {
        const QMenuBar *bar = menuBar();
        const QPoint at = bar->mapFrom(this, static_cast<const QMouseEvent *>(event)->position().toPoint());
        return bar->isVisible() && bar->rect().contains(at);
    }
    default:
        return false;
    }
}

void MainWindow::run(Command command)
{
    // A menu item chosen during a grid build, a scan or a picture read runs once that work is
    // over, unless the window has closed meanwhile; Exit closes at once.
    if (platform::BusyScope::isBusy() && command != Command::Exit) {
        platform::BusyScope::afterwards(this, [this, command] {
            if (isVisible())
                run(command);
        });
        return;
    }
    if (const std::optional<int> mode = viewModeOfCommand(command)) {
        m_listCommands->setViewMode(*mode);
        return;
    }
    if (m_linkCommands->run(command) || m_panes->run(command))
        return;
    switch (command) {
    case Command::OpenFolder:
        m_folderScan->browseFolder(m_folderTree->selectedFolder());
        break;
    case Command::Exit:
        close();
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

void MainWindow::setLinkOpener(std::unique_ptr<platform::LinkOpener> opener)
{
    m_linkCommands->setLinkOpener(std::move(opener));
}

StatusWindow *MainWindow::statusWindow() const
{
    return m_statusBar->window();
}

void MainWindow::registerLoadedWindow(QWidget *window)
{
    m_loadedWindows.emplace_back(window);
}

void MainWindow::setWallpaper()
{
    m_wallpaperCommand->run();
}

// --- Layout and panes -----------------------------------------------------------------------

void MainWindow::showTypesCaption()
{
    // The label ends where the image count begins.
    m_typesLabel->setFullText(catalogue::searchingText(m_browser->typeTexts()));
}

void MainWindow::toggleHeaderHotTrack()
{
    m_list->setHeaderHotTrack(!m_list->headerHotTrack());
}

void MainWindow::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    m_panes->windowResized();
}

void MainWindow::applySettings(const WindowSettings &settings)
{
    m_appliedSettings = settings;
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

// --- Font toolbox ---------------------------------------------------------------------------

void MainWindow::showToolbox()
{
    m_toolbox->show();
}

// --- Shutdown -------------------------------------------------------------------------------

void MainWindow::closeEvent(QCloseEvent *event)
{
    // A close during a grid build ends the build at its next cell. The build's end shows its
    // labels again, which takes back the quit Qt posts when the last window closes; Pavix
    // quits itself once the build is over.
    if (platform::BusyScope::isBusy()) {
        platform::BusyScope::requestStop();
        platform::BusyScope::afterwards(this, [] { QApplication::quit(); });
    }
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

void MainWindow::storeSettings()
{
    WindowSettings settings = currentSettings();
    // A Wayland window's corner is where the compositor put it, not where the user did.
    if (platform::drawsOnWayland())
        settings.keepCornersOf(m_appliedSettings);
    settings.store(m_settings);
}

void MainWindow::storeSettingsAndCloseWindows()
{
    if (m_closed)
        return;
    m_closed = true;
    // An open tiled preview window records its place as it closes: close it before its
    // place is stored, so the place of this run is the one kept.
    m_tiledPreview->close();
    storeSettings();
    // Every other loaded window, newest first.
    for (auto it = m_loadedWindows.rbegin(); it != m_loadedWindows.rend(); ++it)
        if (*it)
            (*it)->close();
    m_toolbox->unload();
    m_optionsDialog->close();
}

} // namespace pavix::shell
