#include "shell/panelayout.h"

#include "common/units.h"
#include "foldertree/foldertree.h"
#include "listview/qtlistview.h"
#include "platform/busyscope.h"
#include "preview/previewpane.h"
#include "shell/clientarea.h"
#include "shell/elidedlabel.h"
#include "shell/settings.h"
#include "shell/settingskeys.h"
#include "shell/splitterbar.h"
#include "shell/splittermath.h"
#include "shell/statusbar.h"
#include "shell/statuswindow.h"
#include "thumbs/thumbgrid.h"
#include "thumbs/thumbstrip.h"

#include <QAction>
#include <QGuiApplication>
#include <QLabel>
#include <QLayout>
#include <QMainWindow>
#include <QProgressBar>
#include <QScreen>
#include <QScrollBar>
#include <QToolBar>

#include <algorithm>
#include <cmath>
#include <utility>

namespace pavix::shell {

using common::twipsToPixels;

namespace {

constexpr double MinimumWidth = 3100;
constexpr double ToolBarDesignHeight = 360;
constexpr double TitleStripHeight = 280;
constexpr double ImagesLabelLeft = 3225;
constexpr double ThumbScrollBarWidth = 240;
constexpr double SplitterWidth = 90;
constexpr double ThumbScrollBarTop = 17;
constexpr double StatusReserve = 300;

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

PaneLayout::PaneLayout(const PaneWidgets &widgets, platform::SettingsStore &settings, double twipsPerPixel)
    : QObject(widgets.window),
      m_w(widgets),
      m_settings(settings),
      m_tpp(twipsPerPixel),
      m_treeGhost(ghostBar(widgets.client, "treeGhost")),
      m_previewGhost(ghostBar(widgets.client, "previewGhost"))
{
    // Sizes the controls have from their design, before any layout pass.
    m_controls.treeSplitter.width = SplitterWidth;
    m_controls.previewSplitter.width = SplitterWidth;
    m_controls.thumbScrollBar.top = ThumbScrollBarTop / common::TwipsPerCm;
    m_controls.thumbScrollBar.width = ThumbScrollBarWidth / common::TwipsPerCm;
    m_controls.imagesLabel.left = ImagesLabelLeft;
    m_controls.progressBar.left = ImagesLabelLeft;

    connect(m_w.treeSplitter, &SplitterBar::mouseDown, this,
            [this] { startDrag(m_treeGhost, m_controls.treeSplitter); });
    connect(m_w.previewSplitter, &SplitterBar::mouseDown, this,
            [this] { startDrag(m_previewGhost, m_controls.previewSplitter); });
    connect(m_w.treeSplitter, &SplitterBar::mouseMove, this,
            [this](int, int, double x) { moveGhost(m_treeGhost, m_controls.treeSplitter, x); });
    connect(m_w.previewSplitter, &SplitterBar::mouseMove, this,
            [this](int, int, double x) { moveGhost(m_previewGhost, m_controls.previewSplitter, x); });
    connect(m_w.treeSplitter, &SplitterBar::mouseUp, this, &PaneLayout::releaseTreeSplitter);
    connect(m_w.previewSplitter, &SplitterBar::mouseUp, this, &PaneLayout::releasePreviewSplitter);
    connect(m_w.thumbGrid, &thumbs::ThumbGrid::stripPlaced, this, &PaneLayout::placeThumbStrip);
}

double PaneLayout::minimumWidth()
{
    return MinimumWidth;
}

int PaneLayout::statusReservePx(double twipsPerPixel)
{
    return std::max(1, static_cast<int>(StatusReserve / twipsPerPixel));
}

double PaneLayout::outerWidthTwips() const
{
    return common::outerTwips(m_w.window->width(), m_tpp);
}

double PaneLayout::outerHeightTwips() const
{
    return common::outerTwips(m_w.window->height(), m_tpp);
}

double PaneLayout::clientHeightTwips() const
{
    return m_w.client->height() * m_tpp;
}

bool PaneLayout::isShown(SidePane pane) const
{
    return pane == SidePane::Tree ? m_controls.treeVisible : m_controls.previewVisible;
}

LayoutInput PaneLayout::layoutInput() const
{
    LayoutInput in;
    in.outerWidth = outerWidthTwips();
    in.clientHeight = clientHeightTwips();
    in.treeSplitterLeft = m_splitters.treeSplitterLeft;
    in.previewSplitterLeft = m_splitters.previewSplitterLeft;
    in.toolBarVisible = !m_w.toolBar->isHidden();
    in.treeVisible = m_controls.treeVisible;
    in.previewVisible = m_controls.previewVisible;
    in.statusBarChecked = m_w.statusBar->window() != nullptr;
    in.toolBarHeight = ToolBarDesignHeight;
    in.titleStripTop = in.toolBarVisible ? ToolBarDesignHeight : 0;
    in.titleStripHeight = TitleStripHeight;
    in.imagesLabelLeft = ImagesLabelLeft;
    in.current = m_controls;
    in.treeSplitterRatio = m_splitters.treeSplitterRatio;
    in.previewSplitterRatio = m_splitters.previewSplitterRatio;
    return in;
}

void PaneLayout::sizeControls()
{
    if (m_w.window->layout())
        m_w.window->layout()->activate();
    const LayoutResult r = shell::sizeControls(layoutInput());
    m_splitters = {r.treeSplitterLeft, r.previewSplitterLeft, r.treeSplitterRatio, r.previewSplitterRatio};
    m_controls = r.controls;
    applyControls();
}

void PaneLayout::placeWidget(QWidget *widget, const TwipRect &rect) const
{
    widget->setGeometry(twipsToPixels(rect, m_tpp));
}

void PaneLayout::applyControls()
{
    const int clientWidthPx = m_w.client->width();
    const bool toolBarShown = !m_w.toolBar->isHidden();
    m_w.toolBar->setGeometry(0, 0, clientWidthPx, twipsToPixels(ToolBarDesignHeight, m_tpp));
    m_w.titleStrip->setGeometry(0, toolBarShown ? twipsToPixels(ToolBarDesignHeight, m_tpp) : 0, clientWidthPx,
                                twipsToPixels(TitleStripHeight, m_tpp));
    m_w.typesLabel->setGeometry(4, 0, std::max(0, twipsToPixels(ImagesLabelLeft, m_tpp) - 8), m_w.titleStrip->height());
    placeWidget(m_w.imagesLabel, {m_controls.imagesLabel.left, 0, m_controls.imagesLabel.width, TitleStripHeight});
    placeWidget(m_w.progressBar,
                {m_controls.progressBar.left, 2 * m_tpp, m_controls.progressBar.width, TitleStripHeight - 4 * m_tpp});

    placeWidget(m_w.list, m_controls.list);
    placeWidget(m_w.tree, m_controls.tree);
    m_w.tree->setVisible(m_controls.treeVisible);
    placeWidget(m_w.treeSplitter, m_controls.treeSplitter);
    m_w.treeSplitter->setVisible(m_controls.treeSplitterVisible);
    placeWidget(m_w.previewSplitter, m_controls.previewSplitter);
    m_w.previewSplitter->setVisible(m_controls.previewSplitterVisible);
    placeWidget(m_w.thumbArea, m_controls.thumbArea);
    const double cm = common::TwipsPerCm;
    const TwipRect &bar = m_controls.thumbScrollBar;
    placeWidget(m_w.thumbScrollBar, {bar.left * cm, bar.top * cm, bar.width * cm, bar.height * cm});
    placeThumbStrip(m_controls.thumbStrip.top, m_controls.thumbStrip.height);
    m_w.thumbGrid->setAreaSize(m_controls.thumbStrip.width, m_controls.thumbScrollBar.width,
                               m_controls.thumbArea.height);
    m_w.previewPane->setFrame(m_controls.previewFrame, m_controls.previewVisible);
    m_w.client->setPreviewFrame(m_controls.previewFrame, m_controls.previewVisible);
    m_w.statusBar->redock();
}

void PaneLayout::placeThumbStrip(double topCm, double heightCm)
{
    m_controls.thumbStrip.top = topCm;
    m_controls.thumbStrip.height = heightCm;
    const double cm = common::TwipsPerCm;
    placeWidget(m_w.thumbStrip, {0, topCm * cm, m_controls.thumbStrip.width * cm, heightCm * cm});
}

void PaneLayout::resizeToOuter(double widthTwips, double heightTwips)
{
    // A stored size far larger than the whole desktop (twice it) is cut to that: a window
    // millions of pixels wide gets no surface to paint on.
    QSize limit(16384, 16384);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        limit = limit.boundedTo(screen->availableVirtualSize() * 2);
    m_w.window->resize(std::min(common::clientPixels(widthTwips, m_tpp), limit.width()),
                       std::min(common::clientPixels(heightTwips, m_tpp), limit.height()));
    if (!m_w.window->isVisible())
        handleResize();
}

void PaneLayout::windowResized()
{
    if (platform::BusyScope::isBusy()) {
        if (!std::exchange(m_resizePending, true))
            platform::BusyScope::afterwards(this, [this] {
                m_resizePending = false;
                handleResize();
            });
        return;
    }
    handleResize();
}

void PaneLayout::handleResize()
{
    if (m_w.window->isMinimized())
        return;
    if (m_w.window->layout())
        m_w.window->layout()->activate();
    double outerWidth = outerWidthTwips();
    if (outerWidth < MinimumWidth) {
        outerWidth = MinimumWidth;
        // A shown window runs this handling again for its new width (a nested resize);
        // this run goes on with the minimum.
        m_w.window->resize(static_cast<int>(std::ceil(MinimumWidth / m_tpp - common::FrameAllowancePx)),
                           m_w.window->height());
    }
    m_w.statusBar->redock();
    m_splitters = resizeSplitters(outerWidth, m_splitters);
    sizeControls();
}

void PaneLayout::setPaneFlags(bool toolBar, bool tree, bool preview)
{
    m_w.toolBar->setVisible(toolBar);
    m_controls.treeVisible = tree;
    m_controls.treeSplitterVisible = tree;
    m_controls.previewVisible = preview;
    m_controls.previewSplitterVisible = preview;
    m_w.tree->setVisible(tree);
    m_w.treeSplitter->setVisible(tree);
    m_w.previewSplitter->setVisible(preview);
}

void PaneLayout::storePaneFlag(const QString &key, bool shown)
{
    // Written through at once: a run that ends without closing the window keeps it.
    writeTruth(m_settings, SectionSettings, key, shown);
    m_settings.sync();
}

bool PaneLayout::run(Command command)
{
    switch (command) {
    case Command::ToggleToolBar:
        toggleToolBar();
        return true;
    case Command::ToggleStatusBar:
        toggleStatusBar();
        return true;
    case Command::ToggleFolderTree:
        toggleSidePane(SidePane::Tree);
        return true;
    case Command::TogglePreview:
        toggleSidePane(SidePane::Preview);
        return true;
    default:
        return false;
    }
}

void PaneLayout::toggleToolBar()
{
    QAction *item = m_w.paneItems[0];
    item->setChecked(!item->isChecked());
    m_w.toolBar->setVisible(item->isChecked());
    storePaneFlag(KeyToolBarShown, !m_w.toolBar->isHidden());
    sizeControls();
}

void PaneLayout::toggleStatusBar()
{
    QAction *item = m_w.paneItems[1];
    item->setChecked(!item->isChecked());
    if (item->isChecked())
        m_w.statusBar->create();
    else
        m_w.statusBar->destroy();
    storePaneFlag(KeyStatusBarShown, item->isChecked());
    sizeControls();
    if (item->isChecked())
        emit statusBarCreated();
}

void PaneLayout::toggleSidePane(SidePane pane)
{
    const bool tree = pane == SidePane::Tree;
    QAction *item = m_w.paneItems[tree ? 2 : 3];
    const bool shown = !item->isChecked();
    // The splitters move apart before the pane comes or goes.
    m_splitters = tree ? treeTogglePreAdjust(m_splitters) : previewTogglePreAdjust(m_splitters);
    item->setChecked(shown);
    (tree ? m_controls.treeVisible : m_controls.previewVisible) = shown;
    (tree ? m_controls.treeSplitterVisible : m_controls.previewSplitterVisible) = shown;
    storePaneFlag(tree ? KeyTreeShown : KeyPreviewShown, shown);
    sizeControls();
}

void PaneLayout::startDrag(QWidget *ghost, const TwipRect &splitter)
{
    const TwipRect g = ghostRectForPress(splitter);
    placeWidget(ghost, g);
    (ghost == m_treeGhost ? m_treeGhostLeft : m_previewGhostLeft) = g.left;
    ghost->show();
    ghost->raise();
    m_dragging = true;
}

void PaneLayout::moveGhost(QWidget *ghost, const TwipRect &splitter, double x)
{
    if (!m_dragging)
        return;
    const double left = ghostLeftForMove(splitter.left, x, outerWidthTwips());
    (ghost == m_treeGhost ? m_treeGhostLeft : m_previewGhostLeft) = left;
    ghost->move(twipsToPixels(left, m_tpp), ghost->y());
}

void PaneLayout::releaseTreeSplitter()
{
    const SplitterState s = shell::releaseTreeSplitter(m_treeGhostLeft, m_controls.previewSplitter.left,
                                                       m_controls.previewVisible);
    m_splitters.treeSplitterLeft = s.treeSplitterLeft;
    m_splitters.previewSplitterLeft = s.previewSplitterLeft;
    sizeControls();
    m_treeGhost->hide();
    m_dragging = false;
}

void PaneLayout::releasePreviewSplitter()
{
    const SplitterState s = shell::releasePreviewSplitter(m_controls.treeSplitter.left, m_previewGhostLeft,
                                                          m_controls.treeVisible);
    m_splitters.treeSplitterLeft = s.treeSplitterLeft;
    m_splitters.previewSplitterLeft = s.previewSplitterLeft;
    sizeControls();
    m_previewGhost->hide();
    m_dragging = false;
}

} // namespace pavix::shell
