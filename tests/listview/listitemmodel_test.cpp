// The picture list's items as added: what each column and role shows, positions of
// addition, captions and icons.
#include "listview/listitemmodel.h"

#include "platform/imagelist.h"
#include "support/printers.h"

#include <QColor>
#include <QSignalSpy>

#include <gtest/gtest.h>

using namespace pavix::listview;
using pavix::platform::ImageList;

namespace {

QImage filled(int sizePx, Qt::GlobalColor colour)
{
    QImage image(sizePx, sizePx, QImage::Format_ARGB32);
    image.fill(colour);
    return image;
}

ListItem picture(const QString &text, int icon = 0)
{
    ListItem item;
    item.text = text;
    item.icon = icon;
    return item;
}

} // namespace

TEST(ListItemModel, ItemsKeepTheOrderAndPositionOfAddition)
{
    ListItemModel model;
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_EQ(model.columnCount(), 3);
    ListItem first = picture(QStringLiteral("b.bmp"));
    first.added = 42; // the model numbers the items itself
    EXPECT_EQ(model.addItem(first), 0);
    EXPECT_EQ(model.addItem(picture(QStringLiteral("a.jpg"))), 1);
    ASSERT_EQ(model.rowCount(), 2);
    EXPECT_EQ(model.item(0)->added, 1);
    EXPECT_EQ(model.item(1)->added, 2);
    EXPECT_EQ(model.item(1)->text, QStringLiteral("a.jpg"));
    EXPECT_EQ(model.item(2), nullptr);
    EXPECT_EQ(model.item(-1), nullptr);

    model.clear();
    EXPECT_EQ(model.rowCount(), 0);
    model.addItem(picture(QStringLiteral("c.gif")));
    EXPECT_EQ(model.item(0)->added, 1);
}

TEST(ListItemModel, ColumnsShowTheTextAndSubItems)
{
    ListItemModel model;
    model.addItem(picture(QStringLiteral("a.jpg")));
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    model.setSubItem(0, 1, QStringLiteral("10,240"), 10240);
    model.setSubItem(0, 2, QStringLiteral("JPEG image"), std::nullopt);
    ASSERT_EQ(changed.count(), 2);
    EXPECT_EQ(changed.at(0).at(0).toModelIndex(), model.index(0, 1));
    EXPECT_EQ(changed.at(1).at(0).toModelIndex(), model.index(0, 2));

    EXPECT_EQ(model.index(0, 0).data().toString(), QStringLiteral("a.jpg"));
    EXPECT_EQ(model.index(0, 1).data().toString(), QStringLiteral("10,240"));
    EXPECT_EQ(model.index(0, 2).data().toString(), QStringLiteral("JPEG image"));
    EXPECT_EQ(model.index(0, 0).data(Qt::ToolTipRole).toString(), QStringLiteral("a.jpg"));
    EXPECT_FALSE(model.index(0, 1).data(Qt::ToolTipRole).isValid());
    // Numbers line up on the right; texts keep the default.
    EXPECT_EQ(model.index(0, 1).data(Qt::TextAlignmentRole).toInt(),
              static_cast<int>(Qt::AlignRight | Qt::AlignVCenter));
    EXPECT_FALSE(model.index(0, 2).data(Qt::TextAlignmentRole).isValid());
    EXPECT_EQ(model.item(0)->number[0], 10240);
    EXPECT_EQ(model.item(0)->number[1], std::nullopt);
    EXPECT_EQ(model.flags(model.index(0, 0)), Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren);

    // Sub-items other than 1 and 2, and rows out of range, are ignored.
    model.setSubItem(0, 3, QStringLiteral("x"), std::nullopt);
    model.setSubItem(0, 0, QStringLiteral("x"), std::nullopt);
    model.setSubItem(1, 1, QStringLiteral("x"), std::nullopt);
    EXPECT_EQ(changed.count(), 2);
    EXPECT_EQ(model.index(0, 0).data().toString(), QStringLiteral("a.jpg"));
}

TEST(ListItemModel, CaptionsAddColumnsBeyondThree)
{
    ListItemModel model;
    model.setCaptions({QStringLiteral("Name"), QStringLiteral("Size")});
    EXPECT_EQ(model.columnCount(), 3);
    EXPECT_EQ(model.headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("Size"));
    EXPECT_FALSE(model.headerData(2, Qt::Horizontal, Qt::DisplayRole).isValid());
    EXPECT_FALSE(model.headerData(0, Qt::Vertical, Qt::DisplayRole).isValid());
    QSignalSpy inserted(&model, &QAbstractItemModel::columnsInserted);
    model.setCaptions({QStringLiteral("Name"), QStringLiteral("Size"), QStringLiteral("Type"), QStringLiteral("Date")});
    EXPECT_EQ(model.columnCount(), 4);
    EXPECT_EQ(inserted.count(), 1);
    EXPECT_EQ(model.headerData(3, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("Date"));
}

TEST(ListItemModel, IconsComeFromBothListsByPosition)
{
    ImageList large;
    ImageList small;
    large.add(QStringLiteral("BMP"), filled(32, Qt::red));
    small.add(QStringLiteral("BMP"), filled(16, Qt::blue));
    ListItemModel model;
    model.addItem(picture(QStringLiteral("a.bmp"), 1));
    model.addItem(picture(QStringLiteral("b.jpg"), 2));
    model.addItem(picture(QStringLiteral("c"), 0));
    const auto iconOf = [&](int row) { return model.index(row, 0).data(Qt::DecorationRole).value<QIcon>(); };
    EXPECT_TRUE(iconOf(0).isNull()); // no sources yet

    model.setIconSources(&large, &small);
    ASSERT_FALSE(iconOf(0).isNull());
    EXPECT_EQ(iconOf(0).pixmap(32, 32).toImage().pixelColor(16, 16), QColor(Qt::red));
    EXPECT_EQ(iconOf(0).pixmap(16, 16).toImage().pixelColor(8, 8), QColor(Qt::blue));
    EXPECT_TRUE(iconOf(1).isNull());
    EXPECT_TRUE(iconOf(2).isNull());
    EXPECT_FALSE(model.index(0, 1).data(Qt::DecorationRole).isValid());

    // Images added later show once the model is told.
    large.add(QStringLiteral("JPG"), filled(32, Qt::green));
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    model.iconsChanged();
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed.at(0).at(2).value<QList<int>>(), QList<int>({Qt::DecorationRole}));
    EXPECT_EQ(iconOf(1).pixmap(32, 32).toImage().pixelColor(5, 5), QColor(Qt::green));
}
