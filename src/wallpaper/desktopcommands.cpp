#include "wallpaper/desktopcommands.h"

#include <QUrl>

namespace pavix::wallpaper {

namespace {

const QString GnomeSchema = QStringLiteral("org.gnome.desktop.background");
const QString CinnamonSchema = QStringLiteral("org.cinnamon.desktop.background");
const QString MateSchema = QStringLiteral("org.mate.background");
const QString XfceChannel = QStringLiteral("xfce4-desktop");

QString unicodeEscape(char16_t unit)
{
    return QStringLiteral("\\u%1").arg(unsigned(unit), 4, 16, QLatin1Char('0'));
}

} // namespace

QString fileUri(const QString &path)
{
    return QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded);
}

QString gvariantString(const QString &text)
{
    QString quoted = QStringLiteral("'");
    for (const QChar c : text) {
        if (c == u'\\' || c == u'\'')
            quoted += u'\\';
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            quoted += unicodeEscape(c.unicode());
        else
            quoted += c;
    }
    return quoted + u'\'';
}

QString javaScriptString(const QString &text)
{
    QString quoted = QStringLiteral("\"");
    for (const QChar c : text) {
        if (c == u'\\' || c == u'"')
            quoted += u'\\';
        if (c.unicode() < 0x20 || c.unicode() >= 0x7f)
            quoted += unicodeEscape(c.unicode());
        else
            quoted += c;
    }
    return quoted + u'"';
}

QList<SettingsValue> settingsValues(Desktop desktop, const QString &path)
{
    switch (desktop) {
    case Desktop::Gnome:
        return {{GnomeSchema, QStringLiteral("picture-uri"), fileUri(path), false},
                {GnomeSchema, QStringLiteral("picture-uri-dark"), fileUri(path), true}};
    case Desktop::Cinnamon:
        return {{CinnamonSchema, QStringLiteral("picture-uri"), fileUri(path), false}};
    case Desktop::Mate:
        return {{MateSchema, QStringLiteral("picture-filename"), path, false}};
    default:
        return {};
    }
}

QStringList gsettingsListKeysArguments(const QString &schema)
{
    return {QStringLiteral("list-keys"), schema};
}

QStringList gsettingsSetArguments(const SettingsValue &value)
{
    return {QStringLiteral("set"), value.schema, value.key, gvariantString(value.value)};
}

bool listsKey(const QString &listing, const QString &key)
{
    const QStringList lines = listing.split(QLatin1Char('\n'));
    for (const QString &line : lines) {
        if (line.trimmed() == key)
            return true;
    }
    return false;
}

QStringList xfconfListArguments()
{
    return {QStringLiteral("-c"), XfceChannel, QStringLiteral("-l")};
}

QStringList xfconfSetArguments(const QString &property, const QString &path)
{
    return {QStringLiteral("-c"), XfceChannel, QStringLiteral("-p"), property, QStringLiteral("-s"), path};
}

QStringList lastImageProperties(const QString &listing)
{
    QStringList properties;
    const QStringList lines = listing.split(QLatin1Char('\n'));
    for (const QString &line : lines) {
        const QString property = line.trimmed();
        if (property.startsWith(u'/') && property.endsWith(QLatin1String("/last-image")))
            properties.append(property);
    }
    return properties;
}

QStringList pcmanfmArguments(const QString &path)
{
    return {QStringLiteral("--set-wallpaper"), path};
}

QStringList swayArguments(const QString &path)
{
    // For the shell word: a backslash before every ASCII character that is not plainly part
    // of a name. A space is escaped on its own, so sway's doubling of runs of spaces never
    // applies; letters outside ASCII pass as they are.
    QString word;
    for (const QChar c : path) {
        const bool plain = c.unicode() >= 0x80 || c.isLetterOrNumber() || QStringLiteral("/._-+,:@%").contains(c);
        if (!plain)
            word += u'\\';
        word += c;
    }
    // For sway's command parser: double quotes around it, a backslash before "\" and '"'.
    QString quoted = QStringLiteral("\"");
    for (const QChar c : word) {
        if (c == u'\\' || c == u'"')
            quoted += u'\\';
        quoted += c;
    }
    quoted += u'"';
    return {QStringLiteral("output"), QStringLiteral("*"), QStringLiteral("bg"), quoted, QStringLiteral("tile")};
}

QList<QStringList> hyprpaperRequests(const QString &path)
{
    const QString hyprpaper = QStringLiteral("hyprpaper");
    return {{hyprpaper, QStringLiteral("unload"), path},
            {hyprpaper, QStringLiteral("preload"), path},
            {hyprpaper, QStringLiteral("wallpaper"), QStringLiteral(",tile:") + path}};
}

bool hyprpaperAccepted(const QString &answer)
{
    return answer.trimmed() == QLatin1String("ok");
}

QStringList swaybgArguments(const QString &path)
{
    return {QStringLiteral("-o"), QStringLiteral("*"),   QStringLiteral("-i"), path,
            QStringLiteral("-m"), QStringLiteral("tile")};
}

QString plasmaScript(const QString &path)
{
    return QStringLiteral("var image = %1;\n"
                          "var all = desktops();\n"
                          "for (var i = 0; i < all.length; ++i) {\n"
                          "    var desktop = all[i];\n"
                          "    desktop.wallpaperPlugin = \"org.kde.image\";\n"
                          "    desktop.currentConfigGroup = [\"Wallpaper\", \"org.kde.image\", \"General\"];\n"
                          "    desktop.writeConfig(\"Image\", image);\n"
                          "}\n")
        .arg(javaScriptString(fileUri(path)));
}

QStringList plasmaApplyArguments(const QString &path)
{
    return {path};
}

} // namespace pavix::wallpaper
