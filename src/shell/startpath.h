#pragma once
// The place to start for the path given on the command line, read from the file system.

#include "shell/commandline.h"

namespace pavix::shell {

// Looks at `argument` (a relative path is taken from the current directory) and gives
// the place to start: its folder, its folder and picture, or the usual start with an
// error naming the path (StartPlace).
StartPlace findStartPlace(const QString &argument);

} // namespace pavix::shell
