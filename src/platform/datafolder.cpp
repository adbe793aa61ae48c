#include "platform/datafolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include <sys/stat.h>
#include <unistd.h>

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
    const QByteArray local = QFile::encodeName(path);
    struct stat st {};
    // A link that leads nowhere is reported as such; the folder it names is not made.
    if (::lstat(local.constData(), &st) == 0 && S_ISLNK(st.st_mode) && ::stat(local.constData(), &st) != 0) {
        const QString reason = QString::fromLocal8Bit(std::strerror(errno));
        return common::makeError(
            common::ErrDeviceIo,
            QCoreApplication::translate("pavix::platform",
                                        "The folder \"%1\" cannot be created: it is a link to \"%2\", which "
                                        "cannot be reached (%3)")
                .arg(path, QFile::symLinkTarget(path), reason));
    }
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(QFile::encodeName(path).toStdString()), error);
    if (error) {
        return common::makeError(common::ErrDeviceIo,
                                 QCoreApplication::translate("pavix::platform",
                                                             "The folder \"%1\" cannot be created: %2")
                                     .arg(path, QString::fromLocal8Bit(error.message())));
    }
    // A link to a folder is followed (users move their data elsewhere that way), but what
    // it leads to must be a folder, and the user's own: Pavix does not write into another
    // user's folder on this user's behalf.
    if (::stat(local.constData(), &st) != 0) {
        return common::makeError(common::ErrDeviceIo,
                                 QCoreApplication::translate("pavix::platform",
                                                             "The folder \"%1\" cannot be created: %2")
                                     .arg(path, QString::fromLocal8Bit(std::strerror(errno))));
    }
    // create_directories reports no error when the path names a file, not a folder.
    if (!S_ISDIR(st.st_mode)) {
        return common::makeError(common::ErrDeviceIo,
                                 QCoreApplication::translate(
                                     "pavix::platform", "The folder \"%1\" cannot be created: a file of that name is "
                                                        "in the way")
                                     .arg(path));
    }
    if (st.st_uid != ::geteuid()) {
        return common::makeError(common::ErrDeviceIo,
                                 QCoreApplication::translate(
                                     "pavix::platform", "The folder \"%1\" cannot be used: it belongs to another user")
                                     .arg(path));
    }
    return path;
}

} // namespace pavix::platform
