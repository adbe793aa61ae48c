#pragma once
// The main window `Main`: tool bar, title strip, folder tree, file area (list or thumbnail
// grid), preview pane, two splitters and the optional status window, laid out in twips by
// SizeControls and converted to pixels once, at the widgets.

#include "catalogue/filelist.h"
#include "catalogue/iconcache.h"
#include "catalogue/typepatterns.h"
#include "shell/layoutmath.h"

#include <QImage>
#include <QMainWindow>
#include <QPointer>

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

class QAction;
class QActionGroup;
class QLabel;
class QMenu;
class QProgressBar;
class QScrollBar;
class QToolBar;
class QToolButton;

namespace pavix::platform {
class QtListView;
}
namespace pavix::preview {
class StretchImage;
}
namespace pavix::catalogue {
class FolderScan;
class ListInteraction;
class OptionsDialog;
}
namespace pavix::thumbs {
class ThumbGrid;
class ThumbStrip;
}
namespace pavix::preview {
class PreviewPane;
}
namespace pavix::listview {
class ListCommands;
}

namespace pavix::shell {

class SettingsStore;
class FolderTree;
class SplitterBar;
class StatusWindow;
class ClientArea;

// Texts of the program shown in the main window.
inline const QString AppTitle = QStringLiteral("Pavix");
inline const QString ImagesLabel = QStringLiteral("Images : ");
inline const QString ImagesLabelBare = QStringLiteral("Images :");
inline const QString ClickHint =
    QStringLiteral("Click an item to preview it or Double click it to show the tiled image");
inline const QString NoImagesMessage =
    QStringLiteral("This directory does not contain supported images.");

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    MainWindow(SettingsStore &settings, catalogue::ShellInfo &shellInfo);
    ~MainWindow() override;

    // Twips per pixel of this window's screen, fixed when the window is created.
    double twipsPerPixel() const { return m_tpp; }

    // --- Layout -------------------------------------------------------------------------
    // Lays out every pane from the window's size, the splitter positions and the pane
    // flags.
    void SizeControls();
    // Switches hot tracking of the details header (on after the one call at start-up).
    void SetHeaderHotTrack();
    // The resize handling: minimum width, status window re-dock, splitters kept in
    // proportion, then SizeControls.
    void Form_Resize();
    // The window's outer width and client height in twips, as the layout reads them.
    double outerWidthTwips() const;
    double outerHeightTwips() const;
    double clientHeightTwips() const;
    // Shows or hides the tool bar, the folder tree and the preview frame with their
    // splitters (start-up), without laying out.
    void setPaneFlags(bool tbar, bool tv, bool pv);
    // Sizes the window to an outer width and height in twips and runs the resize handling
    // (also while the window is hidden).
    void resizeToOuter(double widthTwips, double heightTwips);

    // The four show/hide commands.
    void mnuViewToolbar_Click();
    void mnuViewStatusBar_Click();
    void mnuViewTv_Click();
    void mnuViewPv_Click();
    // Creates the status window in simple mode (start-up and the status bar toggle).
    void createStatusWindow();

    // --- Splitters ----------------------------------------------------------------------
    void Isa_MouseDown(int button, int shift, double x, double y);
    void Isa_MouseMove(int button, int shift, double x, double y);
    void Isa_MouseUp(int button, int shift, double x, double y);
    void Isb_MouseDown(int button, int shift, double x, double y);
    void Isb_MouseMove(int button, int shift, double x, double y);
    void Isb_MouseUp(int button, int shift, double x, double y);

    // --- Folder scans -------------------------------------------------------------------
    // Holds back the tree's notifications (start-up) and runs the held one on release.
    void holdTreeNotifications(bool hold);
    // The tree's folder-change notification: the tree scan, unless notifications are held.
    void Tv_FolderChange();
    // Writes a one-line message to the status window, in simple mode; nothing when the
    // status window does not exist.
    void StatusMessage(const QString &text);

    // Shows the searching text above the file area; the whole text is also the label's
    // tool tip, as the label ends where the image count begins.
    void setTypesCaption(const QString &text);

    // --- Shutdown -----------------------------------------------------------------------
    // Registers a window that shutdown closes (newest first) after storing the settings.
    void registerLoadedWindow(QWidget *window);

    // --- Controls (names as the program uses them) --------------------------------------
    QToolBar *Tbar = nullptr;
    QWidget *picTitles = nullptr;
    QLabel *lblTypes = nullptr;
    QLabel *lblImg = nullptr;
    QProgressBar *proBar = nullptr;
    FolderTree *Tv = nullptr;
    SplitterBar *Isa = nullptr;
    SplitterBar *Isb = nullptr;
    platform::QtListView *Lv = nullptr;
    QWidget *picBase = nullptr;
    QScrollBar *VScroll1 = nullptr;
    thumbs::ThumbStrip *picScroll = nullptr;
    QWidget *Psa = nullptr;
    QWidget *Psb = nullptr;
    preview::StretchImage *Primg = nullptr;
    // The status window while it exists (hStatusBar 0 when null).
    StatusWindow *hStatusBar = nullptr;
    catalogue::OptionsDialog *Options = nullptr;
    // The tiled preview window while it is loaded.
    QPointer<QWidget> Preview;

    // Menu items.
    QAction *mnuFileOpen = nullptr;
    QAction *mnuFileExit = nullptr;
    QAction *mnuViewToolbar = nullptr;
    QAction *mnuViewStatusBar = nullptr;
    QAction *mnuViewTv = nullptr;
    QAction *mnuViewPv = nullptr;
    std::array<QAction *, 5> mnuListViewMode{};
    std::array<QAction *, 5> mnuIcons{};
    QMenu *mnuView = nullptr;
    QMenu *mnuViewArrangeIcons = nullptr;
    QAction *mnuViewRefresh = nullptr;
    QMenu *mnuLv = nullptr;
    QAction *mnuLvRefresh = nullptr;
    QMenu *mnuLvView = nullptr;
    QMenu *mnuLvSort = nullptr;
    QMenu *mnuWall = nullptr;
    QAction *mnuPWallp = nullptr;
    QMenu *mnuPv = nullptr;
    QMenu *mnuTb = nullptr;
    QMenu *mnuTv = nullptr;
    QAction *mnuHidePv = nullptr;
    QAction *mnuHideTb = nullptr;
    QAction *mnuHideTv = nullptr;
    // Tool bar buttons by key ("Open", "View Thumbnails", ...).
    QToolButton *toolButton(const QString &key) const;
    // The tool bar's action for a button key; nullptr for an unknown key.
    QAction *toolAction(const QString &key) const;
    QString pressedViewButton() const;
    void pressToolButton(const QString &key);

    // --- Shared state -------------------------------------------------------------------
    std::int32_t IsaLeft = 0;
    std::int32_t IsbLeft = 0;
    float IsaRatio = 0.0f;
    float IsbRatio = 0.0f;
    bool Dragging = false;
    catalogue::TypePatterns patterns;
    catalogue::TypeTexts typeTexts;
    std::int32_t PrvLeft = 1000;
    std::int32_t PrvTop = 1000;
    std::int32_t PrvWidth = 6500;
    std::int32_t PrvHeight = 6500;
    QString CurFolder;
    QString CurFile;
    std::int32_t ImgWidth = 0;
    std::int32_t ImgHeight = 0;
    int SortColumn = 0;
    // The view-mode and sorting commands.
    listview::ListCommands *listCommands = nullptr;
    catalogue::FileList Files;
    catalogue::IconCache icons;
    // The hidden probe `imgFake`: the picture of the current selection at natural size.
    QImage imgFake;

    // Where the preview frame `Pv` is (twips) and whether it is shown.
    const Controls &controls() const { return m_ctl; }
    bool pvVisible() const { return m_ctl.pvVisible; }
    bool tvVisible() const;
    bool tbarVisible() const;

    // The parts of the window that carry the scans, the list's and the grid's handling and
    // the preview pane.
    catalogue::FolderScan *folderScan = nullptr;
    catalogue::ListInteraction *listInteraction = nullptr;
    thumbs::ThumbGrid *thumbGrid = nullptr;
    preview::PreviewPane *previewPane = nullptr;


    SettingsStore &settings() { return m_settings; }
    // Places the thumbnail strip inside its viewport: top and height in centimetres.
    void setStripGeometry(double topCm, double heightCm);

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void createControls();
    void elideTypesCaption();
    void storePaneFlag(const QString &key, bool shown);
    void createMenus();
    void createToolBar();
    void applyControls();
    LayoutInput layoutInput() const;
    void placeWidget(QWidget *widget, const TwipRect &rect);
    void showPopup(QMenu *menu);
    void Form_Unload();
    void splitterDown(SplitterBar *bar, QWidget *ghostBar, const TwipRect &barRect);
    void splitterMove(QWidget *ghostBar, const TwipRect &barRect, double x);
    bool eventFilter(QObject *watched, QEvent *event) override;

    SettingsStore &m_settings;
    double m_tpp = 15.0;
    ClientArea *m_client = nullptr;
    Controls m_ctl;
    QActionGroup *m_viewButtons = nullptr;
    std::vector<std::pair<QString, QToolButton *>> m_toolButtons;
    std::vector<QPointer<QWidget>> m_loadedWindows;
    // Left edges of the ghost bars Psa and Psb as last placed, twips.
    double m_ghostLeft[2] = {0, 0};
    QString m_typesCaption;
    bool m_holdTree = false;
    bool m_treePending = false;
    bool m_unloaded = false;
};

} // namespace pavix::shell
