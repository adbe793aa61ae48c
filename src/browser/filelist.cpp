#include "browser/filelist.h"

#include "catalogue/typepatterns.h"
#include "platform/folderlisting.h"

#include <QCoreApplication>
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
        return common::makeError(common::ErrPathNotFound,
                                 QCoreApplication::translate("pavix::browser", "Path not found"));
    const QString normal = normalFolder(folder);
    QStringList names;
    std::vector<qint64> lengths;
    const int error = read(normal, names, lengths);
    // The list follows the folder even when it cannot be read: it then lists nothing, so
    // no other folder's files are ever shown under its name.
    m_path = normal;
    m_names = std::move(names);
    m_lengths = std::move(lengths);
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
    std::vector<qint64> lengths;
    read(m_path, names, lengths);
    m_names = std::move(names);
    m_lengths = std::move(lengths);
}

QString FileList::list(int i) const
{
    if (i < 0 || i >= m_names.size())
        return QString();
    return m_names.at(i);
}

qint64 FileList::length(int i) const
{
    if (i < 0 || i >= m_names.size())
        return 0;
    return m_lengths[static_cast<size_t>(i)];
}

int FileList::read(const QString &folder, QStringList &names, std::vector<qint64> &lengths) const
{
    const QStringList elements = catalogue::patternElements(m_pattern);
    platform::FolderListing listing = platform::listRegularFiles(folder, [&elements](const QString &name) {
        return catalogue::matchesAnyElement(elements, name);
    });
    names.clear();
    lengths.clear();
    if (listing.error != 0)
        return listing.error;
    // Ignoring case, then by exact text so that "a.bmp" and "A.bmp" keep one order on
    // every read.
    std::vector<std::pair<QString, platform::ListedFile>> found; // case-folded name, file
    found.reserve(listing.files.size());
    for (platform::ListedFile &file : listing.files) {
        QString folded = file.name.toCaseFolded();
        found.emplace_back(std::move(folded), std::move(file));
    }
    std::sort(found.begin(), found.end(), [](const auto &a, const auto &b) {
        return a.first != b.first ? a.first < b.first : a.second.name < b.second.name;
    });
    names.reserve(static_cast<qsizetype>(found.size()));
    lengths.reserve(found.size());
    for (auto &item : found) {
        names.append(std::move(item.second.name));
        lengths.push_back(item.second.length);
    }
    return 0;
}

} // namespace pavix::browser
