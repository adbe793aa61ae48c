// A folder of 20,000 small pictures on the real main window: listed and usable promptly,
// without a memory blow-up, in the ordinary window and in one wide enough for the largest
// grid it builds. The bounds only catch a hang or a blow-up on a loaded machine (and
// under the sanitizers); the figures themselves are printed.
#include "support/boxanswerer.h"
#include "support/mainfixture.h"
#include "support/mainparts.h"
#include "support/processmemory.h"
#include "support/smallpictures.h"

#include "browser/browser.h"
#include "foldertree/foldertree.h"
#include "listview/qtlistview.h"
#include "platform/pictureservice.h"
#include "preview/stretchimage.h"
#include "shell/listcommands.h"
#include "shell/settingskeys.h"
#include "thumbs/gridgeometry.h"
#include "thumbs/thumbgrid.h"
#include "thumbs/thumbstrip.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QScrollBar>

#include <cstdio>
#include <memory>

#include <unistd.h>

using namespace pavix;
using testsupport::MainFixture;

namespace {

constexpr int LargeCount = 20000;
constexpr qint64 ScanBoundMs = 120'000;
constexpr qint64 MemoryBoundKib = 1024 * 1024;

class LargeFolder : public ::testing::Test {
protected:
    // The 20,000 pictures are written once for the tests of this suite.
    static void SetUpTestSuite()
    {
        s_scratch = new testsupport::ScratchFolder;
        s_kinds =
            testsupport::smallPictureKinds(testsupport::corpusBytes(QStringLiteral("good/treescap-interlaced.gif")));
        s_folder = s_scratch->makeFolder(QStringLiteral("large"));
        s_written = testsupport::writeSmallPictures(s_folder, LargeCount, s_kinds);
    }
    static void TearDownTestSuite()
    {
        delete s_scratch;
        s_scratch = nullptr;
    }
    void SetUp() override { ASSERT_TRUE(s_written) << qPrintable(s_folder); }

    // Starts the window on `folder` as the program does, timing it until the window is shown
    // with the folder listed and its grid built. A message box the scan shows is answered
    // with OK and its text noted.
    qint64 start(const QString &folder)
    {
        f.store.write(QString(shell::SectionSettings), QString(shell::KeyFolder), folder);
        QElapsedTimer timer;
        timer.start();
        f.start(folder);
        return timer.elapsed();
    }

    static inline testsupport::ScratchFolder *s_scratch = nullptr;
    static inline std::vector<testsupport::PictureKind> s_kinds;
    static inline QString s_folder;
    static inline bool s_written = false;

    testsupport::BoxAnswerer boxes;
    MainFixture f;
};

} // namespace

TEST_F(LargeFolder, TwentyThousandPicturesAreListedAtOnceAndTheGridAsksForRoom)
{
    const bool peakRestarted = testsupport::restartPeakResident();
    const qint64 peakBefore = testsupport::peakResidentKib();
    const qint64 ms = start(s_folder);
    const qint64 peakGrowth = testsupport::peakResidentKib() - peakBefore;
    shell::MainWindow &m = *f.main;
    std::printf("[ figures  ] %d pictures, ordinary window: shown in %lld ms, peak memory +%lld KiB%s\n", LargeCount,
                ms, peakGrowth, peakRestarted ? "" : " (peak not restarted)");

    EXPECT_LT(ms, ScanBoundMs);
    EXPECT_LT(peakGrowth, MemoryBoundKib);
    EXPECT_EQ(m.list()->count(), LargeCount);
    EXPECT_EQ(m.imagesLabel()->text(), QStringLiteral("Images : %1").arg(LargeCount));
    // The grid holds far fewer rows than 20,000 pictures need in a window this size: it said
    // so once, before the window was shown, and built nothing.
    EXPECT_EQ(boxes.texts(), QStringList{thumbs::rowLimitMessage()});
    EXPECT_EQ(m.thumbStrip()->elementCount(), 1);
    EXPECT_FALSE(m.thumbStrip()->elementVisible(0));

    // Sorting and switching the list's layout take little longer than listing.
    QElapsedTimer timer;
    timer.start();
    testsupport::viewModeItem(m, 4)->trigger();
    m.listCommands()->arrangeBy(1);
    m.listCommands()->sortDescending();
    m.listCommands()->arrangeBy(0);
    testsupport::viewModeItem(m, 1)->trigger();
    const qint64 sortMs = timer.elapsed();
    std::printf("[ figures  ] details, two sorts by size, one by name and large icons again: %lld ms\n", sortMs);
    EXPECT_LT(sortMs, ScanBoundMs);
    EXPECT_EQ(m.list()->count(), LargeCount);
    EXPECT_EQ(m.list()->itemText(1), testsupport::smallPictureName(0, s_kinds));

    // Usable at once: the last entry of the list previews its picture.
    const int last = m.list()->count();
    m.list()->setSelectedItem(last);
    emit m.list()->itemClick(last);
    EXPECT_EQ(m.browser().currentFile(), testsupport::smallPictureName(LargeCount - 1, s_kinds));
    EXPECT_EQ(m.browser().picture().size(), QSize(16, 16));
    EXPECT_TRUE(m.previewImage()->hasPicture());
}

TEST_F(LargeFolder, TheLargestGridOfTheWidestWindowIsBuiltAndShown)
{
    // The window as wide as the screen lets it be, with the file area between the splitters
    // taking nearly all of it.
    f.store.write(QString(shell::SectionSettings), QString(shell::KeyMainWidth), QStringLiteral("24000"));
    f.store.write(QString(shell::SectionSettings), QString(shell::KeyMainHeight), QStringLiteral("14000"));
    f.store.write(QString(shell::SectionSettings), QString(shell::KeyTreeSplitterLeft), QStringLiteral("600"));
    f.store.write(QString(shell::SectionSettings), QString(shell::KeyPreviewSplitterLeft), QStringLiteral("23000"));
    // How many columns this window has: a first start on one picture tells.
    const QString one = f.scratch.makeFolder(QStringLiteral("one"));
    ASSERT_TRUE(testsupport::writeSmallPictures(one, 1, s_kinds));
    start(one);
    const int columns = f.main->thumbGrid()->lastColumn() + 1;
    ASSERT_GE(columns, 2);
    f.main.reset();
    // The most pictures the grid takes: every row it may grow to, full. Hard links to the
    // large folder's pictures make them.
    const int count = std::min(LargeCount, columns * thumbs::RowLimit);
    const QString full = f.scratch.makeFolder(QStringLiteral("full"));
    for (int i = 0; i < count; ++i) {
        const QString name = testsupport::smallPictureName(i, s_kinds);
        ASSERT_EQ(::link(QFile::encodeName(s_folder + u'/' + name).constData(),
                         QFile::encodeName(full + u'/' + name).constData()),
                  0)
            << qPrintable(name);
    }

    const bool peakRestarted = testsupport::restartPeakResident();
    const qint64 peakBefore = testsupport::peakResidentKib();
    const qint64 ms = start(full);
    const qint64 peakGrowth = testsupport::peakResidentKib() - peakBefore;
    shell::MainWindow &m = *f.main;
    std::printf(
        "[ figures  ] %d pictures in %d columns: shown with every thumbnail in %lld ms, peak memory +%lld KiB%s\n",
        count, columns, ms, peakGrowth, peakRestarted ? "" : " (peak not restarted)");
    testsupport::viewModeItem(m, 0)->trigger();
    ASSERT_TRUE(m.thumbArea()->isVisible());

    EXPECT_LT(ms, ScanBoundMs);
    EXPECT_LT(peakGrowth, MemoryBoundKib);
    EXPECT_TRUE(boxes.texts().isEmpty()) << qPrintable(boxes.texts().value(0));
    EXPECT_EQ(m.list()->count(), count);
    ASSERT_EQ(m.thumbStrip()->elementCount(), count);
    // The first screen and the last row show pictures, each cell in its place.
    const QImage unreadable = platform::unreadableCell(m.thumbStrip()->elementPicture(0).size());
    for (int i : {0, 1, columns - 1, columns, 3 * columns + 1, count - columns, count - 1}) {
        EXPECT_TRUE(m.thumbStrip()->elementVisible(i)) << i;
        EXPECT_FALSE(m.thumbStrip()->elementPicture(i).isNull()) << i;
        EXPECT_NE(m.thumbStrip()->elementPicture(i), unreadable) << i;
        EXPECT_EQ(m.thumbStrip()->elementPosition(i), thumbs::cellPosition(i, columns)) << i;
    }
    EXPECT_TRUE(m.thumbScrollBar()->isVisible());

    // The last thumbnail can be reached and selected.
    m.thumbScrollBar()->setValue(m.thumbScrollBar()->maximum());
    m.thumbGrid()->selectThumb(count - 1);
    EXPECT_EQ(m.browser().currentFile(), testsupport::smallPictureName(count - 1, s_kinds));
    EXPECT_FALSE(m.browser().picture().isNull());
    EXPECT_TRUE(m.thumbStrip()->markerVisible());
}
