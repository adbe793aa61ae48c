#pragma once
// The main window: tool bar, title strip, folder tree, file area (list or thumbnail grid),
// preview pane, two splitters and the optional status line, laid out in twips and
// converted to pixels once, at the widgets. It creates the browsing state and the parts
// of the window, wires their signals to each other and to the menus, and stores the
// settings as they change and when it closes.

#include "about/links.h"
#include "shell/commandtable.h"
#include "shell/layoutmath.h"

#include <QMainWindow>
#include <QPointer>

#include <array>
#include <functional>
#include <memory>
#include <vector>

class QAction;
class QActionGroup;
class QLabel;
class QMenu;
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

// The help page, among the program's data files.
inline const QString HelpPage = QStringLiteral("help/index.html");

class ClientArea;
class ElidedLabel;
class FolderScan;
class ListCommands;
class SplitterBar;
class StatusBar;
class StatusWindow;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    MainWindow(platform::SettingsStore &settings, platform::ShellInfo &shellInfo);
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
    QWidget *treeGhost() const { return m_treeGhost; }
    QWidget *previewGhost() const { return m_previewGhost; }
    // The status window while the status bar is switched on, else nullptr.
    StatusWindow *statusWindow() const;
    // A menu item or menu by its object name ("refreshItem", "viewArrangeMenu", ...).
    QAction *menuItem(const QString &name) const;
    QMenu *menu(const QString &name) const;

    // --- Layout -------------------------------------------------------------------------
    // Lays out every pane from the window's size, the splitter positions and the pane
    // flags, and fits the preview picture again.
    void sizeControls();
    // The resize handling: minimum width, status line re-dock, splitters kept in
    // proportion, then sizeControls.
    void handleResize();
    // Sizes the window to an outer width and height in twips and runs the resize handling
    // (also while the window is hidden).
    void resizeToOuter(double widthTwips, double heightTwips);
    // The window's outer width and height and its client height in twips.
    double outerWidthTwips() const;
    double outerHeightTwips() const;
    double clientHeightTwips() const;
    // Where every pane is (twips), as the last layout placed it.
    const Controls &controls() const { return m_controls; }
    // The splitter positions and ratios; setting them lays nothing out.
    const SplitterState &splitters() const { return m_splitters; }
    void setSplitters(const SplitterState &splitters) { m_splitters = splitters; }
    bool isDraggingSplitter() const { return m_dragging; }
    // Shows or hides the tool bar, the folder tree and the preview frame with their
    // splitters (start-up), without laying out.
    void setPaneFlags(bool toolBar, bool tree, bool preview);
    // Switches hot tracking of the details header.
    void toggleHeaderHotTrack();

    // --- Show and hide ------------------------------------------------------------------
    // The four show/hide commands: each flips its View menu item, stores the flag at once
    // and lays the window out.
    void toggleToolBar();
    void toggleStatusBar();
    void toggleFolderTree();
    void togglePreview();
    // Creates the status line in simple mode (start-up and the status bar toggle).
    void createStatusWindow();

    // --- Folders ------------------------------------------------------------------------
    // Holds back the tree's folder changes (start-up) and scans the held one on release.
    void holdTreeNotifications(bool hold);
    // Shows the searching text above the file area, ending in "…" where it is cut; the
    // whole text is the label's tool tip.
    void setTypesCaption(const QString &text);

    // --- Commands -----------------------------------------------------------------------
    // Runs a command of the menus, the tool bar and the key table.
    void run(Command command);
    // The web and mail addresses (start-up reads them from the settings).
    const about::Links &links() const { return m_links; }
    void setLinks(const about::Links &links) { m_links = links; }
    // Where links and the help page are handed to the desktop (tests give their own).
    void setLinkOpener(std::unique_ptr<platform::LinkOpener> opener);
    // The About box while it is shown, else nullptr.
    about::AboutBox *aboutBox() const;
    // How the user is told that a page or address could not be opened (a message box;
    // tests answer it themselves).
    void setUnopenedReporter(std::function<void(const QString &message)> reporter);

    // --- Font toolbox -------------------------------------------------------------------
    // Shows the font toolbox (loading it the first time), not modal, and gives it the focus.
    void showToolbox();

    // --- Shutdown -----------------------------------------------------------------------
    // Registers a window that shutdown closes (newest first) after storing the settings.
    void registerLoadedWindow(QWidget *window);

public slots:
    // The wallpaper command: the current picture becomes the desktop's wallpaper.
    void setWallpaper();

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createControls();
    void createMenus();
    void createToolBar();
    void createParts();
    void wireParts();
    void applyControls();
    LayoutInput layoutInput() const;
    void placeWidget(QWidget *widget, const TwipRect &rect);
    // Places the thumbnail strip inside its viewport: top and height in centimetres.
    void placeThumbStrip(double topCm, double heightCm);
    void storePaneFlag(const QString &key, bool shown);
    // Shows or hides the folder tree or the preview frame with its splitter, stores the
    // flag and lays out.
    enum class SidePane { Tree, Preview };
    void setSidePaneShown(SidePane pane, bool shown);
    void onTreeFolderChanged();
    // Splitter dragging: a ghost bar follows the pointer and the release commits it.
    void startSplitterDrag(QWidget *ghost, const TwipRect &splitter);
    void moveSplitterGhost(QWidget *ghost, const TwipRect &splitter, double x);
    void releaseTreeSplitter();
    void releasePreviewSplitter();
    void popUp(QMenu *menu);
    // True when `event` is a key press reaching `watched`, a widget of this window, as the
    // first widget the key reaches (not passed on to a parent).
    bool isFirstDelivery(QObject *watched, QEvent *event);
    void openLink(const QUrl &address);
    void showHelp();
    // Stores every setting and closes the other windows; once.
    void storeSettingsAndCloseWindows();

    platform::SettingsStore &m_settings;
    double m_tpp = 15.0;
    browser::Browser *m_browser = nullptr;
    std::unique_ptr<StatusBar> m_statusBar;

    ClientArea *m_client = nullptr;
    QToolBar *m_toolBar = nullptr;
    QActionGroup *m_viewButtons = nullptr;
    QWidget *m_titleStrip = nullptr;
    ElidedLabel *m_typesLabel = nullptr;
    QLabel *m_imagesLabel = nullptr;
    QProgressBar *m_progressBar = nullptr;
    foldertree::FolderTree *m_folderTree = nullptr;
    SplitterBar *m_treeSplitter = nullptr;
    SplitterBar *m_previewSplitter = nullptr;
    QWidget *m_treeGhost = nullptr;
    QWidget *m_previewGhost = nullptr;
    listview::QtListView *m_list = nullptr;
    QWidget *m_thumbArea = nullptr;
    QScrollBar *m_thumbScrollBar = nullptr;
    thumbs::ThumbStrip *m_thumbStrip = nullptr;
    preview::StretchImage *m_previewImage = nullptr;
    options::OptionsDialog *m_optionsDialog = nullptr;

    preview::PreviewPane *m_previewPane = nullptr;
    thumbs::ThumbGrid *m_thumbGrid = nullptr;
    listview::ListInteraction *m_listInteraction = nullptr;
    preview::TiledPreviewHost *m_tiledPreview = nullptr;
    std::unique_ptr<platform::FontCatalogue> m_fonts;
    toolbox::ToolboxHost *m_toolbox = nullptr;
    FolderScan *m_folderScan = nullptr;
    ListCommands *m_listCommands = nullptr;
    std::unique_ptr<wallpaper::DesktopWallpaperSetter> m_wallpaperSetter;
    wallpaper::WallpaperCommand *m_wallpaperCommand = nullptr;

    QAction *m_toolBarItem = nullptr;
    QAction *m_statusBarItem = nullptr;
    QAction *m_treeItem = nullptr;
    QAction *m_previewItem = nullptr;
    std::array<QAction *, 5> m_viewModeItems{};
    std::array<QAction *, 5> m_listViewItems{};
    QMenu *m_viewArrangeMenu = nullptr;
    QMenu *m_listMenu = nullptr;
    QMenu *m_listSortMenu = nullptr;
    QMenu *m_wallpaperMenu = nullptr;
    QMenu *m_previewMenu = nullptr;
    QMenu *m_toolBarMenu = nullptr;
    QMenu *m_treeMenu = nullptr;

    std::function<void(const QString &)> m_reportUnopened;
    about::Links m_links;
    std::unique_ptr<platform::LinkOpener> m_linkOpener;
    QPointer<about::AboutBox> m_aboutBox;
    Controls m_controls;
    SplitterState m_splitters;
    std::vector<QPointer<QWidget>> m_loadedWindows;
    // Left edges of the two ghost bars as last placed, twips.
    double m_treeGhostLeft = 0;
    double m_previewGhostLeft = 0;
    // A key press was announced and has not yet reached a widget.
    bool m_keyAnnounced = false;
    bool m_dragging = false;
    bool m_holdTree = false;
    bool m_treePending = false;
    bool m_closed = false;

    friend class ClientArea;
};

} // namespace pavix::shell
