#pragma once
// How the browse command asks the user for a folder: an interface, and the desktop's folder
// dialog behind it.

#include <QString>

class QWidget;

namespace pavix::shell {

class FolderChooser {
public:
    virtual ~FolderChooser();
    // The folder the user chose in a dialog titled `title` that opens at `initialFolder`;
    // "" when the user cancels.
    virtual QString chooseFolder(const QString &title, const QString &initialFolder) = 0;
};

// The folder dialog (folders only) over `window`.
class DialogFolderChooser : public FolderChooser {
public:
    explicit DialogFolderChooser(QWidget *window) : m_window(window) {}
    QString chooseFolder(const QString &title, const QString &initialFolder) override;

private:
    QWidget *m_window;
};

} // namespace pavix::shell
