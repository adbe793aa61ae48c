// Thumbnail cache timings, all in one run on the bench's picture folder (see benchdata.h):
//   - which files are worth a thumbnail in the cache: for pictures of each format and
//     size, the time to make a cell by decoding the file against the time to make it from
//     the file's cached thumbnail, on one thread;
//   - a folder of 200 JPEG photos of 4000 x 3000 built as the grid builds it (ThumbLoader,
//     every core): with no cache, on a first visit that writes the cache, on a second
//     visit, and on a visit to thumbnails another program wrote, the four taking turns
//     for five passes; each figure is the median pass, in time and in processor time.
//     The second and foreign visits must decode no photo;
//   - 100 WebP photos and 100 PNG tiles, a first visit and a revisit, against the JPEGs'.
// Prints the figures, then the ratios against the goals.
//
// Usage: bench_thumbcache [data folder]   (default: bench-data beside the bench folder)

#include "platform/pictureservice.h"
#include "platform/thumbloader.h"
#include "platform/thumbnailcache.h"
#include "thumbcache/fileuri.h"
#include "thumbcache/thumbnailrules.h"

#include "benchdata.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImageReader>
#include <QImageWriter>
#include <QTemporaryDir>

#include <sys/resource.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <vector>

namespace {

using namespace pavix;
using namespace pavix::benchdata;
using platform::ThumbLoader;
using platform::ThumbnailCache;

constexpr QSize CellPx(60, 60);
constexpr int Passes = 3;
// Passes of the folder visits, whose figures the load from elsewhere on the machine moves most.
constexpr int VisitPasses = 5;
constexpr int FilesPerSize = 32;

double medianOf(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Seconds of the median of `passes` runs of `run`; `before` prepares each pass untimed.
double medianSeconds(int passes, const std::function<void()> &before, const std::function<void()> &run)
{
    std::vector<double> seconds;
    for (int pass = 0; pass < passes; ++pass) {
        if (before)
            before();
        QElapsedTimer timer;
        timer.start();
        run();
        seconds.push_back(double(timer.nsecsElapsed()) / 1e9);
    }
    return medianOf(seconds);
}

// Files written now count as changed within the current second, and the cache keeps no
// thumbnail of them yet: the bench's own files are dated an hour back.
bool dateBack(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadWrite)
           && file.setFileTime(QDateTime::currentDateTime().addSecs(-3600), QFileDevice::FileModificationTime);
}

// ---------------------------------------------------------------------------------------
// Which files are worth caching

struct Case {
    const char *format;
    QSize size;
};

QStringList writeCaseFiles(const QString &folder, const Case &c)
{
    QStringList paths;
    const char *suffix = c.format;
    for (int i = 0; i < FilesPerSize; ++i) {
        const QString path = QStringLiteral("%1/%2-%3x%4-%5.%6")
                                 .arg(folder, QLatin1String(c.format))
                                 .arg(c.size.width())
                                 .arg(c.size.height())
                                 .arg(i)
                                 .arg(QLatin1String(suffix));
        const QImage photo = photoLike(c.size, std::uint32_t(7000 + i));
        bool ok = false;
        if (QByteArray(c.format) == "gif")
            ok = writeFile(path, encodeGif(toPalette(photo)));
        else
            ok = writePicture(path, photo, c.format, QByteArray(c.format) == "jpg" ? JpegQuality : -1);
        if (!ok || !dateBack(path)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return {};
        }
        paths << path;
    }
    return paths;
}

void measureCrossover(const QString &scratchFolder)
{
    std::printf(
        "cell from the file against cell from its cached thumbnail (one thread, %d files each, median of %d):\n",
        FilesPerSize, Passes);
    std::printf("  %-5s %11s %10s %12s %12s %8s\n", "kind", "pixels", "KB/file", "decode ms", "cached ms", "gain");
    const std::vector<Case> cases = {
        {"jpg", {160, 120}}, {"jpg", {240, 180}},  {"jpg", {320, 240}},   {"jpg", {400, 300}},  {"jpg", {480, 360}},
        {"jpg", {640, 480}}, {"jpg", {1024, 768}}, {"jpg", {2048, 1536}}, {"bmp", {96, 72}},    {"bmp", {128, 96}},
        {"bmp", {200, 150}}, {"bmp", {256, 192}},  {"bmp", {320, 240}},   {"bmp", {400, 300}},  {"bmp", {480, 360}},
        {"bmp", {640, 480}}, {"bmp", {1024, 768}}, {"gif", {120, 90}},    {"gif", {160, 120}},  {"gif", {200, 150}},
        {"gif", {240, 180}}, {"gif", {320, 240}},  {"gif", {640, 480}},   {"gif", {1024, 768}},
    };
    int index = 0;
    for (const Case &c : cases) {
        const QString folder = QStringLiteral("%1/case-%2").arg(scratchFolder).arg(index);
        const QString cacheFolder = QStringLiteral("%1/cache-%2/thumbnails").arg(scratchFolder).arg(index++);
        QDir().mkpath(folder);
        const QStringList paths = writeCaseFiles(folder, c);
        if (paths.isEmpty())
            return;
        qint64 bytes = 0;
        for (const QString &path : paths)
            bytes += QFileInfo(path).size();
        // Every file is cached here, whatever its length, to see what each would cost.
        const ThumbnailCache cache(cacheFolder, QStringLiteral("bench"), [](const QString &, qint64) { return true; });
        platform::DecodeScratch scratch;
        std::vector<QImage> cells;
        const double decode = medianSeconds(
            Passes, [&] { cells.clear(); },
            [&] {
                for (const QString &path : paths)
                    cells.push_back(*platform::loadThumbnail(path, CellPx, scratch));
            });
        for (const QString &path : paths)
            (void)cache.cell(path, CellPx, scratch, nullptr, true);
        int hits = 0;
        const double cached = medianSeconds(
            Passes,
            [&] {
                cells.clear();
                hits = 0;
            },
            [&] {
                for (const QString &path : paths) {
                    platform::CachedCell made = cache.cell(path, CellPx, scratch, nullptr, false);
                    hits += made.source == platform::CellSource::Cache;
                    cells.push_back(std::move(made.cell));
                }
            });
        const double decodeMs = 1000.0 * decode / paths.size();
        const double cachedMs = 1000.0 * cached / paths.size();
        std::printf("  %-5s %5dx%-5d %10.1f %12.3f %12.3f %7.2fx%s\n", c.format, c.size.width(), c.size.height(),
                    double(bytes) / paths.size() / 1024.0, decodeMs, cachedMs, decodeMs / cachedMs,
                    hits == paths.size() ? "" : "  (not all from the cache)");
        std::fflush(stdout);
    }
    std::printf("  cached (thumbcache::worthCaching): JPEG from 32 KB, GIF from 16 KB, anything else from 384 KB\n\n");
}

// ---------------------------------------------------------------------------------------
// Visits to a folder of photos

// Processor time of the whole process (all threads), user and system, in seconds.
double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
           + double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

struct Visit {
    std::vector<double> seconds; // one a pass
    std::vector<double> cpu;     // processor seconds, one a pass
    int decoded = 0;             // in the last pass
    int cached = 0;
    int images = 0;
    double rate() const { return seconds.empty() ? 0 : images / medianOf(seconds); }
    // Images a second of processor time: what the rate would be on a machine of one core
    // with nothing else to run.
    double cpuRate() const { return cpu.empty() ? 0 : images / medianOf(cpu); }
};

// One pass of the grid's build over paths, added to v.
void visit(Visit &v, const QStringList &paths, const std::shared_ptr<const ThumbnailCache> &cache)
{
    std::vector<QImage> cells;
    const double cpuBefore = cpuSeconds();
    QElapsedTimer timer;
    timer.start();
    ThumbLoader loader(paths, CellPx, 0, 0, 0, cache);
    for (int i = 0; i < loader.count(); ++i)
        cells.push_back(loader.waitFor(i));
    v.seconds.push_back(double(timer.nsecsElapsed()) / 1e9);
    v.cpu.push_back(cpuSeconds() - cpuBefore);
    v.images = int(paths.size());
    v.decoded = loader.decodedFiles();
    v.cached = loader.cachedCells();
}

// Thumbnails as another program writes them: the photo shrunk to 128 pixels, with only
// the two keys every program must write.
bool writeForeignThumbnails(const QStringList &paths, const QString &cacheFolder)
{
    const QString normal = cacheFolder + QStringLiteral("/normal");
    if (!QDir().mkpath(normal))
        return false;
    for (const QString &path : paths) {
        QImageReader reader(path);
        const QSize full = reader.size();
        reader.setScaledSize(thumbcache::thumbnailSize(full, 128));
        QImage thumbnail = reader.read();
        const QByteArray uri = thumbcache::fileUri(QFile::encodeName(QFileInfo(path).absoluteFilePath()));
        struct stat st {};
        if (thumbnail.isNull() || ::stat(QFile::encodeName(path).constData(), &st) != 0)
            return false;
        thumbnail.setText(thumbcache::UriKey, QString::fromLatin1(uri));
        thumbnail.setText(thumbcache::MTimeKey, QString::number(qint64(st.st_mtim.tv_sec)));
        thumbnail.setText(thumbcache::SoftwareKey, QStringLiteral("another program"));
        if (!QImageWriter(normal + u'/' + thumbcache::thumbnailFileName(uri), "png").write(thumbnail))
            return false;
    }
    return true;
}

void printVisit(const char *what, const Visit &v)
{
    std::printf("%-34s %4d images  %7.2f s  %7.1f images/s  %7.1f images/cpu s  decoded %d, from the cache %d\n", what,
                v.images, medianOf(v.seconds), v.rate(), v.cpuRate(), v.decoded, v.cached);
    std::fflush(stdout);
}

double loadAverage()
{
    double load[1] = {0};
    return getloadavg(load, 1) == 1 ? load[0] : -1;
}

void printGoal(const char *text, double measured, double goal)
{
    std::printf("goal %-58s %7.2f times  (goal >= %.2f)  %s\n", text, measured, goal,
                measured >= goal ? "met" : "NOT MET");
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    platform::configurePictureLimits();
    const QString folder =
        argc > 1 ? QString::fromLocal8Bit(argv[1])
                 : QDir(QCoreApplication::applicationDirPath() + QStringLiteral("/../bench-data")).absolutePath();
    const std::optional<DataSet> data = ensureData(folder);
    QTemporaryDir scratch;
    if (!data || !scratch.isValid())
        return 1;
    std::printf("machine: %d cores; cell %d x %d pixels; scratch %s\n\n", QThread::idealThreadCount(), CellPx.width(),
                CellPx.height(), qPrintable(scratch.path()));
    std::fflush(stdout);

    measureCrossover(scratch.path());

    const QStringList &photos = data->jpegs;
    for (const QString &path : photos) {
        if (QFileInfo(path).lastModified().secsTo(QDateTime::currentDateTime()) < 2)
            dateBack(path);
        QFile file(path);
        if (file.open(QIODevice::ReadOnly))
            while (!file.read(1 << 20).isEmpty()) {
            }
    }
    std::printf("%d JPEG photos of %d x %d, quality %d:\n", int(photos.size()), JpegSize.width(), JpegSize.height(),
                JpegQuality);
    const QString ours = scratch.filePath(QStringLiteral("ours/thumbnails"));
    const auto cache = std::make_shared<const ThumbnailCache>(ours, ThumbnailCache::programVersion());
    const QString theirs = scratch.filePath(QStringLiteral("theirs/thumbnails"));
    if (!writeForeignThumbnails(photos, theirs)) {
        std::fprintf(stderr, "cannot write the other program's thumbnails\n");
        return 1;
    }
    const auto theirCache = std::make_shared<const ThumbnailCache>(theirs, ThumbnailCache::programVersion());
    // The four builds take turns, pass after pass, so that load from elsewhere on the
    // machine falls on all of them alike.
    Visit none;
    Visit first;
    Visit second;
    Visit foreign;
    for (int pass = 0; pass < VisitPasses; ++pass) {
        visit(none, photos, nullptr);
        QDir(ours).removeRecursively();
        visit(first, photos, cache);
        visit(second, photos, cache);
        visit(foreign, photos, theirCache);
    }
    printVisit("no cache", none);
    printVisit("first visit, writing the cache", first);
    printVisit("second visit", second);
    printVisit("thumbnails another program wrote", foreign);

    std::printf("\n");
    std::printf("load average over the last minute at the end: %.1f on %d cores\n", loadAverage(),
                QThread::idealThreadCount());
    printGoal("second visit / no cache", second.rate() / none.rate(), 10.0);
    printGoal("first visit writing the cache / no cache", first.rate() / none.rate(), 0.85);
    printGoal("another program's thumbnails / second visit", foreign.rate() / second.rate(), 0.9);
    // The same in processor time, which load from elsewhere on the machine disturbs less.
    printGoal("second visit / no cache, processor time", second.cpuRate() / none.cpuRate(), 10.0);
    printGoal("first visit writing the cache / no cache, processor time", first.cpuRate() / none.cpuRate(), 0.85);
    printGoal("another program's thumbnails / second visit, processor", foreign.cpuRate() / second.cpuRate(), 0.9);
    const bool decodedNone = second.decoded == 0 && foreign.decoded == 0 && second.cached == second.images
                             && foreign.cached == foreign.images;
    std::printf("goal %-58s %s\n", "second and foreign visits decode no photo", decodedNone ? "met" : "NOT MET");

    // The later types: a first visit that writes the cache and a revisit from it, taking
    // turns; a revisit must be as quick a picture as a JPEG's.
    for (const auto &[kind, paths] : {std::pair{"WebP photos", data->webps}, std::pair{"PNG tiles", data->pngs}}) {
        std::printf("\n%d %s:\n", int(paths.size()), kind);
        for (const QString &path : paths) {
            if (QFileInfo(path).lastModified().secsTo(QDateTime::currentDateTime()) < 2)
                dateBack(path);
        }
        const QString laterFolder = scratch.filePath(QStringLiteral("later/thumbnails"));
        const auto laterCache = std::make_shared<const ThumbnailCache>(laterFolder, ThumbnailCache::programVersion());
        Visit firstLater;
        Visit secondLater;
        for (int pass = 0; pass < VisitPasses; ++pass) {
            QDir(laterFolder).removeRecursively();
            visit(firstLater, paths, laterCache);
            visit(secondLater, paths, laterCache);
        }
        printVisit("first visit, writing the cache", firstLater);
        printVisit("second visit", secondLater);
        printGoal(qPrintable(QStringLiteral("%1, second visit / JPEG second visit").arg(QLatin1String(kind))),
                  secondLater.rate() / second.rate(), 0.9);
        printGoal(qPrintable(QStringLiteral("%1, the same in processor time").arg(QLatin1String(kind))),
                  secondLater.cpuRate() / second.cpuRate(), 0.9);
    }
    return 0;
}
