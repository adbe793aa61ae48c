// Times covering a 3840 x 2160 surface with copies of a tile: one tiled fill against the
// column-by-column copies, with a plain fill of the same surface as the memory floor.
// Prints each time as a ratio to the plain fill at the end of the run.
#include "preview/tileplan.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPixmap>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

using pavix::preview::paintTiles;
using pavix::preview::paintTilesPerCopy;

namespace {

const QSize SurfaceSize(3840, 2160);

struct TileCase {
    std::string name;
    QPixmap tile;
    bool transparent;
};

// A tile with detail in every pixel; the transparent one has alpha running across it, so
// every pixel must be blended.
QPixmap makeTile(QSize size, bool transparent)
{
    QImage image(size, transparent ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixelColor(x, y, QColor((x * 7) % 256, (y * 5) % 256, ((x ^ y) * 3) % 256,
                                             transparent ? (x + y) % 256 : 255));
    return QPixmap::fromImage(image);
}

class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        for (const Run &run : runs)
            if (run.run_type == Run::RT_Iteration && !run.error_occurred)
                m_realTime[run.benchmark_name()] = run.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
    double time(const std::string &name) const
    {
        const auto it = m_realTime.find(name);
        return it == m_realTime.end() ? 0.0 : it->second;
    }

private:
    std::map<std::string, double> m_realTime;
};

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    QImage surface(SurfaceSize, QImage::Format_ARGB32_Premultiplied);
    surface.fill(Qt::white);
    const QRect whole(QPoint(0, 0), SurfaceSize);

    std::vector<TileCase> cases;
    for (const QSize size : {QSize(16, 16), QSize(64, 64), QSize(1024, 768)})
        for (const bool transparent : {false, true})
            cases.push_back({std::to_string(size.width()) + "x" + std::to_string(size.height())
                                 + (transparent ? "/alpha" : "/opaque"),
                             makeTile(size, transparent), transparent});

    benchmark::RegisterBenchmark("plain_fill", [&](benchmark::State &state) {
        for (auto _ : state) {
            QPainter painter(&surface);
            painter.fillRect(whole, QColor(40, 90, 160));
            painter.end();
            benchmark::DoNotOptimize(surface.constBits());
        }
    })->UseRealTime()->Unit(benchmark::kMillisecond);
    for (const TileCase &c : cases) {
        benchmark::RegisterBenchmark(("tiled/" + c.name).c_str(), [&](benchmark::State &state) {
            for (auto _ : state) {
                QPainter painter(&surface);
                paintTiles(painter, c.tile, whole, whole);
                painter.end();
                benchmark::DoNotOptimize(surface.constBits());
            }
        })->UseRealTime()->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("per_copy/" + c.name).c_str(), [&](benchmark::State &state) {
            for (auto _ : state) {
                QPainter painter(&surface);
                paintTilesPerCopy(painter, c.tile, whole, whole);
                painter.end();
                benchmark::DoNotOptimize(surface.constBits());
            }
        })->UseRealTime()->Unit(benchmark::kMillisecond);
    }

    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);

    const double floor = reporter.time("plain_fill");
    if (floor <= 0.0)
        return 0;
    std::printf("\nTime over the plain fill of %dx%d (goal for the tiled fill: 1.5x opaque, "
                "2.5x with alpha)\n",
                SurfaceSize.width(), SurfaceSize.height());
    std::printf("%-18s %10s %10s %6s\n", "tile", "tiled", "per copy", "goal");
    for (const TileCase &c : cases) {
        const double tiled = reporter.time("tiled/" + c.name) / floor;
        const double perCopy = reporter.time("per_copy/" + c.name) / floor;
        const double goal = c.transparent ? 2.5 : 1.5;
        if (tiled <= 0.0 && perCopy <= 0.0)
            continue; // filtered out of this run
        std::printf("%-18s %9.2fx %9.2fx %6s\n", c.name.c_str(), tiled, perCopy,
                    tiled > 0.0 && tiled <= goal ? "met" : "MISSED");
    }
    return 0;
}
