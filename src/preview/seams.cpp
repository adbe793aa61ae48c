#include "preview/seams.h"

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

// Sum of |a[i] - b[i]| over n bytes. The picture is read once per neighbour pair, so this
// runs sixteen bytes at a time where the processor can.
std::uint64_t sumOfDifferences(const uchar *a, const uchar *b, size_t n)
{
    std::uint64_t sum = 0;
    size_t i = 0;
#ifdef __SSE2__
    __m128i lanes = _mm_setzero_si128();
    for (; i + 16 <= n; i += 16) {
        const __m128i va = _mm_loadu_si128(reinterpret_cast<const __m128i *>(a + i));
        const __m128i vb = _mm_loadu_si128(reinterpret_cast<const __m128i *>(b + i));
        lanes = _mm_add_epi64(lanes, _mm_sad_epu8(va, vb));
    }
    sum = static_cast<std::uint64_t>(_mm_cvtsi128_si64(lanes))
          + static_cast<std::uint64_t>(_mm_cvtsi128_si64(_mm_unpackhi_epi64(lanes, lanes)));
#endif
    for (; i < n; ++i)
        sum += static_cast<std::uint64_t>(std::abs(int(a[i]) - int(b[i])));
    return sum;
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
double edgeRatio(std::uint64_t wrapSum, std::uint64_t wrapPairs, std::uint64_t innerSum,
                 std::uint64_t innerPairs)
{
    if (innerPairs == 0 || wrapPairs == 0)
        return 1.0;
    const double wrapMean = static_cast<double>(wrapSum) / (3.0 * static_cast<double>(wrapPairs));
    const double innerMean = static_cast<double>(innerSum) / (3.0 * static_cast<double>(innerPairs));
    return std::max(1.0, wrapMean) / std::max(1.0, innerMean);
}

double roundedToTenths(double ratio)
{
    return std::round(ratio * 10.0) / 10.0;
}

} // namespace

double seamRatio(const QImage &picture, QColor background)
{
    if (picture.isNull() || picture.width() <= 0 || picture.height() <= 0)
        return 1.0;
    const QImage pixels = opaquePixels(picture, background);
    const int width = pixels.width();
    const int height = pixels.height();
    const size_t rowBytes = static_cast<size_t>(width) * 4;

    std::uint64_t acrossColumns = 0; // neighbouring columns inside
    std::uint64_t acrossRows = 0;    // neighbouring rows inside
    std::uint64_t wrapColumns = 0;   // last column against the first
    for (int y = 0; y < height; ++y) {
        const uchar *row = pixels.constScanLine(y);
        if (width > 1) {
            acrossColumns += sumOfDifferences(row, row + 4, rowBytes - 4);
            wrapColumns += sumOfDifferences(row + rowBytes - 4, row, 4);
        }
        if (y + 1 < height)
            acrossRows += sumOfDifferences(row, pixels.constScanLine(y + 1), rowBytes);
    }
    const std::uint64_t wrapRows =
        height > 1 ? sumOfDifferences(pixels.constScanLine(height - 1), pixels.constScanLine(0), rowBytes) : 0;

    const auto w = static_cast<std::uint64_t>(width);
    const auto h = static_cast<std::uint64_t>(height);
    const double columns = edgeRatio(wrapColumns, h, acrossColumns, h * (w - 1));
    const double rows = edgeRatio(wrapRows, w, acrossRows, w * (h - 1));
    return std::max(columns, rows);
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
        grade = QStringLiteral("seamless");
        break;
    case SeamGrade::Faint:
        grade = QStringLiteral("faint seams");
        break;
    case SeamGrade::Visible:
        grade = QStringLiteral("visible seams");
        break;
    }
    return QStringLiteral("Tiles: %1 (%2)").arg(grade, QString::number(roundedToTenths(ratio), 'f', 1));
}

} // namespace pavix::preview
