#include "shell/settingsvalues.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace pavix::shell;

TEST(SettingsValues, SingleFromTextTakesDecimalTextOnly)
{
    EXPECT_EQ(singleFromText("1000"), 1000.0f);
    EXPECT_EQ(singleFromText(" 1234.5 "), 1234.5f);
    EXPECT_EQ(singleFromText("-0.25"), -0.25f);
    EXPECT_EQ(singleFromText("+5"), 5.0f);
    EXPECT_EQ(singleFromText(".5"), 0.5f);
    EXPECT_EQ(singleFromText("1e3"), 1000.0f);
    EXPECT_EQ(singleFromText("2.5E-1"), 0.25f);
    // Halfway between two singles: the even one wins.
    EXPECT_EQ(singleFromText("16777217"), 16777216.0f);
    EXPECT_EQ(singleFromText("16777219"), 16777220.0f);

    EXPECT_FALSE(singleFromText(""));
    EXPECT_FALSE(singleFromText("   "));
    EXPECT_FALSE(singleFromText("abc"));
    EXPECT_FALSE(singleFromText("12abc"));
    EXPECT_FALSE(singleFromText("."));
    EXPECT_FALSE(singleFromText("-"));
    EXPECT_FALSE(singleFromText("1,5"));
    EXPECT_FALSE(singleFromText("1e"));
    EXPECT_FALSE(singleFromText("nan"));
    EXPECT_FALSE(singleFromText("inf"));
    EXPECT_FALSE(singleFromText("1e39")); // beyond the single range
    EXPECT_FALSE(singleFromText("1 000"));
}

TEST(SettingsValues, IntegersRoundHalfToEvenAndRefuseOutOfRange)
{
    EXPECT_EQ(int32FromText("2000"), 2000);
    EXPECT_EQ(int32FromText("2.5"), 2);
    EXPECT_EQ(int32FromText("3.5"), 4);
    EXPECT_EQ(int32FromText("-2.5"), -2);
    EXPECT_EQ(int32FromText("883.33"), 883);
    EXPECT_EQ(int32FromText("-2147483648.5"), std::numeric_limits<std::int32_t>::min()); // tie to even
    EXPECT_FALSE(int32FromText("2147483647.5"));                                         // rounds to 2^31
    EXPECT_FALSE(int32FromText("abc"));
    EXPECT_FALSE(int32FromText(""));
    EXPECT_FALSE(int32FromText("12px"));

    EXPECT_EQ(int32FromText("40000"), 40000);
    EXPECT_EQ(int32FromText(" -1 "), -1);
    EXPECT_EQ(int32FromText("1e9"), 1000000000);
    EXPECT_EQ(int32FromText("2147483647"), 2147483647);
    EXPECT_EQ(int32FromText("-2147483648"), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(int32FromText("6500.5"), 6500);
    EXPECT_FALSE(int32FromText("2147483648"));
    EXPECT_FALSE(int32FromText("1e400"));
    EXPECT_FALSE(int32FromText("True"));
}

TEST(SettingsValues, TruthFromWordsOrNumbers)
{
    EXPECT_EQ(truthFromText("True"), true);
    EXPECT_EQ(truthFromText("False"), false);
    EXPECT_EQ(truthFromText("true"), true);
    EXPECT_EQ(truthFromText("FALSE"), false);
    EXPECT_EQ(truthFromText(" True "), true);
    EXPECT_EQ(truthFromText("-1"), true);
    EXPECT_EQ(truthFromText("2"), true);
    EXPECT_EQ(truthFromText("0.5"), true);
    EXPECT_EQ(truthFromText("0"), false);
    EXPECT_EQ(truthFromText("0.0"), false);
    EXPECT_FALSE(truthFromText("abc"));
    EXPECT_FALSE(truthFromText(""));
    EXPECT_FALSE(truthFromText("Yes"));
    EXPECT_FALSE(truthFromText("Truee"));
}

TEST(SettingsValues, ViewModeTakesTheLeadingNumber)
{
    EXPECT_EQ(viewModeFromText("3"), 3);
    EXPECT_EQ(viewModeFromText("3abc"), 3);
    EXPECT_EQ(viewModeFromText(""), 0);
    EXPECT_EQ(viewModeFromText("abc"), 0);
    EXPECT_EQ(viewModeFromText("  2"), 2);
    EXPECT_EQ(viewModeFromText("+1"), 1);
    EXPECT_EQ(viewModeFromText("-1"), -1);
    EXPECT_EQ(viewModeFromText("2.5"), 2); // ties to even
    EXPECT_EQ(viewModeFromText("3.5x"), 4);
    EXPECT_EQ(viewModeFromText("1e1x"), 10);
    EXPECT_EQ(viewModeFromText("3e"), 3); // an exponent without digits is not part of it
    EXPECT_EQ(viewModeFromText("3.e+"), 3);
    EXPECT_EQ(viewModeFromText(".5"), 0);
    EXPECT_EQ(viewModeFromText("-"), 0);
    EXPECT_EQ(viewModeFromText("x3"), 0);
    EXPECT_EQ(viewModeFromText("99999999999"), 0); // does not fit 32 bits
}

TEST(SettingsValues, WrittenTextIsPlainDecimalAndReadsBackExactly)
{
    EXPECT_EQ(textFromSingle(1000.0f), "1000");
    EXPECT_EQ(textFromSingle(6500.0f), "6500");
    EXPECT_EQ(textFromSingle(1234.5f), "1234.5");
    EXPECT_EQ(textFromSingle(-0.25f), "-0.25");
    EXPECT_EQ(textFromSingle(0.1f), "0.1");
    EXPECT_EQ(textFromSingle(-0.0f), "0");
    EXPECT_EQ(textFromSingle(57600.0f), "57600");
    EXPECT_EQ(textFromSingle(16777216.0f), "16777216");
    EXPECT_FALSE(textFromSingle(123456789.0f).contains(u'e'));

    for (const float value :
         {1000.0f, 0.1f, 0.3f, 1.0f / 3.0f, -4567.125f, 16777216.0f, 1e-20f, 3.4e38f,
          std::numeric_limits<float>::denorm_min(), std::numeric_limits<float>::max(), 8.8183504e-3f}) {
        const auto back = singleFromText(textFromSingle(value));
        ASSERT_TRUE(back) << textFromSingle(value).toStdString();
        EXPECT_EQ(*back, value) << textFromSingle(value).toStdString();
    }
    EXPECT_FALSE(singleFromText(textFromSingle(std::nanf(""))));
    EXPECT_FALSE(singleFromText(textFromSingle(std::numeric_limits<float>::infinity())));

    EXPECT_EQ(textFromInt(-1), "-1");
    EXPECT_EQ(textFromInt(40000), "40000");
    EXPECT_EQ(textFromInt(0), "0");
    EXPECT_EQ(textFromTruth(true), "True");
    EXPECT_EQ(textFromTruth(false), "False");
    EXPECT_EQ(truthFromText(textFromTruth(false)), false);
}
