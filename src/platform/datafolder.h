#pragma once
// Pavix's per-user data folder, where the wallpaper bitmap is kept.

#include "common/result.h"

#include <QString>

namespace pavix::platform {

// $XDG_DATA_HOME/Pavix, or $HOME/.local/share/Pavix when XDG_DATA_HOME is unset or not an
// absolute path (such a value is to be ignored); read from the environment at each call.
QString dataFolderPath();

// Creates the data folder and the folders above it when missing; its path, or
// ErrDeviceIo with the system's reason when it cannot be made. A link in its place is
// followed; what it leads to must be a folder that belongs to the user, or it is refused.
common::Result<QString> makeDataFolder();

} // namespace pavix::platform
