#pragma once
// The programs the user is running, as the kernel lists them.

#include <QStringList>

namespace pavix::platform {

// The names (at most 15 characters, as /proc keeps them) of the running processes that
// belong to this user, each name once. Empty where /proc cannot be read.
QStringList runningProgramNames();

// The process ids of this user's running processes called `name`, lowest first.
QList<qint64> runningProgramIds(const QString &name);

// Asks this user's process `id` to end (SIGTERM); false when there is no such process of
// this user's or it may not be signalled.
bool endProgram(qint64 id);

} // namespace pavix::platform
