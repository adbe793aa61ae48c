#pragma once
// The three ways a folder is scanned: picking it in the folder tree, choosing it in the
// browse dialog, and refreshing. Each empties the list and the preview, points the file
// list at the folder, fills the list and rebuilds the thumbnail grid; they differ in the
// texts they show, in skipping the folder already listed and in closing the tiled
// preview window.

#include <QObject>
#include <QString>

#include <functional>

namespace pavix::shell {
class MainWindow;
}

namespace pavix::catalogue {

class FolderScan : public QObject {
    Q_OBJECT
public:
    explicit FolderScan(shell::MainWindow &main);

    // The tree scan (the tree's folder-change notification).
    void Tv_FolderChange();
    // Shows the folder chooser opening at `initialFolder` and scans the folder chosen;
    // returns it (empty after a cancel). Choosing the folder already listed changes
    // nothing.
    QString BrowseFolder(const QString &initialFolder);
    // The refresh scan: a fresh listing of the tree's folder, even when it is the one
    // already shown.
    void mnuViewRefresh_Click();
    void mnuLvRefresh_Click() { mnuViewRefresh_Click(); }

    // The folder chooser: gets the dialog's title and initial folder, returns the chosen
    // folder or "" (tests answer it themselves).
    std::function<QString(const QString &title, const QString &initialFolder)> chooseFolder;
    // Reports an error raised while listing a chosen folder (tests answer it themselves).
    std::function<void(const QString &)> reportError;

private:
    // Empties the list, the marker, the preview image and the probe.
    void emptyListAndPreview();
    // Stores the tree's folder as "Folder" and makes it durable at once.
    void storeFolder();

    shell::MainWindow &m_main;
};

} // namespace pavix::catalogue
