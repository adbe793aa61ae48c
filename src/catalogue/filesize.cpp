#include "catalogue/filesize.h"

#include <QFileInfo>

namespace pavix::catalogue {

QString FormatFileSize(qint64 bytes, const QLocale &locale)
{
    QLocale grouped = locale;
    grouped.setNumberOptions(locale.numberOptions() & ~QLocale::OmitGroupSeparator);
    return grouped.toString(bytes);
}

common::Result<qint64> fileLength(const QString &path)
{
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists())
        return common::makeError(ErrFileNotFound, QStringLiteral("File not found"));
    if (!info.isFile())
        return common::makeError(common::ErrGeneral,
                                 QStringLiteral("Not a file: %1").arg(path));
    return info.size();
}

} // namespace pavix::catalogue
