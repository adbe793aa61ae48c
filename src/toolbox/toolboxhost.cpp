#include "toolbox/toolboxhost.h"

#include "platform/fontcatalogue.h"
#include "toolbox/toolbox.h"

namespace pavix::toolbox {

ToolboxHost::ToolboxHost(browser::Browser &browser, platform::FontCatalogue &fonts, double twipsPerPixel,
                         QWidget *parentWindow)
    : QObject(parentWindow), m_browser(browser), m_fonts(fonts), m_tpp(twipsPerPixel), m_parentWindow(parentWindow)
{
    setObjectName(QStringLiteral("toolboxHost"));
}

void ToolboxHost::show()
{
    if (!m_window)
        m_window = new Toolbox(m_browser, m_fonts.scalableFamilies(), m_corner, m_tpp, m_parentWindow);
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
