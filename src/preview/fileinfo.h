#pragma once
// The three texts and the part edges of the status window's file information, in the
// user's language.

#include <QString>

#include <array>

namespace pavix::preview {


struct FileInfoTexts {
    std::array<int, 4> rightEdgesPx; // q, 2q, 3q and -1 (the last one runs to the edge)
    QString file;                    // first status field
    QString dim;                     // second
    QString size;                    // third; the fourth tells how the picture tiles
};

// Status texts for the current picture. windowWidthPx is the main window's inner width in
// pixels, split into quarters truncated toward zero (1003 -> 250, 500, 750, -1); widthPx and
// heightPx the picture's size in pixels; formattedSize the file length already grouped
// ("1,234,567"). Gives "File: " + the file's name, "Dim: " + w + "x" + h and "Size: " + size + " bytes".
FileInfoTexts fileInfoTexts(int windowWidthPx, int widthPx, int heightPx, const QString &fileName,
                            const QString &formattedSize);

} // namespace pavix::preview
