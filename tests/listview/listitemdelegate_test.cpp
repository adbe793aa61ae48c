// The picture list's item delegate keeps each item within the width of its cell.
#include "listview/listitemdelegate.h"

#include "listview/listitemmodel.h"

#include <QListView>
#include <QStyleOptionViewItem>

#include <gtest/gtest.h>

using namespace pavix::listview;

TEST(ListItemDelegate, AnItemIsNoWiderThanItsCell)
{
    ListItemModel model;
    ListItem item;
    item.text = QString(80, QLatin1Char('w'));
    model.addItem(item);
    item.text = QStringLiteral("a");
    model.addItem(item);
    QListView view;
    ListItemDelegate delegate;
    QStyleOptionViewItem option;
    option.initFrom(&view);
    option.features |= QStyleOptionViewItem::HasDisplay;

    EXPECT_EQ(delegate.maxWidth(), 0);
    const QSize natural = delegate.sizeHint(option, model.index(0, 0));
    ASSERT_GT(natural.width(), 120);
    delegate.setMaxWidth(120);
    EXPECT_EQ(delegate.sizeHint(option, model.index(0, 0)), QSize(120, natural.height()));
    // A short name keeps its own width.
    const QSize shortName = delegate.sizeHint(option, model.index(1, 0));
    EXPECT_LT(shortName.width(), 120);
    delegate.setMaxWidth(0);
    EXPECT_EQ(delegate.sizeHint(option, model.index(0, 0)), natural);
}
