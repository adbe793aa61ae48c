#pragma once
// Paths of listed files: a file's path from its folder and name, and the folder the
// selection names.

#include <QString>

namespace pavix::catalogue {

// The folder followed by the name with exactly one "/" between: "/pics" + "a.bmp" and
// "/" + "a.bmp" give "/pics/a.bmp" and "/a.bmp"; an empty folder stands for the root.
QString joinPath(const QString &folder, const QString &name);

// The folder of the current selection for a file list showing `path`: the
// path without its trailing "/", so the root "/" gives "" and joinPath("", name) gives
// "/name".
QString selectionFolder(const QString &path);

} // namespace pavix::catalogue
