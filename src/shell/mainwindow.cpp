#include "shell/mainwindow.h"

#include "about/aboutbox.h"
#include "browser/browser.h"
#include "browser/texts.h"
#include "common/keys.h"
#include "common/units.h"
#include "listview/listinteraction.h"
#include "listview/viewmode.h"
#include "options/optionsdialog.h"
#include "platform/linkopener.h"
#include "platform/qtfontcatalogue.h"
#include "platform/screen.h"
#include "platform/thumbnailcache.h"
#include "listview/qtlistview.h"
#include "preview/previewpane.h"
#include "preview/stretchimage.h"
#include "preview/tiledpreview.h"
#include "shell/commandtable.h"
#include "shell/elidedlabel.h"
#include "shell/folderscan.h"
#include "foldertree/foldertree.h"
#include "shell/listcommands.h"
#include "shell/menuclick.h"
#include "shell/settingskeys.h"
#include "shell/settings.h"
#include "shell/splitterbar.h"
#include "shell/splittermath.h"
#include "shell/statusbar.h"
#include "shell/statuswindow.h"
#include "shell/toolbarimages.h"
#include "thumbs/thumbgrid.h"
#include "thumbs/thumbstrip.h"
#include "toolbox/toolboxhost.h"
#include "wallpaper/desktopwallpapersetter.h"
#include "wallpaper/wallpapercommand.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QProgressBar>
#include <QScreen>
#include <QScrollBar>
#include <QToolBar>

#include <algorithm>
#include <utility>
#include <cmath>

namespace pavix::shell {

using common::twipsToPixels;

namespace {

inline constexpr double MinimumWidth = 3100;
inline constexpr double ToolBarDesignHeight = 360;
inline constexpr double TitleStripHeight = 280;
inline constexpr double ImagesLabelLeft = 3225;
inline constexpr double ThumbScrollBarWidth = 240;
inline constexpr double SplitterWidth = 90;
inline constexpr double ThumbScrollBarTop = 17;
inline constexpr double StatusReserve = 300;

QWidget *ghostBar(QWidget *parent, const char *name)
{
    auto *bar = new QWidget(parent);
    bar->setObjectName(QLatin1String(name));
    bar->setAutoFillBackground(true);
    QPalette pal = bar->palette();
    pal.setColor(QPalette::Window, pal.color(QPalette::Light).darker(115));
    bar->setPalette(pal);
    bar->hide();
    return bar;
}

} // namespace

// The client area of the main window: it carries every pane, draws the preview frame and
// raises the "Hide Preview" pop-up on a right press on its own surface.
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
        p.drawRect(twipsToPixels(c.previewFrame, m_main->twipsPerPixel()).adjusted(0, 0, -1, -1));
    }
    void mousePressEvent(QMouseEvent *event) override
    {
        if (common::buttonMask(event->buttons() | event->button()) & common::ButtonRight)
            m_main->m_previewMenu->popup(event->globalPosition().toPoint());
    }

private:
    MainWindow *m_main;
};

MainWindow::MainWindow(platform::SettingsStore &settings, platform::ShellInfo &shellInfo) : m_settings(settings)
{
    setObjectName(QStringLiteral("mainWindow"));
    setWindowTitle(browser::AppTitle);
    m_tpp = platform::screenTwipsPerPixel();
    setMinimumWidth(static_cast<int>(std::ceil(MinimumWidth / m_tpp - common::FrameAllowancePx)));

    // Sizes the controls have from their design, before any layout pass.
    m_controls.treeSplitter.width = SplitterWidth;
    m_controls.previewSplitter.width = SplitterWidth;
    m_controls.thumbScrollBar.top = ThumbScrollBarTop / common::TwipsPerCm;
    m_controls.thumbScrollBar.width = ThumbScrollBarWidth / common::TwipsPerCm;
    m_controls.imagesLabel.left = ImagesLabelLeft;
    m_controls.progressBar.left = ImagesLabelLeft;

    m_browser = new browser::Browser(shellInfo, m_tpp, 0, this);
    createControls();
    createMenus();
    createToolBar();
    createParts();
    wireParts();
    m_linkOpener = std::make_unique<platform::DesktopLinkOpener>();
    m_reportUnopened = [this](const QString &text) {
        QMessageBox::warning(this, browser::AppTitle, text, QMessageBox::Ok);
    };
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
    m_statusBar = std::make_unique<StatusBar>(m_client, std::max(1, static_cast<int>(StatusReserve / m_tpp)));

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
    m_treeGhost = ghostBar(m_client, "treeGhost");
    m_previewGhost = ghostBar(m_client, "previewGhost");

    m_previewImage = new preview::StretchImage(m_client);
    m_previewImage->setObjectName(QStringLiteral("previewImage"));
    m_previewImage->hide();

    m_optionsDialog = new options::OptionsDialog(*m_browser, m_settings, this, m_tpp);
    m_optionsDialog->hide();
}

void MainWindow::createMenus()
{
    auto named = [](auto *item, const char *name) {
        item->setObjectName(QLatin1String(name));
        return item;
    };
    // A menu item that runs a command; its caption shows the shortcut text in the menu's
    // shortcut column, while the key itself is the key table's.
    auto commandItem = [this, named](QMenu *menu, const char *caption, const char *name, Command command) {
        QAction *item = named(menu->addAction(menuCaption(QString::fromLatin1(caption))), name);
        connect(item, &QAction::triggered, this, [this, command] { run(command); });
        return item;
    };
    QMenu *file = named(menuBar()->addMenu(QStringLiteral("File")), "fileMenu");
    commandItem(file, "&Open             Ctl+ O", "openItem", Command::OpenFolder);
    commandItem(file, "&Wallpaper      Ctl+ W", "fileWallpaperItem", Command::Wallpaper);
    file->addSeparator();
    commandItem(file, "Exit                Alt+ X", "exitItem", Command::Exit);

    QMenu *view = named(menuBar()->addMenu(QStringLiteral("View")), "viewMenu");
    auto checkItem = [&](const char *caption, const char *name, void (MainWindow::*toggle)()) {
        QAction *item = named(view->addAction(menuCaption(QString::fromLatin1(caption))), name);
        item->setCheckable(true);
        item->setChecked(true);
        connectClick(item, this, [this, toggle] { (this->*toggle)(); });
        return item;
    };
    m_toolBarItem = checkItem("Toolbar               Ctl+ T", "toolBarItem", &MainWindow::toggleToolBar);
    m_statusBarItem = checkItem("Status Bar          Ctl+ S", "statusBarItem", &MainWindow::toggleStatusBar);
    m_treeItem = checkItem("Folders tree        Ctl+ F", "folderTreeItem", &MainWindow::toggleFolderTree);
    m_previewItem = checkItem("Preview              Ctl+ P", "previewItem", &MainWindow::togglePreview);
    view->addSeparator();
    for (int i = 0; i < 5; ++i) {
        QAction *item = view->addAction(menuCaption(listview::listViewModeCaption(i)));
        item->setObjectName(QStringLiteral("viewModeItem%1").arg(i));
        item->setCheckable(true);
        m_viewModeItems[static_cast<size_t>(i)] = item;
    }
    view->addSeparator();
    // Filled by the list commands (sorting).
    m_viewArrangeMenu = named(view->addMenu(QStringLiteral("Arrange Icons")), "viewArrangeMenu");
    view->addSeparator();
    commandItem(view, "Refresh              F5", "refreshItem", Command::Refresh);

    QMenu *tools = named(menuBar()->addMenu(QStringLiteral("Tools")), "toolsMenu");
    commandItem(tools, "Toolbox         F2", "toolboxItem", Command::Toolbox);
    tools->addSeparator();
    commandItem(tools, "Options         F3", "optionsItem", Command::OptionsModal);

    QMenu *help = named(menuBar()->addMenu(QStringLiteral("Help")), "helpMenu");
    commandItem(help, "Contents          F1", "helpContentsItem", Command::HelpContents);
    commandItem(help, "Mp3", "musicPageItem", Command::MusicPage);
    commandItem(help, "Web page       Ctl+ I", "webPageItem", Command::WebPage);
    help->addSeparator();
    commandItem(help, "About", "aboutItem", Command::About);

    // Pop-up menus that never show in the menu bar.
    m_previewMenu = named(new QMenu(QStringLiteral("Pv"), this), "previewMenu");
    QAction *hidePreview = named(m_previewMenu->addAction(QStringLiteral("Hide Preview")), "hidePreviewItem");
    connect(hidePreview, &QAction::triggered, this, &MainWindow::togglePreview);
    m_toolBarMenu = named(new QMenu(QStringLiteral("Tb"), this), "toolBarMenu");
    QAction *hideToolBar = named(m_toolBarMenu->addAction(QStringLiteral("Hide Toolbar")), "hideToolBarItem");
    connect(hideToolBar, &QAction::triggered, this, &MainWindow::toggleToolBar);
    m_treeMenu = named(new QMenu(QStringLiteral("Tv"), this), "treeMenu");
    QAction *hideTree = named(m_treeMenu->addAction(QStringLiteral("Hide Folders Tree")), "hideTreeItem");
    connect(hideTree, &QAction::triggered, this, &MainWindow::toggleFolderTree);
    m_wallpaperMenu = named(new QMenu(QStringLiteral("Wall"), this), "wallpaperMenu");
    named(m_wallpaperMenu->addAction(QStringLiteral("Set Wallpaper")), "wallpaperItem");

    m_listMenu = named(new QMenu(QStringLiteral("Lv"), this), "listMenu");
    commandItem(m_listMenu, "Refresh", "listRefreshItem", Command::Refresh);
    m_listMenu->addSeparator();
    QMenu *listView = named(m_listMenu->addMenu(QStringLiteral("View")), "listViewMenu");
    for (int i = 0; i < 5; ++i) {
        QAction *item = listView->addAction(listview::iconsMenuCaption(i));
        item->setObjectName(QStringLiteral("listViewItem%1").arg(i));
        item->setCheckable(true);
        m_listViewItems[static_cast<size_t>(i)] = item;
    }
    m_listMenu->addSeparator();
    // Filled by the list commands (sorting).
    m_listSortMenu = named(m_listMenu->addMenu(QStringLiteral("Arrange icons")), "listSortMenu");
}

void MainWindow::createToolBar()
{
    m_viewButtons = new QActionGroup(this);
    m_viewButtons->setExclusive(true);
    struct Button {
        const char *key;
        const char *tip;
        int image;
        bool group;
    };
    static const Button buttons[] = {
        {"Open", "Open", 1, false},
        {nullptr, nullptr, 0, false},
        {"View Thumbnails", "View Thumbnails", 2, true},
        {"View Large Icons", "Large Icons", 3, true},
        {"View Small Icons", "Small Icons", 4, true},
        {"View List", "List", 5, true},
        {"View Details", "Details", 6, true},
        {nullptr, nullptr, 0, false},
        {"Toolbox", "Toolbox", 7, false},
        {"Options", "Options", 8, false},
        {nullptr, nullptr, 0, false},
        {"Help", "Help", 9, false},
        {"About", "About", 10, false},
    };
    for (const Button &b : buttons) {
        if (!b.key) {
            m_toolBar->addSeparator();
            continue;
        }
        QAction *a = m_toolBar->addAction(QIcon(QPixmap::fromImage(toolbarImage(b.image, 32))),
                                          QString::fromLatin1(b.tip));
        a->setObjectName(QString::fromLatin1(b.key));
        a->setData(QString::fromLatin1(b.key));
        if (b.group) {
            a->setCheckable(true);
            m_viewButtons->addAction(a);
        }
        // The button's key chooses the command; the view group has already pressed the
        // button, and the view command presses it too.
        connect(a, &QAction::triggered, this, [this, a] {
            if (const std::optional<Command> command = commandForToolButton(a->data().toString()))
                run(*command);
        });
    }
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
    commands.viewArrangeMenu = m_viewArrangeMenu;
    commands.listSortMenu = m_listSortMenu;
    commands.viewModeItems = m_viewModeItems;
    commands.listViewItems = m_listViewItems;
    commands.viewButtons = m_viewButtons;
    m_listCommands = new ListCommands(commands, this);
    m_wallpaperSetter = std::make_unique<wallpaper::DesktopWallpaperSetter>();
    m_wallpaperCommand = new wallpaper::WallpaperCommand(*m_browser, *m_wallpaperSetter, this);
}

void MainWindow::wireParts()
{
    connect(m_folderTree, &foldertree::FolderTree::folderChanged, this, &MainWindow::onTreeFolderChanged);
    connect(m_folderTree, &foldertree::FolderTree::mouseDown, this, [this](int button, int) {
        if (button & common::ButtonRight)
            popUp(m_treeMenu);
    });
    connect(m_optionsDialog, &options::OptionsDialog::typesApplied, m_folderScan, &FolderScan::rescanForTypes);
    connect(menuItem(QStringLiteral("wallpaperItem")), &QAction::triggered, this, &MainWindow::setWallpaper);
    connect(m_wallpaperCommand, &wallpaper::WallpaperCommand::listedFolderChanged, m_folderScan, &FolderScan::refresh);

    connect(m_treeSplitter, &SplitterBar::mouseDown, this,
            [this] { startSplitterDrag(m_treeGhost, m_controls.treeSplitter); });
    connect(m_previewSplitter, &SplitterBar::mouseDown, this,
            [this] { startSplitterDrag(m_previewGhost, m_controls.previewSplitter); });
    connect(m_treeSplitter, &SplitterBar::mouseMove, this,
            [this](int, int, double x) { moveSplitterGhost(m_treeGhost, m_controls.treeSplitter, x); });
    connect(m_previewSplitter, &SplitterBar::mouseMove, this,
            [this](int, int, double x) { moveSplitterGhost(m_previewGhost, m_controls.previewSplitter, x); });
    connect(m_treeSplitter, &SplitterBar::mouseUp, this, &MainWindow::releaseTreeSplitter);
    connect(m_previewSplitter, &SplitterBar::mouseUp, this, &MainWindow::releasePreviewSplitter);

    // The parts ask; the window has the menus and the tiled window.
    connect(m_previewPane, &preview::PreviewPane::wallpaperMenuRequested, this, [this] { popUp(m_wallpaperMenu); });
    connect(m_thumbGrid, &thumbs::ThumbGrid::wallpaperMenuRequested, this, [this] { popUp(m_wallpaperMenu); });
    connect(m_listInteraction, &listview::ListInteraction::listMenuRequested, this, [this] { popUp(m_listMenu); });
    connect(m_thumbGrid, &thumbs::ThumbGrid::areaMenuRequested, this, [this] {
        popUp(m_listMenu);
        // Sorting orders the list only; the grid keeps the order of the listing.
        m_listSortMenu->setEnabled(false);
    });
    auto showTiled = [this] { m_tiledPreview->show(); };
    connect(m_previewPane, &preview::PreviewPane::tiledPreviewRequested, this, showTiled);
    connect(m_thumbGrid, &thumbs::ThumbGrid::tiledPreviewRequested, this, showTiled);
    connect(m_listInteraction, &listview::ListInteraction::tiledPreviewRequested, this, showTiled);
    connect(m_thumbGrid, &thumbs::ThumbGrid::selectionClearedByClick, m_listInteraction,
            &listview::ListInteraction::resetHint);
    connect(m_thumbGrid, &thumbs::ThumbGrid::stripPlaced, this, &MainWindow::placeThumbStrip);
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
        showHelp();
        break;
    case Command::MusicPage:
        openLink(m_links.musicPage);
        break;
    case Command::WebPage:
        openLink(m_links.homePage);
        break;
    case Command::About: {
        about::AboutBox box(m_links, *m_linkOpener, m_tpp, this);
        box.reportUnopened = [this](const QString &address) { m_reportUnopened(about::unopenedMessage(address)); };
        m_aboutBox = &box;
        box.exec();
        break;
    }
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

about::AboutBox *MainWindow::aboutBox() const
{
    return m_aboutBox;
}

void MainWindow::openLink(const QUrl &address)
{
    if (!m_linkOpener->open(address))
        m_reportUnopened(about::unopenedMessage(address.toString()));
}

void MainWindow::showHelp()
{
    const QString page = platform::findDataFile(HelpPage);
    if (page.isEmpty()) {
        m_reportUnopened(QStringLiteral("The help page %1 cannot be found beside the program or in its data "
                                          "folder.").arg(HelpPage));
        return;
    }
    openLink(QUrl::fromLocalFile(page));
}

void MainWindow::setUnopenedReporter(std::function<void(const QString &)> reporter)
{
    m_reportUnopened = std::move(reporter);
}

void MainWindow::setLinkOpener(std::unique_ptr<platform::LinkOpener> opener)
{
    m_linkOpener = std::move(opener);
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
            popUp(m_toolBarMenu);
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

// --- Layout ---------------------------------------------------------------------------------

double MainWindow::outerWidthTwips() const
{
    return common::outerTwips(width(), m_tpp);
}

double MainWindow::outerHeightTwips() const
{
    return common::outerTwips(height(), m_tpp);
}

double MainWindow::clientHeightTwips() const
{
    return m_client->height() * m_tpp;
}

LayoutInput MainWindow::layoutInput() const
{
    LayoutInput in;
    in.outerWidth = outerWidthTwips();
    in.clientHeight = clientHeightTwips();
    in.treeSplitterLeft = m_splitters.treeSplitterLeft;
    in.previewSplitterLeft = m_splitters.previewSplitterLeft;
    in.toolBarVisible = !m_toolBar->isHidden();
    in.treeVisible = m_controls.treeVisible;
    in.previewVisible = m_controls.previewVisible;
    in.statusBarChecked = m_statusBarItem->isChecked();
    in.toolBarHeight = ToolBarDesignHeight;
    in.titleStripTop = in.toolBarVisible ? ToolBarDesignHeight : 0;
    in.titleStripHeight = TitleStripHeight;
    in.imagesLabelLeft = ImagesLabelLeft;
    in.current = m_controls;
    in.treeSplitterRatio = m_splitters.treeSplitterRatio;
    in.previewSplitterRatio = m_splitters.previewSplitterRatio;
    return in;
}

void MainWindow::sizeControls()
{
    if (layout())
        layout()->activate();
    const LayoutResult r = shell::sizeControls(layoutInput());
    m_splitters = {r.treeSplitterLeft, r.previewSplitterLeft, r.treeSplitterRatio, r.previewSplitterRatio};
    m_controls = r.controls;
    applyControls();
}

void MainWindow::placeWidget(QWidget *widget, const TwipRect &rect)
{
    widget->setGeometry(twipsToPixels(rect, m_tpp));
}

void MainWindow::applyControls()
{
    const int clientWidthPx = m_client->width();
    const bool toolBarShown = !m_toolBar->isHidden();
    m_toolBar->setGeometry(0, 0, clientWidthPx, twipsToPixels(ToolBarDesignHeight, m_tpp));
    m_titleStrip->setGeometry(0, toolBarShown ? twipsToPixels(ToolBarDesignHeight, m_tpp) : 0,
                              clientWidthPx, twipsToPixels(TitleStripHeight, m_tpp));
    m_typesLabel->setGeometry(4, 0, std::max(0, twipsToPixels(ImagesLabelLeft, m_tpp) - 8),
                              m_titleStrip->height());
    placeWidget(m_imagesLabel, {m_controls.imagesLabel.left, 0, m_controls.imagesLabel.width, TitleStripHeight});
    placeWidget(m_progressBar, {m_controls.progressBar.left, 2 * m_tpp, m_controls.progressBar.width,
                                TitleStripHeight - 4 * m_tpp});

    placeWidget(m_list, m_controls.list);
    placeWidget(m_folderTree, m_controls.tree);
    m_folderTree->setVisible(m_controls.treeVisible);
    placeWidget(m_treeSplitter, m_controls.treeSplitter);
    m_treeSplitter->setVisible(m_controls.treeSplitterVisible);
    placeWidget(m_previewSplitter, m_controls.previewSplitter);
    m_previewSplitter->setVisible(m_controls.previewSplitterVisible);
    placeWidget(m_thumbArea, m_controls.thumbArea);
    const double cm = common::TwipsPerCm;
    const TwipRect &bar = m_controls.thumbScrollBar;
    placeWidget(m_thumbScrollBar, {bar.left * cm, bar.top * cm, bar.width * cm, bar.height * cm});
    placeThumbStrip(m_controls.thumbStrip.top, m_controls.thumbStrip.height);
    m_thumbGrid->setAreaSize(m_controls.thumbStrip.width, m_controls.thumbScrollBar.width,
                             m_controls.thumbArea.height);
    m_previewPane->setFrame(m_controls.previewFrame, m_controls.previewVisible);
    m_statusBar->redock();
    m_client->update();
}

void MainWindow::placeThumbStrip(double topCm, double heightCm)
{
    m_controls.thumbStrip.top = topCm;
    m_controls.thumbStrip.height = heightCm;
    const double cm = common::TwipsPerCm;
    placeWidget(m_thumbStrip, {0, topCm * cm, m_controls.thumbStrip.width * cm, heightCm * cm});
}

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
    handleResize();
}

void MainWindow::resizeToOuter(double widthTwips, double heightTwips)
{
    // A stored size far larger than the whole desktop (twice it) is cut to that: a window
    // millions of pixels wide gets no surface to paint on.
    QSize limit(16384, 16384);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        limit = limit.boundedTo(screen->availableVirtualSize() * 2);
    resize(std::min(common::clientPixels(widthTwips, m_tpp), limit.width()),
           std::min(common::clientPixels(heightTwips, m_tpp), limit.height()));
    if (!isVisible())
        handleResize();
}

void MainWindow::handleResize()
{
    if (isMinimized())
        return;
    if (layout())
        layout()->activate();
    double outerWidth = outerWidthTwips();
    if (outerWidth < MinimumWidth) {
        outerWidth = MinimumWidth;
        // A shown window runs this handling again for its new width (a nested resize);
        // this run goes on with the minimum.
        resize(static_cast<int>(std::ceil(MinimumWidth / m_tpp - common::FrameAllowancePx)), height());
    }
    m_statusBar->redock();
    m_splitters = resizeSplitters(outerWidth, m_splitters);
    sizeControls();
}

// --- Show and hide --------------------------------------------------------------------------

void MainWindow::storePaneFlag(const QString &key, bool shown)
{
    // Written through at once: a run that ends without closing the window keeps it.
    writeTruth(m_settings, SectionSettings, key, shown);
    m_settings.sync();
}

void MainWindow::toggleToolBar()
{
    m_toolBarItem->setChecked(!m_toolBarItem->isChecked());
    m_toolBar->setVisible(m_toolBarItem->isChecked());
    storePaneFlag(KeyTbaron, !m_toolBar->isHidden());
    sizeControls();
}

void MainWindow::createStatusWindow()
{
    m_statusBar->create();
}

void MainWindow::toggleStatusBar()
{
    m_statusBarItem->setChecked(!m_statusBarItem->isChecked());
    if (m_statusBarItem->isChecked()) {
        m_statusBar->create();
        if (!m_browser->currentFile().isEmpty())
            m_previewPane->showFileInfo();
    } else {
        m_statusBar->destroy();
    }
    storePaneFlag(KeyBaron, m_statusBarItem->isChecked());
    sizeControls();
}

void MainWindow::toggleFolderTree()
{
    // The splitters move apart before the tree comes or goes.
    m_splitters = treeTogglePreAdjust(m_splitters);
    setSidePaneShown(SidePane::Tree, !m_treeItem->isChecked());
}

void MainWindow::togglePreview()
{
    m_splitters = previewTogglePreAdjust(m_splitters);
    setSidePaneShown(SidePane::Preview, !m_previewItem->isChecked());
}

void MainWindow::setSidePaneShown(SidePane pane, bool shown)
{
    const bool tree = pane == SidePane::Tree;
    (tree ? m_treeItem : m_previewItem)->setChecked(shown);
    (tree ? m_controls.treeVisible : m_controls.previewVisible) = shown;
    (tree ? m_controls.treeSplitterVisible : m_controls.previewSplitterVisible) = shown;
    storePaneFlag(tree ? KeyTvon : KeyPvon, shown);
    sizeControls();
}

void MainWindow::setPaneFlags(bool toolBar, bool tree, bool preview)
{
    m_toolBar->setVisible(toolBar);
    m_controls.treeVisible = tree;
    m_controls.treeSplitterVisible = tree;
    m_controls.previewVisible = preview;
    m_controls.previewSplitterVisible = preview;
    m_folderTree->setVisible(tree);
    m_treeSplitter->setVisible(tree);
    m_previewSplitter->setVisible(preview);
}

// --- Splitters ------------------------------------------------------------------------------

void MainWindow::startSplitterDrag(QWidget *ghost, const TwipRect &splitter)
{
    const TwipRect g = ghostRectForPress(splitter);
    placeWidget(ghost, g);
    (ghost == m_treeGhost ? m_treeGhostLeft : m_previewGhostLeft) = g.left;
    ghost->show();
    ghost->raise();
    m_dragging = true;
}

void MainWindow::moveSplitterGhost(QWidget *ghost, const TwipRect &splitter, double x)
{
    if (!m_dragging)
        return;
    const double left = ghostLeftForMove(splitter.left, x, outerWidthTwips());
    (ghost == m_treeGhost ? m_treeGhostLeft : m_previewGhostLeft) = left;
    ghost->move(twipsToPixels(left, m_tpp), ghost->y());
}

void MainWindow::releaseTreeSplitter()
{
    const SplitterState s = shell::releaseTreeSplitter(m_treeGhostLeft, m_controls.previewSplitter.left,
                                                       m_controls.previewVisible);
    m_splitters.treeSplitterLeft = s.treeSplitterLeft;
    m_splitters.previewSplitterLeft = s.previewSplitterLeft;
    sizeControls();
    m_treeGhost->hide();
    m_dragging = false;
}

void MainWindow::releasePreviewSplitter()
{
    const SplitterState s = shell::releasePreviewSplitter(m_controls.treeSplitter.left, m_previewGhostLeft,
                                                          m_controls.treeVisible);
    m_splitters.treeSplitterLeft = s.treeSplitterLeft;
    m_splitters.previewSplitterLeft = s.previewSplitterLeft;
    sizeControls();
    m_previewGhost->hide();
    m_dragging = false;
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

void MainWindow::storeSettingsAndCloseWindows()
{
    if (m_closed)
        return;
    m_closed = true;
    if (!isMinimized()) {
        const QRect frame = frameGeometry();
        writeSingle(m_settings, SectionSettings, KeyMainLeft, common::toSingle(frame.x() * m_tpp));
        writeSingle(m_settings, SectionSettings, KeyMainTop, common::toSingle(frame.y() * m_tpp));
        writeSingle(m_settings, SectionSettings, KeyMainWidth, common::toSingle(outerWidthTwips()));
        writeSingle(m_settings, SectionSettings, KeyMainHeight, common::toSingle(outerHeightTwips()));
    }
    writeText(m_settings, SectionSettings, KeyFolder, m_folderTree->selectedFolder());
    writeInt(m_settings, SectionSettings, KeyViewMode, static_cast<int>(m_list->view()));
    writeTruth(m_settings, SectionSettings, KeyTbaron, !m_toolBar->isHidden());
    writeTruth(m_settings, SectionSettings, KeyBaron, m_statusBarItem->isChecked());
    writeTruth(m_settings, SectionSettings, KeyTvon, m_controls.treeVisible);
    writeTruth(m_settings, SectionSettings, KeyPvon, m_controls.previewVisible);
    writeInt(m_settings, SectionSettings, KeyIsaLeft, m_splitters.treeSplitterLeft);
    writeInt(m_settings, SectionSettings, KeyIsbLeft, m_splitters.previewSplitterLeft);
    // An open tiled preview window records its place as it closes: close it before its
    // place is stored, so the place of this run is the one kept.
    m_tiledPreview->close();
    const preview::WindowPlace &place = m_tiledPreview->place();
    writeInt(m_settings, SectionSettings, KeyPrvLeft, place.left);
    writeInt(m_settings, SectionSettings, KeyPrvTop, place.top);
    writeInt(m_settings, SectionSettings, KeyPrvWidth, place.width);
    writeInt(m_settings, SectionSettings, KeyPrvHeight, place.height);
    if (const std::optional<QPointF> corner = m_toolbox->cornerToStore()) {
        writeSingle(m_settings, SectionSettings, KeyTlsLeft, common::toSingle(corner->x()));
        writeSingle(m_settings, SectionSettings, KeyTlsTop, common::toSingle(corner->y()));
    }
    m_settings.sync();
    // Every other loaded window, newest first.
    for (auto it = m_loadedWindows.rbegin(); it != m_loadedWindows.rend(); ++it)
        if (*it)
            (*it)->close();
    m_toolbox->unload();
    m_optionsDialog->close();
}

} // namespace pavix::shell
