#include "thumbs/gridgeometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace pavix::thumbs;

TEST(GridGeometry, WorkedExampleGivesTheDocumentedGrid)
{
    const GridPlan plan = planGrid(25, 11.0f, 0.42f, 5000.0);
    EXPECT_EQ(plan.columns, 5);
    EXPECT_EQ(plan.lastColumn, 4);
    EXPECT_EQ(plan.reservedRows, 3);
    EXPECT_FALSE(plan.overRowLimit);
    EXPECT_EQ(plan.lastRow, 4);
    EXPECT_EQ(plan.scrollMax, 2);
    EXPECT_TRUE(plan.scrollVisible);
    EXPECT_FLOAT_EQ(plan.stripHeightCm, 8.81835f);
    EXPECT_EQ(cellPosition(7, plan.columns), QPoint(2000, 1000));
}

TEST(GridGeometry, ColumnCountTruncatesTheSinglePrecisionProduct)
{
    EXPECT_EQ(columnCount(11.0f, 0.42f), 5);  // 5.9989, not rounded up
    EXPECT_EQ(columnCount(9.238f, 0.42f), 4); // 4.9998
    EXPECT_EQ(columnCount(9.24f, 0.42f), 5);  // 5.0009
    EXPECT_EQ(columnCount(2.0f, 0.42f), 0);   // narrower than one cell
    EXPECT_EQ(columnCount(0.5f, 1.0f), 0);    // -0.28 truncates toward zero
    EXPECT_EQ(columnCount(0.0f, 3.0f), -1);   // -1.70
    EXPECT_EQ(columnCount(std::numeric_limits<float>::quiet_NaN(), 0.42f), 0);
    EXPECT_EQ(columnCount(1e30f, 0.0f), std::numeric_limits<int>::max());
}

TEST(GridGeometry, ReservedRowsRoundHalfToEven)
{
    EXPECT_EQ(reservedRows(2500.0), 0); // 0.5
    EXPECT_EQ(reservedRows(3500.0), 2); // 1.5
    EXPECT_EQ(reservedRows(4500.0), 2); // 2.5
    EXPECT_EQ(reservedRows(4600.0), 3);
    EXPECT_EQ(reservedRows(5000.0), 3);
    EXPECT_EQ(reservedRows(1000.0), -1);
    EXPECT_EQ(reservedRows(0.0), -2);
    EXPECT_EQ(reservedRows(std::nan("")), 0);
}

TEST(GridGeometry, RowLimitStopsTheBuildWithoutDividing)
{
    // 5 columns: 5 x 245 thumbnails still build, one more does not.
    const GridPlan full = planGrid(5 * RowLimit, 11.0f, 0.42f, 5000.0);
    EXPECT_FALSE(full.overRowLimit);
    EXPECT_EQ(full.lastRow, RowLimit - 1);
    EXPECT_EQ(full.scrollMax, 425); // (244 - 3) x 1.76367 = 425.04
    EXPECT_TRUE(full.scrollVisible);

    const GridPlan over = planGrid(5 * RowLimit + 1, 11.0f, 0.42f, 5000.0);
    EXPECT_TRUE(over.overRowLimit);
    EXPECT_FALSE(over.scrollVisible);
    EXPECT_EQ(over.lastColumn, 4);

    // No column fits: any picture is over the limit; lastColumn still follows the columns.
    const GridPlan none = planGrid(1, 1.0f, 0.42f, 5000.0);
    EXPECT_EQ(none.columns, 0);
    EXPECT_EQ(none.lastColumn, -1);
    EXPECT_TRUE(none.overRowLimit);
    EXPECT_FALSE(none.scrollVisible);

    const GridPlan negative = planGrid(3, 0.0f, 3.0f, 5000.0);
    EXPECT_EQ(negative.columns, -1);
    EXPECT_TRUE(negative.overRowLimit);

    // An empty folder with no column is no stop and no division either.
    const GridPlan empty = planGrid(0, 1.0f, 0.42f, 5000.0);
    EXPECT_FALSE(empty.overRowLimit);
    EXPECT_EQ(empty.lastRow, 0);

    // A count near the int range does not overflow the limit test.
    EXPECT_TRUE(planGrid(std::numeric_limits<int>::max(), 11.0f, 0.42f, 5000.0).overRowLimit);
}

TEST(GridGeometry, OneRowAndTheScrollBarThreshold)
{
    // All pictures in one row: R = 0, one row high, M = -3 x 1.76367 = -5.29 -> -5.
    const GridPlan oneRow = planGrid(5, 11.0f, 0.42f, 5000.0);
    EXPECT_EQ(oneRow.lastRow, 0);
    EXPECT_FLOAT_EQ(oneRow.stripHeightCm, 1.76367f);
    EXPECT_EQ(oneRow.scrollMax, -5);
    EXPECT_FALSE(oneRow.scrollVisible);

    // R = V: M = 0, hidden. R = V + 1: M = 2 (1.76), shown.
    const GridPlan fits = planGrid(16, 11.0f, 0.42f, 5000.0);
    EXPECT_EQ(fits.lastRow, 3);
    EXPECT_EQ(fits.scrollMax, 0);
    EXPECT_FALSE(fits.scrollVisible);
    const GridPlan oneMore = planGrid(21, 11.0f, 0.42f, 5000.0);
    EXPECT_EQ(oneMore.lastRow, 4);
    EXPECT_EQ(oneMore.scrollMax, 2);
    EXPECT_TRUE(oneMore.scrollVisible);

    // Rows fill left to right: the sixth picture starts row 1.
    EXPECT_EQ(planGrid(6, 11.0f, 0.42f, 5000.0).lastRow, 1);
}

TEST(GridGeometry, CellPositionsFillRowsLeftToRight)
{
    EXPECT_EQ(cellPosition(0, 3), QPoint(0, 0));
    EXPECT_EQ(cellPosition(2, 3), QPoint(2000, 0));
    EXPECT_EQ(cellPosition(3, 3), QPoint(0, 1000));
    EXPECT_EQ(cellPosition(6, 3), QPoint(0, 2000));
    EXPECT_EQ(cellPosition(5, 1), QPoint(0, 5000));
    EXPECT_EQ(cellPosition(4, 0), QPoint(0, 0));
    EXPECT_EQ(cellPosition(-1, 3), QPoint(0, 0));
    EXPECT_EQ(cellPosition(std::numeric_limits<int>::max(), 1).y(), std::numeric_limits<int>::max());
}

TEST(GridGeometry, ArrowKeysFollowTheKeyTable)
{
    // 7 thumbnails in 3 columns: rows 0-2, 3-5 and 6.
    const int n = 7;
    const int lastCol = 2;
    EXPECT_EQ(arrowStep(pavix::common::VkDown, 3, n, lastCol), 6);
    EXPECT_EQ(arrowStep(pavix::common::VkDown, 4, n, lastCol), std::nullopt); // nothing below
    EXPECT_EQ(arrowStep(pavix::common::VkDown, 2, n, lastCol), 5);
    EXPECT_EQ(arrowStep(pavix::common::VkDown, 6, n, lastCol), std::nullopt);
    EXPECT_EQ(arrowStep(pavix::common::VkUp, 2, n, lastCol), std::nullopt);
    EXPECT_EQ(arrowStep(pavix::common::VkUp, 3, n, lastCol), 0);
    EXPECT_EQ(arrowStep(pavix::common::VkUp, 6, n, lastCol), 3);
    EXPECT_EQ(arrowStep(pavix::common::VkRight, 2, n, lastCol), 3); // wraps to the next row
    EXPECT_EQ(arrowStep(pavix::common::VkLeft, 3, n, lastCol), 2);  // wraps to the row above
    EXPECT_EQ(arrowStep(pavix::common::VkLeft, 0, n, lastCol), std::nullopt);
    EXPECT_EQ(arrowStep(pavix::common::VkRight, 6, n, lastCol), std::nullopt);

    // Other keys, a single thumbnail, a current index outside the grid: nothing.
    EXPECT_EQ(arrowStep(36, 3, n, lastCol), std::nullopt); // Home
    EXPECT_EQ(arrowStep(13, 3, n, lastCol), std::nullopt);
    EXPECT_EQ(arrowStep(pavix::common::VkRight, 0, 1, lastCol), std::nullopt);
    EXPECT_EQ(arrowStep(pavix::common::VkLeft, 7, n, lastCol), std::nullopt);
    EXPECT_EQ(arrowStep(pavix::common::VkRight, -1, n, lastCol), std::nullopt);

    // A grid without columns never steps up or down by zero or backwards.
    EXPECT_EQ(arrowStep(pavix::common::VkUp, 3, n, -1), std::nullopt);
    EXPECT_EQ(arrowStep(pavix::common::VkDown, 3, n, -1), std::nullopt);
    EXPECT_EQ(arrowStep(pavix::common::VkDown, 0, n, std::numeric_limits<int>::max()), std::nullopt);
}

TEST(GridGeometry, PageKeysScrollByTheLargeStep)
{
    const int m = 20;
    EXPECT_EQ(pageScroll(pavix::common::VkNext, m - 7, m, true), m);
    EXPECT_EQ(pageScroll(pavix::common::VkNext, m - 8, m, true), m - 1);
    EXPECT_EQ(pageScroll(pavix::common::VkNext, 0, m, true), 7);
    EXPECT_EQ(pageScroll(pavix::common::VkPrior, 7, m, true), 0);
    EXPECT_EQ(pageScroll(pavix::common::VkPrior, 8, m, true), 1);
    EXPECT_EQ(pageScroll(pavix::common::VkPrior, m, m, true), m - 7);

    // Hidden bar: straight to the ends.
    EXPECT_EQ(pageScroll(pavix::common::VkNext, 0, 1, false), 1);
    EXPECT_EQ(pageScroll(pavix::common::VkPrior, 1, 1, false), 0);
    // Hidden bar with the whole grid in view: the strip stays at the top.
    EXPECT_EQ(pageScroll(pavix::common::VkNext, 0, -5, false), 0);
    EXPECT_EQ(stripTopCm(pageScroll(pavix::common::VkNext, 0, -5, false)), 0.0);

    // Other keys leave the position alone; extreme values do not overflow.
    EXPECT_EQ(pageScroll(pavix::common::VkDown, 4, m, true), 4);
    EXPECT_EQ(pageScroll(pavix::common::VkNext, 0, std::numeric_limits<int>::min(), true), 0);
    EXPECT_EQ(pageScroll(pavix::common::VkNext, std::numeric_limits<int>::max() - 3, std::numeric_limits<int>::max(),
                         true),
              std::numeric_limits<int>::max());
}

TEST(GridGeometry, StripTopFollowsTheScrollPosition)
{
    EXPECT_DOUBLE_EQ(stripTopCm(0), 0.0);
    EXPECT_DOUBLE_EQ(stripTopCm(5), -5.0);
    EXPECT_DOUBLE_EQ(stripTopCm(-3), 0.0);
}
