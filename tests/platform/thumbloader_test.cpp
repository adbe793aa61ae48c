#include "platform/thumbloader.h"

#include "platform/pictureservice.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImageWriter>
#include <QPainter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "support/corpus.h"

using namespace pavix::platform;
using pavix::platform::CellCanvasColour;
using pavix::platform::configurePictureLimits;
using pavix::platform::loadThumbnail;
using pavix::platform::unreadableCell;

using pavix::testsupport::corpusPath;

namespace {

const QSize Cell(60, 60);


// What the grid must show for a file: its cell, or the unreadable cell.
QImage expectedCell(const QString &path)
{
    const auto cell = loadThumbnail(path, Cell);
    return cell.ok() ? *cell : unreadableCell(Cell);
}

// Readable pictures of every kind, with unreadable files and a missing one among them.
QStringList mixedFolder()
{
    QStringList paths;
    for (const char *name :
         {"good/hopper.jpg", "bad/empty.jpg", "good/pal8.bmp", "good/fire.gif", "bad/progressive-49157x27397-613B.jpg",
          "good/python.ico", "good/flower.jpg", "bad/giflib-text-format.ico", "good/transparent.gif", "good/rgb24.bmp",
          "bad/truncated-baseline.jpg", "good/test.colors.gif", "bad/no-such-file.bmp", "good/cat.jpg",
          "good/pal4rle.bmp", "bad/zero_width.gif", "good/smile.ico", "good/tower_progressive.jpg", "bad/reallybig.bmp",
          "good/porsche.gif"})
        paths << corpusPath(QLatin1String(name));
    return paths;
}

} // namespace

TEST(ThumbLoader, CellsComeOutInListOrderWithUnreadableFilesAmongThem)
{
    configurePictureLimits();
    const QStringList paths = mixedFolder() + mixedFolder();
    std::vector<QImage> expected;
    for (const QString &path : paths)
        expected.push_back(expectedCell(path));
    ASSERT_NE(expected[0], expected[2]) << "neighbouring cells differ, so an order fault shows";

    // Several threads and a short look-ahead, so workers wait for the consumer often; a
    // decode budget of one byte lets only one full-size decode run at a time.
    struct Setting {
        int threads;
        int lookAhead;
        qint64 budget;
    };
    for (const Setting &setting : {Setting{3, 1, 0}, Setting{2, 4, 1}, Setting{4, 0, 1}, Setting{1, 0, 0}, Setting{0, 0, 0}}) {
        const int threads = setting.threads;
        ThumbLoader loader(paths, Cell, threads, setting.lookAhead, setting.budget);
        ASSERT_EQ(loader.count(), paths.size());
        for (int i = 0; i < loader.count(); ++i) {
            const QImage cell = loader.waitFor(i);
            ASSERT_EQ(cell.size(), Cell) << "cell " << i;
            EXPECT_EQ(cell, expected[size_t(i)]) << "cell " << i << " with " << threads << " threads";
        }
        EXPECT_TRUE(loader.waitFor(-1).isNull());
        EXPECT_TRUE(loader.waitFor(loader.count()).isNull());
    }
}

TEST(ThumbLoader, CellsAskedForOutOfOrderOrTwiceAreStillRight)
{
    const QStringList paths = mixedFolder();
    ThumbLoader loader(paths, Cell, 2, 1);
    const int last = loader.count() - 1;
    EXPECT_EQ(loader.waitFor(last), expectedCell(paths[last])); // beyond the look-ahead: the horizon moves
    EXPECT_EQ(loader.waitFor(3), expectedCell(paths[3]));
    EXPECT_EQ(loader.waitFor(0), expectedCell(paths[0]));
    EXPECT_EQ(loader.waitFor(0), expectedCell(paths[0]));
    EXPECT_EQ(loader.waitFor(1), unreadableCell(Cell));
}

TEST(ThumbLoader, TransparentPictureShowsNoRemainsOfThePreviousCell)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    QImage black(50, 50, QImage::Format_RGB32);
    black.fill(Qt::black);
    const QString blackPath = folder.filePath(QStringLiteral("black.bmp"));
    ASSERT_TRUE(QImageWriter(blackPath, "bmp").write(black));
    QImage spot(32, 32, QImage::Format_ARGB32);
    spot.fill(Qt::transparent);
    QPainter(&spot).fillRect(12, 12, 8, 8, Qt::blue);
    const QString spotPath = folder.filePath(QStringLiteral("spot.ico"));
    ASSERT_TRUE(QImageWriter(spotPath, "ico").write(spot));
    const QString gifPath = corpusPath(QStringLiteral("good/transparent.gif"));

    ThumbLoader loader({blackPath, spotPath, blackPath, gifPath, blackPath, corpusPath(QStringLiteral("bad/empty.gif"))},
                       Cell, 1);
    EXPECT_EQ(loader.waitFor(0).pixel(30, 30), qRgb(0, 0, 0));
    const QImage spotCell = loader.waitFor(1);
    EXPECT_EQ(spotCell.pixel(0, 0), CellCanvasColour);
    EXPECT_EQ(spotCell.pixel(59, 0), CellCanvasColour);
    EXPECT_EQ(spotCell.pixel(30, 30), qRgb(0, 0, 255));
    EXPECT_EQ(loader.waitFor(3), expectedCell(gifPath)) << "the same cell as after no picture at all";
    // An unreadable file after a picture gets the unreadable cell, not the picture before it.
    EXPECT_EQ(loader.waitFor(5), unreadableCell(Cell));
}

TEST(ThumbLoader, CancelStopsTheWorkAndLeavesTheCellsAlreadyMade)
{
    configurePictureLimits();
    // Decoding all of it would take the better part of an hour, past the test's time-out:
    // a loader that went on working after a cancel, or joined without one, fails here.
    const QStringList paths(100'000, corpusPath(QStringLiteral("good/large_4032x3024.jpg")));
    {
        ThumbLoader loader(paths, Cell, 2, 4);
        const QImage first = loader.waitFor(0);
        ASSERT_EQ(first.size(), Cell);
        loader.cancel();
        EXPECT_TRUE(loader.waitFor(99'999).isNull()) << "a cell past the stop is never decoded";
        EXPECT_EQ(loader.waitFor(0), first) << "cells made before the stop stay";
        loader.cancel(); // twice is harmless
    }
    {
        // Destroyed while its workers are busy: joins without decoding the rest.
        ThumbLoader loader(paths, Cell);
        EXPECT_EQ(loader.waitFor(1).size(), Cell);
    }
}

TEST(ThumbLoader, ThreadCountFollowsTheListAndTheRequest)
{
    EXPECT_EQ(ThumbLoader(QStringList(), Cell).threadCount(), 0);
    EXPECT_TRUE(ThumbLoader(QStringList(), Cell).waitFor(0).isNull());
    const QStringList three = mixedFolder().mid(0, 3);
    EXPECT_EQ(ThumbLoader(three, Cell, 1).threadCount(), 1);
    EXPECT_EQ(ThumbLoader(three, Cell, 100).threadCount(), 3);
    const QStringList many = mixedFolder() + mixedFolder();
    EXPECT_EQ(ThumbLoader(many, Cell, 100).threadCount(), ThumbLoader::MaxThreads);
    const int ideal = ThumbLoader(many, Cell).threadCount();
    EXPECT_GE(ideal, 1);
    EXPECT_LE(ideal, ThumbLoader::MaxThreads);
}

TEST(ThumbLoader, FullSizeDecodesAtOnceStayWithinTheMemoryBudget)
{
    configurePictureLimits();
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    // Bitmaps are decoded at full size (only JPEG comes shrunk): 1600 x 1200 pixels take
    // 7,680,000 bytes at the gate's 4 bytes a pixel. Two pictures, so that neighbouring
    // cells differ.
    const QSize sizePx(1600, 1200);
    const qint64 pictureBytes = 4 * qint64(sizePx.width()) * sizePx.height();
    QStringList files;
    for (const QColor &colour : {QColor(Qt::darkCyan), QColor(Qt::darkMagenta)}) {
        QImage picture(sizePx, QImage::Format_RGB32);
        picture.fill(colour);
        QPainter(&picture).fillRect(0, 0, sizePx.width() / 2, sizePx.height() / 2, Qt::yellow);
        files.append(folder.filePath(QStringLiteral("large%1.bmp").arg(files.size())));
        ASSERT_TRUE(QImageWriter(files.back(), "bmp").write(picture));
    }
    QStringList paths;
    for (int i = 0; i < 12; ++i)
        paths.append(files[i % 2]);
    const QImage expected[] = {expectedCell(files[0]), expectedCell(files[1])};
    ASSERT_NE(expected[0], expected[1]);

    struct Setting {
        qint64 budget;
        int most; // full-size decodes the budget lets run together
    };
    for (const Setting &setting : {Setting{pictureBytes + pictureBytes / 2, 1},
                                   Setting{2 * pictureBytes + pictureBytes / 2, 2},
                                   Setting{pictureBytes / 2, 1}}) { // over the budget: alone
        ThumbLoader loader(paths, Cell, 4, 0, setting.budget);
        ASSERT_EQ(loader.threadCount(), 4);
        for (int i = 0; i < loader.count(); ++i)
            EXPECT_EQ(loader.waitFor(i), expected[i % 2]) << "cell " << i;
        EXPECT_GE(loader.peakDecodes(), 1) << "every picture passed the gate";
        EXPECT_LE(loader.peakDecodes(), setting.most) << "budget " << setting.budget;
        EXPECT_LE(loader.peakDecodingBytes(), std::max(setting.budget, pictureBytes))
            << "budget " << setting.budget;
        EXPECT_EQ(loader.peakDecodingBytes(), loader.peakDecodes() * pictureBytes);
    }
}

namespace {

// Files whose reading never ends until the test lets them go: a stand-in for a stalled
// network mount. Held by the loader's cell maker, so that it outlives workers given up on.
struct Stall {
    std::mutex mutex;
    std::condition_variable released;
    bool open = false;
    int entered = 0;

    void release()
    {
        {
            std::lock_guard lock(mutex);
            open = true;
        }
        released.notify_all();
    }
};

// True once nothing but the test holds the stall any more: every worker that used it has
// ended (waits up to 5 s).
bool letGo(const std::shared_ptr<Stall> &stall)
{
    for (int waited = 0; stall.use_count() > 1 && waited < 5000; waited += 10)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return stall.use_count() == 1;
}

// Makes cells from the files, except that a path ending in "stalled" blocks until released.
ThumbLoader::CellMaker stallingMaker(const std::shared_ptr<Stall> &stall)
{
    return [stall](const QString &path, QSize cellPx, DecodeScratch &scratch, const DecodeGate *gate, bool) {
        if (path.endsWith(QLatin1String("stalled"))) {
            std::unique_lock lock(stall->mutex);
            ++stall->entered;
            stall->released.wait(lock, [&] { return stall->open; });
            return CachedCell{};
        }
        CachedCell made;
        if (auto cell = loadThumbnail(path, cellPx, scratch, gate))
            made.cell = *cell;
        return made;
    };
}

} // namespace

TEST(ThumbLoader, AFileThatNeverEndsBecomesUnreadableAfterTheTimeLimitAndTheBuildGoesOn)
{
    configurePictureLimits();
    const auto stall = std::make_shared<Stall>();
    const QString good = corpusPath(QStringLiteral("good/hopper.jpg"));
    const QString stalled = QStringLiteral("/nowhere/stalled");
    // More stalled files than workers, so every first worker is stuck at some point.
    const QStringList paths{good, stalled, good, stalled, stalled, good, good, stalled, good};
    const QImage goodCell = expectedCell(good);
    const auto limit = std::chrono::milliseconds(150);
    QElapsedTimer clock;
    clock.start();
    {
        ThumbLoader::Options options;
        options.threads = 2;
        options.cellTimeLimit = limit;
        options.makeCell = stallingMaker(stall);
        ThumbLoader loader(paths, Cell, options);
        for (int i = 0; i < loader.count(); ++i)
            EXPECT_EQ(loader.waitFor(i), paths[i] == good ? goodCell : unreadableCell(Cell)) << "cell " << i;
        EXPECT_EQ(loader.givenUpCells(), 4);
        EXPECT_EQ(loader.decodedFiles(), 5);
        EXPECT_GE(loader.threadCount(), 2 + 4) << "a worker took the place of each one stuck";
        // Destroyed while four workers are still stuck: it does not wait for them.
    }
    // Each stalled file costs at most about one time limit, not the whole build.
    EXPECT_LT(clock.elapsed(), 4 * 4 * limit.count() + 2000);
    EXPECT_EQ(stall->entered, 4);
    stall->release();
    EXPECT_TRUE(letGo(stall)) << "the stuck workers end on their own and let go of what they held";
}

TEST(ThumbLoader, WhenNoWorkerIsLeftTheRestIsGivenUpAtOnce)
{
    const auto stall = std::make_shared<Stall>();
    const int files = ThumbLoader::MaxReplacements + 30;
    const QStringList paths(files, QStringLiteral("/nowhere/stalled"));
    const auto limit = std::chrono::milliseconds(50);
    QElapsedTimer clock;
    clock.start();
    {
        ThumbLoader::Options options;
        options.threads = 1;
        options.cellTimeLimit = limit;
        options.makeCell = stallingMaker(stall);
        ThumbLoader loader(paths, Cell, options);
        for (int i = 0; i < files; ++i)
            ASSERT_EQ(loader.waitFor(i), unreadableCell(Cell)) << "cell " << i;
        EXPECT_EQ(loader.givenUpCells(), files);
        EXPECT_EQ(loader.threadCount(), 1 + ThumbLoader::MaxReplacements);
    }
    // One time limit for the first worker and for each replacement; nothing for the rest.
    EXPECT_LT(clock.elapsed(), (ThumbLoader::MaxReplacements + 1) * limit.count() * 3 + 2000);
    EXPECT_EQ(stall->entered, 1 + ThumbLoader::MaxReplacements);
    stall->release();
    EXPECT_TRUE(letGo(stall));
}

TEST(ThumbLoader, PseudoFilesNamedLikePicturesAreUnreadableAtOnce)
{
    // Links to files of the system that report no length; reading the kernel log blocks
    // until the kernel writes to it.
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    QStringList paths;
    for (const char *target : {"/proc/kmsg", "/proc/self/status", "/sys/kernel/mm/transparent_hugepage/enabled"}) {
        if (!QFileInfo::exists(QLatin1String(target)))
            continue;
        paths << folder.filePath(QString::fromLatin1(target).mid(1).replace(u'/', u'-') + QStringLiteral(".jpg"));
        ASSERT_TRUE(QFile::link(QLatin1String(target), paths.back()));
    }
    ASSERT_FALSE(paths.isEmpty());
    QElapsedTimer clock;
    clock.start();
    ThumbLoader loader(paths, Cell);
    for (int i = 0; i < loader.count(); ++i)
        EXPECT_EQ(loader.waitFor(i), unreadableCell(Cell)) << qPrintable(paths[i]);
    EXPECT_EQ(loader.givenUpCells(), 0) << "refused, not timed out";
    EXPECT_LT(clock.elapsed(), 2000);
}
