#include "shell/folderscan.h"

#include "browser/browser.h"
#include "browser/statusline.h"
#include "browser/texts.h"
#include "catalogue/filepaths.h"
#include "catalogue/typepatterns.h"
#include "foldertree/foldertree.h"
#include "listview/listinteraction.h"
#include "platform/busyscope.h"
#include "platform/folderlisting.h"
#include "shell/busycursor.h"
#include "shell/folderchooser.h"
#include "shell/settings.h"
#include "shell/settingskeys.h"
#include "thumbs/thumbgrid.h"

#include <QLabel>
#include <QMessageBox>

#include <utility>

namespace pavix::shell {

FolderScan::FolderScan(browser::Browser &browser, browser::StatusLine &status, platform::SettingsStore &settings,
                       FolderChooser &folderChooser, const ScanParts &parts, QWidget *window)
    : QObject(window),
      m_browser(browser),
      m_status(status),
      m_settings(settings),
      m_folderChooser(folderChooser),
      m_parts(parts),
      m_window(window)
{
    setObjectName(QStringLiteral("folderScan"));
}

// The tree and a refresh show the count's label with its space and leave the status line
// empty for an empty folder; the browse dialog and new types drop the space and say the
// folder holds no pictures. A refresh and new types invite a click when there are pictures.
struct FolderScan::ListingTexts {
    QString emptyCount{};   // the image count of a listing without pictures
    QString emptyStatus{};  // the status line then, when the folder could be read
    QString listedStatus{}; // the status line when pictures are listed
};

void FolderScan::emptyListAndPreview()
{
    m_parts.listInteraction->clear();
    m_parts.grid->hideMarker();
    m_browser.clearPicture();
}

void FolderScan::showListing(const ListingTexts &texts, const common::Status &opened)
{
    const int count = m_browser.files().listCount();
    if (count == 0) {
        m_parts.imagesLabel->setText(texts.emptyCount);
        m_parts.grid->showEmpty();
        // A folder that cannot be opened lists nothing, and the status line says why.
        m_status.showMessage(opened ? texts.emptyStatus : opened.error().message);
        return;
    }
    m_parts.imagesLabel->setText(browser::imagesLabel() + QString::number(count));
    m_parts.listInteraction->fill(m_browser.catalogueEntries());
    m_parts.grid->build();
    m_status.showMessage(texts.listedStatus);
}

void FolderScan::storeFolder()
{
    // Stored as soon as it changes, so a run that ends abruptly still starts here next time.
    writeText(m_settings, SectionSettings, KeyFolder, m_parts.tree->selectedFolder());
    m_settings.sync();
}

void FolderScan::scanTreeFolder()
{
    const QString folder = m_parts.tree->selectedFolder();
    if (m_browser.folder() == folder)
        return;
    BusyCursor busy;
    m_status.showMessage(QString());
    emptyListAndPreview();
    const common::Status opened = m_browser.setFolder(folder);
    m_browser.setCurrentFile(QString());
    storeFolder();
    showListing({.emptyCount = browser::imagesLabel()}, opened);
}

void FolderScan::treeFolderChanged()
{
    if (m_holdTree) {
        m_treePending = true;
    } else if (platform::BusyScope::isBusy()) {
        // The tree read a folder while a grid is built: the new folder is scanned once the
        // build is over, never in the middle of it.
        if (!std::exchange(m_treePending, true))
            platform::BusyScope::afterwards(this, [this] {
                if (std::exchange(m_treePending, false) && !m_holdTree)
                    scanTreeFolder();
            });
    } else {
        scanTreeFolder();
    }
}

void FolderScan::holdTreeNotifications(bool hold)
{
    m_holdTree = hold;
    if (!hold && std::exchange(m_treePending, false))
        scanTreeFolder();
}

QString FolderScan::browseFolder(const QString &initialFolder)
{
    // The chooser names a folder whose name is not UTF-8 by a path nothing can open; its
    // real name is found.
    const QString folder = platform::realFolderPath(
        m_folderChooser.chooseFolder(catalogue::searchingText(m_browser.typeTexts()), initialFolder));
    if (folder.isEmpty() || folder == m_browser.folder())
        return folder;
    BusyCursor busy;
    emptyListAndPreview();
    const common::Status opened = m_browser.setFolder(folder);
    if (!opened)
        QMessageBox::warning(m_window, browser::AppTitle, catalogue::oneLineText(opened.error().message),
                             QMessageBox::Ok);
    m_browser.setFilePattern(catalogue::combinedPattern(m_browser.patterns()));
    // The tree shows the folder; its notification finds the folder listed and stops.
    m_parts.tree->setSelectedFolder(m_browser.folder());
    storeFolder();
    showListing({.emptyCount = browser::imagesLabelBare(), .emptyStatus = browser::noImagesMessage()}, opened);
    return folder;
}

void FolderScan::refresh()
{
    BusyCursor busy;
    m_parts.strip->hide();
    emptyListAndPreview();
    m_browser.setCurrentFile(QString());
    // A fresh listing of the tree's folder, even when it is the one listed.
    const common::Status opened = m_browser.setFolder(m_parts.tree->selectedFolder());
    // Back before the grid is built, so that its cells show as they are placed.
    m_parts.strip->show();
    showListing({.emptyCount = browser::imagesLabel(), .listedStatus = browser::clickHint()}, opened);
}

void FolderScan::rescanForTypes()
{
    m_parts.strip->hide();
    emptyListAndPreview();
    // The folder stays the one listed; only the pattern changes.
    m_browser.setFilePattern(catalogue::combinedPattern(m_browser.patterns()));
    m_parts.strip->show();
    showListing({.emptyCount = browser::imagesLabelBare(),
                 .emptyStatus = browser::noImagesMessage(),
                 .listedStatus = browser::clickHint()},
                common::Ok{});
}

} // namespace pavix::shell
