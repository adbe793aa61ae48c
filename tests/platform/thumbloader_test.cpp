#include "platform/thumbloader.h"

#include "platform/pictureservice.h"
#include "platform/timedcall.h"

#include <QFile>
#include <QFileInfo>
#include <QImageWriter>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "support/corpus.h"
#include "support/gate.h"

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
    for (const char *name : {"good/hopper.jpg",
                             "bad/empty.jpg",
                             "good/pal8.bmp",
                             "good/fire.gif",
                             "bad/progressive-49157x27397-613B.jpg",
                             "good/python.ico",
                             "good/flower.jpg",
                             "bad/giflib-text-format.ico",
                             "good/transparent.gif",
                             "good/rgb24.bmp",
                             "bad/truncated-baseline.jpg",
                             "good/test.colors.gif",
                             "bad/no-such-file.bmp",
                             "good/cat.jpg",
                             "good/pal4rle.bmp",
                             "bad/zero_width.gif",
                             "good/smile.ico",
                             "good/tower_progressive.jpg",
                             "bad/reallybig.bmp",
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
    for (const Setting &setting :
         {Setting{3, 1, 0}, Setting{2, 4, 1}, Setting{4, 0, 1}, Setting{1, 0, 0}, Setting{0, 0, 0}}) {
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

    ThumbLoader loader({blackPath, spotPath, blackPath, gifPath, blackPath,
                        corpusPath(QStringLiteral("bad/empty.gif"))},
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
    for (const Setting &setting :
         {Setting{pictureBytes + pictureBytes / 2, 1}, Setting{2 * pictureBytes + pictureBytes / 2, 2},
          Setting{pictureBytes / 2, 1}}) { // over the budget: alone
        ThumbLoader loader(paths, Cell, 4, 0, setting.budget);
        ASSERT_EQ(loader.threadCount(), 4);
        for (int i = 0; i < loader.count(); ++i)
            EXPECT_EQ(loader.waitFor(i), expected[i % 2]) << "cell " << i;
        EXPECT_GE(loader.peakDecodes(), 1) << "every picture passed the gate";
        EXPECT_LE(loader.peakDecodes(), setting.most) << "budget " << setting.budget;
        EXPECT_LE(loader.peakDecodingBytes(), std::max(setting.budget, pictureBytes)) << "budget " << setting.budget;
        EXPECT_EQ(loader.peakDecodingBytes(), loader.peakDecodes() * pictureBytes);
    }
}

namespace {

using Clock = std::chrono::steady_clock;

// Files whose reading never ends until the test lets them go: a stand-in for a stalled
// network mount. Held by the loader's cell maker, so that it outlives workers given up on.
// It keeps the loader's clock too: the clock stands still but for a jump of the time limit
// whenever a worker starts on a stalled file, so that with one worker at a time exactly the
// workers on stalled files run past the limit, however long the others take.
struct Stall {
    std::mutex mutex;
    std::condition_variable released;
    bool open = false;
    int entered = 0;
    std::chrono::milliseconds limit;
    std::atomic<Clock::rep> ticks{0};

    explicit Stall(std::chrono::milliseconds limit_) : limit(limit_) {}
    Clock::time_point now() const { return Clock::time_point(Clock::duration(ticks.load())); }
    void release()
    {
        {
            std::lock_guard lock(mutex);
            open = true;
        }
        released.notify_all();
    }
};

// True once every worker given up on has ended (waits up to 5 s).
bool noneLeftBehind()
{
    return QTest::qWaitFor([] { return threadsLeftBehind() == 0; }, 5000);
}

// Options for one worker at a time, reading time from the stall's clock, making cells from
// the files except that a path ending in "stalled" blocks until released.
ThumbLoader::Options stallingOptions(const std::shared_ptr<Stall> &stall)
{
    ThumbLoader::Options options;
    options.threads = 1;
    options.cellTimeLimit = stall->limit;
    options.clock = [stall] { return stall->now(); };
    options.makeCell = [stall](const QString &path, QSize cellPx, DecodeScratch &scratch, const DecodeGate *gate,
                               bool) {
        if (path.endsWith(QLatin1String("stalled"))) {
            std::unique_lock lock(stall->mutex);
            ++stall->entered;
            stall->ticks += std::chrono::duration_cast<Clock::duration>(stall->limit).count();
            stall->released.wait(lock, [&] { return stall->open; });
            return CachedCell{};
        }
        CachedCell made;
        if (auto cell = loadThumbnail(path, cellPx, scratch, gate))
            made.cell = *cell;
        return made;
    };
    return options;
}

} // namespace

TEST(ThumbLoader, AFileThatNeverEndsBecomesUnreadableAfterTheTimeLimitAndTheBuildGoesOn)
{
    configurePictureLimits();
    ASSERT_TRUE(noneLeftBehind());
    const auto stall = std::make_shared<Stall>(std::chrono::milliseconds(20));
    const QString good = corpusPath(QStringLiteral("good/hopper.jpg"));
    const QString stalled = QStringLiteral("/nowhere/stalled");
    const QStringList paths{good, stalled, good, stalled, stalled, good, good, stalled, good};
    const QImage goodCell = expectedCell(good);
    {
        ThumbLoader loader(paths, Cell, stallingOptions(stall));
        for (int i = 0; i < loader.count(); ++i)
            EXPECT_EQ(loader.waitFor(i), paths[i] == good ? goodCell : unreadableCell(Cell)) << "cell " << i;
        EXPECT_EQ(loader.givenUpCells(), 4);
        EXPECT_EQ(loader.decodedFiles(), 5);
        EXPECT_EQ(loader.threadCount(), 1 + 4) << "a worker took the place of each one stuck";
        EXPECT_EQ(threadsLeftBehind(), 4) << "the stuck ones count among the threads left behind";
        // Destroyed while four workers are still stuck: it does not wait for them.
    }
    EXPECT_EQ(stall->entered, 4);
    stall->release();
    // The stuck workers end on their own, and let go of what they held before their places
    // come free.
    EXPECT_TRUE(noneLeftBehind());
    EXPECT_EQ(stall.use_count(), 1);
}

TEST(ThumbLoader, WhenNoWorkerIsLeftTheRestIsGivenUpAtOnce)
{
    ASSERT_TRUE(noneLeftBehind());
    const auto stall = std::make_shared<Stall>(std::chrono::milliseconds(5));
    const int files = MaxThreadsLeftBehind + 30;
    {
        ThumbLoader loader(QStringList(files, QStringLiteral("/nowhere/stalled")), Cell, stallingOptions(stall));
        for (int i = 0; i < files; ++i)
            ASSERT_EQ(loader.waitFor(i), unreadableCell(Cell)) << "cell " << i;
        EXPECT_EQ(loader.givenUpCells(), files);
        // Workers take the place of stuck ones until the process has as many threads left
        // behind as it allows; nothing is tried after that.
        EXPECT_EQ(loader.threadCount(), MaxThreadsLeftBehind);
        EXPECT_EQ(stall->entered, MaxThreadsLeftBehind);
    }
    EXPECT_EQ(threadsLeftBehind(), MaxThreadsLeftBehind);
    // Meanwhile other timed work is refused at once.
    EXPECT_FALSE(callWithin(std::chrono::hours(1), [] { return 42; }));
    stall->release();
    EXPECT_TRUE(noneLeftBehind());
    EXPECT_EQ(stall.use_count(), 1);
    EXPECT_EQ(callWithin(std::chrono::hours(1), [] { return 42; }), std::optional<int>(42));
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
    ThumbLoader loader(paths, Cell);
    for (int i = 0; i < loader.count(); ++i)
        EXPECT_EQ(loader.waitFor(i), unreadableCell(Cell)) << qPrintable(paths[i]);
    EXPECT_EQ(loader.givenUpCells(), 0) << "refused, not timed out";
}

// The grid build waits for a cell in short slices and handles the windows' events between them.
TEST(ThumbLoaderWait, AShortWaitGivesNothingUntilTheCellIsMadeThenTheCell)
{
    // The worker makes its cell only once the test lets it.
    const auto gate = std::make_shared<pavix::testsupport::Gate>();
    ThumbLoader::Options options;
    options.threads = 1;
    options.makeCell = [gate](const QString &, QSize px, DecodeScratch &, const DecodeGate *, bool) {
        gate->pass();
        QImage cell(px, QImage::Format_RGB32);
        cell.fill(Qt::red);
        return CachedCell{cell};
    };
    ThumbLoader loader({QStringLiteral("/a.bmp"), QStringLiteral("/b.bmp")}, QSize(4, 4), options);

    EXPECT_FALSE(loader.waitFor(0, std::chrono::milliseconds(0)).has_value());
    EXPECT_FALSE(loader.waitFor(0, std::chrono::milliseconds(1)).has_value());
    gate->release();
    // However long it takes now, the cell comes within the cell time limit.
    const std::optional<QImage> cell = loader.waitFor(0, ThumbLoader::DefaultCellTimeLimit * 2);
    ASSERT_TRUE(cell.has_value());
    EXPECT_EQ(cell->pixel(0, 0), QColor(Qt::red).rgb());
    EXPECT_EQ(loader.waitFor(1), *cell);
    // Out of range: a null cell at once, as waitFor without a limit gives.
    const std::optional<QImage> outside = loader.waitFor(2, std::chrono::milliseconds(0));
    ASSERT_TRUE(outside.has_value());
    EXPECT_TRUE(outside->isNull());
}
