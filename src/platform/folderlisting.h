#pragma once
// Reading folders and files from the file system: the regular files of one folder with
// their lengths, a file's length, and the message for a folder that cannot be read.

#include "common/result.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

namespace pavix::platform {

// Error number for a file that does not exist (or can no longer be reached) when its
// length is read.
inline constexpr int ErrFileNotFound = 53;

// One regular file of a listed folder: its name and its length in bytes when it was listed.
struct ListedFile {
    QString name;
    qint64 length = 0;
};

// The regular files of `folder` (not recursive) that `wanted` accepts, in the order the
// system lists them, each with its length; symbolic links that lead to regular files count.
// Dot-files (hidden here) and names not valid in the file-name encoding (nothing could open
// them) are left out; `wanted` sees each other name before anything else is asked of the
// file. A file that is gone by the time its status is read (removed while the folder is
// read), or whose status cannot be read, is left out and the listing goes on.
// A folder that cannot be opened, or whose files cannot be reached (no search permission),
// lists nothing and gives the system's error number.
struct FolderListing {
    std::vector<ListedFile> files;
    int error = 0; // the system's error number when the folder cannot be opened
};
FolderListing listRegularFiles(const QString &folder, const std::function<bool(const QString &)> &wanted);

// The message for a folder that cannot be listed: its name and the system's reason for
// error number `error`, e.g. "The folder /x cannot be read: permission denied.".
QString unreadableFolderMessage(const QString &folder, int error);

// The length in bytes of the file at `path`, 64-bit so that files over 2 GiB keep their
// size. A missing file gives ErrFileNotFound; a path that names no regular file (a folder,
// a device) gives ErrGeneral.
common::Result<qint64> fileLength(const QString &path);

} // namespace pavix::platform
