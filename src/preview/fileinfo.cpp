#include "preview/fileinfo.h"

#include <QCoreApplication>

namespace pavix::preview {

FileInfoTexts fileInfoTexts(int windowWidthPx, int widthPx, int heightPx, const QString &fileName,
                            const QString &formattedSize)
{
    // Integer division truncates toward zero, and 3q stays within range for any width.
    const int quarter = windowWidthPx / 4;
    FileInfoTexts texts;
    texts.rightEdgesPx = {quarter, 2 * quarter, 3 * quarter, -1};
    texts.file = QCoreApplication::translate("pavix::preview", "File: %1").arg(fileName);
    texts.dim = QCoreApplication::translate("pavix::preview", "Dim: %1x%2").arg(widthPx).arg(heightPx);
    texts.size = QCoreApplication::translate("pavix::preview", "Size: %1 bytes").arg(formattedSize);

    return texts;
}

} // namespace pavix::preview
