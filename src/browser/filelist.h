#pragma once
// The file list of the folder being browsed: enumerates the regular files of one folder whose names
// match the combined pattern, in ascending order of name ignoring case, each with the length
// it had when the folder was read. It is never shown; the list, its count and the thumbnail
// grid are all made from its one listing, so they always agree.
// Folders, special files and dot-files (hidden on this platform) are never listed;
// symbolic links to regular files are.

#include "common/result.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace pavix::browser {

class FileList {
public:
    // A list with no folder yet (path() is "", nothing listed) and the pattern "*.bmp".
    FileList();

    // Points the list at a folder and re-reads it. A relative folder is taken from the
    // current directory. A folder that cannot be opened (missing, not a folder, not
    // readable, its files out of reach) fails with ErrPathNotFound and a message naming it
    // and the system's reason; the list then shows that folder with nothing in it. An empty
    // folder name fails and changes nothing.
    common::Status setPath(const QString &folder);
    // The folder as an absolute path without a trailing "/", except the root "/" itself;
    // "" before a folder was set.
    QString path() const { return m_path; }

    // Sets the ";"-separated pattern and re-reads the folder.
    void setPattern(const QString &pattern);
    QString pattern() const { return m_pattern; }

    // Re-reads the folder with the current path and pattern. A folder that can no longer
    // be opened lists nothing.
    void refresh();

    // Number of listed files.
    int listCount() const { return static_cast<int>(m_names.size()); }
    // The name (without folder) of the listed file at position i from 0; "" for a position
    // outside the list.
    QString list(int i) const;
    // All listed names, in list order.
    const QStringList &names() const { return m_names; }
    // The length in bytes the file at position i had when the folder was read; 0 for a
    // position outside the list.
    qint64 length(int i) const;

private:
    // Reads `folder` into `names` and `lengths` in list order; 0, or the system's error
    // number when the folder cannot be opened (both then empty).
    int read(const QString &folder, QStringList &names, std::vector<qint64> &lengths) const;

    QString m_path;
    QString m_pattern;
    QStringList m_names;
    std::vector<qint64> m_lengths; // beside m_names
};

} // namespace pavix::browser
