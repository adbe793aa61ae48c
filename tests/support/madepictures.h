#pragma once
// Small hostile files of the later picture types, made byte by byte: headers that claim far
// more pixels than the file holds, a TIFF of hundreds of pages and a WebP animation of
// thousands of frames.

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QtEndian>

#include <utility>
#include <vector>

namespace pavix::testsupport {

namespace made {

inline QByteArray bigEndian32(quint32 value)
{
    QByteArray out(4, '\0');
    qToBigEndian(value, out.data());
    return out;
}

inline QByteArray littleEndian(quint64 value, int size)
{
    QByteArray out(size, '\0');
    for (int i = 0; i < size; ++i)
        out[i] = char((value >> (8 * i)) & 0xff);
    return out;
}

inline quint32 crc32(const QByteArray &bytes)
{
    quint32 crc = 0xffffffffu;
    for (const char byte : bytes) {
        crc ^= quint8(byte);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

inline QByteArray pngChunk(const char *type, const QByteArray &data)
{
    const QByteArray typed = QByteArray(type, 4) + data;
    return bigEndian32(quint32(data.size())) + typed + bigEndian32(crc32(typed));
}

inline QByteArray riffChunk(const char *type, QByteArray data)
{
    if (data.size() % 2 != 0)
        data.append('\0');
    return QByteArray(type, 4) + littleEndian(quint64(data.size()), 4) + data;
}

inline QByteArray riffFile(const QByteArray &chunks)
{
    return QByteArray("RIFF") + littleEndian(quint64(chunks.size() + 4), 4) + QByteArray("WEBP") + chunks;
}

// A TIFF page of width x height, 8-bit grey in one strip of `strip` bytes at stripOffset,
// whose next page starts at nextPage (0 for none). 8 entries of 12 bytes.
inline QByteArray tiffPage(quint32 width, quint32 height, quint32 stripOffset, quint32 strip, quint32 nextPage)
{
    const std::pair<quint16, quint32> fields[] = {
        {256, width}, {257, height}, {258, 8}, {259, 1}, {262, 1}, {273, stripOffset}, {278, height}, {279, strip},
    };
    QByteArray page = littleEndian(std::size(fields), 2);
    for (const auto &[tag, value] : fields)
        page += littleEndian(tag, 2) + littleEndian(4, 2) + littleEndian(1, 4) + littleEndian(value, 4);
    return page + littleEndian(nextPage, 4);
}

constexpr int TiffPageBytes = 2 + 8 * 12 + 4;

} // namespace made

// A PNG whose header claims width x height, with one tiny compressed row.
inline QByteArray pngClaiming(quint32 width, quint32 height)
{
    const QByteArray header = made::bigEndian32(width) + made::bigEndian32(height)
                              + QByteArray("\x08\x06\x00\x00\x00", 5);
    const QByteArray row = QByteArray::fromHex("789c636000000000010001"); // zlib of one zero byte
    return QByteArray("\x89PNG\r\n\x1a\n", 8) + made::pngChunk("IHDR", header) + made::pngChunk("IDAT", row)
           + made::pngChunk("IEND", QByteArray());
}

// A WebP whose extended header claims a canvas of width x height, holding the 1 x 1 picture
// of `onePixel` (a plain lossy WebP file).
inline QByteArray webpClaiming(quint32 width, quint32 height, const QByteArray &onePixel)
{
    const QByteArray canvas = QByteArray(4, '\0') + made::littleEndian(width - 1, 3)
                              + made::littleEndian(height - 1, 3);
    return made::riffFile(made::riffChunk("VP8X", canvas) + onePixel.mid(12));
}

// An animated WebP of `frames` frames, each the 1 x 1 picture of `onePixel`.
inline QByteArray webpAnimation(int frames, const QByteArray &onePixel)
{
    const QByteArray canvas = QByteArray("\x02\0\0\0", 4) + made::littleEndian(0, 3) + made::littleEndian(0, 3);
    QByteArray chunks = made::riffChunk("VP8X", canvas) + made::riffChunk("ANIM", QByteArray(6, '\0'));
    // Frame at (0, 0), 1 x 1, 100 ms, then the frame's picture chunk.
    const QByteArray frame = made::littleEndian(0, 6) + made::littleEndian(0, 6) + made::littleEndian(100, 3)
                             + QByteArray(1, '\0') + onePixel.mid(12);
    for (int i = 0; i < frames; ++i)
        chunks += made::riffChunk("ANMF", frame);
    return made::riffFile(chunks);
}

// A TIFF whose only page claims width x height of 8-bit grey and holds one byte of it.
inline QByteArray tiffClaiming(quint32 width, quint32 height)
{
    const quint32 pageAt = 8;
    const quint32 stripAt = pageAt + made::TiffPageBytes;
    return QByteArray("II*\0", 4) + made::littleEndian(pageAt, 4) + made::tiffPage(width, height, stripAt, 1, 0)
           + QByteArray(1, '\x80');
}

// A TIFF of `pages` pages of 2 x 2 grey pixels, each page followed by its strip.
inline QByteArray tiffOfPages(int pages)
{
    QByteArray file = QByteArray("II*\0", 4) + made::littleEndian(8, 4);
    for (int i = 0; i < pages; ++i) {
        const quint32 pageAt = quint32(file.size());
        const quint32 stripAt = pageAt + made::TiffPageBytes;
        const quint32 next = i + 1 < pages ? stripAt + 4 : 0;
        file += made::tiffPage(2, 2, stripAt, 4, next) + QByteArray(4, char(i % 256));
    }
    return file;
}

} // namespace pavix::testsupport
