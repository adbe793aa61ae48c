#pragma once
// The programs the user is running, as the kernel lists them.

#include <QStringList>

namespace pavix::platform {

// The names (at most 15 characters, as /proc keeps them) of the running processes that
// belong to this user, each name once. Empty where /proc cannot be read.
QStringList runningProgramNames();

} // namespace pavix::platform
