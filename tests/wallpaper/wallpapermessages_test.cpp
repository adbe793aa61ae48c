#include "wallpaper/wallpapermessages.h"

#include "support/printers.h"

#include <gtest/gtest.h>

using namespace pavix::wallpaper;

TEST(WallpaperMessages, TheFirstLineWithTextOfAHelpersErrorsIsItsReason)
{
    EXPECT_EQ(firstErrorLine(QStringLiteral("\n   \r\n  No such schema “org.mate.background”  \r\nsecond\n")),
              QStringLiteral("No such schema “org.mate.background”"));
    EXPECT_EQ(firstErrorLine(QStringLiteral(" \n\t\n")), QString());
    const QString longLine = QString(400, u'x');
    EXPECT_EQ(firstErrorLine(longLine), QString(300, u'x') + QStringLiteral("…"));

    EXPECT_EQ(helperExitDetail(QStringLiteral("swaymsg"), 2, QStringLiteral("Error: Invalid output\n")),
              QStringLiteral("\"swaymsg\" ended with exit status 2: Error: Invalid output"));
    EXPECT_EQ(helperExitDetail(QStringLiteral("gsettings"), 1, QString()),
              QStringLiteral("\"gsettings\" ended with exit status 1 and gave no reason."));
    // Text from outside is never taken as a place holder.
    EXPECT_EQ(helperExitDetail(QStringLiteral("gsettings"), 1, QStringLiteral("%1 %2 went wrong")),
              QStringLiteral("\"gsettings\" ended with exit status 1: %1 %2 went wrong"));
    EXPECT_EQ(helperTimeoutDetail(QStringLiteral("swaymsg"), 10'000),
              QStringLiteral("\"swaymsg\" did not finish within 10 seconds and was stopped."));
    EXPECT_EQ(helperTimeoutDetail(QStringLiteral("swaymsg"), 500),
              QStringLiteral("\"swaymsg\" did not finish within 0.5 seconds and was stopped."));
}

TEST(WallpaperMessages, EachFailureSaysTheWallpaperDidNotChangeAndWhy)
{
    const QString path = QStringLiteral("/home/ann/.local/share/Pavix/Wallpaper.bmp");
    EXPECT_EQ(noSetterMessage(QStringLiteral("Hyprland"), QString(), path),
              QStringLiteral("The wallpaper was not changed: Pavix has no way to set the wallpaper on this desktop "
                             "(Hyprland).\n\nThe picture was saved as \"/home/ann/.local/share/Pavix/Wallpaper.bmp\"; "
                             "you can make it the wallpaper in your desktop's settings."));
    EXPECT_TRUE(noSetterMessage(QStringLiteral("GNOME"), helperMissingDetail(QStringLiteral("gsettings")), path)
                    .contains(QStringLiteral("(GNOME). It needs the program \"gsettings\", which is not installed.")));
}
