#include "platform/datafolder.h"

#include "support/printers.h"
#include "support/scopedenvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

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
