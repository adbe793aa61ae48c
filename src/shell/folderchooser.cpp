#include "shell/folderchooser.h"

#include <QFileDialog>

namespace pavix::shell {

FolderChooser::~FolderChooser() = default;

QString DialogFolderChooser::chooseFolder(const QString &title, const QString &initialFolder)
{
    return QFileDialog::getExistingDirectory(m_window, title, initialFolder, QFileDialog::ShowDirsOnly);
}

} // namespace pavix::shell
