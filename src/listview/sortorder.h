#pragma once
// The order the list keeps its items in when it is sorted: by the texts of the key column
// in the user's collation, ignoring case, or by numbers where the column holds them (a
// 9-byte file before a 10,240-byte one), with equal keys kept in the order they were added.

#include <QCollator>
#include <QLocale>
#include <QString>

#include <cstdint>
#include <optional>

namespace pavix::listview {

// One item as the ordering sees it: the text of the key column, its number when the column
// holds one, and the position (from 1) at which the item was added.
struct SortItem {
    QString text;
    std::optional<std::int64_t> number;
    int addedPosition = 0;
};

class SortOrder {
public:
    // Orders ascending, or descending when `descending`, comparing texts with `locale`'s
    // collation, case-insensitive and with digits compared as characters.
    SortOrder(bool descending, const QLocale &locale);

    // Compares the keys alone, ascending sense: negative when `a` goes first, 0 when they
    // are equal. Two numbers compare as numbers; an item without a number goes before one
    // with a number; otherwise the texts are collated.
    int compareKeys(const SortItem &a, const SortItem &b) const;

    // True when `a` is shown before `b`: keys in the chosen direction, equal keys by the
    // position they were added at (earlier first, in both directions).
    bool operator()(const SortItem &a, const SortItem &b) const;

    bool descending() const { return m_descending; }

private:
    bool m_descending;
    QCollator m_collator;
};

} // namespace pavix::listview
