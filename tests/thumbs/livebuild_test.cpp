// The grid build keeps the windows alive: between its cells the event loop repaints and
// handles what is posted, while the program's own timers and deferred deletes wait for its
// end; a close during the build ends it (offscreen).
#include "support/mainfixture.h"
#include "support/mainparts.h"

#include "browser/browser.h"
#include "foldertree/foldertree.h"
#include "platform/busyscope.h"
#include "shell/settingskeys.h"
#include "thumbs/thumbgrid.h"
#include "thumbs/thumbstrip.h"

#include <QCoreApplication>
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

TEST(LiveGridBuild, CloseDuringTheBuildEndsItAndStoresTheSettings)
{
    MainFixture f;
    f.start(f.folderOfCopies(QStringLiteral("photos"), QStringLiteral("good/hopper.jpg"), Copies));
    shell::MainWindow &m = *f.main;
    ASSERT_FALSE(f.store.read(shell::SectionSettings, shell::KeyMainWidth).has_value());

    int placed = 0;
    QObject::connect(m.thumbGrid(), &thumbs::ThumbGrid::cellPlaced, &m, [&](int index) {
        placed = index + 1;
        if (index == 2)
            m.close();
    });
    testsupport::item(m, QStringLiteral("refreshItem"))->trigger();

    // The build stopped at the cell after the close; the cells left unbuilt stay hidden.
    EXPECT_EQ(placed, 3);
    EXPECT_EQ(visibleCells(*m.thumbStrip()), 3);
    EXPECT_FALSE(m.thumbStrip()->elementVisible(Copies - 1));
    EXPECT_FALSE(m.progressBar()->isVisible());
    // Closed as any close: the window's settings are stored.
    EXPECT_FALSE(m.isVisible());
    EXPECT_TRUE(f.store.read(shell::SectionSettings, shell::KeyMainWidth).has_value());

    // The next build runs whole: the stop was for that build only.
    m.show();
    placed = 0;
    QObject::disconnect(m.thumbGrid(), &thumbs::ThumbGrid::cellPlaced, &m, nullptr);
    QObject::connect(m.thumbGrid(), &thumbs::ThumbGrid::cellPlaced, &m, [&](int index) { placed = index + 1; });
    testsupport::item(m, QStringLiteral("refreshItem"))->trigger();
    EXPECT_EQ(placed, Copies);
    EXPECT_EQ(visibleCells(*m.thumbStrip()), Copies);
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
