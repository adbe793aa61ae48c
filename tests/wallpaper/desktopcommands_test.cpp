#include "wallpaper/desktopcommands.h"

#include "support/printers.h"

#include <gtest/gtest.h>

using namespace pavix::wallpaper;

namespace {

// A path with what breaks careless quoting: spaces, both quotes, a backslash, and letters
// outside ASCII.
const QString AwkwardPath = QStringLiteral(u"/home/zoë/my pictures/it's \"new\"\\日本/Wallpaper.bmp");

} // namespace

TEST(DesktopCommands, FileUrisPercentEncodeEverythingButPlainCharacters)
{
    EXPECT_EQ(fileUri(QStringLiteral("/home/ann/.local/share/Pavix/Wallpaper.bmp")),
              QStringLiteral("file:///home/ann/.local/share/Pavix/Wallpaper.bmp"));
    EXPECT_EQ(
        fileUri(AwkwardPath),
        QStringLiteral("file:///home/zo%C3%AB/my%20pictures/it's%20%22new%22%5C%E6%97%A5%E6%9C%AC/Wallpaper.bmp"));
    // Characters that would end the path part of a URI.
    EXPECT_EQ(fileUri(QStringLiteral("/a#1/b?c/100%/x.bmp")), QStringLiteral("file:///a%231/b%3Fc/100%25/x.bmp"));
}

TEST(DesktopCommands, SettingsValuesAreQuotedForGsettings)
{
    EXPECT_EQ(gvariantString(QStringLiteral("plain")), QStringLiteral("'plain'"));
    EXPECT_EQ(gvariantString(QStringLiteral(R"(it's a \ path)")), QStringLiteral(R"('it\'s a \\ path')"));
    EXPECT_EQ(gvariantString(QStringLiteral(u"line\nbreak ü")), QStringLiteral(u"'line\\u000abreak ü'"));

    const QList<SettingsValue> gnome = settingsValues(Desktop::Gnome, AwkwardPath);
    ASSERT_EQ(gnome.size(), 2);
    EXPECT_EQ(gsettingsSetArguments(gnome[0]),
              (QStringList{
                  QStringLiteral("set"), QStringLiteral("org.gnome.desktop.background"), QStringLiteral("picture-uri"),
                  QStringLiteral(R"('file:///home/zo%C3%AB/my%20pictures/it\'s%20%22new%22%5C%E6%97%A5%E6%9C%AC/)"
                                 R"(Wallpaper.bmp')")}));
    EXPECT_FALSE(gnome[0].onlyWhenPresent);
    EXPECT_EQ(gnome[1].key, QStringLiteral("picture-uri-dark"));
    EXPECT_EQ(gnome[1].value, fileUri(AwkwardPath));
    EXPECT_TRUE(gnome[1].onlyWhenPresent);

    const QList<SettingsValue> cinnamon = settingsValues(Desktop::Cinnamon, AwkwardPath);
    ASSERT_EQ(cinnamon.size(), 1);
    EXPECT_EQ(cinnamon[0].schema, QStringLiteral("org.cinnamon.desktop.background"));
    EXPECT_EQ(cinnamon[0].key, QStringLiteral("picture-uri"));
    EXPECT_EQ(cinnamon[0].value, fileUri(AwkwardPath));

    // MATE keeps a path, not a URI; its quotes and backslash are escaped.
    const QList<SettingsValue> mate = settingsValues(Desktop::Mate, AwkwardPath);
    ASSERT_EQ(mate.size(), 1);
    EXPECT_EQ(gsettingsSetArguments(mate[0]),
              (QStringList{QStringLiteral("set"), QStringLiteral("org.mate.background"),
                           QStringLiteral("picture-filename"),
                           QStringLiteral(u"'/home/zoë/my pictures/it\\'s \"new\"\\\\日本/Wallpaper.bmp'")}));

    EXPECT_TRUE(settingsValues(Desktop::Xfce, AwkwardPath).isEmpty());
    EXPECT_TRUE(settingsValues(Desktop::OtherX11, AwkwardPath).isEmpty());
}

TEST(DesktopCommands, KeyListingsAndXfceListingsAreReadLineByLine)
{
    const QString keys = QStringLiteral("color-shading-type\npicture-options\npicture-uri\npicture-uri-dark\n");
    EXPECT_TRUE(listsKey(keys, QStringLiteral("picture-uri-dark")));
    EXPECT_TRUE(listsKey(keys, QStringLiteral("picture-uri")));
    EXPECT_FALSE(listsKey(QStringLiteral("picture-uri\npicture-options\n"), QStringLiteral("picture-uri-dark")));
    EXPECT_FALSE(listsKey(QStringLiteral("picture-uri-dark-mode\n"), QStringLiteral("picture-uri-dark")));
    EXPECT_FALSE(listsKey(QString(), QStringLiteral("picture-uri")));

    const QString listing = QStringLiteral("/backdrop/screen0/monitorHDMI-1/workspace0/color-style\r\n"
                                           "/backdrop/screen0/monitorHDMI-1/workspace0/last-image\r\n"
                                           "/backdrop/screen0/monitoreDP-1/workspace0/image-style\n"
                                           "/backdrop/screen0/monitoreDP-1/workspace0/last-image\n"
                                           "/backdrop/screen0/monitoreDP-1/workspace1/last-image-saved\n"
                                           "/desktop-icons/style\n");
    EXPECT_EQ(lastImageProperties(listing),
              (QStringList{QStringLiteral("/backdrop/screen0/monitorHDMI-1/workspace0/last-image"),
                           QStringLiteral("/backdrop/screen0/monitoreDP-1/workspace0/last-image")}));
    EXPECT_TRUE(lastImageProperties(QStringLiteral("Channel \"xfce4-desktop\" contains no properties\n")).isEmpty());
}

TEST(DesktopCommands, SwayGetsThePathAsOneShellWordInsideOneQuotedArgument)
{
    EXPECT_EQ(swayArguments(QStringLiteral("/home/ann/.local/share/Pavix/Wallpaper.bmp")),
              (QStringList{QStringLiteral("output"), QStringLiteral("*"), QStringLiteral("bg"),
                           QStringLiteral("\"/home/ann/.local/share/Pavix/Wallpaper.bmp\""), QStringLiteral("tile")}));
    // The shell word: a b -> a\ b, it's -> it\'s; then for sway each backslash doubled.
    EXPECT_EQ(swayArguments(QStringLiteral(u"/a b/it's/ü.bmp"))[3], QStringLiteral(R"("/a\\ b/it\\'s/ü.bmp")"));
    // A double quote: \" in the word, \\\" for sway.
    EXPECT_EQ(swayArguments(QStringLiteral(R"(/x"y)"))[3], QStringLiteral(R"("/x\\\"y")"));
    // Two spaces stay two escaped spaces, and $ ~ ; are never taken as shell or sway syntax.
    EXPECT_EQ(swayArguments(QStringLiteral("/a  b$HOME;~"))[3], QStringLiteral(R"("/a\\ \\ b\\$HOME\\;\\~")"));
}

TEST(DesktopCommands, PlasmaScriptNamesTheFileAsAJavaScriptString)
{
    EXPECT_EQ(javaScriptString(QStringLiteral(u"a\"b\\c\nü")), QStringLiteral(R"("a\"b\\c\u000a\u00fc")"));
    const QString script = plasmaScript(AwkwardPath);
    EXPECT_TRUE(script.startsWith(QStringLiteral("var image = ") + javaScriptString(fileUri(AwkwardPath)) + u';'))
        << qPrintable(script);
    EXPECT_TRUE(script.contains(QStringLiteral("desktop.wallpaperPlugin = \"org.kde.image\";")));
    EXPECT_TRUE(script.contains(QStringLiteral("desktop.writeConfig(\"Image\", image);")));
    // The fill mode is the user's: the script never writes it.
    EXPECT_FALSE(script.contains(QStringLiteral("FillMode")));
}

TEST(DesktopCommands, HyprpaperRereadsTheBitmapAndTilesItAndSwaybgTilesItOnEveryOutput)
{
    const QString path = QStringLiteral(u"/home/zoë/a b,c/Wallpaper.bmp");
    const QString hyprpaper = QStringLiteral("hyprpaper");
    EXPECT_EQ(hyprpaperRequests(path), (QList<QStringList>{{hyprpaper, QStringLiteral("unload"), path},
                                                           {hyprpaper, QStringLiteral("preload"), path},
                                                           {hyprpaper, QStringLiteral("wallpaper"),
                                                            QStringLiteral(u",tile:/home/zoë/a b,c/Wallpaper.bmp")}}));
    EXPECT_TRUE(hyprpaperAccepted(QStringLiteral("ok\n")));
    EXPECT_FALSE(hyprpaperAccepted(QStringLiteral("wallpaper failed (not preloaded)")));
    EXPECT_FALSE(hyprpaperAccepted(QString()));
    EXPECT_EQ(swaybgArguments(path), (QStringList{QStringLiteral("-o"), QStringLiteral("*"), QStringLiteral("-i"), path,
                                                  QStringLiteral("-m"), QStringLiteral("tile")}));
}
