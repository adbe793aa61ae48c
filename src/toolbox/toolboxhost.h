#pragma once
// Owns the font toolbox for the main window: keeps where it opens until it is first
// wanted, loads it then (once: it stays loaded, hidden or shown, until the program ends)
// with the installed fonts, and says where it stood at the end.

#include <QObject>
#include <QPointF>
#include <QPointer>

#include <optional>

class QWidget;

namespace pavix::browser {
class Browser;
}
namespace pavix::platform {
class FontCatalogue;
}

namespace pavix::toolbox {

class Toolbox;

// Where the toolbox opens when nothing else is stored, twips.
inline constexpr double DefaultToolboxCorner = 1000;

class ToolboxHost : public QObject {
    Q_OBJECT
public:
    ToolboxHost(browser::Browser &browser, platform::FontCatalogue &fonts, double twipsPerPixel, QWidget *parentWindow);

    // The frame's corner the toolbox opens at, twips; set it before the first show.
    void setCorner(QPointF cornerTwips) { m_corner = cornerTwips; }
    // Loads the toolbox when it is not loaded, then shows it raised and active.
    void show();
    // The loaded toolbox, or nullptr.
    Toolbox *window() const;
    // The corner to keep for the next run: where the loaded toolbox stands now, twips;
    // nothing when it was never loaded in this run.
    std::optional<QPointF> cornerToStore() const;
    // Closes the loaded toolbox for good (shutdown).
    void unload();

private:
    browser::Browser &m_browser;
    platform::FontCatalogue &m_fonts;
    double m_tpp;
    QWidget *m_parentWindow;
    QPointF m_corner{DefaultToolboxCorner, DefaultToolboxCorner};
    QPointer<Toolbox> m_window;
};

} // namespace pavix::toolbox
