#include "browser/filelist.h"
#include "catalogue/filepaths.h"
#include "common/filename.h"

#include "catalogue/typepatterns.h"
#include "support/scratchfolder.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <algorithm>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace pavix::catalogue;
using pavix::browser::FileList;
using pavix::testsupport::ScratchFolder;

namespace {

QString allTypes()
{
    return combinedPattern(patternsInForce(TypePatterns{})); // every type
}

} // namespace

TEST(FileList, StartsWithoutAFolderAndWithTheBitmapPattern)
{
    FileList files;
    EXPECT_EQ(files.pattern(), QStringLiteral("*.bmp"));
    EXPECT_TRUE(files.path().isEmpty());
    EXPECT_EQ(files.listCount(), 0);
    files.refresh(); // nothing to read yet
    EXPECT_EQ(files.listCount(), 0);
}

TEST(FileList, ListsMatchingNamesInOrderIgnoringCaseThenExactly)
{
    ScratchFolder folder;
    for (const char *name : {"b.bmp", "a.bmp", "A.bmp", "C.BMP", "_x.bmp", "note.txt", "d.gif"})
        folder.write(QString::fromUtf8(name));
    FileList files;
    ASSERT_TRUE(files.setPath(folder.path()).ok());
    EXPECT_EQ(files.names(), (QStringList{QStringLiteral("_x.bmp"), QStringLiteral("A.bmp"), QStringLiteral("a.bmp"),
                                          QStringLiteral("b.bmp"), QStringLiteral("C.BMP")}));
    EXPECT_EQ(files.listCount(), 5);
    EXPECT_EQ(files.list(0), QStringLiteral("_x.bmp"));
    EXPECT_EQ(files.list(4), QStringLiteral("C.BMP"));
    EXPECT_EQ(files.list(5), QString());
    EXPECT_EQ(files.list(-1), QString());

    files.setPattern(QStringLiteral("*.gif;*.txt"));
    EXPECT_EQ(files.names(), (QStringList{QStringLiteral("d.gif"), QStringLiteral("note.txt")}));
}

TEST(FileList, AwkwardNamesFromTheCorpus)
{
    ScratchFolder folder;
    const QString names = folder.copyCorpus(QStringLiteral("names"), QStringLiteral("names"));
    FileList files;
    files.setPattern(allTypes());
    ASSERT_TRUE(files.setPath(names).ok());
    const QStringList listed = files.names();

    for (const char *name :
         {"UPPER.JPG", "Mixed.Bmp", "SHOUT.GIF", "ICON.ICO", "Photo.JPEG", "semi;colon.bmp", "salt&pepper.ico",
          "-leading-dash.bmp", "photo with spaces.jpg", "it's.jpg", "100%.gif", "issue#42.jpg",
          "brackets [1] (copy).gif", "dots.in.the.name.jpeg", "ünïcödé-日本語-Ελληνικά.gif"})
        EXPECT_TRUE(listed.contains(QString::fromUtf8(name))) << name;
    // Placeholders of the pattern, other extensions and dot-files stay out.
    for (const char *name : {"&", "picture.###", "jpeg-without-extension", "picture.jpg.bak", ".hidden.bmp"})
        EXPECT_FALSE(listed.contains(QString::fromUtf8(name))) << name;
    EXPECT_EQ(listed.size(), 16); // 21 files less the five above
    EXPECT_TRUE(std::any_of(listed.begin(), listed.end(),
                            [](const QString &n) { return n.size() > 200 && n.endsWith(".gif"); }));
}

TEST(FileList, OnlyRegularFilesAreListed)
{
    ScratchFolder folder;
    folder.write(QStringLiteral("a.bmp"), 10);
    folder.makeFolder(QStringLiteral("folder.bmp"));
    ASSERT_TRUE(QFile::link(folder.file(QStringLiteral("a.bmp")), folder.file(QStringLiteral("link.bmp"))));
    ASSERT_TRUE(QFile::link(folder.file(QStringLiteral("none.bmp")), folder.file(QStringLiteral("dead.bmp"))));
    ASSERT_TRUE(QFile::link(folder.file(QStringLiteral("folder.bmp")), folder.file(QStringLiteral("dirlink.bmp"))));
    ASSERT_EQ(::mkfifo(QFile::encodeName(folder.file(QStringLiteral("pipe.bmp"))).constData(), 0600), 0);
    folder.makeFolder(QStringLiteral("sub"));
    folder.write(QStringLiteral("sub/deep.bmp"));

    FileList files;
    ASSERT_TRUE(files.setPath(folder.path()).ok());
    EXPECT_EQ(files.names(), (QStringList{QStringLiteral("a.bmp"), QStringLiteral("link.bmp")}));
}

TEST(FileList, NamesThatAreNotUtf8AreListedByTheirBytes)
{
    ScratchFolder folder;
    folder.write(QStringLiteral("good.bmp"), 1);
    // Two names that differ only in bytes that are not UTF-8, and one cut short.
    const QList<QByteArray> raw{"bad\xff\xfe.bmp", "bad\xff\xfd.bmp", "cut\xe6\x97.bmp"};
    for (qsizetype i = 0; i < raw.size(); ++i) {
        const int fd = ::open((QFile::encodeName(folder.path()) + '/' + raw[i]).constData(), O_CREAT | O_WRONLY, 0600);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::write(fd, "xxxx", size_t(i) + 2), ssize_t(i) + 2);
        ::close(fd);
    }

    FileList files;
    ASSERT_TRUE(files.setPath(folder.path()).ok());
    ASSERT_EQ(files.listCount(), 4);
    QList<QByteArray> listed;
    for (int i = 0; i < files.listCount(); ++i)
        listed << pavix::common::encodeFileName(files.list(i));
    EXPECT_EQ(listed, (QList<QByteArray>{raw[1], raw[0], raw[2], "good.bmp"}));
    EXPECT_EQ(files.length(0), 3);
    EXPECT_EQ(files.length(1), 2);
    EXPECT_EQ(files.length(2), 4);
}

TEST(FileList, PathIsAbsoluteWithoutTrailingSlashExceptTheRoot)
{
    ScratchFolder folder;
    const QString sub = folder.makeFolder(QStringLiteral("sub"));
    FileList files;
    ASSERT_TRUE(files.setPath(sub + QStringLiteral("/")).ok());
    EXPECT_EQ(files.path(), sub);
    ASSERT_TRUE(files.setPath(sub + QStringLiteral("/../sub//")).ok());
    EXPECT_EQ(files.path(), sub);

    ASSERT_TRUE(files.setPath(QStringLiteral("/")).ok());
    EXPECT_EQ(files.path(), QStringLiteral("/"));

    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(folder.path()));
    const auto relative = files.setPath(QStringLiteral("sub"));
    QDir::setCurrent(before);
    ASSERT_TRUE(relative.ok());
    EXPECT_EQ(files.path(), sub);
}

TEST(FileList, AFolderThatCannotBeOpenedListsNothingAndSaysWhy)
{
    ScratchFolder folder;
    folder.write(QStringLiteral("a.bmp"));
    const QString plainFile = folder.write(QStringLiteral("plain.txt"));
    const QString missing = folder.file(QStringLiteral("missing"));
    FileList files;

    // Never another folder's files under the name of the one asked for.
    for (const auto &[bad, reason] : {std::pair{missing, QStringLiteral("no such file or directory")},
                                      std::pair{plainFile, QStringLiteral("not a directory")}}) {
        ASSERT_TRUE(files.setPath(folder.path()).ok());
        const auto status = files.setPath(bad);
        ASSERT_FALSE(status.ok()) << qPrintable(bad);
        EXPECT_EQ(status.error().number, pavix::common::ErrPathNotFound);
        EXPECT_EQ(status.error().message, QStringLiteral("The folder %1 cannot be read: %2.").arg(bad, reason));
        EXPECT_EQ(files.path(), bad);
        EXPECT_TRUE(files.names().isEmpty());
    }

    // No name at all changes nothing.
    ASSERT_TRUE(files.setPath(folder.path()).ok());
    EXPECT_FALSE(files.setPath(QString()).ok());
    EXPECT_EQ(files.names(), QStringList{QStringLiteral("a.bmp")});

    if (::geteuid() != 0) { // the superuser opens any folder
        const QString locked = folder.makeFolder(QStringLiteral("locked"));
        ASSERT_TRUE(QFile::setPermissions(locked, QFileDevice::Permissions()));
        const auto status = files.setPath(locked);
        EXPECT_FALSE(status.ok());
        EXPECT_TRUE(status.error().message.endsWith(QStringLiteral(": permission denied.")))
            << qPrintable(status.error().message);
        EXPECT_EQ(files.path(), locked);
        EXPECT_TRUE(files.names().isEmpty());
        QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }
}

TEST(FileList, RefreshAndPatternChangesReReadTheFolder)
{
    ScratchFolder folder;
    const QString sub = folder.makeFolder(QStringLiteral("sub"));
    folder.write(QStringLiteral("sub/a.bmp"));
    FileList files;
    ASSERT_TRUE(files.setPath(sub).ok());
    EXPECT_EQ(files.listCount(), 1);

    folder.write(QStringLiteral("sub/b.bmp"));
    folder.write(QStringLiteral("sub/c.ico"));
    EXPECT_EQ(files.listCount(), 1); // nothing is read until asked
    files.refresh();
    EXPECT_EQ(files.listCount(), 2);
    files.setPattern(QStringLiteral("*.ico;"));
    EXPECT_EQ(files.names(), QStringList{QStringLiteral("c.ico")});

    // A folder that vanished lists nothing on the next read.
    ASSERT_TRUE(QDir(sub).removeRecursively());
    files.refresh();
    EXPECT_EQ(files.listCount(), 0);
    EXPECT_EQ(files.path(), sub);
}

TEST(FileList, JoinPathPutsOneSlashBetween)
{
    EXPECT_EQ(joinPath(QStringLiteral("/pics"), QStringLiteral("a.bmp")), QStringLiteral("/pics/a.bmp"));
    EXPECT_EQ(joinPath(QStringLiteral("/pics/"), QStringLiteral("a.bmp")), QStringLiteral("/pics/a.bmp"));
    EXPECT_EQ(joinPath(QStringLiteral("/"), QStringLiteral("a.bmp")), QStringLiteral("/a.bmp"));
    EXPECT_EQ(joinPath(QString(), QStringLiteral("a.bmp")), QStringLiteral("/a.bmp"));
}
