#pragma once
// Sections and keys of the settings store with their defaults, as the program stores them.
// The reader named beside each key is the one of settingsstore.h that converts it.

#include <QLatin1StringView>

#include <cstdint>

namespace pavix::shell {

inline constexpr QLatin1StringView SectionSettings{"Settings"};

// --- Section "Settings" ------------------------------------------------------------------

// Main window placement, twips (readSingle); written at shutdown unless minimized.
inline constexpr QLatin1StringView KeyMainLeft{"MainLeft"};
inline constexpr QLatin1StringView KeyMainTop{"MainTop"};
inline constexpr QLatin1StringView KeyMainWidth{"MainWidth"};
inline constexpr QLatin1StringView KeyMainHeight{"MainHeight"};
inline constexpr float DefaultMainLeft = 1000.0f;
inline constexpr float DefaultMainTop = 1000.0f;
inline constexpr float DefaultMainWidth = 6500.0f;
inline constexpr float DefaultMainHeight = 6500.0f;

// Splitter positions, twips (readInt32). They are read with the 32-bit range: a maximized
// window on a wide screen puts them beyond 32767 twips, and such a value must come back.
inline constexpr QLatin1StringView KeyTreeSplitterLeft{"IsaLeft"};
inline constexpr QLatin1StringView KeyPreviewSplitterLeft{"IsbLeft"};
inline constexpr std::int32_t DefaultTreeSplitterLeft = 2000;
inline constexpr std::int32_t DefaultPreviewSplitterLeft = 5000;

// Tiled preview window placement, twips (readInt32).
inline constexpr QLatin1StringView KeyTiledWindowLeft{"PrvLeft"};
inline constexpr QLatin1StringView KeyTiledWindowTop{"PrvTop"};
inline constexpr QLatin1StringView KeyTiledWindowWidth{"PrvWidth"};
inline constexpr QLatin1StringView KeyTiledWindowHeight{"PrvHeight"};
inline constexpr std::int32_t DefaultTiledWindowLeft = 1000;
inline constexpr std::int32_t DefaultTiledWindowTop = 1000;
inline constexpr std::int32_t DefaultTiledWindowWidth = 6500;
inline constexpr std::int32_t DefaultTiledWindowHeight = 6500;

// Pane flags (readTruth): tool bar, status bar, folder tree, preview pane.
inline constexpr QLatin1StringView KeyToolBarShown{"Tbaron"};
inline constexpr QLatin1StringView KeyStatusBarShown{"Baron"};
inline constexpr QLatin1StringView KeyTreeShown{"Tvon"};
inline constexpr QLatin1StringView KeyPreviewShown{"Pvon"};
inline constexpr bool DefaultToolBarShown = true;
inline constexpr bool DefaultStatusBarShown = true;
inline constexpr bool DefaultTreeShown = true;
inline constexpr bool DefaultPreviewShown = true;

// The folder shown in the folder tree (readText); its default, the user's home folder, is
// the caller's to give.
inline constexpr QLatin1StringView KeyFolder{"Folder"};

// The list view's layout, 0 large icons to 3 details (readViewMode).
inline constexpr QLatin1StringView KeyViewMode{"ViewMode"};
inline constexpr std::int32_t DefaultViewMode = 0;

// Font toolbox position, twips (readSingle).
inline constexpr QLatin1StringView KeyToolboxLeft{"TlsLeft"};
inline constexpr QLatin1StringView KeyToolboxTop{"TlsTop"};
inline constexpr float DefaultToolboxLeft = 1000.0f;
inline constexpr float DefaultToolboxTop = 1000.0f;

} // namespace pavix::shell
