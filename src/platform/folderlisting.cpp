#include "platform/folderlisting.h"

#include <QFile>

#include <cerrno>
#include <cstring>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pavix::platform {

FolderListing listRegularFiles(const QString &folder, const std::function<bool(const QString &)> &wanted)
{
    FolderListing listing;
    const QByteArray encoded = QFile::encodeName(folder);
    DIR *dir = ::opendir(encoded.constData());
    if (!dir) {
        listing.error = errno != 0 ? errno : EIO;
        return listing;
    }
    // A folder whose names can be read but whose files cannot be reached (read but no search
    // permission) holds nothing that could be opened, sized or shown: it cannot be read.
    if (::faccessat(AT_FDCWD, encoded.constData(), X_OK, AT_EACCESS) != 0) {
        listing.error = errno != 0 ? errno : EACCES;
        ::closedir(dir);
        return listing;
    }
    const int folderFd = ::dirfd(dir);
    while (const dirent *entry = ::readdir(dir)) {
        // Dot-files are hidden on this platform and, like hidden files elsewhere, are not
        // listed (the folder tree does not show hidden folders either).
        if (entry->d_name[0] == '.')
            continue;
        if (entry->d_type != DT_REG && entry->d_type != DT_LNK && entry->d_type != DT_UNKNOWN)
            continue;
        const QString name = QFile::decodeName(entry->d_name);
        // A name that is not valid in the file-name encoding cannot be turned back into the
        // same bytes, so nothing could open the file under it: leave it out.
        if (QFile::encodeName(name) != QByteArrayView(entry->d_name))
            continue;
        if (wanted && !wanted(name))
            continue;
        // Every file's status is read here, once, from the folder itself (a link is followed):
        // the list, its count and the thumbnails all come from this listing, so a file that
        // vanished since the folder was read, or whose status cannot be read, is left out of
        // all of them alike.
        struct stat info {};
        if (::fstatat(folderFd, entry->d_name, &info, 0) != 0 || !S_ISREG(info.st_mode))
            continue;
        listing.files.push_back({name, static_cast<qint64>(info.st_size)});
    }
    ::closedir(dir);
    return listing;
}

QString unreadableFolderMessage(const QString &folder, int error)
{
    QString reason = QString::fromLocal8Bit(std::strerror(error));
    // The system's reason reads as part of the sentence: "permission denied".
    if (reason.size() > 1 && reason.at(1).isLower())
        reason[0] = reason.at(0).toLower();
    return QStringLiteral("The folder %1 cannot be read: %2.").arg(folder, reason);
}

common::Result<qint64> fileLength(const QString &path)
{
    // One stat call: a folder listing asks this once per file.
    struct stat info {};
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &info) != 0)
        return common::makeError(ErrFileNotFound, QStringLiteral("File not found"));
    if (!S_ISREG(info.st_mode))
        return common::makeError(common::ErrGeneral, QStringLiteral("Not a file: %1").arg(path));
    return static_cast<qint64>(info.st_size);
}

} // namespace pavix::platform
