#pragma once
// The program's own icon, for its windows.

#include <QIcon>
#include <QString>

namespace pavix::platform {

// The icon named `name` ("org.example.pavix"): the desktop icon theme's (an installed
// program's, in hicolor), else the bitmaps rendered beside the executable in a build tree
// ("icons/48x48/<name>.png", 128 and 256 likewise). An empty icon when neither is there.
QIcon applicationIcon(const QString &name);

} // namespace pavix::platform
