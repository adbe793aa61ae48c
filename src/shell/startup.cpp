#include "shell/startup.h"

#include "browser/browser.h"
#include "catalogue/typepatterns.h"
#include "common/placement.h"
#include "common/units.h"
#include "foldertree/foldertree.h"
#include "listview/qtlistview.h"
#include "listview/viewmode.h"
#include "options/optionsdialog.h"
#include "platform/folderlisting.h"
#include "preview/tiledpreview.h"
#include "shell/folderscan.h"
#include "shell/layoutmath.h"
#include "shell/listcommands.h"
#include "shell/mainwindow.h"
#include "shell/settings.h"
#include "shell/settingskeys.h"
#include "shell/windowsettings.h"
#include "toolbox/toolboxhost.h"

#include <QCheckBox>
#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

#include <algorithm>
#include <cmath>
#include <optional>

namespace pavix::shell {

using catalogue::TypePatterns;

void setApplicationIdentity(const QString &version, const QString &desktopFileName)
{
    QCoreApplication::setApplicationName(QStringLiteral("Pavix"));
    QCoreApplication::setApplicationVersion(version);
    QGuiApplication::setDesktopFileName(desktopFileName);
}

QString startupStatusText(int step)
{
    // "Loading .." grows by two dots a step: "Loading ...." after step 1.
    if (step < 1 || step > 8)
        return QString();
    return QCoreApplication::translate("pavix::shell", "Loading %1").arg(QString(2 + 2 * step, QLatin1Char('.')));
}

about::Links readLinks(const platform::SettingsStore &store)
{
    about::Links links;
    // An address that is missing or does not read as one keeps its default.
    auto address = [&store](QLatin1StringView key, QUrl &target) {
        const QUrl stored(readText(store, about::SectionLinks, key, QString()), QUrl::StrictMode);
        if (stored.isValid() && !stored.isRelative())
            target = stored;
    };
    address(about::KeyHomePage, links.homePage);
    address(about::KeyHomePageIndex, links.homePageIndex);
    address(about::KeyMusicPage, links.musicPage);
    const QString mail = readText(store, about::SectionLinks, about::KeyContactMail, QString()).trimmed();
    if (mail.contains(u'@') && !mail.contains(u' '))
        links.contactMail = mail;
    return links;
}

std::unique_ptr<MainWindow> runStartup(const StartupEnvironment &env)
{
    platform::SettingsStore &store = env.settings;
    auto status = [&env](int step) {
        if (env.status)
            env.status(startupStatusText(step));
    };

    // 1. Window placement.
    auto main = std::make_unique<MainWindow>(store, env.shellInfo, env.folderChooser);
    MainWindow &m = *main;
    m.folderScan()->holdTreeNotifications(true);
    const double tpp = m.twipsPerPixel();
    const WindowSettings stored = WindowSettings::load(store, env.homeFolder);
    const MainWindowPlace place = stored.mainPlace.value_or(MainWindowPlace{});
    // A size of nothing (or less) is no size: the default. The place is kept where the
    // window lies wholly on one of the screens there are now.
    m.resizeToOuter(place.width > 0 ? place.width : DefaultMainWidth,
                    place.height > 0 ? place.height : DefaultMainHeight);
    QList<QRect> screens;
    for (const QScreen *screen : QGuiApplication::screens())
        screens.append(screen->availableGeometry());
    // Far enough out to be off every screen, near enough that a rectangle there does not
    // overflow.
    auto coordinate = [tpp](float twips) {
        return std::clamp(common::twipsToPixels(twips, tpp), -1'000'000, 1'000'000);
    };
    const QRect frame(coordinate(place.left), coordinate(place.top), m.width() + common::FrameAllowancePx,
                      m.height() + common::FrameAllowancePx);
    m.move(common::onScreenTopLeft(frame, screens));
    status(1);

    // 2. Types, splitters, preview window placement.
    TypePatterns storedTypes;
    for (const catalogue::PictureType type : catalogue::AllPictureTypes)
        catalogue::patternOf(storedTypes, type) = readText(store, catalogue::SectionType, catalogue::typeKey(type),
                                                           QString());
    TypePatterns patterns = catalogue::patternsInForce(storedTypes);
    // A picture to start on is listed whatever types are switched on; the switch lasts for
    // this run, as only the options dialog stores the types.
    if (const std::optional<catalogue::PictureType> type = catalogue::pictureTypeOf(env.startPicture))
        catalogue::setTypeEnabled(patterns, *type, true);
    SplitterState splitters = m.splitters();
    splitters.treeSplitterLeft = stored.treeSplitterLeft;
    splitters.previewSplitterLeft = stored.previewSplitterLeft;
    m.setSplitters(clampStartupSplitters(m.outerWidthTwips(), splitters));
    m.setLinks(readLinks(store));
    status(2);

    // 3. Pane flags, folder, list layout.
    QString folder = env.startFolder.isEmpty() ? stored.folder : env.startFolder;
    // A folder that is gone (or was never a folder) is replaced by the home folder, so
    // the program never starts on nothing. The settings file holds a name that is not
    // UTF-8 with U+FFFD in it: the folder it stands for is found again.
    folder = platform::realFolderPath(folder);
    if (!platform::pathStatus(folder).isFolder)
        folder = env.homeFolder;
    m.folderTree()->setSelectedFolder(folder);
    const std::int32_t viewMode = stored.listLayout;
    m.list()->setView(static_cast<listview::ListLayout>(viewMode));
    status(3);

    // 4. Menu checks, status window; with them the pane flags and the places of the tiled
    // window and the toolbox.
    for (int i = 0; i < listview::ViewModeCount; ++i) {
        m.menus().viewModeItems().at(static_cast<size_t>(i))->setChecked(i == viewMode + 1);
        m.menus().listViewItems().at(static_cast<size_t>(i))->setChecked(i == viewMode + 1);
    }
    m.applySettings(stored);
    status(4);

    // 5. File pattern.
    options::OptionsDialog *options = m.optionsDialog();
    options->showTypes(patterns);
    for (int type = 0; type < catalogue::PictureTypeCount; ++type)
        options->typeBox(type)->setEnabled(true);
    browser::Browser &browser = m.browser();
    browser.setFilePattern(catalogue::combinedPattern(patterns));
    browser.setPatterns(patterns);
    status(5);

    // 6. Columns.
    const double columnWidth = initialColumnWidth(m.splitters().treeSplitterLeft, m.splitters().previewSplitterLeft);
    m.list()->addColumn(QStringLiteral("FILENAME"), QCoreApplication::translate("pavix::shell", "Name         "),
                        columnWidth);
    m.list()->addColumn(QStringLiteral("FILESIZE"), QCoreApplication::translate("pavix::shell", "Size  (bytes)"),
                        columnWidth);
    m.list()->addColumn(QStringLiteral("FILETYPE"), QCoreApplication::translate("pavix::shell", "Type         "),
                        columnWidth);
    status(6);

    // 7. Header hot tracking, tool bar button.
    m.toggleHeaderHotTrack();
    m.listCommands()->pressViewButton(viewMode + 1);
    status(7);

    // 8. First layout (the type label shows the types since step 5).
    m.sizeControls();
    status(8);

    // 9. Show the main window, laid out (the caller closes the splash).
    m.show();
    if (env.mainShown)
        env.mainShown(m);

    // The tree's notification for the folder written in step 3 is handled now that the
    // file pattern is applied, the panes are laid out and the window shows: the first scan
    // lists the folder in it, and its thumbnails fill in as they are built.
    m.folderScan()->holdTreeNotifications(false);

    // The picture to start on is selected in the folder the first scan listed, unless the
    // window was closed during that scan.
    if (!env.startPicture.isEmpty() && browser.folder() == env.startFolder && m.isVisible())
        browser.selectFile(env.startPicture);
    return main;
}

} // namespace pavix::shell
