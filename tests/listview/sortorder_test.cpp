#include "listview/sortorder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

using namespace pavix::listview;

namespace {

std::vector<int> orderOf(std::vector<SortItem> items, bool descending, const QLocale &locale)
{
    std::stable_sort(items.begin(), items.end(), SortOrder(descending, locale));
    std::vector<int> positions;
    for (const SortItem &item : items)
        positions.push_back(item.addedPosition);
    return positions;
}

} // namespace

TEST(SortOrder, SizesCompareAsNumbers)
{
    const SortItem nine{QStringLiteral("9"), 9, 1};
    const SortItem big{QStringLiteral("10,240"), 10240, 2};
    const SortItem huge{QStringLiteral("3,000,000,000"), 3000000000LL, 3};
    for (const QLocale &locale : {QLocale::c(), QLocale(QLocale::English, QLocale::UnitedStates)}) {
        EXPECT_EQ(orderOf({big, huge, nine}, false, locale), (std::vector<int>{1, 2, 3}));
        EXPECT_EQ(orderOf({nine, big, huge}, true, locale), (std::vector<int>{3, 2, 1}));
    }
    // Without numbers the texts would put "10,240" first: the numbers must win.
    const SortOrder ascending(false, QLocale::c());
    EXPECT_LT(ascending.compareKeys(nine, big), 0);
    EXPECT_GT(ascending.compareKeys(SortItem{QStringLiteral("9"), std::nullopt, 1},
                                    SortItem{QStringLiteral("10,240"), std::nullopt, 2}),
              0);
    // An item with no number yet goes before the numbered ones.
    EXPECT_LT(ascending.compareKeys(SortItem{QString(), std::nullopt, 4}, nine), 0);
}

TEST(SortOrder, NamesIgnoreCaseAndKeepDigitsAsCharacters)
{
    const std::vector<SortItem> names = {
        {QStringLiteral("beta.gif"), std::nullopt, 1},  {QStringLiteral("Alpha.bmp"), std::nullopt, 2},
        {QStringLiteral("img9.jpg"), std::nullopt, 3},  {QStringLiteral("IMG10.jpg"), std::nullopt, 4},
        {QStringLiteral("alpha.BMP"), std::nullopt, 5},
    };
    for (const QLocale &locale :
         {QLocale::c(), QLocale(QLocale::English, QLocale::UnitedStates), QLocale(QLocale::German, QLocale::Germany)}) {
        SCOPED_TRACE(locale.name().toStdString());
        // Alpha.bmp and alpha.BMP are equal ignoring case and keep the order they came in.
        EXPECT_EQ(orderOf(names, false, locale), (std::vector<int>{2, 5, 1, 4, 3}));
        EXPECT_EQ(orderOf(names, true, locale), (std::vector<int>{3, 4, 1, 2, 5}));
    }
}

TEST(SortOrder, EqualKeysKeepTheOrderTheyWereAddedIn)
{
    // Three JPEG files and a bitmap, by type, given in a shuffled order.
    const std::vector<SortItem> types = {
        {QStringLiteral("JPEG image"), std::nullopt, 4},
        {QStringLiteral("JPEG image"), std::nullopt, 1},
        {QStringLiteral("BMP image"), std::nullopt, 3},
        {QStringLiteral("jpeg image"), std::nullopt, 2},
    };
    EXPECT_EQ(orderOf(types, false, QLocale::c()), (std::vector<int>{3, 1, 2, 4}));
    EXPECT_EQ(orderOf(types, true, QLocale::c()), (std::vector<int>{1, 2, 4, 3}));
    const SortOrder descending(true, QLocale::c());
    EXPECT_TRUE(descending(types[1], types[0]));
    EXPECT_FALSE(descending(types[0], types[1]));
    EXPECT_FALSE(descending(types[0], types[0]));
}
