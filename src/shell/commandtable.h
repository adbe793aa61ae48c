#pragma once
// The commands of the main window and the two tables that reach them without a menu: the
// keys the main window handles itself, and the tool bar's buttons by their keys. Also the
// form of a menu caption: its words, then a tab, then the shortcut text, which Qt draws in
// the menu's shortcut column without making it a shortcut.

#include <QString>

#include <optional>

namespace pavix::shell {

enum class Command {
    OpenFolder,
    Wallpaper,
    Exit,
    ToggleToolBar,
    ToggleStatusBar,
    ToggleFolderTree,
    TogglePreview,
    ViewThumbnails,
    ViewLargeIcons,
    ViewSmallIcons,
    ViewList,
    ViewDetails,
    Refresh,
    Toolbox,
    OptionsModal,
    OptionsModeless,
    HelpContents,
    MusicPage,
    WebPage,
    About,
};

// The command of a key pressed in the main window: `keyCode` a virtual-key code, `shift`
// the shift mask (1 Shift, 2 Ctrl, 4 Alt). F2 to F9 act with any modifiers; the letters
// O, W, T, S, F, P and I with Ctrl, X with Alt, whatever other modifiers are down (Ctrl+
// Shift+T counts as Ctrl+T). A letter alone, F1 and every other key give none. The table
// is searched in a fixed order and the first match wins.
std::optional<Command> commandForKey(int keyCode, int shift);

// The command of a tool bar button by its key ("Open", "View Thumbnails", ..., "About");
// none for any other key (the separators have none).
std::optional<Command> commandForToolButton(const QString &key);

// The view mode (0 thumbnails to 4 details) a command switches to; none for the others.
std::optional<int> viewModeOfCommand(Command command);

// A menu caption as the menu shows it: "Toolbar               Ctl+ T" becomes
// "Toolbar\tCtl+ T". The caption is split at its first run of two or more spaces; a
// caption without one comes back as it is.
QString menuCaption(const QString &caption);

} // namespace pavix::shell
