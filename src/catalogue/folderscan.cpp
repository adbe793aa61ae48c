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

void FolderScan::Tv_FolderChange()
{
    if (m_main.Files.path() == m_main.Tv->SelectedFolder())
        return;
    preview::unloadTiledPreview(m_main);
    shell::BusyCursor busy;
    m_main.StatusMessage(QString());
    emptyListAndPreview();
    // A folder that cannot be opened leaves the file list on the folder it had.
    m_main.Files.setPath(m_main.Tv->SelectedFolder());
    m_main.CurFile.clear();
    if (m_main.Files.listCount() == 0) {
        m_main.lblImg->setText(shell::ImagesLabel);
        m_main.thumbGrid->emptyGrid();
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
    if (const common::Status opened = m_main.Files.setPath(folder); !opened) {
        if (reportError)
            reportError(opened.error().message);
    }
    m_main.Files.setPattern(combinedPattern(m_main.patterns));
    m_main.Files.refresh();
    // The tree shows the folder; its notification finds the folder listed and stops.
    m_main.Tv->setSelectedFolder(m_main.Files.path());
    shell::writeText(m_main.settings(), shell::SectionSettings, shell::KeyFolder,
                     m_main.Tv->SelectedFolder());
    if (m_main.Files.listCount() == 0) {
        m_main.lblImg->setText(shell::ImagesLabelBare);
        m_main.StatusMessage(shell::NoImagesMessage);
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
    // A fresh listing of the tree's folder; when it cannot be opened any more, of the
    // folder listed before.
    if (!m_main.Files.setPath(m_main.Tv->SelectedFolder()))
        m_main.Files.refresh();
    if (m_main.Files.listCount() == 0) {
        m_main.lblImg->setText(shell::ImagesLabel);
        m_main.thumbGrid->emptyGrid();
        m_main.StatusMessage(QString());
    } else {
        m_main.lblImg->setText(shell::ImagesLabel + QString::number(m_main.Files.listCount()));
        ListFolder(m_main.Files.path(), m_main.Files, m_main.icons, *m_main.Lv);
        m_main.thumbGrid->Thumbs();
        m_main.StatusMessage(shell::ClickHint);
    }
    m_main.picScroll->show();
}

} // namespace pavix::catalogue
