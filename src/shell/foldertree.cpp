#include "shell/foldertree.h"

#include "common/keys.h"

#include <QDir>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QMouseEvent>

namespace pavix::shell {

FolderTree::FolderTree(QWidget *parent) : QTreeView(parent), m_model(new QFileSystemModel(this))
{
    m_model->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    m_model->setReadOnly(true);
    m_model->setRootPath(QStringLiteral("/"));
    setModel(m_model);
    for (int c = 1; c < m_model->columnCount(); ++c)
        hideColumn(c);
    header()->hide();
    setHeaderHidden(true);
    setUniformRowHeights(true);
    setAnimated(false);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
}

void FolderTree::setSelectedFolder(const QString &path)
{
    const bool changed = path != m_selected;
    m_selected = path;
    const QModelIndex index = m_model->index(path);
    if (index.isValid()) {
        m_writing = true;
        setCurrentIndex(index);
        scrollTo(index, QAbstractItemView::PositionAtCenter);
        m_writing = false;
    }
    if (changed)
        emit folderChange();
}

void FolderTree::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    QTreeView::currentChanged(current, previous);
    if (m_writing || !current.isValid())
        return;
    const QString path = m_model->filePath(current);
    if (path.isEmpty() || path == m_selected)
        return;
    m_selected = path;
    emit folderChange();
}

void FolderTree::mousePressEvent(QMouseEvent *event)
{
    QTreeView::mousePressEvent(event);
    emit mouseDown(common::buttonMask(event->buttons() | event->button()),
                   common::shiftMask(event->modifiers()));
}

} // namespace pavix::shell
