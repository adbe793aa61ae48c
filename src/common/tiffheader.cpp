#include "common/tiffheader.h"

#include <algorithm>
#include <limits>

namespace pavix::common {

namespace {

class TiffBytes {
public:
    TiffBytes(QByteArrayView bytes, bool bigEndian) : m_bytes(bytes), m_bigEndian(bigEndian) {}

    // The unsigned number of `size` bytes at offset, or none when they are not all there.
    std::optional<quint64> number(quint64 offset, int size) const
    {
        if (offset > quint64(m_bytes.size()) || quint64(m_bytes.size()) - offset < quint64(size))
            return std::nullopt;
        quint64 value = 0;
        for (int i = 0; i < size; ++i) {
            const quint64 byte = quint8(m_bytes[qsizetype(offset) + (m_bigEndian ? i : size - 1 - i)]);
            value = (value << 8) | byte;
        }
        return value;
    }

private:
    QByteArrayView m_bytes;
    bool m_bigEndian;
};

// Bytes of one value of each field type that can hold a count or a size: BYTE, SHORT,
// LONG, LONG8; 0 for the others, which these fields never use.
int typeSize(quint64 type)
{
    switch (type) {
    case 1:
        return 1;
    case 3:
        return 2;
    case 4:
        return 4;
    case 16:
        return 8;
    default:
        return 0;
    }
}

enum Tag : quint64 {
    ImageWidth = 256,
    ImageLength = 257,
    BitsPerSample = 258,
    SamplesPerPixel = 277,
    RowsPerStrip = 278,
    TileWidth = 322,
    TileLength = 323,
};

quint64 timesSaturated(quint64 a, quint64 b)
{
    quint64 product = 0;
    return __builtin_mul_overflow(a, b, &product) ? std::numeric_limits<quint64>::max() : product;
}

} // namespace

std::optional<TiffLayout> readTiffLayout(QByteArrayView head)
{
    if (head.size() < 8)
        return std::nullopt;
    const bool bigEndian = head.startsWith("MM");
    if (!bigEndian && !head.startsWith("II"))
        return std::nullopt;
    const TiffBytes bytes(head, bigEndian);
    const quint64 version = *bytes.number(2, 2);
    const bool big = version == 43;
    if (!big && version != 42)
        return std::nullopt;
    // Classic: 4-byte offsets, 2-byte entry count, 12-byte entries; BigTIFF: 8, 8, 20.
    const int offsetSize = big ? 8 : 4;
    const std::optional<quint64> directory = big ? bytes.number(8, 8) : bytes.number(4, 4);
    if (!directory)
        return std::nullopt;
    const std::optional<quint64> count = bytes.number(*directory, big ? 8 : 2);
    if (!count)
        return std::nullopt;
    const quint64 firstEntry = *directory + (big ? 8 : 2);
    const quint64 entrySize = big ? 20 : 12;

    TiffLayout layout;
    bool rowsGiven = false;
    for (quint64 i = 0; i < *count; ++i) {
        const quint64 entry = firstEntry + i * entrySize;
        if (!bytes.number(entry + entrySize - 1, 1))
            return std::nullopt; // the directory runs past the bytes at hand
        const quint64 tag = *bytes.number(entry, 2);
        const int size = typeSize(*bytes.number(entry + 2, 2));
        const std::optional<quint64> values = bytes.number(entry + 4, offsetSize);
        if (size == 0 || !values || *values == 0)
            continue;
        const quint64 valueField = entry + 4 + offsetSize;
        // The values sit in the entry when they fit there, elsewhere in the file otherwise.
        const bool inEntry = timesSaturated(*values, size) <= quint64(offsetSize);
        const std::optional<quint64> where = inEntry ? std::optional(valueField) : bytes.number(valueField, offsetSize);
        const std::optional<quint64> first = where ? bytes.number(*where, size) : std::nullopt;
        switch (tag) {
        case BitsPerSample: {
            // One size per sample; the largest counts. Those beyond head are not looked at.
            quint64 largest = 0;
            for (quint64 v = 0; where && v < *values; ++v) {
                const std::optional<quint64> bits = bytes.number(*where + v * size, size);
                if (!bits)
                    break;
                largest = std::max(largest, *bits);
            }
            if (largest > 0)
                layout.bitsPerSample = largest;
            break;
        }
        case ImageWidth:
            layout.width = first.value_or(0);
            break;
        case ImageLength:
            layout.height = first.value_or(0);
            break;
        case SamplesPerPixel:
            layout.samplesPerPixel = first.value_or(1);
            break;
        case RowsPerStrip:
            rowsGiven = first.has_value();
            layout.rowsPerStrip = first.value_or(0);
            break;
        case TileWidth:
            layout.tileWidth = first.value_or(0);
            break;
        case TileLength:
            layout.tileLength = first.value_or(0);
            break;
        default:
            break;
        }
    }
    if (!rowsGiven || layout.rowsPerStrip == 0 || layout.rowsPerStrip > layout.height)
        layout.rowsPerStrip = layout.height;
    return layout;
}

qint64 largestTiffBlockBytes(const TiffLayout &layout)
{
    const bool tiled = layout.tileWidth > 0 && layout.tileLength > 0;
    const quint64 columns = tiled ? layout.tileWidth : layout.width;
    const quint64 rows = tiled ? layout.tileLength : layout.rowsPerStrip;
    const quint64 rowBits = timesSaturated(timesSaturated(columns, layout.samplesPerPixel), layout.bitsPerSample);
    constexpr quint64 Uncounted = std::numeric_limits<quint64>::max();
    const quint64 rowBytes = rowBits == Uncounted ? Uncounted : rowBits / 8 + (rowBits % 8 != 0);
    const quint64 blockBytes = timesSaturated(rowBytes, rows);
    return qint64(std::min<quint64>(blockBytes, quint64(std::numeric_limits<qint64>::max())));
}

} // namespace pavix::common
