#pragma once
// The main window: tool bar, title strip, folder tree, file area (list or thumbnail grid),
// preview pane, two splitters and the optional status line. It creates the browsing state
// and the parts of the window, wires their signals to each other and to the menus, runs
// the commands, and stores the settings as they change and when it closes. The layout is
// the PaneLayout's, the menus the MainMenus', the Help menu's commands the LinkCommands'.

#include "about/links.h"
#include "shell/commandtable.h"
#include "shell/layoutmath.h"
#include "shell/linkcommands.h"
#include "shell/mainmenus.h"
#include "shell/panelayout.h"
#include "shell/windowsettings.h"

#include <QMainWindow>
#include <QMenu>
#include <QPointer>

#include <array>
#include <memory>
#include <vector>

class QActionGroup;
class QLabel;
class QProgressBar;
class QScrollBar;
class QToolBar;

namespace pavix::about {
class AboutBox;
}
namespace pavix::browser {
class Browser;
}
namespace pavix::listview {
class ListInteraction;
class QtListView;
}
namespace pavix::options {
class OptionsDialog;
}
namespace pavix::platform {
class LinkOpener;
class FontCatalogue;
class SettingsStore;
class ShellInfo;
}
namespace pavix::preview {
class PreviewPane;
class StretchImage;
class TiledPreviewHost;
}
namespace pavix::thumbs {
class ThumbGrid;
class ThumbStrip;
}

namespace pavix::foldertree {
class FolderTree;
}
namespace pavix::toolbox {
class ToolboxHost;
}
namespace pavix::wallpaper {
class DesktopWallpaperSetter;
class WallpaperCommand;
}

namespace pavix::shell {

class ClientArea;
class ElidedLabel;
class FolderChooser;
class FolderScan;
class ListCommands;
class SplitterBar;
class StatusBar;
class StatusWindow;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // The browse command asks `folderChooser` for its folder; with none, the folder dialog.
    MainWindow(platform::SettingsStore &settings, platform::ShellInfo &shellInfo,
               FolderChooser *folderChooser = nullptr);
    ~MainWindow() override;

    // Twips per pixel of this window's screen, fixed when the window is created.
    double twipsPerPixel() const { return m_tpp; }

    // --- The parts ----------------------------------------------------------------------
    browser::Browser &browser() const { return *m_browser; }
    listview::QtListView *list() const { return m_list; }
    foldertree::FolderTree *folderTree() const { return m_folderTree; }
    thumbs::ThumbGrid *thumbGrid() const { return m_thumbGrid; }
    thumbs::ThumbStrip *thumbStrip() const { return m_thumbStrip; }
    QWidget *thumbArea() const { return m_thumbArea; }
    QScrollBar *thumbScrollBar() const { return m_thumbScrollBar; }
    preview::PreviewPane *previewPane() const { return m_previewPane; }
    preview::StretchImage *previewImage() const { return m_previewImage; }
    preview::TiledPreviewHost *tiledPreview() const { return m_tiledPreview; }
    toolbox::ToolboxHost *toolbox() const { return m_toolbox; }
    listview::ListInteraction *listInteraction() const { return m_listInteraction; }
    ListCommands *listCommands() const { return m_listCommands; }
    FolderScan *folderScan() const { return m_folderScan; }
    wallpaper::WallpaperCommand *wallpaperCommand() const { return m_wallpaperCommand; }
    options::OptionsDialog *optionsDialog() const { return m_optionsDialog; }
    QToolBar *toolBar() const { return m_toolBar; }
    ElidedLabel *typesLabel() const { return m_typesLabel; }
    QLabel *imagesLabel() const { return m_imagesLabel; }
    QProgressBar *progressBar() const { return m_progressBar; }
    SplitterBar *treeSplitter() const { return m_treeSplitter; }
    SplitterBar *previewSplitter() const { return m_previewSplitter; }
    MainMenus &menus() const { return *m_menus; }
    PaneLayout &panes() const { return *m_panes; }
    LinkCommands &linkCommands() const { return *m_linkCommands; }
    // The status window while the status bar is switched on, else nullptr.
    StatusWindow *statusWindow() const;
    // A menu item or menu by its object name ("refreshItem", "viewArrangeMenu", ...).
    QAction *menuItem(const QString &name) const { return findChild<QAction *>(name); }
    QMenu *menu(const QString &name) const { return findChild<QMenu *>(name); }

    // --- Layout (the pane layout's) -----------------------------------------------------
    void sizeControls() { m_panes->sizeControls(); }
    void handleResize() { m_panes->handleResize(); }
    void resizeToOuter(double widthTwips, double heightTwips) { m_panes->resizeToOuter(widthTwips, heightTwips); }
    double outerWidthTwips() const { return m_panes->outerWidthTwips(); }
    double outerHeightTwips() const { return m_panes->outerHeightTwips(); }
    double clientHeightTwips() const { return m_panes->clientHeightTwips(); }
    const Controls &controls() const { return m_panes->controls(); }
    const SplitterState &splitters() const { return m_panes->splitters(); }
    void setSplitters(const SplitterState &splitters) { m_panes->setSplitters(splitters); }
    bool isDraggingSplitter() const { return m_panes->isDraggingSplitter(); }
    QWidget *treeGhost() const { return m_panes->treeGhost(); }
    QWidget *previewGhost() const { return m_panes->previewGhost(); }
    // Switches hot tracking of the details header.
    void toggleHeaderHotTrack();

    // --- Start-up -----------------------------------------------------------------------
    // Applies what was stored: the pane flags and their View menu marks, the status line,
    // the splitters, the tiled window's place and the toolbox's corner, without laying out.
    void applySettings(const WindowSettings &settings);
    // Stores the settings as they stand, leaving every window as it is (the display is
    // going away); closing the window stores them too.
    void storeSettings();

    // --- Commands -----------------------------------------------------------------------
    // Runs a command of the menus, the tool bar and the key table.
    void run(Command command);
    // True for the input that is handled at once while a grid build, a scan or a picture read
    // holds the rest back: the menus and the Exit key (a close is never held).
    bool isAnsweredDuringWork(const QObject *window, const QEvent *event) const;
    // The four show/hide commands: each flips its View menu item, stores the flag at once
    // and lays the window out.
    void toggleToolBar() { m_panes->toggleToolBar(); }
    void toggleStatusBar() { m_panes->toggleStatusBar(); }
    void toggleFolderTree() { m_panes->toggleSidePane(SidePane::Tree); }
    void togglePreview() { m_panes->toggleSidePane(SidePane::Preview); }
    // The wallpaper command: the current picture becomes the desktop's wallpaper.
    void setWallpaper();
    // Shows the font toolbox (loading it the first time), not modal, and gives it the focus.
    void showToolbox();
    const about::Links &links() const { return m_linkCommands->links(); }
    void setLinks(const about::Links &links) { m_linkCommands->setLinks(links); }
    void setLinkOpener(std::unique_ptr<platform::LinkOpener> opener);
    about::AboutBox *aboutBox() const { return m_linkCommands->aboutBox(); }

    // --- Shutdown -----------------------------------------------------------------------
    // Registers a window that shutdown closes (newest first) after storing the settings.
    void registerLoadedWindow(QWidget *window);
    // What closing stores now: every window's place, the panes, the folder and layout.
    WindowSettings currentSettings() const;

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void createControls();
    void createParts();
    void wireParts();
    // Shows the searching text of the browser's types above the file area, ending in "…"
    // where it is cut; the whole text is the label's tool tip.
    void showTypesCaption();
    // Stores every setting and closes the other windows; once.
    void storeSettingsAndCloseWindows();

    platform::SettingsStore &m_settings;
    double m_tpp = 15.0;
    browser::Browser *m_browser = nullptr;
    std::unique_ptr<StatusBar> m_statusBar;

    ClientArea *m_client = nullptr;
    QToolBar *m_toolBar = nullptr;
    QWidget *m_titleStrip = nullptr;
    ElidedLabel *m_typesLabel = nullptr;
    QLabel *m_imagesLabel = nullptr;
    QProgressBar *m_progressBar = nullptr;
    foldertree::FolderTree *m_folderTree = nullptr;
    SplitterBar *m_treeSplitter = nullptr;
    SplitterBar *m_previewSplitter = nullptr;
    listview::QtListView *m_list = nullptr;
    QWidget *m_thumbArea = nullptr;
    QScrollBar *m_thumbScrollBar = nullptr;
    thumbs::ThumbStrip *m_thumbStrip = nullptr;
    preview::StretchImage *m_previewImage = nullptr;
    options::OptionsDialog *m_optionsDialog = nullptr;
    MainMenus *m_menus = nullptr;
    PaneLayout *m_panes = nullptr;
    LinkCommands *m_linkCommands = nullptr;

    preview::PreviewPane *m_previewPane = nullptr;
    thumbs::ThumbGrid *m_thumbGrid = nullptr;
    listview::ListInteraction *m_listInteraction = nullptr;
    preview::TiledPreviewHost *m_tiledPreview = nullptr;
    std::unique_ptr<platform::FontCatalogue> m_fonts;
    toolbox::ToolboxHost *m_toolbox = nullptr;
    std::unique_ptr<FolderChooser> m_dialogFolderChooser; // when none was given
    FolderChooser *m_folderChooser = nullptr;
    FolderScan *m_folderScan = nullptr;
    ListCommands *m_listCommands = nullptr;
    std::unique_ptr<wallpaper::DesktopWallpaperSetter> m_wallpaperSetter;
    wallpaper::WallpaperCommand *m_wallpaperCommand = nullptr;

    std::vector<QPointer<QWidget>> m_loadedWindows;
    bool m_closed = false;
    // The settings applied at start-up: their window corners are stored again where the
    // windows cannot tell theirs.
    WindowSettings m_appliedSettings;
};

} // namespace pavix::shell
