#include "catalogue/filesize.h"

#include <gtest/gtest.h>

using namespace pavix::catalogue;

TEST(FileSize, FormatGroupsDigitsInThreesWithTheLocaleSeparator)
{
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    EXPECT_EQ(formatFileSize(0, english), QStringLiteral("0"));
    EXPECT_EQ(formatFileSize(999, english), QStringLiteral("999"));
    EXPECT_EQ(formatFileSize(1000, english), QStringLiteral("1,000"));
    EXPECT_EQ(formatFileSize(1234567, english), QStringLiteral("1,234,567"));
    EXPECT_EQ(formatFileSize(3221225472LL, english), QStringLiteral("3,221,225,472"));
    EXPECT_EQ(formatFileSize(1234567, QLocale(QLocale::German)), QStringLiteral("1.234.567"));
    // The C locale omits grouping unless asked; the size column always groups.
    EXPECT_EQ(formatFileSize(1000, QLocale::c()), QStringLiteral("1,000"));
}
