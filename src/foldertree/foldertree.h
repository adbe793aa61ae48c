#pragma once
// The folder tree: the file system's folders (hidden ones left out), with a selected
// folder that reads back exactly as it was written and a notification when it changes.
// A folder's name holding a line break is drawn on one line (catalogue::oneLineText); a
// folder whose name is not UTF-8 is shown too, with U+FFFD, and selected by its real name
// (FolderTreeModel).
// When another program removes or renames the selected folder (or one above it), the
// selection stays on it and no notification comes: the program never moves to another
// folder by itself.

#include <QString>
#include <QTreeView>

#include <memory>

class QAbstractFileIconProvider;
class QFileSystemModel;

namespace pavix::foldertree {

class FolderTreeModel;

class FolderTree : public QTreeView {
    Q_OBJECT
public:
    explicit FolderTree(QWidget *parent);
    // The model goes before the icon provider its reading thread uses.
    ~FolderTree() override;

    // The folder selected in the tree: what was last written, or the path of the folder
    // the user picked.
    QString selectedFolder() const { return m_selected; }
    // Selects the folder (expanding the tree to it) and raises folderChanged() when the
    // selection changed.
    void setSelectedFolder(const QString &path);

    // How far (pixels) to scroll sideways to show a name lying from nameLeft to nameRight
    // in the unscrolled content: not at all when it fits from the left edge, otherwise just
    // far enough to show its end, but never past its start less `margin`.
    static int nameScroll(int nameLeft, int nameRight, int viewportWidth, int margin);

signals:
    void folderChanged();
    // A mouse button went down on the tree; button mask 1 left, 2 right, 4 middle.
    void mouseDown(int button, int shift);

protected:
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    void revealSelected();
    // True when the model's rows first .. last under parent hold the current folder or one
    // above it.
    bool holdsCurrent(const QModelIndex &parent, int first, int last) const;
    // Scrolls sideways so that the folder's name is in view.
    void showNameOf(const QModelIndex &index);

    QFileSystemModel *m_model;
    FolderTreeModel *m_folders = nullptr; // m_model's folders and those it leaves out
    std::unique_ptr<QAbstractFileIconProvider> m_iconProvider;
    QString m_selected;
    bool m_writing = false;
    // A written folder is shown once the model has read the folder that holds it.
    bool m_revealPending = false;
    // The current folder's row is being removed: the current index the view moves on to is
    // not a folder the user picked.
    bool m_currentRemoved = false;
};

} // namespace pavix::foldertree
