// Thumbnail build timings. Generates a folder of photo-like pictures once (200 JPEGs of
// 4000 x 3000 at quality 90, 200 BMPs of 1024 x 768, 100 GIFs of 640 x 480, 100 PNG tiles
// of 512 x 512, 100 WebPs of 4000 x 3000) and measures, each in a child process of its own
// so that each has its own peak memory:
//   - Pavix's cell build (ThumbLoader, cells taken in order as the grid places them),
//     three passes, the median one reported,
//   - the naive build (full decode, then a smooth scale, one thread; on the first 50 JPEGs),
//   - vipsthumbnail over the same JPEGs, PNGs and WebPs, as one process and as two processes
//     side by side.
// Prints one line per figure, then the figures against the goals.
//
// Usage: bench_thumbs [data folder]   (default: bench-data beside the bench folder)

#include "platform/pictureservice.h"
#include "platform/thumbloader.h"

#include "benchdata.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <thread>
#include <tuple>
#include <unordered_map>
#include <vector>

extern char **environ;

namespace {

using pavix::platform::configurePictureLimits;
using pavix::platform::ThumbLoader;
using namespace pavix::benchdata;

constexpr QSize CellPx(60, 60);
constexpr int NaiveJpegCount = 50;
// Passes over the files for every figure but the naive JPEG one; the median pass counts.
constexpr int Passes = 3;

// ---------------------------------------------------------------------------------------
// Measurement in a child process

qint64 statusKb(const char *field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray key = QByteArray(field) + ':';
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(key))
            return line.mid(key.size()).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

// Lets VmHWM start again from the current resident size (Linux 4.0 and later).
bool resetPeak()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    return clear.open(QIODevice::WriteOnly) && clear.write("5") == 1;
}

// Reads one tiny picture of each kind from memory, so the image plugins are loaded before
// the baseline is taken.
void loadPlugins()
{
    const QImage small = photoLike(QSize(16, 16), 99);
    for (const char *format : {"jpeg", "bmp", "png", "webp"}) {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter(&buffer, format).write(small);
        (void)QImage::fromData(bytes, format);
    }
    (void)QImage::fromData(encodeGif(toPalette(small)), "gif");
}

double cpuSeconds(int who)
{
    rusage usage{};
    getrusage(who, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
           + double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

int runChild(const QString &kind, int passes, const QString &listPath, const QString &resultPath)
{
    QFile list(listPath);
    if (!list.open(QIODevice::ReadOnly))
        return 2;
    const QStringList paths = QString::fromUtf8(list.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    configurePictureLimits();
    loadPlugins();
    const bool peakReset = resetPeak();
    const qint64 baseKb = statusKb("VmRSS");

    // Each pass builds the whole grid afresh; the pass of median time is reported, so that
    // a moment of load from elsewhere on the machine does not decide the figure.
    struct Pass {
        double seconds;
        double cpu;
    };
    std::vector<Pass> done;
    long bad = 0;
    for (int pass = 0; pass < std::max(1, passes); ++pass) {
        std::vector<QImage> cells; // the grid keeps every cell
        cells.reserve(size_t(paths.size()));
        const double cpuBefore = cpuSeconds(RUSAGE_SELF);
        QElapsedTimer timer;
        timer.start();
        if (kind == QLatin1String("pavix")) {
            ThumbLoader loader(paths, CellPx);
            for (int i = 0; i < paths.size(); ++i)
                cells.push_back(loader.waitFor(i));
        } else {
            for (const QString &path : paths)
                cells.push_back(QImage(path).scaled(CellPx, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
        }
        done.push_back({double(timer.nsecsElapsed()) / 1e9, cpuSeconds(RUSAGE_SELF) - cpuBefore});
        bad = std::count_if(cells.begin(), cells.end(), [](const QImage &c) { return c.size() != CellPx; });
    }
    std::sort(done.begin(), done.end(), [](const Pass &a, const Pass &b) { return a.seconds < b.seconds; });
    const double seconds = done[done.size() / 2].seconds;
    const double cpu = done[done.size() / 2].cpu;
    const qint64 peakKb = statusKb("VmHWM");

    QFile result(resultPath);
    if (!result.open(QIODevice::WriteOnly))
        return 2;
    result.write(QStringLiteral("%1 %2 %3 %4 %5 %6 %7\n")
                     .arg(paths.size())
                     .arg(seconds, 0, 'f', 6)
                     .arg(cpu, 0, 'f', 6)
                     .arg(baseKb)
                     .arg(peakKb)
                     .arg(bad)
                     .arg(peakReset ? 1 : 0)
                     .toUtf8());
    return 0;
}

struct Figure {
    bool ok = false;
    int images = 0;
    double seconds = 0;
    double cpuSeconds = 0; // user and system time of all threads
    double growthMb = 0;   // peak resident size during the build minus the size before it
    double peakMb = 0;     // the whole process's peak resident size
    int badCells = 0;
    double rate() const { return seconds > 0 ? images / seconds : 0; }
};

// Starts a program; returns its pid or -1.
pid_t spawn(const QByteArray &program, const QList<QByteArray> &args, bool searchPath)
{
    std::vector<char *> argv;
    QByteArray name = program;
    argv.push_back(name.data());
    QList<QByteArray> copies = args;
    for (QByteArray &a : copies)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t pid = -1;
    const int rc = searchPath ? posix_spawnp(&pid, name.constData(), &actions, nullptr, argv.data(), environ)
                              : posix_spawn(&pid, name.constData(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    return rc == 0 ? pid : -1;
}

struct Reaped {
    bool ok = false;
    double peakMb = 0;
    double cpuSeconds = 0;
};

// Waits for children, watching the peak resident size (VmHWM) of each while it runs: the
// kernel's own maximum for a spawned child also counts its parent's size before the exec.
std::vector<Reaped> reapAll(const std::vector<pid_t> &pids)
{
    std::vector<Reaped> reaped(pids.size());
    std::vector<bool> running(pids.size(), true);
    for (size_t left = pids.size(); left > 0;) {
        for (size_t c = 0; c < pids.size(); ++c) {
            if (!running[c])
                continue;
            QFile status(QStringLiteral("/proc/%1/status").arg(pids[c]));
            if (status.open(QIODevice::ReadOnly)) {
                for (const QByteArray &line : status.readAll().split('\n'))
                    if (line.startsWith("VmHWM:"))
                        reaped[c].peakMb = std::max(reaped[c].peakMb,
                                                    line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0);
            }
            int wstatus = 0;
            rusage usage{};
            const pid_t done = wait4(pids[c], &wstatus, WNOHANG, &usage);
            if (done == 0)
                continue;
            running[c] = false;
            --left;
            reaped[c].ok = done == pids[c] && WIFEXITED(wstatus) && WEXITSTATUS(wstatus) == 0;
            reaped[c].cpuSeconds = double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
                                   + double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
        }
        if (left > 0)
            usleep(5000);
    }
    return reaped;
}

Figure measureInChild(const QString &kind, int passes, const QStringList &paths, const QTemporaryDir &scratch)
{
    Figure figure;
    const QString listPath = scratch.filePath(kind + QStringLiteral("-list.txt"));
    const QString resultPath = scratch.filePath(kind + QStringLiteral("-result.txt"));
    QFile::remove(resultPath);
    if (!writeFile(listPath, paths.join(QLatin1Char('\n')).toUtf8()))
        return figure;
    const pid_t pid = spawn(QByteArray("/proc/self/exe"),
                            {QByteArray("--child"), kind.toUtf8(), QByteArray::number(passes), listPath.toUtf8(),
                             resultPath.toUtf8()},
                            false);
    if (pid < 0)
        return figure;
    const Reaped reaped = reapAll({pid}).front();
    QFile result(resultPath);
    if (!reaped.ok || !result.open(QIODevice::ReadOnly))
        return figure;
    const QList<QByteArray> f = result.readAll().trimmed().split(' ');
    if (f.size() < 7)
        return figure;
    figure.images = f[0].toInt();
    figure.seconds = f[1].toDouble();
    figure.cpuSeconds = f[2].toDouble();
    figure.growthMb = double(f[4].toLongLong() - f[3].toLongLong()) / 1024.0;
    figure.peakMb = double(f[4].toLongLong()) / 1024.0;
    figure.badCells = f[5].toInt();
    figure.ok = true;
    if (f[6] != "1")
        std::printf("  (could not reset the peak counter: the growth includes start-up)\n");
    return figure;
}

// vipsthumbnail over groups of files, one process per group, all started together.
Figure measureVips(const QList<QStringList> &groups, const QTemporaryDir &scratch, std::vector<double> *peaksMb)
{
    Figure figure;
    QElapsedTimer timer;
    timer.start();
    std::vector<pid_t> pids;
    for (int g = 0; g < groups.size(); ++g) {
        const QString out = scratch.filePath(QStringLiteral("vips-%1-%2").arg(groups.size()).arg(g));
        QDir().mkpath(out);
        QList<QByteArray> args{QByteArray("-s"), QByteArray("60x60!"), QByteArray("-o"),
                               (out + QStringLiteral("/%s.jpg")).toUtf8()};
        for (const QString &path : groups[g])
            args << path.toUtf8();
        const pid_t pid = spawn(QByteArray("vipsthumbnail"), args, true);
        if (pid < 0)
            return figure;
        pids.push_back(pid);
        figure.images += int(groups[g].size());
    }
    bool allOk = true;
    for (const Reaped &r : reapAll(pids)) {
        allOk = allOk && r.ok;
        peaksMb->push_back(r.peakMb);
        figure.peakMb = std::max(figure.peakMb, r.peakMb);
        figure.cpuSeconds += r.cpuSeconds;
    }
    figure.seconds = double(timer.nsecsElapsed()) / 1e9;
    figure.ok = allOk;
    return figure;
}

void warmPageCache(const QStringList &paths)
{
    for (const QString &path : paths) {
        QFile file(path);
        if (file.open(QIODevice::ReadOnly))
            while (!file.read(1 << 20).isEmpty()) {
            }
    }
}

void printFigure(const char *who, const char *kind, const Figure &f)
{
    if (!f.ok) {
        std::printf("%-28s %-5s failed\n", who, kind);
        return;
    }
    std::printf("%-28s %-5s %4d images  %7.2f s  %7.1f images/s  %6.2f cpu ms/image  peak RSS growth %6.1f MB  "
                "process peak %6.1f MB%s\n",
                who, kind, f.images, f.seconds, f.rate(), 1000.0 * f.cpuSeconds / std::max(1, f.images), f.growthMb,
                f.peakMb, f.badCells ? qPrintable(QStringLiteral("  (%1 cells missing)").arg(f.badCells)) : "");
}

void printGoal(const char *text, double measured, double goal, const char *unit)
{
    std::printf("goal %-58s %8.2f %-9s (goal %s %.2f)  %s\n", text, measured, unit,
                goal < 0 ? "<=" : ">=", std::abs(goal),
                (goal < 0 ? measured <= -goal : measured >= goal) ? "met" : "NOT MET");
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc == 6 && QByteArray(argv[1]) == "--child")
        return runChild(QString::fromLocal8Bit(argv[2]), QByteArray(argv[3]).toInt(), QString::fromLocal8Bit(argv[4]),
                        QString::fromLocal8Bit(argv[5]));

    const QString folder =
        argc > 1 ? QString::fromLocal8Bit(argv[1])
                 : QDir(QCoreApplication::applicationDirPath() + QStringLiteral("/../bench-data")).absolutePath();
    const std::optional<DataSet> data = ensureData(folder);
    if (!data)
        return 1;
    warmPageCache(data->jpegs + data->bmps + data->gifs + data->pngs + data->webps);
    QTemporaryDir scratch;
    if (!scratch.isValid())
        return 1;

    std::printf("machine: %d cores; cell %d x %d pixels; data %s\n", QThread::idealThreadCount(), CellPx.width(),
                CellPx.height(), qPrintable(folder));
    std::printf("files: %d JPEG %dx%d q%d, %d BMP %dx%d, %d GIF %dx%d, %d PNG %dx%d, %d WebP %dx%d q%d\n", JpegCount,
                JpegSize.width(), JpegSize.height(), JpegQuality, BmpCount, BmpSize.width(), BmpSize.height(), GifCount,
                GifSize.width(), GifSize.height(), PngCount, PngSize.width(), PngSize.height(), WebpCount,
                WebpSize.width(), WebpSize.height(), WebpQuality);
    std::fflush(stdout);

    const Figure pavixJpeg = measureInChild(QStringLiteral("pavix"), Passes, data->jpegs, scratch);
    printFigure("pavix cell build", "jpeg", pavixJpeg);
    const Figure pavixBmp = measureInChild(QStringLiteral("pavix"), Passes, data->bmps, scratch);
    printFigure("pavix cell build", "bmp", pavixBmp);
    const Figure pavixGif = measureInChild(QStringLiteral("pavix"), Passes, data->gifs, scratch);
    printFigure("pavix cell build", "gif", pavixGif);
    std::fflush(stdout);
    // The naive path takes about a fifth of a second per photograph: a quarter of them
    // gives its rate well enough and keeps the whole run short.
    const Figure naiveJpeg = measureInChild(QStringLiteral("naive"), 1, data->jpegs.mid(0, NaiveJpegCount), scratch);
    printFigure("naive (full decode+scale)", "jpeg", naiveJpeg);
    const Figure naiveBmp = measureInChild(QStringLiteral("naive"), Passes, data->bmps, scratch);
    printFigure("naive (full decode+scale)", "bmp", naiveBmp);
    const Figure naiveGif = measureInChild(QStringLiteral("naive"), Passes, data->gifs, scratch);
    printFigure("naive (full decode+scale)", "gif", naiveGif);
    std::fflush(stdout);

    const Figure pavixPng = measureInChild(QStringLiteral("pavix"), Passes, data->pngs, scratch);
    printFigure("pavix cell build", "png", pavixPng);
    const Figure pavixWebp = measureInChild(QStringLiteral("pavix"), Passes, data->webps, scratch);
    printFigure("pavix cell build", "webp", pavixWebp);
    std::fflush(stdout);

    // vipsthumbnail over each kind of photograph or tile, as one process and as two.
    struct VipsFigures {
        std::optional<Figure> one;
        std::optional<Figure> two;
    };
    auto measureVipsBoth = [&](const char *kind, const QStringList &paths) {
        VipsFigures figures;
        std::vector<double> peaks;
        figures.one = measureVips({paths}, scratch, &peaks);
        if (figures.one->ok)
            std::printf("%-28s %-5s %4d images  %7.2f s  %7.1f images/s  %6.2f cpu ms/image  process peak %6.1f MB\n",
                        "vipsthumbnail, 1 process", kind, figures.one->images, figures.one->seconds,
                        figures.one->rate(), 1000.0 * figures.one->cpuSeconds / std::max(1, figures.one->images),
                        figures.one->peakMb);
        else
            std::printf("vipsthumbnail, 1 process, %s: failed\n", kind);
        peaks.clear();
        const int half = int(paths.size() / 2);
        figures.two = measureVips({paths.mid(0, half), paths.mid(half)}, scratch, &peaks);
        if (figures.two->ok)
            std::printf(
                "%-28s %-5s %4d images  %7.2f s  %7.1f images/s  %6.2f cpu ms/image  process peaks %.1f + %.1f MB\n",
                "vipsthumbnail, 2 processes", kind, figures.two->images, figures.two->seconds, figures.two->rate(),
                1000.0 * figures.two->cpuSeconds / std::max(1, figures.two->images), peaks.at(0), peaks.at(1));
        else
            std::printf("vipsthumbnail, 2 processes, %s: failed\n", kind);
        std::fflush(stdout);
        return figures;
    };
    VipsFigures vipsJpeg;
    VipsFigures vipsPng;
    VipsFigures vipsWebp;
    if (QStandardPaths::findExecutable(QStringLiteral("vipsthumbnail")).isEmpty()) {
        std::printf("vipsthumbnail is not installed (Debian package libvips-tools): its figures are skipped\n");
    } else {
        vipsJpeg = measureVipsBoth("jpeg", data->jpegs);
        vipsPng = measureVipsBoth("png", data->pngs);
        vipsWebp = measureVipsBoth("webp", data->webps);
    }
    const std::optional<Figure> &vipsOne = vipsJpeg.one;
    const std::optional<Figure> &vipsTwo = vipsJpeg.two;

    std::printf("\n");
    if (pavixJpeg.ok && vipsOne && vipsOne->ok)
        printGoal("pavix jpeg / vipsthumbnail 1 process", pavixJpeg.rate() / vipsOne->rate(), 2.0, "times");
    if (pavixJpeg.ok && vipsTwo && vipsTwo->ok)
        printGoal("pavix jpeg / vipsthumbnail 2 processes", pavixJpeg.rate() / vipsTwo->rate(), 1.0, "times");
    for (const auto &[kind, pavix, vips] :
         {std::tuple{"png", pavixPng, vipsPng}, std::tuple{"webp", pavixWebp, vipsWebp}}) {
        if (pavix.ok && vips.one && vips.one->ok)
            printGoal(qPrintable(QStringLiteral("pavix %1 / vipsthumbnail 1 process").arg(QLatin1String(kind))),
                      pavix.rate() / vips.one->rate(), 1.0, "times");
        if (pavix.ok && vips.two && vips.two->ok)
            printGoal(qPrintable(QStringLiteral("pavix %1 / vipsthumbnail 2 processes").arg(QLatin1String(kind))),
                      pavix.rate() / vips.two->rate(), 1.0, "times");
    }
    if (pavixJpeg.ok && naiveJpeg.ok)
        printGoal("pavix jpeg / naive jpeg", pavixJpeg.rate() / naiveJpeg.rate(), 4.0, "times");
    if (pavixBmp.ok)
        printGoal("pavix bmp rate", pavixBmp.rate(), 500.0, "images/s");
    if (pavixGif.ok)
        printGoal("pavix gif rate", pavixGif.rate(), 450.0, "images/s");
    for (const auto &[kind, f] : {std::pair{"jpeg", pavixJpeg}, std::pair{"bmp", pavixBmp}, std::pair{"gif", pavixGif},
                                  std::pair{"png", pavixPng}, std::pair{"webp", pavixWebp}}) {
        if (f.ok)
            printGoal(qPrintable(QStringLiteral("pavix %1 build peak RSS growth").arg(QLatin1String(kind))), f.growthMb,
                      -60.0, "MB");
    }
    return 0;
}
