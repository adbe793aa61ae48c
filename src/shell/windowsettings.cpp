#include "shell/windowsettings.h"

#include "shell/settings.h"
#include "shell/settingskeys.h"

namespace pavix::shell {

WindowSettings WindowSettings::load(const platform::SettingsStore &store, const QString &homeFolder)
{
    const QString s = SectionSettings;
    WindowSettings w;
    w.mainPlace = MainWindowPlace{
        readSingle(store, s, KeyMainLeft, DefaultMainLeft), readSingle(store, s, KeyMainTop, DefaultMainTop),
        readSingle(store, s, KeyMainWidth, DefaultMainWidth), readSingle(store, s, KeyMainHeight, DefaultMainHeight)};
    w.folder = readText(store, s, KeyFolder, homeFolder);
    w.listLayout = readViewMode(store, s, KeyViewMode, DefaultViewMode);
    w.toolBarShown = readTruth(store, s, KeyToolBarShown, DefaultToolBarShown);
    w.statusBarShown = readTruth(store, s, KeyStatusBarShown, DefaultStatusBarShown);
    w.treeShown = readTruth(store, s, KeyTreeShown, DefaultTreeShown);
    w.previewShown = readTruth(store, s, KeyPreviewShown, DefaultPreviewShown);
    w.treeSplitterLeft = readInt32(store, s, KeyTreeSplitterLeft, DefaultTreeSplitterLeft);
    w.previewSplitterLeft = readInt32(store, s, KeyPreviewSplitterLeft, DefaultPreviewSplitterLeft);
    w.tiledWindow = {readInt32(store, s, KeyTiledWindowLeft, DefaultTiledWindowLeft),
                     readInt32(store, s, KeyTiledWindowTop, DefaultTiledWindowTop),
                     readInt32(store, s, KeyTiledWindowWidth, DefaultTiledWindowWidth),
                     readInt32(store, s, KeyTiledWindowHeight, DefaultTiledWindowHeight)};
    w.toolboxCorner = QPointF(readSingle(store, s, KeyToolboxLeft, DefaultToolboxLeft),
                              readSingle(store, s, KeyToolboxTop, DefaultToolboxTop));
    return w;
}

void WindowSettings::store(platform::SettingsStore &store) const
{
    const QString s = SectionSettings;
    if (mainPlace) {
        writeSingle(store, s, KeyMainLeft, mainPlace->left);
        writeSingle(store, s, KeyMainTop, mainPlace->top);
        writeSingle(store, s, KeyMainWidth, mainPlace->width);
        writeSingle(store, s, KeyMainHeight, mainPlace->height);
    }
    writeText(store, s, KeyFolder, folder);
    writeInt(store, s, KeyViewMode, listLayout);
    writeTruth(store, s, KeyToolBarShown, toolBarShown);
    writeTruth(store, s, KeyStatusBarShown, statusBarShown);
    writeTruth(store, s, KeyTreeShown, treeShown);
    writeTruth(store, s, KeyPreviewShown, previewShown);
    writeInt(store, s, KeyTreeSplitterLeft, treeSplitterLeft);
    writeInt(store, s, KeyPreviewSplitterLeft, previewSplitterLeft);
    writeInt(store, s, KeyTiledWindowLeft, tiledWindow.left);
    writeInt(store, s, KeyTiledWindowTop, tiledWindow.top);
    writeInt(store, s, KeyTiledWindowWidth, tiledWindow.width);
    writeInt(store, s, KeyTiledWindowHeight, tiledWindow.height);
    if (toolboxCorner) {
        writeSingle(store, s, KeyToolboxLeft, static_cast<float>(toolboxCorner->x()));
        writeSingle(store, s, KeyToolboxTop, static_cast<float>(toolboxCorner->y()));
    }
    store.sync();
}

void WindowSettings::keepCornersOf(const WindowSettings &read)
{
    if (mainPlace && read.mainPlace) {
        mainPlace->left = read.mainPlace->left;
        mainPlace->top = read.mainPlace->top;
    }
    tiledWindow.left = read.tiledWindow.left;
    tiledWindow.top = read.tiledWindow.top;
    if (toolboxCorner)
        toolboxCorner = read.toolboxCorner;
}

} // namespace pavix::shell
