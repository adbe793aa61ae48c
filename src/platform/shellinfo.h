#pragma once
// Where the catalogue's icons and type names come from, and the icon pictures Pavix makes
// itself: a type's key, a drawn icon for files the desktop has none for, and a picture
// fitted into an icon's square.

#include <QImage>
#include <QString>

namespace pavix::platform {

// Where icons and type names come from: the desktop's per-type icons and descriptions.
class ShellInfo {
public:
    virtual ~ShellInfo();
    // The file's icon: 32 px when `sizeSelector` is 2, 16 px for any other value; a null
    // image when there is none.
    virtual QImage icon(const QString &path, int sizeSelector) = 0;
    // The descriptive name of the file's type ("JPEG image"); "" when unknown.
    virtual QString typeName(const QString &path) = 0;
};

inline constexpr int LargeIconSelector = 2;
inline constexpr int SmallIconSelector = 1;
inline constexpr int LargeIconPx = 32;
inline constexpr int SmallIconPx = 16;

// The text after the last "." of the file name (the part after the last "/"), upper-cased;
// "" when the name has no "." ("/a.b/file" has none, so its extension is "").
QString extensionOf(const QString &path);

// The cache key of a file: its extension, except for icon files (extension "ICO"), whose
// key is the whole path so that each shows its own picture. Paths keep their case, as
// "a.ico" and "A.ico" are two files here.
QString cacheKey(const QString &path);

// A plain page-with-folded-corner icon of the given size, drawn by Pavix for files the
// shell has no icon for. A size below 1 gives a null image.
QImage fallbackIcon(int sizePx);

// The picture scaled to fit a square of `sizePx` (keeping its proportions) and centred on
// a transparent background; a picture of that size already is returned as it is. A null
// picture or a size below 1 gives a null image.
QImage squareIcon(const QImage &picture, int sizePx);

} // namespace pavix::platform
