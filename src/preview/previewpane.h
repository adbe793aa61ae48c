#pragma once
// The preview pane: the shared preview update that every selection runs (load the file
// into the probe, fit the preview image, describe the file in the status window), and the
// mouse handling of the preview image.

#include "common/result.h"
#include "preview/previewfit.h"

#include <QObject>
#include <QString>

namespace pavix::shell {
class MainWindow;
}

namespace pavix::preview {

inline const QString DeviceIoMessage = QStringLiteral("Device I/O Error");

class PreviewPane : public QObject {
    Q_OBJECT
public:
    explicit PreviewPane(shell::MainWindow &main);

    // Steps 2 to 6 of the preview update for the file CurFolder + "/" + CurFile: loads it
    // into the probe, sets ImgWidth and ImgHeight, fits the preview image, gives it the
    // picture and, while the status window exists, shows the file information. A file
    // that cannot be read changes nothing and returns the error.
    common::Status PreviewUpdate();
    // The preview update as the selection handlers run it: on a failure the device error
    // is reported in a message box, and any failure leaves no stale selection behind
    // (showUnreadable). True when the picture is shown.
    bool selectionUpdate();
    // Places and sizes the preview image inside the preview frame for ImgWidth x
    // ImgHeight.
    void FitPreview();
    // Divides the status window into four parts and writes "File: ", "Dim: " and "Size: ".
    // Fails (texts already sent stay) when the file's length cannot be read.
    common::Status ShowFileInfo();
    // Leaves nothing selected behind a picture that could not be read: CurFile empty, the
    // preview image and the probe emptied, and the status window saying why.
    void showUnreadable(const common::Error &error);
    // Hides the preview image and removes its picture and the probe's.
    void clear();

    // Where the preview image is, in twips.
    const PreviewGeometry &geometry() const { return m_geometry; }

    void Primg_MouseDown(int button, int shift);

private:
    void apply();

    shell::MainWindow &m_main;
    PreviewGeometry m_geometry{0, 0, 0, 0, false};
};

} // namespace pavix::preview
