#include "listview/qtlistview.h"

#include "listview/listheader.h"
#include "platform/imagelist.h"
#include "support/printers.h"

#include <QApplication>
#include <QHeaderView>
#include <QIcon>
#include <QListView>
#include <QSignalSpy>
#include <QTest>
#include <QTreeView>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace pavix::listview;
using pavix::platform::ImageList;

namespace {

constexpr double TwipsPerPixel = 15.0;

struct Entry {
    const char *name;
    std::int64_t bytes;
    const char *type;
};

// A folder as the catalogue lists it: by name ignoring case.
const std::vector<Entry> Folder = {
    {"alpha.bmp", 10240, "BMP image"},        {"Beta.jpg", 9, "JPEG image"},   {"delta.gif", 512, "GIF image"},
    {"Gamma.bmp", 3000000000LL, "BMP image"}, {"omega.ico", 512, "ICO image"},
};

void addEntry(QtListView &lv, const Entry &entry)
{
    const int index = lv.addItem(QString::fromUtf8(entry.name), 1);
    lv.setSubItem(index, 1, QLocale(QLocale::English).toString(entry.bytes), entry.bytes);
    lv.setSubItem(index, 2, QString::fromUtf8(entry.type));
}

QImage filled(int sizePx, Qt::GlobalColor colour)
{
    QImage image(sizePx, sizePx, QImage::Format_ARGB32);
    image.fill(colour);
    return image;
}

// One icon for every item, as the catalogue gives one per type.
struct Icons {
    ImageList large;
    ImageList small;
    Icons()
    {
        large.add(QStringLiteral("BMP"), filled(32, Qt::red));
        small.add(QStringLiteral("BMP"), filled(16, Qt::blue));
    }
};

std::unique_ptr<QtListView> shownList(const std::vector<Entry> &entries = Folder)
{
    static const Icons icons;
    auto lv = std::make_unique<QtListView>(nullptr, TwipsPerPixel);
    lv->resize(420, 300);
    lv->setIcons(&icons.large);
    lv->setSmallIcons(&icons.small);
    lv->addColumn(QStringLiteral("FILENAME"), QStringLiteral("Name         "), 1500);
    lv->addColumn(QStringLiteral("FILESIZE"), QStringLiteral("Size  (bytes)"), 1500);
    lv->addColumn(QStringLiteral("FILETYPE"), QStringLiteral("Type         "), 1500);
    for (const Entry &entry : entries)
        addEntry(*lv, entry);
    lv->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(lv.get()));
    return lv;
}

QStringList texts(const QtListView &lv)
{
    QStringList out;
    for (int i = 1; i <= lv.count(); ++i)
        out << lv.itemText(i);
    return out;
}

std::vector<int> addedPositions(const QtListView &lv)
{
    std::vector<int> out;
    for (int i = 1; i <= lv.count(); ++i)
        out.push_back(lv.addedPosition(i));
    return out;
}

// A point of item `index` in the current view's viewport.
QPoint pointOnItem(const QtListView &lv, int index)
{
    QAbstractItemView *view = lv.currentView();
    const QRect rect = lv.itemRect(index);
    return view->viewport()->mapFrom(&lv, rect.center());
}

// A point of the viewport well away from every item.
QPoint emptyPoint(const QtListView &lv)
{
    QWidget *viewport = lv.currentView()->viewport();
    return QPoint(viewport->width() - 5, viewport->height() - 5);
}

// Records the notifications in the order they come.
struct Recorder {
    struct Event {
        QString kind;
        int a = 0;
        int b = 0;
        double x = 0;
        double y = 0;
        int selectedAtTheTime = -1;
    };
    std::vector<Event> events;

    explicit Recorder(QtListView &lv)
    {
        QObject::connect(&lv, &QtListView::mouseDown, &lv, [this](int button, int shift, double x, double y) {
            events.push_back({QStringLiteral("mouseDown"), button, shift, x, y});
        });
        QObject::connect(&lv, &QtListView::itemClick, &lv, [this, &lv](int index) {
            events.push_back({QStringLiteral("itemClick"), index, 0, 0, 0, lv.selectedItem()});
        });
        QObject::connect(&lv, &QtListView::keyDown, &lv, [this](int key, int shift) {
            events.push_back({QStringLiteral("keyDown"), key, shift});
        });
        QObject::connect(&lv, &QtListView::dblClick, &lv, [this] { events.push_back({QStringLiteral("dblClick")}); });
        QObject::connect(&lv, &QtListView::columnClick, &lv, [this](int index1) {
            events.push_back({QStringLiteral("columnClick"), index1});
        });
    }

    QStringList kinds() const
    {
        QStringList out;
        for (const Event &e : events)
            out << e.kind;
        return out;
    }
};

const ListLayout AllViews[] = {ListLayout::LargeIcons, ListLayout::SmallIcons, ListLayout::List, ListLayout::Details};

} // namespace

TEST(QtListView, LayoutsLookLikeAFileManager)
{
    auto lv = shownList();
    lv->setView(ListLayout::LargeIcons);
    auto *list = qobject_cast<QListView *>(lv->currentView());
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->viewMode(), QListView::IconMode);
    EXPECT_EQ(list->iconSize(), QSize(32, 32));
    EXPECT_EQ(list->flow(), QListView::LeftToRight);
    EXPECT_TRUE(list->isWrapping());
    EXPECT_EQ(list->movement(), QListView::Static);
    // The second name sits beside the first, under nothing.
    EXPECT_GT(lv->itemRect(2).left(), lv->itemRect(1).right());
    EXPECT_GT(lv->itemRect(1).height(), 32);

    lv->setView(ListLayout::SmallIcons);
    EXPECT_EQ(list->viewMode(), QListView::ListMode);
    EXPECT_EQ(list->iconSize(), QSize(16, 16));
    EXPECT_EQ(list->flow(), QListView::LeftToRight);
    EXPECT_EQ(lv->itemRect(2).top(), lv->itemRect(1).top());

    lv->setView(ListLayout::List);
    EXPECT_EQ(list->flow(), QListView::TopToBottom);
    EXPECT_TRUE(list->isWrapping());
    EXPECT_EQ(lv->itemRect(2).left(), lv->itemRect(1).left());
    EXPECT_GT(lv->itemRect(2).top(), lv->itemRect(1).top());

    lv->setView(ListLayout::Details);
    auto *tree = qobject_cast<QTreeView *>(lv->currentView());
    ASSERT_NE(tree, nullptr);
    EXPECT_FALSE(tree->rootIsDecorated());
    EXPECT_FALSE(tree->isHeaderHidden());
    EXPECT_EQ(tree->iconSize(), QSize(16, 16));
    EXPECT_TRUE(tree->isVisible());
    EXPECT_FALSE(list->isVisible());
    EXPECT_EQ(tree->model()->data(tree->model()->index(0, 1)).toString(), QStringLiteral("10,240"));
    EXPECT_EQ(tree->model()->headerData(2, Qt::Horizontal).toString(), QStringLiteral("Type         "));

    // A layout value outside the four is ignored.
    lv->setView(static_cast<ListLayout>(7));
    EXPECT_EQ(lv->view(), ListLayout::Details);
}

TEST(QtListView, LayoutsKeepItemsSelectionAndOrder)
{
    auto lv = shownList();
    lv->setSortKey(1);
    lv->setSorted(true);
    lv->setSelectedItem(lv->findItem(QStringLiteral("delta.gif")));
    const QStringList order = texts(*lv);
    for (ListLayout view : AllViews) {
        lv->setView(view);
        EXPECT_EQ(lv->view(), view);
        EXPECT_EQ(lv->count(), 5);
        EXPECT_EQ(texts(*lv), order);
        ASSERT_NE(lv->selectedItem(), 0);
        EXPECT_EQ(lv->itemText(lv->selectedItem()), QStringLiteral("delta.gif"));
        EXPECT_TRUE(lv->currentView()->selectionModel()->isSelected(
            lv->currentView()->model()->index(lv->selectedItem() - 1, 0)));
    }
}

TEST(QtListView, SortsByEachKeyInBothOrders)
{
    auto lv = shownList();
    EXPECT_EQ(texts(*lv), QStringList({"alpha.bmp", "Beta.jpg", "delta.gif", "Gamma.bmp", "omega.ico"}));

    lv->setSortKey(0);
    lv->setSortOrder(1);
    lv->setSorted(true);
    EXPECT_EQ(texts(*lv), QStringList({"omega.ico", "Gamma.bmp", "delta.gif", "Beta.jpg", "alpha.bmp"}));

    // Sizes are numbers: 9 bytes before 10,240; the two 512-byte files keep their order.
    lv->setSortKey(1);
    lv->setSortOrder(0);
    EXPECT_EQ(texts(*lv), QStringList({"Beta.jpg", "delta.gif", "omega.ico", "alpha.bmp", "Gamma.bmp"}));
    lv->setSortOrder(1);
    EXPECT_EQ(texts(*lv), QStringList({"Gamma.bmp", "alpha.bmp", "delta.gif", "omega.ico", "Beta.jpg"}));

    lv->setSortKey(2);
    lv->setSortOrder(0);
    EXPECT_EQ(texts(*lv), QStringList({"alpha.bmp", "Gamma.bmp", "delta.gif", "omega.ico", "Beta.jpg"}));
    lv->setSortOrder(1);
    EXPECT_EQ(texts(*lv), QStringList({"Beta.jpg", "omega.ico", "delta.gif", "alpha.bmp", "Gamma.bmp"}));

    // Sorting never changes where each item was added: its place in the catalogue.
    for (int i = 1; i <= lv->count(); ++i) {
        const int added = lv->addedPosition(i);
        ASSERT_GE(added, 1);
        EXPECT_EQ(lv->itemText(i), QString::fromUtf8(Folder[static_cast<size_t>(added - 1)].name));
    }
    EXPECT_EQ(lv->addedPosition(0), 0);
    EXPECT_EQ(lv->addedPosition(6), 0);

    // Unsorted again keeps the present order, and new items go to the end.
    lv->setSorted(false);
    addEntry(*lv, {"aaa.gif", 1, "GIF image"});
    EXPECT_EQ(lv->itemText(6), QStringLiteral("aaa.gif"));
    EXPECT_EQ(lv->itemText(1), QStringLiteral("Beta.jpg"));
}

TEST(QtListView, ItemsAddedToASortedListGoToTheirPlace)
{
    // The catalogue adds an item, then sets its size and type through the position it
    // got back: both must land on that item even though sorting by size moves it.
    auto lv = shownList({});
    lv->setSortKey(1);
    lv->setSortOrder(0);
    lv->setSorted(true);
    std::vector<Entry> entries = Folder;
    entries.push_back({"zeta.bmp", 100, "BMP image"});
    for (const Entry &entry : entries)
        addEntry(*lv, entry);
    EXPECT_EQ(texts(*lv), QStringList({"Beta.jpg", "zeta.bmp", "delta.gif", "omega.ico", "alpha.bmp", "Gamma.bmp"}));
    for (int i = 1; i <= lv->count(); ++i) {
        const Entry &entry = entries[static_cast<size_t>(lv->addedPosition(i) - 1)];
        EXPECT_EQ(lv->itemText(i), QString::fromUtf8(entry.name));
        EXPECT_EQ(lv->subItemText(i, 2), QString::fromUtf8(entry.type));
        EXPECT_EQ(lv->subItemText(i, 1), QLocale(QLocale::English).toString(entry.bytes));
    }

    // Sorted by name, a new item is in place at once.
    lv->setSortKey(0);
    const int at = lv->addItem(QStringLiteral("BETA.jpg"), 1);
    EXPECT_EQ(at, 3); // after alpha.bmp and the Beta.jpg added before it
    EXPECT_EQ(lv->itemText(3), QStringLiteral("BETA.jpg"));
    EXPECT_EQ(lv->addedPosition(3), 7);

    // The displayed order follows too once the event loop runs.
    lv->setSortKey(1);
    QAbstractItemModel *model = lv->currentView()->model();
    const int moved = lv->addItem(QStringLiteral("huge.bmp"), 1);
    lv->setSubItem(moved, 1, QStringLiteral("9,999,999,999"), 9999999999LL);
    EXPECT_TRUE(QTest::qWaitFor([&] { return model->rowCount() == 8; }, 2000));
    EXPECT_EQ(model->data(model->index(7, 0)).toString(), QStringLiteral("huge.bmp"));

    lv->clear();
    EXPECT_EQ(lv->count(), 0);
    EXPECT_EQ(lv->addItem(QStringLiteral("again.gif"), 1), 1);
    EXPECT_EQ(lv->addedPosition(1), 1);
}

TEST(QtListView, ItemsWaitForTheirSubItemsWhileSortedBySize)
{
    // Sorted by a sub-item, a new item counts as appended until its sub-items are given;
    // the next other call places the waiting items, each at its place.
    auto lv = shownList();
    lv->setSortKey(1);
    lv->setSorted(true);
    QSignalSpy inserted(lv->currentView()->model(), &QAbstractItemModel::rowsInserted);
    const int tiny = lv->addItem(QStringLiteral("tiny.gif"), 1);
    const int large = lv->addItem(QStringLiteral("large.bmp"), 1);
    EXPECT_EQ(tiny, 6);
    EXPECT_EQ(large, 7);
    lv->setSubItem(large, 1, QStringLiteral("20,000"), 20000);
    lv->setSubItem(tiny, 1, QStringLiteral("1"), 1);
    lv->setSubItem(tiny, 2, QStringLiteral("GIF image"));
    lv->setSubItem(large, 2, QStringLiteral("BMP image"));
    EXPECT_EQ(inserted.count(), 0);

    EXPECT_EQ(lv->count(), 7);
    EXPECT_EQ(texts(*lv),
              QStringList({"tiny.gif", "Beta.jpg", "delta.gif", "omega.ico", "alpha.bmp", "large.bmp", "Gamma.bmp"}));
    EXPECT_EQ(addedPositions(*lv), std::vector<int>({6, 2, 3, 5, 1, 7, 4}));
    EXPECT_EQ(lv->subItemText(1, 2), QStringLiteral("GIF image"));
    EXPECT_EQ(lv->subItemText(6, 1), QStringLiteral("20,000"));

    // A waiting item is placed by any other call, or by the event loop.
    lv->addItem(QStringLiteral("empty.jpg"), 1);
    EXPECT_EQ(lv->findItem(QStringLiteral("empty.jpg")), 1); // no size goes first
    QAbstractItemModel *model = lv->currentView()->model();
    const int later = lv->addItem(QStringLiteral("later.jpg"), 1);
    lv->setSubItem(later, 1, QStringLiteral("0"), 0);
    EXPECT_EQ(model->rowCount(), 8);
    EXPECT_TRUE(QTest::qWaitFor([&] { return model->rowCount() == 9; }, 2000));
    EXPECT_EQ(model->data(model->index(1, 0)).toString(), QStringLiteral("later.jpg"));

    // Emptying the list drops waiting items too.
    lv->addItem(QStringLiteral("gone.jpg"), 1);
    lv->clear();
    EXPECT_EQ(lv->count(), 0);
    EXPECT_EQ(lv->findItem(QStringLiteral("gone.jpg")), 0);
}

TEST(QtListView, UnsortedItemsJoinTheEndTogether)
{
    auto lv = shownList({});
    QSignalSpy inserted(lv->currentView()->model(), &QAbstractItemModel::rowsInserted);
    for (const Entry &entry : Folder)
        addEntry(*lv, entry);
    EXPECT_EQ(inserted.count(), 0);
    EXPECT_EQ(lv->count(), 5);
    ASSERT_EQ(inserted.count(), 1);
    EXPECT_EQ(inserted.at(0).at(1).toInt(), 0);
    EXPECT_EQ(inserted.at(0).at(2).toInt(), 4);
    for (int i = 1; i <= 5; ++i) {
        EXPECT_EQ(lv->itemText(i), QString::fromUtf8(Folder[static_cast<size_t>(i - 1)].name));
        EXPECT_EQ(lv->subItemText(i, 2), QString::fromUtf8(Folder[static_cast<size_t>(i - 1)].type));
        EXPECT_EQ(lv->addedPosition(i), i);
    }
    // Each position returned is the item's own.
    EXPECT_EQ(lv->addItem(QStringLiteral("six.gif"), 1), 6);
    EXPECT_EQ(lv->addItem(QStringLiteral("seven.gif"), 1), 7);
    lv->setSubItem(6, 2, QStringLiteral("GIF image"));
    EXPECT_EQ(lv->itemText(6), QStringLiteral("six.gif"));
    EXPECT_EQ(lv->subItemText(6, 2), QStringLiteral("GIF image"));
    EXPECT_EQ(lv->itemText(7), QStringLiteral("seven.gif"));
}

TEST(QtListView, AChangedSortKeyMovesAnItemAtOnce)
{
    auto lv = shownList();
    lv->setSortKey(1);
    lv->setSorted(true);
    ASSERT_EQ(lv->itemText(1), QStringLiteral("Beta.jpg"));
    lv->setSubItem(1, 1, QStringLiteral("9,999,999,999"), 9999999999LL);
    EXPECT_EQ(lv->itemText(5), QStringLiteral("Beta.jpg"));
    EXPECT_EQ(lv->itemText(1), QStringLiteral("delta.gif"));
    // Another sub-item moves nothing.
    lv->setSubItem(1, 2, QStringLiteral("ZZZ"));
    EXPECT_EQ(lv->itemText(1), QStringLiteral("delta.gif"));
    EXPECT_EQ(lv->subItemText(1, 2), QStringLiteral("ZZZ"));
    // Out of range is ignored.
    lv->setSubItem(0, 1, QStringLiteral("x"), 1);
    lv->setSubItem(6, 1, QStringLiteral("x"), 1);
    lv->setSubItem(1, 3, QStringLiteral("x"), 1);
    EXPECT_EQ(lv->count(), 5);
    EXPECT_EQ(lv->itemText(1), QStringLiteral("delta.gif"));
}

TEST(QtListView, SortingKeepsTheSelectedItem)
{
    auto lv = shownList();
    lv->setView(ListLayout::Details);
    lv->setSelectedItem(2); // Beta.jpg
    lv->setSortKey(1);
    lv->setSortOrder(1);
    lv->setSorted(true);
    EXPECT_EQ(lv->selectedItem(), 5);
    EXPECT_EQ(lv->itemText(lv->selectedItem()), QStringLiteral("Beta.jpg"));
    EXPECT_EQ(lv->currentView()->currentIndex().row(), 4);
}

TEST(QtListView, FindItemMatchesWholeNamesInDisplayedOrder)
{
    auto lv = shownList();
    addEntry(*lv, {"delta.gif", 100, "GIF image"});
    EXPECT_EQ(lv->findItem(QStringLiteral("delta.gif")), 3);
    EXPECT_EQ(lv->findItem(QStringLiteral("DELTA.GIF")), 0);
    EXPECT_EQ(lv->findItem(QStringLiteral("delta")), 0);
    EXPECT_EQ(lv->findItem(QString()), 0);
    lv->setSortKey(1);
    lv->setSorted(true);
    // The 100-byte copy now comes first among the two.
    EXPECT_EQ(lv->findItem(QStringLiteral("delta.gif")), 2);
    EXPECT_EQ(lv->addedPosition(2), 6);
}

TEST(QtListView, HitTestFindsItemsAndEmptySpace)
{
    auto lv = shownList();
    for (ListLayout view : AllViews) {
        SCOPED_TRACE(static_cast<int>(view));
        lv->setView(view);
        for (int index : {1, 4}) {
            const QRect rect = lv->itemRect(index);
            ASSERT_TRUE(rect.isValid());
            const QPoint c = rect.center();
            EXPECT_EQ(lv->hitTest(c.x() * 15, c.y() * 15), index);
        }
        const QPoint empty = lv->currentView()->viewport()->mapTo(lv.get(), emptyPoint(*lv));
        EXPECT_EQ(lv->hitTest(empty.x() * 15, empty.y() * 15), 0);
        EXPECT_EQ(lv->hitTest(-150, -150), 0);
    }
    // In details, the header above the first row is no item.
    lv->setView(ListLayout::Details);
    const int headerY = lv->header()->height() / 2;
    EXPECT_EQ(lv->hitTest(30 * 15, headerY * 15), 0);

    // Twips follow the factor.
    lv->setTwipsPerPixel(7.5);
    const QPoint c = lv->itemRect(2).center();
    EXPECT_EQ(lv->hitTest(static_cast<int>(c.x() * 7.5), static_cast<int>(c.y() * 7.5)), 2);
}

TEST(QtListView, SelectingNothingLeavesNoCurrentItem)
{
    auto lv = shownList();
    lv->setView(ListLayout::Details);
    lv->setSelectedItem(3);
    EXPECT_EQ(lv->selectedItem(), 3);
    EXPECT_EQ(lv->currentView()->currentIndex().row(), 2);
    lv->setSelectedItem(0);
    EXPECT_EQ(lv->selectedItem(), 0);
    EXPECT_FALSE(lv->currentView()->currentIndex().isValid());
    lv->setSelectedItem(4);
    lv->setSelectedItem(99);
    EXPECT_EQ(lv->selectedItem(), 0);
    lv->setView(ListLayout::SmallIcons);
    EXPECT_FALSE(lv->currentView()->currentIndex().isValid());
}

TEST(QtListView, MouseDownComesFirstOnItemsAndEmptySpace)
{
    auto lv = shownList();
    for (ListLayout view : AllViews) {
        SCOPED_TRACE(static_cast<int>(view));
        lv->setView(view);
        lv->setSelectedItem(0);
        Recorder rec(*lv);
        QWidget *viewport = lv->currentView()->viewport();

        const QPoint onItem = pointOnItem(*lv, 3);
        QTest::mouseClick(viewport, Qt::LeftButton, Qt::NoModifier, onItem);
        ASSERT_EQ(rec.kinds(), QStringList({"mouseDown", "itemClick"}));
        const QPoint inWidget = viewport->mapTo(lv.get(), onItem);
        EXPECT_EQ(rec.events[0].a, 1);
        EXPECT_EQ(rec.events[0].b, 0);
        EXPECT_DOUBLE_EQ(rec.events[0].x, inWidget.x() * 15.0);
        EXPECT_DOUBLE_EQ(rec.events[0].y, inWidget.y() * 15.0);
        EXPECT_EQ(rec.events[1].a, 3);
        // The item is selected by the time the click is reported.
        EXPECT_EQ(rec.events[1].selectedAtTheTime, 3);

        // Ctrl+click on the selected item keeps it selected.
        rec.events.clear();
        QTest::mouseClick(viewport, Qt::LeftButton, Qt::ControlModifier, onItem);
        ASSERT_EQ(rec.kinds(), QStringList({"mouseDown", "itemClick"}));
        EXPECT_EQ(rec.events[0].b, 2);
        EXPECT_EQ(rec.events[1].selectedAtTheTime, 3);
        EXPECT_EQ(lv->selectedItem(), 3);
        QTest::keyClick(lv->currentView(), Qt::Key_Space, Qt::ControlModifier);
        EXPECT_EQ(lv->selectedItem(), 3);

        rec.events.clear();
        QTest::mouseClick(viewport, Qt::LeftButton, Qt::NoModifier, emptyPoint(*lv));
        ASSERT_EQ(rec.kinds(), QStringList({"mouseDown"}));
        EXPECT_EQ(lv->hitTest(static_cast<int>(rec.events[0].x), static_cast<int>(rec.events[0].y)), 0);

        rec.events.clear();
        QTest::mouseClick(viewport, Qt::RightButton, Qt::ShiftModifier | Qt::ControlModifier, emptyPoint(*lv));
        ASSERT_EQ(rec.kinds(), QStringList({"mouseDown"}));
        EXPECT_EQ(rec.events[0].a, 2);
        EXPECT_EQ(rec.events[0].b, 3);
        QObject::disconnect(lv.get(), nullptr, lv.get(), nullptr);
    }
}

TEST(QtListView, MouseDownCanClearTheSelectionOnEmptySpace)
{
    // What the main window does: a left press on empty space clears the selection.
    auto lv = shownList();
    lv->setView(ListLayout::List);
    QObject::connect(lv.get(), &QtListView::mouseDown, lv.get(), [&](int button, int, double x, double y) {
        if (lv->hitTest(static_cast<int>(x), static_cast<int>(y)) == 0 && (button & 1))
            lv->setSelectedItem(0);
    });
    QWidget *viewport = lv->currentView()->viewport();
    QTest::mouseClick(viewport, Qt::LeftButton, Qt::NoModifier, pointOnItem(*lv, 2));
    EXPECT_EQ(lv->selectedItem(), 2);
    QTest::mouseClick(viewport, Qt::LeftButton, Qt::NoModifier, emptyPoint(*lv));
    EXPECT_EQ(lv->selectedItem(), 0);
    EXPECT_FALSE(lv->currentView()->currentIndex().isValid());
}

TEST(QtListView, APressWhoseHandlerEmptiedTheListSelectsNothing)
{
    // A refresh chosen from the context menu refills the list inside mouseDown; the press
    // must not then select whatever item took the place under the mouse.
    auto lv = shownList();
    lv->setView(ListLayout::Details);
    QObject::connect(lv.get(), &QtListView::mouseDown, lv.get(), [&] {
        lv->clear();
        for (const Entry &entry : Folder)
            addEntry(*lv, entry);
    });
    QSignalSpy clicks(lv.get(), &QtListView::itemClick);
    QTest::mouseClick(lv->currentView()->viewport(), Qt::RightButton, Qt::NoModifier, pointOnItem(*lv, 2));
    EXPECT_EQ(clicks.count(), 0);
    EXPECT_EQ(lv->selectedItem(), 0);
    EXPECT_EQ(lv->count(), 5);
}

TEST(QtListView, KeysAreReportedAndArrowsStillMove)
{
    auto lv = shownList();
    for (ListLayout view : {ListLayout::List, ListLayout::Details}) {
        SCOPED_TRACE(static_cast<int>(view));
        lv->setView(view);
        lv->setSelectedItem(1);
        Recorder rec(*lv);
        QAbstractItemView *items = lv->currentView();
        QTest::keyClick(items, Qt::Key_Down);
        ASSERT_EQ(rec.kinds(), QStringList({"keyDown", "itemClick"}));
        EXPECT_EQ(rec.events[0].a, 40);
        EXPECT_EQ(rec.events[1].a, 2);
        EXPECT_EQ(rec.events[1].selectedAtTheTime, 2);
        EXPECT_EQ(lv->selectedItem(), 2);

        // A key that moves nothing is reported alone, with its shift mask.
        // The Shift key itself comes first.
        rec.events.clear();
        QTest::keyClick(items, Qt::Key_F9, Qt::ShiftModifier);
        ASSERT_EQ(rec.kinds(), QStringList({"keyDown", "keyDown"}));
        EXPECT_EQ(rec.events[0].a, 16);
        EXPECT_EQ(rec.events[1].a, 120);
        EXPECT_EQ(rec.events[1].b, 1);
        rec.events.clear();
        QTest::keyClick(items, Qt::Key_Return);
        ASSERT_EQ(rec.kinds(), QStringList({"keyDown"}));
        EXPECT_EQ(rec.events[0].a, 13);
        QObject::disconnect(lv.get(), nullptr, lv.get(), nullptr);
    }
    // In rows of icons, Right moves to the next item.
    lv->setView(ListLayout::LargeIcons);
    lv->setSelectedItem(1);
    QTest::keyClick(lv->currentView(), Qt::Key_Right);
    EXPECT_EQ(lv->selectedItem(), 2);
}

TEST(QtListView, DoubleClickAndColumnClick)
{
    auto lv = shownList();
    lv->setView(ListLayout::Details);
    Recorder rec(*lv);
    QTest::mouseDClick(lv->currentView()->viewport(), Qt::LeftButton, Qt::NoModifier, pointOnItem(*lv, 2));
    EXPECT_EQ(rec.kinds().count(QStringLiteral("dblClick")), 1);
    EXPECT_EQ(rec.kinds().last(), QStringLiteral("dblClick"));
    EXPECT_EQ(rec.kinds().first(), QStringLiteral("mouseDown"));

    rec.events.clear();
    QHeaderView *header = lv->header();
    for (int section : {1, 0, 2}) {
        const QPoint at(header->sectionViewportPosition(section) + 10, header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    }
    ASSERT_EQ(rec.kinds(), QStringList({"columnClick", "columnClick", "columnClick"}));
    EXPECT_EQ(rec.events[0].a, 2);
    EXPECT_EQ(rec.events[1].a, 1);
    EXPECT_EQ(rec.events[2].a, 3);
    // The widget reports the click; the order is the program's to change.
    EXPECT_FALSE(lv->sorted());
    EXPECT_EQ(lv->itemText(1), QStringLiteral("alpha.bmp"));
}

TEST(QtListView, ColumnsKeepTheirCaptionsAndWidthsInTwips)
{
    auto lv = shownList();
    lv->setView(ListLayout::Details);
    ASSERT_EQ(lv->columnCount(), 3);
    EXPECT_EQ(lv->columnKey(2), QStringLiteral("FILESIZE"));
    EXPECT_EQ(lv->columnText(1), QStringLiteral("Name         "));
    EXPECT_EQ(lv->columnText(1).size(), 13);
    EXPECT_TRUE(lv->columnKey(4).isEmpty());
    EXPECT_EQ(lv->columnWidth(0), 0.0);

    QHeaderView *header = lv->header();
    EXPECT_EQ(header->sectionSize(0), 100);
    lv->setColumnWidth(2, 1390);
    EXPECT_DOUBLE_EQ(lv->columnWidth(2), 1390.0);
    EXPECT_EQ(header->sectionSize(1), 93); // 92.67 pixels
    lv->setColumnWidth(2, -5);
    EXPECT_DOUBLE_EQ(lv->columnWidth(2), 1390.0);

    lv->setTwipsPerPixel(7.5);
    EXPECT_EQ(header->sectionSize(0), 200);
    EXPECT_DOUBLE_EQ(lv->columnWidth(1), 1500.0);

    // A width the user drags is read back in twips.
    header->resizeSection(2, 60);
    EXPECT_DOUBLE_EQ(lv->columnWidth(3), 450.0);
    EXPECT_NEAR(lv->widthTwips(), lv->width() * 7.5, 1e-9);
}

TEST(QtListView, HeaderArrowsAndHotTrackingReachTheHeader)
{
    // How the header draws them: listheader_test.cpp.
    auto lv = shownList();
    lv->setView(ListLayout::Details);
    auto *header = dynamic_cast<ListHeader *>(lv->header());
    ASSERT_NE(header, nullptr);
    EXPECT_EQ(lv->currentView()->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Size  (bytes)"));

    for (int column0 : {0, 1, 2})
        EXPECT_FALSE(lv->headerImage(column0).has_value());
    lv->setHeaderImage(1, 1, true);
    EXPECT_EQ(lv->headerImage(1), 1);
    EXPECT_EQ(header->arrow(1), 1);
    EXPECT_FALSE(lv->headerImage(0).has_value());

    // Moving the arrow to another column takes it off the first.
    lv->setHeaderImage(1, 0, false);
    lv->setHeaderImage(0, 0, true);
    EXPECT_FALSE(lv->headerImage(1).has_value());
    EXPECT_FALSE(header->arrow(1).has_value());
    EXPECT_EQ(lv->headerImage(0), 0);

    // A column that does not exist is ignored.
    lv->setHeaderImage(5, 0, true);
    lv->setHeaderImage(-1, 0, true);
    EXPECT_FALSE(lv->headerImage(5).has_value());
    EXPECT_FALSE(header->arrow(5).has_value());

    EXPECT_FALSE(lv->headerHotTrack());
    lv->setHeaderHotTrack(true);
    EXPECT_TRUE(lv->headerHotTrack());
    EXPECT_TRUE(header->hotTrack());
    lv->setHeaderHotTrack(false);
    EXPECT_FALSE(header->hotTrack());
}

TEST(QtListView, IconsComeFromTheAttachedListsByPosition)
{
    ImageList large;
    ImageList small;
    large.add(QStringLiteral("BMP"), filled(32, Qt::red));
    small.add(QStringLiteral("BMP"), filled(16, Qt::blue));

    auto lv = std::make_unique<QtListView>();
    EXPECT_EQ(lv->icons(), nullptr);
    EXPECT_EQ(lv->smallIcons(), nullptr);
    lv->addItem(QStringLiteral("a.bmp"), 1);
    EXPECT_TRUE(lv->currentView()
                    ->model()
                    ->data(lv->currentView()->model()->index(0, 0), Qt::DecorationRole)
                    .value<QIcon>()
                    .isNull());
    lv->resize(420, 300);
    lv->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(lv.get()));
    lv->setIcons(&large);
    lv->setSmallIcons(&small);
    EXPECT_EQ(lv->icons(), &large);
    EXPECT_EQ(lv->smallIcons(), &small);
    const int second = lv->addItem(QStringLiteral("x.jpg"), 2);

    QAbstractItemModel *model = lv->currentView()->model();
    const auto iconOf = [&](int index) {
        return model->data(model->index(index - 1, 0), Qt::DecorationRole).value<QIcon>();
    };
    const QIcon first = iconOf(1);
    ASSERT_FALSE(first.isNull());
    EXPECT_EQ(first.pixmap(32, 32).toImage().pixelColor(16, 16), QColor(Qt::red));
    EXPECT_EQ(first.pixmap(16, 16).toImage().pixelColor(8, 8), QColor(Qt::blue));
    EXPECT_TRUE(iconOf(second).isNull());

    // Images added later show once the list is told.
    large.add(QStringLiteral("JPG"), filled(32, Qt::green));
    small.add(QStringLiteral("JPG"), filled(16, Qt::green));
    lv->iconsChanged();
    const QIcon jpg = iconOf(second);
    ASSERT_FALSE(jpg.isNull());
    EXPECT_EQ(jpg.pixmap(32, 32).toImage().pixelColor(5, 5), QColor(Qt::green));

    // Drawn at 16 pixels in the small layouts, 32 in large icons.
    lv->setView(ListLayout::SmallIcons);
    EXPECT_EQ(lv->currentView()->iconSize(), QSize(16, 16));
    QWidget *viewport = lv->currentView()->viewport();
    const QImage shot = viewport->grab().toImage();
    const QRect item(viewport->mapFrom(lv.get(), lv->itemRect(1).topLeft()), lv->itemRect(1).size());
    bool blueSeen = false;
    for (int x = item.left(); x < item.left() + 24 && !blueSeen; ++x)
        blueSeen = shot.pixelColor(x, item.center().y()) == QColor(Qt::blue);
    EXPECT_TRUE(blueSeen);
}
