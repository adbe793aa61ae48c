#include "platform/folderlisting.h"

#include "common/filename.h"
#include "platform/timedcall.h"

#include <QCoreApplication>
#include <QFile>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <optional>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pavix::platform {

namespace {

// One entry of a folder that may be a regular file: its name's bytes and its name as text.
struct FolderEntry {
    QByteArray bytes;
    QString name;
};

struct FolderNames {
    std::vector<FolderEntry> entries;
    int error = 0;
};

// The entries of `folder` that may be regular files, dot-files left out.
FolderNames readFolderNames(const QByteArray &folder)
{
    FolderNames names;
    DIR *dir = ::opendir(folder.constData());
    if (!dir) {
        names.error = errno != 0 ? errno : EIO;
        return names;
    }
    // A folder whose names can be read but whose files cannot be reached (read but no search
    // permission) holds nothing that could be opened, sized or shown: it cannot be read.
    if (::faccessat(AT_FDCWD, folder.constData(), X_OK, AT_EACCESS) != 0) {
        names.error = errno != 0 ? errno : EACCES;
        ::closedir(dir);
        return names;
    }
    while (const dirent *entry = ::readdir(dir)) {
        // Dot-files are hidden on this platform and, like hidden files elsewhere, are not
        // listed (the folder tree does not show hidden folders either).
        if (entry->d_name[0] == '.')
            continue;
        if (entry->d_type != DT_REG && entry->d_type != DT_LNK && entry->d_type != DT_UNKNOWN)
            continue;
        QByteArray bytes(entry->d_name);
        QString name = common::decodeFileName(bytes);
        names.entries.push_back({std::move(bytes), std::move(name)});
    }
    ::closedir(dir);
    return names;
}

struct FileLengths {
    std::vector<std::optional<qint64>> lengths; // none for what is no regular file, or gone
    int error = 0;
};

// The length of each of `names` in `folder` that is a regular file (a link followed).
FileLengths readFileLengths(const QByteArray &folder, const std::vector<QByteArray> &names)
{
    FileLengths found;
    const int folderFd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd < 0) {
        found.error = errno != 0 ? errno : EIO;
        return found;
    }
    found.lengths.reserve(names.size());
    for (const QByteArray &name : names) {
        struct stat info {};
        if (::fstatat(folderFd, name.constData(), &info, 0) == 0 && S_ISREG(info.st_mode))
            found.lengths.emplace_back(static_cast<qint64>(info.st_size));
        else
            found.lengths.emplace_back();
    }
    ::close(folderFd);
    return found;
}

} // namespace

FolderListing listRegularFiles(const QString &folder, const std::function<bool(const QString &)> &wanted,
                               std::chrono::milliseconds limit)
{
    FolderListing listing;
    const QByteArray encoded = common::encodeFileName(folder);
    // The names and then their lengths are read on threads of their own, each waited for no
    // longer than limit: a folder on a stalled mount costs the list its files, never the
    // interface. `wanted` is the caller's, and runs here, between the two.
    std::optional<FolderNames> names = callWithin(
        limit, [encoded] { return readFolderNames(encoded); }, Waiting::KeepingWindowsAlive);
    if (!names) {
        listing.error = ETIMEDOUT;
        return listing;
    }
    if (names->error != 0) {
        listing.error = names->error;
        return listing;
    }
    std::vector<FolderEntry> kept;
    for (FolderEntry &entry : names->entries) {
        if (!wanted || wanted(entry.name))
            kept.push_back(std::move(entry));
    }
    std::vector<QByteArray> keptBytes;
    keptBytes.reserve(kept.size());
    for (const FolderEntry &entry : kept)
        keptBytes.push_back(entry.bytes);
    // Every file's status is read here, once, from the folder itself: the list, its count
    // and the thumbnails all come from this listing, so a file that vanished since the
    // folder was read, or whose status cannot be read, is left out of all of them alike.
    std::optional<FileLengths> lengths = callWithin(
        limit, [encoded, keptBytes = std::move(keptBytes)] { return readFileLengths(encoded, keptBytes); },
        Waiting::KeepingWindowsAlive);
    if (!lengths) {
        listing.error = ETIMEDOUT;
        return listing;
    }
    if (lengths->error != 0) {
        listing.error = lengths->error;
        return listing;
    }
    for (size_t i = 0; i < kept.size(); ++i) {
        if (const std::optional<qint64> length = lengths->lengths[i])
            listing.files.push_back({std::move(kept[i].name), *length});
    }
    return listing;
}

QString unreadableFolderMessage(const QString &folder, int error)
{
    // A stalled mount, or a network one whose server has gone.
    if (error == ETIMEDOUT)
        return QCoreApplication::translate("pavix::platform", "The folder %1 is not answering.").arg(folder);
    QString reason = QString::fromLocal8Bit(std::strerror(error));
    // The system's reason reads as part of the sentence: "permission denied".
    if (reason.size() > 1 && reason.at(1).isLower())
        reason[0] = reason.at(0).toLower();
    return QCoreApplication::translate("pavix::platform", "The folder %1 cannot be read: %2.").arg(folder, reason);
}

common::Result<qint64> fileLength(const QString &path, std::chrono::milliseconds limit)
{
    // One stat call, on a thread of its own: the preview asks this for the file it shows,
    // which may lie on a stalled mount.
    const std::optional<PathStatus> read = callWithin(
        limit, [path] { return pathStatus(path); }, Waiting::KeepingWindowsAlive);
    if (!read)
        return common::makeError(
            common::ErrDeviceIo,
            QCoreApplication::translate("pavix::platform",
                                        "Device I/O Error while reading the length of \"%1\": it took longer "
                                        "than %2 seconds")
                .arg(path.mid(path.lastIndexOf(u'/') + 1))
                .arg(double(limit.count()) / 1000.0));
    const PathStatus &status = *read;
    if (status.error != 0)
        return common::makeError(ErrFileNotFound, QCoreApplication::translate("pavix::platform", "File not found"));
    if (!status.isFile)
        return common::makeError(common::ErrGeneral,
                                 QCoreApplication::translate("pavix::platform", "Not a file: %1").arg(path));
    return status.length;
}

PathStatus pathStatus(const QString &path)
{
    PathStatus status;
    struct stat info {};
    if (path.isEmpty()) {
        status.error = ENOENT;
    } else if (::stat(common::encodeFileName(path).constData(), &info) != 0) {
        status.error = errno != 0 ? errno : ENOENT;
    } else {
        status.isFolder = S_ISDIR(info.st_mode);
        status.isFile = S_ISREG(info.st_mode);
        status.length = static_cast<qint64>(info.st_size);
    }
    return status;
}

int openForReading(const QString &path, QFile &file)
{
    // Without O_NONBLOCK, opening a pipe waits for a writer that may never come.
    const int fd = ::open(common::encodeFileName(path).constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return errno != 0 ? errno : EIO;
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return EIO;
    }
    return 0;
}

QStringList foldersQtLeavesOut(const QString &folder)
{
    std::vector<QByteArray> found;
    DIR *dir = ::opendir(common::encodeFileName(folder).constData());
    if (!dir)
        return {};
    while (const dirent *entry = ::readdir(dir)) {
        if (entry->d_name[0] == '.' || entry->d_type == DT_REG)
            continue;
        const QByteArray name(entry->d_name);
        const QString text = common::decodeFileName(name);
        if (std::none_of(text.cbegin(), text.cend(), common::isUndecodedByte))
            continue;
        struct stat info {};
        if (::fstatat(::dirfd(dir), entry->d_name, &info, 0) == 0 && S_ISDIR(info.st_mode))
            found.push_back(name);
    }
    ::closedir(dir);
    std::sort(found.begin(), found.end());
    QStringList names;
    for (const QByteArray &name : found)
        names.append(common::decodeFileName(name));
    return names;
}

QString realFolderPath(const QString &shownPath)
{
    if (!shownPath.startsWith(u'/') || !shownPath.contains(QChar::ReplacementCharacter)
        || pathStatus(shownPath).error == 0)
        return shownPath;
    QByteArray real;
    for (const QString &step : shownPath.split(u'/', Qt::SkipEmptyParts)) {
        const QByteArray asWritten = common::encodeFileName(step);
        if (!step.contains(QChar::ReplacementCharacter)) {
            real += '/' + asWritten;
            continue;
        }
        DIR *dir = ::opendir(real.isEmpty() ? "/" : real.constData());
        if (!dir)
            return shownPath;
        std::optional<QByteArray> found;
        while (const dirent *entry = ::readdir(dir)) {
            const QByteArray name(entry->d_name);
            // Qt's listings decode a name as QFile::decodeName does; a stored path shows each
            // undecodable byte as U+FFFD. Only folders are wanted.
            if (QFile::decodeName(name) != step
                && common::withUnpairedSurrogatesReplaced(common::decodeFileName(name)) != step)
                continue;
            struct stat info {};
            if (::fstatat(::dirfd(dir), entry->d_name, &info, 0) != 0 || !S_ISDIR(info.st_mode))
                continue;
            if (name == asWritten || !found || (*found != asWritten && name < *found))
                found = name;
        }
        ::closedir(dir);
        if (!found)
            return shownPath;
        real += '/' + *found;
    }
    return common::decodeFileName(real);
}

} // namespace pavix::platform
