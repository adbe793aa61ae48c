#include "catalogue/filelist.h"

#include "catalogue/typepatterns.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <utility>
#include <vector>

#include <cerrno>
#include <cstring>

#include <dirent.h>
#include <sys/stat.h>

namespace pavix::catalogue {

QString selectionFolder(const QString &path)
{
    return path.endsWith(u'/') ? path.chopped(1) : path;
}

namespace {

// The folder in the form path() reports: absolute, cleaned, no trailing "/" but for "/".
QString normalFolder(const QString &folder)
{
    return QDir::cleanPath(QDir::current().absoluteFilePath(folder));
}

// True for a regular file, or a symbolic link that leads to one. Hidden and special files
// are decided by the caller.
bool isRegularEntry(const QByteArray &folder, const dirent *entry)
{
    if (entry->d_type == DT_REG)
        return true;
    if (entry->d_type != DT_LNK && entry->d_type != DT_UNKNOWN)
        return false;
    struct stat info {};
    const QByteArray full = folder + '/' + QByteArray(entry->d_name);
    return ::stat(full.constData(), &info) == 0 && S_ISREG(info.st_mode);
}

} // namespace

QString unreadableFolderMessage(const QString &folder, int error)
{
    QString reason = QString::fromLocal8Bit(std::strerror(error));
    // The system's reason reads as part of the sentence: "permission denied".
    if (reason.size() > 1 && reason.at(1).isLower())
        reason[0] = reason.at(0).toLower();
    return QStringLiteral("The folder %1 cannot be read: %2.").arg(folder, reason);
}

QString joinPath(const QString &folder, const QString &name)
{
    if (folder.endsWith(u'/'))
        return folder + name;
    return folder + u'/' + name;
}

FileList::FileList() : m_pattern(InitialFilePattern) {}

common::Status FileList::setPath(const QString &folder)
{
    if (folder.isEmpty())
        return common::makeError(common::ErrPathNotFound, QStringLiteral("Path not found"));
    const QString normal = normalFolder(folder);
    QStringList names;
    const int error = read(normal, names);
    // The list follows the folder even when it cannot be read: it then lists nothing, so
    // no other folder's files are ever shown under its name.
    m_path = normal;
    m_names = std::move(names);
    if (error != 0)
        return common::makeError(common::ErrPathNotFound, unreadableFolderMessage(folder, error));
    return common::Ok{};
}

void FileList::setPattern(const QString &pattern)
{
    m_pattern = pattern;
    refresh();
}

void FileList::refresh()
{
    if (m_path.isEmpty())
        return;
    QStringList names;
    if (read(m_path, names) != 0)
        names.clear();
    m_names = std::move(names);
}

QString FileList::list(int i) const
{
    if (i < 0 || i >= m_names.size())
        return QString();
    return m_names.at(i);
}

int FileList::read(const QString &folder, QStringList &names) const
{
    names.clear();
    const QByteArray encoded = QFile::encodeName(folder);
    DIR *dir = ::opendir(encoded.constData());
    if (!dir)
        return errno != 0 ? errno : EIO;

    // Dot-files are hidden on this platform and, like hidden files elsewhere, are not
    // listed (the folder tree does not show hidden folders either).
    const QStringList elements = patternElements(m_pattern);
    std::vector<std::pair<QString, QString>> found; // case-folded name, name
    const QByteArray base = encoded == "/" ? QByteArray() : encoded;
    while (const dirent *entry = ::readdir(dir)) {
        if (entry->d_name[0] == '.')
            continue;
        const QString name = QFile::decodeName(entry->d_name);
        // A name that is not valid in the file-name encoding cannot be turned back into the
        // same bytes, so nothing could open the file under it: leave it out.
        if (QFile::encodeName(name) != QByteArrayView(entry->d_name))
            continue;
        if (!matchesAnyElement(elements, name) || !isRegularEntry(base, entry))
            continue;
        found.emplace_back(name.toCaseFolded(), name);
    }
    ::closedir(dir);

    // Ignoring case, then by exact text so that "a.bmp" and "A.bmp" keep one order on
    // every read.
    std::sort(found.begin(), found.end());
    names.clear();
    names.reserve(static_cast<qsizetype>(found.size()));
    for (auto &item : found)
        names.append(std::move(item.second));
    return 0;
}

} // namespace pavix::catalogue
