#include "foldertree/foldertree.h"

#include "catalogue/filepaths.h"
#include "common/keys.h"
#include "foldertree/foldertreemodel.h"

#include <QAbstractFileIconProvider>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTimer>

#include <algorithm>

namespace pavix::foldertree {

namespace {

// The tree lists folders only, and every folder gets the theme's folder icon. Qt's own
// provider looks at each entry to choose its icon, which can read from a file that never
// answers (a stalled network mount, /proc): the tree must never wait on that.
class FolderIconProvider : public QAbstractFileIconProvider {
public:
    QIcon icon(IconType type) const override { return QAbstractFileIconProvider::icon(type); }
    QIcon icon(const QFileInfo &) const override { return QAbstractFileIconProvider::icon(Folder); }
    QString type(const QFileInfo &) const override
    {
        return QCoreApplication::translate("pavix::foldertree", "Folder");
    }
};

// Rows of the tree are one line high: a name is drawn on one line, whatever it holds.
class OneLineDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QString displayText(const QVariant &value, const QLocale &locale) const override
    {
        return catalogue::oneLineText(QStyledItemDelegate::displayText(value, locale));
    }
};

} // namespace

FolderTree::FolderTree(QWidget *parent)
    : QTreeView(parent), m_model(new QFileSystemModel(this)), m_iconProvider(std::make_unique<FolderIconProvider>())
{
    m_model->setIconProvider(m_iconProvider.get());
    m_model->setOption(QFileSystemModel::DontUseCustomDirectoryIcons);
    m_model->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    m_model->setReadOnly(true);
    m_model->setRootPath(QStringLiteral("/"));
    m_folders = new FolderTreeModel(m_model, this);
    // Connected before the view and its selection model connect theirs: the flag is up before
    // the selection model moves the current index off the row that goes.
    connect(m_folders, &QAbstractItemModel::rowsAboutToBeRemoved, this,
            [this](const QModelIndex &above, int first, int last) {
                if (holdsCurrent(above, first, last))
                    m_currentRemoved = true;
            });
    setModel(m_folders);
    setItemDelegate(new OneLineDelegate(this));
    for (int c = 1; c < m_model->columnCount(); ++c)
        hideColumn(c);
    setHeaderHidden(true);
    // The one column is as wide as its longest shown name, and the tree scrolls sideways
    // when that is wider than the pane, so deep folders keep their names in view.
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setUniformRowHeights(true);
    setAnimated(false);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Connected after the view's own handling: the row is gone and the current index moved.
    // The tree then shows no current folder; the selected one stays what it was.
    connect(m_folders, &QAbstractItemModel::rowsRemoved, this, [this] {
        if (!m_currentRemoved)
            return;
        m_writing = true;
        selectionModel()->clear();
        m_writing = false;
        m_currentRemoved = false;
    });
    // The model reads folders in the background and sorts them a moment later: once the
    // folder holding the selected one is read, show the selected folder.
    connect(m_model, &QFileSystemModel::directoryLoaded, this, [this](const QString &folder) {
        if (!m_revealPending)
            return;
        revealSelected();
        if (QFileInfo(m_selected).absolutePath() == QFileInfo(folder).absoluteFilePath())
            QTimer::singleShot(150, this, [this] {
                if (m_revealPending)
                    revealSelected();
                m_revealPending = false;
            });
    });
}

FolderTree::~FolderTree()
{
    setModel(nullptr);
    delete m_folders;
    delete m_model;
}

bool FolderTree::holdsCurrent(const QModelIndex &parent, int first, int last) const
{
    for (QModelIndex index = currentIndex(); index.isValid(); index = index.parent()) {
        if (index.parent() == parent && index.row() >= first && index.row() <= last)
            return true;
    }
    return false;
}

void FolderTree::revealSelected()
{
    const QModelIndex index = m_folders->indexOf(m_selected);
    if (!index.isValid())
        return;
    // Expanding the folders above it makes the model read them.
    for (QModelIndex up = index.parent(); up.isValid(); up = up.parent())
        expand(up);
    if (currentIndex() != index) {
        m_writing = true;
        setCurrentIndex(index);
        m_writing = false;
    }
    scrollTo(index, QAbstractItemView::PositionAtCenter);
    showNameOf(index);
}

int FolderTree::nameScroll(int nameLeft, int nameRight, int viewportWidth, int margin)
{
    // nameLeft and nameRight are in the tree's content, as if it were not scrolled.
    if (nameRight <= viewportWidth)
        return 0;
    // Just far enough to show the name's end, but never past its start (less the margin).
    return std::max(0, std::min(nameRight - viewportWidth, nameLeft - margin));
}

void FolderTree::showNameOf(const QModelIndex &index)
{
    // scrollTo() moves only up and down here; the name of a deep folder may still lie to
    // the right of the pane.
    const QRect item = visualRect(index);
    if (item.isEmpty())
        return;
    const int offset = horizontalScrollBar()->value();
    horizontalScrollBar()->setValue(nameScroll(item.left() + offset, item.right() + 1 + offset, viewport()->width(),
                                               indentation()));
}

void FolderTree::setSelectedFolder(const QString &path)
{
    const bool changed = path != m_selected;
    m_selected = path;
    m_revealPending = true;
    revealSelected();
    if (changed)
        emit folderChanged();
}

void FolderTree::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    QTreeView::currentChanged(current, previous);
    if (m_writing || m_currentRemoved || !current.isValid())
        return;
    const QString path = m_folders->filePath(current);
    if (path.isEmpty() || path == m_selected)
        return;
    m_selected = path;
    m_revealPending = false;
    emit folderChanged();
}

void FolderTree::mousePressEvent(QMouseEvent *event)
{
    // The right button raises the tree's pop-up menu; it neither picks nor lists a folder.
    if (event->button() != Qt::RightButton) {
        m_revealPending = false;
        QTreeView::mousePressEvent(event);
    }
    emit mouseDown(common::buttonMask(event->buttons() | event->button()), common::shiftMask(event->modifiers()));
}

} // namespace pavix::foldertree
