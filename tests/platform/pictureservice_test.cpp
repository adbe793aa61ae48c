#include "platform/pictureservice.h"

#include <QBuffer>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "support/corpus.h"
#include "support/processmemory.h"

#include <cstdlib>
#include <limits>

using namespace pavix::platform;
using pavix::common::ErrBadPicture;
using pavix::common::ErrDeviceIo;
using pavix::common::ErrGeneral;

using pavix::testsupport::corpusPath;
using pavix::testsupport::peakGrowthAloneKib;

namespace {

const QSize Cell(60, 60);


struct ListedPicture {
    QString name;
    QSize size;
};

// The valid pictures with the size the corpus README records for them ("loads WxH").
std::vector<ListedPicture> goodPicturesFromReadme()
{
    QFile readme(corpusPath(QStringLiteral("README.md")));
    if (!readme.open(QIODevice::ReadOnly))
        return {};
    const QString text = QString::fromUtf8(readme.readAll());
    const qsizetype from = text.indexOf(QStringLiteral("## Valid pictures"));
    const qsizetype to = text.indexOf(QStringLiteral("## Malformed"));
    static const QRegularExpression row(QStringLiteral("^\\| `([^`]+)` \\|.*\\| loads (\\d+)x(\\d+)[^|]*\\|\\s*$"),
                                        QRegularExpression::MultilineOption);
    std::vector<ListedPicture> listed;
    auto it = row.globalMatch(text.mid(from, to - from));
    while (it.hasNext()) {
        const auto m = it.next();
        listed.push_back({m.captured(1), QSize(m.captured(2).toInt(), m.captured(3).toInt())});
    }
    return listed;
}

bool near(QRgb actual, QRgb expected, int tolerance)
{
    return std::abs(qRed(actual) - qRed(expected)) <= tolerance
           && std::abs(qGreen(actual) - qGreen(expected)) <= tolerance
           && std::abs(qBlue(actual) - qBlue(expected)) <= tolerance;
}

// A picture of four coloured quarters: red, green / blue, yellow.
QImage quarters(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    const int w = size.width() / 2;
    const int h = size.height() / 2;
    QPainter painter(&image);
    painter.fillRect(0, 0, w, h, Qt::red);
    painter.fillRect(w, 0, size.width() - w, h, Qt::green);
    painter.fillRect(0, h, w, size.height() - h, Qt::blue);
    painter.fillRect(w, h, size.width() - w, size.height() - h, Qt::yellow);
    return image;
}

class PictureService : public ::testing::Test {
protected:
    static void SetUpTestSuite() { configurePictureLimits(); }
    void TearDown() override { configurePictureLimits(); }
};

} // namespace

TEST_F(PictureService, GoodCorpusPicturesLoadAtTheSizesTheReadmeGives)
{
    const std::vector<ListedPicture> listed = goodPicturesFromReadme();
    const QStringList files = QDir(corpusPath(QStringLiteral("good"))).entryList(QDir::Files);
    ASSERT_EQ(listed.size(), size_t(files.size())) << "every good picture has a row with its size";
    for (const ListedPicture &picture : listed) {
        const QString path = corpusPath(QStringLiteral("good/") + picture.name);
        const auto loaded = loadPicture(path);
        ASSERT_TRUE(loaded.ok()) << qPrintable(picture.name) << ": " << qPrintable(loaded.error().message);
        EXPECT_EQ(loaded->size(), picture.size) << qPrintable(picture.name);
        const auto cell = loadThumbnail(path, Cell);
        ASSERT_TRUE(cell.ok()) << qPrintable(picture.name);
        EXPECT_EQ(cell->size(), Cell) << qPrintable(picture.name);
    }
}

TEST_F(PictureService, BadCorpusFilesLoadOrAreRefusedWithTheirNameInTheMessage)
{
    const QDir bad(corpusPath(QStringLiteral("bad")));
    const QStringList files = bad.entryList(QDir::Files);
    ASSERT_GE(files.size(), 50);
    for (const QString &name : files) {
        const QString path = bad.filePath(name);
        const auto picture = loadPicture(path);
        const auto cell = loadThumbnail(path, Cell);
        EXPECT_EQ(picture.ok(), cell.ok()) << qPrintable(name) << ": the preview and the grid agree";
        if (picture.ok()) {
            EXPECT_FALSE(picture->isNull()) << qPrintable(name);
            EXPECT_TRUE(withinPictureLimits(picture->size())) << qPrintable(name);
        } else {
            EXPECT_EQ(picture.error().number, ErrBadPicture) << qPrintable(name);
            EXPECT_TRUE(picture.error().message.startsWith(QLatin1Char('"') + name + QLatin1Char('"')))
                << qPrintable(picture.error().message);
        }
        if (cell.ok())
            EXPECT_EQ(cell->size(), Cell) << qPrintable(name);
        else
            EXPECT_EQ(cell.error().number, ErrBadPicture) << qPrintable(name);
    }

    // Hostile sizes, empty files and non-pictures are refused whatever the reader does.
    for (const char *name :
         {"progressive-49157x27397-613B.jpg", "max_size.jpg", "reallybig.bmp", "Bad_height.bmp", "l2rgb_read.bmp",
          "issue-96-small-codesize-2.gif", "decompression_bomb.gif", "zero_width.gif", "null_height.jpg", "empty.jpg",
          "empty.bmp", "empty.gif", "empty.ico", "no-images-cursor.ico", "giflib-text-format.ico", "missing-sos.jpg"}) {
        EXPECT_FALSE(loadPicture(bad.filePath(QLatin1String(name))).ok()) << name;
    }
    EXPECT_TRUE(
        loadPicture(bad.filePath(QStringLiteral("empty.jpg"))).error().message.contains(QStringLiteral("empty")));

    // The content decides, not the extension.
    EXPECT_EQ(loadPicture(bad.filePath(QStringLiteral("bmp-data.gif")))->size(), QSize(127, 64));
    EXPECT_EQ(loadPicture(bad.filePath(QStringLiteral("gif-data.bmp")))->size(), QSize(128, 128));
    EXPECT_EQ(loadPicture(bad.filePath(QStringLiteral("jpeg-data.ico")))->size(), QSize(227, 149));
    EXPECT_EQ(loadPicture(corpusPath(QStringLiteral("names/picture.###")))->size(), QSize(227, 149));
    EXPECT_EQ(loadPicture(corpusPath(QStringLiteral("names/jpeg-without-extension")))->size(), QSize(128, 128));
}

TEST_F(PictureService, OversizedHeadersAreRefusedBeforeAnythingIsDecoded)
{
    const QString bomb = corpusPath(QStringLiteral("bad/progressive-49157x27397-613B.jpg"));
    // A scaled decode that trusted the header would take gigabytes here.
    const qint64 growthKib = peakGrowthAloneKib([&] {
        (void)loadPicture(bomb);
        (void)loadThumbnail(bomb, Cell);
    });
    EXPECT_GE(growthKib, 0);
    EXPECT_LT(growthKib, 256 * 1024);

    const auto picture = loadPicture(bomb);
    const auto cell = loadThumbnail(bomb, Cell);
    ASSERT_FALSE(picture.ok());
    ASSERT_FALSE(cell.ok());
    EXPECT_EQ(picture.error().number, ErrBadPicture);
    EXPECT_TRUE(picture.error().message.contains(QStringLiteral("49157 x 27397")))
        << qPrintable(picture.error().message);
    EXPECT_TRUE(cell.error().message.contains(QStringLiteral("more than 100 megapixels")));

    const auto gif = loadPicture(corpusPath(QStringLiteral("bad/issue-96-small-codesize-2.gif")));
    ASSERT_FALSE(gif.ok());
    EXPECT_TRUE(gif.error().message.contains(QStringLiteral("11390 x 13680")));

    const auto flat = loadPicture(corpusPath(QStringLiteral("bad/zero_width.gif")));
    ASSERT_FALSE(flat.ok());
    EXPECT_TRUE(flat.error().message.contains(QStringLiteral("without area"))) << qPrintable(flat.error().message);
}

TEST(PictureLimits, AHundredMegapixelsIsTheLargestPictureAccepted)
{
    EXPECT_TRUE(withinPictureLimits(QSize(10000, 10000)));
    EXPECT_FALSE(withinPictureLimits(QSize(10000, 10001)));
    EXPECT_TRUE(withinPictureLimits(QSize(100'000'000, 1)));
    EXPECT_TRUE(withinPictureLimits(QSize(1, 1)));
    EXPECT_FALSE(withinPictureLimits(QSize(65535, 65535))); // 4.3e9: overflows 32 bits
    EXPECT_FALSE(withinPictureLimits(QSize(std::numeric_limits<int>::max(), std::numeric_limits<int>::max())));
    EXPECT_FALSE(withinPictureLimits(QSize(0, 32)));
    EXPECT_FALSE(withinPictureLimits(QSize(32, 0)));
    EXPECT_FALSE(withinPictureLimits(QSize(-127, 64)));
    EXPECT_FALSE(withinPictureLimits(QSize()));
    // The limit Pavix gives Qt holds a whole 100-megapixel picture at 32 bits per pixel.
    EXPECT_GE(qint64(PictureAllocationLimitMb) << 20, MaxPicturePixels * 4);
}

TEST_F(PictureService, RaisedAllocationLimitLetsLargePicturesLoadAtFullSize)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString path = folder.filePath(QStringLiteral("wide.jpg"));
    {
        QImage big(7000, 5000, QImage::Format_RGB32); // 140 MB decoded: above Qt's default 128 MB
        big.fill(qRgb(30, 140, 200));
        ASSERT_TRUE(QImageWriter(path, "jpeg").write(big));
    }
    QImageReader::setAllocationLimit(128);
    EXPECT_FALSE(loadPicture(path).ok()) << "the default limit refuses it";
    configurePictureLimits();
    const auto picture = loadPicture(path);
    ASSERT_TRUE(picture.ok()) << qPrintable(picture.error().message);
    EXPECT_EQ(picture->size(), QSize(7000, 5000));
    EXPECT_TRUE(near(picture->pixel(6999, 4999), qRgb(30, 140, 200), 6));
}

TEST(NaturalSize, PixelsBecomeThirtyTwoBitTwips)
{
    EXPECT_EQ(naturalSizeTwips(QSize(640, 480), 15.0), QSize(9600, 7200));
    // 2185 pixels make 32,775 twips, past the 16-bit range the size once had to fit.
    EXPECT_EQ(naturalSizeTwips(QSize(2185, 40000), 15.0), QSize(32775, 600000));
    EXPECT_EQ(naturalLengthTwips(100'000'000, 15.0), 1'500'000'000);
    EXPECT_EQ(naturalLengthTwips(std::numeric_limits<int>::max(), 15.0), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(naturalLengthTwips(1, 22.5), 22); // 22.5 -> 22, half to even
    EXPECT_EQ(naturalLengthTwips(3, 12.5), 38); // 37.5 -> 38
    EXPECT_EQ(naturalLengthTwips(0, 15.0), 0);
    EXPECT_EQ(naturalLengthTwips(-5, 15.0), 0);
    EXPECT_EQ(naturalLengthTwips(5, 0.0), 0);
    EXPECT_EQ(naturalSizeTwips(QSize(), 15.0), QSize(0, 0));
}

TEST_F(PictureService, ThumbnailStretchesTheWholePictureOverTheCell)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString bmp = folder.filePath(QStringLiteral("wide.bmp"));
    const QString jpeg = folder.filePath(QStringLiteral("wide.jpg"));
    const QString tall = folder.filePath(QStringLiteral("tall.jpg"));
    ASSERT_TRUE(QImageWriter(bmp, "bmp").write(quarters(QSize(200, 50))));
    QImageWriter jpegWriter(jpeg, "jpeg");
    jpegWriter.setQuality(95);
    ASSERT_TRUE(jpegWriter.write(quarters(QSize(2000, 500)))); // shrunk while decoding
    QImageWriter tallWriter(tall, "jpeg");
    tallWriter.setQuality(95);
    ASSERT_TRUE(tallWriter.write(quarters(QSize(30, 1000))));

    for (const QString &path : {bmp, jpeg, tall}) {
        const auto cell = loadThumbnail(path, Cell);
        ASSERT_TRUE(cell.ok()) << qPrintable(path);
        ASSERT_EQ(cell->size(), Cell);
        const int tolerance = path == bmp ? 0 : 40;
        EXPECT_TRUE(near(cell->pixel(1, 1), qRgb(255, 0, 0), tolerance)) << qPrintable(path);
        EXPECT_TRUE(near(cell->pixel(58, 1), qRgb(0, 255, 0), tolerance)) << qPrintable(path);
        EXPECT_TRUE(near(cell->pixel(1, 58), qRgb(0, 0, 255), tolerance)) << qPrintable(path);
        EXPECT_TRUE(near(cell->pixel(58, 58), qRgb(255, 255, 0), tolerance)) << qPrintable(path);
        // The quarters meet in the middle of the cell, whatever the picture's shape.
        EXPECT_TRUE(near(cell->pixel(24, 24), qRgb(255, 0, 0), tolerance)) << qPrintable(path);
        EXPECT_TRUE(near(cell->pixel(35, 35), qRgb(255, 255, 0), tolerance)) << qPrintable(path);
    }

    const auto other = loadThumbnail(bmp, QSize(90, 30));
    ASSERT_TRUE(other.ok());
    EXPECT_EQ(other->size(), QSize(90, 30));
    const auto empty = loadThumbnail(bmp, QSize(0, 60));
    ASSERT_FALSE(empty.ok());
    EXPECT_EQ(empty.error().number, ErrGeneral);
}

TEST_F(PictureService, ScratchImageIsReusedAndNeverKeptLarge)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString first = folder.filePath(QStringLiteral("first.bmp"));
    const QString second = folder.filePath(QStringLiteral("second.bmp"));
    const QString palette = folder.filePath(QStringLiteral("palette.bmp"));
    const QString huge = folder.filePath(QStringLiteral("huge.jpg"));
    ASSERT_TRUE(QImageWriter(first, "bmp").write(quarters(QSize(1024, 768))));
    QImage mirrored = quarters(QSize(1024, 768)).mirrored(true, false);
    ASSERT_TRUE(QImageWriter(second, "bmp").write(mirrored));
    // 8 bits per pixel: shrunk by nearest pixels first, then averaged.
    ASSERT_TRUE(
        QImageWriter(palette, "bmp").write(quarters(QSize(1000, 800)).convertToFormat(QImage::Format_Indexed8)));
    {
        QImage big(2100, 2100, QImage::Format_RGB32); // 17.6 MB decoded, over ScratchKeepBytes
        big.fill(Qt::gray);
        ASSERT_TRUE(QImageWriter(huge, "jpeg").write(big));
    }

    DecodeScratch scratch;
    const auto a = loadThumbnail(first, Cell, scratch);
    ASSERT_TRUE(a.ok());
    EXPECT_EQ(*a, *loadThumbnail(first, Cell));
    ASSERT_EQ(scratch.picture.size(), QSize(1024, 768));
    ASSERT_EQ(scratch.fileBytes.size(), QFileInfo(first).size()) << "a small file is read in one go";
    const uchar *pictureMemory = scratch.picture.constBits();
    const char *fileMemory = scratch.fileBytes.constData();
    const auto b = loadThumbnail(second, Cell, scratch);
    ASSERT_TRUE(b.ok());
    EXPECT_EQ(scratch.picture.constBits(), pictureMemory) << "a picture of the same size reuses the memory";
    EXPECT_EQ(scratch.fileBytes.constData(), fileMemory) << "and so does a file of the same length";
    EXPECT_EQ(b->pixel(1, 1), qRgb(0, 255, 0)) << "and the cell is the new picture's";
    EXPECT_EQ(b->pixel(58, 1), qRgb(255, 0, 0));

    // A scratch left holding an opaque picture of the same size and format: the transparent
    // parts of the next picture must not show it.
    const QString transparent = corpusPath(QStringLiteral("good/x-trans.gif"));
    const auto alone = loadPicture(transparent);
    ASSERT_TRUE(alone.ok());
    ASSERT_TRUE(alone->hasAlphaChannel());
    DecodeScratch stale;
    stale.picture = QImage(alone->size(), alone->format());
    stale.picture.fill(qRgba(255, 0, 0, 255));
    const auto overStale = loadThumbnail(transparent, Cell, stale);
    ASSERT_TRUE(overStale.ok());
    EXPECT_EQ(*overStale, *loadThumbnail(transparent, Cell));

    const auto p = loadThumbnail(palette, Cell, scratch);
    ASSERT_TRUE(p.ok());
    EXPECT_EQ(p->pixel(1, 1), qRgb(255, 0, 0));
    EXPECT_EQ(p->pixel(58, 1), qRgb(0, 255, 0));
    EXPECT_EQ(p->pixel(1, 58), qRgb(0, 0, 255));
    EXPECT_EQ(p->pixel(58, 58), qRgb(255, 255, 0));

    // Files read whole keep their content checks: a mislabelled file still loads by content.
    const auto mislabelled = loadThumbnail(corpusPath(QStringLiteral("bad/gif-data.bmp")), Cell, scratch);
    ASSERT_TRUE(mislabelled.ok());
    EXPECT_EQ(*mislabelled, *loadThumbnail(corpusPath(QStringLiteral("good/hopper.gif")), Cell));
    EXPECT_FALSE(loadThumbnail(corpusPath(QStringLiteral("bad/empty.bmp")), Cell, scratch).ok());

    ASSERT_TRUE(loadThumbnail(huge, Cell, scratch).ok()); // a JPEG decodes shrunk: small anyway
    EXPECT_LE(scratch.picture.sizeInBytes(), ScratchKeepBytes);
    {
        QImage big(2100, 2100, QImage::Format_RGB32);
        big.fill(Qt::gray);
        ASSERT_TRUE(QImageWriter(folder.filePath(QStringLiteral("huge.bmp")), "bmp").write(big));
    }
    ASSERT_TRUE(loadThumbnail(folder.filePath(QStringLiteral("huge.bmp")), Cell, scratch).ok());
    EXPECT_TRUE(scratch.picture.isNull()) << "a picture over ScratchKeepBytes is not kept";
    EXPECT_LE(scratch.fileBytes.capacity(), ScratchKeepBytes) << "nor is a file over it";
}

TEST_F(PictureService, OnlyFullSizeDecodesPassTheGate)
{
    std::vector<qint64> calls; // entries positive, leavings negative
    const DecodeGate gate{[&](qint64 bytes) { calls.push_back(bytes); },
                          [&](qint64 bytes) { calls.push_back(-bytes); }};
    DecodeScratch scratch;
    ASSERT_TRUE(loadThumbnail(corpusPath(QStringLiteral("good/rgb24.bmp")), Cell, scratch, &gate).ok());
    EXPECT_EQ(calls, (std::vector<qint64>{127 * 64 * 4, -127 * 64 * 4}));
    calls.clear();
    ASSERT_TRUE(loadThumbnail(corpusPath(QStringLiteral("good/note_1080x2160.gif")), Cell, scratch, &gate).ok());
    EXPECT_EQ(calls, (std::vector<qint64>{1080 * 2160 * 4, -1080 * 2160 * 4}));
    calls.clear();
    ASSERT_TRUE(loadThumbnail(corpusPath(QStringLiteral("good/large_4032x3024.jpg")), Cell, scratch, &gate).ok());
    EXPECT_TRUE(calls.empty()) << "a shrunk JPEG decode takes little memory";
    // A shrunk progressive JPEG still keeps the coefficients of the whole picture: 2 bytes
    // for each of its 3 components' pixels.
    ASSERT_TRUE(loadThumbnail(corpusPath(QStringLiteral("good/cat.jpg")), Cell, scratch, &gate).ok());
    EXPECT_EQ(calls, (std::vector<qint64>{320 * 240 * 3 * 2, -320 * 240 * 3 * 2}));
    calls.clear();
    // At full size it takes its pixels besides.
    ASSERT_TRUE(loadShrunkPicture(corpusPath(QStringLiteral("good/cat.jpg")), ShrinkRule(), scratch, &gate).ok());
    EXPECT_EQ(calls, (std::vector<qint64>{320 * 240 * 10, -320 * 240 * 10}));
    calls.clear();
    // A damaged picture still leaves the gate; a refused header never enters it.
    ASSERT_FALSE(loadThumbnail(corpusPath(QStringLiteral("bad/truncated-header-only.bmp")), Cell, scratch, &gate).ok());
    ASSERT_FALSE(
        loadThumbnail(corpusPath(QStringLiteral("bad/progressive-49157x27397-613B.jpg")), Cell, scratch, &gate).ok());
    ASSERT_FALSE(loadThumbnail(corpusPath(QStringLiteral("bad/empty.bmp")), Cell, scratch, &gate).ok());
    qint64 balance = 0;
    for (const qint64 call : calls)
        balance += call;
    EXPECT_EQ(calls.size() % 2, 0u);
    EXPECT_EQ(balance, 0);
}

TEST_F(PictureService, TransparentPartsShowTheCanvasColour)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    QImage icon(32, 32, QImage::Format_ARGB32);
    icon.fill(Qt::transparent);
    QPainter(&icon).fillRect(8, 8, 16, 16, Qt::red);
    const QString path = folder.filePath(QStringLiteral("spot.ico"));
    ASSERT_TRUE(QImageWriter(path, "ico").write(icon));

    const auto cell = loadThumbnail(path, Cell);
    ASSERT_TRUE(cell.ok()) << qPrintable(cell.error().message);
    EXPECT_EQ(cell->pixel(0, 0), CellCanvasColour);
    EXPECT_EQ(cell->pixel(59, 59), CellCanvasColour);
    EXPECT_EQ(cell->pixel(10, 50), CellCanvasColour);
    EXPECT_TRUE(near(cell->pixel(30, 30), qRgb(255, 0, 0), 0));

    // A transparent GIF of the corpus: no cell pixel is darker than its picture over white.
    const QString gif = corpusPath(QStringLiteral("good/transparent.gif"));
    const auto full = loadPicture(gif);
    ASSERT_TRUE(full.ok());
    ASSERT_TRUE(full->hasAlphaChannel());
    QImage overWhite(full->size(), QImage::Format_RGB32);
    overWhite.fill(CellCanvasColour);
    QPainter(&overWhite).drawImage(0, 0, *full);
    const QImage expected = overWhite.scaled(Cell, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const auto gifCell = loadThumbnail(gif, Cell);
    ASSERT_TRUE(gifCell.ok());
    int far = 0;
    for (int y = 0; y < Cell.height(); ++y)
        for (int x = 0; x < Cell.width(); ++x)
            far += near(gifCell->pixel(x, y), expected.pixel(x, y), 3) ? 0 : 1;
    EXPECT_EQ(far, 0);
}

TEST_F(PictureService, ShrunkJpegDecodeAgreesWithTheFullPicture)
{
    const QString path = corpusPath(QStringLiteral("good/large_4032x3024.jpg"));
    const auto cell = loadThumbnail(path, Cell);
    const auto full = loadPicture(path);
    ASSERT_TRUE(cell.ok());
    ASSERT_TRUE(full.ok());
    const QImage reference =
        full->scaled(Cell, Qt::IgnoreAspectRatio, Qt::SmoothTransformation).convertToFormat(QImage::Format_RGB32);
    double total = 0;
    int worst = 0;
    for (int y = 0; y < Cell.height(); ++y) {
        for (int x = 0; x < Cell.width(); ++x) {
            const QRgb a = cell->pixel(x, y);
            const QRgb b = reference.pixel(x, y);
            for (const int d : {qRed(a) - qRed(b), qGreen(a) - qGreen(b), qBlue(a) - qBlue(b)}) {
                total += std::abs(d);
                worst = std::max(worst, std::abs(d));
            }
        }
    }
    EXPECT_LT(total / (Cell.width() * Cell.height() * 3), 4.0);
    EXPECT_LT(worst, 64);
    // The decode itself came out small: the scratch holds what was decoded.
    DecodeScratch scratch;
    ASSERT_TRUE(loadThumbnail(path, Cell, scratch).ok());
    ASSERT_FALSE(scratch.picture.isNull());
    EXPECT_LE(scratch.picture.width(), 4032 / 8);
    EXPECT_LE(scratch.picture.height(), 3024 / 8);
}

TEST_F(PictureService, FilesThatCannotBeReadAreRefusedWithTheRightNumber)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());

    const auto missing = loadPicture(folder.filePath(QStringLiteral("gone.jpg")));
    ASSERT_FALSE(missing.ok());
    EXPECT_EQ(missing.error().number, ErrBadPicture);
    EXPECT_EQ(missing.error().message,
              QStringLiteral("\"gone.jpg\" cannot be read as a picture: the file does not exist"));

    // Given a name it cannot open, Qt's reader would try the name with extensions added.
    ASSERT_TRUE(QImageWriter(folder.filePath(QStringLiteral("pic.png")), "png").write(quarters(QSize(8, 8))));
    EXPECT_FALSE(loadPicture(folder.filePath(QStringLiteral("pic"))).ok());
    EXPECT_FALSE(loadThumbnail(folder.filePath(QStringLiteral("pic")), Cell).ok());

    const auto directory = loadPicture(folder.path());
    ASSERT_FALSE(directory.ok());
    EXPECT_EQ(directory.error().number, ErrBadPicture);

    // A pseudo file of the system whose reading fails (EIO at offset 0) reports a length of
    // 0 and is refused as empty before it is read.
    const auto memory = loadPicture(QStringLiteral("/proc/self/mem"));
    ASSERT_FALSE(memory.ok());
    EXPECT_EQ(memory.error().number, ErrBadPicture);
    // A file that exists but cannot be opened for reading, whoever asks: a write-only
    // attribute of a device.
    QDirIterator attributes(QStringLiteral("/sys/devices"), {QStringLiteral("rescan")}, QDir::Files | QDir::System,
                            QDirIterator::Subdirectories);
    if (attributes.hasNext()) {
        const QString writeOnly = attributes.next();
        const auto unreadable = loadPicture(writeOnly);
        ASSERT_FALSE(unreadable.ok());
        EXPECT_EQ(unreadable.error().number, ErrDeviceIo) << qPrintable(unreadable.error().message);
        EXPECT_EQ(loadThumbnail(writeOnly, Cell).error().number, ErrDeviceIo);
    } else {
        std::printf("[ skipped  ] no write-only device attribute under /sys/devices to read\n");
    }

    const QString text = folder.filePath(QStringLiteral("notes.jpg"));
    QFile notes(text);
    ASSERT_TRUE(notes.open(QIODevice::WriteOnly));
    notes.write("not a picture at all, only words\n");
    notes.close();
    const auto words = loadPicture(text);
    ASSERT_FALSE(words.ok());
    EXPECT_EQ(words.error().number, ErrBadPicture);
    EXPECT_TRUE(words.error().message.startsWith(QStringLiteral("\"notes.jpg\" cannot be read as a picture")));
}

TEST(UnreadableCell, IsAGreyCellWithARedCross)
{
    const QImage cell = unreadableCell(Cell);
    ASSERT_EQ(cell.size(), Cell);
    EXPECT_TRUE(near(cell.pixel(30, 30), qRgb(0xd0, 0x10, 0x10), 40)) << "the cross's middle is red";
    EXPECT_TRUE(near(cell.pixel(5, 30), qRgb(0xd8, 0xd8, 0xd8), 0)) << "grey beside the cross";
    EXPECT_TRUE(near(cell.pixel(0, 0), qRgb(0x60, 0x60, 0x60), 0)) << "a dark frame";
    EXPECT_TRUE(near(cell.pixel(17, 17), qRgb(0xd0, 0x10, 0x10), 60)) << "an arm of the cross";

    EXPECT_EQ(unreadableCell(QSize(120, 40)).size(), QSize(120, 40));
    EXPECT_TRUE(unreadableCell(QSize(0, 60)).isNull());
    EXPECT_TRUE(unreadableCell(QSize(-1, -1)).isNull());

    for (const char *name : {"good/hopper.bmp", "good/pal1.bmp", "good/transparent.gif", "good/smile.ico"}) {
        const auto picture = loadThumbnail(corpusPath(QLatin1String(name)), Cell);
        ASSERT_TRUE(picture.ok());
        EXPECT_NE(*picture, cell) << name;
    }
}

TEST(SaveBitmap, WritesAWholeBitmapOrLeavesTheOldFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Wallpaper.bmp"));
    const auto gif = loadPicture(QStringLiteral(PAVIX_CORPUS_DIR "/good/transparent.gif"));
    ASSERT_TRUE(gif.ok());
    ASSERT_TRUE(saveBitmap(gif.value(), path).ok());
    const auto back = loadPicture(path);
    ASSERT_TRUE(back.ok());
    EXPECT_EQ(back.value().size(), gif.value().size());
    EXPECT_FALSE(back.value().hasAlphaChannel());
    // Transparent parts come out white, opaque ones as they were.
    for (int y = 0; y < gif.value().height(); y += 7)
        for (int x = 0; x < gif.value().width(); x += 7) {
            const QRgb in = gif.value().pixel(x, y);
            const QRgb out = back.value().pixel(x, y);
            if (qAlpha(in) == 0) {
                EXPECT_EQ(out, qRgb(255, 255, 255)) << x << "," << y;
            } else if (qAlpha(in) == 255) {
                EXPECT_EQ(out, in | 0xff000000u) << x << "," << y;
            }
        }

    // Nothing to write, or nowhere to write it: refused, and the old file stays whole.
    EXPECT_FALSE(saveBitmap(QImage(), path).ok());
    const auto refused = saveBitmap(gif.value(), dir.filePath(QStringLiteral("no/such/folder/x.bmp")));
    ASSERT_FALSE(refused.ok());
    EXPECT_EQ(refused.error().number, pavix::common::ErrDeviceIo);
    EXPECT_TRUE(loadPicture(path).ok());
}

TEST_F(PictureService, ProgressiveJpegWhoseCoefficientsCannotFitIsRefusedBeforeDecoding)
{
    // A 979-byte progressive JPEG of 32 x 32 whose frame header is made to declare
    // 10,000 x 10,000: exactly the largest picture allowed, but its coefficients alone would
    // take 600 MB whatever size it is decoded at.
    QFile source(corpusPath(QStringLiteral("good/jpg-progressive.jpg")));
    ASSERT_TRUE(source.open(QIODevice::ReadOnly));
    QByteArray bytes = source.readAll();
    const qsizetype frame = bytes.indexOf(QByteArray::fromHex("ffc20011"));
    ASSERT_GT(frame, 0);
    ASSERT_EQ(bytes.mid(frame + 5, 4), QByteArray::fromHex("00200020"));
    bytes.replace(frame + 5, 4, QByteArray::fromHex("27102710"));
    QTemporaryDir folder;
    const QString claim = folder.filePath(QStringLiteral("claim.jpg"));
    QFile out(claim);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(bytes);
    out.close();

    const qint64 growthKib = peakGrowthAloneKib([&] {
        DecodeScratch scratch;
        (void)loadThumbnail(claim, Cell, scratch);
        (void)loadPicture(claim);
    });
    EXPECT_GE(growthKib, 0);
    EXPECT_LT(growthKib, 100 * 1024);

    std::vector<qint64> calls;
    const DecodeGate gate{[&](qint64 taken) { calls.push_back(taken); },
                          [&](qint64 given) { calls.push_back(-given); }};
    DecodeScratch scratch;
    const auto cell = loadThumbnail(claim, Cell, scratch, &gate);
    const auto picture = loadPicture(claim);
    ASSERT_FALSE(cell.ok());
    ASSERT_FALSE(picture.ok());
    EXPECT_EQ(cell.error().number, ErrBadPicture);
    EXPECT_TRUE(cell.error().message.contains(QStringLiteral("\"claim.jpg\"")));
    EXPECT_TRUE(picture.error().message.contains(QStringLiteral("progressive coding needs 572 MB")))
        << qPrintable(picture.error().message);
    EXPECT_TRUE(calls.empty()) << "refused before the gate";
}

TEST_F(PictureService, FilesReportingNoLengthAreRefusedUnread)
{
    // The system's pseudo files report a length of 0 whatever they hold, and reading some
    // of them blocks (the kernel log): a picture never has length 0.
    QTemporaryDir folder;
    const QString status = folder.filePath(QStringLiteral("status.jpg"));
    ASSERT_TRUE(QFile::link(QStringLiteral("/proc/self/status"), status));
    ASSERT_TRUE(QFileInfo(status).isFile());
    ASSERT_EQ(QFileInfo(status).size(), 0);
    for (const pavix::common::Result<QImage> &read : {loadPicture(status), loadThumbnail(status, Cell)}) {
        ASSERT_FALSE(read.ok());
        EXPECT_EQ(read.error().number, ErrBadPicture);
        EXPECT_TRUE(read.error().message.endsWith(QStringLiteral("the file is empty")))
            << qPrintable(read.error().message);
    }
    const auto facts = readPictureFacts(status);
    ASSERT_FALSE(facts.ok());
    EXPECT_TRUE(facts.error().message.endsWith(QStringLiteral("the file is empty")));
}

TEST_F(PictureService, APictureWhoseChunkClaimsMoreThanTheFileHoldsCostsNoMemory)
{
    // Content is what counts, not the name: a PNG named like a bitmap, a JPEG or an icon is
    // read as the PNG it is. A text chunk before the pixels that claims 2 GB, of which the
    // file holds a few hundred bytes, must not have that much set aside.
    QImage small(16, 16, QImage::Format_RGB32);
    small.fill(Qt::darkGreen);
    QByteArray png;
    {
        QBuffer buffer(&png);
        ASSERT_TRUE(buffer.open(QIODevice::WriteOnly));
        ASSERT_TRUE(QImageWriter(&buffer, "png").write(small));
    }
    ASSERT_EQ(png.mid(12, 4), QByteArray("IHDR"));
    png.insert(8 + 25, QByteArray("\x7f\xff\xff\xf0tEXtComment", 15));
    QTemporaryDir folder;
    QStringList paths;
    for (const char *name : {"claim.bmp", "claim.jpg", "claim.gif"}) {
        paths.append(folder.filePath(QLatin1String(name)));
        QFile file(paths.back());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(png);
    }
    // The same PNG as the only entry of an icon file.
    QByteArray icon = QByteArray::fromHex("000001000100"
                                          "10100000"
                                          "01002000");
    for (const qint64 value : {qint64(png.size()), qint64(6 + 16)}) {
        for (int shift = 0; shift < 32; shift += 8)
            icon.append(char((value >> shift) & 0xff));
    }
    icon += png;
    paths.append(folder.filePath(QStringLiteral("claim.ico")));
    QFile iconFile(paths.back());
    ASSERT_TRUE(iconFile.open(QIODevice::WriteOnly));
    iconFile.write(icon);
    iconFile.close();

    const qint64 growthKib = peakGrowthAloneKib([&] {
        for (const QString &path : std::as_const(paths)) {
            (void)loadPicture(path);
            (void)loadThumbnail(path, Cell);
        }
    });
    EXPECT_GE(growthKib, 0);
    EXPECT_LT(growthKib, 100 * 1024);
    for (const QString &path : std::as_const(paths)) {
        EXPECT_FALSE(loadPicture(path).ok()) << qPrintable(path);
        EXPECT_FALSE(loadThumbnail(path, Cell).ok()) << qPrintable(path);
    }
}

TEST_F(PictureService, ADamagedPictureShowsNothingOfTheMemoryItWasDecodedInto)
{
    // A damaged picture may leave part of its pixels unwritten (an RLE bitmap that ends
    // early, a file cut short). What shows there must not be whatever the memory held
    // before: the last picture decoded into the same scratch, or anything else.
    int compared = 0;
    for (const char *kind : {"good", "bad"}) {
        const QDir folder(corpusPath(QLatin1String(kind)));
        for (const QString &name : folder.entryList(QDir::Files)) {
            const QString path = folder.filePath(name);
            QImageReader reader(path);
            const QSize size = reader.size();
            const QImage::Format format = reader.imageFormat();
            if (!size.isValid() || size.isEmpty() || format == QImage::Format_Invalid || !withinPictureLimits(size)
                || qint64(size.width()) * size.height() > 4'000'000)
                continue;
            std::vector<QImage> results;
            for (const uint fill : {0x00u, 0xffu, 0x5au}) {
                DecodeScratch scratch;
                scratch.picture = QImage(size, format);
                if (scratch.picture.colorCount() == 0 && scratch.picture.depth() <= 8)
                    scratch.picture.setColorCount(256);
                scratch.picture.fill(fill);
                const auto picture = loadShrunkPicture(path, ShrinkRule(), scratch);
                if (!picture.ok())
                    break;
                results.push_back(picture->convertToFormat(QImage::Format_ARGB32));
            }
            if (results.size() < 3)
                continue;
            ++compared;
            EXPECT_EQ(results[0], results[1]) << qPrintable(QLatin1String(kind) + u'/' + name);
            EXPECT_EQ(results[0], results[2]) << qPrintable(QLatin1String(kind) + u'/' + name);
        }
    }
    EXPECT_GT(compared, 50);
}
