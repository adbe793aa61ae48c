#include "catalogue/filesize.h"

#include <QFile>

#include <sys/stat.h>

namespace pavix::catalogue {

QString FormatFileSize(qint64 bytes, const QLocale &locale)
{
    QLocale grouped = locale;
    grouped.setNumberOptions(locale.numberOptions() & ~QLocale::OmitGroupSeparator);
    return grouped.toString(bytes);
}

common::Result<qint64> fileLength(const QString &path)
{
    // One stat call: a folder listing asks this once per file.
    struct stat info {};
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &info) != 0)
        return common::makeError(ErrFileNotFound, QStringLiteral("File not found"));
    if (!S_ISREG(info.st_mode))
        return common::makeError(common::ErrGeneral,
                                 QStringLiteral("Not a file: %1").arg(path));
    return static_cast<qint64>(info.st_size);
}

} // namespace pavix::catalogue
