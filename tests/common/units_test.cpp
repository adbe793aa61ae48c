#include "common/units.h"

#include <gtest/gtest.h>

using namespace pavix::common;

TEST(Units, RoundHalfEvenTiesGoToTheEvenNeighbour)
{
    EXPECT_EQ(roundHalfEven(0.5), 0.0);
    EXPECT_EQ(roundHalfEven(1.5), 2.0);
    EXPECT_EQ(roundHalfEven(2.5), 2.0);
    EXPECT_EQ(roundHalfEven(-0.5), 0.0);
    EXPECT_EQ(roundHalfEven(-1.5), -2.0);
    EXPECT_EQ(roundHalfEven(883.333), 883.0);
    EXPECT_EQ(roundHalfEven(2.5000001), 3.0);
}

TEST(Units, IntegerConversionsReportOverflow)
{
    EXPECT_EQ(toInt32(40000.5).value(), 40000);
    EXPECT_FALSE(toInt32(3.0e9).has_value());
}

TEST(Units, TwipsAndPixelsAtTheUsualDpi)
{
    EXPECT_DOUBLE_EQ(twipsPerPixelForDpi(96), 15.0);
    EXPECT_DOUBLE_EQ(twipsPerPixelForDpi(0), 15.0);
    EXPECT_EQ(twipsToPixels(900, 15.0), 60);
    EXPECT_EQ(twipsToPixels(22.5, 15.0), 2); // 1.5 -> 2
    EXPECT_EQ(twipsToPixels(37.5, 15.0), 2); // 2.5 -> 2
    EXPECT_DOUBLE_EQ(pixelsToTwips(60, 15.0), 900.0);
}

TEST(Units, DevicePixelsOfALogicalLength)
{
    EXPECT_EQ(devicePixels(60, 1.0), 60);
    EXPECT_EQ(devicePixels(60, 1.25), 75);
    EXPECT_EQ(devicePixels(61, 1.5), 92); // 91.5, rounded away from zero
    EXPECT_EQ(devicePixels(60, 2.0), 120);
    EXPECT_EQ(devicePixels(60, 0.0), 60);
}
