#include "listview/listcommands.h"

#include "common/keys.h"
#include "listview/viewmode.h"
#include "platform/qtlistview.h"
#include "shell/mainwindow.h"
#include "shell/menuclick.h"
#include "thumbs/thumbstrip.h"

#include <QAction>
#include <QMenu>

namespace pavix::listview {

namespace {

const char *const ArrangeCaptions[SortColumnCount] = {"By Name", "By Size", "By Type"};
inline const QString AscendingCaption = QStringLiteral("Ascending");
inline const QString DescendingCaption = QStringLiteral("Descending");

// Function keys of the view modes: F4 thumbnails, F6 to F9 the four list layouts (F5 is
// the refresh, handled elsewhere).
constexpr int VkF4 = common::VkF1 + 3;
constexpr int VkF6 = common::VkF1 + 5;
constexpr int VkF9 = common::VkF1 + 8;

bool validMode(int mode) { return mode >= 0 && mode < ViewModeCount; }

QAction *addCheckItem(QMenu *menu, const QString &caption)
{
    QAction *action = menu->addAction(caption);
    action->setCheckable(true);
    return action;
}

} // namespace

std::optional<int> viewModeForKey(int keyCode)
{
    if (keyCode == VkF4)
        return static_cast<int>(ViewMode::Thumbnails);
    if (keyCode >= VkF6 && keyCode <= VkF9)
        return keyCode - VkF6 + static_cast<int>(ViewMode::LargeIcons);
    return std::nullopt;
}

ListCommands::ListCommands(shell::MainWindow &main) : QObject(&main), m_main(main)
{
    setObjectName(QStringLiteral("listCommands"));
    createArrangeMenus();
    connectViewModes();
    connect(m_main.Lv, &platform::QtListView::columnClick, this, &ListCommands::Lv_ColumnClick);
}

void ListCommands::createArrangeMenus()
{
    QMenu *view = m_main.mnuViewArrangeIcons;
    QMenu *popup = m_main.mnuLvSort;
    for (int i = 0; i < SortColumnCount; ++i) {
        const QString caption = QString::fromLatin1(ArrangeCaptions[i]);
        const auto at = static_cast<size_t>(i);
        mnuArrange[at] = addCheckItem(view, caption);
        mnuLvArr[at] = addCheckItem(popup, caption);
        shell::connectClick(mnuArrange[at], this, [this, i] { mnuArrange_Click(i); });
        shell::connectClick(mnuLvArr[at], this, [this, i] { mnuLvArr_Click(i); });
    }
    view->addSeparator();
    popup->addSeparator();
    mnuShortAZ = addCheckItem(view, AscendingCaption);
    mnuShortZA = addCheckItem(view, DescendingCaption);
    mnuLvShortAZ = addCheckItem(popup, AscendingCaption);
    mnuLvShortZA = addCheckItem(popup, DescendingCaption);
    shell::connectClick(mnuShortAZ, this, [this] { mnuShortAZ_Click(); });
    shell::connectClick(mnuShortZA, this, [this] { mnuShortZA_Click(); });
    shell::connectClick(mnuLvShortAZ, this, [this] { mnuLvShortAZ_Click(); });
    shell::connectClick(mnuLvShortZA, this, [this] { mnuLvShortZA_Click(); });
}

void ListCommands::connectViewModes()
{
    for (int i = 0; i < ViewModeCount; ++i) {
        const auto at = static_cast<size_t>(i);
        shell::connectClick(m_main.mnuListViewMode[at], this, [this, i] { mnuListViewMode_Click(i); });
        shell::connectClick(m_main.mnuIcons[at], this, [this, i] { mnuIcons_Click(i); });
        // The tool bar's group has already pressed the button; the handler presses it too.
        if (QAction *button = m_main.toolAction(toolBarKey(i)))
            connect(button, &QAction::triggered, this, [this, i] { mnuListViewMode_Click(i); });
    }
}

// --- View modes -------------------------------------------------------------------------

void ListCommands::mnuListViewMode_Click(int Index)
{
    shell::MainWindow &m = m_main;
    // A third of the list's width is taken before anything changes, whatever the mode.
    const double lvWidth = m.Lv->widthTwips();

    ViewModeState current;
    for (int i = 0; i < ViewModeCount; ++i)
        current.checked[static_cast<size_t>(i)] = m.mnuListViewMode[static_cast<size_t>(i)]->isChecked();
    current.pressedButton = modeForToolBarKey(m.pressedViewButton()).value_or(-1);
    current.arrangeEnabled = m.mnuViewArrangeIcons->isEnabled();
    current.listVisible = !m.Lv->isHidden();
    const ViewModeState next = switchViewMode(Index, lvWidth, current);

    if (validMode(Index)) {
        m.pressToolButton(toolBarKey(next.pressedButton));
        m.mnuLvSort->setEnabled(next.arrangeEnabled);
        m.mnuViewArrangeIcons->setEnabled(next.arrangeEnabled);
        for (int i = 0; i < ViewModeCount; ++i)
            m.mnuListViewMode[static_cast<size_t>(i)]->setChecked(next.checked[static_cast<size_t>(i)]);
        if (next.listVisible) {
            m.picBase->hide();
            if (next.lvView)
                m.Lv->setView(*next.lvView);
            if (next.detailsColumnWidth) {
                for (int column = 1; column <= SortColumnCount; ++column)
                    m.Lv->setColumnWidth(column, *next.detailsColumnWidth);
            }
            m.Lv->show();
            m.Lv->setFocus(Qt::OtherFocusReason);
        } else {
            m.Lv->hide();
            m.picBase->show();
            m.picScroll->setFocus(Qt::OtherFocusReason);
        }
    }

    // The context menu shows the View menu's check marks.
    for (int i = 0; i < ViewModeCount; ++i) {
        const auto at = static_cast<size_t>(i);
        m.mnuIcons[at]->setChecked(m.mnuListViewMode[at]->isChecked());
    }
}

void ListCommands::mnuIcons_Click(int Index)
{
    if (validMode(Index))
        mnuListViewMode_Click(Index);
}

bool ListCommands::viewModeKey(int keyCode)
{
    const std::optional<int> mode = viewModeForKey(keyCode);
    if (!mode)
        return false;
    mnuListViewMode_Click(*mode);
    return true;
}

int ListCommands::viewMode() const
{
    for (int i = 0; i < ViewModeCount; ++i)
        if (m_main.mnuListViewMode[static_cast<size_t>(i)]->isChecked())
            return i;
    return -1;
}

// --- Sorting ----------------------------------------------------------------------------

SortState ListCommands::sortStateFromControls() const
{
    const platform::QtListView &lv = *m_main.Lv;
    SortState state;
    state.SortKey = lv.sortKey();
    state.SortOrder = lv.sortOrder();
    state.Sorted = lv.sorted();
    state.SortColumn = m_main.SortColumn;
    state.clickOrder = m_clickOrder;
    for (int i = 0; i < SortColumnCount; ++i) {
        const auto at = static_cast<size_t>(i);
        state.arrangeChecked[at] = mnuArrange[at]->isChecked();
        state.lvArrChecked[at] = mnuLvArr[at]->isChecked();
        state.headerImages[at] = lv.headerImage(i);
    }
    state.azChecked = mnuShortAZ->isChecked();
    state.zaChecked = mnuShortZA->isChecked();
    state.lvAzChecked = mnuLvShortAZ->isChecked();
    state.lvZaChecked = mnuLvShortZA->isChecked();
    return state;
}

void ListCommands::applySortState(const SortState &state)
{
    platform::QtListView &lv = *m_main.Lv;
    m_clickOrder = state.clickOrder;
    m_main.SortColumn = state.SortColumn;

    // Sorting reorders the list, never the grid: thumbnail i stays file i of the scan.
    if (lv.sortKey() != state.SortKey || lv.sortOrder() != state.SortOrder
        || lv.sorted() != state.Sorted) {
        // Unsorted while key and order change, so the items are ordered once, not once per
        // property.
        lv.setSorted(false);
        lv.setSortKey(state.SortKey);
        lv.setSortOrder(state.SortOrder);
        lv.setSorted(state.Sorted);
    }

    for (int i = 0; i < SortColumnCount; ++i) {
        const auto at = static_cast<size_t>(i);
        mnuArrange[at]->setChecked(state.arrangeChecked[at]);
        mnuLvArr[at]->setChecked(state.lvArrChecked[at]);
    }
    mnuShortAZ->setChecked(state.azChecked);
    mnuShortZA->setChecked(state.zaChecked);
    mnuLvShortAZ->setChecked(state.lvAzChecked);
    mnuLvShortZA->setChecked(state.lvZaChecked);

    // Header refresh: the sort column shows the arrow of the order, the others none.
    for (int i = 0; i < SortColumnCount; ++i) {
        const std::optional<int> image = state.headerImages[static_cast<size_t>(i)];
        lv.setHeaderImage(i, image.value_or(0), image.has_value());
    }
}

void ListCommands::Lv_ColumnClick(int index1)
{
    applySortState(listview::Lv_ColumnClick(sortStateFromControls(), index1));
}

void ListCommands::mnuArrange_Click(int Index)
{
    applySortState(listview::mnuArrange_Click(sortStateFromControls(), Index));
}

void ListCommands::mnuShortAZ_Click()
{
    applySortState(listview::mnuShortAZ_Click(sortStateFromControls()));
}

void ListCommands::mnuShortZA_Click()
{
    applySortState(listview::mnuShortZA_Click(sortStateFromControls()));
}

void ListCommands::mnuLvArr_Click(int Index) { mnuArrange_Click(Index); }

void ListCommands::mnuLvShortAZ_Click() { mnuShortAZ_Click(); }

void ListCommands::mnuLvShortZA_Click() { mnuShortZA_Click(); }

} // namespace pavix::listview
