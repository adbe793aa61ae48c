#include "thumbs/gridgeometry.h"

#include "common/units.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace pavix::thumbs {

namespace {

constexpr int IntMax = std::numeric_limits<int>::max();
constexpr int IntMin = std::numeric_limits<int>::min();

// A whole number held in a double, brought into int range; not-a-number gives 0.
int clampToInt(double whole)
{
    if (std::isnan(whole))
        return 0;
    if (whole >= static_cast<double>(IntMax))
        return IntMax;
    if (whole <= static_cast<double>(IntMin))
        return IntMin;
    return static_cast<int>(whole);
}

int clampToInt(std::int64_t value)
{
    return static_cast<int>(std::clamp<std::int64_t>(value, IntMin, IntMax));
}

} // namespace

int columnCount(float stripWidthCm, float scrollWidthCm)
{
    // Both the difference and the product stay in single precision: 10.58 x 0.567 must
    // come to 5.9989 and truncate to 5.
    const float innerCm = stripWidthCm - scrollWidthCm;
    const float columns = innerCm * KTwipsPerCm;
    return clampToInt(std::trunc(static_cast<double>(columns)));
}

int reservedRows(double viewportHeightTwips)
{
    return clampToInt(common::roundHalfEven(viewportHeightTwips / CellPitch - 2.0));
}

GridPlan planGrid(int count, float stripWidthCm, float scrollWidthCm, double viewportHeightTwips)
{
    GridPlan plan{};
    plan.columns = columnCount(stripWidthCm, scrollWidthCm);
    plan.lastColumn = clampToInt(static_cast<std::int64_t>(plan.columns) - 1);
    plan.reservedRows = reservedRows(viewportHeightTwips);

    const std::int64_t n = std::max(count, 0);
    const std::int64_t c = plan.columns;
    // With no column the limit is 0 x 245, so any thumbnail is over it; the comparison
    // never divides by the column count.
    plan.overRowLimit = n > 0 && (c <= 0 || n > c * RowLimit);
    if (plan.overRowLimit)
        return plan;

    plan.lastRow = n > 0 ? static_cast<int>((n - 1) / c) : 0;
    const float rowsPastView = static_cast<float>(static_cast<std::int64_t>(plan.lastRow) - plan.reservedRows);
    plan.scrollMax = clampToInt(common::roundHalfEven(rowsPastView * CmPerRow));
    plan.stripHeightCm = static_cast<float>(plan.lastRow + 1) * CmPerRow;
    plan.scrollVisible = plan.scrollMax > 1;
    return plan;
}

QPoint cellPosition(int index, int columns)
{
    if (index < 0 || columns <= 0)
        return QPoint(0, 0);
    const std::int64_t column = index % columns;
    const std::int64_t row = index / columns;
    return QPoint(clampToInt(column * CellPitch), clampToInt(row * CellPitch));
}

std::optional<int> arrowStep(int vkey, int current, int count, int lastColumn)
{
    if (count < 2 || current < 0 || current >= count)
        return std::nullopt;
    const std::int64_t c = current;
    const std::int64_t n = count;
    const std::int64_t rowLength = static_cast<std::int64_t>(lastColumn) + 1;
    switch (vkey) {
    case common::VkLeft:
        if (c > 0)
            return static_cast<int>(c - 1);
        break;
    case common::VkRight:
        if (c < n - 1)
            return static_cast<int>(c + 1);
        break;
    case common::VkUp:
        // A grid without columns has no rows to walk; stepping by 0 or less would
        // reselect or move the wrong way.
        if (rowLength > 0 && c > lastColumn)
            return static_cast<int>(c - rowLength);
        break;
    case common::VkDown:
        if (rowLength > 0 && c < n - rowLength)
            return static_cast<int>(c + rowLength);
        break;
    default:
        break;
    }
    return std::nullopt;
}

int pageScroll(int vkey, int position, int max, bool scrollVisible)
{
    const std::int64_t p = position;
    const std::int64_t m = max;
    std::int64_t next = 0;
    if (vkey == common::VkNext)
        next = (!scrollVisible || p >= m - LargeStep) ? m : p + LargeStep;
    else if (vkey == common::VkPrior)
        next = (!scrollVisible || p <= LargeStep) ? 0 : p - LargeStep;
    else
        return position;
    // The scroll bar's range is 0 .. max; a maximum below 0 leaves only position 0.
    return clampToInt(std::clamp<std::int64_t>(next, 0, std::max<std::int64_t>(m, 0)));
}

double stripTopCm(int scrollPosition)
{
    return scrollPosition > 0 ? -static_cast<double>(scrollPosition) : 0.0;
}

} // namespace pavix::thumbs
