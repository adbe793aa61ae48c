#pragma once
// The thumbnail grid: builds the strip from the browser's file list (thumbnail i shows file
// i of the listing, whatever order the list is sorted in), scrolls it, selects and walks
// its thumbnails with the mouse and the keys, and keeps the selection marker on the file
// the browser selected.

#include <QCoreApplication>
#include <QObject>

#include <QString>

#include <chrono>
#include <memory>

class QLabel;
class QProgressBar;
class QScrollBar;
class QWidget;

namespace pavix::browser {
class Browser;
class StatusLine;
}

namespace pavix::platform {
class ThumbnailCache;
}

namespace pavix::thumbs {

class ThumbStrip;

// The row-limit message, trailing space included.
inline QString rowLimitMessage()
{
    return QCoreApplication::translate("pavix::thumbs::ThumbGrid",
                                       "Please increase the Thumbnailers' size and press F5 to show the thumbnails. ");
}

// The widgets of the thumbnail area the grid drives.
struct ThumbArea {
    ThumbStrip *strip = nullptr;         // the cells, inside the viewport
    QScrollBar *scrollBar = nullptr;     // scrolls the strip, in centimetres
    QWidget *viewport = nullptr;         // the visible part of the strip
    QProgressBar *progressBar = nullptr; // shown while the grid is built
    QLabel *imagesLabel = nullptr;       // hidden while the progress bar shows
};

class ThumbGrid : public QObject {
    Q_OBJECT
public:
    ThumbGrid(browser::Browser &browser, browser::StatusLine &status, const ThumbArea &area);

    // The area's size as the main window's layout made it: strip and scroll bar widths in
    // centimetres, viewport height in twips.
    void setAreaSize(double stripWidthCm, double scrollWidthCm, double viewportHeight);

    // The shared thumbnail cache the builds read and fill; none (the default) decodes every
    // picture on every build.
    void setThumbnailCache(std::shared_ptr<const platform::ThumbnailCache> cache);

    // Rebuilds the whole grid from the file list. Decodes on every core but places the
    // cells in order with the progress bar advancing; each cell is painted as it is
    // placed. Meanwhile the windows repaint and answer the desktop, but no input of the
    // user's and no other handler of the program's runs (platform::BusyScope); a close
    // meanwhile ends the build at the next cell, the cells left unbuilt hidden. More rows than the strip can hold build nothing and show rowLimitMessage() in
    // a message box.
    void build();
    // What an empty folder leaves: only element 0, hidden, and no scroll bar.
    void showEmpty();
    // Index of the last thumbnail column of the last build.
    int lastColumn() const { return m_lastColumn; }
    // The thumbnail the browser selected last (from 0), or -1.
    int currentIndex() const { return m_current; }
    // Makes thumbnail i the selection (i must exist).
    void selectThumb(int i);
    // Leaves no thumbnail selected and invites a click.
    void clearThumbSelection();
    // Moves the marker onto thumbnail n when it is shown; hides it when the thumbnail does
    // not exist; leaves it when the thumbnail exists but is hidden.
    void markThumb(int n);
    void hideMarker();
    // A key on the thumbnail area: arrows walk, Page Up/Down scroll, Enter asks for the
    // tiled window; only while the marker shows and there are two thumbnails or more.
    void handleKey(int keyCode);

    // How long the build waits for a cell before it handles the windows' events again.
    static constexpr std::chrono::milliseconds CellWaitSlice{15};

signals:
    // Cell i got its picture and shows (during a build).
    void cellPlaced(int index);
    // The strip's top and height in centimetres changed; the window places it.
    void stripPlaced(double topCm, double heightCm);
    void wallpaperMenuRequested();
    // A right press on empty space: the list's menu, then sorting is not offered.
    void areaMenuRequested();
    void tiledPreviewRequested();
    // A left press on empty space cleared the selection.
    void selectionClearedByClick();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void onThumbMouseDown(int index, int button, int shift);
    void onEmptyMouseDown(int button, int shift);
    void onScrolled(int value);
    void advanceProgress(int value);

    browser::Browser &m_browser;
    browser::StatusLine &m_status;
    ThumbArea m_area;
    double m_stripWidthCm = 0;
    double m_scrollWidthCm = 0;
    double m_viewportHeight = 0;
    double m_stripHeightCm = 0;
    int m_lastColumn = -1;
    int m_scrollMax = 0;
    int m_current = -1;
    std::shared_ptr<const platform::ThumbnailCache> m_thumbnailCache;
};

} // namespace pavix::thumbs
