#include "catalogue/filesize.h"

#include "catalogue/scratchfolder.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace pavix::catalogue;
using pavix::testsupport::ScratchFolder;

TEST(FileSize, FormatGroupsDigitsInThreesWithTheLocaleSeparator)
{
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    EXPECT_EQ(FormatFileSize(0, english), QStringLiteral("0"));
    EXPECT_EQ(FormatFileSize(999, english), QStringLiteral("999"));
    EXPECT_EQ(FormatFileSize(1000, english), QStringLiteral("1,000"));
    EXPECT_EQ(FormatFileSize(1234567, english), QStringLiteral("1,234,567"));
    EXPECT_EQ(FormatFileSize(3221225472LL, english), QStringLiteral("3,221,225,472"));
    EXPECT_EQ(FormatFileSize(1234567, QLocale(QLocale::German)), QStringLiteral("1.234.567"));
    // The C locale omits grouping unless asked; the size column always groups.
    EXPECT_EQ(FormatFileSize(1000, QLocale::c()), QStringLiteral("1,000"));
}

TEST(FileSize, LengthIsReadIn64Bits)
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

TEST(FileSize, LengthOfAMissingFileOrAFolderFails)
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

TEST(FileSize, CorpusEmptyFilesHaveLengthZero)
{
    const QString bad = QStringLiteral(PAVIX_CORPUS_DIR "/bad/");
    EXPECT_EQ(fileLength(bad + QStringLiteral("empty.jpg")).value(), 0);
    EXPECT_EQ(fileLength(bad + QStringLiteral("reallybig.bmp")).value(), 24630);
}
