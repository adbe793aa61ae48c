#pragma once
// The Qt item views of the picture list (QListView for the icon and list layouts, QTreeView
// for details) with the list's behaviour: each mouse and key event is reported to the list
// before the view acts on it, a click on an item always leaves it selected, and the focus
// alone marks no item current. A view that is not shown follows the selection without telling
// assistive tools, which would otherwise hear of a focus and a selection nobody sees.

#include <QItemSelectionModel>
#include <QListView>
#include <QTreeView>

namespace pavix::listview {

class QtListView;

template <typename Base>
class ListItemView final : public Base {
public:
    explicit ListItemView(QtListView *owner);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex &index, const QEvent *event) const override;
    void focusInEvent(QFocusEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;
    void selectionChanged(const QItemSelection &selected, const QItemSelection &deselected) override;

private:
    QtListView *m_owner;
};

// The two views, built in listitemview.cpp.
extern template class ListItemView<QListView>;
extern template class ListItemView<QTreeView>;

} // namespace pavix::listview
