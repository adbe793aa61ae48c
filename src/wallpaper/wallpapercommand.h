#pragma once
// The wallpaper command: the current picture becomes the desktop's wallpaper. It goes on
// the clipboard, is saved as a bitmap of the same pixel size in Pavix's data folder
// ("Wallpaper.bmp", replaced whole or not at all) and that file is handed to the desktop.
// A step that fails stops the command and is reported, naming the step and its cause, so
// the desktop is never handed a stale or missing file; success shows nothing.

#include <QObject>
#include <QString>

class QWidget;

namespace pavix::browser {
class Browser;
}
namespace pavix::platform {
class WallpaperSetter;
}

namespace pavix::wallpaper {

// The bitmap's name in the data folder.
inline const QString WallpaperFileName = QStringLiteral("Wallpaper.bmp");

class WallpaperCommand : public QObject {
    Q_OBJECT
public:
    enum class Result {
        NothingSelected, // no picture: the user was asked to select one
        NotWritten,      // the bitmap could not be written; the desktop was not asked
        NotSet,          // the bitmap was written, the desktop could not be given it or refused it
        Set,
    };

    // The command's message boxes, titled "Pavix" with an OK button, are owned by `window`
    // (none: boxes of their own).
    WallpaperCommand(browser::Browser &browser, platform::WallpaperSetter &setter, QWidget *window);

    // Runs the command on the browser's current file and picture; with no file selected or
    // no picture read, shows "Please select a file first!" and does nothing else. A failure
    // is shown in a warning box.
    Result run();

signals:
    // The bitmap was written into the folder the browser lists; its listing is out of date.
    void listedFolderChanged();

private:
    void showNotice(const QString &text);
    void showFailure(const QString &text);

    browser::Browser &m_browser;
    platform::WallpaperSetter &m_setter;
    QWidget *m_window;
};

} // namespace pavix::wallpaper
