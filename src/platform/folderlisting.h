#pragma once
// Reading folders and files from the file system: the regular files of one folder with
// their lengths, a file's length and status, opening a file to read, the real path of a
// folder Qt shows by a name it could not decode, and the message for a folder that cannot
// be read. Every path here is text that keeps its name's bytes (common/filename.h) and
// reaches the system as those bytes.

#include "common/result.h"

#include <QString>
#include <QStringList>

class QFile;

#include <chrono>
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
// Dot-files (hidden here) are left out; a name that is not UTF-8 is listed as text that
// keeps its bytes (common::decodeFileName). `wanted` sees each other name before anything
// else is asked of the file. A file that is gone by the time its status is read (removed
// while the folder is read), or whose status cannot be read, is left out and the listing
// goes on.
// A folder that cannot be opened, or whose files cannot be reached (no search permission),
// lists nothing and gives the system's error number.
// The names, and then the lengths, are read on threads of their own (platform/timedcall.h),
// each waited for no longer than `limit`, the windows kept alive meanwhile: a folder on a
// stalled mount lists nothing and gives ETIMEDOUT, and so does any folder while too many
// reads are left behind. `wanted` runs on the caller's thread, between the two.
struct FolderListing {
    std::vector<ListedFile> files;
    int error = 0; // the system's error number when the folder cannot be opened
};
// How long a listing waits for a folder's names, and again for their lengths.
inline constexpr std::chrono::milliseconds FolderReadLimit{10'000};
FolderListing listRegularFiles(const QString &folder, const std::function<bool(const QString &)> &wanted,
                               std::chrono::milliseconds limit = FolderReadLimit);

// The message for a folder that cannot be listed: its name and the system's reason for
// error number `error`, e.g. "The folder /x cannot be read: permission denied."; for
// ETIMEDOUT, that the folder is not answering.
QString unreadableFolderMessage(const QString &folder, int error);

// How long fileLength waits for a file's status by default.
inline constexpr std::chrono::milliseconds FileStatusLimit{2000};

// The length in bytes of the file at `path`, 64-bit so that files over 2 GiB keep their
// size. A missing file gives ErrFileNotFound; a path that names no regular file (a folder,
// a device) gives ErrGeneral. Its status is read on a thread of its own, waited for no
// longer than `limit`, the windows kept alive meanwhile: a file on a stalled mount (or any
// file while too many reads are left behind, platform/timedcall.h) gives ErrDeviceIo. For
// the interface thread.
common::Result<qint64> fileLength(const QString &path, std::chrono::milliseconds limit = FileStatusLimit);

// What the system tells of the file or folder at `path`, a link followed.
struct PathStatus {
    int error = 0; // the system's error number when it tells nothing (then nothing else is set)
    bool isFolder = false;
    bool isFile = false; // a regular file
    qint64 length = 0;
};
PathStatus pathStatus(const QString &path);

// Opens the file at `path` for reading into `file` (which owns it from then on), by the bytes
// of its name; a pipe or a device is never waited on. 0, or the system's error number.
int openForReading(const QString &path, QFile &file);

// The folders in `folder` whose names are not UTF-8, which Qt's own listings (QDir, the file
// system model, the folder chooser) leave out, as text that keeps their bytes, in the order
// of those bytes; links to folders count, dot-folders (hidden here) do not.
QStringList foldersQtLeavesOut(const QString &folder);

// The path of the folder named `shownPath` by a folder chooser or the settings file, which
// hold every name that is not UTF-8 with U+FFFD in it, a name nothing can open. Each such
// step is looked up in the listing of the folder above it: the folder whose name shows that
// way (as Qt decodes it, or with one U+FFFD a byte), the one whose name really holds U+FFFD
// first, then the first in the order of the names' bytes. A path without U+FFFD, one that
// exists as it is, or one that leads nowhere is returned as it is.
QString realFolderPath(const QString &shownPath);

} // namespace pavix::platform
