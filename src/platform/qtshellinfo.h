#pragma once
// The desktop's per-type icons and type names for the catalogue: type names and icon
// names from the shared MIME database (matched by extension), icons from the desktop icon
// theme through QIcon::fromTheme, with an installed theme (Adwaita, else hicolor) as its
// fallback, then drawn by Pavix. An icon file's own picture is its icon. Needs a
// QGuiApplication.

#include "platform/shellinfo.h"

#include <QImage>
#include <QMimeDatabase>
#include <QString>

#include <chrono>

namespace pavix::platform {

class QtShellInfo : public platform::ShellInfo {
public:
    // Calls useDesktopIconThemes().
    QtShellInfo();

    // Lets QIcon::fromTheme find the desktop's icon themes, also where the platform names
    // none (the offscreen platform, a bare X session): adds the XDG icon folders
    // ($HOME/.icons, then each generic data folder + "/icons") after the search paths Qt
    // already has, makes Adwaita (when installed, else hicolor) the fallback theme, and the
    // theme itself when the platform names none. Program-wide; calling it again changes
    // nothing.
    static void useDesktopIconThemes();

    // 32 px when `sizeSelector` is 2, else 16 px; never null (a drawn icon is the last
    // resort). For ".ico" files the file's own picture, read with bounded memory: a file
    // whose declared size is missing or larger than 1024 px on a side is not decoded.
    QImage icon(const QString &path, int sizeSelector) override;
    // The MIME type's description for the file's extension ("JPEG image", "Windows icon");
    // for an extension the database does not know, its own description of unknown data.
    QString typeName(const QString &path) override;

    // How long icon() waits for an icon file's status and bytes.
    static constexpr std::chrono::milliseconds IconReadLimit{2000};

    // The picture of an icon file, fitted into a square of `sizePx`: the entry closest to
    // that size that decodes. Null when the file is not a readable picture or declares a
    // size over 1024 px, and when its status and bytes do not come within `limit` (a file
    // on a stalled mount), which is then left to end on its own (platform/timedcall.h).
    static QImage iconFilePicture(const QString &path, int sizePx, std::chrono::milliseconds limit = IconReadLimit);

private:
    QMimeDatabase m_mimes;
};

} // namespace pavix::platform
