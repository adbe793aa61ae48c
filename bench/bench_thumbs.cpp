// Thumbnail build timings. Generates a folder of photo-like pictures once (200 JPEGs of
// 4000 x 3000 at quality 90, 200 BMPs of 1024 x 768, 100 GIFs of 640 x 480) and measures,
// each in a child process of its own so that each has its own peak memory:
//   - Pavix's cell build (ThumbLoader, cells taken in order as the grid places them),
//     three passes, the median one reported,
//   - the naive build (full decode, then a smooth scale, one thread; on the first 50 JPEGs),
//   - vipsthumbnail over the same JPEGs, as one process and as two processes side by side.
// Prints one line per figure, then the figures against the goals.
//
// Usage: bench_thumbs [data folder]   (default: bench-data beside the bench folder)

#include "platform/pictureservice.h"
#include "platform/thumbloader.h"

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
#include <unordered_map>
#include <vector>

extern char **environ;

namespace {

using pavix::platform::configurePictureLimits;
using pavix::platform::ThumbLoader;

constexpr int JpegCount = 200;
constexpr QSize JpegSize(4000, 3000);
constexpr int JpegQuality = 90;
constexpr int BmpCount = 200;
constexpr QSize BmpSize(1024, 768);
constexpr int GifCount = 100;
constexpr QSize GifSize(640, 480);
constexpr QSize CellPx(60, 60);
constexpr int NaiveJpegCount = 50;
// Passes over the files for every figure but the naive JPEG one; the median pass counts.
constexpr int Passes = 3;
// Written last, so a folder whose generation was interrupted is generated again.
constexpr const char *DataStamp = "complete-v1";

// ---------------------------------------------------------------------------------------
// Picture generation

struct Rng {
    std::uint64_t state;
    std::uint32_t next()
    {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        return static_cast<std::uint32_t>(state >> 16);
    }
    float uniform(float lo, float hi) { return lo + (hi - lo) * float(next() & 0xffffff) / float(0x1000000); }
};

// Smooth gradients, a few soft blobs of colour, a mid-frequency texture and grain: close
// enough to a photograph for a JPEG encoder to give photograph-like files.
QImage photoLike(QSize size, std::uint32_t seed)
{
    Rng rng{0x9e3779b97f4a7c15ull * (seed + 1)};
    const int w = size.width();
    const int h = size.height();
    float from[3];
    float to[3];
    for (int c = 0; c < 3; ++c) {
        from[c] = rng.uniform(20, 235);
        to[c] = rng.uniform(20, 235);
    }
    const float angle = rng.uniform(0, 6.2832f);
    std::vector<float> gx(static_cast<size_t>(w)), gy(static_cast<size_t>(h));
    for (int x = 0; x < w; ++x)
        gx[size_t(x)] = 0.5f * std::cos(angle) * (float(x) / float(w) - 0.5f);
    for (int y = 0; y < h; ++y)
        gy[size_t(y)] = 0.5f * std::sin(angle) * (float(y) / float(h) - 0.5f);

    constexpr int Blobs = 3;
    std::vector<float> bx[Blobs], by[Blobs];
    float blobColour[Blobs][3];
    for (int b = 0; b < Blobs; ++b) {
        const float cx = rng.uniform(0, float(w));
        const float cy = rng.uniform(0, float(h));
        const float r = rng.uniform(0.1f, 0.4f) * float(w);
        bx[b].resize(size_t(w));
        by[b].resize(size_t(h));
        for (int x = 0; x < w; ++x)
            bx[b][size_t(x)] = std::exp(-((x - cx) / r) * ((x - cx) / r));
        for (int y = 0; y < h; ++y)
            by[b][size_t(y)] = std::exp(-((y - cy) / r) * ((y - cy) / r));
        for (int c = 0; c < 3; ++c)
            blobColour[b][c] = rng.uniform(-90, 90);
    }
    const float fx = rng.uniform(0.02f, 0.08f);
    const float fy = rng.uniform(0.02f, 0.08f);
    std::vector<float> tx(static_cast<size_t>(w)), ty(static_cast<size_t>(h));
    for (int x = 0; x < w; ++x)
        tx[size_t(x)] = std::sin(float(x) * fx);
    for (int y = 0; y < h; ++y)
        ty[size_t(y)] = 7.0f * std::sin(float(y) * fy);

    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const float t = std::clamp(0.5f + gx[size_t(x)] + gy[size_t(y)], 0.0f, 1.0f);
            const std::uint32_t noise = rng.next();
            const float grain = float(int(noise & 15) - 8) + tx[size_t(x)] * ty[size_t(y)];
            int rgb[3];
            for (int c = 0; c < 3; ++c) {
                float v = from[c] + (to[c] - from[c]) * t + grain + float(int((noise >> (4 + 3 * c)) & 3) - 2);
                for (int b = 0; b < Blobs; ++b)
                    v += blobColour[b][c] * bx[b][size_t(x)] * by[b][size_t(y)];
                rgb[c] = std::clamp(int(v), 0, 255);
            }
            line[x] = qRgb(rgb[0], rgb[1], rgb[2]);
        }
    }
    return image;
}

// Qt reads GIF but cannot write it: a small GIF89a writer (one frame, 256-colour global
// table, LZW with the usual growing code size and a clear code when the table is full).
QByteArray encodeGif(const QImage &indexed)
{
    QByteArray out;
    auto put16 = [&out](int v) {
        out.append(char(v & 0xff));
        out.append(char((v >> 8) & 0xff));
    };
    out.append("GIF89a");
    put16(indexed.width());
    put16(indexed.height());
    out.append(char(0xf7)); // global table of 256 entries, 8 bits of colour resolution
    out.append(char(0));
    out.append(char(0));
    const QList<QRgb> table = indexed.colorTable();
    for (int i = 0; i < 256; ++i) {
        const QRgb c = i < table.size() ? table[i] : qRgb(0, 0, 0);
        out.append(char(qRed(c)));
        out.append(char(qGreen(c)));
        out.append(char(qBlue(c)));
    }
    out.append(char(0x2c));
    put16(0);
    put16(0);
    put16(indexed.width());
    put16(indexed.height());
    out.append(char(0));
    out.append(char(8)); // minimum code size

    QByteArray data;
    std::uint32_t acc = 0;
    int bits = 0;
    auto putCode = [&](int code, int size) {
        acc |= std::uint32_t(code) << bits;
        bits += size;
        while (bits >= 8) {
            data.append(char(acc & 0xff));
            acc >>= 8;
            bits -= 8;
        }
    };
    constexpr int Clear = 256;
    constexpr int End = 257;
    std::unordered_map<std::uint32_t, int> dictionary;
    dictionary.reserve(8192);
    int codeSize = 9;
    int lastCode = End;
    putCode(Clear, codeSize);
    int prefix = -1;
    for (int y = 0; y < indexed.height(); ++y) {
        const uchar *line = indexed.constScanLine(y);
        for (int x = 0; x < indexed.width(); ++x) {
            const int k = line[x];
            if (prefix < 0) {
                prefix = k;
                continue;
            }
            const std::uint32_t key = (std::uint32_t(prefix) << 8) | std::uint32_t(k);
            const auto found = dictionary.find(key);
            if (found != dictionary.end()) {
                prefix = found->second;
                continue;
            }
            putCode(prefix, codeSize);
            dictionary.emplace(key, ++lastCode);
            if (lastCode >= (1 << codeSize))
                ++codeSize;
            if (lastCode == 4095) {
                putCode(Clear, codeSize);
                dictionary.clear();
                codeSize = 9;
                lastCode = End;
            }
            prefix = k;
        }
    }
    putCode(prefix, codeSize);
    putCode(End, codeSize);
    if (bits > 0)
        data.append(char(acc & 0xff));
    for (qsizetype at = 0; at < data.size(); at += 255) {
        const qsizetype n = std::min<qsizetype>(255, data.size() - at);
        out.append(char(n));
        out.append(data.constData() + at, n);
    }
    out.append(char(0));
    out.append(char(0x3b));
    return out;
}

// A 252-colour palette (6 x 7 x 6 levels) and the picture mapped onto it.
QImage toPalette(const QImage &rgb)
{
    QList<QRgb> table;
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 7; ++g)
            for (int b = 0; b < 6; ++b)
                table.append(qRgb(r * 255 / 5, g * 255 / 6, b * 255 / 5));
    QImage indexed(rgb.size(), QImage::Format_Indexed8);
    indexed.setColorTable(table);
    for (int y = 0; y < rgb.height(); ++y) {
        const auto *src = reinterpret_cast<const QRgb *>(rgb.constScanLine(y));
        uchar *dst = indexed.scanLine(y);
        for (int x = 0; x < rgb.width(); ++x) {
            const int r = (qRed(src[x]) * 5 + 127) / 255;
            const int g = (qGreen(src[x]) * 6 + 127) / 255;
            const int b = (qBlue(src[x]) * 5 + 127) / 255;
            dst[x] = uchar(r * 42 + g * 6 + b);
        }
    }
    return indexed;
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

bool writePicture(const QString &path, const QImage &image, const char *format, int quality = -1)
{
    QImageWriter writer(path, format);
    if (quality >= 0)
        writer.setQuality(quality);
    return writer.write(image);
}

struct DataSet {
    QStringList jpegs;
    QStringList bmps;
    QStringList gifs;
};

QStringList numberedPaths(const QString &folder, const char *prefix, int count, const char *suffix)
{
    QStringList paths;
    for (int i = 0; i < count; ++i)
        paths << QStringLiteral("%1/%2%3.%4").arg(folder, QLatin1String(prefix)).arg(i, 3, 10, QLatin1Char('0')).arg(QLatin1String(suffix));
    return paths;
}

// Checks that the GIF writer's output reads back as the very picture it was given.
bool gifWriterRoundTrips()
{
    const QImage indexed = toPalette(photoLike(QSize(173, 91), 7));
    const QImage back = QImage::fromData(encodeGif(indexed), "gif").convertToFormat(QImage::Format_RGB32);
    return back.size() == indexed.size() && back == indexed.convertToFormat(QImage::Format_RGB32);
}

std::optional<DataSet> ensureData(const QString &folder)
{
    DataSet set{numberedPaths(folder, "photo", JpegCount, "jpg"), numberedPaths(folder, "bitmap", BmpCount, "bmp"),
                numberedPaths(folder, "graphic", GifCount, "gif")};
    if (QFileInfo::exists(folder + QLatin1Char('/') + QLatin1String(DataStamp)))
        return set;
    if (!gifWriterRoundTrips()) {
        std::fprintf(stderr, "the bench's GIF writer does not read back; no data generated\n");
        return std::nullopt;
    }
    QDir().mkpath(folder);
    std::printf("generating the picture folder in %s (once) ...\n", qPrintable(folder));
    std::fflush(stdout);
    QElapsedTimer timer;
    timer.start();
    struct Job {
        QString path;
        int kind; // 0 JPEG, 1 BMP, 2 GIF
        int seed;
    };
    std::vector<Job> jobs;
    for (int i = 0; i < JpegCount; ++i)
        jobs.push_back({set.jpegs[i], 0, i});
    for (int i = 0; i < BmpCount; ++i)
        jobs.push_back({set.bmps[i], 1, 1000 + i});
    for (int i = 0; i < GifCount; ++i)
        jobs.push_back({set.gifs[i], 2, 2000 + i});
    std::atomic<size_t> next{0};
    std::atomic<bool> failed{false};
    auto worker = [&] {
        for (size_t j = next++; j < jobs.size() && !failed; j = next++) {
            const Job &job = jobs[j];
            bool ok = false;
            if (job.kind == 0)
                ok = writePicture(job.path, photoLike(JpegSize, uint32_t(job.seed)), "jpeg", JpegQuality);
            else if (job.kind == 1)
                ok = writePicture(job.path, photoLike(BmpSize, uint32_t(job.seed)), "bmp");
            else
                ok = writeFile(job.path, encodeGif(toPalette(photoLike(GifSize, uint32_t(job.seed)))));
            if (!ok) {
                std::fprintf(stderr, "cannot write %s\n", qPrintable(job.path));
                failed = true;
            }
        }
    };
    std::vector<std::thread> threads;
    for (int t = 0; t < std::max(1, QThread::idealThreadCount()); ++t)
        threads.emplace_back(worker);
    for (std::thread &t : threads)
        t.join();
    if (failed)
        return std::nullopt;
    writeFile(folder + QLatin1Char('/') + QLatin1String(DataStamp), QByteArray());
    std::printf("generated in %.1f s\n", double(timer.elapsed()) / 1000.0);
    return set;
}

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
    for (const char *format : {"jpeg", "bmp"}) {
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
    double growthMb = 0; // peak resident size during the build minus the size before it
    double peakMb = 0;   // the whole process's peak resident size
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
                        reaped[c].peakMb = std::max(reaped[c].peakMb, line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0);
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
        QList<QByteArray> args{QByteArray("-s"), QByteArray("60x60!"), QByteArray("-o"), (out + QStringLiteral("/%s.jpg")).toUtf8()};
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
                who, kind, f.images, f.seconds, f.rate(), 1000.0 * f.cpuSeconds / std::max(1, f.images), f.growthMb, f.peakMb,
                f.badCells ? qPrintable(QStringLiteral("  (%1 cells missing)").arg(f.badCells)) : "");
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

    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1])
                                    : QDir(QCoreApplication::applicationDirPath() + QStringLiteral("/../bench-data")).absolutePath();
    const std::optional<DataSet> data = ensureData(folder);
    if (!data)
        return 1;
    warmPageCache(data->jpegs + data->bmps + data->gifs);
    QTemporaryDir scratch;
    if (!scratch.isValid())
        return 1;

    std::printf("machine: %d cores; cell %d x %d pixels; data %s\n", QThread::idealThreadCount(), CellPx.width(),
                CellPx.height(), qPrintable(folder));
    std::printf("files: %d JPEG %dx%d q%d, %d BMP %dx%d, %d GIF %dx%d\n", JpegCount, JpegSize.width(), JpegSize.height(),
                JpegQuality, BmpCount, BmpSize.width(), BmpSize.height(), GifCount, GifSize.width(), GifSize.height());
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

    std::optional<Figure> vipsOne;
    std::optional<Figure> vipsTwo;
    if (QStandardPaths::findExecutable(QStringLiteral("vipsthumbnail")).isEmpty()) {
        std::printf("vipsthumbnail is not installed (Debian package libvips-tools): its figures are skipped\n");
    } else {
        std::vector<double> peaks;
        vipsOne = measureVips({data->jpegs}, scratch, &peaks);
        if (vipsOne->ok)
            std::printf("%-28s %-5s %4d images  %7.2f s  %7.1f images/s  %6.2f cpu ms/image  process peak %6.1f MB\n",
                        "vipsthumbnail, 1 process", "jpeg", vipsOne->images, vipsOne->seconds, vipsOne->rate(),
                        1000.0 * vipsOne->cpuSeconds / std::max(1, vipsOne->images), vipsOne->peakMb);
        else
            std::printf("vipsthumbnail, 1 process: failed\n");
        peaks.clear();
        const int half = int(data->jpegs.size() / 2);
        vipsTwo = measureVips({data->jpegs.mid(0, half), data->jpegs.mid(half)}, scratch, &peaks);
        if (vipsTwo->ok)
            std::printf("%-28s %-5s %4d images  %7.2f s  %7.1f images/s  %6.2f cpu ms/image  process peaks %.1f + %.1f MB\n",
                        "vipsthumbnail, 2 processes", "jpeg", vipsTwo->images, vipsTwo->seconds, vipsTwo->rate(),
                        1000.0 * vipsTwo->cpuSeconds / std::max(1, vipsTwo->images), peaks.at(0), peaks.at(1));
        else
            std::printf("vipsthumbnail, 2 processes: failed\n");
    }

    std::printf("\n");
    if (pavixJpeg.ok && vipsOne && vipsOne->ok)
        printGoal("pavix jpeg / vipsthumbnail 1 process", pavixJpeg.rate() / vipsOne->rate(), 2.0, "times");
    if (pavixJpeg.ok && vipsTwo && vipsTwo->ok)
        printGoal("pavix jpeg / vipsthumbnail 2 processes", pavixJpeg.rate() / vipsTwo->rate(), 1.0, "times");
    if (pavixJpeg.ok && naiveJpeg.ok)
        printGoal("pavix jpeg / naive jpeg", pavixJpeg.rate() / naiveJpeg.rate(), 4.0, "times");
    if (pavixBmp.ok)
        printGoal("pavix bmp rate", pavixBmp.rate(), 500.0, "images/s");
    if (pavixGif.ok)
        printGoal("pavix gif rate", pavixGif.rate(), 450.0, "images/s");
    for (const auto &[kind, f] : {std::pair{"jpeg", pavixJpeg}, std::pair{"bmp", pavixBmp}, std::pair{"gif", pavixGif}}) {
        if (f.ok)
            printGoal(qPrintable(QStringLiteral("pavix %1 build peak RSS growth").arg(QLatin1String(kind))), f.growthMb,
                      -60.0, "MB");
    }
    return 0;
}
