#include "catalogue/filepaths.h"

namespace pavix::catalogue {

QString selectionFolder(const QString &path)
{
    return path.endsWith(u'/') ? path.chopped(1) : path;
}

QString joinPath(const QString &folder, const QString &name)
{
    if (folder.endsWith(u'/'))
        return folder + name;
    return folder + u'/' + name;
}

} // namespace pavix::catalogue
