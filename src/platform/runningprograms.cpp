#include "platform/runningprograms.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <csignal>

#include <sys/stat.h>
#include <unistd.h>

namespace pavix::platform {

namespace {

struct RunningProgram {
    qint64 id;
    QString name;
};

// This user's processes and their names.
QList<RunningProgram> runningPrograms()
{
    QList<RunningProgram> programs;
    const uid_t user = ::getuid();
    const QDir proc(QStringLiteral("/proc"));
    const QStringList entries = proc.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &entry : entries) {
        bool isProcess = false;
        entry.toUInt(&isProcess);
        if (!isProcess)
            continue;
        // Another user's programs say nothing of this user's desktop: the login screen
        // runs a desktop shell of its own.
        struct stat info {};
        const QByteArray folder = QFile::encodeName(proc.filePath(entry));
        if (::stat(folder.constData(), &info) != 0 || info.st_uid != user)
            continue;
        QFile comm(proc.filePath(entry) + QStringLiteral("/comm"));
        if (!comm.open(QIODevice::ReadOnly))
            continue;
        const QString name = QString::fromLocal8Bit(comm.readAll()).trimmed();
        if (!name.isEmpty())
            programs.append({entry.toLongLong(), name});
    }
    return programs;
}

} // namespace

QStringList runningProgramNames()
{
    QStringList names;
    for (const RunningProgram &program : runningPrograms()) {
        if (!names.contains(program.name))
            names.append(program.name);
    }
    return names;
}

QList<qint64> runningProgramIds(const QString &name)
{
    QList<qint64> ids;
    for (const RunningProgram &program : runningPrograms()) {
        if (program.name == name)
            ids.append(program.id);
    }
    std::sort(ids.begin(), ids.end());
    return ids;
}

bool endProgram(qint64 id)
{
    return id > 0 && ::kill(static_cast<pid_t>(id), SIGTERM) == 0;
}

} // namespace pavix::platform
