#pragma once
// A throw-away folder for tests that read real files: files of a chosen length, and copies
// of the picture corpus folders. Everything in it goes with it, also names that are not
// UTF-8 and folders a test locked.

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pavix::testsupport {

class ScratchFolder {
public:
    ScratchFolder() = default;
    ScratchFolder(const ScratchFolder &) = delete;
    ScratchFolder &operator=(const ScratchFolder &) = delete;
    // QTemporaryDir cannot remove a name it cannot encode again, nor enter a folder without
    // rights: the folder is removed here by the names' bytes first.
    ~ScratchFolder() { removeTree(QFile::encodeName(m_dir.path())); }

    QString path() const { return m_dir.path(); }
    QString file(const QString &name) const { return m_dir.filePath(name); }

    // Writes `name` with `bytes` bytes of filler; returns its full path.
    QString write(const QString &name, qint64 bytes = 0) const
    {
        QFile out(file(name));
        EXPECT_TRUE(out.open(QIODevice::WriteOnly)) << qPrintable(name);
        out.write(QByteArray(bytes, 'x'));
        return out.fileName();
    }

    QString makeFolder(const QString &name) const
    {
        EXPECT_TRUE(QDir(path()).mkpath(name)) << qPrintable(name);
        return file(name);
    }

    // Copies every file of the corpus folder `corpusFolder` (dot-files included) into the
    // sub-folder `as`; returns the copy's path.
    QString copyCorpus(const QString &corpusFolder, const QString &as) const
    {
        const QString target = makeFolder(as);
        const QDir source(QStringLiteral(PAVIX_CORPUS_DIR) + u'/' + corpusFolder);
        const QStringList names = source.entryList(QDir::Files | QDir::Hidden);
        EXPECT_FALSE(names.isEmpty()) << qPrintable(source.path());
        for (const QString &name : names)
            EXPECT_TRUE(QFile::copy(source.filePath(name), target + u'/' + name)) << qPrintable(name);
        return target;
    }

    // Removes `folder` and all it holds by the bytes of their names, each relative to its
    // own folder (so that no path grows too long), giving each folder its owner's rights
    // back first; links are removed, never followed.
    static void removeTree(const QByteArray &folder) { removeTreeAt(AT_FDCWD, folder); }

private:
    static void removeTreeAt(int parent, const QByteArray &name)
    {
        ::fchmodat(parent, name.constData(), 0700, 0);
        const int fd = ::openat(parent, name.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (DIR *dir = fd >= 0 ? ::fdopendir(fd) : nullptr) {
            while (const dirent *entry = ::readdir(dir)) {
                const QByteArray inner(entry->d_name);
                if (inner == "." || inner == "..")
                    continue;
                struct stat info {};
                if (::fstatat(fd, inner.constData(), &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(info.st_mode))
                    removeTreeAt(fd, inner);
                else
                    ::unlinkat(fd, inner.constData(), 0);
            }
            ::closedir(dir);
        } else if (fd >= 0) {
            ::close(fd);
        }
        ::unlinkat(parent, name.constData(), AT_REMOVEDIR);
    }

    QTemporaryDir m_dir;
};

} // namespace pavix::testsupport
