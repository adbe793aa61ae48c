#include "shell/commandtable.h"

#include "common/keys.h"

#include <QCoreApplication>
#include <QRegularExpression>

#include <array>

namespace pavix::shell {

namespace {

struct KeyEntry {
    int keyCode;
    int modifier; // 0: any modifiers; else the modifier bit that must be down
    Command command;
};

// In the order the keys are tried: the function keys (F5 before F4), then the letters.
constexpr std::array<KeyEntry, 16> KeyTable{{
    {common::VkF2, 0, Command::Toolbox},
    {common::VkF3, 0, Command::OptionsModeless},
    {common::VkF5, 0, Command::Refresh},
    {common::VkF4, 0, Command::ViewThumbnails},
    {common::VkF6, 0, Command::ViewLargeIcons},
    {common::VkF7, 0, Command::ViewSmallIcons},
    {common::VkF8, 0, Command::ViewList},
    {common::VkF9, 0, Command::ViewDetails},
    {'O', common::ShiftMaskCtrl, Command::OpenFolder},
    {'W', common::ShiftMaskCtrl, Command::Wallpaper},
    {'X', common::ShiftMaskAlt, Command::Exit},
    {'T', common::ShiftMaskCtrl, Command::ToggleToolBar},
    {'S', common::ShiftMaskCtrl, Command::ToggleStatusBar},
    {'F', common::ShiftMaskCtrl, Command::ToggleFolderTree},
    {'P', common::ShiftMaskCtrl, Command::TogglePreview},
    {'I', common::ShiftMaskCtrl, Command::WebPage},
}};

using enum MenuSlot;

constexpr MenuEntry FileMenu[] = {
    {Item, QT_TRANSLATE_NOOP("pavix::shell", "&Open             Ctl+ O"), "openItem", Command::OpenFolder},
    {Item, QT_TRANSLATE_NOOP("pavix::shell", "&Wallpaper      Ctl+ W"), "fileWallpaperItem", Command::Wallpaper},
    {Separator},
    {Item, QT_TRANSLATE_NOOP("pavix::shell", "Exit                Alt+ X"), "exitItem", Command::Exit},
};
constexpr MenuEntry ViewMenu[] = {
    {CheckItem, QT_TRANSLATE_NOOP("pavix::shell", "Toolbar               Ctl+ T"), "toolBarItem",
     Command::ToggleToolBar},
    {CheckItem, QT_TRANSLATE_NOOP("pavix::shell", "Status Bar          Ctl+ S"), "statusBarItem",
     Command::ToggleStatusBar},
    {CheckItem, QT_TRANSLATE_NOOP("pavix::shell", "Folders tree        Ctl+ F"), "folderTreeItem",
     Command::ToggleFolderTree},
    {CheckItem, QT_TRANSLATE_NOOP("pavix::shell", "Preview              Ctl+ P"), "previewItem",
     Command::TogglePreview},
    {Separator},
    {ViewModeItems, nullptr, "viewModeItem"},
    {Separator},
    {SortMenu, QT_TRANSLATE_NOOP("pavix::shell", "Arrange Icons"), "viewArrangeMenu"},
    {Separator},
    {Item, QT_TRANSLATE_NOOP("pavix::shell", "Refresh              F5"), "refreshItem", Command::Refresh},
};
constexpr MenuEntry ToolsMenu[] = {
    {Item, QT_TRANSLATE_NOOP("pavix::shell", "Toolbox         F2"), "toolboxItem", Command::Toolbox},
    {Separator},
    {Item, QT_TRANSLATE_NOOP("pavix::shell", "Options         F3"), "optionsItem", Command::OptionsModal},
};
constexpr MenuEntry HelpMenu[] = {
    {Item, QT_TRANSLATE_NOOP("pavix::shell", "Contents          F1"), "helpContentsItem", Command::HelpContents},
    {Item, QT_TRANSLATE_NOOP("pavix::shell", "Mp3"), "musicPageItem", Command::MusicPage},
    {Item, QT_TRANSLATE_NOOP("pavix::shell", "Web page       Ctl+ I"), "webPageItem", Command::WebPage},
    {Separator},
    {Item, QT_TRANSLATE_NOOP("pavix::shell", "About"), "aboutItem", Command::About},
};
constexpr MenuDefinition MenuBar[] = {
    {QT_TRANSLATE_NOOP("pavix::shell", "&File"), "fileMenu", FileMenu},
    {QT_TRANSLATE_NOOP("pavix::shell", "&View"), "viewMenu", ViewMenu},
    {QT_TRANSLATE_NOOP("pavix::shell", "&Tools"), "toolsMenu", ToolsMenu},
    {QT_TRANSLATE_NOOP("pavix::shell", "&Help"), "helpMenu", HelpMenu},
};

constexpr MenuEntry PreviewPopUp[] = {
    {Item, QT_TRANSLATE_NOOP("pavix::shell", "Hide Preview"), "hidePreviewItem", Command::TogglePreview}};
constexpr MenuEntry ToolBarPopUp[] = {
    {Item, QT_TRANSLATE_NOOP("pavix::shell", "Hide Toolbar"), "hideToolBarItem", Command::ToggleToolBar}};
constexpr MenuEntry TreePopUp[] = {
    {Item, QT_TRANSLATE_NOOP("pavix::shell", "Hide Folders Tree"), "hideTreeItem", Command::ToggleFolderTree}};
constexpr MenuEntry WallpaperPopUp[] = {
    {Item, QT_TRANSLATE_NOOP("pavix::shell", "Set Wallpaper"), "wallpaperItem", Command::Wallpaper}};
constexpr MenuEntry ListPopUp[] = {
    {Item, QT_TRANSLATE_NOOP("pavix::shell", "Refresh"), "listRefreshItem", Command::Refresh},
    {Separator},
    {ViewModeMenu, QT_TRANSLATE_NOOP("pavix::shell", "View"), "listViewMenu"},
    {Separator},
    {SortMenu, QT_TRANSLATE_NOOP("pavix::shell", "Arrange icons"), "listSortMenu"},
};
// Titles a screen reader may read out; the menus never show them.
constexpr MenuDefinition PopUps[] = {
    {QT_TRANSLATE_NOOP("pavix::shell", "Preview pane"), "previewMenu", PreviewPopUp},
    {QT_TRANSLATE_NOOP("pavix::shell", "Tool bar"), "toolBarMenu", ToolBarPopUp},
    {QT_TRANSLATE_NOOP("pavix::shell", "Folders tree"), "treeMenu", TreePopUp},
    {QT_TRANSLATE_NOOP("pavix::shell", "Picture"), "wallpaperMenu", WallpaperPopUp},
    {QT_TRANSLATE_NOOP("pavix::shell", "Files"), "listMenu", ListPopUp},
};

constexpr ToolButton ToolBar[] = {
    {"Open", QT_TRANSLATE_NOOP("pavix::shell", "Open"), 1, false, Command::OpenFolder},
    {},
    {"View Thumbnails", QT_TRANSLATE_NOOP("pavix::shell", "View Thumbnails"), 2, true, Command::ViewThumbnails},
    {"View Large Icons", QT_TRANSLATE_NOOP("pavix::shell", "Large Icons"), 3, true, Command::ViewLargeIcons},
    {"View Small Icons", QT_TRANSLATE_NOOP("pavix::shell", "Small Icons"), 4, true, Command::ViewSmallIcons},
    {"View List", QT_TRANSLATE_NOOP("pavix::shell", "List"), 5, true, Command::ViewList},
    {"View Details", QT_TRANSLATE_NOOP("pavix::shell", "Details"), 6, true, Command::ViewDetails},
    {},
    {"Toolbox", QT_TRANSLATE_NOOP("pavix::shell", "Toolbox"), 7, false, Command::Toolbox},
    {"Options", QT_TRANSLATE_NOOP("pavix::shell", "Options"), 8, false, Command::OptionsModal},
    {},
    {"Help", QT_TRANSLATE_NOOP("pavix::shell", "Help"), 9, false, Command::HelpContents},
    {"About", QT_TRANSLATE_NOOP("pavix::shell", "About"), 10, false, Command::About},
};

} // namespace

std::optional<Command> commandForKey(int keyCode, int shift)
{
    for (const KeyEntry &entry : KeyTable) {
        if (entry.modifier == 0 ? keyCode == entry.keyCode : (shift & entry.modifier) != 0 && keyCode == entry.keyCode)
            return entry.command;
    }
    return std::nullopt;
}

std::span<const MenuDefinition> menuBarMenus()
{
    return MenuBar;
}

const MenuDefinition &popUpMenu(PopUp popUp)
{
    return PopUps[static_cast<size_t>(popUp)];
}

std::span<const ToolButton> toolBarButtons()
{
    return ToolBar;
}

std::optional<Command> commandForToolButton(const QString &key)
{
    // With errors ignored: a separator or an unknown key runs nothing.
    for (const ToolButton &button : ToolBar)
        if (button.key && key == QLatin1String(button.key))
            return button.command;
    return std::nullopt;
}

std::optional<int> viewModeOfCommand(Command command)
{
    switch (command) {
    case Command::ViewThumbnails:
        return 0;
    case Command::ViewLargeIcons:
        return 1;
    case Command::ViewSmallIcons:
        return 2;
    case Command::ViewList:
        return 3;
    case Command::ViewDetails:
        return 4;
    default:
        return std::nullopt;
    }
}

QString menuCaption(const QString &caption)
{
    static const QRegularExpression gap(QStringLiteral(" {2,}"));
    const QRegularExpressionMatch match = gap.match(caption);
    if (!match.hasMatch())
        return caption;
    return caption.left(match.capturedStart()) + u'\t' + caption.mid(match.capturedEnd());
}

} // namespace pavix::shell
