#include "shell/folderscan.h"

#include "browser/browser.h"
#include "browser/statusline.h"
#include "browser/texts.h"
#include "catalogue/filepaths.h"
#include "catalogue/typepatterns.h"
#include "foldertree/foldertree.h"
#include "listview/listinteraction.h"
#include "listview/qtlistview.h"
#include "platform/folderlisting.h"
#include "preview/tiledpreview.h"
#include "shell/busycursor.h"
#include "shell/elidedlabel.h"
#include "shell/folderchooser.h"
#include "shell/settings.h"
#include "shell/settingskeys.h"
#include "thumbs/thumbgrid.h"

#include <QLabel>
#include <QMessageBox>

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

void FolderScan::emptyListAndPreview()
{
    m_parts.list->clear();
    m_parts.grid->hideMarker();
    m_browser.clearPicture();
}

void FolderScan::fillList()
{
    m_parts.listInteraction->fill(m_browser.catalogueEntries());
}

void FolderScan::showImageCount(int count)
{
    m_parts.imagesLabel->setText(browser::ImagesLabel + QString::number(count));
}

void FolderScan::storeFolder()
{
    // Stored as soon as it changes, so a run that ends abruptly still starts here next time.
    writeText(m_settings, SectionSettings, KeyFolder, m_parts.tree->selectedFolder());
    m_settings.sync();
}

void FolderScan::scanTreeFolder()
{
    if (m_browser.folder() == m_parts.tree->selectedFolder())
        return;
    m_parts.tiledPreview->unloadIfVisible();
    BusyCursor busy;
    m_status.showMessage(QString());
    emptyListAndPreview();
    // A folder that cannot be opened lists nothing, and the status line says why.
    const common::Status opened = m_browser.setFolder(m_parts.tree->selectedFolder());
    m_browser.setCurrentFile(QString());
    storeFolder();
    if (m_browser.files().listCount() == 0) {
        m_parts.imagesLabel->setText(browser::ImagesLabel);
        m_parts.grid->showEmpty();
        if (!opened)
            m_status.showMessage(opened.error().message);
        return;
    }
    fillList();
    m_parts.grid->build();
    showImageCount(m_browser.files().listCount());
}

QString FolderScan::browseFolder(const QString &initialFolder)
{
    const QString title = catalogue::searchingText(m_browser.typeTexts());
    // The chooser names a folder whose name is not UTF-8 by a path nothing can open; its
    // real name is found.
    const QString folder = platform::realFolderPath(m_folderChooser.chooseFolder(title, initialFolder));
    if (folder.isEmpty() || folder == m_browser.folder())
        return folder;

    m_parts.tiledPreview->unloadIfVisible();
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
    const int count = m_browser.files().listCount();
    if (count == 0) {
        m_parts.imagesLabel->setText(browser::ImagesLabelBare);
        m_status.showMessage(opened ? browser::NoImagesMessage : opened.error().message);
        m_parts.grid->showEmpty();
        return folder;
    }
    showImageCount(count);
    fillList();
    m_parts.grid->build();
    m_status.showMessage(QString());
    return folder;
}

void FolderScan::refresh()
{
    BusyCursor busy;
    m_parts.strip->hide();
    emptyListAndPreview();
    m_browser.setCurrentFile(QString());
    // A fresh listing of the tree's folder; one that cannot be opened lists nothing.
    const common::Status opened = m_browser.setFolder(m_parts.tree->selectedFolder());
    const int count = m_browser.files().listCount();
    if (count == 0) {
        m_parts.imagesLabel->setText(browser::ImagesLabel);
        m_parts.grid->showEmpty();
        m_status.showMessage(opened ? QString() : opened.error().message);
    } else {
        showImageCount(count);
        fillList();
        m_parts.grid->build();
        m_status.showMessage(browser::ClickHint);
    }
    m_parts.strip->show();
}

void FolderScan::rescanForTypes()
{
    m_parts.strip->hide();
    emptyListAndPreview();
    m_parts.typesLabel->setFullText(catalogue::searchingText(m_browser.typeTexts()));
    // The folder stays the one listed; only the pattern changes.
    m_browser.setFilePattern(catalogue::combinedPattern(m_browser.patterns()));
    const int count = m_browser.files().listCount();
    if (count == 0) {
        m_parts.imagesLabel->setText(browser::ImagesLabelBare);
        m_parts.grid->showEmpty();
        m_status.showMessage(browser::NoImagesMessage);
    } else {
        showImageCount(count);
        fillList();
        m_parts.grid->build();
        m_status.showMessage(browser::ClickHint);
    }
    m_parts.strip->show();
}

} // namespace pavix::shell
