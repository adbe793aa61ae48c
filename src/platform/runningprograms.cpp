#include "platform/runningprograms.h"

#include <QDir>
#include <QFile>

#include <sys/stat.h>
#include <unistd.h>

namespace pavix::platform {

QStringList runningProgramNames()
{
    QStringList names;
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
        if (!name.isEmpty() && !names.contains(name))
            names.append(name);
    }
    return names;
}

} // namespace pavix::platform
