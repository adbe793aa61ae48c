#include "shell/startpath.h"

#include "common/filename.h"
#include "platform/folderlisting.h"

#include <QDir>

#include <cstdlib>

#include <unistd.h>

namespace pavix::shell {

namespace {

// The current directory, by the bytes of its path (QDir::currentPath() loses a name that is
// not UTF-8).
QString workingFolder()
{
    if (char *path = ::getcwd(nullptr, 0)) {
        const QString folder = common::decodeFileName(path);
        std::free(path);
        return folder;
    }
    return QDir::currentPath();
}

} // namespace

StartPlace findStartPlace(const QString &argument)
{
    const QString absolute = absolutePathOf(argument, workingFolder());
    PathFacts facts;
    if (!absolute.isEmpty()) {
        const platform::PathStatus status = platform::pathStatus(absolute);
        facts.exists = status.error == 0;
        facts.isFolder = status.isFolder;
        facts.isFile = status.isFile;
    }
    return startPlace(argument, absolute, facts);
}

} // namespace pavix::shell
