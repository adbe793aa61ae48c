#include "listview/sortorder.h"

namespace pavix::listview {

SortOrder::SortOrder(bool descending, const QLocale &locale) : m_descending(descending), m_collator(locale)
{
    m_collator.setCaseSensitivity(Qt::CaseInsensitive);
    // "img10" and "img9" compare character by character, as names do in a folder listing.
    m_collator.setNumericMode(false);
}

int SortOrder::compareKeys(const SortItem &a, const SortItem &b) const
{
    if (a.number && b.number) {
        if (*a.number < *b.number)
            return -1;
        return *a.number > *b.number ? 1 : 0;
    }
    if (a.number.has_value() != b.number.has_value())
        return a.number ? 1 : -1;
    const int byText = m_collator.compare(a.text, b.text);
    return byText < 0 ? -1 : (byText > 0 ? 1 : 0);
}

bool SortOrder::operator()(const SortItem &a, const SortItem &b) const
{
    const int byKey = compareKeys(a, b);
    if (byKey != 0)
        return m_descending ? byKey > 0 : byKey < 0;
    return a.addedPosition < b.addedPosition;
}

} // namespace pavix::listview
