#pragma once
// What the windows keep from one run to the next, in one place: read from the settings
// store at start-up and written back when the main window closes. Each value falls back to
// its key's default when missing or unreadable (settingskeys.h).

#include "platform/settingsstore.h"
#include "preview/tiledpreview.h"

#include <QPointF>
#include <QString>

#include <cstdint>
#include <optional>

namespace pavix::shell {

struct MainWindowPlace {
    float left = 0;
    float top = 0;
    float width = 0;
    float height = 0;
};

struct WindowSettings {
    // The main window's frame corner and outer size, twips; not stored while minimized.
    std::optional<MainWindowPlace> mainPlace;
    // The folder shown; `homeFolder` of load() when none is stored.
    QString folder;
    std::int32_t listLayout = 0;
    bool toolBarShown = true;
    bool statusBarShown = true;
    bool treeShown = true;
    bool previewShown = true;
    std::int32_t treeSplitterLeft = 0;
    std::int32_t previewSplitterLeft = 0;
    preview::WindowPlace tiledWindow;
    // The toolbox's frame corner, twips; stored only once the toolbox was loaded.
    std::optional<QPointF> toolboxCorner;

    // Everything the store holds, each value with its default where it holds none.
    static WindowSettings load(const platform::SettingsStore &store, const QString &homeFolder);
    // Writes every value that is set and syncs the store.
    void store(platform::SettingsStore &store) const;
    // Takes the windows' corners (main window, tiled window, toolbox) from `read`, the
    // settings as they were read, keeping the sizes: where the windows cannot tell their
    // place (a Wayland session) the stored one stays. A corner this run does not store
    // (a minimized main window, a toolbox never loaded) stays unstored.
    void keepCornersOf(const WindowSettings &read);
};

} // namespace pavix::shell
