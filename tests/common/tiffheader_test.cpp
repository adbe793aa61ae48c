#include "common/tiffheader.h"

#include <QByteArray>

#include <gtest/gtest.h>

#include <limits>
#include <vector>

using pavix::common::largestTiffBlockBytes;
using pavix::common::readTiffLayout;

namespace {

struct Field {
    quint16 tag;
    quint16 type; // 3 SHORT, 4 LONG, 16 LONG8
    std::vector<quint64> values;
};

// A TIFF file of one directory holding fields, in either byte order, classic or BigTIFF.
// Values that do not fit in their entry follow the directory, as writers put them.
QByteArray tiffFile(const std::vector<Field> &fields, bool bigEndian, bool bigTiff)
{
    auto number = [bigEndian](quint64 value, int size) {
        QByteArray out(size, '\0');
        for (int i = 0; i < size; ++i)
            out[bigEndian ? size - 1 - i : i] = char((value >> (8 * i)) & 0xff);
        return out;
    };
    auto typeSize = [](quint16 type) { return type == 3 ? 2 : type == 4 ? 4 : 8; };
    const int offsetSize = bigTiff ? 8 : 4;
    const int entrySize = bigTiff ? 20 : 12;
    QByteArray file = bigEndian ? "MM" : "II";
    file += bigTiff ? number(43, 2) + number(8, 2) + number(0, 2) + number(16, 8) : number(42, 2) + number(8, 4);
    const qint64 directoryEnd = file.size() + (bigTiff ? 8 : 2) + qint64(fields.size()) * entrySize + offsetSize;
    QByteArray directory = number(fields.size(), bigTiff ? 8 : 2);
    QByteArray outside;
    for (const Field &field : fields) {
        QByteArray values;
        for (quint64 value : field.values)
            values += number(value, typeSize(field.type));
        directory += number(field.tag, 2) + number(field.type, 2) + number(field.values.size(), offsetSize);
        if (values.size() <= offsetSize) {
            directory += values + QByteArray(offsetSize - values.size(), '\0');
        } else {
            directory += number(directoryEnd + outside.size(), offsetSize);
            outside += values;
        }
    }
    return file + directory + number(0, offsetSize) + outside;
}

} // namespace

TEST(TiffHeader, TheLargestStripOrTileIsCountedFromTheFirstDirectory)
{
    constexpr qint64 Infinite = std::numeric_limits<qint64>::max();
    const struct {
        const char *what;
        std::vector<Field> fields;
        qint64 blockBytes;
    } cases[] = {
        {"RGB strips of ten rows",
         {{256, 3, {100}}, {257, 3, {50}}, {258, 3, {8, 8, 8}}, {277, 3, {3}}, {278, 3, {10}}},
         3000},
        {"one strip when the rows are not given",
         {{256, 4, {100}}, {257, 4, {50}}, {258, 3, {8, 8, 8}}, {277, 3, {3}}},
         15000},
        {"rows past the picture's height",
         {{256, 4, {100}}, {257, 4, {50}}, {277, 3, {3}}, {258, 3, {8, 8, 8}}, {278, 4, {0xffffffff}}},
         15000},
        {"the widest sample counts",
         {{256, 3, {10}}, {257, 3, {10}}, {258, 3, {8, 16}}, {277, 3, {2}}, {278, 3, {1}}},
         40},
        {"one-bit rows round up to whole bytes", {{256, 3, {9}}, {257, 3, {4}}, {278, 3, {4}}}, 8},
        {"tiles",
         {{256, 4, {4000}},
          {257, 4, {3000}},
          {258, 3, {16, 16, 16, 16}},
          {277, 3, {4}},
          {322, 3, {16}},
          {323, 3, {32}}},
         4096},
        {"65,535 samples a pixel",
         {{256, 3, {65535}}, {257, 3, {900}}, {258, 3, {8, 8, 8}}, {277, 3, {65535}}, {278, 3, {1}}},
         65535LL * 65535},
        {"sizes too large to count",
         {{256, 16, {quint64(1) << 62}}, {257, 16, {1}}, {277, 16, {quint64(1) << 20}}},
         Infinite},
    };
    for (const auto &c : cases) {
        for (const bool bigEndian : {false, true}) {
            for (const bool bigTiff : {false, true}) {
                // LONG8 is a BigTIFF type only.
                if (!bigTiff && c.blockBytes == Infinite)
                    continue;
                SCOPED_TRACE(testing::Message() << c.what << (bigEndian ? ", big-endian" : ", little-endian")
                                                << (bigTiff ? ", BigTIFF" : ", classic"));
                const auto layout = readTiffLayout(tiffFile(c.fields, bigEndian, bigTiff));
                ASSERT_TRUE(layout.has_value());
                EXPECT_EQ(largestTiffBlockBytes(*layout), c.blockBytes);
            }
        }
    }

    // The sample sizes cut off: as many as the bytes at hand hold are looked at.
    const QByteArray file = tiffFile({{256, 3, {65535}}, {257, 3, {900}}, {258, 3, {16, 16, 16}}, {277, 3, {65535}}},
                                     false, false);
    const auto cutShort = readTiffLayout(QByteArrayView(file).chopped(6));
    ASSERT_TRUE(cutShort.has_value());
    EXPECT_EQ(cutShort->bitsPerSample, 1u);
    EXPECT_EQ(readTiffLayout(file)->bitsPerSample, 16u);
}

TEST(TiffHeader, DataThatIsNoTiffOrWhoseDirectoryIsMissingHasNoLayout)
{
    const QByteArray file = tiffFile({{256, 3, {10}}, {257, 3, {10}}}, false, false);
    ASSERT_TRUE(readTiffLayout(file).has_value());
    EXPECT_FALSE(readTiffLayout(file.left(file.size() - 8))) << "the directory runs past the bytes at hand";
    EXPECT_FALSE(readTiffLayout(file.left(7)));
    QByteArray pastTheEnd = file;
    pastTheEnd[4] = '\xff'; // the directory's offset lies beyond the file
    EXPECT_FALSE(readTiffLayout(pastTheEnd));
    QByteArray otherVersion = file;
    otherVersion[2] = 41;
    EXPECT_FALSE(readTiffLayout(otherVersion));
    EXPECT_FALSE(readTiffLayout(QByteArray("\x89PNG\r\n\x1a\n", 8) + file));
    EXPECT_FALSE(readTiffLayout(QByteArray()));
}
