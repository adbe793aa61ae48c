#pragma once
// Hands a bitmap file to the desktop as its wallpaper. The desktop's wallpaper mode
// (tiled, centred, scaled) is left as the user set it.

#include <QString>

namespace pavix::platform {

// What came of handing the file over.
struct WallpaperOutcome {
    enum class State {
        Set,      // the desktop took the file
        NoSetter, // Pavix has no way to set the wallpaper on this desktop
        Refused,  // the desktop (or its helper program) did not take it
    };
    State state = State::Set;
    QString desktop; // the desktop's name, for messages ("GNOME", "an X11 session", ...)
    QString detail;  // NoSetter: why, when there is more to say; Refused: the desktop's answer

    bool ok() const { return state == State::Set; }
};

class WallpaperSetter {
public:
    virtual ~WallpaperSetter();
    // Makes the bitmap file at `path` (an absolute path) the desktop's wallpaper.
    virtual WallpaperOutcome setWallpaper(const QString &path) = 0;
};

} // namespace pavix::platform
