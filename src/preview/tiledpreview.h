#pragma once
// The tiled preview window `Preview`: covers its client area with copies of the probe's
// picture at natural size, edge to edge from the top-left corner, and shows the font
// sample `Smpl` over the tiles while the font toolbox is open. Any click or Esc unloads it;
// its place and size are kept in PrvLeft, PrvTop, PrvWidth and PrvHeight (twips).

#include <QColor>
#include <QPixmap>
#include <QString>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <optional>

class QLineEdit;

namespace pavix::shell {
class MainWindow;
}

namespace pavix::preview {

// Caption of the window.
inline const QString PreviewCaption = QStringLiteral("Preview");

// Where the sample sits while it is shown, and where it is parked out of sight (twips).
inline constexpr double SmplLeft = 400;
inline constexpr double SmplTop = 400;
inline constexpr double SmplHiddenLeft = -2000;
// Smallest outer width and height of the window, twips.
inline constexpr double PreviewMinimumSize = 2000;

// One line of sample text as the font toolbox sets it.
struct Sample {
    QString text;
    QString fontFamily;
    double pointSize = 0;
    QColor colour;
};

// What the font toolbox will provide to the window. Each may be empty; an empty hook does
// nothing (an empty sampleHook counts as "the toolbox is not visible").
struct TiledPreviewHooks {
    // F2: shows the font toolbox modeless.
    std::function<void()> toolboxHook;
    // The sample to show while the toolbox is visible; nothing while it is hidden.
    std::function<std::optional<Sample>()> sampleHook;
    // Gives the focus to the toolbox window once the sample is placed.
    std::function<void()> focusToolboxHook;
};

// The hooks kept with `main`, created empty on first use; every tiled preview window of
// `main` reads them when it needs them, so they may be set before or after it opens.
TiledPreviewHooks &tiledPreviewHooks(shell::MainWindow &main);

class TiledPreview : public QWidget {
    Q_OBJECT
public:
    // Loads the window for `main` (hidden): places it from PrvLeft/PrvTop with the size
    // PrvWidth x PrvHeight, at least PreviewMinimumSize each way. It deletes itself when
    // closed.
    explicit TiledPreview(shell::MainWindow &main);
    ~TiledPreview() override;

    // The sample text box.
    QLineEdit *Smpl = nullptr;

    // Outer width and height of the window in twips (the client area plus the frame
    // allowance the program measures windows with).
    double outerWidthTwips() const;
    double outerHeightTwips() const;

    // Shows the sample when the toolbox gives one, otherwise empties and parks it.
    void Form_Activate();
    // Esc (27) unloads the window; F2 (113) shows the toolbox and then takes the focus
    // back. Returns true when the key was one of the two.
    bool Form_KeyDown(int keyCode, int shift);
    // Snaps a width or height below PreviewMinimumSize back to it, then records the outer
    // size in PrvWidth and PrvHeight.
    void Form_Resize();
    // Records the frame position in PrvLeft/PrvTop and gives the focus back to the main
    // window's list, or to the thumbnail area when the list is hidden.
    void Form_Unload();

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The tile for the current probe and step: converted once per picture and step, not
    // per paint. A null pixmap when the probe holds no picture.
    const QPixmap &tile(QSize stepPx);
    void applySample(const Sample &sample);
    int px(double twips) const;

    shell::MainWindow &m_main;
    double m_tpp;
    // Smallest client width and height in pixels whose outer size is PreviewMinimumSize.
    int m_minimumPx = 1;
    QPixmap m_tile;
    qint64 m_tileKey = 0;
    QSize m_tileStep;
    bool m_inResize = false;
    bool m_unloaded = false;
};

// Loads the tiled preview window of `main` when it is not loaded (registering it with the
// main window and setting main.Preview), then shows it modeless, raised and active.
void showTiledPreview(shell::MainWindow &main);
// Repaints the loaded tiled preview window, so it shows the current picture once that
// changes; nothing when the window is not loaded.
void refreshTiledPreview(shell::MainWindow &main);
// Unloads the tiled preview window when it is loaded and visible; a hidden or absent
// window is left as it is.
void unloadTiledPreview(shell::MainWindow &main);
// True while the tiled preview window is loaded and visible.
bool tiledPreviewVisible(const shell::MainWindow &main);

} // namespace pavix::preview
