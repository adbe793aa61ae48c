#include "browser/filelist.h"

#include "catalogue/typepatterns.h"
#include "platform/folderlisting.h"

#include <QDir>

#include <algorithm>
#include <utility>
#include <vector>


namespace pavix::browser {

namespace {

// The folder in the form path() reports: absolute, cleaned, no trailing "/" but for "/".
QString normalFolder(const QString &folder)
{
    return QDir::cleanPath(QDir::current().absoluteFilePath(folder));
}

} // namespace

FileList::FileList() : m_pattern(catalogue::InitialFilePattern) {}

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
        return common::makeError(common::ErrPathNotFound, platform::unreadableFolderMessage(folder, error));
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
    const QStringList elements = catalogue::patternElements(m_pattern);
    platform::FolderListing listing = platform::listRegularFiles(
        folder, [&elements](const QString &name) { return catalogue::matchesAnyElement(elements, name); });
    names.clear();
    if (listing.error != 0)
        return listing.error;
    // Ignoring case, then by exact text so that "a.bmp" and "A.bmp" keep one order on
    // every read.
    std::vector<std::pair<QString, QString>> found; // case-folded name, name
    found.reserve(static_cast<size_t>(listing.names.size()));
    for (QString &name : listing.names)
        found.emplace_back(name.toCaseFolded(), std::move(name));
    std::sort(found.begin(), found.end());
    names.reserve(static_cast<qsizetype>(found.size()));
    for (auto &item : found)
        names.append(std::move(item.second));
    return 0;
}

} // namespace pavix::browser
