#pragma once
// The pictures the thumbnail benchmarks read: a folder of photo-like pictures generated
// once (200 JPEGs of 4000 x 3000 at quality 90, 200 BMPs of 1024 x 768, 100 GIFs of
// 640 x 480, 100 PNG tiles of 512 x 512, 100 WebPs of 4000 x 3000 at quality 80) and kept
// beside the bench folder, and the generators that make them.

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QThread>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <thread>
#include <unordered_map>
#include <vector>

namespace pavix::benchdata {

inline constexpr int JpegCount = 200;
inline constexpr QSize JpegSize(4000, 3000);
inline constexpr int JpegQuality = 90;
inline constexpr int BmpCount = 200;
inline constexpr QSize BmpSize(1024, 768);
inline constexpr int GifCount = 100;
inline constexpr QSize GifSize(640, 480);
inline constexpr int PngCount = 100;
inline constexpr QSize PngSize(512, 512);
inline constexpr int WebpCount = 100;
inline constexpr QSize WebpSize(4000, 3000);
inline constexpr int WebpQuality = 80;
// Written last, so a folder whose generation was interrupted is generated again.
inline constexpr const char *DataStamp = "complete-v2";

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
inline QImage photoLike(QSize size, std::uint32_t seed)
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
inline QByteArray encodeGif(const QImage &indexed)
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
inline QImage toPalette(const QImage &rgb)
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

inline bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

inline bool writePicture(const QString &path, const QImage &image, const char *format, int quality = -1)
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
    QStringList pngs;
    QStringList webps;
};

inline QStringList numberedPaths(const QString &folder, const char *prefix, int count, const char *suffix)
{
    QStringList paths;
    for (int i = 0; i < count; ++i)
        paths << QStringLiteral("%1/%2%3.%4")
                     .arg(folder, QLatin1String(prefix))
                     .arg(i, 3, 10, QLatin1Char('0'))
                     .arg(QLatin1String(suffix));
    return paths;
}

// Checks that the GIF writer's output reads back as the very picture it was given.
inline bool gifWriterRoundTrips()
{
    const QImage indexed = toPalette(photoLike(QSize(173, 91), 7));
    const QImage back = QImage::fromData(encodeGif(indexed), "gif").convertToFormat(QImage::Format_RGB32);
    return back.size() == indexed.size() && back == indexed.convertToFormat(QImage::Format_RGB32);
}

inline std::optional<DataSet> ensureData(const QString &folder)
{
    DataSet set{numberedPaths(folder, "photo", JpegCount, "jpg"), numberedPaths(folder, "bitmap", BmpCount, "bmp"),
                numberedPaths(folder, "graphic", GifCount, "gif"), numberedPaths(folder, "tile", PngCount, "png"),
                numberedPaths(folder, "saved", WebpCount, "webp")};
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
        int kind; // 0 JPEG, 1 BMP, 2 GIF, 3 PNG, 4 WebP
        int seed;
    };
    std::vector<Job> jobs;
    for (int i = 0; i < JpegCount; ++i)
        jobs.push_back({set.jpegs[i], 0, i});
    for (int i = 0; i < BmpCount; ++i)
        jobs.push_back({set.bmps[i], 1, 1000 + i});
    for (int i = 0; i < GifCount; ++i)
        jobs.push_back({set.gifs[i], 2, 2000 + i});
    for (int i = 0; i < PngCount; ++i)
        jobs.push_back({set.pngs[i], 3, 3000 + i});
    for (int i = 0; i < WebpCount; ++i)
        jobs.push_back({set.webps[i], 4, 4000 + i});
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
            else if (job.kind == 2)
                ok = writeFile(job.path, encodeGif(toPalette(photoLike(GifSize, uint32_t(job.seed)))));
            else if (job.kind == 3)
                ok = writePicture(job.path, photoLike(PngSize, uint32_t(job.seed)), "png");
            else
                ok = writePicture(job.path, photoLike(WebpSize, uint32_t(job.seed)), "webp", WebpQuality);
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

} // namespace pavix::benchdata
