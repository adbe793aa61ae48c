#pragma once
// The layout a TIFF file's first directory declares, read before the file is handed to the
// TIFF reader. That reader sets aside a whole strip or tile before decoding it, sized from
// the declared width, samples per pixel and bits per sample, none of which the picture's
// size bounds: a file of a few hundred bytes declaring 65,535 samples a pixel would ask for
// hundreds of gigabytes.

#include <QByteArrayView>
#include <QtGlobal>

#include <optional>

namespace pavix::common {

struct TiffLayout {
    quint64 width = 0;
    quint64 height = 0;
    quint64 samplesPerPixel = 1;
    // The largest of the declared sizes; 1 when they lie beyond the bytes at hand, as the
    // reader takes a missing one.
    quint64 bitsPerSample = 1;
    // Rows in one strip; the whole picture when the file does not say.
    quint64 rowsPerStrip = 0;
    // Both 0 for a picture stored in strips.
    quint64 tileWidth = 0;
    quint64 tileLength = 0;
};

// The layout of the first directory of a classic or BigTIFF file, either byte order; none
// when head does not start as a TIFF file does or the directory lies beyond head.
std::optional<TiffLayout> readTiffLayout(QByteArrayView head);

// The bytes of the largest strip or tile of layout, all samples of a pixel together; at
// most the largest qint64 (a declared size too large to count is as good as infinite).
qint64 largestTiffBlockBytes(const TiffLayout &layout);

} // namespace pavix::common
