#pragma once
// An in-memory list view for tests: keeps items, sub-items, columns, sort state and icon
// sources exactly as the list view interface describes them, and counts the calls of
// iconsChanged(). Rows for hit testing are RowHeight twips tall, from y = 0.

#include "listview/listview.h"
#include "platform/imagelist.h"

#include <QString>

#include <algorithm>
#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <vector>

namespace pavix::testsupport {

class FakeListView : public listview::ListView {
public:
    static constexpr int RowHeight = 240; // twips

    struct Item {
        QString text;
        int icon = 0;
        int added = 0; // position at which it was added, from 1
        std::array<QString, 2> subTexts;
        std::array<std::optional<std::int64_t>, 2> subNumbers;
    };

    int addItem(const QString &text, int iconPosition) override
    {
        Item item;
        item.text = text;
        item.icon = iconPosition;
        item.added = ++m_addedSoFar;
        m_items.push_back(item);
        int index = static_cast<int>(m_items.size());
        if (m_sorted) {
            sortItems();
            index = indexOfAdded(item.added);
        }
        return index;
    }

    void setSubItem(int index, int subItem, const QString &text,
                    std::optional<std::int64_t> number = std::nullopt) override
    {
        if (!valid(index) || subItem < 1 || subItem > 2)
            return;
        m_items[index - 1].subTexts[subItem - 1] = text;
        m_items[index - 1].subNumbers[subItem - 1] = number;
        if (m_sorted && m_sortKey == subItem)
            sortItems();
    }

    QString itemText(int index) const override { return valid(index) ? m_items[index - 1].text : QString(); }
    QString subItemText(int index, int subItem) const override
    {
        if (!valid(index) || subItem < 1 || subItem > 2)
            return QString();
        return m_items[index - 1].subTexts[subItem - 1];
    }
    std::optional<std::int64_t> subItemNumber(int index, int subItem) const
    {
        if (!valid(index) || subItem < 1 || subItem > 2)
            return std::nullopt;
        return m_items[index - 1].subNumbers[subItem - 1];
    }
    int itemIcon(int index) const { return valid(index) ? m_items[index - 1].icon : 0; }
    int addedPosition(int index) const override { return valid(index) ? m_items[index - 1].added : 0; }
    int count() const override { return static_cast<int>(m_items.size()); }
    void clear() override
    {
        m_items.clear();
        m_addedSoFar = 0;
        m_selected = 0;
    }
    int findItem(const QString &text) const override
    {
        for (int i = 0; i < count(); ++i) {
            if (m_items[i].text == text)
                return i + 1;
        }
        return 0;
    }
    int hitTest(int, int yTwips) const override
    {
        if (yTwips < 0)
            return 0;
        const int row = yTwips / RowHeight + 1;
        return row <= count() ? row : 0;
    }
    int selectedItem() const override { return m_selected; }
    void setSelectedItem(int index) override { m_selected = valid(index) ? index : 0; }

    const platform::ImageList *icons() const override { return m_icons; }
    void setIcons(const platform::ImageList *list) override { m_icons = list; }
    const platform::ImageList *smallIcons() const override { return m_smallIcons; }
    void setSmallIcons(const platform::ImageList *list) override { m_smallIcons = list; }
    void iconsChanged() override { ++m_iconsChangedCalls; }
    int iconsChangedCalls() const { return m_iconsChangedCalls; }

    listview::ListLayout view() const override { return m_view; }
    void setView(listview::ListLayout view) override { m_view = view; }

    void addColumn(const QString &key, const QString &text, double widthTwips) override
    {
        m_columns.push_back(Column{key, text, widthTwips});
    }
    int columnCount() const override { return static_cast<int>(m_columns.size()); }
    QString columnKey(int column) const override { return validColumn(column) ? m_columns[column - 1].key : QString(); }
    QString columnText(int column) const override
    {
        return validColumn(column) ? m_columns[column - 1].text : QString();
    }
    double columnWidth(int column) const override { return validColumn(column) ? m_columns[column - 1].width : 0.0; }
    void setColumnWidth(int column, double widthTwips) override
    {
        if (validColumn(column))
            m_columns[column - 1].width = widthTwips;
    }

    int sortKey() const override { return m_sortKey; }
    void setSortKey(int key) override
    {
        m_sortKey = key;
        if (m_sorted)
            sortItems();
    }
    int sortOrder() const override { return m_sortOrder; }
    void setSortOrder(int order) override
    {
        m_sortOrder = order;
        if (m_sorted)
            sortItems();
    }
    bool sorted() const override { return m_sorted; }
    void setSorted(bool sorted) override
    {
        m_sorted = sorted;
        if (m_sorted)
            sortItems();
    }

    bool headerHotTrack() const override { return m_hotTrack; }
    void setHeaderHotTrack(bool on) override { m_hotTrack = on; }
    void setHeaderImage(int column0, int image, bool showImage) override
    {
        if (showImage)
            m_headerImages[column0] = image;
        else
            m_headerImages.erase(column0);
    }
    std::optional<int> headerImage(int column0) const override
    {
        const auto it = m_headerImages.find(column0);
        if (it == m_headerImages.end())
            return std::nullopt;
        return it->second;
    }

private:
    struct Column {
        QString key;
        QString text;
        double width = 0.0;
    };

    bool valid(int index) const { return index >= 1 && index <= count(); }
    bool validColumn(int column) const { return column >= 1 && column <= columnCount(); }

    int indexOfAdded(int added) const
    {
        for (int i = 0; i < count(); ++i) {
            if (m_items[i].added == added)
                return i + 1;
        }
        return 0;
    }

    // Orders by the sort column: numbers where both items carry one, otherwise texts
    // compared ignoring case; ties keep the order of adding.
    void sortItems()
    {
        const int key = m_sortKey;
        const bool descending = m_sortOrder == 1;
        const int selectedAdded = valid(m_selected) ? m_items[m_selected - 1].added : 0;
        std::stable_sort(m_items.begin(), m_items.end(), [key, descending](const Item &a, const Item &b) {
            int order = 0;
            if (key == 0) {
                order = QString::compare(a.text, b.text, Qt::CaseInsensitive);
            } else {
                const auto &na = a.subNumbers[key - 1];
                const auto &nb = b.subNumbers[key - 1];
                if (na && nb)
                    order = *na < *nb ? -1 : (*na > *nb ? 1 : 0);
                else
                    order = QString::compare(a.subTexts[key - 1], b.subTexts[key - 1], Qt::CaseInsensitive);
            }
            return descending ? order > 0 : order < 0;
        });
        m_selected = selectedAdded ? indexOfAdded(selectedAdded) : 0;
    }

    std::vector<Item> m_items;
    std::vector<Column> m_columns;
    std::map<int, int> m_headerImages;
    const platform::ImageList *m_icons = nullptr;
    const platform::ImageList *m_smallIcons = nullptr;
    listview::ListLayout m_view = listview::ListLayout::LargeIcons;
    int m_addedSoFar = 0;
    int m_selected = 0;
    int m_sortKey = 0;
    int m_sortOrder = 0;
    bool m_sorted = false;
    bool m_hotTrack = false;
    int m_iconsChangedCalls = 0;
};

} // namespace pavix::testsupport
