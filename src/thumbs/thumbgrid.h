#pragma once
// The thumbnail grid of the main window: builds the strip from the file list (`Thumbs`),
// scrolls it, and selects and walks its thumbnails with the mouse and the keys.

#include <QObject>

#include <functional>

namespace pavix::shell {
class MainWindow;
}

namespace pavix::thumbs {

class ThumbStrip;

// The row-limit message, trailing space included.
inline const QString RowLimitMessage = QStringLiteral(
    "Please increase the Thumbnailers' size and press F5 to show the thumbnails. ");

class ThumbGrid : public QObject {
    Q_OBJECT
public:
    explicit ThumbGrid(shell::MainWindow &main);

    // Rebuilds the whole grid from the file list: thumbnail i shows file i. Decodes on
    // every core but places the cells in order with the progress bar advancing, and
    // handles no other event until it is done.
    void Thumbs();
    // What an empty folder leaves: only element 0, hidden, and no scroll bar.
    void emptyGrid();
    // Index of the last thumbnail column of the last build.
    int LastCol() const { return m_lastCol; }

    // Makes thumbnail i the selection (i must exist).
    void SelectThumb(int i);
    // Leaves no thumbnail selected.
    void ClearThumbSelection();
    // Moves the marker onto the thumbnail of catalogue position n (0-based) when that
    // thumbnail is shown; hides it when the thumbnail does not exist; leaves it when the
    // thumbnail exists but is hidden.
    void markThumb(int n);
    void hideMarker();

    // Handlers of the strip and the viewport.
    void thumbMouseDown(int index, int button, int shift);
    void thumbDblClick(int index);
    void picScroll_MouseDown(int button, int shift);
    void picScroll_KeyDown(int keyCode, int shift);
    void VScroll1_Change(int value);

    // Tells the build how to show its one message (tests answer it themselves).
    std::function<void(const QString &)> showMessage;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The current thumbnail: the catalogue position of the list's selected entry, minus 1.
    int currentIndex() const;
    void advanceProgress(int value);

    shell::MainWindow &m_main;
    ThumbStrip *m_strip;
    int m_lastCol = -1;
    int m_scrollMax = 0;
};

} // namespace pavix::thumbs
