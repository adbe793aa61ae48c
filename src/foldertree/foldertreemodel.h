#pragma once
// The folder tree's model: the folders of the file system model, and beside them the folders
// whose names are not UTF-8, which Qt's own listings leave out. Such a folder comes after
// the other folders of the folder that holds it, shows its name with U+FFFD for each byte
// that is not UTF-8 (the tree's delegate draws it so), has no sub-folders in the tree, and
// its path keeps the name's bytes (common/filename.h), so that it can be listed.

#include <QIdentityProxyModel>
#include <QPersistentModelIndex>
#include <QString>

#include <memory>
#include <unordered_set>
#include <vector>

class QFileSystemModel;

namespace pavix::foldertree {

class FolderTreeModel : public QIdentityProxyModel {
    Q_OBJECT
public:
    // Shows `folders`; looks for the folders it leaves out in every folder it has read.
    FolderTreeModel(QFileSystemModel *folders, QObject *parent);
    ~FolderTreeModel() override;

    // The index of the folder at `path` (column 0); invalid while the folder that holds it
    // has not been read (for a folder Qt leaves out, that folder is then asked to be read).
    QModelIndex indexOf(const QString &path) const;
    // The path of the folder at `index`, holding the real bytes of every name; "" for none.
    QString filePath(const QModelIndex &index) const;

    QModelIndex index(int row, int column, const QModelIndex &parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    QModelIndex sibling(int row, int column, const QModelIndex &index) const override;
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    // One column, the folder's name: the tree shows no other, and assistive tools read
    // only what the model offers.
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    bool hasChildren(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool canFetchMore(const QModelIndex &parent) const override;
    void fetchMore(const QModelIndex &parent) override;
    QModelIndex mapToSource(const QModelIndex &proxyIndex) const override;
    // A source index of another column stands for its row's name.
    QModelIndex mapFromSource(const QModelIndex &sourceIndex) const override;

private:
    // A folder the file system model leaves out.
    struct LeftOut {
        QPersistentModelIndex holder; // the folder that holds it, in the file system model
        QString path;
        QString name;
    };
    // The folders left out of one folder the file system model shows, in their order.
    struct Holder {
        QPersistentModelIndex folder;
        std::vector<std::unique_ptr<LeftOut>> leftOut;
    };

    // Looks for the folders left out of `folder` once the file system model has read it.
    void readFolder(const QString &folder);
    const LeftOut *leftOutAt(const QModelIndex &index) const;
    const Holder *holderOf(const QModelIndex &sourceFolder) const;
    QModelIndex indexOfLeftOut(const LeftOut *folder, int column) const;
    // Sorting the file system model moves its rows; the folders left out stay after them.
    void beforeLayoutChange(const QList<QPersistentModelIndex> &sourceParents, LayoutChangeHint hint);
    void afterLayoutChange(const QList<QPersistentModelIndex> &sourceParents, LayoutChangeHint hint);
    QList<QPersistentModelIndex> mapParents(const QList<QPersistentModelIndex> &sourceParents) const;

    QFileSystemModel *m_folders;
    std::vector<std::unique_ptr<Holder>> m_holders;
    std::unordered_set<const void *> m_leftOut; // every LeftOut, for telling its indexes apart
    // Between the two halves of a layout change: the persistent indexes and where each goes.
    struct LayoutTarget {
        QPersistentModelIndex source;
        const LeftOut *leftOut = nullptr;
        int column = 0;
    };
    QModelIndexList m_layoutIndexes;
    std::vector<LayoutTarget> m_layoutTargets;
};

} // namespace pavix::foldertree
