#include "about/aboutbox.h"

#include "about/aboutbackground.h"
#include "common/units.h"
#include "platform/linkopener.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

namespace pavix::about {

namespace {

inline constexpr int WidthTwips = 6915;
inline constexpr int HeightTwips = 4065;
const QColor Blue(0, 0, 255);
const QColor Orange(255, 128, 0);
const QColor RuleGrey(224, 224, 224);
// The two rules, as top edges in twips, running from 300 to 6615.
inline constexpr int RuleTops[] = {2150, 3450};

} // namespace

AboutBox::AboutBox(const Links &links, platform::LinkOpener &opener, double twipsPerPixel, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), m_links(links), m_opener(opener), m_tpp(twipsPerPixel)
{
    setObjectName(QStringLiteral("aboutBox"));
    // The box has no title bar; assistive tools still read it by a name.
    setAccessibleName(tr("About"));
    setModal(true);
    setFixedSize(common::twipsToPixels(WidthTwips, m_tpp), common::twipsToPixels(HeightTwips, m_tpp));
    setMouseTracking(true);

    auto label = [this](const QString &text, const QColor &colour, int left, int top, int width, int height) {
        auto *l = new QLabel(text, this);
        l->setGeometry(common::twipsToPixels(common::TwipRect{double(left), double(top), double(width), double(height)},
                                             m_tpp));
        QPalette palette = l->palette();
        palette.setColor(QPalette::WindowText, colour);
        l->setPalette(palette);
        l->setMouseTracking(true);
        l->installEventFilter(this);
        return l;
    };
    m_titleLabel = label(aboutTitle(), Blue, 300, 300, 6315, 500);
    QFont titleFont = m_titleLabel->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.6);
    titleFont.setBold(true);
    m_titleLabel->setFont(titleFont);
    m_noticeLabel = label(aboutNotice(), Blue, 300, 1050, 6315, 700);
    m_noticeLabel->setWordWrap(true);
    m_noticeLabel->setAutoFillBackground(true);
    QPalette white = m_noticeLabel->palette();
    white.setColor(QPalette::Window, Qt::white);
    m_noticeLabel->setPalette(white);
    m_webCaption = label(tr("Web :"), Orange, 300, 2500, 1000, 300);
    m_mailCaption = label(tr("Mail :"), Orange, 300, 2950, 1000, 300);
    m_webLink = label(m_links.homePage.toString(), Qt::black, 1400, 2500, 5215, 300);
    m_mailLink = label(m_links.contactMail, Qt::black, 1400, 2950, 5215, 300);
    m_spareLabel = label(QString(), Qt::black, 300, 3600, 6315, 250);
    for (QLabel *link : {m_webLink, m_mailLink}) {
        link->setCursor(Qt::PointingHandCursor);
        // Tab reaches the links too, Enter or Space opens the one that has the focus.
        link->setFocusPolicy(Qt::TabFocus);
        link->setAccessibleDescription(tr("Link, opens with Enter"));
    }

    // Centred on the screen.
    if (const QScreen *screen = parent ? parent->screen() : QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void AboutBox::paintEvent(QPaintEvent *)
{
    // Made again for the screen's scale: a box dragged to a screen of another scale stays
    // sharp.
    if (m_background.devicePixelRatio() != devicePixelRatioF()
        || m_background.size() != size() * m_background.devicePixelRatio())
        m_background = aboutBackground(size(), devicePixelRatioF());
    QPainter p(this);
    p.drawImage(rect(), m_background);
    p.setPen(RuleGrey);
    for (int top : RuleTops) {
        const int y = common::twipsToPixels(top, m_tpp);
        p.drawLine(common::twipsToPixels(300, m_tpp), y, common::twipsToPixels(6615, m_tpp), y);
    }
}

void AboutBox::setLinkColour(QLabel *label, const QColor &colour)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
}

void AboutBox::openLink(const QUrl &address)
{
    // An address the desktop cannot open is named in a message box.
    if (!m_opener.open(address))
        QMessageBox::warning(this, QStringLiteral("Pavix"), unopenedMessage(address.toString()), QMessageBox::Ok);
}

void AboutBox::mousePressEvent(QMouseEvent *event)
{
    // The background: the box closes.
    event->accept();
    close();
}

void AboutBox::mouseMoveEvent(QMouseEvent *event)
{
    // Over the background both links turn black again.
    setLinkColour(m_webLink, Qt::black);
    setLinkColour(m_mailLink, Qt::black);
    QDialog::mouseMoveEvent(event);
}

bool AboutBox::eventFilter(QObject *watched, QEvent *event)
{
    auto *label = qobject_cast<QLabel *>(watched);
    if (!label || label->parent() != this)
        return QDialog::eventFilter(watched, event);
    if (event->type() == QEvent::MouseMove) {
        if (label == m_webLink || label == m_mailLink)
            setLinkColour(label, Blue);
        return true;
    }
    const bool isLink = label == m_webLink || label == m_mailLink;
    // A link Tab moves onto turns blue, as under the pointer; the box opens as it always did.
    if (isLink && event->type() == QEvent::FocusIn) {
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason)
            setLinkColour(label, Blue);
    }
    if (isLink && event->type() == QEvent::FocusOut)
        setLinkColour(label, Qt::black);
    if (isLink && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) {
            openLink(label == m_webLink ? m_links.homePageIndex : m_links.mailLink());
            return true;
        }
    }
    if (event->type() == QEvent::MouseButtonPress) {
        if (label == m_webLink)
            openLink(m_links.homePageIndex);
        else if (label == m_mailLink)
            openLink(m_links.mailLink());
        else
            close();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace pavix::about
