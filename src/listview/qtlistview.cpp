#include "listview/qtlistview.h"

#include "common/keys.h"
#include "common/units.h"
#include "listview/listheader.h"
#include "listview/listitemdelegate.h"
#include "listview/listitemmodel.h"
#include "listview/listitemview.h"
#include "listview/listsortproxy.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QListView>
#include <QMouseEvent>
#include <QStackedLayout>
#include <QTimer>
#include <QTreeView>

#include <algorithm>

namespace pavix::listview {

namespace {

constexpr double DefaultTwipsPerPixel = 15.0;
constexpr int LargeIconPx = 32;
constexpr int SmallIconPx = 16;
// Cells of the icon layouts, like a file manager's: large icons get a cell wide enough for
// a short name under the icon and two lines of text; small icons a cell for a name beside
// the icon.
constexpr int LargeCellWidthPx = 100;
constexpr int LargeCellTextLines = 2;
constexpr int SmallCellWidthPx = 180;
// Columns of the list layout are as wide as their widest name, up to this.
constexpr int ListColumnMaxWidthPx = 300;

double validFactor(double twipsPerPixel)
{
    return twipsPerPixel > 0.0 ? twipsPerPixel : DefaultTwipsPerPixel;
}

} // namespace

QtListView::QtListView(QWidget *parent, double twipsPerPixel)
    : QWidget(parent), m_twipsPerPixel(validFactor(twipsPerPixel))
{
    m_model = new ListItemModel(this);
    m_proxy = new ListSortProxy(m_model, this);
    m_list = new ListItemView<QListView>(this);
    m_tree = new ListItemView<QTreeView>(this);
    m_header = new ListHeader(m_tree);
    m_tree->setHeader(m_header);

    m_list->setModel(m_proxy);
    m_tree->setModel(m_proxy);
    // One selection for both views, so that a change of layout keeps the selected item.
    m_selection = new QItemSelectionModel(m_proxy, this);
    m_list->setSelectionModel(m_selection);
    m_tree->setSelectionModel(m_selection);

    for (QAbstractItemView *view :
         {static_cast<QAbstractItemView *>(m_list), static_cast<QAbstractItemView *>(m_tree)}) {
        view->setSelectionMode(QAbstractItemView::SingleSelection);
        view->setSelectionBehavior(QAbstractItemView::SelectRows);
        view->setEditTriggers(QAbstractItemView::NoEditTriggers);
        view->setDragEnabled(false);
        view->setMouseTracking(true);
        view->viewport()->setMouseTracking(true);
        // The list's context menu comes from the right-button mouseDown.
        view->setContextMenuPolicy(Qt::PreventContextMenu);
        view->viewport()->setContextMenuPolicy(Qt::PreventContextMenu);
        connect(view, &QAbstractItemView::pressed, this,
                [this](const QModelIndex &index) { viewPressedOn(index.row()); });
    }

    m_delegate = new ListItemDelegate(m_list);
    m_list->setItemDelegate(m_delegate);
    // The details layout's rows show each name on one line too; their width is the column's.
    m_tree->setItemDelegate(new ListItemDelegate(m_tree));
    m_list->setModelColumn(0);
    m_list->setResizeMode(QListView::Adjust);
    m_list->setSelectionRectVisible(false);

    m_tree->setRootIsDecorated(false);
    m_tree->setItemsExpandable(false);
    m_tree->setExpandsOnDoubleClick(false);
    m_tree->setUniformRowHeights(true);
    m_tree->setAllColumnsShowFocus(true);
    m_tree->setSortingEnabled(false);     // the program orders the items; this also ...
    m_header->setSectionsClickable(true); // ... makes the header unclickable, so undo that
    m_tree->setIconSize(QSize(SmallIconPx, SmallIconPx));
    m_tree->setHeaderHidden(false);
    // Columns appear as they are added.
    m_applyingWidth = true;
    for (int column = 0; column < m_proxy->columnCount(); ++column)
        m_tree->setColumnHidden(column, true);
    m_applyingWidth = false;
    connect(m_header, &QHeaderView::sectionClicked, this,
            [this](int logicalIndex) { emit columnClick(logicalIndex + 1); });
    connect(m_header, &QHeaderView::sectionResized, this, [this](int logicalIndex, int, int newSize) {
        // A width the user drags is kept in twips like one set by the program.
        if (m_applyingWidth || logicalIndex < 0 || logicalIndex >= columnCount()
            || m_header->isSectionHidden(logicalIndex))
            return;
        m_columns[static_cast<size_t>(logicalIndex)].widthTwips = common::pixelsToTwips(newSize, m_twipsPerPixel);
    });

    m_stack = new QStackedLayout(this);
    m_stack->setContentsMargins(0, 0, 0, 0);
    m_stack->addWidget(m_list);
    m_stack->addWidget(m_tree);
    configureListView();
    m_stack->setCurrentWidget(m_list);
    setFocusProxy(m_list);
}

QtListView::~QtListView() = default;

void QtListView::setTwipsPerPixel(double twipsPerPixel)
{
    m_twipsPerPixel = validFactor(twipsPerPixel);
    for (int column = 0; column < columnCount(); ++column)
        applyColumnWidth(column);
}

double QtListView::widthTwips() const
{
    return common::pixelsToTwips(width(), m_twipsPerPixel);
}

double QtListView::heightTwips() const
{
    return common::pixelsToTwips(height(), m_twipsPerPixel);
}

int QtListView::addItem(const QString &text, int iconPosition)
{
    ListItem item;
    item.text = text;
    item.icon = iconPosition;
    if (!m_sorted || m_sortKey != 0) {
        // Unsorted it goes to the end; sorted by a sub-item its place depends on the
        // sub-items that come next. Either way it waits for them at the end, and the
        // waiting items join the model together, whole, at the next other call or when
        // the event loop runs.
        m_waiting.push_back(std::move(item));
        if (!m_waitingQueued) {
            m_waitingQueued = true;
            QTimer::singleShot(0, this, [this] {
                m_waitingQueued = false;
                addWaitingItems();
            });
        }
        return m_proxy->rowCount() + static_cast<int>(m_waiting.size());
    }
    addWaitingItems();
    const int row = m_model->addItem(std::move(item));
    return m_proxy->mapFromSource(m_model->index(row, 0)).row() + 1;
}

void QtListView::setSubItem(int index, int subItem, const QString &text, std::optional<std::int64_t> number)
{
    const int waiting = index - m_proxy->rowCount() - 1;
    if (waiting >= 0 && waiting < static_cast<int>(m_waiting.size())) {
        if (subItem >= 1 && subItem <= 2) {
            ListItem &item = m_waiting[static_cast<size_t>(waiting)];
            item.sub[static_cast<size_t>(subItem - 1)] = text;
            item.number[static_cast<size_t>(subItem - 1)] = number;
        }
        return;
    }
    addWaitingItems();
    if (index < 1 || index > count())
        return;
    const QModelIndex source = m_proxy->mapToSource(m_proxy->index(index - 1, 0));
    m_model->setSubItem(source.row(), subItem, text, number);
}

void QtListView::addWaitingItems() const
{
    if (m_waiting.empty())
        return;
    std::vector<ListItem> items;
    items.swap(m_waiting);
    m_model->addItems(std::move(items));
}

const ListItem *QtListView::itemAt(int index) const
{
    addWaitingItems();
    if (index < 1 || index > m_proxy->rowCount())
        return nullptr;
    return m_model->item(m_proxy->mapToSource(m_proxy->index(index - 1, 0)).row());
}

QString QtListView::itemText(int index) const
{
    const ListItem *item = itemAt(index);
    return item ? item->text : QString();
}

QString QtListView::subItemText(int index, int subItem) const
{
    const ListItem *item = itemAt(index);
    if (!item || subItem < 1 || subItem > 2)
        return QString();
    return item->sub[static_cast<size_t>(subItem - 1)];
}

int QtListView::addedPosition(int index) const
{
    const ListItem *item = itemAt(index);
    return item ? item->added : 0;
}

int QtListView::count() const
{
    addWaitingItems();
    return m_proxy->rowCount();
}

void QtListView::clear()
{
    m_waiting.clear();
    ++m_clears;
    m_model->clear();
}

int QtListView::findItem(const QString &text) const
{
    for (int index = 1; index <= count(); ++index) {
        if (itemAt(index)->text == text)
            return index;
    }
    return 0;
}

int QtListView::hitTest(int xTwips, int yTwips) const
{
    QAbstractItemView *view = currentView();
    const QPoint inWidget(common::twipsToPixels(xTwips, m_twipsPerPixel),
                          common::twipsToPixels(yTwips, m_twipsPerPixel));
    const QPoint inViewport = view->viewport()->mapFrom(this, inWidget);
    if (!view->viewport()->rect().contains(inViewport))
        return 0;
    const QModelIndex index = view->indexAt(inViewport);
    return index.isValid() ? index.row() + 1 : 0;
}

int QtListView::selectedItem() const
{
    addWaitingItems();
    const QItemSelection selection = m_selection->selection();
    if (selection.isEmpty())
        return 0;
    return selection.first().top() + 1;
}

void QtListView::setSelectedItem(int index)
{
    if (index < 1 || index > count()) {
        // clear() drops the current item too, so no focus frame is left on an item.
        m_selection->clear();
        return;
    }
    const QModelIndex item = m_proxy->index(index - 1, 0);
    m_selection->setCurrentIndex(item, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    currentView()->scrollTo(item);
}

void QtListView::setIcons(const platform::ImageList *list)
{
    m_icons = list;
    m_model->setIconSources(m_icons, m_smallIcons);
}

void QtListView::setSmallIcons(const platform::ImageList *list)
{
    m_smallIcons = list;
    m_model->setIconSources(m_icons, m_smallIcons);
}

void QtListView::iconsChanged()
{
    m_model->iconsChanged();
}

void QtListView::setView(ListLayout view)
{
    const int value = static_cast<int>(view);
    if (value < static_cast<int>(ListLayout::LargeIcons) || value > static_cast<int>(ListLayout::Details))
        return;
    QAbstractItemView *before = currentView();
    const bool hadFocus = before->hasFocus();
    m_view = view;
    if (m_view != ListLayout::Details)
        configureListView();
    QAbstractItemView *after = currentView();
    m_stack->setCurrentWidget(after);
    setFocusProxy(after);
    if (hadFocus)
        after->setFocus(Qt::OtherFocusReason);
    if (m_selection->currentIndex().isValid())
        after->scrollTo(m_selection->currentIndex());
}

void QtListView::configureListView()
{
    const QFontMetrics metrics(m_list->font());
    m_list->setUpdatesEnabled(false);
    switch (m_view) {
    case ListLayout::LargeIcons:
        // Icons in rows, each name centred under its icon, wrapped to two lines and elided.
        m_list->setViewMode(QListView::IconMode);
        m_list->setMovement(QListView::Static);
        m_list->setFlow(QListView::LeftToRight);
        m_list->setWrapping(true);
        m_list->setIconSize(QSize(LargeIconPx, LargeIconPx));
        m_list->setWordWrap(true);
        m_list->setTextElideMode(Qt::ElideRight);
        m_list->setSpacing(0);
        m_delegate->setMaxWidth(0);
        m_list->setGridSize(QSize(LargeCellWidthPx, LargeIconPx + 12 + LargeCellTextLines * metrics.lineSpacing()));
        break;
    case ListLayout::SmallIcons:
        // Small icons with the name beside them, in rows of equal cells.
        m_list->setViewMode(QListView::ListMode);
        m_list->setMovement(QListView::Static);
        m_list->setFlow(QListView::LeftToRight);
        m_list->setWrapping(true);
        m_list->setIconSize(QSize(SmallIconPx, SmallIconPx));
        m_list->setWordWrap(false);
        m_list->setTextElideMode(Qt::ElideRight);
        m_list->setSpacing(0);
        m_delegate->setMaxWidth(SmallCellWidthPx - 4);
        m_list->setGridSize(QSize(SmallCellWidthPx, std::max(SmallIconPx, metrics.height()) + 6));
        break;
    case ListLayout::List:
        // Small icons with the name beside them, in columns read top to bottom.
        m_list->setViewMode(QListView::ListMode);
        m_list->setMovement(QListView::Static);
        m_list->setFlow(QListView::TopToBottom);
        m_list->setWrapping(true);
        m_list->setIconSize(QSize(SmallIconPx, SmallIconPx));
        m_list->setWordWrap(false);
        m_list->setTextElideMode(Qt::ElideRight);
        m_list->setGridSize(QSize());
        m_list->setSpacing(1);
        m_delegate->setMaxWidth(ListColumnMaxWidthPx);
        break;
    case ListLayout::Details:
        break;
    }
    m_list->setResizeMode(QListView::Adjust);
    // The cell limits changed with the layout: lay the items out with the new sizes.
    m_list->doItemsLayout();
    m_list->setUpdatesEnabled(true);
}

void QtListView::addColumn(const QString &key, const QString &text, double widthTwips)
{
    m_columns.push_back(Column{key, text, std::max(0.0, widthTwips)});
    std::vector<QString> captions;
    captions.reserve(m_columns.size());
    for (const Column &column : m_columns)
        captions.push_back(column.text);
    m_model->setCaptions(captions);
    const int column0 = columnCount() - 1;
    m_applyingWidth = true;
    // Model columns beyond the ones added stay hidden.
    for (int column = 0; column < m_proxy->columnCount(); ++column)
        m_tree->setColumnHidden(column, column >= columnCount());
    m_applyingWidth = false;
    for (int column = 0; column <= column0; ++column)
        applyColumnWidth(column);
}

QString QtListView::columnKey(int column) const
{
    if (column < 1 || column > columnCount())
        return QString();
    return m_columns[static_cast<size_t>(column - 1)].key;
}

QString QtListView::columnText(int column) const
{
    if (column < 1 || column > columnCount())
        return QString();
    return m_columns[static_cast<size_t>(column - 1)].text;
}

double QtListView::columnWidth(int column) const
{
    if (column < 1 || column > columnCount())
        return 0.0;
    return m_columns[static_cast<size_t>(column - 1)].widthTwips;
}

void QtListView::setColumnWidth(int column, double widthTwips)
{
    if (column < 1 || column > columnCount() || widthTwips < 0.0)
        return;
    m_columns[static_cast<size_t>(column - 1)].widthTwips = widthTwips;
    applyColumnWidth(column - 1);
}

void QtListView::applyColumnWidth(int column0)
{
    if (column0 < 0 || column0 >= columnCount())
        return;
    m_applyingWidth = true;
    m_header->resizeSection(column0,
                            common::twipsToPixels(m_columns[static_cast<size_t>(column0)].widthTwips, m_twipsPerPixel));
    m_applyingWidth = false;
}

void QtListView::setSortKey(int key)
{
    if (key < 0 || key > 2)
        return;
    m_sortKey = key;
    applySortOrder();
}

void QtListView::setSortOrder(int order)
{
    if (order < 0 || order > 1)
        return;
    m_sortOrder = order;
    applySortOrder();
}

void QtListView::setSorted(bool sorted)
{
    m_sorted = sorted;
    applySortOrder();
}

void QtListView::applySortOrder()
{
    addWaitingItems();
    m_proxy->setOrdering(m_sorted, m_sortKey, m_sortOrder == 1);
}

bool QtListView::headerHotTrack() const
{
    return m_header->hotTrack();
}

void QtListView::setHeaderHotTrack(bool on)
{
    m_header->setHotTrack(on);
}

void QtListView::setHeaderImage(int column0, int image, bool showImage)
{
    if (column0 < 0 || column0 >= columnCount())
        return;
    m_header->setArrow(column0, showImage ? std::optional<int>(image) : std::nullopt);
}

std::optional<int> QtListView::headerImage(int column0) const
{
    return m_header->arrow(column0);
}

QAbstractItemView *QtListView::currentView() const
{
    // Who reads the view reads its model: the waiting items are in it.
    addWaitingItems();
    if (m_view == ListLayout::Details)
        return m_tree;
    return m_list;
}

QHeaderView *QtListView::header() const
{
    return m_header;
}

QRect QtListView::itemRect(int index) const
{
    if (index < 1 || index > count())
        return QRect();
    QAbstractItemView *view = currentView();
    const QRect inViewport = view->visualRect(m_proxy->index(index - 1, 0));
    if (!inViewport.isValid())
        return QRect();
    return QRect(view->viewport()->mapTo(this, inViewport.topLeft()), inViewport.size());
}

bool QtListView::viewMousePress(QAbstractItemView *view, QMouseEvent *event)
{
    addWaitingItems();
    const int clears = m_clears;
    const QPointF at = toTwips(view, event->position());
    emit mouseDown(common::buttonMask(event->button()), common::shiftMask(event->modifiers()), at.x(), at.y());
    // A handler that emptied the list (a refresh from the context menu) leaves the press
    // nothing to select: the item now under the mouse is not the one the user pressed.
    return m_clears == clears;
}

void QtListView::viewMouseMove(QAbstractItemView *view, QMouseEvent *event)
{
    const QPointF at = toTwips(view, event->position());
    emit mouseMove(common::buttonMask(event->buttons()), common::shiftMask(event->modifiers()), at.x(), at.y());
}

void QtListView::viewDoubleClick()
{
    emit dblClick();
}

void QtListView::viewKeyPress(QKeyEvent *event)
{
    addWaitingItems();
    emit keyDown(common::virtualKeyCode(event->key(), event->modifiers()), common::shiftMask(event->modifiers()));
}

void QtListView::viewKeyMovedTo(int row)
{
    emit itemClick(row + 1);
}

void QtListView::viewPressedOn(int row)
{
    emit itemClick(row + 1);
}

QPointF QtListView::toTwips(QAbstractItemView *view, const QPointF &viewportPos) const
{
    const QPointF inWidget = view->viewport()->mapTo(this, viewportPos);
    return QPointF(common::pixelsToTwips(inWidget.x(), m_twipsPerPixel),
                   common::pixelsToTwips(inWidget.y(), m_twipsPerPixel));
}

} // namespace pavix::listview
