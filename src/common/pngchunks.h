#pragma once
// A check of a PNG file's chunk lengths before it is handed to the PNG reader, which sets
// aside and clears the memory a chunk claims before it finds the file short: a file of a
// few hundred bytes could otherwise cost gigabytes. Such a file can never be read whole
// anyway.

#include <QByteArrayView>

namespace pavix::common {

// True when no chunk of the PNG data claims more than the file holds after the chunk's
// header, up to the IEND chunk. head is the file's start (the whole file or less of it),
// fileLength the whole file's length in bytes: chunks whose header lies beyond head are
// not looked at. Data that is not PNG passes, as the PNG reader does not take it.
bool pngChunksWithinFile(QByteArrayView head, qint64 fileLength);

// The same for data that is the whole file.
inline bool pngChunksWithinFile(QByteArrayView wholeFile)
{
    return pngChunksWithinFile(wholeFile, wholeFile.size());
}

// The same for every entry of an icon or cursor file that holds a PNG: each entry is handed
// to the PNG reader as the bytes its directory gives it (no more than the file holds). head
// and fileLength as above; entries beyond head are not looked at. Data that is not an icon
// file passes.
bool iconPngEntriesWithinFile(QByteArrayView head, qint64 fileLength);

// Both checks: the data as a PNG file, and as an icon file's PNG entries.
inline bool pngDataWithinFile(QByteArrayView head, qint64 fileLength)
{
    return pngChunksWithinFile(head, fileLength) && iconPngEntriesWithinFile(head, fileLength);
}

} // namespace pavix::common
