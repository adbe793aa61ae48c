#pragma once
// The commands of the main window and the two tables that reach them without a menu: the
// keys the main window handles itself, and the tool bar's buttons by their keys. Also the
// form of a menu caption: its words, then a tab, then the shortcut text, which Qt draws in
// the menu's shortcut column without making it a shortcut.

#include <QString>

#include <optional>
#include <span>

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

// What a place of a menu holds: an item running a command, a check item (the pane
// toggles, whose handlers set their own marks), a separator, the five view-mode items, a
// "View" sub-menu of the five view modes, or a sub-menu the sorting commands fill.
enum class MenuSlot { Item, CheckItem, Separator, ViewModeItems, ViewModeMenu, SortMenu };

struct MenuEntry {
    MenuSlot slot;
    const char *caption = nullptr; // as written, shortcut text and all: "&Open             Ctl+ O"
    const char *objectName = nullptr;
    Command command = Command::Refresh;
};

// A menu: its caption, its object name and its places, top to bottom.
struct MenuDefinition {
    const char *caption;
    const char *objectName;
    std::span<const MenuEntry> entries;
};

// The menu bar's menus, left to right, each with its places top to bottom.
std::span<const MenuDefinition> menuBarMenus();
// The pop-up menus, which never show in the menu bar: the preview's, the tool bar's, the
// folder tree's, the picture's (wallpaper) and the file area's.
enum class PopUp { Preview, ToolBar, Tree, Wallpaper, List };
const MenuDefinition &popUpMenu(PopUp popUp);

// The tool bar's 13 places, left to right; a place without a key is a separator. The five
// view buttons form one group: pressing one releases the others.
struct ToolButton {
    const char *key = nullptr;
    const char *tip = nullptr;
    int image = 0; // 1 to 10, the picture of toolbarimages.h
    bool group = false;
    Command command = Command::Refresh;
};
std::span<const ToolButton> toolBarButtons();

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
