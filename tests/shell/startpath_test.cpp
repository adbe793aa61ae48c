// The start place read from real files: folders, pictures, links, other files and paths
// that do not exist.
#include "shell/startpath.h"

#include "support/corpus.h"
#include "support/printers.h"
#include "support/scratchfolder.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace pavix;
using namespace pavix::shell;

TEST(StartPath, TheFileSystemSaysWhatAPathIs)
{
    testsupport::ScratchFolder scratch;
    const QString tiles = scratch.makeFolder(QStringLiteral("tiles"));
    ASSERT_TRUE(QFile::copy(testsupport::corpusPath(QStringLiteral("good/hopper.jpg")),
                            tiles + QStringLiteral("/a b.JPG")));

    StartPlace place = findStartPlace(tiles + QStringLiteral("/"));
    EXPECT_EQ(place.folder, tiles);
    EXPECT_TRUE(place.error.isEmpty());
    place = findStartPlace(tiles + QStringLiteral("/../tiles/./a b.JPG"));
    EXPECT_EQ(place.folder, tiles);
    EXPECT_EQ(place.picture, QStringLiteral("a b.JPG"));

    // A link to a picture is selected by its own name, as the list lists it.
    ASSERT_TRUE(QFile::link(tiles + QStringLiteral("/a b.JPG"), tiles + QStringLiteral("/link.jpeg")));
    place = findStartPlace(tiles + QStringLiteral("/link.jpeg"));
    EXPECT_EQ(place.folder, tiles);
    EXPECT_EQ(place.picture, QStringLiteral("link.jpeg"));

    // A folder named like a picture is a folder.
    const QString odd = scratch.makeFolder(QStringLiteral("odd.gif"));
    place = findStartPlace(odd);
    EXPECT_EQ(place.folder, odd);
    EXPECT_TRUE(place.picture.isEmpty());

    // Of no use: a file of another type, a pipe named like a picture, a broken link and a
    // path that is not there.
    const QString notes = scratch.write(QStringLiteral("tiles/notes.txt"), 5);
    const QString pipe = scratch.file(QStringLiteral("tiles/pipe.bmp"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link(scratch.file(QStringLiteral("nowhere.bmp")), tiles + QStringLiteral("/dangling.bmp")));
    for (const QString &path : {notes, pipe}) {
        place = findStartPlace(path);
        EXPECT_TRUE(place.folder.isEmpty()) << qPrintable(path);
        EXPECT_TRUE(place.picture.isEmpty());
        EXPECT_TRUE(place.error.contains(QStringLiteral("is neither a folder nor"))) << qPrintable(place.error);
    }
    for (const QString &path : {tiles + QStringLiteral("/dangling.bmp"), scratch.file(QStringLiteral("gone/a.bmp"))}) {
        place = findStartPlace(path);
        EXPECT_TRUE(place.folder.isEmpty()) << qPrintable(path);
        EXPECT_EQ(place.error, QStringLiteral("pavix: \"") + path
                                   + QStringLiteral("\" does not exist; Pavix starts on its last folder."));
    }
}

TEST(StartPath, ARelativePathIsTakenFromTheCurrentFolder)
{
    testsupport::ScratchFolder scratch;
    const QString tiles = scratch.makeFolder(QStringLiteral("tiles"));
    scratch.write(QStringLiteral("tiles/x.ico"), 3);
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(tiles));
    const StartPlace here = findStartPlace(QStringLiteral("."));
    const StartPlace picture = findStartPlace(QStringLiteral("x.ico"));
    const StartPlace empty = findStartPlace(QString());
    QDir::setCurrent(before);

    EXPECT_EQ(here.folder, tiles);
    EXPECT_EQ(picture.folder, tiles);
    EXPECT_EQ(picture.picture, QStringLiteral("x.ico"));
    // No path is not the current folder.
    EXPECT_TRUE(empty.folder.isEmpty());
    EXPECT_FALSE(empty.error.isEmpty());
}
