#include "listview/listitemmodel.h"

#include "catalogue/filepaths.h"
#include "platform/imagelist.h"

#include <QPixmap>

#include <algorithm>

namespace pavix::listview {

namespace {

constexpr int MinColumns = 3;

} // namespace

ListItemModel::ListItemModel(QObject *parent) : QAbstractTableModel(parent) {}

int ListItemModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_items.size());
}

int ListItemModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : std::max(MinColumns, static_cast<int>(m_captions.size()));
}

Qt::ItemFlags ListItemModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

QVariant ListItemModel::data(const QModelIndex &index, int role) const
{
    const ListItem *item = this->item(index.row());
    const int column = index.column();
    if (!item || column < 0)
        return QVariant();
    switch (role) {
    case Qt::DisplayRole:
        if (column == 0)
            return item->text;
        if (column <= 2)
            return item->sub[static_cast<size_t>(column - 1)];
        return QVariant();
    case Qt::ToolTipRole:
        return column == 0 ? QVariant(catalogue::oneLineText(item->text)) : QVariant();
    case Qt::DecorationRole:
        return column == 0 ? QVariant(iconFor(item->icon)) : QVariant();
    case Qt::TextAlignmentRole:
        // Columns given as numbers (the size) line up on the right.
        if (column >= 1 && column <= 2 && item->number[static_cast<size_t>(column - 1)])
            return QVariant(Qt::AlignRight | Qt::AlignVCenter);
        return QVariant();
    default:
        return QVariant();
    }
}

QVariant ListItemModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0
        || section >= static_cast<int>(m_captions.size()))
        return QVariant();
    return m_captions[static_cast<size_t>(section)];
}

int ListItemModel::addItem(ListItem item)
{
    const int row = rowCount();
    item.added = row + 1;
    beginInsertRows(QModelIndex(), row, row);
    m_items.push_back(std::move(item));
    endInsertRows();
    return row;
}

void ListItemModel::addItems(std::vector<ListItem> items)
{
    if (items.empty())
        return;
    const int first = rowCount();
    beginInsertRows(QModelIndex(), first, first + static_cast<int>(items.size()) - 1);
    for (ListItem &item : items) {
        item.added = static_cast<int>(m_items.size()) + 1;
        m_items.push_back(std::move(item));
    }
    endInsertRows();
}

void ListItemModel::setSubItem(int row, int subItem, const QString &text, std::optional<std::int64_t> number)
{
    if (!item(row) || subItem < 1 || subItem > 2)
        return;
    ListItem &changed = m_items[static_cast<size_t>(row)];
    changed.sub[static_cast<size_t>(subItem - 1)] = text;
    changed.number[static_cast<size_t>(subItem - 1)] = number;
    emit dataChanged(index(row, subItem), index(row, subItem));
}

const ListItem *ListItemModel::item(int row) const
{
    if (row < 0 || row >= static_cast<int>(m_items.size()))
        return nullptr;
    return &m_items[static_cast<size_t>(row)];
}

void ListItemModel::clear()
{
    beginResetModel();
    m_items.clear();
    endResetModel();
}

void ListItemModel::setCaptions(const std::vector<QString> &captions)
{
    const int before = columnCount();
    const int after = std::max(MinColumns, static_cast<int>(captions.size()));
    if (after > before) {
        beginInsertColumns(QModelIndex(), before, after - 1);
        m_captions = captions;
        endInsertColumns();
    } else {
        m_captions = captions;
    }
    emit headerDataChanged(Qt::Horizontal, 0, after - 1);
}

void ListItemModel::setIconSources(const platform::ImageList *large, const platform::ImageList *small)
{
    m_large = large;
    m_small = small;
    iconsChanged();
}

void ListItemModel::iconsChanged()
{
    m_iconCache.clear();
    if (!m_items.empty())
        emit dataChanged(index(0, 0), index(rowCount() - 1, 0), {Qt::DecorationRole});
}

QIcon ListItemModel::iconFor(int position) const
{
    if (position < 1)
        return QIcon();
    const auto cached = m_iconCache.constFind(position);
    if (cached != m_iconCache.constEnd())
        return *cached;
    // One icon holds both sizes; each layout asks for the size it draws.
    QIcon icon;
    for (const platform::ImageList *list : {m_large, m_small}) {
        if (!list || position > list->count())
            continue;
        const QImage &picture = list->at(position).picture;
        if (!picture.isNull())
            icon.addPixmap(QPixmap::fromImage(picture));
    }
    m_iconCache.insert(position, icon);
    return icon;
}

} // namespace pavix::listview
