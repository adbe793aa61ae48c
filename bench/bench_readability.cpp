// Times the two judgements made on the tiles:
//   - one contrast figure for the swatch, on a 3840 x 2160 tiled window with a 120-point
//     sample (the first text, and a line as wide as the window), over a small tile, a
//     camera picture larger than the window and a window-sized noise picture;
//   - the seam report against decoding the same picture through the picture service, as
//     the preview update does before it writes the report.
// Each figure is the median of many runs (the machine is shared); the goals are printed
// beside them: a contrast figure within 2 ms, a seam report within 10 % of the decode.
//
// Usage: bench_readability

#include "platform/pictureservice.h"
#include "preview/seams.h"
#include "toolbox/readability.h"

#include <QElapsedTimer>
#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <random>
#include <vector>

namespace {

const QSize Surface(3840, 2160);
constexpr int SamplePoints = 120;
// Where the tiled window puts the sample: 400 twips from the left and the top, at 96 dpi.
constexpr int SampleLeftPx = 27;
constexpr int SampleTopPx = 27;

// Median milliseconds of `runs` calls of `work`, after one call to warm up.
double medianMs(int runs, const std::function<void()> &work)
{
    work();
    std::vector<double> times;
    QElapsedTimer timer;
    for (int i = 0; i < runs; ++i) {
        timer.start();
        work();
        times.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

QImage noise(QSize size)
{
    std::mt19937 random(11);
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < size.width(); ++x)
            line[x] = 0xff000000u | (random() & 0xffffffu);
    }
    return image;
}

QImage decoded(const QString &path)
{
    const auto picture = pavix::platform::loadPicture(path);
    if (!picture) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
        return QImage();
    }
    return *picture;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    pavix::platform::configurePictureLimits();
    const QString corpus = QStringLiteral(PAVIX_CORPUS_DIR);

    // The sample's text box as the tiled window lays it out.
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSize(SamplePoints);
    const QFontMetrics metrics(font);
    const int lineHeight = metrics.height() + 6;
    const QRect firstText(SampleLeftPx, SampleTopPx, metrics.horizontalAdvance(QStringLiteral("Sample Text")) + 6,
                          lineHeight);
    const QRect wholeLine(SampleLeftPx, SampleTopPx, Surface.width() - SampleLeftPx, lineHeight);

    struct Tile {
        const char *name;
        QImage image;
    };
    const std::vector<Tile> tiles = {
        {"hopper 128x128", decoded(corpus + QStringLiteral("/good/hopper.bmp"))},
        {"photo 4032x3024", decoded(corpus + QStringLiteral("/good/large_4032x3024.jpg"))},
        {"noise 3840x2160", noise(Surface)},
    };

    std::printf("Contrast figure, %dx%d window, %d-point sample (%dx%d px text, %dx%d px line); goal 2 ms\n",
                Surface.width(), Surface.height(), SamplePoints, firstText.width(), firstText.height(),
                wholeLine.width(), wholeLine.height());
    std::printf("%-18s %14s %14s\n", "tile", "first text", "whole line");
    for (const Tile &tile : tiles) {
        if (tile.image.isNull())
            continue;
        double ms[2] = {0, 0};
        int i = 0;
        for (const QRect &area : {firstText, wholeLine}) {
            ms[i++] = medianMs(50, [&] {
                const auto figures = pavix::toolbox::measureContrast(tile.image, Qt::white, area, QColor(40, 40, 40));
                if (!figures)
                    std::abort();
            });
        }
        std::printf("%-18s %11.3f ms %11.3f ms %s\n", tile.name, ms[0], ms[1],
                    std::max(ms[0], ms[1]) <= 2.0 ? "met" : "MISSED");
    }

    // Seam report against the decode it follows.
    QTemporaryDir scratch;
    const QString bitmap = scratch.filePath(QStringLiteral("noise.bmp"));
    tiles[2].image.save(bitmap);
    struct Picture {
        const char *name;
        QString path;
    };
    const std::vector<Picture> pictures = {
        {"jpeg 4032x3024", corpus + QStringLiteral("/good/large_4032x3024.jpg")},
        {"bmp 3840x2160", bitmap},
        {"jpeg 227x149", corpus + QStringLiteral("/good/testorig.jpg")},
        {"bmp 128x128", corpus + QStringLiteral("/good/hopper.bmp")},
        {"gif 256x256", corpus + QStringLiteral("/good/hopper.gif")},
    };
    std::printf("\nSeam report against decoding the picture; goal: 10 %% of the decode\n");
    std::printf("%-16s %12s %12s %8s\n", "picture", "decode", "seams", "share");
    for (const Picture &p : pictures) {
        QImage picture;
        const double decode = medianMs(15, [&] { picture = decoded(p.path); });
        if (picture.isNull())
            continue;
        volatile double sink = 0;
        const double seams = medianMs(101, [&] { sink = sink + pavix::preview::seamRatio(picture, Qt::white); });
        std::printf("%-16s %9.3f ms %9.3f ms %7.1f%% %s\n", p.name, decode, seams, 100 * seams / decode,
                    seams <= 0.1 * decode ? "met" : "MISSED");
    }
    return 0;
}
