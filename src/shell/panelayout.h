#pragma once
// The main window's panes laid out in twips and converted to pixels once, at the widgets:
// tool bar, title strip, folder tree, file area (list or thumbnail grid), preview frame,
// the two splitters with their ghost bars, and the status line's room. It keeps the
// splitter positions, shows and hides the side panes and carries the splitter drags.

#include "shell/layoutmath.h"

#include <QObject>

class QLabel;
class QMainWindow;
class QProgressBar;
class QScrollBar;
class QToolBar;
class QWidget;

namespace pavix::foldertree {
class FolderTree;
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

class ElidedLabel;
class SplitterBar;
class StatusBar;

// The widgets the layout places; all live as long as the layout.
struct PaneWidgets {
    QMainWindow *window = nullptr;
    QWidget *client = nullptr;
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
};

enum class SidePane { Tree, Preview };

class PaneLayout : public QObject {
    Q_OBJECT
public:
    PaneLayout(const PaneWidgets &widgets, double twipsPerPixel);

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
    // Shows or hides a side pane with its splitter, the splitters first moving apart as the
    // pane comes or goes, and lays out.
    void setSidePaneShown(SidePane pane, bool shown);
    // Places the thumbnail strip inside its viewport: top and height in centimetres.
    void placeThumbStrip(double topCm, double heightCm);

    QWidget *treeGhost() const { return m_treeGhost; }
    QWidget *previewGhost() const { return m_previewGhost; }

private:
    LayoutInput layoutInput() const;
    void applyControls();
    void placeWidget(QWidget *widget, const TwipRect &rect) const;
    // Splitter dragging: a ghost bar follows the pointer and the release commits it.
    void startDrag(QWidget *ghost, const TwipRect &splitter);
    void moveGhost(QWidget *ghost, const TwipRect &splitter, double x);
    void releaseTreeSplitter();
    void releasePreviewSplitter();

    PaneWidgets m_w;
    double m_tpp;
    QWidget *m_treeGhost;
    QWidget *m_previewGhost;
    Controls m_controls;
    SplitterState m_splitters;
    // Left edges of the two ghost bars as last placed, twips.
    double m_treeGhostLeft = 0;
    double m_previewGhostLeft = 0;
    bool m_dragging = false;
};

} // namespace pavix::shell
