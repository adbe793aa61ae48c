#include "thumbs/thumbgrid.h"
#include "catalogue/filepaths.h"

#include "browser/browser.h"
#include "browser/filelist.h"
#include "browser/statusline.h"
#include "browser/texts.h"
#include "common/keys.h"
#include "common/units.h"
#include "platform/busyscope.h"
#include "platform/thumbloader.h"
#include "platform/thumbnailcache.h"
#include "thumbs/gridgeometry.h"
#include "thumbs/thumbstrip.h"

#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QMouseEvent>
#include <QProgressBar>
#include <QScrollBar>

#include <algorithm>
#include <optional>

namespace pavix::thumbs {

ThumbGrid::ThumbGrid(browser::Browser &browser, browser::StatusLine &status, const ThumbArea &area)
    : QObject(area.viewport), m_browser(browser), m_status(status), m_area(area)
{
    setObjectName(QStringLiteral("thumbGrid"));
    connect(m_area.strip, &ThumbStrip::thumbMouseDown, this, &ThumbGrid::onThumbMouseDown);
    connect(m_area.strip, &ThumbStrip::thumbDblClick, this, [this] { emit tiledPreviewRequested(); });
    connect(m_area.strip, &ThumbStrip::emptyMouseDown, this, &ThumbGrid::onEmptyMouseDown);
    connect(m_area.strip, &ThumbStrip::keyDown, this, [this](int keyCode, int) { handleKey(keyCode); });
    connect(m_area.scrollBar, &QScrollBar::valueChanged, this, &ThumbGrid::onScrolled);
    // The marker follows the browser's selection, from the list as from the grid; an
    // unreadable file is marked too, so the keys go on from it.
    connect(&m_browser, &browser::Browser::fileSelected, this, [this](int index) {
        m_current = index;
        markThumb(index);
    });
    connect(&m_browser, &browser::Browser::selectionCleared, this, [this] {
        m_current = -1;
        hideMarker();
    });
    // The viewport passes its presses and keys on to the strip.
    m_area.viewport->installEventFilter(this);
}

bool ThumbGrid::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_area.viewport) {
        if (event->type() == QEvent::MouseButtonPress) {
            auto *me = static_cast<QMouseEvent *>(event);
            onEmptyMouseDown(common::buttonMask(me->buttons() | me->button()), common::shiftMask(me->modifiers()));
            return true;
        }
        if (event->type() == QEvent::KeyPress) {
            auto *ke = static_cast<QKeyEvent *>(event);
            handleKey(common::virtualKeyCode(ke->key(), ke->modifiers()));
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

void ThumbGrid::setAreaSize(double stripWidthCm, double scrollWidthCm, double viewportHeight)
{
    m_stripWidthCm = stripWidthCm;
    m_scrollWidthCm = scrollWidthCm;
    m_viewportHeight = viewportHeight;
}

void ThumbGrid::setThumbnailCache(std::shared_ptr<const platform::ThumbnailCache> cache)
{
    m_thumbnailCache = std::move(cache);
}

void ThumbGrid::advanceProgress(int value)
{
    QProgressBar *bar = m_area.progressBar;
    const int before = bar->value();
    bar->setValue(std::min(value, bar->maximum()));
    // Repaint at once, whether or not the build handles events, but only when the bar's
    // filled part moves by a pixel.
    const int span = std::max(1, bar->maximum() - bar->minimum());
    if ((before * bar->width()) / span != (bar->value() * bar->width()) / span)
        bar->repaint();
}

void ThumbGrid::build()
{
    const browser::FileList &files = m_browser.files();
    const int count = files.listCount();
    const GridPlan plan = planGrid(count, static_cast<float>(m_stripWidthCm), static_cast<float>(m_scrollWidthCm),
                                   m_viewportHeight);
    m_lastColumn = plan.lastColumn;

    m_area.imagesLabel->hide();
    m_area.progressBar->setRange(0, std::max(0, count - 1));
    m_area.progressBar->setValue(0);
    m_area.progressBar->show();
    m_area.progressBar->repaint();

    if (plan.overRowLimit) {
        QMessageBox::information(m_area.viewport->window(), browser::AppTitle, rowLimitMessage(), QMessageBox::Ok);
        m_area.strip->setElementCount(1);
        m_area.strip->setElementVisible(0, false);
        m_area.scrollBar->hide();
        m_area.progressBar->hide();
        m_area.imagesLabel->show();
        return;
    }

    // The cells of the last build go before anything is painted; the strip takes its new
    // height at once, so that each cell shows as soon as it is placed.
    m_area.strip->setElementCount(1);
    m_area.strip->setElementVisible(0, false);
    m_area.strip->setElementPicture(0, QImage());
    m_area.strip->setElementCount(count);
    m_area.strip->setElementNames(files.names());
    m_stripHeightCm = plan.stripHeightCm;
    const double topCm = stripTopCm(m_area.scrollBar->value());
    emit stripPlaced(topCm, m_stripHeightCm);

    const double tpp = m_browser.twipsPerPixel();
    // Each cell is built at the device pixels it covers, so a screen scaled to 200 % shows
    // its thumbnail pixel for pixel instead of stretched.
    const double pixelRatio = m_area.strip->devicePixelRatioF();
    const int cellSidePx = common::devicePixels(common::twipsToPixels(ThumbSize, tpp), pixelRatio);
    QStringList paths;
    paths.reserve(count);
    for (const QString &name : files.names())
        paths << catalogue::joinPath(files.path(), name);
    // Between two cells, and while a cell is awaited, the windows repaint and answer the
    // desktop; the user's input waits for the end of the build. A close meanwhile ends the
    // build at the next cell.
    platform::BusyScope busy;
    platform::ThumbLoader loader(paths, QSize(cellSidePx, cellSidePx), 0, 0, 0, m_thumbnailCache);
    bool stopped = busy.keepAlive();
    for (int i = 0; i < count && !stopped; ++i) {
        m_area.strip->setElementPosition(i, cellPosition(i, plan.columns));
        advanceProgress(i + 1);
        hideMarker();
        std::optional<QImage> cell;
        while (!(cell = loader.waitFor(i, CellWaitSlice)) && !stopped)
            stopped = busy.keepAlive();
        if (!cell)
            break;
        cell->setDevicePixelRatio(pixelRatio);
        m_area.strip->setElementPicture(i, *cell);
        m_area.strip->setElementVisible(i, true);
        emit cellPlaced(i);
        stopped = busy.keepAlive();
    }

    m_scrollMax = plan.scrollMax;
    m_stripHeightCm = plan.stripHeightCm;
    m_area.scrollBar->setRange(0, std::max(0, plan.scrollMax));
    // Placed again only when the new range moved it.
    if (stripTopCm(m_area.scrollBar->value()) != topCm)
        emit stripPlaced(stripTopCm(m_area.scrollBar->value()), m_stripHeightCm);
    m_area.scrollBar->setVisible(plan.scrollVisible);
    // The build leaves no current picture.
    m_browser.clearPicture();
    m_area.progressBar->hide();
    m_area.imagesLabel->show();
}

void ThumbGrid::showEmpty()
{
    m_area.strip->setElementCount(1);
    m_area.scrollBar->hide();
    m_area.strip->setElementVisible(0, false);
}

void ThumbGrid::onScrolled(int value)
{
    emit stripPlaced(stripTopCm(value), m_stripHeightCm);
}

void ThumbGrid::hideMarker()
{
    m_area.strip->setMarkerVisible(false);
}

void ThumbGrid::markThumb(int n)
{
    ThumbStrip *strip = m_area.strip;
    if (n < 0 || n >= strip->elementCount()) {
        hideMarker();
        return;
    }
    if (!strip->elementVisible(n))
        return;
    strip->setMarkerPosition(strip->elementPosition(n));
    strip->setMarkerVisible(true);
    strip->setMarkedElement(n);
}

void ThumbGrid::selectThumb(int i)
{
    m_area.strip->setMarkerPosition(m_area.strip->elementPosition(i));
    m_area.strip->setMarkerVisible(true);
    m_area.strip->setMarkedElement(i);
    // An unreadable file leaves the preview empty with its message; the marker and the
    // list stay on it, so the next key goes on from there.
    m_browser.selectFile(m_browser.files().list(i));
}

void ThumbGrid::clearThumbSelection()
{
    m_browser.clearSelection();
    m_status.showMessage(m_area.strip->elementVisible(0) ? browser::clickHint() : QString());
    emit selectionClearedByClick();
    hideMarker();
}

void ThumbGrid::onThumbMouseDown(int index, int button, int)
{
    // Any press makes the file current; only the left button reads it.
    m_browser.setCurrentFile(m_browser.files().list(index));
    if ((button & common::ButtonRight) && m_area.strip->markerVisible())
        emit wallpaperMenuRequested();
    if (button & common::ButtonLeft)
        selectThumb(index);
    m_area.strip->setFocus();
}

void ThumbGrid::onEmptyMouseDown(int button, int)
{
    if (button & common::ButtonRight)
        emit areaMenuRequested();
    else if (button & common::ButtonLeft)
        clearThumbSelection();
}

void ThumbGrid::handleKey(int keyCode)
{
    const int count = m_browser.files().listCount();
    if (!m_area.strip->markerVisible() || count < 2)
        return;
    switch (keyCode) {
    case common::VkReturn:
        emit tiledPreviewRequested();
        return;
    case common::VkLeft:
    case common::VkRight:
    case common::VkUp:
    case common::VkDown:
        if (const std::optional<int> next = arrowStep(keyCode, m_current, count, m_lastColumn))
            selectThumb(*next);
        return;
    case common::VkPrior:
    case common::VkNext:
        m_area.scrollBar->setValue(pageScroll(keyCode, m_area.scrollBar->value(), m_scrollMax,
                                              m_area.scrollBar->isVisibleTo(m_area.viewport)));
        return;
    default:
        return;
    }
}

} // namespace pavix::thumbs
