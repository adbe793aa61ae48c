// The tiled preview window on the real main window (offscreen): what it paints, how it
// closes, where it remembers its place, and the font sample over the tiles.
#include "browser/browser.h"
#include "common/units.h"
#include "listview/qtlistview.h"
#include "platform/pictureservice.h"
#include "platform/settingsstore.h"
#include "preview/tiledpreview.h"
#include "preview/tilezoom.h"
#include "shell/mainwindow.h"
#include "shell/settingskeys.h"
#include "shell/startup.h"
#include "support/fakeshellinfo.h"
#include "support/printers.h"
#include "support/scratchfolder.h"
#include "thumbs/thumbstrip.h"
#include "toolbox/toolbox.h"
#include "toolbox/toolboxhost.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

using namespace pavix;
using namespace pavix::preview;

namespace {

// Pixels of `shown` that differ from `cell` repeated from the top-left corner.
int pixelsOffThePattern(const QImage &shown, const QImage &cell)
{
    // A missing picture makes an empty cell: every pixel counts as off, and the test fails
    // instead of the whole suite.
    if (cell.isNull() || cell.width() <= 0 || cell.height() <= 0) {
        ADD_FAILURE() << "no pattern to compare with";
        return shown.width() * shown.height() + 1;
    }
    int off = 0;
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x)
            off += shown.pixel(x, y) != cell.pixel(x % cell.width(), y % cell.height());
    return off;
}

class TiledPreviewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        main = shell::runStartup(
            {store, shell, scratch.copyCorpus(QStringLiteral("names"), QStringLiteral("home")), {}, {}, {}});
    }

    double tpp() const { return main->twipsPerPixel(); }
    int px(double twips) const { return common::twipsToPixels(twips, tpp()); }

    // Makes a corpus picture the current one, as the preview update does.
    void probe(const QString &relative)
    {
        const auto picture = platform::loadPicture(QStringLiteral(PAVIX_CORPUS_DIR) + u'/' + relative);
        ASSERT_TRUE(picture.ok()) << qPrintable(relative);
        main->browser().setPicture(*picture);
    }

    TiledPreview *open()
    {
        main->tiledPreview()->show();
        auto *window = qobject_cast<TiledPreview *>(main->tiledPreview()->window());
        EXPECT_NE(window, nullptr);
        if (window) {
            EXPECT_TRUE(QTest::qWaitForWindowExposed(window));
        }
        return window;
    }

    // One step of the pattern as the window should show it: the probe's picture at the
    // cell's top-left, composited over the window's background.
    static QImage cell(QWidget *window, const QImage &picture, QSize stepPx = QSize())
    {
        QImage result(stepPx.isValid() ? stepPx : picture.size(), QImage::Format_RGB32);
        result.fill(window->palette().color(QPalette::Window));
        QPainter painter(&result);
        painter.drawImage(0, 0, picture);
        return result;
    }
    static QImage shown(QWidget *window) { return window->grab().toImage().convertToFormat(QImage::Format_RGB32); }
    static bool gone(const QPointer<TiledPreview> &window)
    {
        return QTest::qWaitFor([&] { return window.isNull(); }, 2000);
    }

    platform::MemorySettingsStore store;
    testsupport::FakeShellInfo shell;
    testsupport::ScratchFolder scratch;
    std::unique_ptr<shell::MainWindow> main;
};

} // namespace

TEST_F(TiledPreviewTest, CoversTheClientWithCopiesOfThePictureFromTheTopLeft)
{
    // Opaque pictures of several formats and sizes (one wider than the window), a GIF with
    // a transparent colour and icons with an alpha channel.
    const QString pictures[] = {
        QStringLiteral("good/hopper.bmp"),          QStringLiteral("good/testorig.jpg"),
        QStringLiteral("good/pal8w125.bmp"),        QStringLiteral("good/Info_R8_G8_B8_Top_Down.bmp"),
        QStringLiteral("good/transparent.gif"),     QStringLiteral("good/bmp-32bpp-alpha.ico"),
        QStringLiteral("good/png-32bpp-alpha.ico"), QStringLiteral("good/solid2.gif"),
    };
    bool sawTransparency = false;
    for (const QString &name : pictures) {
        SCOPED_TRACE(name.toStdString());
        probe(name);
        QPointer<TiledPreview> window = open();
        ASSERT_FALSE(window.isNull());
        // A tool window: caption, close button, no minimise or maximise, not modal.
        EXPECT_EQ(window->windowTitle(), QStringLiteral("Preview"));
        EXPECT_EQ(window->windowFlags() & Qt::WindowType_Mask, Qt::Tool);
        EXPECT_TRUE(window->windowFlags() & Qt::WindowCloseButtonHint);
        EXPECT_FALSE(window->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
        EXPECT_FALSE(window->isModal());

        const QImage image = shown(window);
        ASSERT_EQ(image.size(), window->size());
        sawTransparency = sawTransparency || main->browser().picture().hasAlphaChannel();
        // The sample is parked out of sight, so every pixel belongs to a copy.
        EXPECT_EQ(pixelsOffThePattern(image, cell(window, main->browser().picture())), 0);

        // Opening again brings back the same window.
        main->tiledPreview()->show();
        EXPECT_EQ(main->tiledPreview()->window(), window.data());
        window->close();
        EXPECT_TRUE(gone(window));
    }
    EXPECT_TRUE(sawTransparency);
}

TEST_F(TiledPreviewTest, PaintsWhateverTheProbeHoldsAtEachPaint)
{
    probe(QStringLiteral("good/hopper.bmp")); // 128 x 128
    TiledPreview *window = open();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(pixelsOffThePattern(shown(window), cell(window, main->browser().picture())), 0);

    // A new selection while the window is open shows at its next paint.
    probe(QStringLiteral("good/testorig.jpg"));
    EXPECT_EQ(pixelsOffThePattern(shown(window), cell(window, main->browser().picture())), 0);
}

TEST_F(TiledPreviewTest, EmptyProbeHidesTheWindowAtTheFirstPaint)
{
    {
        preview::WindowPlace place = main->tiledPreview()->place();
        place.left = 1500;
        place.top = 1200;
        main->tiledPreview()->setPlace(place);
    }
    main->browser().clearPicture();
    main->tiledPreview()->show();
    QPointer<TiledPreview> window = qobject_cast<TiledPreview *>(main->tiledPreview()->window());
    ASSERT_FALSE(window.isNull());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window->isVisible(); }, 2000));
    // Still loaded, and its place is recorded only when it is unloaded.
    EXPECT_EQ(main->tiledPreview()->window(), window.data());
    EXPECT_FALSE(main->tiledPreview()->isShown());
    window->move(300, 200);
    EXPECT_EQ(main->tiledPreview()->place().left, 1500);
    // A scan leaves a hidden window alone.
    main->tiledPreview()->unloadIfVisible();
    ASSERT_EQ(main->tiledPreview()->window(), window.data());

    // The next show brings it back with a fresh paint, after which it stays: a paint with no
    // picture would have asked to hide it by an event, handled here.
    probe(QStringLiteral("good/hopper.bmp"));
    EXPECT_EQ(open(), window.data());
    window->repaint();
    QCoreApplication::processEvents();
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(pixelsOffThePattern(shown(window), cell(window, main->browser().picture())), 0);
    window->close();
    EXPECT_EQ(main->tiledPreview()->place().left, static_cast<std::int32_t>(300 * tpp()));
    EXPECT_EQ(main->tiledPreview()->place().top, static_cast<std::int32_t>(200 * tpp()));
}

TEST_F(TiledPreviewTest, EscapeAndAnyClickUnloadItAndHandTheFocusBack)
{
    probe(QStringLiteral("good/hopper.bmp"));
    const std::pair<const char *, std::function<void(TiledPreview *)>> closers[] = {
        {"Esc", [](TiledPreview *w) { QTest::keyClick(w, Qt::Key_Escape); }},
        {"Esc on the sample", [](TiledPreview *w) { QTest::keyClick(w->sampleEdit(), Qt::Key_Escape); }},
        {"left click", [](TiledPreview *w) { QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(300, 300)); }},
        {"right click", [](TiledPreview *w) { QTest::mouseClick(w, Qt::RightButton, {}, QPoint(5, 5)); }},
        {"middle press", [](TiledPreview *w) { QTest::mousePress(w, Qt::MiddleButton, {}, QPoint(90, 9)); }},
        {"click on the sample",
         [](TiledPreview *w) {
             QTest::mouseClick(w->sampleEdit(), Qt::LeftButton, {}, {2, 2});
         }},
    };
    for (const auto &[what, close] : closers) {
        SCOPED_TRACE(what);
        QPointer<TiledPreview> window = open();
        ASSERT_FALSE(window.isNull());
        window->sampleEdit()->setFocus();
        close(window.data());
        EXPECT_EQ(main->tiledPreview()->window(), nullptr);
        EXPECT_FALSE(main->tiledPreview()->isShown());
        EXPECT_TRUE(gone(window));
        EXPECT_TRUE(QTest::qWaitFor([&] { return main->list()->hasFocus(); }, 2000));
    }

    // Other keys do nothing.
    QPointer<TiledPreview> window = open();
    QTest::keyClick(window->sampleEdit(), Qt::Key_A);
    QTest::keyClick(window, Qt::Key_Return);
    QTest::keyClick(window, Qt::Key_F3);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->sampleEdit()->text(), QString());

    // A scan unloads a visible window.
    main->tiledPreview()->unloadIfVisible();
    EXPECT_EQ(main->tiledPreview()->window(), nullptr);
    EXPECT_TRUE(gone(window));

    // With the list hidden (thumbnail mode) the thumbnail area gets the focus.
    main->list()->hide();
    main->thumbArea()->show();
    main->thumbStrip()->show();
    window = open();
    QTest::keyClick(window, Qt::Key_Escape);
    EXPECT_TRUE(QTest::qWaitFor([&] { return main->thumbStrip()->hasFocus(); }, 2000));
}

TEST_F(TiledPreviewTest, NeverSmallerThan2000Twips)
{
    const int minimumPx = static_cast<int>(std::ceil(2000 / tpp() - 8));
    // A stored size below the minimum is raised at load.
    {
        preview::WindowPlace place = main->tiledPreview()->place();
        place.width = 1000;
        place.height = 6000;
        main->tiledPreview()->setPlace(place);
    }
    probe(QStringLiteral("good/hopper.bmp"));
    TiledPreview *window = open();
    ASSERT_NE(window, nullptr);
    EXPECT_GE(window->outerWidthTwips(), 2000);
    EXPECT_LT(window->outerWidthTwips(), 2000 + tpp());
    EXPECT_EQ(main->tiledPreview()->place().width, static_cast<std::int32_t>(window->outerWidthTwips()));
    EXPECT_NEAR(main->tiledPreview()->place().height, 6000, tpp());

    // Dragged smaller in one direction: only that one snaps back.
    window->resize(400, 20);
    EXPECT_EQ(window->size(), QSize(400, minimumPx));
    EXPECT_EQ(main->tiledPreview()->place().width, static_cast<std::int32_t>((400 + 8) * tpp()));
    EXPECT_EQ(main->tiledPreview()->place().height, static_cast<std::int32_t>((minimumPx + 8) * tpp()));

    // Even a window system that ignores the minimum gets the size snapped back.
    window->setMinimumSize(1, 1);
    window->resize(30, 300);
    EXPECT_EQ(window->size(), QSize(minimumPx, 300));
    window->resize(500, 40);
    EXPECT_EQ(window->size(), QSize(500, minimumPx));
    EXPECT_GE(main->tiledPreview()->place().height, 2000);
}

TEST_F(TiledPreviewTest, AStoredPlacePartlyOffTheScreensOpensWhollyOnOne)
{
    // 4500 twips wide at -3000: a third of the window would show.
    {
        preview::WindowPlace place = main->tiledPreview()->place();
        place.left = -3000;
        place.top = 1000;
        place.width = 4500;
        place.height = 2000;
        main->tiledPreview()->setPlace(place);
    }
    probe(QStringLiteral("good/hopper.bmp"));
    QPointer<TiledPreview> window = open();
    ASSERT_FALSE(window.isNull());
    const QRect screen = window->screen()->availableGeometry();
    EXPECT_EQ(window->pos().x(), screen.left());
    EXPECT_EQ(window->pos().y(), px(1000));
    // The stored value is not rewritten for being shown elsewhere.
    EXPECT_EQ(main->tiledPreview()->place().left, -3000);

    // Far below and to the right: brought back so the whole window fits.
    window->close();
    ASSERT_TRUE(gone(window));
    {
        preview::WindowPlace place = main->tiledPreview()->place();
        place.left = 3000000;
        place.top = 3000000;
        main->tiledPreview()->setPlace(place);
    }
    window = open();
    ASSERT_FALSE(window.isNull());
    EXPECT_TRUE(screen.contains(QRect(window->pos(), window->size()))) << window->pos().x() << "," << window->pos().y();
}

TEST_F(TiledPreviewTest, RemembersItsPlaceAndSize)
{
    // Load places it from the four values (frame position, outer size).
    {
        preview::WindowPlace place = main->tiledPreview()->place();
        place.left = 1500;
        place.top = 3000;
        place.width = 4620;
        place.height = 3870;
        main->tiledPreview()->setPlace(place);
    }
    probe(QStringLiteral("good/testorig.jpg"));
    QPointer<TiledPreview> window = open();
    ASSERT_FALSE(window.isNull());
    EXPECT_EQ(window->pos(), QPoint(px(1500), px(3000)));
    EXPECT_NEAR(window->outerWidthTwips(), 4620, tpp());
    EXPECT_NEAR(window->outerHeightTwips(), 3870, tpp());

    // Resize records the size at once, unload the position.
    window->move(200, 120);
    window->resize(300, 250);
    EXPECT_EQ(main->tiledPreview()->place().width, static_cast<std::int32_t>((300 + 8) * tpp()));
    EXPECT_EQ(main->tiledPreview()->place().height, static_cast<std::int32_t>((250 + 8) * tpp()));
    EXPECT_EQ(main->tiledPreview()->place().left, 1500);
    window->close();
    EXPECT_EQ(main->tiledPreview()->place().left, static_cast<std::int32_t>(200 * tpp()));
    EXPECT_EQ(main->tiledPreview()->place().top, static_cast<std::int32_t>(120 * tpp()));
    ASSERT_TRUE(gone(window));

    // The next open comes back there, with the same size.
    window = open();
    ASSERT_FALSE(window.isNull());
    EXPECT_EQ(window->pos(), QPoint(200, 120)); // the frame's corner
    EXPECT_EQ(window->size(), QSize(300, 250));

    // Shutdown stores them and unloads the open window; a place it was moved to in this
    // run is the one stored.
    window->move(210, 130);
    main->close();
    EXPECT_EQ(store.read(shell::SectionSettings, shell::KeyTiledWindowLeft), QString::number(210 * tpp()));
    EXPECT_EQ(store.read(shell::SectionSettings, shell::KeyTiledWindowTop), QString::number(130 * tpp()));
    EXPECT_EQ(store.read(shell::SectionSettings, shell::KeyTiledWindowWidth), QString::number((300 + 8) * tpp()));
    EXPECT_TRUE(gone(window));
}

TEST_F(TiledPreviewTest, KeysReachTheWindowWhileTheSampleHasTheFocus)
{
    probe(QStringLiteral("good/hopper.bmp"));
    int toolboxShown = 0;
    QObject::connect(main->tiledPreview(), &TiledPreviewHost::toolboxRequested, main.get(), [&] { ++toolboxShown; });
    QPointer<TiledPreview> window = open();
    ASSERT_FALSE(window.isNull());
    EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == window; }, 2000));
    window->sampleEdit()->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->sampleEdit()->hasFocus(); }, 2000));

    // F2 shows the toolbox, takes the activation back, which places the sample, and ends
    // with the toolbox active.
    QTest::keyClick(window->sampleEdit(), Qt::Key_F2);
    EXPECT_EQ(toolboxShown, 1);
    EXPECT_TRUE(window->isVisible());
    QWidget *toolbox = main->toolbox()->window();
    ASSERT_NE(toolbox, nullptr);
    EXPECT_TRUE(toolbox->isVisible());
    EXPECT_EQ(window->sampleEdit()->x(), px(400));
    EXPECT_FALSE(window->sampleEdit()->text().isEmpty());
    EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == toolbox; }, 2000));

    QTest::keyClick(window->sampleEdit(), Qt::Key_Escape);
    EXPECT_EQ(toolboxShown, 1);
    EXPECT_TRUE(gone(window));
}

TEST_F(TiledPreviewTest, SampleShowsAt400WhileTheToolboxGivesOne)
{
    probe(QStringLiteral("good/hopper.bmp"));
    const browser::Sample sample{QStringLiteral("The quick brown fox jumps"), QStringLiteral("DejaVu Sans"), 20,
                                 QColor(200, 10, 30)};
    // The toolbox set to that sample.
    main->showToolbox();
    toolbox::Toolbox *tools = main->toolbox()->window();
    ASSERT_NE(tools, nullptr);
    tools->sampleTextEdit()->setText(sample.text);
    tools->fontList()->setCurrentIndex(tools->fontList()->findText(sample.fontFamily));
    tools->sizeBar()->setValue(20);
    tools->colourBar(toolbox::Channel::Red)->setValue(255 - 200);
    tools->colourBar(toolbox::Channel::Green)->setValue(255 - 10);
    tools->colourBar(toolbox::Channel::Blue)->setValue(255 - 30);
    int toolboxFocused = 0;
    QObject::connect(main->tiledPreview(), &TiledPreviewHost::sampleShown, main.get(), [&] { ++toolboxFocused; });
    // What the window does each time it becomes the active window.
    auto activate = [](QWidget *window) {
        QEvent event(QEvent::WindowActivate);
        QApplication::sendEvent(window, &event);
    };

    TiledPreview *window = open();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return toolboxFocused > 0; }, 2000));
    QLineEdit *smpl = window->sampleEdit();
    EXPECT_EQ(smpl->pos(), QPoint(px(400), px(400)));
    EXPECT_EQ(smpl->text(), sample.text);
    EXPECT_EQ(smpl->font().family(), QStringLiteral("DejaVu Sans"));
    EXPECT_DOUBLE_EQ(smpl->font().pointSizeF(), 20);
    EXPECT_EQ(smpl->palette().color(QPalette::Text), QColor(200, 10, 30));
    EXPECT_TRUE(smpl->isReadOnly());
    // Wide enough for the whole line: with the cursor at the end nothing has scrolled.
    const int advance = QFontMetrics(smpl->font()).horizontalAdvance(sample.text);
    smpl->end(false);
    EXPECT_NEAR(smpl->inputMethodQuery(Qt::ImCursorRectangle).toRect().center().x(), advance + 2, 3);

    // Transparent over the tiles: away from the text the tiles show through, the text's
    // own pixels differ from them.
    const QImage image = shown(window);
    const QImage tile = cell(window, main->browser().picture());
    ASSERT_FALSE(tile.isNull());
    int textPixels = 0;
    for (int y = smpl->y(); y <= smpl->geometry().bottom(); ++y)
        for (int x = smpl->x(); x <= smpl->geometry().right(); ++x)
            textPixels += image.pixel(x, y) != tile.pixel(x % tile.width(), y % tile.height());
    EXPECT_GT(textPixels, 50);
    EXPECT_EQ(pixelsOffThePattern(image.copy(0, 0, image.width(), smpl->y()), tile), 0);
    EXPECT_EQ(image.pixel(smpl->pos()), tile.pixel(smpl->x() % tile.width(), smpl->y() % tile.height()));

    // The toolbox closed: the next activation empties the sample and parks it.
    tools->hide();
    activate(window);
    EXPECT_EQ(smpl->text(), QString());
    EXPECT_EQ(smpl->pos(), QPoint(px(-2000), px(400)));
    EXPECT_EQ(toolboxFocused, 1);

    // The toolbox open again: placed once more.
    tools->sampleTextEdit()->setText(QStringLiteral("Again"));
    tools->show();
    activate(window);
    EXPECT_EQ(smpl->text(), QStringLiteral("Again"));
    EXPECT_EQ(smpl->x(), px(400));
    EXPECT_EQ(toolboxFocused, 2);
}

TEST_F(TiledPreviewTest, TheSampleFollowsTheBrowserAtOnceAndSaysWhereItLies)
{
    probe(QStringLiteral("good/hopper.bmp"));
    int toolboxFocused = 0;
    QObject::connect(main->tiledPreview(), &TiledPreviewHost::sampleShown, main.get(), [&] { ++toolboxFocused; });
    QPointer<TiledPreview> window = open();
    ASSERT_FALSE(window.isNull());
    window->resize(600, 400);
    QLineEdit *smpl = window->sampleEdit();
    EXPECT_FALSE(main->browser().samplePlacement().has_value());

    // Set while the window is open: laid out at once, without an activation and without
    // asking for the toolbox's focus.
    main->browser().setSample(browser::Sample{QStringLiteral("Live"), QStringLiteral("DejaVu Sans"), 30, Qt::blue});
    EXPECT_EQ(smpl->text(), QStringLiteral("Live"));
    EXPECT_EQ(smpl->pos(), QPoint(px(400), px(400)));
    EXPECT_EQ(toolboxFocused, 0);
    // The box is 200 twips wider than its text; the placement is the text's own box.
    const QFontMetrics metrics(smpl->font());
    const int textWidth = metrics.horizontalAdvance(QStringLiteral("Live")) + 6;
    EXPECT_EQ(smpl->width(), textWidth + px(200));
    ASSERT_TRUE(main->browser().samplePlacement().has_value());
    EXPECT_EQ(main->browser().samplePlacement()->textRect, QRect(smpl->pos(), QSize(textWidth, smpl->height())));
    EXPECT_EQ(main->browser().samplePlacement()->background, window->palette().color(QPalette::Window));

    // A longer text reaches past a narrowed window: the placement keeps to the window.
    main->browser().setSample(browser::Sample{QStringLiteral("A much longer line of sample text"), QString(), 30,
                                              Qt::blue});
    window->resize(200, 400);
    EXPECT_EQ(main->browser().samplePlacement()->textRect.right(), window->width() - 1);
    EXPECT_EQ(main->browser().samplePlacement()->textRect.left(), px(400));

    // Taken away: parked at once, and no placement.
    main->browser().setSample(std::nullopt);
    EXPECT_EQ(smpl->text(), QString());
    EXPECT_EQ(smpl->x(), px(-2000));
    EXPECT_FALSE(main->browser().samplePlacement().has_value());
    // Given again and the window closed: no placement either.
    main->browser().setSample(browser::Sample{QStringLiteral("Back"), QString(), 12, Qt::blue});
    EXPECT_TRUE(main->browser().samplePlacement().has_value());
    window->close();
    EXPECT_FALSE(main->browser().samplePlacement().has_value());
    EXPECT_TRUE(gone(window));
}

TEST_F(TiledPreviewTest, AStoredSizeNeverExceedsTheScreen)
{
    // Sizes the settings may hold but no screen can show come back as large as the
    // screen's free area; the window still opens, paints and closes.
    {
        preview::WindowPlace place = main->tiledPreview()->place();
        place.width = 2'000'000'000;
        place.height = 150'000'000;
        main->tiledPreview()->setPlace(place);
    }
    probe(QStringLiteral("good/hopper.bmp"));
    QPointer<TiledPreview> window = open();
    ASSERT_FALSE(window.isNull());
    const QSize screen = main->screen()->availableGeometry().size();
    EXPECT_LE(window->width(), screen.width());
    EXPECT_LE(window->height(), screen.height());
    EXPECT_GT(window->width(), screen.width() / 2);
    EXPECT_EQ(main->tiledPreview()->place().width, static_cast<std::int32_t>((window->width() + 8) * tpp()));
    EXPECT_EQ(pixelsOffThePattern(shown(window), cell(window, main->browser().picture())), 0);
    window->close();
    EXPECT_TRUE(gone(window));
}

TEST_F(TiledPreviewTest, ZoomKeysAndTheWheelScaleTheTilesFromTheTopLeft)
{
    probe(QStringLiteral("good/hopper.bmp"));
    QPointer<TiledPreview> window = open();
    ASSERT_FALSE(window.isNull());
    const QImage picture = main->browser().picture();
    // Each zoom shows the once-scaled copy repeated from the top-left corner, and says so
    // in the title; keys that are not the zoom's leave it alone.
    const struct {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        int zoom;
        const char *title;
    } presses[] = {
        {Qt::Key_Minus, Qt::ControlModifier, 67, "Preview - 67 %"},
        {Qt::Key_Minus, Qt::ControlModifier | Qt::KeypadModifier, 50, "Preview - 50 %"},
        {Qt::Key_Minus, Qt::NoModifier, 50, "Preview - 50 %"},
        {Qt::Key_0, Qt::ControlModifier, 100, "Preview"},
        {Qt::Key_Plus, Qt::ControlModifier | Qt::ShiftModifier, 150, "Preview - 150 %"},
        {Qt::Key_Equal, Qt::ControlModifier, 200, "Preview - 200 %"},
    };
    for (const auto &press : presses) {
        SCOPED_TRACE(press.title);
        QTest::keyClick(window, press.key, press.modifiers);
        EXPECT_EQ(window->zoom(), press.zoom);
        EXPECT_EQ(window->windowTitle(), QString::fromLatin1(press.title));
        EXPECT_EQ(pixelsOffThePattern(shown(window), zoomedTile(picture, press.zoom)), 0);
    }
    // Ctrl with the wheel: a notch a step, half notches adding up.
    for (const int turn : {-120, -60, -60}) {
        QWheelEvent wheel(QPointF(10, 10), window->mapToGlobal(QPointF(10, 10)), QPoint(), QPoint(0, turn),
                          Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(window, &wheel);
    }
    EXPECT_EQ(window->zoom(), 100);
    EXPECT_TRUE(window->isVisible()) << "zooming closes nothing";
}

TEST_F(TiledPreviewTest, SMarksTheSeamsAndF11FillsTheScreenUntilEsc)
{
    probe(QStringLiteral("good/hopper.bmp"));
    QPointer<TiledPreview> window = open();
    ASSERT_FALSE(window.isNull());
    const QImage copy = cell(window, main->browser().picture());
    ASSERT_GT(window->width(), copy.width());

    // The photograph does not tile: its left-right edge is marked where copies meet, over
    // the tiles, and nowhere else.
    QTest::keyClick(window, Qt::Key_S);
    ASSERT_TRUE(window->seamMarksShown());
    const QImage marked = shown(window);
    const int y = std::min(marked.height(), copy.height()) / 2;
    EXPECT_NE(marked.pixel(copy.width(), y), copy.pixel(0, y)) << "a mark on the first line where copies meet";
    EXPECT_EQ(marked.pixel(copy.width() / 2, y), copy.pixel(copy.width() / 2, y)) << "none inside a copy";
    QTest::keyClick(window, Qt::Key_S);
    EXPECT_EQ(pixelsOffThePattern(shown(window), copy), 0);

    // F11: the whole screen; Esc first leaves it, then closes. The stored size is the
    // normal window's throughout.
    const preview::WindowPlace before = main->tiledPreview()->place();
    QTest::keyClick(window, Qt::Key_F11);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->isFullScreen(); }, 2000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return window->size() == window->screen()->geometry().size(); }, 2000))
        << window->width() << " x " << window->height();
    EXPECT_EQ(main->tiledPreview()->place().width, before.width);
    QTest::keyClick(window, Qt::Key_Escape);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window->isFullScreen(); }, 2000));
    EXPECT_TRUE(window->isVisible());
    QTest::keyClick(window, Qt::Key_Escape);
    EXPECT_TRUE(gone(window));
    EXPECT_EQ(main->tiledPreview()->place().width, before.width);
    EXPECT_EQ(main->tiledPreview()->place().height, before.height);
}
