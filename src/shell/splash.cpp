#include "shell/splash.h"

#include "common/units.h"

#include <QGuiApplication>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QScreen>
#include <QTimer>

#include <algorithm>

namespace pavix::shell {

namespace {

inline constexpr int SplashWidth = 2970;
inline constexpr int SplashHeight = 1500;

// The splash picture: 200 x 100 pixels, stretched over the whole window.
QImage splashPicture()
{
    QImage img(200, 100, QImage::Format_RGB32);
    QPainter p(&img);
    QLinearGradient g(0, 0, 200, 100);
    g.setColorAt(0.0, QColor(236, 240, 246));
    g.setColorAt(1.0, QColor(196, 210, 230));
    p.fillRect(img.rect(), g);
    // A few tiles repeated edge to edge, the program's subject.
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) {
            const QRect tile(8 + x * 14, 10 + y * 14, 13, 13);
            p.fillRect(tile, (x + y) % 2 ? QColor(52, 101, 164) : QColor(233, 185, 60));
        }
    p.setPen(QColor(120, 130, 150));
    p.drawRect(img.rect().adjusted(0, 0, -1, -1));
    return img;
}

} // namespace

Splash::Splash(double twipsPerPixel, Startup startup)
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint), m_tpp(twipsPerPixel), m_startup(std::move(startup))
{
    using common::twipsToPixels;
    setObjectName(QStringLiteral("splash"));
    setFixedSize(twipsToPixels(SplashWidth, m_tpp), twipsToPixels(SplashHeight, m_tpp));
    setCursor(Qt::WaitCursor);

    // A label is at least as wide as its text needs in the font it has, so no text is cut
    // whatever the font's size.
    auto place = [this](QLabel *label, int left, int top, int width, int height) {
        label->setGeometry(twipsToPixels(left, m_tpp), twipsToPixels(top, m_tpp),
                           std::max(twipsToPixels(width, m_tpp), label->sizeHint().width()),
                           std::max(twipsToPixels(height, m_tpp), label->sizeHint().height()));
        label->setAttribute(Qt::WA_TranslucentBackground);
    };
    m_nameLabel = new QLabel(QStringLiteral("Pavix"), this);
    QFont bold = font();
    bold.setBold(true);
    bold.setPointSizeF(8.25);
    m_nameLabel->setFont(bold);
    place(m_nameLabel, 1380, 564, 1332, 192);
    m_versionLabel = new QLabel(QStringLiteral("v 3.0"), this);
    place(m_versionLabel, 1896, 792, 360, 192);
    m_statusLabel = new QLabel(QCoreApplication::translate("pavix::shell", "Loading %1").arg(QStringLiteral("..")),
                               this);

    place(m_statusLabel, 1068, 1140, 1728, 216);

    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect avail = screen->availableGeometry();
        move(avail.center() - rect().center());
    }

    m_startTimer = new QTimer(this);
    m_startTimer->setSingleShot(true);
    m_startTimer->setInterval(1);
    connect(m_startTimer, &QTimer::timeout, this, &Splash::runStartupOnce);
    m_startTimer->start();
}

void Splash::showStatus(const QString &text)
{
    m_statusLabel->setText(text);
    m_statusLabel->repaint();
}

void Splash::paintEvent(QPaintEvent *)
{
    static const QImage picture = splashPicture();
    QPainter p(this);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawImage(rect(), picture);
}

void Splash::runStartupOnce()
{
    if (m_ran)
        return;
    m_ran = true;
    m_startTimer->stop();
    m_startup([this](const QString &text) { showStatus(text); });
    // The main window is shown; the splash has done its work.
    close();
}

} // namespace pavix::shell
