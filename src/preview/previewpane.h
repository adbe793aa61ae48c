#pragma once
// The preview pane: shows the browser's current picture fitted into the pane's frame, writes
// the file information into the status line whenever the picture changes, says why a
// selected file cannot be read, and turns presses on the preview image into requests for
// the wallpaper menu (right button) and the tiled window (left button).

#include "common/result.h"
#include "common/units.h"
#include "preview/previewfit.h"

#include <QCoreApplication>
#include <QObject>
#include <QString>

class QWidget;

namespace pavix::browser {
class Browser;
class StatusLine;
}

namespace pavix::preview {

class StretchImage;

inline QString deviceIoMessage()
{
    return QCoreApplication::translate("pavix::preview", "Device I/O Error");
}


class PreviewPane : public QObject {
    Q_OBJECT
public:
    // `image` shows the picture; the status parts are measured on `window`'s width.
    PreviewPane(browser::Browser &browser, StretchImage *image, browser::StatusLine &status, QWidget *window);

    // The frame the picture is fitted into (twips of the window) and whether the pane is
    // shown. A picture already shown is fitted again.
    void setFrame(const common::TwipRect &frame, bool visible);
    // Places and sizes the preview image inside the frame for the picture's natural size.
    void fitPreview();
    // Divides the status line into four parts and writes "File: ", "Dim: ", "Size: " and
    // whether the picture tiles without seams ("Tiles: ..."). Fails (the texts already
    // written stay) when the file's length cannot be read.
    common::Status showFileInfo();
    // Where the preview image is, in twips.
    const PreviewGeometry &geometry() const { return m_geometry; }
    StretchImage *image() const { return m_image; }

signals:
    void wallpaperMenuRequested();
    void tiledPreviewRequested();

private:
    void onPictureChanged();
    void onSelectionFailed(const common::Error &error);
    void onImageMouseDown(int button, int shift);
    void apply();
    // The seam report of the current picture ("" when there is none).
    QString seamReport();

    browser::Browser &m_browser;
    StretchImage *m_image;
    browser::StatusLine &m_status;
    QWidget *m_window;
    common::TwipRect m_frame;
    bool m_frameVisible = true;
    PreviewGeometry m_geometry{0, 0, 0, 0, false};
    qint64 m_seamPictureKey = 0;
    QString m_seamText;
};

} // namespace pavix::preview
