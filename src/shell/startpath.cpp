#include "shell/startpath.h"

#include <QDir>
#include <QFileInfo>

namespace pavix::shell {

StartPlace findStartPlace(const QString &argument)
{
    const QString absolute = absolutePathOf(argument, QDir::currentPath());
    PathFacts facts;
    if (!absolute.isEmpty()) {
        const QFileInfo info(absolute);
        facts.exists = info.exists();
        facts.isFolder = info.isDir();
        facts.isFile = info.isFile();
    }
    return startPlace(argument, absolute, facts);
}

} // namespace pavix::shell
