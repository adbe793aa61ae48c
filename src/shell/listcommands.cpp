#include "shell/listcommands.h"

#include "listview/qtlistview.h"
#include "shell/menuclick.h"

#include <QAction>
#include <QActionGroup>
#include <QCoreApplication>
#include <QMenu>

namespace pavix::shell {

using namespace listview;

namespace {

const char *const ArrangeCaptions[SortColumnCount] = {QT_TRANSLATE_NOOP("pavix::shell", "By Name"),
                                                      QT_TRANSLATE_NOOP("pavix::shell", "By Size"),
                                                      QT_TRANSLATE_NOOP("pavix::shell", "By Type")};
const char *const AscendingCaption = QT_TRANSLATE_NOOP("pavix::shell", "Ascending");
const char *const DescendingCaption = QT_TRANSLATE_NOOP("pavix::shell", "Descending");

bool validMode(int mode)
{
    return mode >= 0 && mode < ViewModeCount;
}

QAction *addCheckItem(QMenu *menu, const QString &caption)
{
    QAction *action = menu->addAction(caption);
    action->setCheckable(true);
    return action;
}

} // namespace

ListCommands::ListCommands(const ListCommandParts &parts, QObject *parent) : QObject(parent), m_parts(parts)
{
    setObjectName(QStringLiteral("listCommands"));
    createArrangeMenus();
    connectViewModes();
    connect(m_parts.list, &listview::QtListView::columnClick, this, &ListCommands::sortByHeader);
}

void ListCommands::createArrangeMenus()
{
    QMenu *view = m_parts.viewArrangeMenu;
    QMenu *popup = m_parts.listSortMenu;
    for (int i = 0; i < SortColumnCount; ++i) {
        const QString caption = QCoreApplication::translate("pavix::shell", ArrangeCaptions[i]);
        const auto at = static_cast<size_t>(i);
        viewArrangeItems[at] = addCheckItem(view, caption);
        listArrangeItems[at] = addCheckItem(popup, caption);
        connectClick(viewArrangeItems[at], this, [this, i] { arrangeBy(i); });
        connectClick(listArrangeItems[at], this, [this, i] { arrangeBy(i); });
    }
    view->addSeparator();
    popup->addSeparator();
    viewAscendingItem = addCheckItem(view, QCoreApplication::translate("pavix::shell", AscendingCaption));
    viewDescendingItem = addCheckItem(view, QCoreApplication::translate("pavix::shell", DescendingCaption));
    listAscendingItem = addCheckItem(popup, QCoreApplication::translate("pavix::shell", AscendingCaption));
    listDescendingItem = addCheckItem(popup, QCoreApplication::translate("pavix::shell", DescendingCaption));

    for (QAction *item : {viewAscendingItem, listAscendingItem})
        connectClick(item, this, [this] { sortAscending(); });
    for (QAction *item : {viewDescendingItem, listDescendingItem})
        connectClick(item, this, [this] { sortDescending(); });
}

void ListCommands::connectViewModes()
{
    for (int i = 0; i < ViewModeCount; ++i) {
        const auto at = static_cast<size_t>(i);
        connectClick(m_parts.viewModeItems[at], this, [this, i] { setViewMode(i); });
        connectClick(m_parts.listViewItems[at], this, [this, i] { setViewMode(i); });
    }
}

// --- View modes -------------------------------------------------------------------------

void ListCommands::pressViewButton(int mode)
{
    const QString key = toolBarKey(mode);
    for (QAction *button : m_parts.viewButtons->actions())
        if (button->data().toString() == key)
            button->setChecked(true);
}

int ListCommands::pressedViewButton() const
{
    const QAction *button = m_parts.viewButtons->checkedAction();
    return button ? modeForToolBarKey(button->data().toString()).value_or(-1) : -1;
}

void ListCommands::setViewMode(int mode)
{
    listview::QtListView *list = m_parts.list;
    // A third of the list's width is taken before anything changes, whatever the mode.
    const double listWidth = list->widthTwips();

    ViewModeState current;
    for (int i = 0; i < ViewModeCount; ++i)
        current.checked[static_cast<size_t>(i)] = m_parts.viewModeItems[static_cast<size_t>(i)]->isChecked();
    current.pressedButton = pressedViewButton();
    current.arrangeEnabled = m_parts.viewArrangeMenu->isEnabled();
    current.listVisible = !list->isHidden();
    const ViewModeState next = switchViewMode(mode, listWidth, current);

    if (validMode(mode)) {
        pressViewButton(next.pressedButton);
        m_parts.listSortMenu->setEnabled(next.arrangeEnabled);
        m_parts.viewArrangeMenu->setEnabled(next.arrangeEnabled);
        for (int i = 0; i < ViewModeCount; ++i)
            m_parts.viewModeItems[static_cast<size_t>(i)]->setChecked(next.checked[static_cast<size_t>(i)]);
        if (next.listVisible) {
            m_parts.thumbArea->hide();
            if (next.listLayout)
                list->setView(*next.listLayout);
            if (next.detailsColumnWidth) {
                for (int column = 1; column <= SortColumnCount; ++column)
                    list->setColumnWidth(column, *next.detailsColumnWidth);
            }
            list->show();
            list->setFocus(Qt::OtherFocusReason);
        } else {
            list->hide();
            m_parts.thumbArea->show();
            m_parts.thumbStrip->setFocus(Qt::OtherFocusReason);
        }
    }

    // The context menu shows the View menu's check marks.
    for (int i = 0; i < ViewModeCount; ++i) {
        const auto at = static_cast<size_t>(i);
        m_parts.listViewItems[at]->setChecked(m_parts.viewModeItems[at]->isChecked());
    }
}

int ListCommands::viewMode() const
{
    for (int i = 0; i < ViewModeCount; ++i)
        if (m_parts.viewModeItems[static_cast<size_t>(i)]->isChecked())
            return i;
    return -1;
}

// --- Sorting ----------------------------------------------------------------------------

SortState ListCommands::sortStateFromControls() const
{
    const listview::QtListView &list = *m_parts.list;
    SortState state;
    state.sortKey = list.sortKey();
    state.sortOrder = list.sortOrder();
    state.sorted = list.sorted();
    state.sortColumn = m_sortColumn;
    state.clickOrder = m_clickOrder;
    for (int i = 0; i < SortColumnCount; ++i) {
        const auto at = static_cast<size_t>(i);
        state.viewArrangeChecked[at] = viewArrangeItems[at]->isChecked();
        state.listArrangeChecked[at] = listArrangeItems[at]->isChecked();
        state.headerImages[at] = list.headerImage(i);
    }
    state.viewAscendingChecked = viewAscendingItem->isChecked();
    state.viewDescendingChecked = viewDescendingItem->isChecked();
    state.listAscendingChecked = listAscendingItem->isChecked();
    state.listDescendingChecked = listDescendingItem->isChecked();
    return state;
}

void ListCommands::applySortState(const SortState &state)
{
    listview::QtListView &list = *m_parts.list;
    m_clickOrder = state.clickOrder;
    m_sortColumn = state.sortColumn;

    // Sorting reorders the list, never the grid: thumbnail i stays file i of the scan.
    if (list.sortKey() != state.sortKey || list.sortOrder() != state.sortOrder || list.sorted() != state.sorted) {
        // Unsorted while key and order change, so the items are ordered once, not once per
        // property.
        list.setSorted(false);
        list.setSortKey(state.sortKey);
        list.setSortOrder(state.sortOrder);
        list.setSorted(state.sorted);
    }

    for (int i = 0; i < SortColumnCount; ++i) {
        const auto at = static_cast<size_t>(i);
        viewArrangeItems[at]->setChecked(state.viewArrangeChecked[at]);
        listArrangeItems[at]->setChecked(state.listArrangeChecked[at]);
    }
    viewAscendingItem->setChecked(state.viewAscendingChecked);
    viewDescendingItem->setChecked(state.viewDescendingChecked);
    listAscendingItem->setChecked(state.listAscendingChecked);
    listDescendingItem->setChecked(state.listDescendingChecked);

    // Header refresh: the sort column shows the arrow of the order, the others none.
    for (int i = 0; i < SortColumnCount; ++i) {
        const std::optional<int> image = state.headerImages[static_cast<size_t>(i)];
        list.setHeaderImage(i, image.value_or(0), image.has_value());
    }
}

void ListCommands::sortByHeader(int column)
{
    applySortState(afterHeaderClick(sortStateFromControls(), column));
}

void ListCommands::arrangeBy(int column)
{
    applySortState(listview::arrangeBy(sortStateFromControls(), column));
}

void ListCommands::sortAscending()
{
    applySortState(listview::sortAscending(sortStateFromControls()));
}

void ListCommands::sortDescending()
{
    applySortState(listview::sortDescending(sortStateFromControls()));
}

} // namespace pavix::shell
