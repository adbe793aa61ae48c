#include "preview/tiledpreview.h"

#include "common/keys.h"
#include "common/placement.h"
#include "common/units.h"
#include "platform/qtlistview.h"
#include "preview/tileplan.h"
#include "shell/mainwindow.h"
#include "thumbs/thumbstrip.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QFontMetrics>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>

#include <algorithm>
#include <cmath>

namespace pavix::preview {

namespace {

// The window is measured as if it had a four-pixel sizing border, as the main window is,
// so a stored size comes back the same whatever frame the window manager draws.
inline constexpr double FrameAllowancePx = 8.0;

// Room a frameless line edit needs beside its text: two pixels of margin each side, one
// for the cursor, and one spare so the text never scrolls.
inline constexpr int SmplMarginPx = 6;

inline constexpr int VkF2 = common::VkF1 + 1;

const QString HooksHolderName = QStringLiteral("pavixTiledPreviewHooks");

// Keeps the hooks with the main window for as long as it lives.
class HooksHolder : public QObject {
public:
    using QObject::QObject;
    TiledPreviewHooks hooks;
};

} // namespace

TiledPreviewHooks &tiledPreviewHooks(shell::MainWindow &main)
{
    for (QObject *child : main.children())
        if (child->objectName() == HooksHolderName)
            if (auto *holder = dynamic_cast<HooksHolder *>(child))
                return holder->hooks;
    auto *holder = new HooksHolder(&main);
    holder->setObjectName(HooksHolderName);
    return holder->hooks;
}

TiledPreview::TiledPreview(shell::MainWindow &main)
    : QWidget(&main, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowCloseButtonHint),
      m_main(main),
      m_tpp(main.twipsPerPixel())
{
    setAttribute(Qt::WA_DeleteOnClose);
    // Every paint fills its whole area: the background where a picture is transparent,
    // the tiles everywhere.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setWindowTitle(PreviewCaption);

    // A window manager that honours the minimum stops a drag at it; Form_Resize snaps
    // back any smaller size that still arrives. Rounded up, so the snap never undershoots.
    m_minimumPx = static_cast<int>(std::ceil(PreviewMinimumSize / m_tpp - FrameAllowancePx));
    setMinimumSize(m_minimumPx, m_minimumPx);

    Smpl = new QLineEdit(this);
    Smpl->setObjectName(QStringLiteral("Smpl"));
    Smpl->setReadOnly(true);
    Smpl->setFrame(false);
    Smpl->setStyleSheet(
        QStringLiteral("QLineEdit { background: transparent; border: none; padding: 0px; }"));
    Smpl->setContextMenuPolicy(Qt::NoContextMenu);
    Smpl->move(px(SmplLeft), px(SmplTop));
    // Key preview and clicks on the sample go through the window first.
    Smpl->installEventFilter(this);

    // Load: the frame position, then the size; the resize handling follows the move, so
    // the minimum also holds for the restored size.
    // A stored size no screen can show (the settings file is plain text) is cut to the
    // screen's free area: a window millions of pixels wide gets no surface to paint on.
    const QScreen *screen = main.screen();
    const QSize largest = screen ? screen->availableGeometry().size()
                                 : QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    auto clientPx = [this](double outerTwips, int largestPx) {
        const double client = std::round(outerTwips / m_tpp - FrameAllowancePx);
        return static_cast<int>(std::clamp(client, 1.0, static_cast<double>(std::max(1, largestPx))));
    };
    resize(clientPx(m_main.PrvWidth, largest.width()), clientPx(m_main.PrvHeight, largest.height()));
    // The stored place stays as it is; the window is only shown where its title bar can
    // be reached on the screens there are now.
    QList<QRect> screens;
    for (const QScreen *s : QGuiApplication::screens())
        screens.append(s->availableGeometry());
    const QRect frame(px(m_main.PrvLeft), px(m_main.PrvTop), width() + int(FrameAllowancePx),
                      height() + int(FrameAllowancePx));
    move(common::reachableTopLeft(frame, screens));
    Form_Resize();
}

TiledPreview::~TiledPreview()
{
    Smpl->removeEventFilter(this);
}

int TiledPreview::px(double twips) const
{
    return common::twipsToPixels(twips, m_tpp);
}

double TiledPreview::outerWidthTwips() const
{
    return (width() + FrameAllowancePx) * m_tpp;
}

double TiledPreview::outerHeightTwips() const
{
    return (height() + FrameAllowancePx) * m_tpp;
}

// --- Paint ----------------------------------------------------------------------------------

const QPixmap &TiledPreview::tile(QSize stepPx)
{
    const QImage &probe = m_main.imgFake;
    if (probe.isNull()) {
        m_tile = QPixmap();
        m_tileKey = 0;
        return m_tile;
    }
    // A step wider or taller than the window shows a single copy that way; the tile need
    // not be larger than the window then.
    auto cellLength = [](int step, int pictureLength, int windowLength) {
        return step > pictureLength ? std::min(step, std::max(windowLength, pictureLength)) : step;
    };
    const QSize tileSize(cellLength(stepPx.width(), probe.width(), width()),
                         cellLength(stepPx.height(), probe.height(), height()));
    if (!m_tile.isNull() && m_tileKey == probe.cacheKey() && m_tileStep == tileSize)
        return m_tile;
    m_tileKey = probe.cacheKey();
    m_tileStep = tileSize;
    if (tileSize == probe.size()) {
        m_tile = QPixmap::fromImage(probe);
        return m_tile;
    }
    // The step differs from the picture: each copy still starts a step after the one
    // before, so the tile is the picture on a transparent cell of one step.
    QImage cell(tileSize, QImage::Format_ARGB32_Premultiplied);
    if (cell.isNull()) {
        m_tile = QPixmap();
        return m_tile;
    }
    cell.fill(Qt::transparent);
    QPainter painter(&cell);
    painter.drawImage(0, 0, probe);
    painter.end();
    m_tile = QPixmap::fromImage(cell);
    return m_tile;
}

void TiledPreview::paintEvent(QPaintEvent *event)
{
    if (m_main.imgFake.isNull()) {
        // Nothing to tile: the window hides itself but stays loaded. Hidden once this
        // paint is over; a picture that arrived meanwhile is painted instead.
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (m_main.imgFake.isNull())
                    hide();
                else
                    update();
            },
            Qt::QueuedConnection);
        return;
    }
    QPainter painter(this);
    const QSize stepPx(px(m_main.ImgWidth), px(m_main.ImgHeight));
    // A step of 0 (a picture without width or height) lays no copy.
    if (stepPx.width() <= 0 || stepPx.height() <= 0) {
        painter.fillRect(event->rect(), palette().window());
        return;
    }
    const QPixmap &copy = tile(stepPx);
    if (copy.isNull() || copy.hasAlpha())
        painter.fillRect(event->rect(), palette().window());
    if (!copy.isNull())
        paintTiles(painter, copy, rect(), event->rect());
}

// --- Activate, keys, mouse ------------------------------------------------------------------

bool TiledPreview::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate)
        Form_Activate();
    return QWidget::event(event);
}

void TiledPreview::Form_Activate()
{
    TiledPreviewHooks &hooks = tiledPreviewHooks(m_main);
    const std::optional<Sample> sample = hooks.sampleHook ? hooks.sampleHook() : std::nullopt;
    if (sample) {
        applySample(*sample);
        Smpl->move(px(SmplLeft), Smpl->y());
        if (hooks.focusToolboxHook)
            hooks.focusToolboxHook();
    } else {
        Smpl->setText(QString());
        Smpl->move(px(SmplHiddenLeft), Smpl->y());
    }
}

void TiledPreview::applySample(const Sample &sample)
{
    QFont font = Smpl->font();
    if (!sample.fontFamily.isEmpty())
        font.setFamily(sample.fontFamily);
    if (sample.pointSize > 0)
        font.setPointSizeF(sample.pointSize);
    Smpl->setFont(font);
    QPalette palette = Smpl->palette();
    if (sample.colour.isValid())
        palette.setColor(QPalette::Text, sample.colour);
    Smpl->setPalette(palette);
    Smpl->setText(sample.text);
    // Sized to its text: the whole line shows from its first character.
    const QFontMetrics metrics(font);
    Smpl->resize(metrics.horizontalAdvance(sample.text) + SmplMarginPx,
                 metrics.height() + SmplMarginPx);
    Smpl->setCursorPosition(0);
}

bool TiledPreview::Form_KeyDown(int keyCode, int /*shift*/)
{
    if (keyCode == common::VkEscape) {
        close();
        return true;
    }
    if (keyCode == VkF2) {
        if (const auto &show = tiledPreviewHooks(m_main).toolboxHook)
            show();
        raise();
        activateWindow();
        return true;
    }
    return false;
}

void TiledPreview::keyPressEvent(QKeyEvent *event)
{
    if (!Form_KeyDown(common::virtualKeyCode(event->key(), event->modifiers()),
                      common::shiftMask(event->modifiers())))
        QWidget::keyPressEvent(event);
}

void TiledPreview::mousePressEvent(QMouseEvent *event)
{
    event->accept();
    close();
}

bool TiledPreview::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Smpl) {
        if (event->type() == QEvent::MouseButtonPress ||
            event->type() == QEvent::MouseButtonDblClick) {
            close();
            return true;
        }
        if (event->type() == QEvent::KeyPress) {
            const auto *key = static_cast<QKeyEvent *>(event);
            if (Form_KeyDown(common::virtualKeyCode(key->key(), key->modifiers()),
                             common::shiftMask(key->modifiers())))
                return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

// --- Resize and unload ----------------------------------------------------------------------

void TiledPreview::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    Form_Resize();
}

void TiledPreview::Form_Resize()
{
    if (m_inResize)
        return;
    m_inResize = true;
    if (outerHeightTwips() < PreviewMinimumSize)
        resize(width(), std::max(height(), m_minimumPx));
    if (outerWidthTwips() < PreviewMinimumSize)
        resize(std::max(width(), m_minimumPx), height());
    m_main.PrvWidth = static_cast<std::int32_t>(common::roundHalfEven(outerWidthTwips()));
    m_main.PrvHeight = static_cast<std::int32_t>(common::roundHalfEven(outerHeightTwips()));
    m_inResize = false;
}

void TiledPreview::closeEvent(QCloseEvent *event)
{
    Form_Unload();
    event->accept();
}

void TiledPreview::Form_Unload()
{
    if (m_unloaded)
        return;
    m_unloaded = true;
    const QPoint frame = pos();
    m_main.PrvTop = static_cast<std::int32_t>(common::roundHalfEven(frame.y() * m_tpp));
    m_main.PrvLeft = static_cast<std::int32_t>(common::roundHalfEven(frame.x() * m_tpp));
    if (m_main.Preview == this)
        m_main.Preview = nullptr;
    QWidget *target = m_main.picScroll;
    if (m_main.Lv && m_main.Lv->isVisible())
        target = m_main.Lv;
    if (target) {
        m_main.activateWindow();
        target->setFocus(Qt::OtherFocusReason);
    }
}

// --- For the main window --------------------------------------------------------------------

void showTiledPreview(shell::MainWindow &main)
{
    if (!main.Preview) {
        auto *window = new TiledPreview(main);
        main.registerLoadedWindow(window);
        main.Preview = window;
    }
    QWidget *window = main.Preview;
    window->show();
    window->raise();
    window->activateWindow();
}

void refreshTiledPreview(shell::MainWindow &main)
{
    if (main.Preview)
        main.Preview->update();
}

void unloadTiledPreview(shell::MainWindow &main)
{
    if (main.Preview && main.Preview->isVisible())
        main.Preview->close();
}

bool tiledPreviewVisible(const shell::MainWindow &main)
{
    return main.Preview && main.Preview->isVisible();
}

} // namespace pavix::preview
