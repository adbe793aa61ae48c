#include "platform/linkopener.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace pavix::platform {

LinkOpener::~LinkOpener() = default;

bool DesktopLinkOpener::open(const QUrl &address)
{
    return QDesktopServices::openUrl(address);
}

QString findDataFile(const QString &relative)
{
    const QString programFolder = QCoreApplication::applicationDirPath();
    QStringList candidates{programFolder + u'/' + relative,
                           QDir::cleanPath(programFolder + QStringLiteral("/../share/pavix/") + relative)};
    for (const QString &folder : QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation))
        candidates << folder + QStringLiteral("/pavix/") + relative;
    for (const QString &candidate : candidates)
        if (QFileInfo(candidate).isFile())
            return candidate;
    return QString();
}

} // namespace pavix::platform
