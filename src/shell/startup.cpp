#include "shell/startup.h"

#include "catalogue/optionsdialog.h"
#include "catalogue/typepatterns.h"
#include "common/units.h"
#include "listview/viewmode.h"
#include "platform/qtlistview.h"
#include "shell/foldertree.h"
#include "shell/layoutmath.h"
#include "shell/mainwindow.h"
#include "shell/settingskeys.h"
#include "shell/settingsstore.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>

#include <cmath>

namespace pavix::shell {

using catalogue::TypePatterns;

QString startupStatusText(int step)
{
    // "Loading .." grows by two dots a step: "Loading ...." after step 1.
    if (step < 1 || step > 8)
        return QString();
    return QStringLiteral("Loading ") + QString(2 + 2 * step, QLatin1Char('.'));
}

std::unique_ptr<MainWindow> runStartup(const StartupEnvironment &env)
{
    SettingsStore &store = env.settings;
    auto status = [&env](int step) {
        if (env.status)
            env.status(startupStatusText(step));
    };

    // 1. Window placement.
    auto main = std::make_unique<MainWindow>(store, env.shellInfo);
    MainWindow &m = *main;
    m.holdTreeNotifications(true);
    const double tpp = m.twipsPerPixel();
    const float left = readSingle(store, SectionSettings, KeyMainLeft, DefaultMainLeft);
    const float top = readSingle(store, SectionSettings, KeyMainTop, DefaultMainTop);
    const float width = readSingle(store, SectionSettings, KeyMainWidth, DefaultMainWidth);
    const float height = readSingle(store, SectionSettings, KeyMainHeight, DefaultMainHeight);
    m.move(common::twipsToPixels(left, tpp), common::twipsToPixels(top, tpp));
    m.resizeToOuter(width, height);
    status(1);

    // 2. Types, splitters, preview window placement.
    m.patterns.BmpPattern = readText(store, SectionType, KeyBitmap, QString());
    m.patterns.JpgPattern = readText(store, SectionType, KeyJpg, QString());
    m.patterns.GifPattern = readText(store, SectionType, KeyGif, QString());
    m.patterns.IcoPattern = readText(store, SectionType, KeyIco, QString());
    SplitterState s;
    s.IsaLeft = readInt32(store, SectionSettings, KeyIsaLeft, DefaultIsaLeft);
    s.IsbLeft = readInt32(store, SectionSettings, KeyIsbLeft, DefaultIsbLeft);
    s.IsaRatio = m.IsaRatio;
    s.IsbRatio = m.IsbRatio;
    s = clampStartupSplitters(m.outerWidthTwips(), s);
    m.IsaLeft = s.IsaLeft;
    m.IsbLeft = s.IsbLeft;
    m.PrvLeft = readInt32(store, SectionSettings, KeyPrvLeft, DefaultPrvLeft);
    m.PrvTop = readInt32(store, SectionSettings, KeyPrvTop, DefaultPrvTop);
    m.PrvWidth = readInt32(store, SectionSettings, KeyPrvWidth, DefaultPrvWidth);
    m.PrvHeight = readInt32(store, SectionSettings, KeyPrvHeight, DefaultPrvHeight);
    status(2);

    // 3. Pane flags, folder, list layout.
    m.mnuViewToolbar->setChecked(readTruth(store, SectionSettings, KeyTbaron, DefaultTbaron));
    m.mnuViewStatusBar->setChecked(readTruth(store, SectionSettings, KeyBaron, DefaultBaron));
    m.mnuViewTv->setChecked(readTruth(store, SectionSettings, KeyTvon, DefaultTvon));
    m.mnuViewPv->setChecked(readTruth(store, SectionSettings, KeyPvon, DefaultPvon));
    QString folder = readText(store, SectionSettings, KeyFolder, env.homeFolder);
    // A folder that is gone (or was never a folder) is replaced by the home folder, so
    // the program never starts on nothing.
    if (!QFileInfo(folder).isDir())
        folder = env.homeFolder;
    m.Tv->setSelectedFolder(folder);
    const std::int32_t viewMode = readViewMode(store, SectionSettings, KeyViewMode, DefaultViewMode);
    m.Lv->setView(static_cast<platform::LvView>(viewMode));
    status(3);

    // 4. Menu checks, status window.
    for (int i = 0; i < 5; ++i) {
        m.mnuListViewMode[static_cast<size_t>(i)]->setChecked(i == viewMode + 1);
        m.mnuIcons[static_cast<size_t>(i)]->setChecked(i == viewMode + 1);
    }
    if (m.mnuViewStatusBar->isChecked())
        m.createStatusWindow();
    status(4);

    // 5. Pane visibility, file pattern.
    m.setPaneFlags(m.mnuViewToolbar->isChecked(), m.mnuViewTv->isChecked(),
                   m.mnuViewPv->isChecked());
    m.Options->Form_Load(m.patterns);
    for (QCheckBox *box : m.Options->Check)
        box->setEnabled(true);
    if (catalogue::anyPatternStored(m.patterns)) {
        m.Files.setPattern(catalogue::combinedPattern(m.patterns));
    } else {
        // First start: only bitmaps; the file list keeps its initial pattern "*.bmp".
        m.patterns.BmpPattern = catalogue::BmpEnabled;
        m.Options->Check[0]->setChecked(true);
    }
    status(5);

    // 6. Columns.
    m.SortColumn = 0;
    const double columnWidth = initialColumnWidth(m.IsaLeft, m.IsbLeft);
    m.Lv->addColumn(QStringLiteral("FILENAME"), QStringLiteral("Name         "), columnWidth);
    m.Lv->addColumn(QStringLiteral("FILESIZE"), QStringLiteral("Size  (bytes)"), columnWidth);
    m.Lv->addColumn(QStringLiteral("FILETYPE"), QStringLiteral("Type         "), columnWidth);
    status(6);

    // 7. Header hot tracking, tool bar button.
    m.SetHeaderHotTrack();
    m.pressToolButton(listview::toolBarKey(viewMode + 1));
    status(7);

    // 8. Type label, first layout.
    m.typeTexts = catalogue::RefreshTypeTexts(m.patterns);
    m.setTypesCaption(catalogue::searchingText(m.typeTexts));
    m.SizeControls();
    status(8);

    // The tree's notification for the folder written in step 3 is handled now that the
    // file pattern is applied and the panes are laid out.
    m.holdTreeNotifications(false);

    // 9. Show the main window (the caller closes the splash).
    m.show();
    return main;
}

} // namespace pavix::shell
