#include "platform/screen.h"

#include "common/units.h"

#include <QDir>
#include <QGuiApplication>
#include <QLibraryInfo>
#include <QScreen>

namespace pavix::platform {

double screenTwipsPerPixel()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return common::twipsPerPixelForDpi(screen ? screen->logicalDotsPerInchX() : 96.0);
}

bool drawsOnWayland()
{
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

bool qtPlatformInstalled(const QString &name)
{
    QStringList folders{QLibraryInfo::path(QLibraryInfo::PluginsPath)};
    folders += qEnvironmentVariable("QT_PLUGIN_PATH").split(QLatin1Char(':'), Qt::SkipEmptyParts);
    const QStringList patterns{QStringLiteral("libq%1.so").arg(name), QStringLiteral("libq%1-*.so").arg(name)};
    for (const QString &folder : folders) {
        if (!QDir(folder + QStringLiteral("/platforms")).entryList(patterns, QDir::Files).isEmpty())
            return true;
    }
    return false;
}

} // namespace pavix::platform
