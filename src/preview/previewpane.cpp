#include "preview/previewpane.h"

#include "catalogue/catalogue.h"
#include "catalogue/filelist.h"
#include "catalogue/filesize.h"
#include "common/keys.h"
#include "common/units.h"
#include "platform/pictureservice.h"
#include "preview/fileinfo.h"
#include "preview/stretchimage.h"
#include "preview/tiledpreview.h"
#include "shell/mainwindow.h"
#include "shell/statuswindow.h"
#include "thumbs/thumbgrid.h"

#include <QCursor>
#include <QMenu>
#include <QMessageBox>

namespace pavix::preview {

using common::twipsToPixels;

PreviewPane::PreviewPane(shell::MainWindow &main) : QObject(&main), m_main(main)
{
    connect(m_main.Primg, &StretchImage::mouseDown, this, &PreviewPane::Primg_MouseDown);
}

common::Status PreviewPane::PreviewUpdate()
{
    const QString path = catalogue::joinPath(m_main.CurFolder, m_main.CurFile);
    common::Result<QImage> picture = platform::loadPicture(path);
    if (!picture)
        return picture.error();
    m_main.imgFake = picture.value();
    const QSize twips = platform::naturalSizeTwips(m_main.imgFake.size(), m_main.twipsPerPixel());
    m_main.ImgWidth = twips.width();
    m_main.ImgHeight = twips.height();
    FitPreview();
    m_main.Primg->setPicture(m_main.imgFake);
    refreshTiledPreview(m_main);
    if (m_main.hStatusBar)
        return ShowFileInfo();
    return common::Ok{};
}

bool PreviewPane::selectionUpdate()
{
    const common::Status status = PreviewUpdate();
    if (status)
        return true;
    if (status.error().number == common::ErrDeviceIo)
        QMessageBox::warning(&m_main, shell::AppTitle, DeviceIoMessage, QMessageBox::Ok);
    showUnreadable(status.error());
    return false;
}

void PreviewPane::FitPreview()
{
    const shell::TwipRect &pv = m_main.controls().Pv;
    m_geometry = preview::FitPreview(m_main.ImgWidth, m_main.ImgHeight, pv.left, pv.top, pv.width,
                                     pv.height, m_main.pvVisible(), m_geometry);
    apply();
}

void PreviewPane::apply()
{
    const double tpp = m_main.twipsPerPixel();
    StretchImage *image = m_main.Primg;
    image->setGeometry(twipsToPixels(m_geometry.left, tpp), twipsToPixels(m_geometry.top, tpp),
                       std::max(0, twipsToPixels(m_geometry.width, tpp)),
                       std::max(0, twipsToPixels(m_geometry.height, tpp)));
    // A picture taller or wider than the pane is fitted by its width or height alone and
    // can reach past the pane: only the part inside the pane is shown, never over the
    // tool bar, the captions or the status line.
    const shell::TwipRect &pv = m_main.controls().Pv;
    const QRect pane(twipsToPixels(pv.left, tpp), twipsToPixels(pv.top, tpp),
                     std::max(0, twipsToPixels(pv.width, tpp)), std::max(0, twipsToPixels(pv.height, tpp)));
    const QRect shown = pane.intersected(image->geometry());
    if (shown == image->geometry())
        image->clearMask();
    else if (!shown.isEmpty())
        image->setMask(QRegion(shown.translated(-image->pos())));
    image->setVisible(m_geometry.visible && !shown.isEmpty());
}

common::Status PreviewPane::ShowFileInfo()
{
    shell::StatusWindow *status = m_main.hStatusBar;
    if (!status)
        return common::Ok{};
    const double tpp = m_main.twipsPerPixel();
    const int windowWidthPx = m_main.centralWidget()->width();
    const common::Result<qint64> length = catalogue::listedFileLength(m_main.Files, m_main.CurFile);
    const QString sizeText = length ? catalogue::FormatFileSize(length.value()) : QString();
    const FileInfoTexts texts =
        ShowFileInfoTexts(windowWidthPx, twipsToPixels(m_main.ImgWidth, tpp),
                          twipsToPixels(m_main.ImgHeight, tpp), m_main.CurFile, sizeText);
    status->setSimple(false);
    status->setParts({texts.rightEdgesPx.begin(), texts.rightEdgesPx.end()});
    status->setPartText(0, texts.file);
    status->setPartText(1, texts.dim);
    if (!length)
        return length.error();
    status->setPartText(2, texts.size);
    return common::Ok{};
}

void PreviewPane::clear()
{
    m_main.Primg->hide();
    m_main.Primg->clearPicture();
    m_main.imgFake = QImage();
    refreshTiledPreview(m_main);
}

void PreviewPane::showUnreadable(const common::Error &error)
{
    m_main.CurFile.clear();
    clear();
    m_main.StatusMessage(error.message);
}

void PreviewPane::Primg_MouseDown(int button, int)
{
    if (button & common::ButtonRight)
        m_main.mnuWall->exec(QCursor::pos());
    if (button & common::ButtonLeft)
        showTiledPreview(m_main);
}

} // namespace pavix::preview
