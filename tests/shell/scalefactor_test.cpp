// Pavix on a screen scaled to 200 %. Qt reads the factor as the application starts, so the
// test runs itself again, alone, in a process of its own with QT_SCALE_FACTOR=2 (offscreen).
#include "about/aboutbackground.h"
#include "about/aboutbox.h"
#include "platform/linkopener.h"
#include "preview/stretchimage.h"
#include "preview/tiledpreview.h"
#include "shell/toolbarimages.h"
#include "support/mainfixture.h"
#include "support/mainparts.h"
#include "support/ownprocess.h"
#include "support/scopedenvironment.h"
#include "thumbs/thumbstrip.h"

#include <QAction>
#include <QTest>
#include <QToolBar>

#include <algorithm>

using namespace pavix;
using testsupport::MainFixture;

namespace {

constexpr const char *ScaledRole = "PAVIX_TEST_SCALED";

class NoLinks : public platform::LinkOpener {
public:
    bool open(const QUrl &) override { return false; }
};

// A black-and-white checkerboard of 2-pixel squares: shrunk to half it stays black and
// white, shrunk to a quarter it turns grey.
QImage checkerboard(int side)
{
    QImage picture(side, side, QImage::Format_RGB32);
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x)
            picture.setPixel(x, y, (x / 2 + y / 2) % 2 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
    return picture;
}

// Pixels of `image` that are neither black nor white.
int greyPixels(const QImage &image)
{
    int grey = 0;
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < rgb.height(); ++y)
        for (int x = 0; x < rgb.width(); ++x)
            grey += rgb.pixel(x, y) != qRgb(0, 0, 0) && rgb.pixel(x, y) != qRgb(255, 255, 255);
    return grey;
}

} // namespace

TEST(ScaleFactor, AtTwoEveryPictureIsDrawnAtTheScreensOwnPixels)
{
    if (!testsupport::runsAs(ScaledRole)) {
        testsupport::ScopedEnvironment environment;
        environment.set("QT_SCALE_FACTOR", "2");
        const testsupport::AloneRun run = testsupport::runThisTestAlone(ScaledRole);
        ASSERT_TRUE(run.finished);
        EXPECT_FALSE(run.crashed);
        EXPECT_EQ(run.exitCode, 0) << run.output.constData();
        return;
    }
    ASSERT_EQ(qApp->devicePixelRatio(), 2.0);
    MainFixture f;
    const QString folder = f.scratch.makeFolder(QStringLiteral("checker"));
    const QImage picture = checkerboard(240);
    ASSERT_TRUE(picture.save(folder + QStringLiteral("/checker.png")));
    f.start(folder);
    shell::MainWindow &m = *f.main;
    testsupport::item(m, QStringLiteral("refreshItem"))->trigger();

    // The layout keeps its logical pixels; the cell is built at twice as many.
    thumbs::ThumbStrip *strip = m.thumbStrip();
    ASSERT_TRUE(strip->elementVisible(0));
    const QRect cellRect = strip->elementRect(0);
    EXPECT_EQ(cellRect.width(), 60);
    const QImage cell = strip->elementPicture(0);
    EXPECT_EQ(cell.devicePixelRatio(), 2.0);
    EXPECT_EQ(cell.size(), cellRect.size() * 2);
    const QImage shownCell = strip->grab(cellRect).toImage();
    EXPECT_EQ(shownCell.size(), cellRect.size() * 2);
    EXPECT_EQ(greyPixels(shownCell), 0) << "the cell was stretched from fewer pixels";

    // The preview is smoothed to the device pixels of its area.
    MainFixture::press(strip, cellRect.center());
    preview::StretchImage *preview = m.previewImage();
    ASSERT_TRUE(preview->isVisible());
    const QImage shown = preview->shownPicture();
    EXPECT_EQ(shown.devicePixelRatio(), 2.0);
    EXPECT_EQ(shown.size(), preview->rect().adjusted(1, 1, -1, -1).size() * 2);

    // The tiled window: each picture pixel exactly 2 x 2 device pixels, from the corner on.
    m.tiledPreview()->show();
    preview::TiledPreview *tiled = m.tiledPreview()->window();
    ASSERT_TRUE(tiled && tiled->isVisible());
    const QImage tiles = tiled->grab(QRect(0, 0, 300, 150)).toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(tiles.size(), QSize(600, 300));
    int wrong = 0;
    for (int y = 0; y < tiles.height(); ++y)
        for (int x = 0; x < tiles.width(); ++x)
            wrong += tiles.pixel(x, y) != picture.pixel((x / 2) % picture.width(), (y / 2) % picture.height());
    EXPECT_EQ(wrong, 0);
    tiled->close();

    // Tool bar and About box pictures are drawn for the device, not stretched.
    const QList<QToolBar *> toolBars = m.findChildren<QToolBar *>();
    ASSERT_FALSE(toolBars.isEmpty());
    const QAction *open = toolBars.front()->actions().front();
    const QImage icon = open->icon().pixmap(QSize(16, 16), 2.0).toImage();
    EXPECT_EQ(icon.convertToFormat(QImage::Format_ARGB32_Premultiplied), shell::toolbarImage(1, 32));
    NoLinks links;
    about::AboutBox box(about::Links{}, links, m.twipsPerPixel(), nullptr);
    const QImage corner = box.grab(QRect(0, 0, 40, 20)).toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(corner, about::aboutBackground(box.size(), 2.0).copy(0, 0, 80, 40));
}
