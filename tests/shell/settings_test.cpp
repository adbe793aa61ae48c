// The typed settings: what each reader makes of stored texts, and the texts the writers
// store.
#include "catalogue/typepatterns.h"
#include "shell/settings.h"
#include "shell/settingskeys.h"
#include "shell/windowsettings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <utility>
#include <vector>

using namespace pavix::shell;
using pavix::platform::MemorySettingsStore;

TEST(SettingsStore, TypedReadersFallBackToTheDefault)
{
    MemorySettingsStore store;
    const QString s = SectionSettings;
    EXPECT_EQ(readSingle(store, s, KeyMainLeft, DefaultMainLeft), 1000.0f);
    EXPECT_EQ(readInt32(store, s, KeyTreeSplitterLeft, DefaultTreeSplitterLeft), 2000);
    EXPECT_EQ(readTruth(store, s, KeyStatusBarShown, DefaultStatusBarShown), true);
    EXPECT_EQ(readText(store, pavix::catalogue::SectionType, pavix::catalogue::KeyBitmap,
                       pavix::catalogue::DefaultPattern),
              "");
    EXPECT_EQ(readText(store, s, KeyFolder, "/home/u"), "/home/u");
    EXPECT_EQ(readViewMode(store, s, KeyViewMode), 0);

    store.write(s, KeyMainWidth, "wide");
    store.write(s, KeyTreeSplitterLeft, "40000");
    store.write(s, KeyPreviewSplitterLeft, "3e9");
    store.write(s, KeyTiledWindowLeft, "");
    store.write(s, KeyTreeShown, "maybe");
    store.write(s, KeyViewMode, "5");
    EXPECT_EQ(readSingle(store, s, KeyMainWidth, 6500.0f), 6500.0f);
    EXPECT_EQ(readInt32(store, s, KeyTreeSplitterLeft, 2000), 40000); // fits 32 bits
    EXPECT_EQ(readInt32(store, s, KeyPreviewSplitterLeft, 5000), 5000);
    EXPECT_EQ(readInt32(store, s, KeyTiledWindowLeft, 1000), 1000);
    EXPECT_EQ(readTruth(store, s, KeyTreeShown, true), true);
    EXPECT_EQ(readTruth(store, s, KeyTreeShown, false), false);
    EXPECT_EQ(readViewMode(store, s, KeyViewMode), 0);
    EXPECT_EQ(readViewMode(store, s, KeyViewMode, 2), 2);

    store.write(s, KeyViewMode, "-1");
    EXPECT_EQ(readViewMode(store, s, KeyViewMode), 0);
    store.write(s, KeyViewMode, "3abc");
    EXPECT_EQ(readViewMode(store, s, KeyViewMode), 3);
    store.write(s, KeyViewMode, "");
    EXPECT_EQ(readViewMode(store, s, KeyViewMode, 2), 0); // stored, without a number
    store.write(s, KeyFolder, "");
    EXPECT_EQ(readText(store, s, KeyFolder, "/home/u"), ""); // stored empty stays empty
}

TEST(SettingsStore, WritersProduceTheTextTheReadersTakeBack)
{
    MemorySettingsStore store;
    const QString s = SectionSettings;
    writeSingle(store, s, KeyMainLeft, 1234.5f);
    writeInt(store, s, KeyPreviewSplitterLeft, 36000);
    writeTruth(store, s, KeyPreviewShown, false);
    writeText(store, pavix::catalogue::SectionType, pavix::catalogue::KeyIco, "&;");
    writeInt(store, s, KeyViewMode, 3);

    EXPECT_EQ(store.values().at({s, QString(KeyMainLeft)}), "1234.5");
    EXPECT_EQ(store.values().at({s, QString(KeyPreviewSplitterLeft)}), "36000");
    EXPECT_EQ(store.values().at({s, QString(KeyPreviewShown)}), "False");
    EXPECT_EQ(readSingle(store, s, KeyMainLeft, 0), 1234.5f);
    EXPECT_EQ(readInt32(store, s, KeyPreviewSplitterLeft, 0), 36000);
    EXPECT_EQ(readTruth(store, s, KeyPreviewShown, true), false);
    EXPECT_EQ(readText(store, pavix::catalogue::SectionType, pavix::catalogue::KeyIco, ""), "&;");
    EXPECT_EQ(readViewMode(store, s, KeyViewMode), 3);
    // Sections keep keys apart.
    EXPECT_FALSE(store.read(SectionSettings, pavix::catalogue::KeyIco));
}

TEST(SettingsStore, WhereWindowsCannotTellTheirPlaceTheStoredCornersStay)
{
    MemorySettingsStore store;
    const QString s = SectionSettings;
    for (const auto &[key, value] : {std::pair{KeyMainLeft, QStringLiteral("1200")},
                                     {KeyMainTop, QStringLiteral("900")},
                                     {KeyTiledWindowLeft, QStringLiteral("4000")},
                                     {KeyTiledWindowTop, QStringLiteral("3000")},
                                     {KeyToolboxLeft, QStringLiteral("7000")},
                                     {KeyToolboxTop, QStringLiteral("800")}})
        store.write(s, key, value);
    const WindowSettings read = WindowSettings::load(store, QStringLiteral("/home"));

    // What a Wayland session reports: every corner at 0, 0, the sizes as the user made them.
    WindowSettings now = read;
    now.mainPlace = MainWindowPlace{0, 0, 9000, 7000};
    now.tiledWindow = {0, 0, 5000, 4000};
    now.toolboxCorner = QPointF(0, 0);
    now.keepCornersOf(read);
    now.store(store);
    const WindowSettings stored = WindowSettings::load(store, QStringLiteral("/home"));
    ASSERT_TRUE(stored.mainPlace);
    EXPECT_EQ(stored.mainPlace->left, 1200.0f);
    EXPECT_EQ(stored.mainPlace->top, 900.0f);
    EXPECT_EQ(stored.mainPlace->width, 9000.0f);
    EXPECT_EQ(stored.mainPlace->height, 7000.0f);
    EXPECT_EQ(stored.tiledWindow.left, 4000);
    EXPECT_EQ(stored.tiledWindow.top, 3000);
    EXPECT_EQ(stored.tiledWindow.width, 5000);
    EXPECT_EQ(stored.tiledWindow.height, 4000);
    EXPECT_EQ(stored.toolboxCorner, QPointF(7000, 800));

    // A toolbox never loaded and a minimized main window still store nothing of theirs.
    WindowSettings unloaded = read;
    unloaded.mainPlace.reset();
    unloaded.toolboxCorner.reset();
    unloaded.keepCornersOf(read);
    EXPECT_FALSE(unloaded.mainPlace);
    EXPECT_FALSE(unloaded.toolboxCorner);
}
