#include "common/jpegframe.h"

namespace pavix::common {

namespace {

int byteAt(QByteArrayView data, qsizetype at)
{
    return static_cast<unsigned char>(data[at]);
}

int wordAt(QByteArrayView data, qsizetype at)
{
    return (byteAt(data, at) << 8) | byteAt(data, at + 1);
}

// Start-of-frame markers: 0xc0 to 0xcf, except 0xc4 (Huffman tables), 0xc8 (reserved) and
// 0xcc (arithmetic conditioning).
bool isFrameMarker(int marker)
{
    return marker >= 0xc0 && marker <= 0xcf && marker != 0xc4 && marker != 0xc8 && marker != 0xcc;
}

// The progressive frames: Huffman (0xc2, 0xc6) and arithmetic (0xca, 0xce) coded.
bool isProgressiveMarker(int marker)
{
    return marker == 0xc2 || marker == 0xc6 || marker == 0xca || marker == 0xce;
}

// Markers that stand alone, without a length: TEM and the restart markers.
bool standsAlone(int marker)
{
    return marker == 0x01 || (marker >= 0xd0 && marker <= 0xd7);
}

} // namespace

std::optional<JpegFrame> readJpegFrame(QByteArrayView data)
{
    if (data.size() < 4 || byteAt(data, 0) != 0xff || byteAt(data, 1) != 0xd8)
        return std::nullopt;
    qsizetype at = 2;
    while (at + 1 < data.size()) {
        // As the decoder does, bytes up to the next 0xff are passed over (a damaged file
        // may hold some), any number of 0xff pad the space before a marker, and 0xff 0x00
        // is no marker.
        qsizetype code = at;
        for (;;) {
            while (code < data.size() && byteAt(data, code) != 0xff)
                ++code;
            while (code < data.size() && byteAt(data, code) == 0xff)
                ++code;
            if (code >= data.size())
                return std::nullopt;
            if (byteAt(data, code) != 0x00)
                break;
        }
        const int marker = byteAt(data, code);
        at = code + 1;
        if (standsAlone(marker))
            continue;
        if (marker == 0xd8 || marker == 0xd9 || marker == 0xda)
            return std::nullopt; // a second start, the end or the first scan: no frame before it
        if (at + 2 > data.size())
            return std::nullopt;
        const int length = wordAt(data, at);
        if (length < 2 || at + length > data.size())
            return std::nullopt;
        if (isFrameMarker(marker)) {
            // Precision, height, width, component count.
            if (length < 8)
                return std::nullopt;
            JpegFrame frame;
            frame.height = wordAt(data, at + 3);
            frame.width = wordAt(data, at + 5);
            frame.components = byteAt(data, at + 7);
            frame.progressive = isProgressiveMarker(marker);
            return frame;
        }
        at += length;
    }
    return std::nullopt;
}

qint64 progressiveCoefficientBytes(const JpegFrame &frame)
{
    if (!frame.progressive)
        return 0;
    const auto padded = [](int side) { return (qint64(side) + 15) / 16 * 16; };
    return padded(frame.width) * padded(frame.height) * frame.components * 2;
}

} // namespace pavix::common
