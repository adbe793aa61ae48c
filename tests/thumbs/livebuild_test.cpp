// The grid build keeps the windows alive: between its cells the event loop repaints and
// handles what is posted, while the program's own timers and deferred deletes wait for its
// end; the user's input waits for it too, except a close, which ends it (offscreen).
#include "support/mainfixture.h"
#include "support/mainparts.h"

#include "browser/browser.h"
#include "foldertree/foldertree.h"
#include "platform/busyscope.h"
#include "shell/settingskeys.h"
#include "thumbs/thumbgrid.h"
#include "thumbs/thumbstrip.h"

#include <QAction>
#include <QCoreApplication>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QProgressBar>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace pavix;
using testsupport::MainFixture;

namespace {

constexpr int Copies = 12;

// Calls `onEvent` for each event of `type` that reaches `target`.
class EventProbe : public QObject {
public:
    EventProbe(QObject *target, QEvent::Type type, std::function<void()> onEvent)
        : m_type(type), m_onEvent(std::move(onEvent))
    {
        target->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == m_type)
            m_onEvent();
        return false;
    }

private:
    QEvent::Type m_type;
    std::function<void()> m_onEvent;
};

int visibleCells(const thumbs::ThumbStrip &strip)
{
    int visible = 0;
    for (int i = 0; i < strip.elementCount(); ++i)
        visible += strip.elementVisible(i) ? 1 : 0;
    return visible;
}

// Clicks `widget` at `at`, through its window, as the window system gives a click.
void clickAtWindow(QWidget *widget, QPoint at)
{
    QTest::mouseClick(widget->window()->windowHandle(), Qt::LeftButton, Qt::NoModifier,
                      widget->mapTo(widget->window(), at));
}

} // namespace

TEST(LiveGridBuild, PaintsAndHandlesPostedEventsBetweenCellsButHoldsTimersAndDeletes)
{
    MainFixture f;
    f.start(f.folderOfCopies(QStringLiteral("photos"), QStringLiteral("good/hopper.jpg"), Copies));
    shell::MainWindow &m = *f.main;
    testsupport::viewModeItem(m, 0)->trigger();
    thumbs::ThumbStrip &strip = *m.thumbStrip();
    ASSERT_TRUE(strip.isVisible());

    // What the strip showed each time it was painted, and when the probes were handled,
    // counted in cells placed so far.
    int placed = 0;
    QList<int> paintedCells;
    int postedAt = -1;
    int timerAt = -1;
    bool deletedDuringBuild = false;
    const QEvent::Type probeType = static_cast<QEvent::Type>(QEvent::registerEventType());
    QObject postTarget;
    EventProbe posted(&postTarget, probeType, [&] { postedAt = placed; });
    EventProbe painted(&strip, QEvent::Paint, [&] { paintedCells << visibleCells(strip); });
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, [&] { timerAt = placed; });
    QPointer<QObject> doomed = new QObject;
    QObject::connect(doomed, &QObject::destroyed, [&] { deletedDuringBuild = placed < Copies; });

    QObject::connect(m.thumbGrid(), &thumbs::ThumbGrid::cellPlaced, &m, [&](int index) {
        placed = index + 1;
        if (index == 1) {
            QCoreApplication::postEvent(&postTarget, new QEvent(probeType));
            timer.start(0);
            doomed->deleteLater();
        }
    });
    testsupport::item(m, QStringLiteral("refreshItem"))->trigger();

    ASSERT_EQ(placed, Copies);
    // Handled at the next cell, not after the last.
    EXPECT_EQ(postedAt, 2);
    // The grid was painted with its first cells while the others were still to come.
    EXPECT_TRUE(std::any_of(paintedCells.cbegin(), paintedCells.cend(), [](int cells) {
        return cells > 0 && cells < Copies;
    })) << testing::PrintToString(paintedCells);
    // The program's own timers and deferred deletes waited for the end of the build.
    EXPECT_EQ(timerAt, -1);
    EXPECT_TRUE(doomed);
    EXPECT_TRUE(QTest::qWaitFor([&] { return timerAt >= 0 && !doomed; }));
    EXPECT_EQ(timerAt, Copies);
    EXPECT_FALSE(deletedDuringBuild);
    EXPECT_FALSE(platform::BusyScope::isBusy());
}

TEST(LiveGridBuild, EachWayOfClosingEndsTheBuildAtOnceAndDropsTheHeldInput)
{
    struct Way {
        const char *what;
        std::function<void(shell::MainWindow &)> close;
    };
    const Way ways[] = {
        {"the close button", [](shell::MainWindow &m) { m.windowHandle()->close(); }},
        {"Alt+X", [](shell::MainWindow &m) { QTest::keyClick(m.windowHandle(), Qt::Key_X, Qt::AltModifier); }},
        {"File > Exit",
         [](shell::MainWindow &m) {
             QMenuBar *bar = m.menuBar();
             QMenu *file = testsupport::menu(m, QStringLiteral("fileMenu"));
             clickAtWindow(bar, bar->actionGeometry(file->menuAction()).center());
             ASSERT_TRUE(file->isVisible());
             QAction *exit = testsupport::item(m, QStringLiteral("exitItem"));
             QTest::mouseClick(file->windowHandle(), Qt::LeftButton, Qt::NoModifier,
                               file->actionGeometry(exit).center());
         }},
    };
    for (const Way &way : ways) {
        SCOPED_TRACE(way.what);
        MainFixture f;
        f.start(f.folderOfCopies(QStringLiteral("photos"), QStringLiteral("good/hopper.jpg"), Copies));
        shell::MainWindow &m = *f.main;
        ASSERT_FALSE(f.store.read(shell::SectionSettings, shell::KeyMainWidth).has_value());

        int placed = 0;
        QObject::connect(m.thumbGrid(), &thumbs::ThumbGrid::cellPlaced, &m, [&](int index) {
            placed = index + 1;
            if (index == 2) {
                // A key given before the close is dropped with the close.
                QTest::keyClick(m.windowHandle(), Qt::Key_T, Qt::ControlModifier);
                way.close(m);
            }
        });
        testsupport::item(m, QStringLiteral("refreshItem"))->trigger();

        // The build stopped at the cell after the close; the cells left unbuilt stay hidden.
        EXPECT_EQ(placed, 3);
        EXPECT_EQ(visibleCells(*m.thumbStrip()), 3);
        EXPECT_FALSE(m.progressBar()->isVisible());
        // Closed as any close: the window's settings are stored.
        EXPECT_FALSE(m.isVisible());
        EXPECT_TRUE(f.store.read(shell::SectionSettings, shell::KeyMainWidth).has_value());
        // Handles what was posted, the giving back of held input among it.
        QCoreApplication::processEvents();
        EXPECT_TRUE(testsupport::item(m, QStringLiteral("toolBarItem"))->isChecked());

        // The next build runs whole: the stop was for that build only.
        m.show();
        placed = 0;
        QObject::disconnect(m.thumbGrid(), &thumbs::ThumbGrid::cellPlaced, &m, nullptr);
        QObject::connect(m.thumbGrid(), &thumbs::ThumbGrid::cellPlaced, &m, [&](int index) { placed = index + 1; });
        testsupport::item(m, QStringLiteral("refreshItem"))->trigger();
        EXPECT_EQ(placed, Copies);
        EXPECT_EQ(visibleCells(*m.thumbStrip()), Copies);
    }
}

TEST(LiveGridBuild, InputGivenDuringTheBuildRunsAfterItInItsOrder)
{
    MainFixture f;
    f.start(f.folderOfCopies(QStringLiteral("photos"), QStringLiteral("good/hopper.jpg"), Copies));
    shell::MainWindow &m = *f.main;
    testsupport::viewModeItem(m, 0)->trigger();
    thumbs::ThumbStrip &strip = *m.thumbStrip();
    QAction *toolBarItem = testsupport::item(m, QStringLiteral("toolBarItem"));
    QAction *statusBarItem = testsupport::item(m, QStringLiteral("statusBarItem"));
    ASSERT_TRUE(toolBarItem->isChecked() && statusBarItem->isChecked());

    // What had happened when each command ran: the cells built and the cell marked.
    int placed = 0;
    QStringList ran;
    auto note = [&](const char *what) {
        ran << QStringLiteral("%1 at %2 cells, marked %3")
                   .arg(QLatin1String(what))
                   .arg(placed)
                   .arg(strip.markedElement());
    };
    QObject::connect(toolBarItem, &QAction::toggled, [&] { note("tool bar"); });
    QObject::connect(statusBarItem, &QAction::toggled, [&] { note("status bar"); });
    QObject::connect(m.thumbGrid(), &thumbs::ThumbGrid::cellPlaced, &m, [&](int index) {
        placed = index + 1;
        if (index == 2) {
            // Two keys of the key table with a click on a cell between them, then a
            // shortcut (F10 opens the first menu).
            QTest::keyClick(m.windowHandle(), Qt::Key_T, Qt::ControlModifier);
            clickAtWindow(&strip, strip.elementRect(1).center());
            QTest::keyClick(m.windowHandle(), Qt::Key_S, Qt::ControlModifier);
            QTest::keyClick(m.windowHandle(), Qt::Key_F10);
        }
    });
    testsupport::item(m, QStringLiteral("refreshItem"))->trigger();

    ASSERT_EQ(placed, Copies);
    EXPECT_TRUE(ran.isEmpty()) << ran.join(u'\n').toStdString();
    EXPECT_TRUE(QTest::qWaitFor([&] { return ran.size() == 2; }));
    EXPECT_EQ(ran.join(u'\n').toStdString(), QStringLiteral("tool bar at %1 cells, marked -1\n"
                                                            "status bar at %1 cells, marked 1")
                                                 .arg(Copies)
                                                 .toStdString());
    EXPECT_FALSE(toolBarItem->isChecked());
    EXPECT_FALSE(statusBarItem->isChecked());
    EXPECT_TRUE(QTest::qWaitFor([&] { return testsupport::menu(m, QStringLiteral("fileMenu"))->isVisible(); }));
}

TEST(LiveGridBuild, StartupShowsTheListingWindowBeforeTheFirstBuildFillsIt)
{
    MainFixture f;
    const QString folder = f.folderOfCopies(QStringLiteral("photos"), QStringLiteral("good/hopper.jpg"), Copies);
    bool shownAtFirstCell = false;
    int listedAtFirstCell = -1;
    bool builtWhenShown = true;
    f.start(folder, [&](shell::MainWindow &m) {
        builtWhenShown = m.thumbStrip()->elementVisible(0);
        QObject::connect(m.thumbGrid(), &thumbs::ThumbGrid::cellPlaced, &m,
                         [&m, &shownAtFirstCell, &listedAtFirstCell](int index) {
                             if (index != 0)
                                 return;
                             shownAtFirstCell = m.isVisible();
                             listedAtFirstCell = m.browser().files().listCount();
                         });
    });
    EXPECT_FALSE(builtWhenShown);
    EXPECT_TRUE(shownAtFirstCell);
    EXPECT_EQ(listedAtFirstCell, Copies);
    EXPECT_EQ(visibleCells(*f.main->thumbStrip()), Copies);
}

TEST(LiveGridBuild, WhatHappensDuringTheBuildWaitsForItsEnd)
{
    MainFixture f;
    const QString photos = f.folderOfCopies(QStringLiteral("photos"), QStringLiteral("good/hopper.jpg"), Copies);
    const QString others = f.folderWith(QStringLiteral("others"), {"good/hopper.bmp", "good/pal8.bmp"});
    f.start(photos);
    shell::MainWindow &m = *f.main;
    const int widthBefore = m.folderTree()->width();

    // Midway, the tree reads another folder and the desktop makes the window wider.
    QString listedAtEnd;
    int treeWidthAtEnd = -1;
    QObject::connect(m.thumbGrid(), &thumbs::ThumbGrid::cellPlaced, &m, [&](int index) {
        if (index == 1) {
            m.folderTree()->setSelectedFolder(others);
            m.resize(m.width() + 200, m.height());
        }
        if (index == Copies - 1) {
            listedAtEnd = m.browser().folder();
            treeWidthAtEnd = m.folderTree()->width();
        }
    });
    testsupport::item(m, QStringLiteral("refreshItem"))->trigger();

    // The build finished the folder it began with, in the layout it began with.
    EXPECT_EQ(listedAtEnd, photos);
    EXPECT_EQ(treeWidthAtEnd, widthBefore);
    EXPECT_EQ(m.browser().files().listCount(), Copies);
    // Then the other folder is listed and the panes follow the new size.
    EXPECT_TRUE(QTest::qWaitFor([&] { return m.browser().folder() == others; }));
    EXPECT_EQ(m.browser().files().listCount(), 2);
    EXPECT_TRUE(QTest::qWaitFor([&] { return m.folderTree()->width() != widthBefore; }));
}

TEST(LivePictureRead, TheWindowsAreServedWhileTheSelectedPictureIsReadButNoTimerRuns)
{
    MainFixture f;
    f.start(f.folderWith(QStringLiteral("one"), {"good/hopper.jpg"}));
    shell::MainWindow &m = *f.main;

    bool reading = false;
    int postedWhileReading = 0;
    int timerWhileReading = 0;
    const QEvent::Type probeType = static_cast<QEvent::Type>(QEvent::registerEventType());
    QObject postTarget;
    EventProbe posted(&postTarget, probeType, [&] { postedWhileReading += reading ? 1 : 0; });
    QTimer timer;
    timer.setSingleShot(true);
    bool fired = false;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        fired = true;
        timerWhileReading += reading ? 1 : 0;
    });

    QCoreApplication::postEvent(&postTarget, new QEvent(probeType));
    timer.start(0);
    reading = true;
    EXPECT_TRUE(m.browser().selectFile(QStringLiteral("hopper.jpg")));
    reading = false;

    EXPECT_EQ(postedWhileReading, 1);
    EXPECT_FALSE(m.browser().picture().isNull());
    EXPECT_TRUE(QTest::qWaitFor([&] { return fired; }));
    EXPECT_EQ(timerWhileReading, 0);
}
