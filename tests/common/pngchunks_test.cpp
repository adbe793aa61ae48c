#include "common/pngchunks.h"

#include <QByteArray>

#include <gtest/gtest.h>

using pavix::common::iconPngEntriesWithinFile;
using pavix::common::pngChunksWithinFile;

TEST(PngChunks, AChunkClaimingMoreThanTheFileHoldsIsCaughtBeforeReading)
{
    // Chunks as the file holds them; the rule reads lengths and types, never the CRCs.
    auto chunk = [](const char *type, QByteArray data, quint32 claimed) {
        QByteArray bytes;
        for (int shift = 24; shift >= 0; shift -= 8)
            bytes.append(char((claimed >> shift) & 0xff));
        return bytes + QByteArray(type, 4) + data + QByteArray(4, '\0');
    };
    auto exact = [&](const char *type, const QByteArray &data) { return chunk(type, data, quint32(data.size())); };
    const QByteArray signature("\x89PNG\r\n\x1a\n", 8);
    const QByteArray header = signature + exact("IHDR", QByteArray(13, '\1'));
    const QByteArray image = exact("IDAT", QByteArray(40, 'x'));
    const QByteArray end = exact("IEND", QByteArray());

    EXPECT_TRUE(pngChunksWithinFile(header + exact("tEXt", "Thumb::URI\0file:///a.jpg") + image + end));
    EXPECT_TRUE(pngChunksWithinFile(header + image + end + chunk("tEXt", "x", 0x7ffffff0)))
        << "nothing after IEND is read";
    EXPECT_TRUE(pngChunksWithinFile(header + image + end.left(8))) << "an IEND without its CRC";
    EXPECT_TRUE(pngChunksWithinFile(header + image.left(5))) << "a file cut short in a chunk header";
    EXPECT_TRUE(pngChunksWithinFile(QByteArray("GIF89a") + QByteArray(4, '\xff'))) << "no PNG at all";
    EXPECT_TRUE(pngChunksWithinFile(QByteArray()));

    EXPECT_FALSE(pngChunksWithinFile(header + chunk("tEXt", "Thumb::URI", 0x7ffffff0) + image + end));
    EXPECT_FALSE(pngChunksWithinFile(header + chunk("zTXt", "", 0xffffffff)));
    EXPECT_FALSE(pngChunksWithinFile((signature + chunk("IHDR", QByteArray(13, '\1'), 14)).chopped(4)))
        << "one byte more than the file holds";
    const QByteArray lastImage = exact("IDAT", QByteArray(40, 'x'));
    EXPECT_TRUE(pngChunksWithinFile(header + lastImage.left(lastImage.size() - 4))) << "exactly the bytes held";
    EXPECT_FALSE(pngChunksWithinFile(header + lastImage.left(lastImage.size() - 5)));

    // Only the start of a long file at hand: chunks are measured against the whole file,
    // and those beyond the start are not looked at.
    const QByteArray claim = header + chunk("tEXt", "x", 5000) + image + end;
    EXPECT_FALSE(pngChunksWithinFile(claim, claim.size() + 4000));
    EXPECT_TRUE(pngChunksWithinFile(claim, claim.size() + 5000));
    EXPECT_TRUE(pngChunksWithinFile(QByteArrayView(header), 1'000'000));
}

TEST(PngChunks, IconEntriesHoldingAPngAreMeasuredAsTheReaderGetsThem)
{
    const QByteArray signature("\x89PNG\r\n\x1a\n", 8);
    auto chunk = [](const char *type, qsizetype held, quint32 claimed) {
        QByteArray bytes;
        for (int shift = 24; shift >= 0; shift -= 8)
            bytes.append(char((claimed >> shift) & 0xff));
        return bytes + QByteArray(type, 4) + QByteArray(held, 'd') + QByteArray(4, '\0');
    };
    auto little = [](quint32 value, int bytes) {
        QByteArray out;
        for (int i = 0; i < bytes; ++i)
            out.append(char((value >> (8 * i)) & 0xff));
        return out;
    };
    const QByteArray good = signature + chunk("IHDR", 13, 13) + chunk("IDAT", 20, 20) + chunk("IEND", 0, 0);
    const QByteArray claim = signature + chunk("IHDR", 13, 13) + chunk("tEXt", 4, 0x7ffffff0) + chunk("IEND", 0, 0);
    // An icon of two entries, a bitmap-like one and then the PNG, each given its length
    // and offset.
    auto icon = [&](const QByteArray &second, quint32 secondLength, quint16 type = 1) {
        const QByteArray first(40, 'b');
        const quint32 data = 6 + 2 * 16;
        return little(0, 2) + little(type, 2) + little(2, 2)                                               //
               + QByteArray(8, '\x10') + little(quint32(first.size()), 4) + little(data, 4)                //
               + QByteArray(8, '\x20') + little(secondLength, 4) + little(data + quint32(first.size()), 4) //
               + first + second;
    };
    const QByteArray goodIcon = icon(good, quint32(good.size()));
    EXPECT_TRUE(iconPngEntriesWithinFile(goodIcon, goodIcon.size()));
    const QByteArray badIcon = icon(claim, quint32(claim.size()));
    EXPECT_FALSE(iconPngEntriesWithinFile(badIcon, badIcon.size()));
    EXPECT_FALSE(iconPngEntriesWithinFile(icon(claim, quint32(claim.size()), 2), badIcon.size())) << "a cursor";
    // An entry whose directory gives it fewer bytes than its PNG's chunks need is cut short.
    const QByteArray shortEntry = icon(good, quint32(good.size() - 30));
    EXPECT_FALSE(iconPngEntriesWithinFile(shortEntry, shortEntry.size()));
    // Entries past what is at hand, offsets past the end, and data that is no icon pass.
    EXPECT_TRUE(iconPngEntriesWithinFile(QByteArrayView(badIcon).first(20), badIcon.size()));
    EXPECT_TRUE(iconPngEntriesWithinFile(little(0, 2) + little(1, 2) + little(1, 2) + QByteArray(8, 0) + little(9, 4)
                                             + little(0xfffffff0u, 4),
                                         22));
    EXPECT_TRUE(iconPngEntriesWithinFile(claim, claim.size()));
    EXPECT_TRUE(iconPngEntriesWithinFile(QByteArray(), 0));
}
