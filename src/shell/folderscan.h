#pragma once
// The three ways a folder is scanned: picking it in the folder tree, choosing it in the
// browse dialog, and refreshing. Each empties the list and the preview, points the file
// list at the folder, fills the list and rebuilds the thumbnail grid; they differ in the
// texts they show, in skipping the folder already listed and in closing the tiled
// preview window.

#include "common/result.h"

#include <QObject>
#include <QString>

class QLabel;
class QWidget;

namespace pavix::browser {
class Browser;
class StatusLine;
}
namespace pavix::listview {
class ListInteraction;
class QtListView;
}
namespace pavix::platform {
class SettingsStore;
class ShellInfo;
}
namespace pavix::preview {
class TiledPreviewHost;
}
namespace pavix::thumbs {
class ThumbGrid;
}

namespace pavix::foldertree {
class FolderTree;
}

namespace pavix::shell {

class ElidedLabel;
class FolderChooser;

// What a scan changes.
struct ScanParts {
    listview::QtListView *list = nullptr;
    listview::ListInteraction *listInteraction = nullptr;
    thumbs::ThumbGrid *grid = nullptr;
    QWidget *strip = nullptr;       // hidden while a refresh rebuilds it
    QLabel *imagesLabel = nullptr;  // "Images : " and the count
    ElidedLabel *typesLabel = nullptr; // the searching text
    foldertree::FolderTree *tree = nullptr;
    preview::TiledPreviewHost *tiledPreview = nullptr;
};

class FolderScan : public QObject {
    Q_OBJECT
public:
    // The browse command asks `folderChooser` for its folder; message boxes are owned by
    // `window`.
    FolderScan(browser::Browser &browser, browser::StatusLine &status, platform::SettingsStore &settings,
               FolderChooser &folderChooser, const ScanParts &parts, QWidget *window);

    // The tree scan: the tree's folder, unless it is the one listed.
    void scanTreeFolder();
    // Shows the folder chooser opening at `initialFolder` and scans the folder chosen;
    // returns it (empty after a cancel). Choosing the folder already listed changes
    // nothing; a folder that cannot be read is also told in a warning box.
    QString browseFolder(const QString &initialFolder);
    // A fresh listing of the tree's folder, even when it is the one already shown.
    void refresh();
    // The listed folder again with the browser's picture types (after the options): the
    // same folder, the searching text of the types, an open tiled window left open; the
    // current file's name stays.
    void rescanForTypes();

private:
    // Empties the list, the marker, the preview image and the current picture; the current
    // file's name stays.
    void emptyListAndPreview();
    // Fills the list from the file list's listing, one entry per listed file.
    void fillList();
    // "Images : " and the number of pictures listed.
    void showImageCount(int count);
    // Stores the tree's folder as "Folder" and makes it durable at once.
    void storeFolder();

    browser::Browser &m_browser;
    browser::StatusLine &m_status;
    platform::SettingsStore &m_settings;
    FolderChooser &m_folderChooser;
    ScanParts m_parts;
    QWidget *m_window;
};

} // namespace pavix::shell
