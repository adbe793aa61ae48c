#include "toolbox/toolboxhost.h"

#include "platform/fontcatalogue.h"
#include "platform/screen.h"
#include "toolbox/toolbox.h"

#include <QGuiApplication>
#include <QWindow>

namespace pavix::toolbox {

ToolboxHost::ToolboxHost(browser::Browser &browser, platform::FontCatalogue &fonts, double twipsPerPixel,
                         QWidget *parentWindow)
    : QObject(parentWindow), m_browser(browser), m_fonts(fonts), m_tpp(twipsPerPixel), m_parentWindow(parentWindow)
{
    setObjectName(QStringLiteral("toolboxHost"));
}

void ToolboxHost::show()
{
    // The window the toolbox is asked from, before the toolbox takes the focus.
    QWindow *asking = QGuiApplication::focusWindow();
    if (!m_window)
        m_window = new Toolbox(m_browser, m_fonts.scalableFamilies(), m_corner, m_tpp, m_parentWindow);
    if (platform::drawsOnWayland())
        m_window->stayAbove(asking);
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}

Toolbox *ToolboxHost::window() const
{
    return m_window;
}

std::optional<QPointF> ToolboxHost::cornerToStore() const
{
    if (!m_window)
        return std::nullopt;
    return m_window->cornerTwips();
}

void ToolboxHost::unload()
{
    if (m_window) {
        m_window->hide();
        delete m_window.data();
    }
}

} // namespace pavix::toolbox
