#include "shell/commandtable.h"

#include "common/keys.h"

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
    {common::VkF1 + 6, 0, Command::ViewSmallIcons},
    {common::VkF1 + 7, 0, Command::ViewList},
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

struct ButtonEntry {
    const char *key;
    Command command;
};

constexpr std::array<ButtonEntry, 10> ToolButtons{{
    {"Open", Command::OpenFolder},
    {"View Thumbnails", Command::ViewThumbnails},
    {"View Large Icons", Command::ViewLargeIcons},
    {"View Small Icons", Command::ViewSmallIcons},
    {"View List", Command::ViewList},
    {"View Details", Command::ViewDetails},
    {"Toolbox", Command::Toolbox},
    {"Options", Command::OptionsModal},
    {"Help", Command::HelpContents},
    {"About", Command::About},
}};

} // namespace

std::optional<Command> commandForKey(int keyCode, int shift)
{
    for (const KeyEntry &entry : KeyTable) {
        if (entry.modifier == 0 ? keyCode == entry.keyCode
                                : (shift & entry.modifier) != 0 && keyCode == entry.keyCode)
            return entry.command;
    }
    return std::nullopt;
}

std::optional<Command> commandForToolButton(const QString &key)
{
    for (const ButtonEntry &entry : ToolButtons)
        if (key == QLatin1String(entry.key))
            return entry.command;
    return std::nullopt;
}

std::optional<int> viewModeOfCommand(Command command)
{
    switch (command) {
    case Command::ViewThumbnails: return 0;
    case Command::ViewLargeIcons: return 1;
    case Command::ViewSmallIcons: return 2;
    case Command::ViewList: return 3;
    case Command::ViewDetails: return 4;
    default: return std::nullopt;
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
