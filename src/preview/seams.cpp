#include "preview/seams.h"

#include <QCoreApplication>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace pavix::preview {

namespace {

// Sum of |a[i] - b[i]| over n bytes.
std::uint64_t sumOfDifferences(const uchar *a, const uchar *b, size_t n)
{
    std::uint64_t sum = 0;
    for (size_t i = 0; i < n; ++i)
        sum += static_cast<std::uint64_t>(std::abs(int(a[i]) - int(b[i])));
    return sum;
}

// Differences of one row of n bytes (4 per pixel) with its right-hand neighbours (the
// pixel 4 bytes on) and, when `below` is given, with the row below. The row is read once
// for both sums, sixteen bytes at a time where the processor can.
struct RowSums {
    std::uint64_t across = 0;
    std::uint64_t down = 0;
};

RowSums rowDifferences(const uchar *row, const uchar *below, size_t n)
{
    RowSums sums;
    const size_t pairs = n - 4; // bytes that have a right-hand neighbour
    size_t i = 0;
#ifdef __SSE2__
    __m128i across = _mm_setzero_si128();
    __m128i down = _mm_setzero_si128();
    for (; i + 16 <= pairs; i += 16) {
        const __m128i here = _mm_loadu_si128(reinterpret_cast<const __m128i *>(row + i));
        const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i *>(row + i + 4));
        across = _mm_add_epi64(across, _mm_sad_epu8(here, next));
        if (below) {
            const __m128i under = _mm_loadu_si128(reinterpret_cast<const __m128i *>(below + i));
            down = _mm_add_epi64(down, _mm_sad_epu8(here, under));
        }
    }
    sums.across = static_cast<std::uint64_t>(_mm_cvtsi128_si64(across))
                  + static_cast<std::uint64_t>(_mm_cvtsi128_si64(_mm_unpackhi_epi64(across, across)));
    sums.down = static_cast<std::uint64_t>(_mm_cvtsi128_si64(down))
                + static_cast<std::uint64_t>(_mm_cvtsi128_si64(_mm_unpackhi_epi64(down, down)));
#endif
    sums.across += sumOfDifferences(row + i, row + i + 4, pairs - i);
    if (below)
        sums.down += sumOfDifferences(row + i, below + i, n - i);
    return sums;
}

// The picture as 32-bit pixels whose fourth byte is the same everywhere, so that a sum of
// byte differences is the sum of the colour differences alone. Transparent parts are drawn
// over the background, as the tiled window draws them.
QImage opaquePixels(const QImage &picture, QColor background)
{
    if (picture.hasAlphaChannel()) {
        QImage shown(picture.size(), QImage::Format_RGB32);
        shown.fill(background.rgb());
        QPainter painter(&shown);
        painter.drawImage(0, 0, picture);
        return shown;
    }
    if (picture.format() == QImage::Format_RGB32)
        return picture;
    return picture.convertToFormat(QImage::Format_RGB32);
}

// The wrap-around ratio one way: the mean difference across the wrap edge over the mean
// between neighbours inside, each at least 1; 1 when there are no neighbours that way.
double edgeRatio(std::uint64_t wrapSum, std::uint64_t wrapPairs, std::uint64_t innerSum, std::uint64_t innerPairs)
{
    if (innerPairs == 0 || wrapPairs == 0)
        return 1.0;
    const double wrapMean = static_cast<double>(wrapSum) / (3.0 * static_cast<double>(wrapPairs));
    const double innerMean = static_cast<double>(innerSum) / (3.0 * static_cast<double>(innerPairs));
    return std::max(1.0, wrapMean) / std::max(1.0, innerMean);
}

// The inside of a tall picture is measured on about this many pairs of rows, spread evenly;
// the wrap edges always on every row.
constexpr int MeasuredRowPairs = 64;

// Every how many rows a pair is measured: 1 up to MeasuredRowPairs pairs, otherwise the
// step that gives about that many, made odd so that the pairs fall at every offset within
// the 8-row blocks a JPEG is coded in (whose edges differ more than their insides).
int rowStep(int height)
{
    const int pairs = height - 1;
    if (pairs <= MeasuredRowPairs)
        return 1;
    return ((pairs + MeasuredRowPairs - 1) / MeasuredRowPairs) | 1;
}

double roundedToTenths(double ratio)
{
    return std::round(ratio * 10.0) / 10.0;
}

} // namespace

double seamRatio(const QImage &picture, QColor background)
{
    return seamRatios(picture, background).worst();
}

SeamRatios seamRatios(const QImage &picture, QColor background)
{
    if (picture.isNull() || picture.width() <= 0 || picture.height() <= 0)
        return SeamRatios{};
    const QImage pixels = opaquePixels(picture, background);
    const int width = pixels.width();
    const int height = pixels.height();
    const size_t rowBytes = static_cast<size_t>(width) * 4;

    std::uint64_t acrossColumns = 0; // neighbouring columns inside, on the measured rows
    std::uint64_t acrossRows = 0;    // neighbouring rows inside, on the measured pairs
    std::uint64_t wrapColumns = 0;   // last column against the first, on every row
    std::uint64_t measuredRows = 0;
    std::uint64_t measuredPairs = 0;
    const int step = rowStep(height);
    for (int y = 0; y < height; ++y) {
        const uchar *row = pixels.constScanLine(y);
        wrapColumns += sumOfDifferences(row + rowBytes - 4, row, 4);
        if (y % step != 0)
            continue;
        const uchar *below = y + 1 < height ? pixels.constScanLine(y + 1) : nullptr;
        const RowSums sums = rowDifferences(row, below, rowBytes);
        acrossColumns += sums.across;
        acrossRows += sums.down;
        ++measuredRows;
        measuredPairs += below ? 1 : 0;
    }
    const std::uint64_t wrapRows =
        height > 1 ? sumOfDifferences(pixels.constScanLine(height - 1), pixels.constScanLine(0), rowBytes) : 0;

    const auto w = static_cast<std::uint64_t>(width);
    const auto h = static_cast<std::uint64_t>(height);
    return SeamRatios{edgeRatio(wrapColumns, h, acrossColumns, measuredRows * (w - 1)),
                      edgeRatio(wrapRows, w, acrossRows, w * measuredPairs)};
}

SeamGrade seamGrade(double ratio)
{
    const double shown = roundedToTenths(ratio);
    if (shown <= 1.5)
        return SeamGrade::Seamless;
    if (shown <= 3.0)
        return SeamGrade::Faint;
    return SeamGrade::Visible;
}

QString seamText(double ratio)
{
    QString grade;
    switch (seamGrade(ratio)) {
    case SeamGrade::Seamless:
        grade = QCoreApplication::translate("pavix::preview", "seamless");
        break;
    case SeamGrade::Faint:
        grade = QCoreApplication::translate("pavix::preview", "faint seams");
        break;
    case SeamGrade::Visible:
        grade = QCoreApplication::translate("pavix::preview", "visible seams");
        break;
    }
    return QCoreApplication::translate("pavix::preview", "Tiles: %1 (%2)")
        .arg(grade, QString::number(roundedToTenths(ratio), 'f', 1));
}

QString seamText(const SeamRatios &ratios)
{
    const double worst = ratios.worst();
    if (seamGrade(worst) == SeamGrade::Seamless)
        return seamText(worst);
    const bool leftRight = ratios.leftRight >= ratios.topBottom;
    return seamText(worst)
           + (leftRight ? QCoreApplication::translate("pavix::preview", ", left-right edge")
                        : QCoreApplication::translate("pavix::preview", ", top-bottom edge"));
}

} // namespace pavix::preview
