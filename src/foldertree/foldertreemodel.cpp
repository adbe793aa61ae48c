#include "foldertree/foldertreemodel.h"

#include "common/filename.h"
#include "platform/folderlisting.h"
#include "platform/timedcall.h"

#include <QAbstractFileIconProvider>
#include <QFileSystemModel>

#include <algorithm>
#include <chrono>

namespace pavix::foldertree {

namespace {

// How long the tree waits for a folder's names to be read again by their bytes: a folder on
// a stalled mount costs it the folders Qt leaves out, never the interface.
constexpr std::chrono::milliseconds LeftOutReadLimit{2000};

} // namespace

FolderTreeModel::FolderTreeModel(QFileSystemModel *folders, QObject *parent)
    : QIdentityProxyModel(parent), m_folders(folders)
{
    setSourceModel(folders);
    // The identity proxy would map every persistent index through the file system model,
    // which knows nothing of the folders it leaves out: their indexes would be lost at every
    // sort. These two take its place.
    disconnect(folders,
               SIGNAL(layoutAboutToBeChanged(QList<QPersistentModelIndex>, QAbstractItemModel::LayoutChangeHint)), this,
               nullptr);
    disconnect(folders, SIGNAL(layoutChanged(QList<QPersistentModelIndex>, QAbstractItemModel::LayoutChangeHint)), this,
               nullptr);
    connect(folders, &QAbstractItemModel::layoutAboutToBeChanged, this, &FolderTreeModel::beforeLayoutChange);
    connect(folders, &QAbstractItemModel::layoutChanged, this, &FolderTreeModel::afterLayoutChange);
    // Inside the proxy's own reset, which began before this runs.
    connect(folders, &QAbstractItemModel::modelAboutToBeReset, this, [this] {
        m_holders.clear();
        m_leftOut.clear();
    });
    connect(folders, &QFileSystemModel::directoryLoaded, this, &FolderTreeModel::readFolder);
}

FolderTreeModel::~FolderTreeModel() = default;

void FolderTreeModel::readFolder(const QString &folder)
{
    const QModelIndex sourceFolder = m_folders->index(folder);
    if (!sourceFolder.isValid())
        return;
    // Folders since removed leave their holders behind.
    std::erase_if(m_holders, [this](const std::unique_ptr<Holder> &holder) {
        if (holder->folder.isValid())
            return false;
        for (const auto &leftOut : holder->leftOut)
            m_leftOut.erase(leftOut.get());
        return true;
    });
    const QString path = m_folders->filePath(sourceFolder);
    const std::optional<QStringList> names = platform::callWithin(LeftOutReadLimit, [path] {
        return platform::foldersQtLeavesOut(path);
    });
    if (!names)
        return;

    auto found = std::find_if(m_holders.begin(), m_holders.end(),
                              [&](const std::unique_ptr<Holder> &holder) { return holder->folder == sourceFolder; });
    if (found == m_holders.end()) {
        if (names->isEmpty())
            return;
        m_holders.push_back(std::make_unique<Holder>());
        m_holders.back()->folder = sourceFolder;
        found = std::prev(m_holders.end());
    }
    Holder &holder = **found;
    QStringList known;
    for (const auto &leftOut : holder.leftOut)
        known.append(leftOut->name);
    if (known == *names)
        return;

    const QModelIndex proxyFolder = mapFromSource(sourceFolder);
    const int listed = m_folders->rowCount(sourceFolder);
    if (!holder.leftOut.empty()) {
        beginRemoveRows(proxyFolder, listed, listed + int(holder.leftOut.size()) - 1);
        for (const auto &leftOut : holder.leftOut)
            m_leftOut.erase(leftOut.get());
        holder.leftOut.clear();
        endRemoveRows();
    }
    if (!names->isEmpty()) {
        beginInsertRows(proxyFolder, listed, listed + int(names->size()) - 1);
        const QString prefix = path.endsWith(u'/') ? path : path + u'/';
        for (const QString &name : *names) {
            holder.leftOut.push_back(std::make_unique<LeftOut>(LeftOut{sourceFolder, prefix + name, name}));
            m_leftOut.insert(holder.leftOut.back().get());
        }
        endInsertRows();
    }
}

const FolderTreeModel::LeftOut *FolderTreeModel::leftOutAt(const QModelIndex &index) const
{
    if (!index.isValid() || index.model() != this || !m_leftOut.contains(index.internalPointer()))
        return nullptr;
    return static_cast<const LeftOut *>(index.internalPointer());
}

const FolderTreeModel::Holder *FolderTreeModel::holderOf(const QModelIndex &sourceFolder) const
{
    if (!sourceFolder.isValid())
        return nullptr;
    for (const auto &holder : m_holders)
        if (holder->folder.isValid() && holder->folder == sourceFolder)
            return holder.get();
    return nullptr;
}

QModelIndex FolderTreeModel::indexOfLeftOut(const LeftOut *folder, int column) const
{
    const Holder *holder = holderOf(folder->holder);
    if (!holder)
        return QModelIndex();
    const auto at = std::find_if(holder->leftOut.begin(), holder->leftOut.end(),
                                 [folder](const std::unique_ptr<LeftOut> &leftOut) { return leftOut.get() == folder; });
    if (at == holder->leftOut.end())
        return QModelIndex();
    const int row = m_folders->rowCount(folder->holder) + int(at - holder->leftOut.begin());
    return createIndex(row, column, const_cast<LeftOut *>(folder));
}

QModelIndex FolderTreeModel::indexOf(const QString &path) const
{
    if (std::none_of(path.cbegin(), path.cend(), common::isUndecodedByte))
        return mapFromSource(m_folders->index(path));
    const qsizetype slash = path.lastIndexOf(u'/');
    if (slash < 0)
        return QModelIndex();
    const QModelIndex sourceHolder = m_folders->index(slash == 0 ? QStringLiteral("/") : path.left(slash));
    const Holder *holder = holderOf(sourceHolder);
    if (!holder) {
        // Not read yet: reading the folder that holds it brings it in (readFolder).
        if (sourceHolder.isValid() && m_folders->canFetchMore(sourceHolder))
            m_folders->fetchMore(sourceHolder);
        return QModelIndex();
    }
    for (const auto &leftOut : holder->leftOut)
        if (leftOut->path == path)
            return indexOfLeftOut(leftOut.get(), 0);
    return QModelIndex();
}

QString FolderTreeModel::filePath(const QModelIndex &index) const
{
    if (const LeftOut *folder = leftOutAt(index))
        return folder->path;
    return index.isValid() ? m_folders->filePath(mapToSource(index)) : QString();
}

QModelIndex FolderTreeModel::index(int row, int column, const QModelIndex &parent) const
{
    if (row < 0 || column < 0 || column >= columnCount(parent) || leftOutAt(parent))
        return QModelIndex();
    const QModelIndex sourceParent = mapToSource(parent);
    const int listed = m_folders->rowCount(sourceParent);
    if (row < listed)
        return mapFromSource(m_folders->index(row, column, sourceParent));
    const Holder *holder = holderOf(sourceParent);
    if (!holder || row - listed >= int(holder->leftOut.size()))
        return QModelIndex();
    return createIndex(row, column, holder->leftOut[size_t(row - listed)].get());
}

QModelIndex FolderTreeModel::parent(const QModelIndex &child) const
{
    if (const LeftOut *folder = leftOutAt(child))
        return mapFromSource(folder->holder);
    return QIdentityProxyModel::parent(child);
}

QModelIndex FolderTreeModel::sibling(int row, int column, const QModelIndex &index) const
{
    return this->index(row, column, parent(index));
}

int FolderTreeModel::rowCount(const QModelIndex &parent) const
{
    if (parent.column() > 0 || leftOutAt(parent))
        return 0;
    const QModelIndex sourceParent = mapToSource(parent);
    const Holder *holder = holderOf(sourceParent);
    return m_folders->rowCount(sourceParent) + (holder ? int(holder->leftOut.size()) : 0);
}

int FolderTreeModel::columnCount(const QModelIndex &parent) const
{
    return parent.column() > 0 ? 0 : 1;
}

bool FolderTreeModel::hasChildren(const QModelIndex &parent) const
{
    if (leftOutAt(parent))
        return false;
    return QIdentityProxyModel::hasChildren(parent) || rowCount(parent) > 0;
}

QVariant FolderTreeModel::data(const QModelIndex &index, int role) const
{
    const LeftOut *folder = leftOutAt(index);
    if (!folder)
        return QIdentityProxyModel::data(index, role);
    if (index.column() != 0)
        return QVariant();
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
    case QFileSystemModel::FileNameRole:
        return folder->name;
    case QFileSystemModel::FilePathRole:
        return folder->path;
    case Qt::DecorationRole:
        if (const QAbstractFileIconProvider *icons = m_folders->iconProvider())
            return icons->icon(QAbstractFileIconProvider::Folder);
        return QVariant();
    default:
        return QVariant();
    }
}

Qt::ItemFlags FolderTreeModel::flags(const QModelIndex &index) const
{
    if (leftOutAt(index))
        return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    return QIdentityProxyModel::flags(index);
}

bool FolderTreeModel::canFetchMore(const QModelIndex &parent) const
{
    return !leftOutAt(parent) && QIdentityProxyModel::canFetchMore(parent);
}

void FolderTreeModel::fetchMore(const QModelIndex &parent)
{
    if (!leftOutAt(parent))
        QIdentityProxyModel::fetchMore(parent);
}

QModelIndex FolderTreeModel::mapToSource(const QModelIndex &proxyIndex) const
{
    if (leftOutAt(proxyIndex))
        return QModelIndex();
    return QIdentityProxyModel::mapToSource(proxyIndex);
}

QModelIndex FolderTreeModel::mapFromSource(const QModelIndex &sourceIndex) const
{
    return QIdentityProxyModel::mapFromSource(sourceIndex.column() > 0 ? sourceIndex.siblingAtColumn(0) : sourceIndex);
}

QList<QPersistentModelIndex> FolderTreeModel::mapParents(const QList<QPersistentModelIndex> &sourceParents) const
{
    QList<QPersistentModelIndex> parents;
    parents.reserve(sourceParents.size());
    for (const QPersistentModelIndex &parent : sourceParents)
        parents.append(parent.isValid() ? QPersistentModelIndex(mapFromSource(parent)) : QPersistentModelIndex());
    return parents;
}

void FolderTreeModel::beforeLayoutChange(const QList<QPersistentModelIndex> &sourceParents, LayoutChangeHint hint)
{
    emit layoutAboutToBeChanged(mapParents(sourceParents), hint);
    m_layoutIndexes = persistentIndexList();
    m_layoutTargets.clear();
    m_layoutTargets.reserve(size_t(m_layoutIndexes.size()));
    for (const QModelIndex &index : std::as_const(m_layoutIndexes)) {
        if (const LeftOut *folder = leftOutAt(index))
            m_layoutTargets.push_back({QPersistentModelIndex(), folder, index.column()});
        else
            m_layoutTargets.push_back({QPersistentModelIndex(mapToSource(index)), nullptr, 0});
    }
}

void FolderTreeModel::afterLayoutChange(const QList<QPersistentModelIndex> &sourceParents, LayoutChangeHint hint)
{
    for (qsizetype i = 0; i < m_layoutIndexes.size(); ++i) {
        const LayoutTarget &target = m_layoutTargets[size_t(i)];
        changePersistentIndex(m_layoutIndexes.at(i), target.leftOut ? indexOfLeftOut(target.leftOut, target.column)
                                                                    : mapFromSource(target.source));
    }
    m_layoutIndexes.clear();
    m_layoutTargets.clear();
    emit layoutChanged(mapParents(sourceParents), hint);
}

} // namespace pavix::foldertree
