#pragma once
// The list of pictures as a Qt widget: the items as added (listitemmodel.h) under a
// sorting proxy that gives the displayed order (listsortproxy.h), shown by a QListView for
// the large-icon, small-icon and list layouts and by a QTreeView with a column header for
// the details layout (listitemview.h, listheader.h). Both views share the proxy and the
// selection, so switching layouts keeps the items, the selected item and the order.
//
// Notifications, in the program's masks (buttons 1 left, 2 right, 4 middle; shift 1 Shift,
// 2 Ctrl, 4 Alt) and virtual-key codes, with positions in this widget's coordinates, twips:
// - mouseDown comes first for every press, on an item or on empty space; when the press
//   lands on an item the view then selects it and itemClick follows. A handler of
//   mouseDown that empties the list (a refresh from the context menu) swallows the press.
// - keyDown comes for every key before the view acts on it. When the key moves the current
//   item (arrows, Page Up/Down, Home, End, typing a name), itemClick follows for the item
//   it moved to, so the preview follows the keyboard as it follows the mouse.
// - dblClick comes for a double click anywhere in the items area; columnClick for a click
//   on a column header, counting from 1.

#include "listview/listview.h"

#include <QRect>
#include <QString>
#include <QWidget>

#include <vector>

class QAbstractItemView;
class QHeaderView;
class QItemSelectionModel;
class QKeyEvent;
class QListView;
class QMouseEvent;
class QStackedLayout;
class QTreeView;

namespace pavix::listview {

class ListHeader;
class ListItemDelegate;
class ListItemModel;
class ListSortProxy;
struct ListItem;

class QtListView : public QWidget, public ListView {
    Q_OBJECT

public:
    // `twipsPerPixel` converts the program's twips to this widget's pixels (15 at 96 dpi);
    // 0 or less gives 15.
    explicit QtListView(QWidget *parent = nullptr, double twipsPerPixel = 15.0);
    ~QtListView() override;

    double twipsPerPixel() const { return m_twipsPerPixel; }
    // Changes the conversion factor and re-applies the column widths; 0 or less gives 15.
    void setTwipsPerPixel(double twipsPerPixel);
    // The widget's width and height in twips.
    double widthTwips() const;
    double heightTwips() const;

    // Unless the list is sorted by the item text, the new item waits at the end, with any
    // other new items, for its sub-items: the position returned names it for the
    // setSubItem calls that follow. Any other call, or the event loop, then adds the
    // waiting items to the order all at once; sorted by a sub-item, each goes to its place.
    int addItem(const QString &text, int iconPosition) override;
    // A sub-item of an item already placed that changes the sort key moves it to its
    // place at once.
    void setSubItem(int index, int subItem, const QString &text,
                    std::optional<std::int64_t> number = std::nullopt) override;
    QString itemText(int index) const override;
    QString subItemText(int index, int subItem) const override;
    int addedPosition(int index) const override;
    int count() const override;
    void clear() override;
    int findItem(const QString &text) const override;
    int hitTest(int xTwips, int yTwips) const override;
    int selectedItem() const override;
    // Selects the item at `index` and scrolls it into view; 0 (or an index out of range)
    // leaves no item selected and no current item.
    void setSelectedItem(int index) override;

    const platform::ImageList *icons() const override { return m_icons; }
    void setIcons(const platform::ImageList *list) override;
    const platform::ImageList *smallIcons() const override { return m_smallIcons; }
    void setSmallIcons(const platform::ImageList *list) override;
    void iconsChanged() override;

    ListLayout view() const override { return m_view; }
    // A value outside the four layouts is ignored.
    void setView(ListLayout view) override;

    void addColumn(const QString &key, const QString &text, double widthTwips) override;
    int columnCount() const override { return static_cast<int>(m_columns.size()); }
    // Key, caption and width (twips) of a column counted from 1; empty or 0 out of range.
    QString columnKey(int column) const override;
    QString columnText(int column) const override;
    double columnWidth(int column) const override;
    // A column out of range, or a negative width, is ignored.
    void setColumnWidth(int column, double widthTwips) override;

    // A key outside 0 to 2 or an order outside 0 to 1 is ignored. While sorted, changing
    // either re-orders the items at once.
    int sortKey() const override { return m_sortKey; }
    void setSortKey(int key) override;
    int sortOrder() const override { return m_sortOrder; }
    void setSortOrder(int order) override;
    bool sorted() const override { return m_sorted; }
    // True orders the items at once; false keeps the present order for later items too.
    void setSorted(bool sorted) override;

    bool headerHotTrack() const override;
    void setHeaderHotTrack(bool on) override;
    // `image` 0 is the down chevron, 1 the up chevron; a column out of range is ignored.
    void setHeaderImage(int column0, int image, bool showImage) override;
    std::optional<int> headerImage(int column0) const override;

    // The view that shows the current layout: the QListView, or the QTreeView in details.
    // Its model then holds every item added, waiting ones included.
    QAbstractItemView *currentView() const;
    // The column header of the details layout.
    QHeaderView *header() const;
    // The item's rectangle in this widget's pixels; empty when out of range or not laid out.
    QRect itemRect(int index) const;

signals:
    void itemClick(int index);
    void mouseDown(int button, int shift, double xTwips, double yTwips);
    void mouseMove(int button, int shift, double xTwips, double yTwips);
    void keyDown(int keyCode, int shift);
    void dblClick();
    void columnClick(int index1);

private:
    template <typename>
    friend class ListItemView;

    struct Column {
        QString key;
        QString text;
        double widthTwips = 0;
    };

    // Called by the two views from their event handlers. viewMousePress returns false when
    // the press must not reach the view.
    bool viewMousePress(QAbstractItemView *view, QMouseEvent *event);
    void viewMouseMove(QAbstractItemView *view, QMouseEvent *event);
    void viewDoubleClick();
    void viewKeyPress(QKeyEvent *event);
    void viewKeyMovedTo(int row);
    void viewPressedOn(int row);

    void configureListView();
    void applyColumnWidth(int column0);
    void applySortOrder();
    QPointF toTwips(QAbstractItemView *view, const QPointF &viewportPos) const;
    // Places the items that wait for their sub-items.
    void addWaitingItems() const;
    // The item at a position (from 1) in the displayed order; null out of range.
    const ListItem *itemAt(int index) const;

    double m_twipsPerPixel;
    ListItemModel *m_model = nullptr;
    ListSortProxy *m_proxy = nullptr;
    QItemSelectionModel *m_selection = nullptr;
    QListView *m_list = nullptr;
    QTreeView *m_tree = nullptr;
    ListHeader *m_header = nullptr;
    ListItemDelegate *m_delegate = nullptr;
    QStackedLayout *m_stack = nullptr;
    const platform::ImageList *m_icons = nullptr;
    const platform::ImageList *m_smallIcons = nullptr;
    ListLayout m_view = ListLayout::LargeIcons;
    std::vector<Column> m_columns;
    int m_sortKey = 0;
    int m_sortOrder = 0;
    bool m_sorted = false;
    bool m_applyingWidth = false;
    // How many times the list was emptied; a press whose handler emptied it is dropped.
    int m_clears = 0;
    // Items added while sorted by a sub-item, in the order added, not yet in the model.
    mutable std::vector<ListItem> m_waiting;
    mutable bool m_waitingQueued = false;
};

} // namespace pavix::listview
