#include "shell/statuswindow.h"

#include "catalogue/filepaths.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOption>

#include <algorithm>

namespace pavix::shell {

StatusWindow::StatusWindow(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("StatusWindow"));
    setAccessibleName(tr("Status bar"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAutoFillBackground(true);
    redock();
    show();
}

void StatusWindow::setSimple(bool simple)
{
    m_simple = simple;
    setAccessibleDescription(shownText());
    update();
}

void StatusWindow::setSimpleText(const QString &text)
{
    m_simpleText = catalogue::oneLineText(text);
    setAccessibleDescription(shownText());
    update();
}

void StatusWindow::setParts(const std::vector<int> &rightEdgesPx)
{
    m_edges = rightEdgesPx;
    m_texts.resize(m_edges.size());
    update();
}

void StatusWindow::setPartText(int part, const QString &text)
{
    if (part < 0 || part >= static_cast<int>(m_texts.size()))
        return;
    m_texts[static_cast<size_t>(part)] = catalogue::oneLineText(text);
    setAccessibleDescription(shownText());
    update();
}

QString StatusWindow::partText(int part) const
{
    if (part < 0 || part >= static_cast<int>(m_texts.size()))
        return QString();
    return m_texts[static_cast<size_t>(part)];
}

void StatusWindow::setMinHeight(int heightPx)
{
    m_minHeightPx = std::max(0, heightPx);
    redock();
}

void StatusWindow::setMaxHeight(int heightPx)
{
    m_maxHeightPx = std::max(1, heightPx);
    redock();
}

int StatusWindow::dockHeight() const
{
    const int natural = fontMetrics().height() + 4;
    return std::min(m_maxHeightPx, std::max(m_minHeightPx, natural));
}

void StatusWindow::redock()
{
    QWidget *parent = parentWidget();
    if (!parent)
        return;
    const int h = dockHeight();
    setGeometry(0, parent->height() - h, parent->width(), h);
    raise();
}

QString StatusWindow::shownText() const
{
    if (m_simple)
        return m_simpleText;
    QStringList texts;
    for (const QString &t : m_texts)
        texts << t;
    return texts.join(QStringLiteral(" | "));
}

void StatusWindow::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const QPalette pal = palette();
    p.fillRect(rect(), pal.window());
    p.setPen(pal.mid().color());
    p.drawLine(0, 0, width(), 0);
    p.setPen(pal.windowText().color());
    const int textTop = 1;
    const int textHeight = height() - 1;
    if (m_simple) {
        p.drawText(QRect(4, textTop, width() - 8, textHeight), Qt::AlignVCenter | Qt::AlignLeft, m_simpleText);
        return;
    }
    int left = 0;
    for (size_t i = 0; i < m_edges.size(); ++i) {
        const int right = m_edges[i] < 0 ? width() : std::min(m_edges[i], width());
        if (right > left) {
            const QRect cell(left + 4, textTop, right - left - 8, textHeight);
            p.drawText(cell, Qt::AlignVCenter | Qt::AlignLeft,
                       fontMetrics().elidedText(m_texts[i], Qt::ElideRight, cell.width()));
            if (m_edges[i] >= 0 && right < width()) {
                p.setPen(pal.mid().color());
                p.drawLine(right - 1, 3, right - 1, height() - 3);
                p.setPen(pal.windowText().color());
            }
        }
        left = std::max(left, right);
    }
}

} // namespace pavix::shell
