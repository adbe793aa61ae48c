#pragma once
// The system clipboard as the picture services use it: a picture goes on it, and comes
// back as a bitmap.

#include <QImage>

namespace pavix::platform {

// Puts the picture on the clipboard; a null picture clears it.
void putPictureOnClipboard(const QImage &picture);
// The clipboard's picture as an opaque 32-bit bitmap; a null image when it holds none.
QImage clipboardBitmap();

} // namespace pavix::platform
