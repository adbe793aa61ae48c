#include "preview/previewpane.h"

#include "browser/browser.h"
#include "browser/statusline.h"
#include "catalogue/filesize.h"
#include "common/keys.h"
#include "preview/fileinfo.h"
#include "preview/seams.h"
#include "preview/stretchimage.h"

#include <QMessageBox>

namespace pavix::preview {

PreviewPane::PreviewPane(browser::Browser &browser, StretchImage *image, browser::StatusLine &status, QWidget *window)
    : QObject(image), m_browser(browser), m_image(image), m_status(status), m_window(window)
{
    setObjectName(QStringLiteral("previewPane"));
    connect(m_image, &StretchImage::mouseDown, this, &PreviewPane::onImageMouseDown);
    connect(&m_browser, &browser::Browser::pictureChanged, this, &PreviewPane::onPictureChanged);
    connect(&m_browser, &browser::Browser::selectionFailed, this, &PreviewPane::onSelectionFailed);
}

void PreviewPane::onPictureChanged()
{
    const QImage &picture = m_browser.picture();
    if (picture.isNull()) {
        m_image->hide();
        m_image->clearPicture();
        return;
    }
    fitPreview();
    m_image->setPicture(picture);
    if (const common::Status described = showFileInfo(); !described)
        m_status.showMessage(described.error().message);
}

void PreviewPane::onSelectionFailed(const common::Error &error)
{
    if (error.number == common::ErrDeviceIo)
        QMessageBox::warning(m_window, QStringLiteral("Pavix"), deviceIoMessage(), QMessageBox::Ok);
    m_status.showMessage(error.message);
}

void PreviewPane::setFrame(const common::TwipRect &frame, bool visible)
{
    m_frame = frame;
    m_frameVisible = visible;
    if (m_image->hasPicture())
        fitPreview();
}

void PreviewPane::fitPreview()
{
    const QSize natural = m_browser.pictureSizeTwips();
    m_geometry = preview::fittedPreview(natural.width(), natural.height(), m_frame.left, m_frame.top, m_frame.width,
                                        m_frame.height, m_frameVisible, m_geometry);
    apply();
}

void PreviewPane::apply()
{
    const double tpp = m_browser.twipsPerPixel();
    m_image->setGeometry(common::twipsToPixels(common::TwipRect{m_geometry.left, m_geometry.top, m_geometry.width,
                                                                m_geometry.height},
                                               tpp));
    // A picture taller or wider than the pane is fitted by its width or height alone and
    // can reach past the pane: only the part inside the pane is shown, never over the
    // tool bar, the captions or the status line.
    const QRect pane = common::twipsToPixels(m_frame, tpp);
    const QRect shown = pane.intersected(m_image->geometry());
    if (shown == m_image->geometry())
        m_image->clearMask();
    else if (!shown.isEmpty())
        m_image->setMask(QRegion(shown.translated(-m_image->pos())));
    m_image->setVisible(m_geometry.visible && !shown.isEmpty());
}

common::Status PreviewPane::showFileInfo()
{
    if (!m_status.isShown())
        return common::Ok{};
    const double tpp = m_browser.twipsPerPixel();
    const QString name = m_browser.currentFile();
    const common::Result<qint64> length = m_browser.listedFileLength(name);
    const QString sizeText = length ? catalogue::formatFileSize(length.value()) : QString();
    const QSize natural = m_browser.pictureSizeTwips();
    const FileInfoTexts texts = fileInfoTexts(m_window->width(), common::twipsToPixels(natural.width(), tpp),
                                              common::twipsToPixels(natural.height(), tpp), name, sizeText);
    m_status.showParts({texts.rightEdgesPx.begin(), texts.rightEdgesPx.end()});
    m_status.setPartText(0, texts.file);
    m_status.setPartText(1, texts.dim);
    m_status.setPartText(3, seamReport());
    if (!length)
        return length.error();
    m_status.setPartText(2, texts.size);
    return common::Ok{};
}

QString PreviewPane::seamReport()
{
    // Measured once per picture; the tiled window shows transparent parts over the
    // window's background.
    const QImage &picture = m_browser.picture();
    if (picture.isNull())
        return QString();
    if (picture.cacheKey() != m_seamPictureKey) {
        m_seamPictureKey = picture.cacheKey();
        m_seamText = seamText(seamRatios(picture, m_window->palette().color(QPalette::Window)));
    }
    return m_seamText;
}

void PreviewPane::onImageMouseDown(int button, int)
{
    if (button & common::ButtonRight)
        emit wallpaperMenuRequested();
    if (button & common::ButtonLeft)
        emit tiledPreviewRequested();
}

} // namespace pavix::preview
