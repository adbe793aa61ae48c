#pragma once
// The ways a folder is listed: picking it in the folder tree, choosing it in the browse
// dialog, refreshing, and listing it again with new picture types. Each empties the list
// and the preview, has the browser read the folder and shows the listing in the list, the
// image count and the thumbnail grid; they differ in the texts they show, in skipping the
// folder already listed and in keeping the current file's name. The tiled window follows
// the browser: another folder closes it.

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
}
namespace pavix::platform {
class SettingsStore;
}
namespace pavix::thumbs {
class ThumbGrid;
}
namespace pavix::foldertree {
class FolderTree;
}

namespace pavix::shell {

class FolderChooser;

// What a listing changes besides the browser.
struct ScanParts {
    listview::ListInteraction *listInteraction = nullptr;
    thumbs::ThumbGrid *grid = nullptr;
    QWidget *strip = nullptr;      // hidden while a refresh rebuilds it
    QLabel *imagesLabel = nullptr; // "Images : " and the count
    foldertree::FolderTree *tree = nullptr;
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
    // The tree says it shows another folder: it is scanned now, or once a grid build under
    // way is over, or when the hold below is let go.
    void treeFolderChanged();
    // Holds back the tree's folder changes (start-up) and scans the held one on release.
    void holdTreeNotifications(bool hold);
    // Shows the folder chooser opening at `initialFolder` and scans the folder chosen;
    // returns it (empty after a cancel). Choosing the folder already listed changes
    // nothing; a folder that cannot be read is also told in a warning box.
    QString browseFolder(const QString &initialFolder);
    // A fresh listing of the tree's folder, even when it is the one already shown.
    void refresh();
    // The listed folder again with the browser's picture types (after the options): the
    // same folder, an open tiled window left open; the current file's name stays.
    void rescanForTypes();

private:
    // The texts a listing shows besides its files; each way of listing has its own.
    struct ListingTexts;

    // Empties the list, the marker, the preview image and the current picture; the current
    // file's name stays.
    void emptyListAndPreview();
    // Shows what the browser lists: the image count, the list and the thumbnails, or the
    // texts of an empty listing (with the reason when the folder could not be `opened`),
    // then the status line's text.
    void showListing(const ListingTexts &texts, const common::Status &opened);
    // Stores the tree's folder as "Folder" and makes it durable at once.
    void storeFolder();

    browser::Browser &m_browser;
    browser::StatusLine &m_status;
    platform::SettingsStore &m_settings;
    FolderChooser &m_folderChooser;
    ScanParts m_parts;
    QWidget *m_window;
    bool m_holdTree = false;
    bool m_treePending = false; // a folder change of the tree waits for its scan
};

} // namespace pavix::shell
