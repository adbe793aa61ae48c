#include "platform/clipboard.h"

#include <QClipboard>
#include <QGuiApplication>

namespace pavix::platform {

void putPictureOnClipboard(const QImage &picture)
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    if (!clipboard)
        return;
    if (picture.isNull())
        clipboard->clear();
    else
        clipboard->setImage(picture);
}

QImage clipboardBitmap()
{
    const QClipboard *clipboard = QGuiApplication::clipboard();
    if (!clipboard)
        return QImage();
    const QImage picture = clipboard->image();
    return picture.isNull() ? picture : picture.convertToFormat(QImage::Format_RGB32);
}

} // namespace pavix::platform
