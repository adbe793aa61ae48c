#include "preview/tiledpreview.h"

#include "browser/browser.h"
#include "common/keys.h"
#include "common/placement.h"
#include "common/units.h"
#include "platform/busyscope.h"
#include "preview/tileplan.h"
#include "preview/tilezoom.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace pavix::preview {

namespace {

// Room a frameless line edit needs beside its text: two pixels of margin each side, one
// for the cursor, and one spare so the text never scrolls.
inline constexpr int SampleMarginPx = 6;
// Width the sample box gets beyond its text, twips.
inline constexpr double SampleExtraWidth = 200;
// Width of a seam mark, twips, and its colours: amber for a faint seam, red for a visible one.
inline constexpr double SeamMarkWidth = 45;
inline constexpr QRgb FaintSeamColour = qRgba(255, 176, 0, 190);
inline constexpr QRgb VisibleSeamColour = qRgba(230, 0, 0, 210);
// The window's own kind: a tool window with a caption and a close button.
constexpr Qt::WindowFlags ToolWindowFlags = Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                                            | Qt::WindowCloseButtonHint;
// A wheel's notch, in eighths of a degree.
inline constexpr int WheelNotch = 120;

} // namespace

TiledPreview::TiledPreview(browser::Browser &browser, WindowPlace &place, QWidget *parent)
    : QWidget(parent, ToolWindowFlags), m_browser(browser), m_place(place), m_tpp(browser.twipsPerPixel())
{
    setObjectName(QStringLiteral("tiledPreview"));
    setAttribute(Qt::WA_DeleteOnClose);
    // Every paint fills its whole area: the background where a picture is transparent,
    // the tiles everywhere.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setWindowTitle(previewCaption());

    // A window manager that honours the minimum stops a drag at it; the resize handling
    // snaps back any smaller size that still arrives. Rounded up, so the snap never
    // undershoots.
    m_minimumPx = static_cast<int>(std::ceil(PreviewMinimumSize / m_tpp - common::FrameAllowancePx));
    setMinimumSize(m_minimumPx, m_minimumPx);

    m_sample = new QLineEdit(this);
    m_sample->setObjectName(QStringLiteral("sampleEdit"));
    m_sample->setReadOnly(true);
    m_sample->setFrame(false);
    m_sample->setStyleSheet(QStringLiteral("QLineEdit { background: transparent; border: none; padding: 0px; }"));
    m_sample->setContextMenuPolicy(Qt::NoContextMenu);
    m_sample->move(px(SampleLeft), px(SampleTop));
    // Keys and clicks on the sample go through the window first.
    m_sample->installEventFilter(this);
    // While the window is loaded the sample follows the toolbox as it changes: each typed
    // character, each move of a bar. The focus stays where it is.
    connect(&m_browser, &browser::Browser::sampleChanged, this, &TiledPreview::followSample);

    // A stored size no screen can show (the settings file is plain text) is cut to the
    // screen's free area: a window millions of pixels wide gets no surface to paint on.
    const QScreen *screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
    const QSize largest = screen ? screen->availableGeometry().size() : QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    resize(std::min(common::clientPixels(m_place.width, m_tpp), std::max(1, largest.width())),
           std::min(common::clientPixels(m_place.height, m_tpp), std::max(1, largest.height())));
    // The stored place stays as it is; the window is shown wholly on one of the screens
    // there are now.
    QList<QRect> screens;
    for (const QScreen *s : QGuiApplication::screens())
        screens.append(s->availableGeometry());
    const QRect frame(px(m_place.left), px(m_place.top), width() + common::FrameAllowancePx,
                      height() + common::FrameAllowancePx);
    move(common::onScreenTopLeft(frame, screens));
    keepMinimumAndRecordSize();
    followSample();
}

TiledPreview::~TiledPreview()
{
    m_sample->removeEventFilter(this);
}

int TiledPreview::px(double twips) const
{
    return common::twipsToPixels(twips, m_tpp);
}

double TiledPreview::outerWidthTwips() const
{
    return common::outerTwips(width(), m_tpp);
}

double TiledPreview::outerHeightTwips() const
{
    return common::outerTwips(height(), m_tpp);
}

// --- Paint ----------------------------------------------------------------------------------

const QPixmap &TiledPreview::tile()
{
    // Shrunk and converted once per picture and zoom, not once per paint: a zoomed-out
    // window is filled with one small tile, however large it is.
    const QImage &picture = m_browser.picture();
    if (m_tileKey != picture.cacheKey() || m_tileZoom != m_zoom) {
        m_tileKey = picture.cacheKey();
        m_tileZoom = m_zoom;
        m_tile = QPixmap::fromImage(tileSource(picture, m_zoom));
    }
    return m_tile;
}

void TiledPreview::paintSeamMarks(QPainter &painter, const QRect &dirty)
{
    // The seams are measured once per picture, over the background the window shows.
    const QImage &picture = m_browser.picture();
    if (m_seamsKey != picture.cacheKey()) {
        m_seamsKey = picture.cacheKey();
        m_seams = seamRatios(picture, palette().color(QPalette::Window));
    }
    const int bandPx = std::max(2, px(SeamMarkWidth));
    for (const SeamMark &mark : seamMarks(zoomedTileSize(picture.size(), m_zoom), rect(), m_seams, bandPx)) {
        if (mark.band.intersects(dirty))
            painter.fillRect(mark.band,
                             QColor::fromRgba(mark.grade == SeamGrade::Visible ? VisibleSeamColour : FaintSeamColour));
    }
}

void TiledPreview::setZoom(int percent)
{
    const int step = std::clamp(percent, ZoomSteps[0], ZoomSteps[std::size(ZoomSteps) - 1]);
    if (step == m_zoom)
        return;
    m_zoom = step;
    setWindowTitle(zoomedTitle(m_zoom));
    update();
}

void TiledPreview::setSeamMarksShown(bool shown)
{
    if (shown == m_seamMarksShown)
        return;
    m_seamMarksShown = shown;
    update();
}

void TiledPreview::toggleFullScreen()
{
    // Window managers fill the screen with normal windows only (openbox refuses a tool
    // window), so the window is a normal one while it fills the screen. A change of kind
    // hides it: it is shown again, active, at its normal place and size.
    if (isFullScreen()) {
        setWindowFlags(ToolWindowFlags);
        setWindowState(Qt::WindowNoState);
        resize(m_normalSize);
        move(m_normalCorner);
        show();
    } else {
        m_normalCorner = pos();
        m_normalSize = size();
        setWindowFlags(Qt::Window);
        showFullScreen();
    }
    raise();
    activateWindow();
}

void TiledPreview::paintEvent(QPaintEvent *event)
{
    if (m_browser.picture().isNull()) {
        // Nothing to tile: the window hides itself but stays loaded. Hidden once this
        // paint is over, and after a grid build under way; a picture that arrived
        // meanwhile is painted instead.
        platform::BusyScope::afterwards(this, [this] {
            if (m_browser.picture().isNull()) {
                // A hidden window must not keep the keyboard, and no desktop hands it on
                // by itself. Unless the user is in another window of Pavix (the toolbox,
                // the options), it goes back to the file area, also when the activation
                // this window asked for on showing has not come yet.
                const QWidget *active = QApplication::activeWindow();
                const bool heldKeyboard = !active || active == this || active == parentWidget();
                hide();
                if (heldKeyboard)
                    emit keyboardReleased();
            } else {
                update();
            }
        });
        return;
    }
    // Each copy at the picture's natural size, edge to edge; the background shows where
    // the picture is transparent.
    QPainter painter(this);
    const QPixmap &copy = tile();
    if (copy.hasAlpha())
        painter.fillRect(event->rect(), palette().window());
    paintZoomedTiles(painter, copy, m_browser.picture().size(), m_zoom, rect(), event->rect());
    // Over the tiles, under the sample (a child window, painted after this one).
    if (m_seamMarksShown)
        paintSeamMarks(painter, event->rect());
}

// --- Activation, keys, mouse ----------------------------------------------------------------

bool TiledPreview::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate)
        showSample();
    return QWidget::event(event);
}

void TiledPreview::showSample()
{
    followSample();
    if (m_sampleShown)
        emit sampleShown();
}

void TiledPreview::followSample()
{
    if (const std::optional<browser::Sample> &sample = m_browser.sample()) {
        applySample(*sample);
        m_sample->move(px(SampleLeft), m_sample->y());
        m_sampleShown = true;
        publishSamplePlacement();
    } else {
        m_sample->setText(QString());
        m_sample->move(px(SampleHiddenLeft), m_sample->y());
        if (m_sampleShown) {
            m_sampleShown = false;
            m_browser.setSamplePlacement(std::nullopt);
        }
    }
}

void TiledPreview::applySample(const browser::Sample &sample)
{
    QFont font = m_sample->font();
    if (!sample.fontFamily.isEmpty())
        font.setFamily(sample.fontFamily);
    if (sample.pointSize > 0)
        font.setPointSizeF(sample.pointSize);
    m_sample->setFont(font);
    QPalette palette = m_sample->palette();
    if (sample.colour.isValid())
        palette.setColor(QPalette::Text, sample.colour);
    m_sample->setPalette(palette);
    m_sample->setText(sample.text);
    // Sized to its text, so the whole line shows from its first character; then wider by
    // a fixed margin.
    const QFontMetrics metrics(font);
    m_sampleTextWidthPx = sample.text.isEmpty() ? 0 : metrics.horizontalAdvance(sample.text) + SampleMarginPx;
    m_sample->resize(metrics.horizontalAdvance(sample.text) + SampleMarginPx + px(SampleExtraWidth),
                     metrics.height() + SampleMarginPx);
    m_sample->setCursorPosition(0);
}

void TiledPreview::publishSamplePlacement()
{
    // The text's own box, without the margin beyond it, as far as the window shows it.
    const QRect text(m_sample->pos(), QSize(m_sampleTextWidthPx, m_sample->height()));
    m_browser.setSamplePlacement(browser::SamplePlacement{text.intersected(rect()), palette().color(QPalette::Window)});
}

bool TiledPreview::handleKey(const QKeyEvent &key)
{
    const int keyCode = common::virtualKeyCode(key.key(), key.modifiers());
    if (keyCode == common::VkEscape) {
        if (isFullScreen())
            toggleFullScreen();
        else
            close();
        return true;
    }
    if (keyCode == common::VkF2) {
        emit toolboxRequested();
        raise();
        activateWindow();
        return true;
    }
    const Qt::KeyboardModifiers modifiers = key.modifiers() & ~Qt::KeypadModifier;
    if (modifiers == Qt::NoModifier && key.key() == Qt::Key_F11) {
        toggleFullScreen();
        return true;
    }
    if (modifiers == Qt::NoModifier && key.key() == Qt::Key_S) {
        setSeamMarksShown(!m_seamMarksShown);
        return true;
    }
    // Ctrl with minus, plus (or the key it shares with "=") and 0; Shift may be held for the
    // plus.
    if (modifiers & Qt::ControlModifier && !(modifiers & (Qt::AltModifier | Qt::MetaModifier))) {
        switch (key.key()) {
        case Qt::Key_Minus:
            setZoom(zoomedOut(m_zoom));
            return true;
        case Qt::Key_Plus:
        case Qt::Key_Equal:
            setZoom(zoomedIn(m_zoom));
            return true;
        case Qt::Key_0:
            setZoom(NaturalZoom);
            return true;
        default:
            break;
        }
    }
    return false;
}

void TiledPreview::keyPressEvent(QKeyEvent *event)
{
    if (!handleKey(*event))
        QWidget::keyPressEvent(event);
}

void TiledPreview::wheelEvent(QWheelEvent *event)
{
    if (!(event->modifiers() & Qt::ControlModifier)) {
        QWidget::wheelEvent(event);
        return;
    }
    event->accept();
    // A notch a step; a fine-grained wheel or touch pad adds up to notches.
    m_wheelTurn += event->angleDelta().y();
    while (m_wheelTurn >= WheelNotch) {
        m_wheelTurn -= WheelNotch;
        setZoom(zoomedIn(m_zoom));
    }
    while (m_wheelTurn <= -WheelNotch) {
        m_wheelTurn += WheelNotch;
        setZoom(zoomedOut(m_zoom));
    }
}

void TiledPreview::mousePressEvent(QMouseEvent *event)
{
    event->accept();
    close();
}

bool TiledPreview::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_sample) {
        if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick) {
            close();
            return true;
        }
        if (event->type() == QEvent::KeyPress) {
            if (handleKey(*static_cast<QKeyEvent *>(event)))
                return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

// --- Size and closing -----------------------------------------------------------------------

void TiledPreview::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    keepMinimumAndRecordSize();
    // The window shows more or less of the sample now.
    if (m_sampleShown)
        publishSamplePlacement();
}

void TiledPreview::keepMinimumAndRecordSize()
{
    // Full screen is no size of the window's own: the normal one stays stored.
    if (m_inResize || isFullScreen())
        return;
    m_inResize = true;
    if (outerHeightTwips() < PreviewMinimumSize)
        resize(width(), std::max(height(), m_minimumPx));
    if (outerWidthTwips() < PreviewMinimumSize)
        resize(std::max(width(), m_minimumPx), height());
    m_place.width = static_cast<std::int32_t>(common::roundHalfEven(outerWidthTwips()));
    m_place.height = static_cast<std::int32_t>(common::roundHalfEven(outerHeightTwips()));
    m_inResize = false;
}

void TiledPreview::closeEvent(QCloseEvent *event)
{
    recordPlaceAndClose();
    event->accept();
}

void TiledPreview::recordPlaceAndClose()
{
    if (m_closed)
        return;
    m_closed = true;
    const QPoint frame = isFullScreen() ? m_normalCorner : pos();
    m_place.top = static_cast<std::int32_t>(common::roundHalfEven(frame.y() * m_tpp));
    m_place.left = static_cast<std::int32_t>(common::roundHalfEven(frame.x() * m_tpp));
    if (m_sampleShown) {
        m_sampleShown = false;
        m_browser.setSamplePlacement(std::nullopt);
    }
    emit closing();
}

// --- Host -----------------------------------------------------------------------------------

TiledPreviewHost::TiledPreviewHost(browser::Browser &browser, QWidget *parentWindow)
    : QObject(parentWindow), m_browser(browser), m_parentWindow(parentWindow)
{
    setObjectName(QStringLiteral("tiledPreviewHost"));
    // The window always shows the current picture: a new selection repaints it at once.
    connect(&m_browser, &browser::Browser::pictureChanged, this, [this] {
        if (m_window)
            m_window->update();
    });
}

void TiledPreviewHost::show()
{
    if (!m_window) {
        m_window = new TiledPreview(m_browser, m_place, m_parentWindow);
        connect(m_window, &TiledPreview::toolboxRequested, this, &TiledPreviewHost::toolboxRequested);
        connect(m_window, &TiledPreview::sampleShown, this, &TiledPreviewHost::sampleShown);
        connect(m_window, &TiledPreview::keyboardReleased, this, &TiledPreviewHost::focusReturned);
        connect(m_window, &TiledPreview::closing, this, [this] {
            // The closed window deletes itself; the next show loads a new one.
            m_window = nullptr;
            emit focusReturned();
        });
    }
    // With no picture the window would hide itself at its first paint: it stays loaded and
    // hidden, and never takes the focus from the window the user is in.
    if (m_browser.picture().isNull())
        return;
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}

void TiledPreviewHost::unloadIfVisible()
{
    if (isShown())
        m_window->close();
}

void TiledPreviewHost::close()
{
    if (m_window)
        m_window->close();
}

bool TiledPreviewHost::isShown() const
{
    return m_window && m_window->isVisible();
}

} // namespace pavix::preview
