#include "catalogue/filesize.h"

namespace pavix::catalogue {

QString formatFileSize(qint64 bytes, const QLocale &locale)
{
    QLocale grouped = locale;
    grouped.setNumberOptions(locale.numberOptions() & ~QLocale::OmitGroupSeparator);
    return grouped.toString(bytes);
}

} // namespace pavix::catalogue
