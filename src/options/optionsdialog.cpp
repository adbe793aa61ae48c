#include "options/optionsdialog.h"

#include "browser/browser.h"
#include "common/units.h"
#include "platform/settingsstore.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QScreen>

#include <algorithm>

namespace pavix::options {

using common::twipsToPixels;

namespace {

// The two rows of boxes below the first four types' rows, by which the frame, the OK button
// and the dialog reach further down.
constexpr int ExtraRowsTwips = 600;

} // namespace

OptionsDialog::OptionsDialog(browser::Browser &browser, platform::SettingsStore &settings, QWidget *parent,
                             double twipsPerPixel)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint),
      m_browser(browser),
      m_settings(settings),
      m_tpp(twipsPerPixel)
{
    setObjectName(QStringLiteral("optionsDialog"));
    setWindowTitle(tr("Options"));
    setFixedSize(twipsToPixels(3030, m_tpp), twipsToPixels(2775 + ExtraRowsTwips, m_tpp));

    auto place = [this](QWidget *w, int left, int top, int width, int height) {
        w->setGeometry(twipsToPixels(left, m_tpp), twipsToPixels(top, m_tpp), twipsToPixels(width, m_tpp),
                       twipsToPixels(height, m_tpp));
    };
    m_promptLabel = new QLabel(tr(" Check the appropriate file types   to enable them for browsing."), this);
    m_promptLabel->setWordWrap(true);
    place(m_promptLabel, 300, 300, 2415, 495);
    // The wrapped prompt takes the lines its font needs, so no line is cut off.
    m_promptLabel->resize(m_promptLabel->width(),
                          std::max(m_promptLabel->height(), m_promptLabel->heightForWidth(m_promptLabel->width())));

    // Two columns of boxes, a row every 300 twips; the types after the first four take the
    // rows below theirs.
    static const int boxes[catalogue::PictureTypeCount][4] = {
        {1560, 1050, 795, 225}, // Bitmap
        {660, 1050, 645, 225},  // Jpg
        {660, 1350, 585, 225},  // Gif
        {1560, 1350, 555, 225}, // Ico
        {660, 1650, 645, 225},  // Png
        {1560, 1650, 705, 225}, // Webp
        {660, 1950, 585, 225},  // Tiff
    };
    for (int i = 0; i < catalogue::PictureTypeCount; ++i) {
        const QString caption = catalogue::typeKey(static_cast<catalogue::PictureType>(i));
        m_typeBoxes[static_cast<size_t>(i)] = new QCheckBox(caption, this);
        m_typeBoxes[static_cast<size_t>(i)]->setObjectName(QStringLiteral("typeBox%1").arg(i));
        // The check box needs room for its indicator beside the caption.
        place(m_typeBoxes[static_cast<size_t>(i)], boxes[i][0], boxes[i][1], boxes[i][2] + 300, boxes[i][3] + 60);
    }
    m_okButton = new QPushButton(tr("OK"), this);
    m_okButton->setObjectName(QStringLiteral("okButton"));
    m_okButton->setDefault(true);
    connect(m_okButton, &QPushButton::clicked, this, &OptionsDialog::apply);
    place(m_okButton, 990, 2160 + ExtraRowsTwips, 1125, 375);

    // Tab order: the label, then Ico, Gif, Jpg, Bitmap, Png, Webp, Tiff and OK.
    setTabOrder(m_typeBoxes[3], m_typeBoxes[2]);
    setTabOrder(m_typeBoxes[2], m_typeBoxes[1]);
    setTabOrder(m_typeBoxes[1], m_typeBoxes[0]);
    setTabOrder(m_typeBoxes[0], m_typeBoxes[4]);
    setTabOrder(m_typeBoxes[4], m_typeBoxes[5]);
    setTabOrder(m_typeBoxes[5], m_typeBoxes[6]);
    setTabOrder(m_typeBoxes[6], m_okButton);
}

void OptionsDialog::showTypes(const catalogue::TypePatterns &patterns)
{
    for (int i = 0; i < catalogue::PictureTypeCount; ++i)
        m_typeBoxes[static_cast<size_t>(i)]->setChecked(catalogue::typeEnabled(patterns,
                                                                               static_cast<catalogue::PictureType>(i)));
}

void OptionsDialog::showCentred(bool modal)
{
    // Closed without OK, the dialog applied nothing: it opens again with the boxes of the
    // types that are in force, not the ticks left unapplied.
    if (!isVisible())
        showTypes(m_browser.patterns());
    if (const QScreen *screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    if (modal) {
        exec();
    } else {
        setModal(false);
        show();
        raise();
        activateWindow();
    }
}

void OptionsDialog::apply()
{
    int ticked = 0;
    for (const QCheckBox *box : m_typeBoxes)
        ticked += box->isChecked() ? 1 : 0;
    if (ticked == 0) {
        QMessageBox::critical(this, noTypeTitle(), noTypeMessage(), QMessageBox::Ok);

        return;
    }
    // The dialog shows the busy pointer while it works; it is hidden before the rescan,
    // so the main window keeps its own pointer.
    setCursor(Qt::WaitCursor);
    catalogue::TypePatterns patterns;
    for (const catalogue::PictureType type : catalogue::AllPictureTypes)
        catalogue::setTypeEnabled(patterns, type, m_typeBoxes[static_cast<size_t>(type)]->isChecked());
    hide();
    for (const catalogue::PictureType type : catalogue::AllPictureTypes)
        m_settings.write(catalogue::SectionType, catalogue::typeKey(type), catalogue::patternOf(patterns, type));
    m_settings.sync();
    m_browser.setPatterns(patterns);
    emit typesApplied();
    unsetCursor();
}

void OptionsDialog::paintEvent(QPaintEvent *)
{
    // A raised frame around the label and the boxes.
    QPainter p(this);
    auto pt = [this](int x, int y) { return QPoint(twipsToPixels(x, m_tpp), twipsToPixels(y, m_tpp)); };
    p.setPen(palette().light().color());
    p.drawLine(pt(135, 120), pt(2880, 120));
    const int bottom = 1800 + ExtraRowsTwips;
    p.drawLine(pt(135, 120), pt(135, bottom));
    p.setPen(palette().shadow().color());
    p.drawLine(pt(2880, 120), pt(2880, bottom));
    p.drawLine(pt(150, bottom), pt(2890, bottom));
}

} // namespace pavix::options
