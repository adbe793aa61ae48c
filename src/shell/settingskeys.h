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
inline constexpr QLatin1StringView KeyIsaLeft{"IsaLeft"};
inline constexpr QLatin1StringView KeyIsbLeft{"IsbLeft"};
inline constexpr std::int32_t DefaultIsaLeft = 2000;
inline constexpr std::int32_t DefaultIsbLeft = 5000;

// Tiled preview window placement, twips (readInt32).
inline constexpr QLatin1StringView KeyPrvLeft{"PrvLeft"};
inline constexpr QLatin1StringView KeyPrvTop{"PrvTop"};
inline constexpr QLatin1StringView KeyPrvWidth{"PrvWidth"};
inline constexpr QLatin1StringView KeyPrvHeight{"PrvHeight"};
inline constexpr std::int32_t DefaultPrvLeft = 1000;
inline constexpr std::int32_t DefaultPrvTop = 1000;
inline constexpr std::int32_t DefaultPrvWidth = 6500;
inline constexpr std::int32_t DefaultPrvHeight = 6500;

// Pane flags (readTruth): tool bar, status bar, folder tree, preview pane.
inline constexpr QLatin1StringView KeyTbaron{"Tbaron"};
inline constexpr QLatin1StringView KeyBaron{"Baron"};
inline constexpr QLatin1StringView KeyTvon{"Tvon"};
inline constexpr QLatin1StringView KeyPvon{"Pvon"};
inline constexpr bool DefaultTbaron = true;
inline constexpr bool DefaultBaron = true;
inline constexpr bool DefaultTvon = true;
inline constexpr bool DefaultPvon = true;

// The folder shown in the folder tree (readText); its default, the user's home folder, is
// the caller's to give.
inline constexpr QLatin1StringView KeyFolder{"Folder"};

// The list view's layout, 0 large icons to 3 details (readViewMode).
inline constexpr QLatin1StringView KeyViewMode{"ViewMode"};
inline constexpr std::int32_t DefaultViewMode = 0;

// Font toolbox position, twips (readSingle).
inline constexpr QLatin1StringView KeyTlsLeft{"TlsLeft"};
inline constexpr QLatin1StringView KeyTlsTop{"TlsTop"};
inline constexpr float DefaultTlsLeft = 1000.0f;
inline constexpr float DefaultTlsTop = 1000.0f;

} // namespace pavix::shell
