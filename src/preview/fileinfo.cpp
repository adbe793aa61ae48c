#include "preview/fileinfo.h"

namespace pavix::preview {

FileInfoTexts fileInfoTexts(int windowWidthPx, int widthPx, int heightPx, const QString &fileName,
                            const QString &formattedSize)
{
    // Integer division truncates toward zero, and 3q stays within range for any width.
    const int quarter = windowWidthPx / 4;
    FileInfoTexts texts;
    texts.rightEdgesPx = {quarter, 2 * quarter, 3 * quarter, -1};
    texts.file = FilePrefix + fileName;
    texts.dim = DimPrefix + QString::number(widthPx) + QLatin1Char('x') + QString::number(heightPx);
    texts.size = SizePrefix + formattedSize + SizeSuffix;
    return texts;
}

} // namespace pavix::preview
