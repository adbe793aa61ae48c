#include "listview/listitemview.h"

#include "listview/qtlistview.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPersistentModelIndex>

namespace pavix::listview {

template <typename Base>
ListItemView<Base>::ListItemView(QtListView *owner) : Base(owner), m_owner(owner)
{
}

template <typename Base>
void ListItemView<Base>::mousePressEvent(QMouseEvent *event)
{
    if (m_owner->viewMousePress(this, event))
        Base::mousePressEvent(event);
    else
        event->accept();
}

template <typename Base>
void ListItemView<Base>::mouseMoveEvent(QMouseEvent *event)
{
    m_owner->viewMouseMove(this, event);
    Base::mouseMoveEvent(event);
}

template <typename Base>
void ListItemView<Base>::mouseDoubleClickEvent(QMouseEvent *event)
{
    Base::mouseDoubleClickEvent(event);
    m_owner->viewDoubleClick();
}

template <typename Base>
QItemSelectionModel::SelectionFlags ListItemView<Base>::selectionCommand(const QModelIndex &index,
                                                                         const QEvent *event) const
{
    // Ctrl+click or Ctrl+Space on the selected item would leave nothing selected while
    // itemClick names it: a click on an item always selects it.
    const QItemSelectionModel::SelectionFlags flags = Base::selectionCommand(index, event);
    if (index.isValid() && (flags & (QItemSelectionModel::Deselect | QItemSelectionModel::Toggle)))
        return QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows;
    return flags;
}

template <typename Base>
void ListItemView<Base>::focusInEvent(QFocusEvent *event)
{
    // Qt makes the first item current when the view gets the focus with none; the list
    // leaves no item marked until the user or the program picks one.
    const bool hadCurrent = this->currentIndex().isValid();
    Base::focusInEvent(event);
    if (!hadCurrent && this->currentIndex().isValid() && this->selectionModel()
        && !this->selectionModel()->hasSelection())
        this->selectionModel()->clearCurrentIndex();
}

template <typename Base>
void ListItemView<Base>::keyPressEvent(QKeyEvent *event)
{
    m_owner->viewKeyPress(event);
    const QPersistentModelIndex before = this->currentIndex();
    Base::keyPressEvent(event);
    const QModelIndex after = this->currentIndex();
    if (after.isValid() && after != QModelIndex(before))
        m_owner->viewKeyMovedTo(after.row());
}

template <typename Base>
void ListItemView<Base>::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    // Qt's views announce the current item as focused, the details view even while hidden:
    // a hidden view skips its own class's announcement on purpose.
    if (this->isVisible())
        Base::currentChanged(current, previous);
    else
        QAbstractItemView::currentChanged(current, previous); // NOLINT(bugprone-parent-virtual-call)
}

template <typename Base>
void ListItemView<Base>::selectionChanged(const QItemSelection &selected, const QItemSelection &deselected)
{
    if (this->isVisible())
        Base::selectionChanged(selected, deselected);
    else
        QAbstractItemView::selectionChanged(selected, deselected); // NOLINT(bugprone-parent-virtual-call)
}

template class ListItemView<QListView>;
template class ListItemView<QTreeView>;

} // namespace pavix::listview
