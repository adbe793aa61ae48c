#include "toolbox/toolbox.h"

#include "browser/browser.h"
#include "common/placement.h"
#include "common/units.h"
#include "toolbox/readability.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHideEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QShowEvent>
#include <QWindow>

#include <algorithm>

namespace pavix::toolbox {

using common::TwipRect;

namespace {

// The window's client area and its controls, twips; the colour controls are placed inside
// the frame.
constexpr double ClientWidth = 1440;
constexpr double ClientHeight = 6975;
constexpr TwipRect SampleTextRect{30, 90, 1365, 375};
constexpr TwipRect ColourFrameRect{30, 630, 1365, 3195};
constexpr TwipRect SwatchRect{90, 270, 1185, 345};
constexpr double AmountLefts[3] = {90, 510, 915};
constexpr double AmountTop = 660;
constexpr double AmountWidth = 330;
constexpr double AmountHeight = 255;
constexpr double ColourBarLefts[3] = {165, 570, 990};
constexpr double ColourBarTop = 960;
constexpr double ColourBarWidth = 195;
constexpr double ColourBarHeight = 1785;
constexpr double ChannelLabelLefts[3] = {195, 615, 1035};
constexpr double ChannelLabelTop = 2850;
constexpr TwipRect SizeCaptionRect{30, 3960, 780, 195};
constexpr TwipRect SizeLabelRect{870, 3960, 405, 225};
constexpr TwipRect SizeBarRect{30, 4260, 1365, 255};
constexpr TwipRect FontCountRect{30, 4650, 1275, 225};
constexpr TwipRect FontListRect{30, 4920, 1365, 315};
constexpr double RuleLeft = 30;
constexpr double RuleRight = 1380;
constexpr double RuleTop = 5970;
constexpr TwipRect OnTopRect{30, 6120, 915, 225};
constexpr TwipRect CloseRect{353, 6480, 735, 375};

// The colour bars run from 255 at the top to 0 at the bottom. A scroll bar's values rise
// downwards, so a bar's position is 255 minus the component.
constexpr int ComponentMaximum = 255;
constexpr int ColourSmallStep = 10;
constexpr int ColourLargeStep = 50;
// The size bar gives 8 points at its left end and 120 at its right end, 36 at first (its
// position is the size itself).
constexpr int SmallestSize = 8;
constexpr int LargestSize = 120;
constexpr int InitialSize = 36;
constexpr int SizeSmallStep = 1;
constexpr int SizeLargeStep = 10;

const char *const ChannelCaptions[3] = {QT_TRANSLATE_NOOP("pavix::toolbox::Toolbox", "R"),
                                        QT_TRANSLATE_NOOP("pavix::toolbox::Toolbox", "G"),
                                        QT_TRANSLATE_NOOP("pavix::toolbox::Toolbox", "B")};

// A label whose text would pass `rightPx` is drawn narrower, then smaller, until it ends
// there: the window is too narrow to give it more room.
void fitLabel(QLabel *label, int rightPx)
{
    const int room = std::max(1, rightPx - label->x());
    QFont font = label->parentWidget()->font();
    auto width = [&label](const QFont &f) { return QFontMetrics(f).horizontalAdvance(label->text()) + 2; };
    for (int stretch = QFont::Unstretched; stretch >= QFont::ExtraCondensed && width(font) > room; stretch -= 5)
        font.setStretch(stretch);
    for (int pixelSize = font.pixelSize(); pixelSize > 6 && width(font) > room; --pixelSize)
        font.setPixelSize(pixelSize - 1);
    label->setFont(font);
    label->resize(std::max(label->width(), std::min(width(font), room)), label->height());
}

// "On Top" makes the toolbox a tool window kept above every other; cleared, it is an
// ordinary window that the main window and the tiled window can cover (a tool window stays
// above the program's other windows whatever its hint says).
Qt::WindowFlags windowFlagsFor(bool onTop)
{
    const Qt::WindowFlags frame = Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    return onTop ? Qt::Tool | Qt::WindowStaysOnTopHint | frame : Qt::Window | frame;
}

} // namespace

Toolbox::Toolbox(browser::Browser &browser, const QStringList &fontFamilies, QPointF cornerTwips, double twipsPerPixel,
                 QWidget *parent)
    : QWidget(parent, windowFlagsFor(true)), m_browser(browser), m_tpp(twipsPerPixel)
{
    setObjectName(QStringLiteral("toolbox"));
    setWindowTitle(tr("Toolbox"));
    setFixedSize(px(ClientWidth), px(ClientHeight));
    // The controls were laid out for a small dialog font: a line of text as high as the
    // size caption.
    QFont small = font();
    const int lineHeightPx = px(SizeCaptionRect.height);
    for (int pixelSize = lineHeightPx; pixelSize > 6; --pixelSize) {
        small.setPixelSize(pixelSize);
        if (QFontMetrics(small).height() <= lineHeightPx)
            break;
    }
    setFont(small);
    createControls(fontFamilies);

    // The stored corner is kept; the window is shown wholly on one of the screens there
    // are now.
    QList<QRect> screens;
    for (const QScreen *screen : QGuiApplication::screens())
        screens.append(screen->availableGeometry());
    const QRect frame(px(cornerTwips.x()), px(cornerTwips.y()), width() + common::FrameAllowancePx,
                      height() + common::FrameAllowancePx);
    move(common::onScreenTopLeft(frame, screens));
    updateSwatch();

    connect(&m_browser, &browser::Browser::samplePlacementChanged, this, [this] {
        if (!m_publishing)
            updateSwatch();
    });
    connect(&m_browser, &browser::Browser::pictureChanged, this, &Toolbox::updateSwatch);
}

int Toolbox::px(double twips) const
{
    return common::twipsToPixels(twips, m_tpp);
}

void Toolbox::createControls(const QStringList &fontFamilies)
{
    auto place = [this](QWidget *widget, const TwipRect &rect, const char *name) {
        widget->setObjectName(QLatin1String(name));
        widget->setGeometry(common::twipsToPixels(rect, m_tpp));
    };

    m_sampleTextEdit = new QLineEdit(tr("Sample Text"), this);
    place(m_sampleTextEdit, SampleTextRect, "sampleTextEdit");
    m_sampleTextEdit->setAccessibleName(tr("Sample text"));
    connect(m_sampleTextEdit, &QLineEdit::textChanged, this, &Toolbox::publishSample);

    m_colourFrame = new QGroupBox(tr("Font's color"), this);
    place(m_colourFrame, ColourFrameRect, "colourFrame");
    m_swatch = new QLabel(m_colourFrame);
    place(m_swatch, SwatchRect, "swatch");
    m_swatch->setAutoFillBackground(true);
    // Edged, so a swatch as light as the window still shows where it is.
    m_swatch->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_swatch->setAlignment(Qt::AlignCenter);
    const char *amountNames[3] = {"redAmountLabel", "greenAmountLabel", "blueAmountLabel"};
    const char *barNames[3] = {"redBar", "greenBar", "blueBar"};
    const char *channelNames[3] = {"redLabel", "greenLabel", "blueLabel"};
    for (size_t i = 0; i < 3; ++i) {
        auto *amount = new QLabel(QStringLiteral("0"), m_colourFrame);
        place(amount, {AmountLefts[i], AmountTop, AmountWidth, AmountHeight}, amountNames[i]);
        m_amountLabels[i] = amount;

        auto *bar = new QScrollBar(Qt::Vertical, m_colourFrame);
        place(bar, {ColourBarLefts[i], ColourBarTop, ColourBarWidth, ColourBarHeight}, barNames[i]);
        bar->setRange(0, ComponentMaximum);
        bar->setSingleStep(ColourSmallStep);
        bar->setPageStep(ColourLargeStep);
        bar->setValue(ComponentMaximum); // component 0, at the bottom
        const Channel channel = static_cast<Channel>(i);
        connect(bar, &QScrollBar::valueChanged, this, [this, channel] { onColourChanged(channel); });
        m_colourBars[i] = bar;
        const QString barAccessibleNames[3] = {tr("Red"), tr("Green"), tr("Blue")};
        bar->setAccessibleName(barAccessibleNames[i]);

        auto *caption = new QLabel(tr(ChannelCaptions[i]), m_colourFrame);
        caption->setObjectName(QLatin1String(channelNames[i]));
        caption->move(px(ChannelLabelLefts[i]), px(ChannelLabelTop));
        caption->adjustSize();
    }

    m_sizeCaption = new QLabel(tr("Font's size:"), this);
    place(m_sizeCaption, SizeCaptionRect, "sizeCaption");
    m_sizeLabel = new QLabel(this);
    place(m_sizeLabel, SizeLabelRect, "sizeLabel");
    m_sizeBar = new QScrollBar(Qt::Horizontal, this);
    place(m_sizeBar, SizeBarRect, "sizeBar");
    m_sizeBar->setRange(SmallestSize, LargestSize);
    m_sizeBar->setSingleStep(SizeSmallStep);
    m_sizeBar->setPageStep(SizeLargeStep);
    m_sizeBar->setValue(InitialSize);
    connect(m_sizeBar, &QScrollBar::valueChanged, this, &Toolbox::onSizeChanged);
    m_sizeBar->setAccessibleName(tr("Font size"));

    m_fontCountLabel = new QLabel(this);
    place(m_fontCountLabel, FontCountRect, "fontCountLabel");
    m_fontList = new QComboBox(this);
    place(m_fontList, FontListRect, "fontList");
    m_fontList->setAccessibleName(tr("Fonts"));
    // On Linux a combo box is read by its current item, and by the label that names it.
    m_fontCountLabel->setBuddy(m_fontList);
    // Filled once; the first family is the one chosen.
    m_fontList->addItems(fontFamilies);
    m_fontList->setCurrentIndex(fontFamilies.isEmpty() ? -1 : 0);
    m_fontList->setMaxVisibleItems(20);
    connect(m_fontList, &QComboBox::currentIndexChanged, this, &Toolbox::publishSample);

    auto *rule = new QFrame(this);
    rule->setObjectName(QStringLiteral("rule"));
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);
    rule->setGeometry(px(RuleLeft), px(RuleTop) - 1, px(RuleRight) - px(RuleLeft), 2);

    m_onTopBox = new QCheckBox(tr("On Top"), this);
    place(m_onTopBox, OnTopRect, "onTopBox");
    m_onTopBox->setChecked(true);
    connect(m_onTopBox, &QCheckBox::toggled, this, &Toolbox::onOnTopToggled);

    m_closeButton = new QPushButton(tr("Close"), this);
    place(m_closeButton, CloseRect, "closeButton");
    connect(m_closeButton, &QPushButton::clicked, this, &QWidget::hide);

    m_fontCountLabel->setText(tr("%1 fonts").arg(m_fontList->count()));
    onSizeChanged();
    // The size caption and the size share one row, which is narrower than their texts in
    // most fonts.
    fitLabel(m_sizeCaption, m_sizeLabel->x() - 2);
    fitLabel(m_fontCountLabel, px(SampleTextRect.left + SampleTextRect.width));
}

// --- The sample ------------------------------------------------------------------------------

int Toolbox::sampleSize() const
{
    return m_sizeBar->value();
}

int Toolbox::component(Channel channel) const
{
    return ComponentMaximum - m_colourBars[index(channel)]->value();
}

QColor Toolbox::sampleColour() const
{
    return QColor(component(Channel::Red), component(Channel::Green), component(Channel::Blue));
}

browser::Sample Toolbox::sample() const
{
    return browser::Sample{m_sampleTextEdit->text(), m_fontList->currentText(), double(sampleSize()), sampleColour()};
}

QPointF Toolbox::cornerTwips() const
{
    return QPointF(pos()) * m_tpp;
}

void Toolbox::publishSample()
{
    if (isVisible()) {
        m_publishing = true;
        m_browser.setSample(sample());
        m_publishing = false;
    }
    updateSwatch();
}

void Toolbox::onColourChanged(Channel channel)
{
    m_amountLabels[index(channel)]->setText(QString::number(component(channel)));
    publishSample();
}

void Toolbox::onSizeChanged()
{
    m_sizeLabel->setText(tr("%1 point").arg(sampleSize()));

    fitLabel(m_sizeLabel, px(SampleTextRect.left + SampleTextRect.width));
    publishSample();
}

void Toolbox::updateSwatch()
{
    const QColor colour = sampleColour();
    QPalette palette = m_swatch->palette();
    palette.setColor(QPalette::Window, colour);
    palette.setColor(QPalette::WindowText, figureInk(colour));
    m_swatch->setPalette(palette);

    std::optional<ContrastFigures> figures;
    const std::optional<browser::SamplePlacement> &placement = m_browser.samplePlacement();
    if (isVisible() && placement && m_browser.sample())
        figures = measureContrast(m_browser.picture(), placement->background, placement->textRect, colour);
    if (figures) {
        m_swatch->setText(contrastFigureText(figures->tenthPercentile,
                                             contrastGrade(figures->tenthPercentile, sampleSize())));
    } else {
        m_swatch->clear();
    }
    m_swatch->setToolTip(contrastToolTip(figures));
    m_swatch->setAccessibleDescription(m_swatch->toolTip());
    m_swatch->setAccessibleName(tr("Readability %1").arg(m_swatch->text()).trimmed());
}

// --- Window ----------------------------------------------------------------------------------

void Toolbox::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous() && !m_changingFlags)
        publishSample();
}

void Toolbox::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    if (!event->spontaneous() && !m_changingFlags) {
        m_browser.setSample(std::nullopt);
        updateSwatch();
    }
}

void Toolbox::stayAbove(QWindow *window)
{
    if (!window || !m_onTopBox->isChecked())
        return;
    if (!windowHandle())
        create();
    QWindow *own = windowHandle();
    if (!own || window == own || own->transientParent() == window)
        return;
    // The compositor learns a window's parent as the window is shown: a shown toolbox is
    // shown again over its new parent.
    const bool shown = isVisible();
    m_changingFlags = true;
    if (shown)
        hide();
    own->setTransientParent(window);
    if (shown)
        show();
    m_changingFlags = false;
}

void Toolbox::onOnTopToggled(bool onTop)
{
    if (onTop == windowFlags().testFlag(Qt::WindowStaysOnTopHint))
        return;
    // A new on-top state re-creates the window, which hides it: it comes back where it was.
    const bool shown = isVisible();
    const QPoint corner = pos();
    m_changingFlags = true;
    setWindowFlags(windowFlagsFor(onTop));
    move(corner);
    if (shown)
        show();
    m_changingFlags = false;
}

} // namespace pavix::toolbox
