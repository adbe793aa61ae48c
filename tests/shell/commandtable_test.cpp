#include "shell/commandtable.h"

#include "common/keys.h"

#include <gtest/gtest.h>

using namespace pavix::shell;
namespace keys = pavix::common;

TEST(KeyTable, EachKeyWithItsModifierRunsItsCommand)
{
    const int ctrl = keys::ShiftMaskCtrl, alt = keys::ShiftMaskAlt, shift = keys::ShiftMaskShift;
    EXPECT_EQ(commandForKey(keys::VkF2, 0), Command::Toolbox);
    EXPECT_EQ(commandForKey(keys::VkF3, 0), Command::OptionsModeless);
    EXPECT_EQ(commandForKey(keys::VkF4, 0), Command::ViewThumbnails);
    EXPECT_EQ(commandForKey(keys::VkF5, 0), Command::Refresh);
    EXPECT_EQ(commandForKey(keys::VkF6, 0), Command::ViewLargeIcons);
    EXPECT_EQ(commandForKey(keys::VkF7, 0), Command::ViewSmallIcons);
    EXPECT_EQ(commandForKey(keys::VkF8, 0), Command::ViewList);
    EXPECT_EQ(commandForKey(keys::VkF9, 0), Command::ViewDetails);
    EXPECT_EQ(commandForKey('O', ctrl), Command::OpenFolder);
    EXPECT_EQ(commandForKey('W', ctrl), Command::Wallpaper);
    EXPECT_EQ(commandForKey('X', alt), Command::Exit);
    EXPECT_EQ(commandForKey('T', ctrl), Command::ToggleToolBar);
    EXPECT_EQ(commandForKey('S', ctrl), Command::ToggleStatusBar);
    EXPECT_EQ(commandForKey('F', ctrl), Command::ToggleFolderTree);
    EXPECT_EQ(commandForKey('P', ctrl), Command::TogglePreview);
    EXPECT_EQ(commandForKey('I', ctrl), Command::WebPage);

    // Function keys with any modifiers; letters whatever else is down with theirs.
    EXPECT_EQ(commandForKey(keys::VkF5, shift), Command::Refresh);
    EXPECT_EQ(commandForKey(keys::VkF4, ctrl | alt | shift), Command::ViewThumbnails);
    EXPECT_EQ(commandForKey('T', ctrl | shift), Command::ToggleToolBar);
    EXPECT_EQ(commandForKey('X', alt | ctrl), Command::Exit);
}

TEST(KeyTable, LettersWithoutTheirModifierF1AndOtherKeysDoNothing)
{
    for (int letter : {'O', 'W', 'T', 'S', 'F', 'P', 'I', 'X'})
        EXPECT_FALSE(commandForKey(letter, 0).has_value()) << char(letter);
    EXPECT_FALSE(commandForKey('O', keys::ShiftMaskAlt).has_value());
    EXPECT_FALSE(commandForKey('X', keys::ShiftMaskCtrl).has_value());
    EXPECT_FALSE(commandForKey('O', keys::ShiftMaskShift).has_value());
    EXPECT_FALSE(commandForKey(keys::VkF1, 0).has_value());
    EXPECT_FALSE(commandForKey(keys::VkF1 + 9, 0).has_value()); // F10
    EXPECT_FALSE(commandForKey('A', keys::ShiftMaskCtrl).has_value());
    // A code that is a letter's code masked to 0 by a missing modifier never matches.
    EXPECT_FALSE(commandForKey(0, 0).has_value());
}

TEST(ToolBar, ButtonKeysReachTheirCommands)
{
    EXPECT_EQ(commandForToolButton(QStringLiteral("Open")), Command::OpenFolder);
    EXPECT_EQ(commandForToolButton(QStringLiteral("View Small Icons")), Command::ViewSmallIcons);
    EXPECT_EQ(commandForToolButton(QStringLiteral("Options")), Command::OptionsModal);
    EXPECT_EQ(commandForToolButton(QStringLiteral("Help")), Command::HelpContents);
    EXPECT_EQ(commandForToolButton(QStringLiteral("About")), Command::About);
    EXPECT_FALSE(commandForToolButton(QString()).has_value());
    EXPECT_FALSE(commandForToolButton(QStringLiteral("open")).has_value());
    EXPECT_EQ(viewModeOfCommand(Command::ViewDetails), 4);
    EXPECT_FALSE(viewModeOfCommand(Command::Refresh).has_value());
}

TEST(MenuCaption, WordsThenATabThenTheShortcutText)
{
    EXPECT_EQ(menuCaption(QStringLiteral("&Open             Ctl+ O")), QStringLiteral("&Open\tCtl+ O"));
    EXPECT_EQ(menuCaption(QStringLiteral("Small Icons          F7")), QStringLiteral("Small Icons\tF7"));
    EXPECT_EQ(menuCaption(QStringLiteral("Web page       Ctl+ I")), QStringLiteral("Web page\tCtl+ I"));
    EXPECT_EQ(menuCaption(QStringLiteral("By Name")), QStringLiteral("By Name"));
    EXPECT_EQ(menuCaption(QString()), QString());
}
