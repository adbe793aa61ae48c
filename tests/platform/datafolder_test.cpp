#include "platform/datafolder.h"

#include "support/printers.h"
#include "support/scopedenvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <unistd.h>

using namespace pavix::platform;
using pavix::testsupport::ScopedEnvironment;

TEST(DataFolder, LivesUnderXdgDataHomeOrTheHomeFoldersDefault)
{
    QTemporaryDir scratch;
    ScopedEnvironment env;
    env.set("HOME", QFile::encodeName(scratch.filePath(QStringLiteral("home"))));
    env.set("XDG_DATA_HOME", QFile::encodeName(scratch.filePath(QStringLiteral("data"))));
    EXPECT_EQ(dataFolderPath(), scratch.filePath(QStringLiteral("data/Pavix")));
    // A relative XDG_DATA_HOME is to be ignored, as is an empty one.
    env.set("XDG_DATA_HOME", "relative/data");
    EXPECT_EQ(dataFolderPath(), scratch.filePath(QStringLiteral("home/.local/share/Pavix")));
    env.unset("XDG_DATA_HOME");
    EXPECT_EQ(dataFolderPath(), scratch.filePath(QStringLiteral("home/.local/share/Pavix")));
    env.set("XDG_DATA_HOME", QFile::encodeName(scratch.filePath(QStringLiteral("data")) + QStringLiteral("//")));
    EXPECT_EQ(dataFolderPath(), scratch.filePath(QStringLiteral("data/Pavix")));
}

TEST(DataFolder, IsMadeWhenMissingOrSaysWhyItCannotBe)
{
    QTemporaryDir scratch;
    ScopedEnvironment env;
    env.set("XDG_DATA_HOME", QFile::encodeName(scratch.filePath(QStringLiteral("deep/er/data"))));
    const auto made = makeDataFolder();
    ASSERT_TRUE(made.ok()) << qPrintable(made.error().message);
    EXPECT_EQ(made.value(), scratch.filePath(QStringLiteral("deep/er/data/Pavix")));
    EXPECT_TRUE(QFileInfo(made.value()).isDir());
    EXPECT_TRUE(makeDataFolder().ok()); // already there

    // A file where the folder should be.
    QFile blocker(scratch.filePath(QStringLiteral("blocked")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    env.set("XDG_DATA_HOME", QFile::encodeName(blocker.fileName()));
    const auto refused = makeDataFolder();
    ASSERT_FALSE(refused.ok());
    EXPECT_EQ(refused.error().number, pavix::common::ErrDeviceIo);
    EXPECT_TRUE(refused.error().message.startsWith(
        QStringLiteral("The folder \"%1/Pavix\" cannot be created: ").arg(blocker.fileName())))
        << qPrintable(refused.error().message);
}

TEST(DataFolder, ALinkInItsPlaceIsFollowedOnlyToAFolderOfTheUsersOwn)
{
    QTemporaryDir scratch;
    ScopedEnvironment env;
    env.set("XDG_DATA_HOME", QFile::encodeName(scratch.filePath(QStringLiteral("data"))));
    ASSERT_TRUE(QDir().mkpath(scratch.filePath(QStringLiteral("data"))));
    const QString dataFolder = scratch.filePath(QStringLiteral("data/Pavix"));

    // The user's data moved elsewhere behind a link: used where it leads.
    ASSERT_TRUE(QDir().mkpath(scratch.filePath(QStringLiteral("elsewhere"))));
    ASSERT_TRUE(QFile::link(scratch.filePath(QStringLiteral("elsewhere")), dataFolder));
    const auto moved = makeDataFolder();
    ASSERT_TRUE(moved.ok()) << qPrintable(moved.error().message);
    EXPECT_EQ(moved.value(), dataFolder);
    EXPECT_TRUE(QFileInfo(dataFolder).isSymLink());

    // A link that leads nowhere: said so, and nothing is made where it points.
    ASSERT_TRUE(QFile::remove(dataFolder));
    const QString missing = scratch.filePath(QStringLiteral("missing/Pavix"));
    ASSERT_TRUE(QFile::link(missing, dataFolder));
    const auto nowhere = makeDataFolder();
    ASSERT_FALSE(nowhere.ok());
    EXPECT_EQ(nowhere.error().message,
              QStringLiteral("The folder \"%1\" cannot be created: it is a link to \"%2\", which cannot be reached "
                             "(No such file or directory)")
                  .arg(dataFolder, missing));
    EXPECT_FALSE(QFileInfo::exists(scratch.filePath(QStringLiteral("missing"))));

    // A folder of another user's, behind a link or in its place (only the superuser can give
    // one away for the test).
    if (::geteuid() != 0)
        return;
    const QString others = scratch.filePath(QStringLiteral("others"));
    ASSERT_TRUE(QDir().mkpath(others));
    ASSERT_EQ(::chown(QFile::encodeName(others).constData(), 65534, 65534), 0);
    const QString belongsToAnother =
        QStringLiteral("The folder \"%1\" cannot be used: it belongs to another user").arg(dataFolder);
    ASSERT_TRUE(QFile::remove(dataFolder));
    ASSERT_TRUE(QFile::link(others, dataFolder));
    const auto linked = makeDataFolder();
    ASSERT_FALSE(linked.ok());
    EXPECT_EQ(linked.error().message, belongsToAnother);
    ASSERT_TRUE(QFile::remove(dataFolder));
    ASSERT_TRUE(QDir().rename(others, dataFolder));
    const auto inPlace = makeDataFolder();
    ASSERT_FALSE(inPlace.ok());
    EXPECT_EQ(inPlace.error().message, belongsToAnother);
}
