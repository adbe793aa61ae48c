#include "toolbox/readability.h"

#include <QCoreApplication>

#include <algorithm>

#include <array>
#include <cmath>
#include <cstdint>
#include <vector>

namespace pavix::toolbox {

namespace {

// Weights of the three linear channels in the luminance.
constexpr double RedWeight = 0.2126;
constexpr double GreenWeight = 0.7152;
constexpr double BlueWeight = 0.0722;

// Luminances are sorted into bins of 1/65535; the three channels' shares are each rounded
// to a bin, so white can reach one bin past 65535.
constexpr int LargestKey = 65535;
constexpr int KeyCount = LargestKey + 2;

double linearChannel(int value)
{
    const double c = value / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

// The linear value of each 8-bit sRGB channel value.
const std::array<double, 256> &linearTable()
{
    static const std::array<double, 256> table = [] {
        std::array<double, 256> values{};
        for (int v = 0; v < 256; ++v)
            values[static_cast<size_t>(v)] = linearChannel(v);
        return values;
    }();
    return table;
}

// Per channel value, its share of the luminance already scaled to the bins.
struct KeyTables {
    std::array<std::uint16_t, 256> red{};
    std::array<std::uint16_t, 256> green{};
    std::array<std::uint16_t, 256> blue{};

    KeyTables()
    {
        for (int v = 0; v < 256; ++v) {
            const double linear = linearChannel(v) * LargestKey;
            red[static_cast<size_t>(v)] = static_cast<std::uint16_t>(std::lround(RedWeight * linear));
            green[static_cast<size_t>(v)] = static_cast<std::uint16_t>(std::lround(GreenWeight * linear));
            blue[static_cast<size_t>(v)] = static_cast<std::uint16_t>(std::lround(BlueWeight * linear));
        }
    }

    int key(QRgb colour) const
    {
        return red[static_cast<size_t>(qRed(colour))] + green[static_cast<size_t>(qGreen(colour))]
               + blue[static_cast<size_t>(qBlue(colour))];
    }
};

const KeyTables &keyTables()
{
    static const KeyTables tables;
    return tables;
}

// A stretch of consecutive tile columns (or rows) and how many times the measured area
// covers each of them.
struct Run {
    int first = 0;
    int count = 0;
    std::uint64_t times = 0;
};

// The tile indices (period `period`) that the surface interval [start, start + length)
// covers, as at most four runs. Every index is covered length / period times, and the
// length % period indices from start (wrapping) once more.
std::vector<Run> coveredRuns(int start, int length, int period)
{
    std::vector<Run> runs;
    auto addWrapped = [&](int from, int count, std::uint64_t times) {
        if (count <= 0 || times == 0)
            return;
        const int firstPart = std::min(count, period - from);
        runs.push_back({from, firstPart, times});
        if (count > firstPart)
            runs.push_back({0, count - firstPart, times});
    };
    const int from = ((start % period) + period) % period;
    const std::uint64_t whole = static_cast<std::uint64_t>(length / period);
    const int extra = length % period;
    addWrapped(from, extra, whole + 1);
    addWrapped((from + extra) % period, period - extra, whole);
    return runs;
}

// Tiles in these formats are read as they are; others a row at a time after conversion.
bool readsDirectly(QImage::Format format)
{
    return format == QImage::Format_RGB32 || format == QImage::Format_ARGB32
           || format == QImage::Format_ARGB32_Premultiplied;
}

// One luminance bin: how many pixels fell in it and the colour of the last one. Both sit
// side by side, so counting a pixel touches one place in memory.
struct Bin {
    std::uint32_t weight = 0;
    QRgb colour = 0;
};

// Largest area measured whole: the counts are 32-bit.
constexpr std::uint64_t LargestArea = 0xffffffffu;

} // namespace

double relativeLuminance(QRgb colour)
{
    const std::array<double, 256> &linear = linearTable();
    return RedWeight * linear[static_cast<size_t>(qRed(colour))]
           + GreenWeight * linear[static_cast<size_t>(qGreen(colour))]
           + BlueWeight * linear[static_cast<size_t>(qBlue(colour))];
}

double contrastRatio(double luminanceA, double luminanceB)
{
    const double lighter = std::max(luminanceA, luminanceB);
    const double darker = std::min(luminanceA, luminanceB);
    return (lighter + 0.05) / (darker + 0.05);
}

double contrastRatio(QRgb a, QRgb b)
{
    return contrastRatio(relativeLuminance(a), relativeLuminance(b));
}

ContrastGrade contrastGrade(double ratio, double pointSize)
{
    const bool large = pointSize >= LargeTextPoints;
    if (ratio >= (large ? 4.5 : 7.0))
        return ContrastGrade::AAA;
    if (ratio >= (large ? 3.0 : 4.5))
        return ContrastGrade::AA;
    return ContrastGrade::Low;
}

QRgb overBackground(QRgb pixel, QRgb background)
{
    const int alpha = qAlpha(pixel);
    if (alpha == 255)
        return pixel;
    const int rest = 255 - alpha;
    auto channel = [rest](int source, int under) { return std::min(255, source + (under * rest + 127) / 255); };
    return qRgb(channel(qRed(pixel), qRed(background)), channel(qGreen(pixel), qGreen(background)),
                channel(qBlue(pixel), qBlue(background)));
}

std::optional<ContrastFigures> measureContrast(const QImage &tile, QColor background, const QRect &area, QColor text)
{
    if (tile.isNull() || tile.width() <= 0 || tile.height() <= 0 || area.isEmpty())
        return std::nullopt;
    const std::uint64_t areaWidth = static_cast<std::uint64_t>(area.width());
    const int rowsMeasured = static_cast<int>(std::min<std::uint64_t>(static_cast<std::uint64_t>(area.height()),
                                                                      LargestArea / areaWidth));
    const KeyTables &tables = keyTables();
    const QRgb under = background.rgb();
    const std::vector<Run> columns = coveredRuns(area.left(), area.width(), tile.width());
    const std::vector<Run> rows = coveredRuns(area.top(), rowsMeasured, tile.height());

    std::vector<Bin> bins(KeyCount);
    Bin *const histogram = bins.data();
    auto count = [&](QRgb premultiplied, std::uint32_t times) {
        const QRgb shown = qAlpha(premultiplied) == 255 ? premultiplied : overBackground(premultiplied, under);
        Bin &bin = histogram[tables.key(shown)];
        bin.weight += times;
        bin.colour = shown;
    };

    const QImage::Format format = tile.format();
    if (format == QImage::Format_Indexed8 && !tile.colorTable().isEmpty()) {
        // A palette picture: each index stands for one colour.
        const QList<QRgb> table = tile.colorTable();
        std::array<QRgb, 256> palette{};
        for (size_t i = 0; i < palette.size(); ++i)
            palette[i] = qPremultiply(i < static_cast<size_t>(table.size()) ? table[static_cast<qsizetype>(i)]
                                                                            : qRgba(0, 0, 0, 255));
        for (const Run &rowRun : rows)
            for (int y = rowRun.first; y < rowRun.first + rowRun.count; ++y) {
                const uchar *line = tile.constScanLine(y);
                for (const Run &columnRun : columns) {
                    const auto times = static_cast<std::uint32_t>(rowRun.times * columnRun.times);
                    for (int x = columnRun.first; x < columnRun.first + columnRun.count; ++x)
                        count(palette[line[x]], times);
                }
            }
    } else {
        const bool direct = readsDirectly(format);
        const bool premultiplied = format != QImage::Format_ARGB32;
        QImage converted;
        for (const Run &rowRun : rows)
            for (int y = rowRun.first; y < rowRun.first + rowRun.count; ++y) {
                const QRgb *line = nullptr;
                if (direct) {
                    line = reinterpret_cast<const QRgb *>(tile.constScanLine(y));
                } else {
                    converted = tile.copy(0, y, tile.width(), 1).convertToFormat(QImage::Format_ARGB32_Premultiplied);
                    line = reinterpret_cast<const QRgb *>(converted.constScanLine(0));
                }
                for (const Run &columnRun : columns) {
                    const auto times = static_cast<std::uint32_t>(rowRun.times * columnRun.times);
                    const int end = columnRun.first + columnRun.count;
                    if (premultiplied || !direct) {
                        for (int x = columnRun.first; x < end; ++x)
                            count(line[x], times);
                    } else {
                        for (int x = columnRun.first; x < end; ++x)
                            count(qPremultiply(line[x]), times);
                    }
                }
            }
    }

    // Contrast falls as a luminance nears the text's and rises past it, so the bins in
    // ascending order of contrast are two walks outward from the text's bin, merged.
    const double textLuminance = relativeLuminance(text.rgb());
    const std::uint64_t total = areaWidth * static_cast<std::uint64_t>(rowsMeasured);
    auto nextFilled = [&](int key, int step) {
        while (key >= 0 && key < KeyCount && histogram[key].weight == 0)
            key += step;
        return key;
    };
    auto ratioOf = [&](int key) {
        if (key < 0 || key >= KeyCount)
            return 0.0;
        return contrastRatio(relativeLuminance(histogram[key].colour), textLuminance);
    };
    int below = nextFilled(tables.key(text.rgb()), -1);
    int above = nextFilled(tables.key(text.rgb()) + 1, +1);
    double belowRatio = ratioOf(below);
    double aboveRatio = ratioOf(above);
    ContrastFigures figures;
    bool haveMinimum = false;
    bool haveTenth = false;
    std::uint64_t seen = 0;
    while (below >= 0 || above < KeyCount) {
        int key = 0;
        double ratio = 0;
        if (above >= KeyCount || (below >= 0 && belowRatio <= aboveRatio)) {
            key = below;
            ratio = belowRatio;
            below = nextFilled(below - 1, -1);
            belowRatio = ratioOf(below);
        } else {
            key = above;
            ratio = aboveRatio;
            above = nextFilled(above + 1, +1);
            aboveRatio = ratioOf(above);
        }
        seen += histogram[key].weight;
        if (!haveMinimum) {
            figures.minimum = ratio;
            haveMinimum = true;
        }
        // The first bin that takes the count past a tenth (a half) of the pixels holds the
        // figure: fewer than that share of the pixels lie below it.
        if (!haveTenth && seen * 10 > total) {
            figures.tenthPercentile = ratio;
            haveTenth = true;
        }
        if (seen * 2 > total) {
            figures.median = ratio;
            break;
        }
    }
    return figures;
}

namespace {

// The ratio cut to `decimals` places; a hair is added first so that 21 computed as
// 20.999999999 still reads 21.
QString cutRatio(double ratio, int decimals)
{
    const double scale = std::pow(10.0, decimals);
    return QString::number(std::floor(ratio * scale + 1e-7) / scale, 'f', decimals);
}

QString gradeText(ContrastGrade grade)
{
    switch (grade) {
    case ContrastGrade::AAA:
        return QStringLiteral("AAA");
    case ContrastGrade::AA:
        return QStringLiteral("AA");
    case ContrastGrade::Low:
        break;
    }
    return QCoreApplication::translate("pavix::toolbox", "low");
}

} // namespace

QString contrastFigureText(double ratio, ContrastGrade grade)
{
    return cutRatio(ratio, 1) + QStringLiteral(":1 ") + gradeText(grade);
}

QString contrastToolTip(const std::optional<ContrastFigures> &figures)
{
    if (!figures)
        return QCoreApplication::translate("pavix::toolbox",
                                           "The colour of the sample text. While the tiled window shows the sample, "
                                           "the swatch also tells how well the text reads on the tiles.");
    return QCoreApplication::translate(
               "pavix::toolbox", "How well the sample reads on the tiles: the contrast between the text colour and "
                                 "the tiles under the text, from 1:1 (none) to 21:1 (black on white). The figure "
                                 "shown is the contrast that 90 % of the background under the text reaches.\n"
                                 "10th percentile %1:1, median %2:1, minimum %3:1\n"
                                 "AAA: easy to read for nearly everyone (7:1, or 4.5:1 for text of 18 point and up). "
                                 "AA: readable for most (4.5:1, or 3:1 for text of 18 point and up). "
                                 "low: below AA, hard to read for many.")
        .arg(cutRatio(figures->tenthPercentile, 2), cutRatio(figures->median, 2), cutRatio(figures->minimum, 2));
}

QColor figureInk(QColor swatch)
{
    const double onBlack = contrastRatio(swatch.rgb(), qRgb(0, 0, 0));
    const double onWhite = contrastRatio(swatch.rgb(), qRgb(255, 255, 255));
    return onWhite > onBlack ? QColor(Qt::white) : QColor(Qt::black);
}

} // namespace pavix::toolbox
