#include "shell/statusbar.h"

#include "shell/statuswindow.h"

#include <algorithm>

namespace pavix::shell {

namespace {

// The status window is never lower than this, whatever its font.
constexpr int MinimumHeightPx = 16;

} // namespace

StatusBar::StatusBar(QWidget *parent, int maxHeightPx) : m_parent(parent), m_maxHeightPx(std::max(1, maxHeightPx)) {}

StatusBar::~StatusBar() = default;

void StatusBar::create()
{
    destroy();
    m_window = new StatusWindow(m_parent);
    m_window->setObjectName(QStringLiteral("statusWindow"));
    m_window->setMaxHeight(m_maxHeightPx);
    m_window->setSimple(true);
    m_window->setSimpleText(QString());
    m_window->setMinHeight(MinimumHeightPx);
}

void StatusBar::destroy()
{
    delete m_window.data();
    m_window = nullptr;
}

void StatusBar::redock()
{
    if (m_window) {
        m_window->redock();
        m_window->update();
    }
}

bool StatusBar::isShown() const
{
    return !m_window.isNull();
}

void StatusBar::showMessage(const QString &text)
{
    if (!m_window)
        return;
    m_window->setSimple(true);
    m_window->setSimpleText(text);
}

void StatusBar::showParts(const std::vector<int> &rightEdgesPx)
{
    if (!m_window)
        return;
    m_window->setSimple(false);
    m_window->setParts(rightEdgesPx);
}

void StatusBar::setPartText(int part, const QString &text)
{
    if (m_window)
        m_window->setPartText(part, text);
}

QString StatusBar::shownText() const
{
    return m_window ? m_window->shownText() : QString();
}

} // namespace pavix::shell
