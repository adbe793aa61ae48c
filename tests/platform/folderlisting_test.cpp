// Reading the file system: a folder's regular files with their lengths, a file's length.
#include "platform/folderlisting.h"

#include "support/corpus.h"
#include "support/printers.h"
#include "support/scratchfolder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryFile>

#include <gtest/gtest.h>

#include <map>

using namespace pavix::platform;
using pavix::testsupport::ScratchFolder;

TEST(FolderListing, FilesComeWithTheirLengthsAndOnesRemovedWhileTheFolderIsReadAreLeftOut)
{
    ScratchFolder folder;
    for (int i = 0; i < 6; ++i)
        folder.write(QStringLiteral("f%1.bmp").arg(i), i * 10);
    folder.makeFolder(QStringLiteral("sub.bmp"));
    // Another program removes two files just as the listing comes to them.
    const QStringList removed{QStringLiteral("f2.bmp"), QStringLiteral("f4.bmp")};
    const FolderListing listing = listRegularFiles(folder.path(), [&](const QString &name) {
        if (removed.contains(name)) {
            EXPECT_TRUE(QFile::remove(folder.file(name)));
        }
        return true;
    });
    EXPECT_EQ(listing.error, 0);
    std::map<QString, qint64> found;
    for (const ListedFile &file : listing.files)
        found[file.name] = file.length;
    const std::map<QString, qint64> expected{{QStringLiteral("f0.bmp"), 0},
                                             {QStringLiteral("f1.bmp"), 10},
                                             {QStringLiteral("f3.bmp"), 30},
                                             {QStringLiteral("f5.bmp"), 50}};
    EXPECT_EQ(found, expected);
}

TEST(FileLength, LengthIsReadIn64Bits)
{
    ScratchFolder folder;
    EXPECT_EQ(fileLength(folder.write(QStringLiteral("empty.bmp"))).value(), 0);
    EXPECT_EQ(fileLength(folder.write(QStringLiteral("k.bmp"), 1000)).value(), 1000);

    // A sparse file over 2 GiB takes no room on disk but reports its full length.
    QFile big(folder.file(QStringLiteral("big.bmp")));
    ASSERT_TRUE(big.open(QIODevice::WriteOnly));
    const qint64 threeGiB = 3LL * 1024 * 1024 * 1024;
    ASSERT_TRUE(big.resize(threeGiB));
    big.close();
    const auto length = fileLength(big.fileName());
    ASSERT_TRUE(length.ok());
    EXPECT_EQ(*length, threeGiB);
}

TEST(FileLength, LengthOfAMissingFileOrAFolderFails)
{
    ScratchFolder folder;
    const auto missing = fileLength(folder.file(QStringLiteral("gone.bmp")));
    ASSERT_FALSE(missing.ok());
    EXPECT_EQ(missing.error().number, ErrFileNotFound);
    EXPECT_FALSE(fileLength(QString()).ok());

    const auto folderLength = fileLength(folder.makeFolder(QStringLiteral("sub.bmp")));
    ASSERT_FALSE(folderLength.ok());
    EXPECT_EQ(folderLength.error().number, pavix::common::ErrGeneral);
}

TEST(FileLength, CorpusEmptyFilesHaveLengthZero)
{
    const QString bad = QStringLiteral(PAVIX_CORPUS_DIR "/bad/");
    EXPECT_EQ(fileLength(bad + QStringLiteral("empty.jpg")).value(), 0);
    EXPECT_EQ(fileLength(bad + QStringLiteral("reallybig.bmp")).value(), 24630);
}
