// The displayed order of the picture list, as the sorting proxy gives it over the items as
// added: collation, numbers, stable ties, items placed as they come, and the unsorted order.
#include "listview/listsortproxy.h"

#include "listview/listitemmodel.h"
#include "support/printers.h"

#include <QLocale>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>

using namespace pavix::listview;

namespace {

constexpr int Text = 0;
constexpr int Size = 1;
constexpr int Type = 2;

ListItem item(const QString &text, const QString &size = QString(), std::optional<std::int64_t> bytes = std::nullopt,
              const QString &type = QString())
{
    ListItem out;
    out.text = text;
    out.sub = {size, type};
    out.number = {bytes, std::nullopt};
    return out;
}

// The texts in displayed order.
QStringList shown(const ListSortProxy &proxy)
{
    QStringList out;
    for (int row = 0; row < proxy.rowCount(); ++row)
        out << proxy.index(row, 0).data().toString();
    return out;
}

// The added positions in displayed order.
std::vector<int> addedShown(const ListSortProxy &proxy, const ListItemModel &model)
{
    std::vector<int> out;
    for (int row = 0; row < proxy.rowCount(); ++row)
        out.push_back(model.item(proxy.mapToSource(proxy.index(row, 0)).row())->added);
    return out;
}

// Makes the default locale `locale` for the life of the object, as the user's would be.
struct DefaultLocale {
    QLocale before;
    explicit DefaultLocale(const QLocale &locale) { QLocale::setDefault(locale); }
    ~DefaultLocale() { QLocale::setDefault(before); }
};

struct Fixture {
    ListItemModel model;
    ListSortProxy proxy{&model};
};

} // namespace

TEST(ListSortProxy, StartsUnsortedInTheOrderOfAddition)
{
    Fixture f;
    for (const char *name : {"c", "B", "a"})
        f.model.addItem(item(QString::fromLatin1(name)));
    EXPECT_FALSE(f.proxy.sorted());
    EXPECT_EQ(shown(f.proxy), QStringList({"c", "B", "a"}));
    EXPECT_EQ(addedShown(f.proxy, f.model), std::vector<int>({1, 2, 3}));
}

TEST(ListSortProxy, TextsGoInCollationOrderIgnoringCase)
{
    Fixture f;
    for (const char *name : {"c", "B", "a", "b10", "b9", "A"})
        f.model.addItem(item(QString::fromLatin1(name)));
    f.proxy.setOrdering(true, Text, false);
    // Capitals among small letters, "a" and "A" equal (kept in the order added), and digits
    // compared as characters, as a folder listing compares names.
    EXPECT_EQ(shown(f.proxy), QStringList({"a", "A", "B", "b10", "b9", "c"}));
    f.proxy.setOrdering(true, Text, true);
    EXPECT_EQ(shown(f.proxy), QStringList({"c", "b9", "b10", "B", "a", "A"}));
}

TEST(ListSortProxy, TextsFollowTheUsersCollation)
{
    const DefaultLocale english{QLocale(QLocale::English, QLocale::UnitedStates)};
    Fixture f;
    for (const char *name : {"fig",
                             "\xc3\xa9"
                             "clair",
                             "eclair", "Zebra"})
        f.model.addItem(item(QString::fromUtf8(name)));
    f.proxy.setOrdering(true, Text, false);
    // An accented letter goes with its base letter, not after "z" as its code would.
    EXPECT_EQ(shown(f.proxy), QStringList({"eclair",
                                           QString::fromUtf8("\xc3\xa9"
                                                             "clair"),
                                           "fig", "Zebra"}));
}

TEST(ListSortProxy, NumbersCompareAsNumbers)
{
    Fixture f;
    f.model.addItem(item("ten k", "10,240", 10240));
    f.model.addItem(item("nine", "9", 9));
    f.model.addItem(item("three G", "3,000,000,000", 3000000000LL));
    f.model.addItem(item("unknown", "?"));
    f.model.addItem(item("none"));
    f.proxy.setOrdering(true, Size, false);
    // As texts "10,240" < "3,000,000,000" < "9"; as numbers the other way round. Items
    // without a number go before those with one.
    EXPECT_EQ(shown(f.proxy), QStringList({"none", "unknown", "nine", "ten k", "three G"}));
    f.proxy.setOrdering(true, Size, true);
    EXPECT_EQ(shown(f.proxy), QStringList({"three G", "ten k", "nine", "unknown", "none"}));
}

TEST(ListSortProxy, EqualKeysKeepTheOrderOfAdditionBothWays)
{
    Fixture f;
    f.model.addItem(item("d", "512", 512, "GIF"));
    f.model.addItem(item("a", "9", 9, "JPEG"));
    f.model.addItem(item("c", "512", 512, "GIF"));
    f.model.addItem(item("b", "512", 512, "BMP"));
    f.model.addItem(item("e", "9", 9, "GIF"));

    f.proxy.setOrdering(true, Size, false);
    EXPECT_EQ(shown(f.proxy), QStringList({"a", "e", "d", "c", "b"}));
    f.proxy.setOrdering(true, Size, true);
    EXPECT_EQ(shown(f.proxy), QStringList({"d", "c", "b", "a", "e"}));
    // Whatever order came before: ties never follow the previous order.
    f.proxy.setOrdering(true, Text, true);
    f.proxy.setOrdering(true, Type, false);
    EXPECT_EQ(shown(f.proxy), QStringList({"b", "d", "c", "e", "a"}));
    f.proxy.setOrdering(true, Type, true);
    EXPECT_EQ(shown(f.proxy), QStringList({"a", "d", "c", "e", "b"}));
}

TEST(ListSortProxy, AnItemAddedWhileSortedLandsInItsPlace)
{
    Fixture f;
    for (const char *name : {"alpha", "delta", "Gamma"})
        f.model.addItem(item(QString::fromLatin1(name)));
    f.proxy.setOrdering(true, Text, false);
    QSignalSpy inserted(&f.proxy, &QAbstractItemModel::rowsInserted);
    QSignalSpy relaid(&f.proxy, &QAbstractItemModel::layoutChanged);

    f.model.addItem(item("Beta"));
    ASSERT_EQ(inserted.count(), 1);
    EXPECT_EQ(inserted.at(0).at(1).toInt(), 1); // inserted at row 1, nothing else moved
    EXPECT_EQ(relaid.count(), 0);
    EXPECT_EQ(shown(f.proxy), QStringList({"alpha", "Beta", "delta", "Gamma"}));

    // After its equals, descending too.
    f.proxy.setOrdering(true, Text, true);
    f.model.addItem(item("DELTA"));
    f.model.addItem(item("zulu"));
    EXPECT_EQ(shown(f.proxy), QStringList({"zulu", "Gamma", "delta", "DELTA", "Beta", "alpha"}));
}

TEST(ListSortProxy, AChangedKeyMovesTheItemAtOnce)
{
    Fixture f;
    f.model.addItem(item("a", "9", 9));
    f.model.addItem(item("b", "512", 512));
    f.model.addItem(item("c", "10,240", 10240));
    f.proxy.setOrdering(true, Size, false);
    f.model.setSubItem(0, Size, QStringLiteral("1,000,000"), 1000000);
    EXPECT_EQ(shown(f.proxy), QStringList({"b", "c", "a"}));
    // A change in another column moves nothing.
    f.model.setSubItem(1, Type, QStringLiteral("ZZZ"), std::nullopt);
    EXPECT_EQ(shown(f.proxy), QStringList({"b", "c", "a"}));
}

TEST(ListSortProxy, UnsortedKeepsThePresentOrderAndAppends)
{
    Fixture f;
    for (const char *name : {"c", "a", "b"})
        f.model.addItem(item(QString::fromLatin1(name)));
    f.proxy.setOrdering(true, Text, true);
    ASSERT_EQ(shown(f.proxy), QStringList({"c", "b", "a"}));

    f.proxy.setOrdering(false, Text, false);
    EXPECT_FALSE(f.proxy.sorted());
    EXPECT_EQ(shown(f.proxy), QStringList({"c", "b", "a"}));
    f.model.addItem(item("aa"));
    f.model.addItem(item("0"));
    EXPECT_EQ(shown(f.proxy), QStringList({"c", "b", "a", "aa", "0"}));
    // Key and order changes while unsorted leave the order alone.
    f.proxy.setOrdering(false, Size, true);
    EXPECT_EQ(shown(f.proxy), QStringList({"c", "b", "a", "aa", "0"}));

    // Sorted and unsorted again: the sorted order stays.
    f.proxy.setOrdering(true, Text, false);
    f.proxy.setOrdering(false, Text, false);
    EXPECT_EQ(shown(f.proxy), QStringList({"0", "a", "aa", "b", "c"}));

    // Emptied, the list starts again in the order of addition.
    f.model.clear();
    for (const char *name : {"y", "x", "z"})
        f.model.addItem(item(QString::fromLatin1(name)));
    EXPECT_EQ(shown(f.proxy), QStringList({"y", "x", "z"}));
    EXPECT_EQ(addedShown(f.proxy, f.model), std::vector<int>({1, 2, 3}));
}

TEST(ListSortProxy, PersistentIndexesFollowTheirItems)
{
    // The views' selection is kept through the proxy's persistent indexes.
    Fixture f;
    for (const char *name : {"b", "c", "a"})
        f.model.addItem(item(QString::fromLatin1(name)));
    const QPersistentModelIndex c = f.proxy.index(1, 0);
    f.proxy.setOrdering(true, Text, false);
    EXPECT_EQ(c.row(), 2);
    f.proxy.setOrdering(true, Text, true);
    EXPECT_EQ(c.row(), 0);
    f.proxy.setOrdering(false, Text, false);
    EXPECT_EQ(c.row(), 0);
    EXPECT_EQ(c.data().toString(), QStringLiteral("c"));
}
