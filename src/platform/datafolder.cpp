#include "platform/datafolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <filesystem>
#include <system_error>

namespace pavix::platform {

QString dataFolderPath()
{
    QString base = qEnvironmentVariable("XDG_DATA_HOME");
    if (base.isEmpty() || !QDir::isAbsolutePath(base))
        base = qEnvironmentVariable("HOME", QDir::homePath()) + QStringLiteral("/.local/share");
    return QDir::cleanPath(base + QStringLiteral("/Pavix"));
}

common::Result<QString> makeDataFolder()
{
    const QString path = dataFolderPath();
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(QFile::encodeName(path).toStdString()), error);
    if (error) {
        return common::makeError(common::ErrDeviceIo,
                                 QStringLiteral("The folder \"%1\" cannot be created: %2")
                                     .arg(path, QString::fromLocal8Bit(error.message())));
    }
    // create_directories reports no error when the path names a file, not a folder.
    if (!QFileInfo(path).isDir()) {
        return common::makeError(common::ErrDeviceIo,
                                 QStringLiteral("The folder \"%1\" cannot be created: a file of that name is "
                                                "in the way").arg(path));
    }
    return path;
}

} // namespace pavix::platform
