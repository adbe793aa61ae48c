// Reading the file system: a folder's regular files with their lengths, a file's length.
#include "platform/folderlisting.h"

#include "platform/timedcall.h"

#include "support/corpus.h"
#include "support/postedwhilewaiting.h"
#include "support/printers.h"
#include "support/scratchfolder.h"
#include "support/stalledstatus.h"

#include <QDir>
#include <QFile>
#include <QTemporaryFile>
#include <QTest>

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
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

TEST(FolderListing, AFileWhoseStatusStallsCostsTheListingAndItsLengthNotTheCaller)
{
    using namespace std::chrono_literals;
    ASSERT_TRUE(QTest::qWaitFor([] { return threadsLeftBehind() == 0; }, 5000));
    ScratchFolder folder;
    folder.write(QStringLiteral("a.bmp"), 10);
    const QString stalled = folder.write(QStringLiteral("stalled.bmp"), 20);
    {
        // As on a stalled network mount: asking for the file's status never answers. Before
        // the fix this thread waited here (60 s, then the file was listed).
        const pavix::testsupport::StalledStatus stall("stalled.bmp");
        const FolderListing listing = listRegularFiles(folder.path(), nullptr, 20ms);
        EXPECT_EQ(listing.error, ETIMEDOUT);
        EXPECT_TRUE(listing.files.empty());
        EXPECT_TRUE(unreadableFolderMessage(folder.path(), listing.error).endsWith(u"is not answering."));
        const auto length = fileLength(stalled, 20ms);
        ASSERT_FALSE(length.ok());
        EXPECT_EQ(length.error().number, pavix::common::ErrDeviceIo);
        EXPECT_TRUE(length.error().message.contains(QStringLiteral("\"stalled.bmp\"")))
            << qPrintable(length.error().message);
        EXPECT_GE(threadsLeftBehind(), 1);
    }
    // Once the file answers, the threads left behind end, and the folder lists in full.
    EXPECT_TRUE(QTest::qWaitFor([] { return threadsLeftBehind() == 0; }, 5000));
    const FolderListing listing = listRegularFiles(folder.path(), nullptr);
    EXPECT_EQ(listing.error, 0);
    EXPECT_EQ(listing.files.size(), 2u);
    EXPECT_EQ(fileLength(stalled).value(), 20);
}

// What the window is asked while a listing waits for a stalled file (a repaint, the desktop's
// ping) is answered meanwhile; here the answer is what lets the file go.
TEST(FolderListing, TheWindowsAreAnsweredWhileAStalledFolderIsRead)
{
    using namespace std::chrono_literals;
    ScratchFolder folder;
    folder.write(QStringLiteral("stalled.bmp"), 20);
    pavix::testsupport::StalledStatus stall("stalled.bmp");
    const pavix::testsupport::PostedWhileWaiting answer([] { return pavix::testsupport::StalledStatus::waiting() > 0; },
                                                        [&stall] { stall.release(); });
    const FolderListing listing = listRegularFiles(folder.path(), nullptr, 10s);
    EXPECT_TRUE(answer.acted());
    EXPECT_EQ(listing.error, 0);
    EXPECT_EQ(listing.files.size(), 1u);
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
