#include "catalogue/folderscan.h"

#include "catalogue/catalogue.h"
#include "catalogue/typepatterns.h"
#include "platform/qtlistview.h"
#include "preview/previewpane.h"
#include "preview/tiledpreview.h"
#include "shell/busycursor.h"
#include "shell/foldertree.h"
#include "shell/mainwindow.h"
#include "shell/settingskeys.h"
#include "shell/settingsstore.h"
#include "thumbs/thumbgrid.h"
#include "thumbs/thumbstrip.h"

#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>

namespace pavix::catalogue {

FolderScan::FolderScan(shell::MainWindow &main) : QObject(&main), m_main(main)
{
    chooseFolder = [this](const QString &title, const QString &initialFolder) {
        return QFileDialog::getExistingDirectory(&m_main, title, initialFolder,
                                                 QFileDialog::ShowDirsOnly);
    };
    reportError = [this](const QString &text) {
        QMessageBox::warning(&m_main, shell::AppTitle, text, QMessageBox::Ok);
    };
}

void FolderScan::emptyListAndPreview()
{
    m_main.Lv->clear();
    m_main.thumbGrid->hideMarker();
    m_main.previewPane->clear();
}

void FolderScan::storeFolder()
{
    // Stored as soon as it changes, so a run that ends abruptly still starts here next time.
    shell::writeText(m_main.settings(), shell::SectionSettings, shell::KeyFolder,
                     m_main.Tv->SelectedFolder());
    m_main.settings().sync();
}

void FolderScan::Tv_FolderChange()
{
    if (m_main.Files.path() == m_main.Tv->SelectedFolder())
        return;
    preview::unloadTiledPreview(m_main);
    shell::BusyCursor busy;
    m_main.StatusMessage(QString());
    emptyListAndPreview();
    // A folder that cannot be opened lists nothing, and the status line says why.
    const common::Status opened = m_main.Files.setPath(m_main.Tv->SelectedFolder());
    m_main.CurFile.clear();
    storeFolder();
    if (m_main.Files.listCount() == 0) {
        m_main.lblImg->setText(shell::ImagesLabel);
        m_main.thumbGrid->emptyGrid();
        if (!opened)
            m_main.StatusMessage(opened.error().message);
        return;
    }
    // A file that fails to list ends the listing; the entries made so far stay.
    ListFolder(m_main.Files.path(), m_main.Files, m_main.icons, *m_main.Lv);
    m_main.thumbGrid->Thumbs();
    m_main.lblImg->setText(shell::ImagesLabel + QString::number(m_main.Files.listCount()));
}

QString FolderScan::BrowseFolder(const QString &initialFolder)
{
    const QString title = searchingText(m_main.typeTexts);
    const QString folder = chooseFolder ? chooseFolder(title, initialFolder) : QString();
    if (folder.isEmpty() || folder == m_main.Files.path())
        return folder;

    preview::unloadTiledPreview(m_main);
    shell::BusyCursor busy;
    emptyListAndPreview();
    const common::Status opened = m_main.Files.setPath(folder);
    if (!opened && reportError)
        reportError(opened.error().message);
    m_main.Files.setPattern(combinedPattern(m_main.patterns));
    // The tree shows the folder; its notification finds the folder listed and stops.
    m_main.Tv->setSelectedFolder(m_main.Files.path());
    storeFolder();
    if (m_main.Files.listCount() == 0) {
        m_main.lblImg->setText(shell::ImagesLabelBare);
        m_main.StatusMessage(opened ? shell::NoImagesMessage : opened.error().message);
        m_main.thumbGrid->emptyGrid();
        return folder;
    }
    m_main.lblImg->setText(shell::ImagesLabel + QString::number(m_main.Files.listCount()));
    const common::Status listed = ListFolder(m_main.Files.path(), m_main.Files, m_main.icons,
                                             *m_main.Lv);
    // The program carries on with the entries made so far.
    if (!listed && reportError)
        reportError(listed.error().message);
    m_main.thumbGrid->Thumbs();
    m_main.StatusMessage(QString());
    return folder;
}

void FolderScan::mnuViewRefresh_Click()
{
    shell::BusyCursor busy;
    m_main.picScroll->hide();
    emptyListAndPreview();
    m_main.CurFile.clear();
    // A fresh listing of the tree's folder; one that cannot be opened lists nothing.
    const common::Status opened = m_main.Files.setPath(m_main.Tv->SelectedFolder());
    if (m_main.Files.listCount() == 0) {
        m_main.lblImg->setText(shell::ImagesLabel);
        m_main.thumbGrid->emptyGrid();
        m_main.StatusMessage(opened ? QString() : opened.error().message);
    } else {
        m_main.lblImg->setText(shell::ImagesLabel + QString::number(m_main.Files.listCount()));
        ListFolder(m_main.Files.path(), m_main.Files, m_main.icons, *m_main.Lv);
        m_main.thumbGrid->Thumbs();
        m_main.StatusMessage(shell::ClickHint);
    }
    m_main.picScroll->show();
}

} // namespace pavix::catalogue
