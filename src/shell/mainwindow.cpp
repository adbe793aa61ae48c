#include "shell/mainwindow.h"

#include "catalogue/catalogue.h"
#include "catalogue/folderscan.h"
#include "catalogue/listinteraction.h"
#include "catalogue/optionsdialog.h"
#include "common/keys.h"
#include "common/units.h"
#include "listview/listcommands.h"
#include "listview/viewmode.h"
#include "platform/qtlistview.h"
#include "preview/previewpane.h"
#include "preview/stretchimage.h"
#include "preview/tiledpreview.h"
#include "thumbs/thumbgrid.h"
#include "thumbs/thumbstrip.h"
#include "shell/busycursor.h"
#include "shell/foldertree.h"
#include "shell/menuclick.h"
#include "shell/settingskeys.h"
#include "shell/settingsstore.h"
#include "shell/splittermath.h"
#include "shell/splitterbar.h"
#include "shell/statuswindow.h"
#include "shell/toolbarimages.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QProgressBar>
#include <QScreen>
#include <QScrollBar>
#include <QToolBar>
#include <QToolButton>

#include <algorithm>
#include <cmath>

namespace pavix::shell {

using common::twipsToPixels;

namespace {

// The window is measured as if it had the four-pixel sizing border it was designed with,
// so the panes keep the same margins whatever frame the window manager draws.
inline constexpr double FrameAllowancePx = 8.0;
inline constexpr double MinimumWidth = 3100;
inline constexpr double TbarDesignHeight = 360;
inline constexpr double PicTitlesHeight = 280;
inline constexpr double LblImgLeft = 3225;
inline constexpr double VScrollWidth = 240;
inline constexpr double SplitterWidth = 90;
inline constexpr double VScrollTop = 17;
inline constexpr double StatusReserve = 300;
inline constexpr int StatusMinHeightPx = 16;

} // namespace

// The client area of the main window: it carries every pane, draws the preview frame `Pv`
// and raises the "Hide Preview" pop-up on a right press on its own surface.
class ClientArea : public QWidget {
public:
    explicit ClientArea(MainWindow *main) : QWidget(main), m_main(main) {}

protected:
    void paintEvent(QPaintEvent *) override
    {
        const Controls &c = m_main->controls();
        if (!c.pvVisible)
            return;
        const double tpp = m_main->twipsPerPixel();
        const QRect frame(twipsToPixels(c.Pv.left, tpp), twipsToPixels(c.Pv.top, tpp),
                          twipsToPixels(c.Pv.width, tpp), twipsToPixels(c.Pv.height, tpp));
        QPainter p(this);
        p.setPen(palette().dark().color());
        p.drawRect(frame.adjusted(0, 0, -1, -1));
    }
    void mousePressEvent(QMouseEvent *event) override
    {
        if (common::buttonMask(event->buttons() | event->button()) & common::ButtonRight)
            m_main->mnuPv->popup(event->globalPosition().toPoint());
    }

private:
    MainWindow *m_main;
};

MainWindow::MainWindow(SettingsStore &settings, catalogue::ShellInfo &shellInfo)
    : icons(shellInfo), m_settings(settings)
{
    setObjectName(QStringLiteral("Main"));
    setWindowTitle(AppTitle);
    const QScreen *screen = QGuiApplication::primaryScreen();
    m_tpp = common::twipsPerPixelForDpi(screen ? screen->logicalDotsPerInchX() : 96.0);
    setMinimumWidth(static_cast<int>(std::ceil(MinimumWidth / m_tpp - FrameAllowancePx)));

    // Sizes the controls have from their design, before any layout pass.
    m_ctl.Isa.width = SplitterWidth;
    m_ctl.Isb.width = SplitterWidth;
    m_ctl.VScroll1.top = VScrollTop / common::TwipsPerCm;
    m_ctl.VScroll1.width = VScrollWidth / common::TwipsPerCm;
    m_ctl.lblImg.left = LblImgLeft;
    m_ctl.proBar.left = LblImgLeft;

    createControls();
    createMenus();
    createToolBar();

    previewPane = new preview::PreviewPane(*this);
    thumbGrid = new thumbs::ThumbGrid(*this);
    listInteraction = new catalogue::ListInteraction(*this);
    folderScan = new catalogue::FolderScan(*this);
    connect(Tv, &FolderTree::folderChange, this, &MainWindow::Tv_FolderChange);
    connect(mnuViewRefresh, &QAction::triggered, folderScan, &catalogue::FolderScan::mnuViewRefresh_Click);
    connect(mnuLvRefresh, &QAction::triggered, folderScan, &catalogue::FolderScan::mnuLvRefresh_Click);
    if (QAction *open = toolAction(QStringLiteral("Open"))) {
        open->setEnabled(true);
        connect(open, &QAction::triggered, this,
                [this] { folderScan->BrowseFolder(Tv->SelectedFolder()); });
    }
    listCommands = new listview::ListCommands(*this);
}

MainWindow::~MainWindow()
{
    // The list draws its icons from the cache, which is destroyed before the widgets are.
    Lv->setIcons(nullptr);
    Lv->setSmallIcons(nullptr);
}

// --- Construction ---------------------------------------------------------------------------

void MainWindow::createControls()
{
    m_client = new ClientArea(this);
    m_client->setObjectName(QStringLiteral("ClientArea"));
    setCentralWidget(m_client);

    Tbar = new QToolBar(m_client);
    Tbar->setObjectName(QStringLiteral("Tbar"));
    Tbar->setMovable(false);
    Tbar->setFloatable(false);
    Tbar->setIconSize(QSize(16, 16));
    Tbar->setContextMenuPolicy(Qt::PreventContextMenu);
    Tbar->installEventFilter(this);

    picTitles = new QWidget(m_client);
    picTitles->setObjectName(QStringLiteral("picTitles"));
    lblTypes = new QLabel(picTitles);
    lblTypes->setObjectName(QStringLiteral("lblTypes"));
    lblImg = new QLabel(picTitles);
    lblImg->setObjectName(QStringLiteral("lblImg"));
    proBar = new QProgressBar(picTitles);
    proBar->setObjectName(QStringLiteral("proBar"));
    proBar->setTextVisible(false);
    proBar->hide();

    Tv = new FolderTree(m_client);
    Tv->setObjectName(QStringLiteral("Tv"));
    connect(Tv, &FolderTree::mouseDown, this, [this](int button, int) {
        if (button & common::ButtonRight)
            showPopup(mnuTv);
    });

    Lv = new platform::QtListView(m_client, m_tpp);
    Lv->setObjectName(QStringLiteral("Lv"));

    picBase = new QWidget(m_client);
    picBase->setObjectName(QStringLiteral("picBase"));
    picBase->hide();
    VScroll1 = new QScrollBar(Qt::Vertical, picBase);
    VScroll1->setObjectName(QStringLiteral("VScroll1"));
    VScroll1->setSingleStep(1);
    VScroll1->setPageStep(7);
    VScroll1->hide();
    picScroll = new thumbs::ThumbStrip(picBase, m_tpp);
    picScroll->setObjectName(QStringLiteral("picScroll"));
    VScroll1->raise();

    Isa = new SplitterBar(m_client, m_tpp);
    Isa->setObjectName(QStringLiteral("Isa"));
    Isb = new SplitterBar(m_client, m_tpp);
    Isb->setObjectName(QStringLiteral("Isb"));
    connect(Isa, &SplitterBar::mouseDown, this, &MainWindow::Isa_MouseDown);
    connect(Isa, &SplitterBar::mouseMove, this, &MainWindow::Isa_MouseMove);
    connect(Isa, &SplitterBar::mouseUp, this, &MainWindow::Isa_MouseUp);
    connect(Isb, &SplitterBar::mouseDown, this, &MainWindow::Isb_MouseDown);
    connect(Isb, &SplitterBar::mouseMove, this, &MainWindow::Isb_MouseMove);
    connect(Isb, &SplitterBar::mouseUp, this, &MainWindow::Isb_MouseUp);

    auto ghost = [this](const char *name) {
        auto *bar = new QWidget(m_client);
        bar->setObjectName(QLatin1String(name));
        bar->setAutoFillBackground(true);
        QPalette pal = bar->palette();
        pal.setColor(QPalette::Window, pal.color(QPalette::Light).darker(115));
        bar->setPalette(pal);
        bar->hide();
        return bar;
    };
    Psa = ghost("Psa");
    Psb = ghost("Psb");

    Primg = new preview::StretchImage(m_client);
    Primg->setObjectName(QStringLiteral("Primg"));
    Primg->hide();

    Options = new catalogue::OptionsDialog(this, m_tpp);
    Options->hide();
}

void MainWindow::createMenus()
{
    QMenu *file = menuBar()->addMenu(QStringLiteral("File"));
    mnuFileOpen = file->addAction(QStringLiteral("&Open             Ctl+ O"));
    connect(mnuFileOpen, &QAction::triggered, this,
            [this] { folderScan->BrowseFolder(Tv->SelectedFolder()); });
    file->addSeparator();
    mnuFileExit = file->addAction(QStringLiteral("Exit                Alt+ X"));
    connect(mnuFileExit, &QAction::triggered, this, &QWidget::close);

    mnuView = menuBar()->addMenu(QStringLiteral("View"));
    auto checkItem = [this](const QString &caption, void (MainWindow::*handler)()) {
        QAction *a = mnuView->addAction(caption);
        a->setCheckable(true);
        a->setChecked(true);
        connectClick(a, this, [this, handler] { (this->*handler)(); });
        return a;
    };
    mnuViewToolbar = checkItem(QStringLiteral("Toolbar               Ctl+ T"),
                               &MainWindow::mnuViewToolbar_Click);
    mnuViewStatusBar = checkItem(QStringLiteral("Status Bar          Ctl+ S"),
                                 &MainWindow::mnuViewStatusBar_Click);
    mnuViewTv = checkItem(QStringLiteral("Folders tree        Ctl+ F"), &MainWindow::mnuViewTv_Click);
    mnuViewPv = checkItem(QStringLiteral("Preview              Ctl+ P"), &MainWindow::mnuViewPv_Click);
    mnuView->addSeparator();
    for (int i = 0; i < 5; ++i) {
        QAction *a = mnuView->addAction(listview::listViewModeCaption(i));
        a->setCheckable(true);
        mnuListViewMode[static_cast<size_t>(i)] = a;
    }
    mnuView->addSeparator();
    // Filled by the list commands (sorting).
    mnuViewArrangeIcons = mnuView->addMenu(QStringLiteral("Arrange Icons"));
    mnuView->addSeparator();
    mnuViewRefresh = mnuView->addAction(QStringLiteral("Refresh              F5"));

    // Pop-up menus that never show in the menu bar.
    mnuPv = new QMenu(QStringLiteral("Pv"), this);
    mnuHidePv = mnuPv->addAction(QStringLiteral("Hide Preview"));
    connect(mnuHidePv, &QAction::triggered, this, &MainWindow::mnuViewPv_Click);
    mnuTb = new QMenu(QStringLiteral("Tb"), this);
    mnuHideTb = mnuTb->addAction(QStringLiteral("Hide Toolbar"));
    connect(mnuHideTb, &QAction::triggered, this, &MainWindow::mnuViewToolbar_Click);
    mnuTv = new QMenu(QStringLiteral("Tv"), this);
    mnuHideTv = mnuTv->addAction(QStringLiteral("Hide Folders Tree"));
    connect(mnuHideTv, &QAction::triggered, this, &MainWindow::mnuViewTv_Click);
    mnuWall = new QMenu(QStringLiteral("Wall"), this);
    mnuPWallp = mnuWall->addAction(QStringLiteral("Set Wallpaper"));
    // The wallpaper command is not part of the program yet.
    mnuPWallp->setEnabled(false);

    mnuLv = new QMenu(QStringLiteral("Lv"), this);
    mnuLvRefresh = mnuLv->addAction(QStringLiteral("Refresh"));
    mnuLv->addSeparator();
    mnuLvView = mnuLv->addMenu(QStringLiteral("View"));
    for (int i = 0; i < 5; ++i) {
        QAction *a = mnuLvView->addAction(listview::iconsMenuCaption(i));
        a->setCheckable(true);
        mnuIcons[static_cast<size_t>(i)] = a;
    }
    mnuLv->addSeparator();
    // Filled by the list commands (sorting).
    mnuLvSort = mnuLv->addMenu(QStringLiteral("Arrange icons"));
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
            Tbar->addSeparator();
            continue;
        }
        QAction *a = Tbar->addAction(QIcon(QPixmap::fromImage(toolbarImage(b.image, 32))),
                                     QString::fromLatin1(b.tip));
        a->setObjectName(QString::fromLatin1(b.key));
        a->setData(QString::fromLatin1(b.key));
        if (b.group) {
            a->setCheckable(true);
            m_viewButtons->addAction(a);
        } else {
            // The commands behind these buttons are not part of the program yet.
            a->setEnabled(false);
        }
        if (auto *button = qobject_cast<QToolButton *>(Tbar->widgetForAction(a)))
            m_toolButtons.emplace_back(QString::fromLatin1(b.key), button);
    }
}

QToolButton *MainWindow::toolButton(const QString &key) const
{
    for (const auto &[k, button] : m_toolButtons)
        if (k == key)
            return button;
    return nullptr;
}

QString MainWindow::pressedViewButton() const
{
    const QAction *a = m_viewButtons->checkedAction();
    return a ? a->data().toString() : QString();
}

QAction *MainWindow::toolAction(const QString &key) const
{
    for (QAction *a : Tbar->actions())
        if (a->data().toString() == key)
            return a;
    return nullptr;
}

void MainWindow::pressToolButton(const QString &key)
{
    for (QAction *a : m_viewButtons->actions())
        if (a->data().toString() == key)
            a->setChecked(true);
}

bool MainWindow::tvVisible() const { return m_ctl.tvVisible; }

bool MainWindow::tbarVisible() const { return !Tbar->isHidden(); }

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    // A right press on the tool bar offers "Hide Toolbar".
    if (watched == Tbar && event->type() == QEvent::MouseButtonPress) {
        auto *me = static_cast<QMouseEvent *>(event);
        if (common::buttonMask(me->buttons() | me->button()) & common::ButtonRight) {
            showPopup(mnuTb);
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::registerLoadedWindow(QWidget *window)
{
    m_loadedWindows.emplace_back(window);
}

void MainWindow::showPopup(QMenu *menu)
{
    if (menu)
        menu->exec(QCursor::pos());
}

// --- Layout ---------------------------------------------------------------------------------

double MainWindow::outerWidthTwips() const
{
    return (width() + FrameAllowancePx) * m_tpp;
}

double MainWindow::clientHeightTwips() const
{
    return m_client->height() * m_tpp;
}

LayoutInput MainWindow::layoutInput() const
{
    LayoutInput in;
    in.W = outerWidthTwips();
    in.SH = clientHeightTwips();
    in.IsaLeft = IsaLeft;
    in.IsbLeft = IsbLeft;
    in.tbarVisible = tbarVisible();
    in.tvVisible = m_ctl.tvVisible;
    in.pvVisible = m_ctl.pvVisible;
    in.statusBarChecked = mnuViewStatusBar->isChecked();
    in.tbarHeight = TbarDesignHeight;
    in.picTitlesTop = in.tbarVisible ? TbarDesignHeight : 0;
    in.picTitlesHeight = PicTitlesHeight;
    in.lblImgLeft = LblImgLeft;
    in.current = m_ctl;
    in.IsaRatio = IsaRatio;
    in.IsbRatio = IsbRatio;
    return in;
}

void MainWindow::SizeControls()
{
    if (layout())
        layout()->activate();
    const LayoutResult r = shell::SizeControls(layoutInput());
    IsaLeft = r.IsaLeft;
    IsbLeft = r.IsbLeft;
    IsaRatio = r.IsaRatio;
    IsbRatio = r.IsbRatio;
    m_ctl = r.controls;
    applyControls();
    if (Primg->hasPicture())
        previewPane->FitPreview();
}

void MainWindow::placeWidget(QWidget *widget, const TwipRect &rect)
{
    widget->setGeometry(twipsToPixels(rect.left, m_tpp), twipsToPixels(rect.top, m_tpp),
                        std::max(0, twipsToPixels(rect.width, m_tpp)),
                        std::max(0, twipsToPixels(rect.height, m_tpp)));
}

void MainWindow::applyControls()
{
    const int clientWidthPx = m_client->width();
    const bool tbar = tbarVisible();
    Tbar->setGeometry(0, 0, clientWidthPx, twipsToPixels(TbarDesignHeight, m_tpp));
    picTitles->setGeometry(0, tbar ? twipsToPixels(TbarDesignHeight, m_tpp) : 0, clientWidthPx,
                           twipsToPixels(PicTitlesHeight, m_tpp));
    lblTypes->setGeometry(4, 0, std::max(0, twipsToPixels(LblImgLeft, m_tpp) - 8),
                          picTitles->height());
    elideTypesCaption();
    placeWidget(lblImg, {m_ctl.lblImg.left, 0, m_ctl.lblImg.width, PicTitlesHeight});
    placeWidget(proBar, {m_ctl.proBar.left, 2 * m_tpp, m_ctl.proBar.width,
                         PicTitlesHeight - 4 * m_tpp});

    placeWidget(Lv, m_ctl.Lv);
    placeWidget(Tv, m_ctl.Tv);
    Tv->setVisible(m_ctl.tvVisible);
    placeWidget(Isa, m_ctl.Isa);
    Isa->setVisible(m_ctl.IsaVisible);
    placeWidget(Isb, m_ctl.Isb);
    Isb->setVisible(m_ctl.IsbVisible);
    placeWidget(picBase, m_ctl.picBase);
    const double cm = common::TwipsPerCm;
    placeWidget(VScroll1, {m_ctl.VScroll1.left * cm, m_ctl.VScroll1.top * cm,
                           m_ctl.VScroll1.width * cm, m_ctl.VScroll1.height * cm});
    placeWidget(picScroll, {0, m_ctl.picScroll.top * cm, m_ctl.picScroll.width * cm,
                            m_ctl.picScroll.height * cm});
    if (hStatusBar)
        hStatusBar->redock();
    m_client->update();
}

void MainWindow::setTypesCaption(const QString &text)
{
    m_typesCaption = text;
    lblTypes->setToolTip(text);
    elideTypesCaption();
}

void MainWindow::elideTypesCaption()
{
    // The label ends where the image count begins: a longer text ends in "…" rather than
    // being cut off mid-word, and the tool tip has it whole.
    lblTypes->setText(lblTypes->fontMetrics().elidedText(m_typesCaption, Qt::ElideRight,
                                                         lblTypes->width()));
}

void MainWindow::SetHeaderHotTrack()
{
    Lv->setHeaderHotTrack(!Lv->headerHotTrack());
}

void MainWindow::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    Form_Resize();
}

void MainWindow::resizeToOuter(double widthTwips, double heightTwips)
{
    // A stored size far larger than the whole desktop (twice it) is cut to that: a window
    // millions of pixels wide gets no surface to paint on.
    QSize limit(16384, 16384);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        limit = limit.boundedTo(screen->availableVirtualSize() * 2);
    const double w = std::clamp(widthTwips / m_tpp - FrameAllowancePx, 1.0, double(limit.width()));
    const double h = std::clamp(heightTwips / m_tpp - FrameAllowancePx, 1.0, double(limit.height()));
    resize(static_cast<int>(std::lround(w)), static_cast<int>(std::lround(h)));
    if (!isVisible())
        Form_Resize();
}

void MainWindow::Form_Resize()
{
    if (isMinimized())
        return;
    if (layout())
        layout()->activate();
    double W = outerWidthTwips();
    if (W < MinimumWidth) {
        W = MinimumWidth;
        // A shown window runs this handling again for its new width (a nested resize);
        // this run goes on with the minimum.
        resize(static_cast<int>(std::ceil(MinimumWidth / m_tpp - FrameAllowancePx)), height());
    }
    if (hStatusBar) {
        hStatusBar->redock();
        hStatusBar->update();
    }
    const SplitterState s = resizeSplitters(W, {IsaLeft, IsbLeft, IsaRatio, IsbRatio});
    IsaLeft = s.IsaLeft;
    IsbLeft = s.IsbLeft;
    SizeControls();
}

// --- Show and hide --------------------------------------------------------------------------

void MainWindow::mnuViewToolbar_Click()
{
    mnuViewToolbar->setChecked(!mnuViewToolbar->isChecked());
    Tbar->setVisible(mnuViewToolbar->isChecked());
    storePaneFlag(KeyTbaron, tbarVisible());
    SizeControls();
}

void MainWindow::storePaneFlag(const QString &key, bool shown)
{
    // Written through at once: a run that ends without closing the window keeps it.
    writeTruth(m_settings, SectionSettings, key, shown);
    m_settings.sync();
}

void MainWindow::createStatusWindow()
{
    delete hStatusBar;
    hStatusBar = new StatusWindow(m_client);
    hStatusBar->setMaxHeight(std::max(1, static_cast<int>(StatusReserve / m_tpp)));
    hStatusBar->setSimple(true);
    hStatusBar->setSimpleText(QString());
    hStatusBar->setMinHeight(StatusMinHeightPx);
}

void MainWindow::mnuViewStatusBar_Click()
{
    mnuViewStatusBar->setChecked(!mnuViewStatusBar->isChecked());
    if (mnuViewStatusBar->isChecked()) {
        createStatusWindow();
        if (!CurFile.isEmpty())
            previewPane->ShowFileInfo();
    } else {
        delete hStatusBar;
        hStatusBar = nullptr;
    }
    storePaneFlag(KeyBaron, mnuViewStatusBar->isChecked());
    SizeControls();
}

void MainWindow::mnuViewTv_Click()
{
    const SplitterState s = treeTogglePreAdjust({IsaLeft, IsbLeft, IsaRatio, IsbRatio});
    IsbLeft = s.IsbLeft;
    mnuViewTv->setChecked(!mnuViewTv->isChecked());
    m_ctl.tvVisible = mnuViewTv->isChecked();
    m_ctl.IsaVisible = m_ctl.tvVisible;
    storePaneFlag(KeyTvon, m_ctl.tvVisible);
    SizeControls();
}

void MainWindow::mnuViewPv_Click()
{
    const SplitterState s = previewTogglePreAdjust({IsaLeft, IsbLeft, IsaRatio, IsbRatio});
    IsaLeft = s.IsaLeft;
    mnuViewPv->setChecked(!mnuViewPv->isChecked());
    m_ctl.pvVisible = mnuViewPv->isChecked();
    m_ctl.IsbVisible = m_ctl.pvVisible;
    storePaneFlag(KeyPvon, m_ctl.pvVisible);
    SizeControls();
}

void MainWindow::setPaneFlags(bool tbar, bool tv, bool pv)
{
    Tbar->setVisible(tbar);
    m_ctl.tvVisible = tv;
    m_ctl.IsaVisible = tv;
    m_ctl.pvVisible = pv;
    m_ctl.IsbVisible = pv;
    Tv->setVisible(tv);
    Isa->setVisible(tv);
    Isb->setVisible(pv);
}

// --- Splitters ------------------------------------------------------------------------------

void MainWindow::splitterDown(SplitterBar *bar, QWidget *ghostBar, const TwipRect &barRect)
{
    Q_UNUSED(bar);
    const TwipRect g = ghostRectForPress(barRect);
    placeWidget(ghostBar, g);
    m_ghostLeft[ghostBar == Psa ? 0 : 1] = g.left;
    ghostBar->show();
    ghostBar->raise();
    Dragging = true;
}

void MainWindow::splitterMove(QWidget *ghostBar, const TwipRect &barRect, double x)
{
    if (!Dragging)
        return;
    const double left = ghostLeftForMove(barRect.left, x, outerWidthTwips());
    m_ghostLeft[ghostBar == Psa ? 0 : 1] = left;
    ghostBar->move(twipsToPixels(left, m_tpp), ghostBar->y());
}

void MainWindow::Isa_MouseDown(int, int, double, double) { splitterDown(Isa, Psa, m_ctl.Isa); }
void MainWindow::Isb_MouseDown(int, int, double, double) { splitterDown(Isb, Psb, m_ctl.Isb); }
void MainWindow::Isa_MouseMove(int, int, double x, double) { splitterMove(Psa, m_ctl.Isa, x); }
void MainWindow::Isb_MouseMove(int, int, double x, double) { splitterMove(Psb, m_ctl.Isb, x); }

void MainWindow::Isa_MouseUp(int, int, double, double)
{
    const SplitterState s = releaseIsa(m_ghostLeft[0], m_ctl.Isb.left, m_ctl.pvVisible);
    IsaLeft = s.IsaLeft;
    IsbLeft = s.IsbLeft;
    SizeControls();
    Psa->hide();
    Dragging = false;
}

void MainWindow::Isb_MouseUp(int, int, double, double)
{
    const SplitterState s = releaseIsb(m_ctl.Isa.left, m_ghostLeft[1], m_ctl.tvVisible);
    IsaLeft = s.IsaLeft;
    IsbLeft = s.IsbLeft;
    SizeControls();
    Psb->hide();
    Dragging = false;
}

// --- Folder scans ---------------------------------------------------------------------------

void MainWindow::StatusMessage(const QString &text)
{
    if (!hStatusBar)
        return;
    hStatusBar->setSimple(true);
    hStatusBar->setSimpleText(text);
}

void MainWindow::holdTreeNotifications(bool hold)
{
    m_holdTree = hold;
    if (!hold && m_treePending) {
        m_treePending = false;
        folderScan->Tv_FolderChange();
    }
}

void MainWindow::Tv_FolderChange()
{
    if (m_holdTree)
        m_treePending = true;
    else
        folderScan->Tv_FolderChange();
}

void MainWindow::setStripGeometry(double topCm, double heightCm)
{
    m_ctl.picScroll.top = topCm;
    m_ctl.picScroll.height = heightCm;
    const double cm = common::TwipsPerCm;
    placeWidget(picScroll, {0, topCm * cm, m_ctl.picScroll.width * cm, heightCm * cm});
}

// --- Shutdown -------------------------------------------------------------------------------

void MainWindow::closeEvent(QCloseEvent *event)
{
    Form_Unload();
    event->accept();
}

void MainWindow::Form_Unload()
{
    if (m_unloaded)
        return;
    m_unloaded = true;
    if (!isMinimized()) {
        const QRect frame = frameGeometry();
        writeSingle(m_settings, SectionSettings, KeyMainLeft, common::toSingle(frame.x() * m_tpp));
        writeSingle(m_settings, SectionSettings, KeyMainTop, common::toSingle(frame.y() * m_tpp));
        writeSingle(m_settings, SectionSettings, KeyMainWidth, common::toSingle(outerWidthTwips()));
        writeSingle(m_settings, SectionSettings, KeyMainHeight,
                    common::toSingle(outerHeightTwips()));
    }
    writeText(m_settings, SectionSettings, KeyFolder, Tv->SelectedFolder());
    writeInt(m_settings, SectionSettings, KeyViewMode, static_cast<int>(Lv->view()));
    writeTruth(m_settings, SectionSettings, KeyTbaron, tbarVisible());
    writeTruth(m_settings, SectionSettings, KeyBaron, mnuViewStatusBar->isChecked());
    writeTruth(m_settings, SectionSettings, KeyTvon, m_ctl.tvVisible);
    writeTruth(m_settings, SectionSettings, KeyPvon, m_ctl.pvVisible);
    writeInt(m_settings, SectionSettings, KeyIsaLeft, IsaLeft);
    writeInt(m_settings, SectionSettings, KeyIsbLeft, IsbLeft);
    // An open tiled preview window records its place as it closes: close it before its
    // place is stored, so the place of this run is the one kept.
    if (Preview)
        Preview->close();
    writeInt(m_settings, SectionSettings, KeyPrvLeft, PrvLeft);
    writeInt(m_settings, SectionSettings, KeyPrvTop, PrvTop);
    writeInt(m_settings, SectionSettings, KeyPrvWidth, PrvWidth);
    writeInt(m_settings, SectionSettings, KeyPrvHeight, PrvHeight);
    m_settings.sync();
    // Every other loaded window, newest first.
    for (auto it = m_loadedWindows.rbegin(); it != m_loadedWindows.rend(); ++it)
        if (*it)
            (*it)->close();
    if (Options)
        Options->close();
}

double MainWindow::outerHeightTwips() const
{
    return (height() + FrameAllowancePx) * m_tpp;
}

} // namespace pavix::shell
