#pragma once
// A throw-away folder for tests that read real files: files of a chosen length, and copies
// of the picture corpus folders.

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace pavix::testsupport {

class ScratchFolder {
public:
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

private:
    QTemporaryDir m_dir;
};

} // namespace pavix::testsupport
