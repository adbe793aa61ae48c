#pragma once
// What a JPEG file's frame header says, read from the file's first bytes without decoding:
// the picture's size, its colour components and whether it is progressive. A progressive
// picture makes the decoder keep every coefficient of the whole picture while it reads the
// scans, however small the picture is decoded, so its memory is known only from here.

#include <QByteArrayView>

#include <optional>

namespace pavix::common {

struct JpegFrame {
    int width = 0;  // pixels; 0 when the file leaves it to a later marker
    int height = 0; // pixels; 0 when the file leaves it to a later marker
    int components = 0;
    bool progressive = false;
};

// The frame header of JPEG data given from its start: the first start-of-frame marker
// before the first scan. Nothing when the data is not JPEG (no start-of-image marker), when
// a segment is cut short, or when no frame header comes before the first scan or the end of
// the bytes given.
std::optional<JpegFrame> readJpegFrame(QByteArrayView data);

// The memory, in bytes, the decoder keeps for the coefficients of a progressive picture of
// the frame: 2 bytes for each pixel of each component, over the picture padded to whole
// 16 x 16 blocks (the largest the decoder uses). 0 for a frame that is not progressive.
qint64 progressiveCoefficientBytes(const JpegFrame &frame);

} // namespace pavix::common
