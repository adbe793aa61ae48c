#pragma once
// The items of the picture list in the order they were added: one row per item, a column
// for its text and one for each of its two sub-items (more columns when more captions are
// given). Rows never move; the sorting proxy (listsortproxy.h) decides the displayed order.

#include <QAbstractTableModel>
#include <QHash>
#include <QIcon>
#include <QString>

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace pavix::platform {
class ImageList;
}

namespace pavix::listview {


// One item: its text, the icon position (from 1, 0 = none) in the image lists, two
// sub-items, each with a number that ordering compares instead of the text when given, and
// the position (from 1) at which the item was added.
struct ListItem {
    QString text;
    int icon = 0;
    std::array<QString, 2> sub;
    std::array<std::optional<std::int64_t>, 2> number;
    int added = 0;
};

class ListItemModel final : public QAbstractTableModel {
public:
    explicit ListItemModel(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    // Display: the text or a sub-item; tool tip: the text as it is shown
    // (catalogue::oneLineText); decoration (column 0): the icon, both sizes in one;
    // alignment: right for a sub-item given as a number.
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // Appends a whole item, giving it the next added position; returns its row.
    int addItem(ListItem item);
    // Appends whole items at once, in the order given.
    void addItems(std::vector<ListItem> items);
    // Sets sub-item 1 or 2 of the item in `row`; anything else is ignored.
    void setSubItem(int row, int subItem, const QString &text, std::optional<std::int64_t> number);
    // The item in `row`, null out of range.
    const ListItem *item(int row) const;
    // Empties the model; the next item is added at position 1 again.
    void clear();

    // Column captions; the model keeps at least three columns.
    void setCaptions(const std::vector<QString> &captions);
    // Image sources of the large and small icons; the model does not own them.
    void setIconSources(const platform::ImageList *large, const platform::ImageList *small);
    // Images were added to the sources: icons are looked up again.
    void iconsChanged();

private:
    QIcon iconFor(int position) const;

    std::vector<ListItem> m_items;
    std::vector<QString> m_captions;
    const platform::ImageList *m_large = nullptr;
    const platform::ImageList *m_small = nullptr;
    mutable QHash<int, QIcon> m_iconCache;
};

} // namespace pavix::listview
