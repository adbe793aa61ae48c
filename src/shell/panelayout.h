#pragma once
// The main window's panes laid out in twips and converted to pixels once, at the widgets:
// tool bar, title strip, folder tree, file area (list or thumbnail grid), preview frame,
// the two splitters with their ghost bars, and the status line's room. It keeps the
// splitter positions, shows and hides the side panes and carries the splitter drags.

#include "shell/commandtable.h"
#include "shell/layoutmath.h"

#include <QObject>

#include <array>

class QAction;
class QLabel;
class QMainWindow;
class QProgressBar;
class QScrollBar;
class QToolBar;
class QWidget;

namespace pavix::foldertree {
class FolderTree;
}
namespace pavix::platform {
class SettingsStore;
}
namespace pavix::listview {
class QtListView;
}
namespace pavix::preview {
class PreviewPane;
}
namespace pavix::thumbs {
class ThumbGrid;
class ThumbStrip;
}

namespace pavix::shell {

class ClientArea;
class ElidedLabel;
class SplitterBar;
class StatusBar;

// The widgets the layout places; all live as long as the layout.
struct PaneWidgets {
    QMainWindow *window = nullptr;
    ClientArea *client = nullptr;
    QToolBar *toolBar = nullptr;
    QWidget *titleStrip = nullptr;
    ElidedLabel *typesLabel = nullptr;
    QLabel *imagesLabel = nullptr;
    QProgressBar *progressBar = nullptr;
    foldertree::FolderTree *tree = nullptr;
    listview::QtListView *list = nullptr;
    QWidget *thumbArea = nullptr;
    QScrollBar *thumbScrollBar = nullptr;
    thumbs::ThumbStrip *thumbStrip = nullptr;
    thumbs::ThumbGrid *thumbGrid = nullptr;
    preview::PreviewPane *previewPane = nullptr;
    SplitterBar *treeSplitter = nullptr;
    SplitterBar *previewSplitter = nullptr;
    StatusBar *statusBar = nullptr;
    // The View menu's marks of the tool bar, the status bar, the tree and the preview.
    std::array<QAction *, 4> paneItems{};
};

enum class SidePane { Tree, Preview };

class PaneLayout : public QObject {
    Q_OBJECT
public:
    // The pane flags are written through to `settings` as they are toggled.
    PaneLayout(const PaneWidgets &widgets, platform::SettingsStore &settings, double twipsPerPixel);

    // The least outer width of the main window, twips.
    static double minimumWidth();
    // The room the status line may take at the bottom, pixels.
    static int statusReservePx(double twipsPerPixel);

    // Lays out every pane from the window's size, the splitter positions and the pane
    // flags, and fits the preview picture again.
    void sizeControls();
    // The resize handling: minimum width, status line re-dock, splitters kept in
    // proportion, then sizeControls.
    void handleResize();
    // The window was resized: the resize handling now, or, while a grid is built (which
    // keeps the layout it started with), once the build is over.
    void windowResized();
    // Sizes the window to an outer width and height in twips (cut to twice the desktop)
    // and runs the resize handling (also while the window is hidden).
    void resizeToOuter(double widthTwips, double heightTwips);
    double outerWidthTwips() const;
    double outerHeightTwips() const;
    double clientHeightTwips() const;

    const Controls &controls() const { return m_controls; }
    const SplitterState &splitters() const { return m_splitters; }
    void setSplitters(const SplitterState &splitters) { m_splitters = splitters; }
    bool isDraggingSplitter() const { return m_dragging; }
    bool isShown(SidePane pane) const;

    // Shows or hides the tool bar, the folder tree and the preview frame with their
    // splitters (start-up), without laying out.
    void setPaneFlags(bool toolBar, bool tree, bool preview);
    // Runs one of the four show/hide commands below; false for any other command.
    bool run(Command command);
    // The four show/hide commands: each flips its View menu mark, stores the flag at once
    // and lays the window out. A side pane comes or goes with its splitter, the splitters
    // first moving apart.
    void toggleToolBar();
    void toggleStatusBar();
    void toggleSidePane(SidePane pane);
    // Places the thumbnail strip inside its viewport: top and height in centimetres.
    void placeThumbStrip(double topCm, double heightCm);

    QWidget *treeGhost() const { return m_treeGhost; }
    QWidget *previewGhost() const { return m_previewGhost; }

signals:
    // The status line was switched on (it starts empty).
    void statusBarCreated();

private:
    void storePaneFlag(const QString &key, bool shown);
    LayoutInput layoutInput() const;
    void applyControls();
    void placeWidget(QWidget *widget, const TwipRect &rect) const;
    // Splitter dragging: a ghost bar follows the pointer and the release commits it.
    void startDrag(QWidget *ghost, const TwipRect &splitter);
    void moveGhost(QWidget *ghost, const TwipRect &splitter, double x);
    void releaseTreeSplitter();
    void releasePreviewSplitter();

    PaneWidgets m_w;
    platform::SettingsStore &m_settings;
    double m_tpp;
    QWidget *m_treeGhost;
    QWidget *m_previewGhost;
    Controls m_controls;
    SplitterState m_splitters;
    // Left edges of the two ghost bars as last placed, twips.
    double m_treeGhostLeft = 0;
    double m_previewGhostLeft = 0;
    bool m_dragging = false;
    bool m_resizePending = false; // a resize waits for the end of a grid build
};

} // namespace pavix::shell
