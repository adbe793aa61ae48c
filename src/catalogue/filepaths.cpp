#include "catalogue/filepaths.h"

#include "common/filename.h"

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

QString oneLineText(const QString &text)
{
    QString line = common::withUnpairedSurrogatesReplaced(text);
    for (QChar &c : line) {
        const char16_t u = c.unicode();
        if (u < 0x20 || (u >= 0x7f && u <= 0x9f) || u == 0x2028 || u == 0x2029)
            c = QChar(UnshownCharacter);
    }
    return line;
}

} // namespace pavix::catalogue
