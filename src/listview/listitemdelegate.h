#pragma once
// Keeps each item of the picture list within its cell: a long name is elided instead of
// running into the next cell (the view lays items out by the sizes this gives), and a name
// holding a line break or another control character is drawn on one line, with the
// character shown (catalogue::oneLineText).

#include <QStyledItemDelegate>

namespace pavix::listview {

class ListItemDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    // The widest an item may be, in pixels; 0 leaves the width as the name needs it.
    void setMaxWidth(int widthPx) { m_maxWidth = widthPx; }
    int maxWidth() const { return m_maxWidth; }

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QString displayText(const QVariant &value, const QLocale &locale) const override;

private:
    int m_maxWidth = 0;
};

} // namespace pavix::listview
