#pragma once
// The tiled preview window: covers its client area with copies of the browser's picture at
// natural size, edge to edge from the top-left corner, and shows the line of sample text
// over the tiles while the font toolbox gives one. Any click or Esc closes it; its place
// and size are kept in a WindowPlace (twips) for the next time and for the settings.
// Ctrl+minus, Ctrl+plus, Ctrl+0 and Ctrl with the wheel zoom the tiles (not the sample),
// F11 fills the screen, S marks the seams between the copies.

#include "preview/seams.h"

#include <QCoreApplication>
#include <QPixmap>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <cstdint>

class QLineEdit;
class QPainter;

namespace pavix::browser {
class Browser;
struct Sample;
}

namespace pavix::preview {

// Caption of the window.
inline QString previewCaption()
{
    return QCoreApplication::translate("pavix::preview", "Preview");
}


// Where the sample sits while it is shown, and where it is parked out of sight (twips).
inline constexpr double SampleLeft = 400;
inline constexpr double SampleTop = 400;
inline constexpr double SampleHiddenLeft = -2000;
// Smallest outer width and height of the window, twips.
inline constexpr double PreviewMinimumSize = 2000;

// The frame's top-left corner and the outer size of a window, twips.
struct WindowPlace {
    std::int32_t left = 1000;
    std::int32_t top = 1000;
    std::int32_t width = 6500;
    std::int32_t height = 6500;
};

class TiledPreview : public QWidget {
    Q_OBJECT
public:
    // Loads the window (hidden) over `parent`: sized from `place`, at least
    // PreviewMinimumSize each way and at most the screen, and placed at its stored corner,
    // moved wholly onto a screen when it is not on one. It deletes itself when closed, writing its
    // size into `place` as it changes and its corner as it closes.
    TiledPreview(browser::Browser &browser, WindowPlace &place, QWidget *parent);
    ~TiledPreview() override;

    // The sample text box.
    QLineEdit *sampleEdit() const { return m_sample; }

    // Outer width and height of the window in twips.
    double outerWidthTwips() const;
    double outerHeightTwips() const;

    // The zoom of the tiles in percent (one of ZoomSteps; 100 when opened).
    int zoom() const { return m_zoom; }
    void setZoom(int percent);
    // True while the seams between the copies are marked.
    bool seamMarksShown() const { return m_seamMarksShown; }
    void setSeamMarksShown(bool shown);
    // Full screen on the window's screen and back; the stored place stays the normal one.
    void toggleFullScreen();

signals:
    // F2: the font toolbox is wanted.
    void toolboxRequested();
    // The sample was placed over the tiles; the toolbox may take the focus.
    void sampleShown();
    // The window is closing: the focus goes back to the file area.
    void closing();
    // The window hid itself, having no picture to tile, while it held the keyboard: the
    // focus goes back to the file area, as when it closes.
    void keyboardReleased();

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Activation: shows the browser's sample when there is one (and says so), otherwise
    // empties and parks the box.
    void showSample();
    // Lays out the browser's sample at once when there is one, otherwise empties and parks
    // the box; the focus stays where it is.
    void followSample();
    // Tells the browser where the sample's text lies over the tiles.
    void publishSamplePlacement();
    // Esc leaves full screen or closes the window; F2 asks for the toolbox and takes the
    // focus back; the zoom keys, F11 and S. True when the key was one of them.
    bool handleKey(const QKeyEvent &key);
    // Snaps a width or height below the minimum back to it, then records the outer size.
    void keepMinimumAndRecordSize();
    // Records the corner and says the window is closing; once.
    void recordPlaceAndClose();
    // What the tiles are painted from at the zoom (tileSource()), made once per picture and
    // zoom.
    const QPixmap &tile();
    // Paints the marks of the seams inside dirty.
    void paintSeamMarks(QPainter &painter, const QRect &dirty);
    void applySample(const browser::Sample &sample);
    int px(double twips) const;

    browser::Browser &m_browser;
    WindowPlace &m_place;
    double m_tpp;
    QLineEdit *m_sample = nullptr;
    // Smallest client width and height in pixels whose outer size is PreviewMinimumSize.
    int m_minimumPx = 1;
    QPixmap m_tile;
    qint64 m_tileKey = 0;
    int m_tileZoom = 0;
    int m_zoom = 100;
    // Eighths of a degree the wheel turned with Ctrl held, not yet a whole step.
    int m_wheelTurn = 0;
    bool m_seamMarksShown = false;
    SeamRatios m_seams;
    qint64 m_seamsKey = 0;
    // The frame's corner and the client size before the window filled the screen.
    QPoint m_normalCorner;
    QSize m_normalSize;
    // Width of the sample's text box without the margin beyond it, pixels.
    int m_sampleTextWidthPx = 0;
    bool m_sampleShown = false;
    bool m_inResize = false;
    bool m_closed = false;
};

// Owns the tiled window for the main window: loads it on demand, remembers its place
// between openings, and repaints it whenever the browser's picture changes.
class TiledPreviewHost : public QObject {
    Q_OBJECT
public:
    TiledPreviewHost(browser::Browser &browser, QWidget *parentWindow);

    // The place the window opens at and left at its last closing.
    const WindowPlace &place() const { return m_place; }
    // The place the window opens at next (start-up); an open window keeps its own.
    void setPlace(const WindowPlace &place) { m_place = place; }
    // Loads the window when it is not loaded, then shows it raised and active.
    void show();
    // Closes the window when it is loaded and visible; a hidden one stays loaded.
    void unloadIfVisible();
    // Closes the window whenever it is loaded (shutdown).
    void close();
    // The loaded window, or nullptr.
    TiledPreview *window() const { return m_window; }
    // True while the window is loaded and visible.
    bool isShown() const;

signals:
    void toolboxRequested();
    void sampleShown();
    // The window closed, or hid itself while it held the keyboard: the focus goes back to
    // the file area.
    void focusReturned();

private:
    browser::Browser &m_browser;
    QWidget *m_parentWindow;
    WindowPlace m_place;
    QPointer<TiledPreview> m_window;
};

} // namespace pavix::preview
