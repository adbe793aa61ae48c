#pragma once
// What the program asks of the list of pictures: items with two sub-items, four
// layouts, three columns with a sortable header, hit testing and one selected item.
// The widget in qtlistview.h provides it; any other implementation may stand in.

#include "listview/listlayout.h"

#include <QString>

#include <cstdint>
#include <optional>

namespace pavix::platform {
class ImageList;
}

namespace pavix::listview {


class ListView {
public:
    virtual ~ListView() = default;

    // Items. Positions (`Index`) count from 1 in the displayed order.
    // Appends an item with a text and one icon position (from 1, 0 = none) used for both
    // the large and the small icon; returns its position.
    virtual int addItem(const QString &text, int iconPosition) = 0;
    // Sets sub-item 1 or 2 of the item at `index`. When `number` is given, ordering by that
    // column compares the numbers instead of the texts.
    virtual void setSubItem(int index, int subItem, const QString &text,
                            std::optional<std::int64_t> number = std::nullopt) = 0;
    virtual QString itemText(int index) const = 0;
    virtual QString subItemText(int index, int subItem) const = 0;
    // The position (from 1) at which the item at `index` was added: its place in the
    // catalogue, which sorting does not change. 0 for an index out of range.
    virtual int addedPosition(int index) const = 0;
    virtual int count() const = 0;
    virtual void clear() = 0;
    // The first item (in displayed order) whose text equals `text`; 0 when none does.
    virtual int findItem(const QString &text) const = 0;
    // The item under a point in the list's own coordinates, twips; 0 when none.
    virtual int hitTest(int xTwips, int yTwips) const = 0;
    // The selected item, 0 when none; setting 0 leaves no item selected.
    virtual int selectedItem() const = 0;
    virtual void setSelectedItem(int index) = 0;

    // Image sources for large and small icons; the list does not own them.
    virtual const platform::ImageList *icons() const = 0;
    virtual void setIcons(const platform::ImageList *list) = 0;
    virtual const platform::ImageList *smallIcons() const = 0;
    virtual void setSmallIcons(const platform::ImageList *list) = 0;
    // Tells the list that images were added to its sources, or put in positions it showed
    // before (positions of an earlier listing are filled again): it drops what it kept of
    // them.
    virtual void iconsChanged() = 0;

    // Layout.
    virtual ListLayout view() const = 0;
    virtual void setView(ListLayout view) = 0;

    // Columns, counting from 1 in the order added; widths in twips.
    virtual void addColumn(const QString &key, const QString &text, double widthTwips) = 0;
    virtual int columnCount() const = 0;
    virtual QString columnKey(int column) const = 0;
    virtual QString columnText(int column) const = 0;
    virtual double columnWidth(int column) const = 0;
    virtual void setColumnWidth(int column, double widthTwips) = 0;

    // Sorting: key 0 = item text, 1 = sub-item 1, 2 = sub-item 2; order 0 ascending,
    // 1 descending. Setting `sorted` true orders the items at once and keeps new items in
    // order.
    virtual int sortKey() const = 0;
    virtual void setSortKey(int key) = 0;
    virtual int sortOrder() const = 0;
    virtual void setSortOrder(int order) = 0;
    virtual bool sorted() const = 0;
    virtual void setSorted(bool sorted) = 0;

    // Column header: hot tracking (the section under the mouse is highlighted), and the
    // sort arrow of one column (0-based): `image` 0 = down chevron, 1 = up chevron, shown
    // right of the caption when `showImage`; false removes it.
    virtual bool headerHotTrack() const = 0;
    virtual void setHeaderHotTrack(bool on) = 0;
    virtual void setHeaderImage(int column0, int image, bool showImage) = 0;
    virtual std::optional<int> headerImage(int column0) const = 0;
};

} // namespace pavix::listview
