#pragma once
// Paths of listed files: a file's path from its folder and name, the folder the selection
// names, and a name as one line of text.

#include <QString>

namespace pavix::catalogue {

// The folder followed by the name with exactly one "/" between: "/pics" + "a.bmp" and
// "/" + "a.bmp" give "/pics/a.bmp" and "/a.bmp"; an empty folder stands for the root.
QString joinPath(const QString &folder, const QString &name);

// The folder of the current selection for a file list showing `path`: the
// path without its trailing "/", so the root "/" gives "" and joinPath("", name) gives
// "/name".
QString selectionFolder(const QString &path);

// The character a name shows instead of one that cannot be shown on a line (U+FFFD).
inline constexpr char16_t UnshownCharacter = u'\uFFFD';

// A text holding file or folder names as one line the user can read: every control character
// (U+0000 to U+001F, U+007F to U+009F), the line and paragraph separators (U+2028,
// U+2029) and every surrogate that is not half of a pair (a byte of a name that is not
// UTF-8, common/filename.h) become UnshownCharacter, so a name holding a newline does not
// break the line it is shown on, one holding a carriage return does not look like a name
// without it, and a name's undecodable bytes show as one U+FFFD each. Any other text is
// returned unchanged. Everything that draws a name for the user passes it through here.
QString oneLineText(const QString &text);

} // namespace pavix::catalogue
