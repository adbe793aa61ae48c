#pragma once
// The start-up sequence: creates the main window hidden, restores what the settings
// remember, applies the picture types, builds the list's columns, lays the window out and
// shows it, then lists the folder in it. Each step ends by showing its status text.

#include "about/links.h"

#include <QString>

#include <functional>
#include <memory>


namespace pavix::platform {
class SettingsStore;
class ShellInfo;
}

namespace pavix::shell {

class FolderChooser;
class MainWindow;

struct StartupEnvironment {
    platform::SettingsStore &settings;
    platform::ShellInfo &shellInfo;
    // The folder shown when none is stored (or the stored one no longer exists).
    QString homeFolder;
    // Shows a status text at once (the splash's status line).
    std::function<void(const QString &)> status;
    // The folder to start on instead of the remembered one (absolute; "" for the
    // remembered one), and the name of a picture in it to select and preview once the
    // folder is listed ("" for none).
    QString startFolder;
    QString startPicture;
    // Where the browse command asks for a folder; none for the folder dialog.
    FolderChooser *folderChooser = nullptr;
    // Told when the main window shows, before the first scan fills it.
    std::function<void(MainWindow &)> mainShown = {};
};

// The web and mail addresses: the defaults, each replaced by a valid one the settings'
// [Links] group holds.
about::Links readLinks(const platform::SettingsStore &store);

// Names the application "Pavix" (settings and data folders follow the name) with its
// version and desktop entry. No display name is set: Qt would add it to every window's
// caption ("Options — Pavix"), and each window carries its own caption.
void setApplicationIdentity(const QString &version, const QString &desktopFileName);

// The status texts shown after steps 1 to 8.
QString startupStatusText(int step);

// Runs steps 1 to 9, then the first scan of the folder in the shown window, and returns
// the window (hidden again when it was closed during that scan).
std::unique_ptr<MainWindow> runStartup(const StartupEnvironment &env);

} // namespace pavix::shell
