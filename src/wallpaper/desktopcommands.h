#pragma once
// What each desktop is told to make a bitmap file its wallpaper: the settings keys and
// their values, the argument lists of its helper programs (run without a shell, so an
// argument reaches the helper as it is written here) and the Plasma shell's script. Each
// desktop keeps its own wallpaper mode: only the picture is named.

#include "wallpaper/desktopdetection.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace pavix::wallpaper {

// The absolute file's URI: "file://" and the path, each byte outside the URI's
// unreserved characters percent-encoded ("/a b/ü.bmp" gives "file:///a%20b/%C3%BC.bmp").
QString fileUri(const QString &path);

// `text` as a GVariant string literal, the form `gsettings set` parses a value in: single
// quotes around it, a backslash before "\" and "'", control characters as \uXXXX.
QString gvariantString(const QString &text);

// `text` as a JavaScript string literal: double quotes around it, a backslash before "\"
// and '"', control characters and everything outside ASCII as \uXXXX.
QString javaScriptString(const QString &text);

// A settings key of a gsettings schema and the value it takes.
struct SettingsValue {
    QString schema;
    QString key;
    QString value;
    bool onlyWhenPresent = false; // set only when the schema has the key
};

// The gsettings keys the desktop keeps its wallpaper in, with their values for the bitmap
// at `path`: GNOME's picture-uri and, where its schema has it, picture-uri-dark; Cinnamon's
// picture-uri; MATE's picture-filename (a path, not a URI). Empty for other desktops.
QList<SettingsValue> settingsValues(Desktop desktop, const QString &path);

// gsettings arguments: listing a schema's keys, and setting one key (the value quoted as a
// GVariant string).
QStringList gsettingsListKeysArguments(const QString &schema);
QStringList gsettingsSetArguments(const SettingsValue &value);
// Whether `listing`, the output of `gsettings list-keys`, names `key` on a line of its own.
bool listsKey(const QString &listing, const QString &key);

// xfconf-query arguments for the desktop's channel: listing its properties, and setting
// one of them to the bitmap's path.
QStringList xfconfListArguments();
QStringList xfconfSetArguments(const QString &property, const QString &path);
// The properties of an xfconf-query listing that hold a backdrop's picture: every line
// ending in "/last-image", one per monitor and workspace.
QStringList lastImageProperties(const QString &listing);

// pcmanfm and pcmanfm-qt: set the desktop's wallpaper to the file.
QStringList pcmanfmArguments(const QString &path);

// swaymsg arguments giving every output the picture, tiled. swaymsg joins its arguments
// into one sway command, sway splits it at spaces outside quotes and expands the path as
// a shell word would be, so the path is escaped for the shell and then quoted for sway.
QStringList swayArguments(const QString &path);

// hyprctl's requests to hyprpaper, each an argument list, in order: forget the picture at
// the path (Pavix writes each wallpaper to the same file, which hyprpaper would otherwise
// show as it first read it), read it anew, and show it tiled on every monitor ("tile:",
// which hyprpaper versions without the tile mode refuse). hyprctl joins its arguments
// with spaces and hyprpaper takes the rest of the line as the path, so the path goes as
// it is.
QList<QStringList> hyprpaperRequests(const QString &path);
// Whether hyprpaper's answer to a request, as hyprctl prints it, says it was done: "ok".
bool hyprpaperAccepted(const QString &answer);

// swaybg arguments drawing the picture tiled on every output. swaybg has no way to be
// told a new picture: a new one is started and the older ones end.
QStringList swaybgArguments(const QString &path);

// The Plasma shell's desktop script that shows the picture on every desktop through the
// image wallpaper, leaving each desktop's fill mode as it is.
QString plasmaScript(const QString &path);
// plasma-apply-wallpaperimage: its one argument, the file.
QStringList plasmaApplyArguments(const QString &path);

} // namespace pavix::wallpaper
