#include "common/jpegframe.h"

#include <QByteArray>
#include <QFile>

#include <gtest/gtest.h>

#include "support/corpus.h"

using pavix::common::JpegFrame;
using pavix::common::progressiveCoefficientBytes;
using pavix::common::readJpegFrame;
using pavix::testsupport::corpusPath;

namespace {

QByteArray corpusBytes(const char *relative)
{
    QFile file(corpusPath(QLatin1String(relative)));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << relative;
    return file.readAll();
}

// A start-of-image marker, then the given segments; a frame segment of the marker for
// the size and components.
QByteArray frameSegment(int marker, int width, int height, int components)
{
    QByteArray segment("\xff");
    segment += char(marker);
    const int length = 8 + 3 * components;
    segment += char(length >> 8);
    segment += char(length & 0xff);
    segment += char(8);
    segment += char(height >> 8);
    segment += char(height & 0xff);
    segment += char(width >> 8);
    segment += char(width & 0xff);
    segment += char(components);
    for (int c = 0; c < components; ++c)
        segment += QByteArray::fromHex("011100");
    return segment;
}

const QByteArray StartOfImage = QByteArray::fromHex("ffd8");
const QByteArray Comment = QByteArray::fromHex("fffe0006") + "abcd";

} // namespace

TEST(JpegFrame, CorpusFramesTellSizeComponentsAndCoding)
{
    struct Case {
        const char *file;
        int width, height, components;
        bool progressive;
    };
    for (const Case &c :
         {Case{"good/cat.jpg", 320, 240, 3, true}, Case{"good/tower_progressive.jpg", 512, 512, 3, true},
          Case{"good/testorig.jpg", 227, 149, 3, false}, Case{"good/pil_sample_cmyk.jpg", 100, 100, 4, false},
          Case{"bad/progressive-49157x27397-613B.jpg", 49157, 27397, 3, true},
          Case{"bad/truncated-half-progressive.jpg", 512, 512, 3, true}}) {
        const std::optional<JpegFrame> frame = readJpegFrame(corpusBytes(c.file));
        ASSERT_TRUE(frame.has_value()) << c.file;
        EXPECT_EQ(frame->width, c.width) << c.file;
        EXPECT_EQ(frame->height, c.height) << c.file;
        EXPECT_EQ(frame->components, c.components) << c.file;
        EXPECT_EQ(frame->progressive, c.progressive) << c.file;
    }
    // A side of 0 is told as it stands (this damaged frame gives 0 x 800).
    const std::optional<JpegFrame> flat = readJpegFrame(corpusBytes("bad/null_height.jpg"));
    ASSERT_TRUE(flat.has_value());
    EXPECT_EQ(flat->width, 0);
    EXPECT_EQ(flat->height, 800);
    // No frame before the scan, or no JPEG at all.
    EXPECT_FALSE(readJpegFrame(corpusBytes("bad/missing-sof.jpg")).has_value());
    EXPECT_FALSE(readJpegFrame(corpusBytes("good/hopper.bmp")).has_value());
    EXPECT_FALSE(readJpegFrame(corpusBytes("bad/empty.jpg")).has_value());
}

TEST(JpegFrame, SegmentsAreWalkedByTheirLengthsAndCutsFindNothing)
{
    const QByteArray progressive = StartOfImage + Comment + frameSegment(0xc2, 10000, 10000, 3);
    const std::optional<JpegFrame> frame = readJpegFrame(progressive);
    ASSERT_TRUE(frame.has_value());
    EXPECT_TRUE(frame->progressive);
    EXPECT_EQ(frame->width, 10000);

    // Fill bytes before a marker, and the restart markers that stand without a length.
    const QByteArray padded = StartOfImage + QByteArray::fromHex("ffffffd0") + Comment + frameSegment(0xc0, 8, 8, 1);
    ASSERT_TRUE(readJpegFrame(padded).has_value());
    EXPECT_FALSE(readJpegFrame(padded)->progressive);

    // The Huffman table marker (0xc4) sits among the frame markers and is none.
    const QByteArray huffmanFirst = StartOfImage + QByteArray::fromHex("ffc40006") + "xxxx"
                                    + frameSegment(0xca, 16, 16, 1);
    ASSERT_TRUE(readJpegFrame(huffmanFirst).has_value());
    EXPECT_TRUE(readJpegFrame(huffmanFirst)->progressive) << "arithmetic progressive";

    // Every cut of the data short of the frame's end finds nothing, and reads nothing
    // beyond what it was given (checked under the sanitizers).
    for (qsizetype cut = 0; cut < progressive.size(); ++cut) {
        const QByteArray head = progressive.left(cut);
        EXPECT_FALSE(readJpegFrame(QByteArrayView(head.constData(), cut)).has_value()) << cut;
    }
    // A segment length shorter than its own two bytes, and a scan before any frame.
    EXPECT_FALSE(
        readJpegFrame(StartOfImage + QByteArray::fromHex("fffe0001") + frameSegment(0xc2, 8, 8, 3)).has_value());
    EXPECT_FALSE(
        readJpegFrame(StartOfImage + QByteArray::fromHex("ffda0002") + frameSegment(0xc2, 8, 8, 3)).has_value());
}

TEST(JpegFrame, CoefficientMemoryCountsOnlyProgressiveFramesOverWholeBlocks)
{
    EXPECT_EQ(progressiveCoefficientBytes(JpegFrame{10000, 10000, 3, true}), 600'000'000);
    EXPECT_EQ(progressiveCoefficientBytes(JpegFrame{10000, 10000, 3, false}), 0);
    // 17 x 1 pixels pad to 32 x 16.
    EXPECT_EQ(progressiveCoefficientBytes(JpegFrame{17, 1, 1, true}), 32 * 16 * 2);
    // The largest sides a header can give do not overflow.
    EXPECT_EQ(progressiveCoefficientBytes(JpegFrame{65535, 65535, 255, true}), qint64(65536) * 65536 * 255 * 2);
}
