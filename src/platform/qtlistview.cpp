#include "platform/qtlistview.h"

#include "common/keys.h"
#include "common/units.h"
#include "listview/headerarrows.h"
#include "listview/sortorder.h"
#include "platform/imagelist.h"

#include <QAbstractTableModel>
#include <QEvent>
#include <QFontMetrics>
#include <QHash>
#include <QHeaderView>
#include <QIcon>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QListView>
#include <QLocale>
#include <QMouseEvent>
#include <QPainter>
#include <QPersistentModelIndex>
#include <QPixmap>
#include <QStackedLayout>
#include <QStyle>
#include <QStyleOptionHeader>
#include <QStyledItemDelegate>
#include <QTimer>
#include <QTreeView>

#include <algorithm>
#include <array>
#include <numeric>

namespace pavix::platform {

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
// Gap between a header caption and its sort arrow.
constexpr int HeaderArrowGapPx = 4;

double validFactor(double twipsPerPixel)
{
    return twipsPerPixel > 0.0 ? twipsPerPixel : DefaultTwipsPerPixel;
}

} // namespace

// The items in displayed order. Rows are the positions of the list less 1; each row keeps
// the position at which it was added, which ordering never changes.
class LvModel final : public QAbstractTableModel {
public:
    struct Row {
        QString text;
        std::array<QString, 2> sub;
        std::array<std::optional<std::int64_t>, 2> number;
        int icon = 0;
        int added = 0;
    };

    explicit LvModel(QObject *parent) : QAbstractTableModel(parent) {}

    int rowCount(const QModelIndex &parent = QModelIndex()) const override
    {
        return parent.isValid() ? 0 : static_cast<int>(m_shown.size());
    }
    int columnCount(const QModelIndex &parent = QModelIndex()) const override
    {
        return parent.isValid() ? 0 : std::max(3, static_cast<int>(m_captions.size()));
    }
    Qt::ItemFlags flags(const QModelIndex &index) const override
    {
        if (!index.isValid())
            return Qt::NoItemFlags;
        return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    }

    QVariant data(const QModelIndex &index, int role) const override
    {
        const Row *row = rowAt(index.row());
        if (!row || index.column() < 0)
            return QVariant();
        const int column = index.column();
        switch (role) {
        case Qt::DisplayRole:
            if (column == 0)
                return row->text;
            if (column <= 2)
                return row->sub[static_cast<size_t>(column - 1)];
            return QVariant();
        case Qt::ToolTipRole:
            return column == 0 ? QVariant(row->text) : QVariant();
        case Qt::DecorationRole:
            return column == 0 ? QVariant(iconFor(row->icon)) : QVariant();
        case Qt::TextAlignmentRole:
            // Columns given as numbers (the size) line up on the right.
            if (column >= 1 && column <= 2 && row->number[static_cast<size_t>(column - 1)])
                return QVariant(Qt::AlignRight | Qt::AlignVCenter);
            return QVariant();
        default:
            return QVariant();
        }
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0
            || section >= static_cast<int>(m_captions.size()))
            return QVariant();
        return m_captions[static_cast<size_t>(section)];
    }

    const Row *rowAt(int row) const
    {
        if (row < 0 || row >= static_cast<int>(m_shown.size()))
            return nullptr;
        return &m_rows[static_cast<size_t>(m_shown[static_cast<size_t>(row)])];
    }

    // How many times the list was emptied; a press whose handler emptied it is dropped.
    int resetCount() const { return m_resetCount; }

    // Adds an item at its place (the end, or after its equals when sorted); returns the
    // row it went to.
    int appendRow(const QString &text, int icon)
    {
        ensureOrdered();
        Row row;
        row.text = text;
        row.icon = icon;
        row.added = m_nextAdded++;
        int at = static_cast<int>(m_shown.size());
        if (m_sorted) {
            const listview::SortOrder &order = sortOrder();
            const listview::SortItem item = sortItem(row);
            const auto place = std::upper_bound(
                m_shown.begin(), m_shown.end(), item, [&](const listview::SortItem &a, int b) {
                    return order(a, sortItem(m_rows[static_cast<size_t>(b)]));
                });
            at = static_cast<int>(place - m_shown.begin());
        }
        beginInsertRows(QModelIndex(), at, at);
        m_rows.push_back(std::move(row));
        m_shown.insert(m_shown.begin() + at, static_cast<int>(m_rows.size()) - 1);
        endInsertRows();
        return at;
    }

    void setSub(int row, int subItem, const QString &text, std::optional<std::int64_t> number)
    {
        if (!rowAt(row) || subItem < 1 || subItem > 2)
            return;
        Row &r = m_rows[static_cast<size_t>(m_shown[static_cast<size_t>(row)])];
        r.sub[static_cast<size_t>(subItem - 1)] = text;
        r.number[static_cast<size_t>(subItem - 1)] = number;
        emit dataChanged(index(row, subItem), index(row, subItem));
        // The row keeps its place until the next call, so that the position the caller
        // holds still names it for the other sub-item.
        if (m_sorted && m_key == subItem) {
            if (std::find(m_dirty.begin(), m_dirty.end(), row) == m_dirty.end())
                m_dirty.push_back(row);
            scheduleOrder();
        }
    }

    void clearRows()
    {
        beginResetModel();
        m_rows.clear();
        m_shown.clear();
        m_dirty.clear();
        m_nextAdded = 1;
        ++m_resetCount;
        endResetModel();
    }

    void setCaptions(const std::vector<QString> &captions)
    {
        const int before = columnCount();
        const int after = std::max(3, static_cast<int>(captions.size()));
        if (after > before) {
            beginInsertColumns(QModelIndex(), before, after - 1);
            m_captions = captions;
            endInsertColumns();
        } else {
            m_captions = captions;
        }
        emit headerDataChanged(Qt::Horizontal, 0, after - 1);
    }

    void setIconSources(const ImageList *large, const ImageList *small)
    {
        m_large = large;
        m_small = small;
        iconsChanged();
    }

    void iconsChanged()
    {
        m_iconCache.clear();
        if (!m_rows.empty())
            emit dataChanged(index(0, 0), index(rowCount() - 1, 0), {Qt::DecorationRole});
    }

    // Orders the rows at once when sorted; unsorted keeps the present order.
    void setOrdering(bool sorted, int key, bool descending)
    {
        m_sorted = sorted;
        m_key = key;
        m_order = listview::SortOrder(descending, QLocale());
        m_dirty.clear();
        if (m_sorted)
            sortAll();
    }

    // Moves rows whose key changed to their places.
    void ensureOrdered()
    {
        m_orderScheduled = false;
        if (!m_sorted || m_dirty.empty()) {
            m_dirty.clear();
            return;
        }
        if (m_dirty.size() == 1) {
            const int row = m_dirty.front();
            m_dirty.clear();
            moveToPlace(row);
        } else {
            m_dirty.clear();
            sortAll();
        }
    }

private:
    // Opening a collator is costly next to a comparison: one serves until the order changes.
    const listview::SortOrder &sortOrder() const { return m_order; }

    listview::SortItem sortItem(const Row &row) const
    {
        if (m_key == 0)
            return listview::SortItem{row.text, std::nullopt, row.added};
        const auto sub = static_cast<size_t>(m_key - 1);
        return listview::SortItem{row.sub[sub], row.number[sub], row.added};
    }

    void scheduleOrder()
    {
        if (m_orderScheduled)
            return;
        m_orderScheduled = true;
        QTimer::singleShot(0, this, [this] { ensureOrdered(); });
    }

    // Moves one row among the others, which are in order.
    void moveToPlace(int row)
    {
        const int n = static_cast<int>(m_shown.size());
        const listview::SortOrder &order = sortOrder();
        const listview::SortItem item = sortItem(*rowAt(row));
        // Upper bound among the other rows, counted as if `row` were taken out.
        int low = 0;
        int high = n - 1;
        while (low < high) {
            const int mid = (low + high) / 2;
            const int other = mid < row ? mid : mid + 1;
            if (order(item, sortItem(*rowAt(other))))
                high = mid;
            else
                low = mid + 1;
        }
        const int target = low; // the row's place once moved
        if (target == row)
            return;
        const int destination = target > row ? target + 1 : target;
        if (!beginMoveRows(QModelIndex(), row, row, QModelIndex(), destination))
            return;
        auto first = m_shown.begin();
        const int moving = m_shown[static_cast<size_t>(row)];
        if (target > row)
            std::move(first + row + 1, first + target + 1, first + row);
        else
            std::move_backward(first + target, first + row, first + row + 1);
        m_shown[static_cast<size_t>(target)] = moving;
        endMoveRows();
    }

    void sortAll()
    {
        const int n = static_cast<int>(m_shown.size());
        const listview::SortOrder &order = sortOrder();
        std::vector<listview::SortItem> items;
        items.reserve(m_shown.size());
        for (int row = 0; row < n; ++row)
            items.push_back(sortItem(*rowAt(row)));
        std::vector<int> newToOld(static_cast<size_t>(n));
        std::iota(newToOld.begin(), newToOld.end(), 0);
        std::stable_sort(newToOld.begin(), newToOld.end(), [&](int a, int b) {
            return order(items[static_cast<size_t>(a)], items[static_cast<size_t>(b)]);
        });
        bool unchanged = true;
        for (int i = 0; i < n && unchanged; ++i)
            unchanged = newToOld[static_cast<size_t>(i)] == i;
        if (unchanged)
            return;

        emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
        std::vector<int> oldToNew(static_cast<size_t>(n));
        std::vector<int> reordered(static_cast<size_t>(n));
        for (int i = 0; i < n; ++i) {
            const int old = newToOld[static_cast<size_t>(i)];
            oldToNew[static_cast<size_t>(old)] = i;
            reordered[static_cast<size_t>(i)] = m_shown[static_cast<size_t>(old)];
        }
        m_shown = std::move(reordered);
        const QModelIndexList from = persistentIndexList();
        QModelIndexList to;
        to.reserve(from.size());
        for (const QModelIndex &index : from)
            to.append(this->index(oldToNew[static_cast<size_t>(index.row())], index.column()));
        changePersistentIndexList(from, to);
        emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
    }

    QIcon iconFor(int position) const
    {
        if (position < 1)
            return QIcon();
        const auto cached = m_iconCache.constFind(position);
        if (cached != m_iconCache.constEnd())
            return *cached;
        // One icon holds both sizes; each layout asks for the size it draws.
        QIcon icon;
        for (const ImageList *list : {m_large, m_small}) {
            if (!list || position > list->count())
                continue;
            const QImage &picture = list->at(position).picture;
            if (!picture.isNull())
                icon.addPixmap(QPixmap::fromImage(picture));
        }
        m_iconCache.insert(position, icon);
        return icon;
    }

    // Rows stay where they were added; m_shown lists them in displayed order, so that
    // ordering moves numbers, not rows.
    std::vector<Row> m_rows;
    std::vector<int> m_shown;
    std::vector<QString> m_captions;
    std::vector<int> m_dirty;
    const ImageList *m_large = nullptr;
    const ImageList *m_small = nullptr;
    mutable QHash<int, QIcon> m_iconCache;
    int m_nextAdded = 1;
    int m_resetCount = 0;
    int m_key = 0;
    bool m_sorted = false;
    listview::SortOrder m_order{false, QLocale()};
    bool m_orderScheduled = false;
};

// The details header: captions left-aligned, the sort arrow right of the caption of one
// column, and, with hot tracking on, the section under the mouse highlighted.
class LvHeader final : public QHeaderView {
public:
    explicit LvHeader(QWidget *parent) : QHeaderView(Qt::Horizontal, parent)
    {
        m_images[0] = listview::headerArrowImage(0);
        m_images[1] = listview::headerArrowImage(1);
        setSectionsClickable(true);
        setSectionsMovable(false);
        setHighlightSections(false);
        setStretchLastSection(false);
        setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        setMouseTracking(true);
        viewport()->setMouseTracking(true);
        viewport()->setAttribute(Qt::WA_Hover, true);
    }

    bool hotTrack() const { return m_hotTrack; }
    void setHotTrack(bool on)
    {
        m_hotTrack = on;
        viewport()->update();
    }
    int hoveredSection() const { return m_hover; }

    void setArrow(int column0, std::optional<int> image)
    {
        if (column0 < 0)
            return;
        if (column0 >= static_cast<int>(m_arrows.size()))
            m_arrows.resize(static_cast<size_t>(column0) + 1);
        m_arrows[static_cast<size_t>(column0)] = image;
        updateSection(column0);
    }
    std::optional<int> arrow(int column0) const
    {
        if (column0 < 0 || column0 >= static_cast<int>(m_arrows.size()))
            return std::nullopt;
        return m_arrows[static_cast<size_t>(column0)];
    }

protected:
    void paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const override
    {
        if (!rect.isValid())
            return;
        QStyleOptionHeader option;
        initStyleOptionForIndex(&option, logicalIndex);
        option.rect = rect;
        option.sortIndicator = QStyleOptionHeader::None;
        const bool hot = m_hotTrack && logicalIndex == m_hover;
        if (hot)
            option.state |= QStyle::State_MouseOver;
        else
            option.state &= ~QStyle::State_MouseOver;

        painter->save();
        style()->drawControl(QStyle::CE_HeaderSection, &option, painter, this);
        if (hot) {
            // Not every style shows the hovered section; a tint of the highlight colour does.
            QColor tint = palette().color(QPalette::Highlight);
            tint.setAlpha(60);
            painter->fillRect(rect.adjusted(1, 1, -1, -1), tint);
        }

        QStyleOptionHeader label = option;
        label.rect = style()->subElementRect(QStyle::SE_HeaderLabel, &option, this);
        label.textAlignment = Qt::AlignLeft | Qt::AlignVCenter;
        const QImage *image = arrowImage(logicalIndex);
        if (image) {
            // The arrow sits right after the caption (trailing spaces included), and
            // within the section when the column is narrow; the caption gives way to it.
            const int textWidth = option.fontMetrics.horizontalAdvance(option.text);
            const int maxLeft = label.rect.right() + 1 - image->width();
            const int left =
                std::max(label.rect.left(),
                         std::min(label.rect.left() + textWidth + HeaderArrowGapPx, maxLeft));
            const int top = rect.top() + (rect.height() - image->height()) / 2;
            label.rect.setRight(left - HeaderArrowGapPx);
            painter->drawImage(QPoint(left, top), *image);
        }
        if (label.rect.width() > 0)
            style()->drawControl(QStyle::CE_HeaderLabel, &label, painter, this);
        painter->restore();
    }

    bool viewportEvent(QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::HoverEnter:
        case QEvent::HoverMove:
            setHover(logicalIndexAt(static_cast<QHoverEvent *>(event)->position().toPoint()));
            break;
        case QEvent::HoverLeave:
        case QEvent::Leave:
            setHover(-1);
            break;
        default:
            break;
        }
        return QHeaderView::viewportEvent(event);
    }

private:
    const QImage *arrowImage(int logicalIndex) const
    {
        const std::optional<int> image = arrow(logicalIndex);
        if (!image || *image < 0 || *image > 1 || m_images[static_cast<size_t>(*image)].isNull())
            return nullptr;
        return &m_images[static_cast<size_t>(*image)];
    }

    void setHover(int section)
    {
        if (section == m_hover)
            return;
        const int old = m_hover;
        m_hover = section;
        if (!m_hotTrack)
            return;
        if (old >= 0)
            updateSection(old);
        if (section >= 0)
            updateSection(section);
    }

    std::vector<std::optional<int>> m_arrows;
    std::array<QImage, 2> m_images;
    bool m_hotTrack = false;
    int m_hover = -1;
};

// Keeps each item within its cell: a long name is elided instead of running into the
// next cell (the view lays items out by the sizes this gives).
class LvItemDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    // 0 leaves the width as the name needs it.
    void setMaxWidth(int widthPx) { m_maxWidth = widthPx; }

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        if (m_maxWidth > 0 && size.width() > m_maxWidth)
            size.setWidth(m_maxWidth);
        return size;
    }

private:
    int m_maxWidth = 0;
};

// A Qt item view that reports its mouse and key events to the list before acting on them.
template <typename Base>
class LvItemView final : public Base {
public:
    explicit LvItemView(QtListView *owner) : Base(owner), m_owner(owner) {}

protected:
    void mousePressEvent(QMouseEvent *event) override
    {
        if (m_owner->viewMousePress(this, event))
            Base::mousePressEvent(event);
        else
            event->accept();
    }
    void mouseMoveEvent(QMouseEvent *event) override
    {
        m_owner->viewMouseMove(this, event);
        Base::mouseMoveEvent(event);
    }
    void mouseDoubleClickEvent(QMouseEvent *event) override
    {
        Base::mouseDoubleClickEvent(event);
        m_owner->viewDoubleClick();
    }
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex &index,
                                                         const QEvent *event) const override
    {
        // Ctrl+click or Ctrl+Space on the selected item would leave nothing selected while
        // itemClick names it: a click on an item always selects it.
        const QItemSelectionModel::SelectionFlags flags = Base::selectionCommand(index, event);
        if (index.isValid()
            && (flags & (QItemSelectionModel::Deselect | QItemSelectionModel::Toggle)))
            return QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows;
        return flags;
    }
    void focusInEvent(QFocusEvent *event) override
    {
        // Qt makes the first item current when the view gets the focus with none; the list
        // leaves no item marked until the user or the program picks one.
        const bool hadCurrent = this->currentIndex().isValid();
        Base::focusInEvent(event);
        if (!hadCurrent && this->currentIndex().isValid() && this->selectionModel()
            && !this->selectionModel()->hasSelection())
            this->selectionModel()->clearCurrentIndex();
    }
    void keyPressEvent(QKeyEvent *event) override
    {
        m_owner->viewKeyPress(event);
        const QPersistentModelIndex before = this->currentIndex();
        Base::keyPressEvent(event);
        const QModelIndex after = this->currentIndex();
        if (after.isValid() && after != QModelIndex(before))
            m_owner->viewKeyMovedTo(after.row());
    }

private:
    QtListView *m_owner;
};

QtListView::QtListView(QWidget *parent, double twipsPerPixel)
    : QWidget(parent), m_twipsPerPixel(validFactor(twipsPerPixel))
{
    m_model = new LvModel(this);
    auto *list = new LvItemView<QListView>(this);
    auto *tree = new LvItemView<QTreeView>(this);
    m_list = list;
    m_tree = tree;
    m_header = new LvHeader(m_tree);
    m_tree->setHeader(m_header);

    m_list->setModel(m_model);
    m_tree->setModel(m_model);
    // One selection for both views, so that a change of layout keeps the selected item.
    m_selection = new QItemSelectionModel(m_model, this);
    m_list->setSelectionModel(m_selection);
    m_tree->setSelectionModel(m_selection);

    for (QAbstractItemView *view : {static_cast<QAbstractItemView *>(m_list),
                                    static_cast<QAbstractItemView *>(m_tree)}) {
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

    m_delegate = new LvItemDelegate(m_list);
    m_list->setItemDelegate(m_delegate);
    m_list->setModelColumn(0);
    m_list->setResizeMode(QListView::Adjust);
    m_list->setSelectionRectVisible(false);

    m_tree->setRootIsDecorated(false);
    m_tree->setItemsExpandable(false);
    m_tree->setExpandsOnDoubleClick(false);
    m_tree->setUniformRowHeights(true);
    m_tree->setAllColumnsShowFocus(true);
    m_tree->setSortingEnabled(false); // the program orders the items; this also ...
    m_header->setSectionsClickable(true); // ... makes the header unclickable, so undo that
    m_tree->setIconSize(QSize(SmallIconPx, SmallIconPx));
    m_tree->setHeaderHidden(false);
    // Columns appear as they are added.
    m_applyingWidth = true;
    for (int column = 0; column < m_model->columnCount(); ++column)
        m_tree->setColumnHidden(column, true);
    m_applyingWidth = false;
    connect(m_header, &QHeaderView::sectionClicked, this,
            [this](int logicalIndex) { emit columnClick(logicalIndex + 1); });
    connect(m_header, &QHeaderView::sectionResized, this,
            [this](int logicalIndex, int, int newSize) {
                // A width the user drags is kept in twips like one set by the program.
                if (m_applyingWidth || logicalIndex < 0 || logicalIndex >= columnCount()
                    || m_header->isSectionHidden(logicalIndex))
                    return;
                m_columns[static_cast<size_t>(logicalIndex)].widthTwips =
                    common::pixelsToTwips(newSize, m_twipsPerPixel);
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
    return m_model->appendRow(text, iconPosition) + 1;
}

void QtListView::setSubItem(int index, int subItem, const QString &text,
                            std::optional<std::int64_t> number)
{
    m_model->setSub(index - 1, subItem, text, number);
}

QString QtListView::itemText(int index) const
{
    m_model->ensureOrdered();
    const LvModel::Row *row = m_model->rowAt(index - 1);
    return row ? row->text : QString();
}

QString QtListView::subItemText(int index, int subItem) const
{
    m_model->ensureOrdered();
    const LvModel::Row *row = m_model->rowAt(index - 1);
    if (!row || subItem < 1 || subItem > 2)
        return QString();
    return row->sub[static_cast<size_t>(subItem - 1)];
}

int QtListView::addedPosition(int index) const
{
    m_model->ensureOrdered();
    const LvModel::Row *row = m_model->rowAt(index - 1);
    return row ? row->added : 0;
}

int QtListView::count() const
{
    return m_model->rowCount();
}

void QtListView::clear()
{
    m_model->clearRows();
}

int QtListView::findItem(const QString &text) const
{
    m_model->ensureOrdered();
    for (int row = 0; row < m_model->rowCount(); ++row) {
        if (m_model->rowAt(row)->text == text)
            return row + 1;
    }
    return 0;
}

int QtListView::hitTest(int xTwips, int yTwips) const
{
    m_model->ensureOrdered();
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
    m_model->ensureOrdered();
    const QItemSelection selection = m_selection->selection();
    if (selection.isEmpty())
        return 0;
    return selection.first().top() + 1;
}

void QtListView::setSelectedItem(int index)
{
    m_model->ensureOrdered();
    if (index < 1 || index > count()) {
        // clear() drops the current item too, so no focus frame is left on an item.
        m_selection->clear();
        return;
    }
    const QModelIndex item = m_model->index(index - 1, 0);
    m_selection->setCurrentIndex(item, QItemSelectionModel::ClearAndSelect
                                           | QItemSelectionModel::Rows);
    currentView()->scrollTo(item);
}

void QtListView::setIcons(const ImageList *list)
{
    m_icons = list;
    m_model->setIconSources(m_icons, m_smallIcons);
}

void QtListView::setSmallIcons(const ImageList *list)
{
    m_smallIcons = list;
    m_model->setIconSources(m_icons, m_smallIcons);
}

void QtListView::iconsChanged()
{
    m_model->iconsChanged();
}

void QtListView::setView(LvView view)
{
    const int value = static_cast<int>(view);
    if (value < static_cast<int>(LvView::LargeIcons) || value > static_cast<int>(LvView::Details))
        return;
    m_model->ensureOrdered();
    QAbstractItemView *before = currentView();
    const bool hadFocus = before->hasFocus();
    m_view = view;
    if (m_view != LvView::Details)
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
    case LvView::LargeIcons:
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
        m_list->setGridSize(
            QSize(LargeCellWidthPx, LargeIconPx + 12 + LargeCellTextLines * metrics.lineSpacing()));
        break;
    case LvView::SmallIcons:
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
        m_list->setGridSize(
            QSize(SmallCellWidthPx, std::max(SmallIconPx, metrics.height()) + 6));
        break;
    case LvView::List:
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
    case LvView::Details:
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
    for (int column = 0; column < m_model->columnCount(); ++column)
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
    m_header->resizeSection(
        column0,
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
    m_model->ensureOrdered();
    m_model->setOrdering(m_sorted, m_sortKey, m_sortOrder == 1);
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
    if (m_view == LvView::Details)
        return m_tree;
    return m_list;
}

QHeaderView *QtListView::header() const
{
    return m_header;
}

QRect QtListView::itemRect(int index) const
{
    m_model->ensureOrdered();
    if (index < 1 || index > count())
        return QRect();
    QAbstractItemView *view = currentView();
    const QRect inViewport = view->visualRect(m_model->index(index - 1, 0));
    if (!inViewport.isValid())
        return QRect();
    return QRect(view->viewport()->mapTo(this, inViewport.topLeft()), inViewport.size());
}

bool QtListView::viewMousePress(QAbstractItemView *view, QMouseEvent *event)
{
    m_model->ensureOrdered();
    const int resets = m_model->resetCount();
    const QPointF at = toTwips(view, event->position());
    emit mouseDown(common::buttonMask(event->button()), common::shiftMask(event->modifiers()),
                   at.x(), at.y());
    // A handler that emptied the list (a refresh from the context menu) leaves the press
    // nothing to select: the item now under the mouse is not the one the user pressed.
    return m_model->resetCount() == resets;
}

void QtListView::viewMouseMove(QAbstractItemView *view, QMouseEvent *event)
{
    const QPointF at = toTwips(view, event->position());
    emit mouseMove(common::buttonMask(event->buttons()), common::shiftMask(event->modifiers()),
                   at.x(), at.y());
}

void QtListView::viewDoubleClick()
{
    emit dblClick();
}

void QtListView::viewKeyPress(QKeyEvent *event)
{
    m_model->ensureOrdered();
    emit keyDown(common::virtualKeyCode(event->key(), event->modifiers()),
                 common::shiftMask(event->modifiers()));
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

} // namespace pavix::platform
