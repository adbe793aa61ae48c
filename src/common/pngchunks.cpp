#include "common/pngchunks.h"

#include <algorithm>

namespace pavix::common {

namespace {

quint32 littleEndianAt(QByteArrayView data, qsizetype at, int bytes)
{
    quint32 value = 0;
    for (int i = bytes - 1; i >= 0; --i)
        value = (value << 8) | quint8(data[at + i]);
    return value;
}

} // namespace

bool pngChunksWithinFile(QByteArrayView head, qint64 fileLength)
{
    static constexpr char signature[] = "\x89PNG\r\n\x1a\n";
    constexpr qsizetype signatureLength = sizeof(signature) - 1;
    if (!head.startsWith(QByteArrayView(signature, signatureLength)))
        return true;
    qint64 at = signatureLength;
    // Each chunk: its length (4 bytes, big-endian), its type (4), its data, its CRC (4).
    while (head.size() - at >= 8) {
        quint32 length = 0;
        for (qint64 i = at; i < at + 4; ++i)
            length = (length << 8) | quint8(head[qsizetype(i)]);
        if (qint64(length) > fileLength - at - 8)
            return false;
        if (head.sliced(qsizetype(at) + 4, 4) == QByteArrayView("IEND"))
            return true;
        at += 12 + qint64(length);
    }
    return true;
}

bool iconPngEntriesWithinFile(QByteArrayView head, qint64 fileLength)
{
    // The header: reserved 0, type 1 (icon) or 2 (cursor), the entry count; then 16 bytes
    // an entry, with the entry's length at 8 and its offset in the file at 12.
    constexpr qsizetype headerBytes = 6;
    constexpr qsizetype entryBytes = 16;
    if (head.size() < headerBytes || littleEndianAt(head, 0, 2) != 0)
        return true;
    const quint32 type = littleEndianAt(head, 2, 2);
    if (type != 1 && type != 2)
        return true;
    const qsizetype count = littleEndianAt(head, 4, 2);
    for (qsizetype i = 0; i < count; ++i) {
        const qsizetype entry = headerBytes + i * entryBytes;
        if (entry + entryBytes > head.size())
            break;
        const qint64 length = littleEndianAt(head, entry + 8, 4);
        const qint64 offset = littleEndianAt(head, entry + 12, 4);
        if (offset >= head.size() || offset >= fileLength)
            continue;
        const qint64 held = std::min(length, fileLength - offset);
        const QByteArrayView data = head.sliced(qsizetype(offset),
                                                qsizetype(std::min<qint64>(held, head.size() - offset)));
        if (!pngChunksWithinFile(data, held))
            return false;
    }
    return true;
}

} // namespace pavix::common
