// The font toolbox on the real main window (offscreen): its controls, what each one does
// to the sample over the tiles, closing and coming back, its place across runs, and the
// contrast figure on its swatch.
#include "support/mainfixture.h"
#include "support/mainparts.h"

#include "browser/browser.h"
#include "common/units.h"
#include "platform/qtfontcatalogue.h"
#include "preview/tiledpreview.h"
#include "shell/settingskeys.h"
#include "toolbox/readability.h"
#include "toolbox/toolbox.h"
#include "toolbox/toolboxhost.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>

#include <gtest/gtest.h>

using namespace pavix;
using namespace pavix::toolbox;
using testsupport::MainFixture;

namespace {

class ToolboxTest : public ::testing::Test {
protected:
    void SetUp() override { f.start(); }

    shell::MainWindow &main() { return *f.main; }
    double tpp() { return main().twipsPerPixel(); }
    int px(double twips) { return common::twipsToPixels(twips, tpp()); }

    Toolbox *open()
    {
        main().showToolbox();
        Toolbox *toolbox = main().toolbox()->window();
        EXPECT_NE(toolbox, nullptr);
        if (toolbox) {
            EXPECT_TRUE(QTest::qWaitForWindowExposed(toolbox));
        }
        return toolbox;
    }

    preview::TiledPreview *openPreview(const QImage &picture)
    {
        main().browser().setPicture(picture);
        main().tiledPreview()->show();
        auto *window = main().tiledPreview()->window();
        EXPECT_NE(window, nullptr);
        return window;
    }

    static QImage filled(QSize size, QColor colour)
    {
        QImage image(size, QImage::Format_RGB32);
        image.fill(colour);
        return image;
    }

    // Moves a colour bar so that its component becomes `value`.
    static void setComponent(Toolbox *toolbox, Channel channel, int value)
    {
        toolbox->colourBar(channel)->setValue(255 - value);
    }

    MainFixture f;
};

} // namespace

TEST_F(ToolboxTest, OpensWithItsControlsInPlace)
{
    // The stored place of the last run.
    f.store.write(shell::SectionSettings, shell::KeyToolboxLeft, QStringLiteral("1500"));
    f.store.write(shell::SectionSettings, shell::KeyToolboxTop, QStringLiteral("1200"));
    f.start();
    EXPECT_EQ(main().toolbox()->window(), nullptr); // loaded on first use only
    Toolbox *toolbox = open();
    ASSERT_NE(toolbox, nullptr);
    EXPECT_EQ(toolbox->pos(), QPoint(px(1500), px(1200)));

    // A fixed tool window with a caption only: no window menu, no close box, not modal.
    EXPECT_EQ(toolbox->windowTitle(), QStringLiteral("Toolbox"));
    EXPECT_EQ(toolbox->windowFlags() & Qt::WindowType_Mask, Qt::Tool);
    EXPECT_FALSE(toolbox->windowFlags()
                 & (Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint | Qt::WindowMinMaxButtonsHint));
    EXPECT_TRUE(toolbox->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_FALSE(toolbox->isModal());
    EXPECT_EQ(toolbox->size(), QSize(px(1440), px(6975)));
    EXPECT_EQ(toolbox->minimumSize(), toolbox->maximumSize());

    EXPECT_EQ(toolbox->sampleTextEdit()->text(), QStringLiteral("Sample Text"));
    EXPECT_EQ(toolbox->sampleTextEdit()->geometry(), QRect(px(30), px(90), px(1365), px(375)));
    EXPECT_EQ(toolbox->colourFrame()->title(), QStringLiteral("Font's color"));
    EXPECT_EQ(toolbox->swatch()->geometry(), QRect(px(90), px(270), px(1185), px(345)));
    EXPECT_EQ(toolbox->swatch()->palette().color(QPalette::Window), QColor(Qt::black));
    for (const Channel channel : {Channel::Red, Channel::Green, Channel::Blue}) {
        EXPECT_EQ(toolbox->amountLabel(channel)->text(), QStringLiteral("0"));
        EXPECT_EQ(toolbox->component(channel), 0);
        // At the bottom of its bar.
        EXPECT_EQ(toolbox->colourBar(channel)->value(), toolbox->colourBar(channel)->maximum());
        EXPECT_EQ(toolbox->colourBar(channel)->orientation(), Qt::Vertical);
        EXPECT_EQ(toolbox->colourBar(channel)->size(), QSize(px(195), px(1785)));
    }
    EXPECT_EQ(toolbox->colourBar(Channel::Green)->pos(), QPoint(px(570), px(960)));
    EXPECT_EQ(toolbox->sizeLabel()->text(), QStringLiteral("36 point"));
    EXPECT_EQ(toolbox->sizeBar()->geometry(), QRect(px(30), px(4260), px(1365), px(255)));
    // A quarter of the way from the left end (8) to the right end (120).
    const QScrollBar *sizeBar = toolbox->sizeBar();
    EXPECT_EQ(sizeBar->value() - sizeBar->minimum(), (sizeBar->maximum() - sizeBar->minimum()) / 4);

    const QStringList families = platform::QtFontCatalogue().scalableFamilies();
    EXPECT_FALSE(families.isEmpty());
    EXPECT_TRUE(families.contains(QStringLiteral("DejaVu Sans")));
    EXPECT_EQ(toolbox->fontCountLabel()->text(), QStringLiteral("%1 fonts").arg(families.size()));
    ASSERT_EQ(toolbox->fontList()->count(), families.size());
    EXPECT_EQ(toolbox->fontList()->currentIndex(), 0);
    EXPECT_EQ(toolbox->fontList()->itemText(1), families.at(1));
    EXPECT_TRUE(toolbox->onTopBox()->isChecked());
    EXPECT_EQ(toolbox->onTopBox()->text(), QStringLiteral("On Top"));
    EXPECT_EQ(toolbox->closeButton()->text(), QStringLiteral("Close"));
    EXPECT_EQ(toolbox->closeButton()->geometry(), QRect(px(353), px(6480), px(735), px(375)));

    // Shown, it gives the browser its sample.
    ASSERT_TRUE(main().browser().sample().has_value());
    EXPECT_EQ(main().browser().sample()->text, QStringLiteral("Sample Text"));
    EXPECT_EQ(main().browser().sample()->fontFamily, families.at(0));
    EXPECT_EQ(main().browser().sample()->pointSize, 36);
    EXPECT_EQ(main().browser().sample()->colour, QColor(Qt::black));
}

TEST_F(ToolboxTest, EachBarEndsWhereItShould)
{
    Toolbox *toolbox = open();
    ASSERT_NE(toolbox, nullptr);
    for (const Channel channel : {Channel::Red, Channel::Green, Channel::Blue}) {
        QScrollBar *bar = toolbox->colourBar(channel);
        // One step up from the bottom is 10, one page more is 60.
        bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
        EXPECT_EQ(toolbox->component(channel), 10);
        bar->triggerAction(QAbstractSlider::SliderPageStepSub);
        EXPECT_EQ(toolbox->component(channel), 60);
        EXPECT_EQ(toolbox->amountLabel(channel)->text(), QStringLiteral("60"));
        bar->triggerAction(QAbstractSlider::SliderToMinimum); // the top
        EXPECT_EQ(toolbox->component(channel), 255);
        EXPECT_EQ(toolbox->amountLabel(channel)->text(), QStringLiteral("255"));
        bar->triggerAction(QAbstractSlider::SliderToMaximum); // the bottom
        EXPECT_EQ(toolbox->component(channel), 0);
        EXPECT_EQ(toolbox->amountLabel(channel)->text(), QStringLiteral("0"));
    }
    setComponent(toolbox, Channel::Blue, 255);
    EXPECT_EQ(main().browser().sample()->colour, QColor(0, 0, 255));

    // The size bar: 8 points at its left end, 120 at its right end, larger to the right.
    QScrollBar *sizeBar = toolbox->sizeBar();
    sizeBar->triggerAction(QAbstractSlider::SliderToMinimum);
    EXPECT_EQ(toolbox->sizeLabel()->text(), QStringLiteral("8 point"));
    EXPECT_EQ(main().browser().sample()->pointSize, 8);
    sizeBar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(main().browser().sample()->pointSize, 9);
    sizeBar->triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(toolbox->sizeLabel()->text(), QStringLiteral("120 point"));
    EXPECT_EQ(main().browser().sample()->pointSize, 120);
    // The whole label shows even at its widest.
    EXPECT_LE(toolbox->sizeLabel()->geometry().right(), toolbox->width());
    EXPECT_GE(toolbox->sizeLabel()->width(),
              2 + QFontMetrics(toolbox->sizeLabel()->font()).horizontalAdvance(toolbox->sizeLabel()->text()));
    // A click on the right arrow makes the text larger, on the left arrow smaller.
    sizeBar->setValue(36);
    QStyleOptionSlider option;
    option.initFrom(sizeBar);
    option.orientation = Qt::Horizontal;
    option.minimum = sizeBar->minimum();
    option.maximum = sizeBar->maximum();
    option.sliderPosition = option.sliderValue = sizeBar->value();
    option.singleStep = sizeBar->singleStep();
    option.pageStep = sizeBar->pageStep();
    auto arrow = [&](QStyle::SubControl which) {
        return sizeBar->style()->subControlRect(QStyle::CC_ScrollBar, &option, which, sizeBar).center();
    };
    // (Pressed with only the left button down, whatever other tests left behind.)
    auto click = [&](QStyle::SubControl which) {
        MainFixture::press(sizeBar, arrow(which));
        MainFixture::press(sizeBar, arrow(which), Qt::LeftButton, QEvent::MouseButtonRelease);
    };
    click(QStyle::SC_ScrollBarAddLine);
    EXPECT_EQ(toolbox->sampleSize(), 37);
    click(QStyle::SC_ScrollBarSubLine);
    click(QStyle::SC_ScrollBarSubLine);
    EXPECT_EQ(toolbox->sampleSize(), 35);
}

TEST_F(ToolboxTest, TheColourReachesTheSampleEvenWhileThePreviewIsHidden)
{
    // With no picture the tiled window hides itself but stays loaded.
    QPointer<preview::TiledPreview> window = openPreview(QImage());
    ASSERT_FALSE(window.isNull());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window->isVisible(); }, 2000));
    Toolbox *toolbox = open();
    ASSERT_NE(toolbox, nullptr);
    setComponent(toolbox, Channel::Green, 128);
    EXPECT_EQ(toolbox->amountLabel(Channel::Green)->text(), QStringLiteral("128"));
    EXPECT_EQ(toolbox->swatch()->palette().color(QPalette::Window), QColor(0, 128, 0));
    EXPECT_EQ(window->sampleEdit()->palette().color(QPalette::Text), QColor(0, 128, 0));
    // No picture: the swatch shows the colour only.
    EXPECT_EQ(toolbox->swatch()->text(), QString());
    EXPECT_FALSE(window->isVisible());
}

TEST_F(ToolboxTest, TheSampleFollowsEveryChangeAtOnce)
{
    preview::TiledPreview *window = openPreview(filled(QSize(64, 64), Qt::white));
    ASSERT_NE(window, nullptr);
    Toolbox *toolbox = open();
    ASSERT_NE(toolbox, nullptr);
    QLineEdit *smpl = window->sampleEdit();
    EXPECT_EQ(smpl->x(), px(400));
    EXPECT_EQ(smpl->text(), QStringLiteral("Sample Text"));

    // Typing: each character shows over the tiles as it is typed; the focus stays in the
    // toolbox.
    toolbox->sampleTextEdit()->clear();
    toolbox->sampleTextEdit()->setFocus();
    const QString typed = QStringLiteral("Tiles!");
    for (int i = 0; i < typed.size(); ++i) {
        QTest::keyClick(toolbox->sampleTextEdit(), typed.at(i).toLatin1());
        EXPECT_EQ(smpl->text(), typed.left(i + 1));
    }
    EXPECT_TRUE(toolbox->sampleTextEdit()->hasFocus());
    // Sized to the text, plus 200 twips.
    const int advance = QFontMetrics(smpl->font()).horizontalAdvance(typed);
    EXPECT_GE(smpl->width(), advance + px(200));
    EXPECT_LE(smpl->width(), advance + px(200) + 8);

    // Size, font and colour.
    toolbox->sizeBar()->setValue(60);
    EXPECT_DOUBLE_EQ(smpl->font().pointSizeF(), 60);
    const int wider = smpl->width();
    toolbox->sizeBar()->setValue(80);
    EXPECT_GT(smpl->width(), wider);
    ASSERT_GE(toolbox->fontList()->count(), 2);
    toolbox->fontList()->setCurrentIndex(1);
    EXPECT_EQ(smpl->font().family(), toolbox->fontList()->itemText(1));
    setComponent(toolbox, Channel::Red, 200);
    EXPECT_EQ(smpl->palette().color(QPalette::Text), QColor(200, 0, 0));
    EXPECT_TRUE(toolbox->isVisible());
}

TEST_F(ToolboxTest, CloseHidesItAndF2BringsItBackAsItWas)
{
    preview::TiledPreview *window = openPreview(filled(QSize(64, 64), Qt::white));
    ASSERT_NE(window, nullptr);
    QPointer<Toolbox> toolbox = open();
    ASSERT_FALSE(toolbox.isNull());
    toolbox->sampleTextEdit()->setText(QStringLiteral("Kept"));
    setComponent(toolbox, Channel::Blue, 90);
    toolbox->sizeBar()->setValue(50);
    toolbox->fontList()->setCurrentIndex(toolbox->fontList()->count() - 1);
    toolbox->move(250, 140);

    QTest::mouseClick(toolbox->closeButton(), Qt::LeftButton);
    EXPECT_FALSE(toolbox->isVisible());
    EXPECT_FALSE(main().browser().sample().has_value());
    // The tiled window no longer shows the sample.
    EXPECT_EQ(window->sampleEdit()->text(), QString());
    EXPECT_EQ(window->sampleEdit()->x(), px(-2000));

    // F2 on the tiled window (here on its sample box): the same toolbox, as it was, where
    // it was, and the sample back at 400 twips.
    QTest::keyClick(window->sampleEdit(), Qt::Key_F2);
    EXPECT_EQ(main().toolbox()->window(), toolbox.data());
    EXPECT_TRUE(toolbox->isVisible());
    EXPECT_EQ(toolbox->pos(), QPoint(250, 140));
    EXPECT_EQ(toolbox->sampleTextEdit()->text(), QStringLiteral("Kept"));
    EXPECT_EQ(toolbox->component(Channel::Blue), 90);
    EXPECT_EQ(toolbox->sizeLabel()->text(), QStringLiteral("50 point"));
    EXPECT_EQ(toolbox->fontList()->currentIndex(), toolbox->fontList()->count() - 1);
    EXPECT_EQ(window->sampleEdit()->text(), QStringLiteral("Kept"));
    EXPECT_EQ(window->sampleEdit()->x(), px(400));
    EXPECT_EQ(window->sampleEdit()->palette().color(QPalette::Text), QColor(0, 0, 90));
    // It ends with the focus in the toolbox.
    EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == toolbox; }, 2000));

    // The tool bar's button opens it as well.
    toolbox->hide();
    QAction *button = testsupport::toolAction(main(), QStringLiteral("Toolbox"));
    ASSERT_NE(button, nullptr);
    EXPECT_TRUE(button->isEnabled());
    button->trigger();
    EXPECT_TRUE(toolbox->isVisible());
}

TEST_F(ToolboxTest, OnTopFollowsTheBox)
{
    Toolbox *toolbox = open();
    ASSERT_NE(toolbox, nullptr);
    toolbox->move(310, 220);
    QTest::mouseClick(toolbox->onTopBox(), Qt::LeftButton);
    EXPECT_FALSE(toolbox->onTopBox()->isChecked());
    EXPECT_FALSE(toolbox->windowFlags() & Qt::WindowStaysOnTopHint);
    // An ordinary window, which the main window can cover; not a tool window kept above it.
    EXPECT_EQ(toolbox->windowType(), Qt::Window);
    // Still shown, where it was, and still giving the sample.
    EXPECT_TRUE(toolbox->isVisible());
    EXPECT_EQ(toolbox->pos(), QPoint(310, 220));
    EXPECT_TRUE(main().browser().sample().has_value());
    QTest::mouseClick(toolbox->onTopBox(), Qt::LeftButton);
    EXPECT_TRUE(toolbox->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(toolbox->windowType(), Qt::Tool);
    EXPECT_TRUE(toolbox->isVisible());
    EXPECT_EQ(toolbox->pos(), QPoint(310, 220));
}

TEST_F(ToolboxTest, ItsPlaceIsStoredAtTheEndOnlyOnceLoaded)
{
    // Never opened: nothing stored.
    main().close();
    EXPECT_FALSE(f.store.read(shell::SectionSettings, shell::KeyToolboxLeft).has_value());
    EXPECT_FALSE(f.store.read(shell::SectionSettings, shell::KeyToolboxTop).has_value());

    // Opened, moved and closed again: where it stood at the end is stored.
    f.start();
    Toolbox *toolbox = open();
    ASSERT_NE(toolbox, nullptr);
    toolbox->move(200, 150);
    toolbox->hide();
    main().close();
    EXPECT_EQ(f.store.read(shell::SectionSettings, shell::KeyToolboxLeft), QString::number(200 * tpp()));
    EXPECT_EQ(f.store.read(shell::SectionSettings, shell::KeyToolboxTop), QString::number(150 * tpp()));

    // The next run opens it there.
    f.start();
    EXPECT_EQ(open()->pos(), QPoint(200, 150));
}

TEST_F(ToolboxTest, TheSwatchTellsHowTheTextReadsOnTheTiles)
{
    preview::TiledPreview *window = openPreview(filled(QSize(64, 64), Qt::white));
    ASSERT_NE(window, nullptr);
    Toolbox *toolbox = open();
    ASSERT_NE(toolbox, nullptr);
    // Black on white.
    EXPECT_EQ(toolbox->swatch()->text(), QStringLiteral("21.0:1 AAA"));
    EXPECT_TRUE(toolbox->swatch()->toolTip().contains(
        QStringLiteral("\n10th percentile 21.00:1, median 21.00:1, minimum 21.00:1\n")));
    // A screen reader hears what the figure means.
    EXPECT_EQ(toolbox->swatch()->accessibleDescription(), toolbox->swatch()->toolTip());
    // Drawn in white on the black swatch.
    EXPECT_EQ(toolbox->swatch()->palette().color(QPalette::WindowText), QColor(Qt::white));

    // Grey #777777: 4.48:1 is AA for 36-point text, low for 12-point text.
    for (const Channel channel : {Channel::Red, Channel::Green, Channel::Blue})
        setComponent(toolbox, channel, 0x77);
    EXPECT_EQ(toolbox->swatch()->text(), QStringLiteral("4.4:1 AA"));
    toolbox->sizeBar()->setValue(12);
    EXPECT_EQ(toolbox->swatch()->text(), QStringLiteral("4.4:1 low"));
    EXPECT_EQ(toolbox->swatch()->palette().color(QPalette::WindowText), QColor(Qt::black));

    // A new picture: black tiles under the same grey text, 4.69:1.
    main().browser().setPicture(filled(QSize(10, 10), Qt::black));
    EXPECT_EQ(toolbox->swatch()->text(), QStringLiteral("4.6:1 AA"));

    // Tiles white on the left, black beyond 180 pixels: the sample spans both, until the
    // window is narrowed to the white part.
    QImage halves = filled(QSize(2000, 50), Qt::black);
    for (int y = 0; y < halves.height(); ++y)
        for (int x = 0; x < 180; ++x)
            halves.setPixel(x, y, qRgb(255, 255, 255));
    main().browser().setPicture(halves);
    setComponent(toolbox, Channel::Red, 0);
    setComponent(toolbox, Channel::Green, 0);
    setComponent(toolbox, Channel::Blue, 0);
    toolbox->sampleTextEdit()->setText(QStringLiteral("A line of text long enough"));
    toolbox->sizeBar()->setValue(36);
    window->resize(700, 500);
    ASSERT_TRUE(main().browser().samplePlacement().has_value());
    ASSERT_GT(main().browser().samplePlacement()->textRect.right(), 300);
    EXPECT_TRUE(toolbox->swatch()->toolTip().contains(QStringLiteral("minimum 1.00:1")))
        << qPrintable(toolbox->swatch()->toolTip());
    window->resize(170, 500);
    EXPECT_EQ(toolbox->swatch()->text(), QStringLiteral("21.0:1 AAA"));

    // No text, no picture, or the tiled window closed: the colour only.
    toolbox->sampleTextEdit()->clear();
    EXPECT_EQ(toolbox->swatch()->text(), QString());
    toolbox->sampleTextEdit()->setText(QStringLiteral("Back"));
    EXPECT_EQ(toolbox->swatch()->text(), QStringLiteral("21.0:1 AAA"));
    main().browser().clearPicture();
    EXPECT_EQ(toolbox->swatch()->text(), QString());
    main().browser().setPicture(filled(QSize(8, 8), Qt::white));
    EXPECT_EQ(toolbox->swatch()->text(), QStringLiteral("21.0:1 AAA"));
    window->close();
    EXPECT_EQ(toolbox->swatch()->text(), QString());
    EXPECT_FALSE(toolbox->swatch()->toolTip().contains(QStringLiteral("percentile")));
    EXPECT_EQ(toolbox->swatch()->accessibleDescription(), toolbox->swatch()->toolTip());
}

TEST(ToolboxWithoutFonts, TheListStaysEmptyAndTheDefaultFontIsUsed)
{
    testsupport::FakeShellInfo shell;
    browser::Browser browser(shell, 15);
    Toolbox toolbox(browser, QStringList(), QPointF(1000, 1000), 15, nullptr);
    toolbox.show();
    EXPECT_EQ(toolbox.fontCountLabel()->text(), QStringLiteral("0 fonts"));
    EXPECT_EQ(toolbox.fontList()->count(), 0);
    EXPECT_EQ(toolbox.fontList()->currentIndex(), -1);
    ASSERT_TRUE(browser.sample().has_value());
    EXPECT_EQ(browser.sample()->fontFamily, QString());
    toolbox.sizeBar()->setValue(20);
    EXPECT_EQ(browser.sample()->pointSize, 20);

    // The tiled window shows it in its own font at that size.
    browser.setPicture(QImage(16, 16, QImage::Format_RGB32));
    preview::WindowPlace place;
    preview::TiledPreview window(browser, place, nullptr);
    const QString family = window.sampleEdit()->font().family();
    window.show();
    EXPECT_EQ(window.sampleEdit()->text(), QStringLiteral("Sample Text"));
    EXPECT_EQ(window.sampleEdit()->font().family(), family);
    EXPECT_DOUBLE_EQ(window.sampleEdit()->font().pointSizeF(), 20);
    toolbox.hide();
    EXPECT_FALSE(browser.sample().has_value());
    EXPECT_EQ(window.sampleEdit()->text(), QString());
}
