#include "catalogue/optionsdialog.h"

#include "common/units.h"

#include <QCheckBox>
#include <QLabel>
#include <QPainter>
#include <QPushButton>

namespace pavix::catalogue {

using common::twipsToPixels;

OptionsDialog::OptionsDialog(QWidget *parent, double twipsPerPixel)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint), m_tpp(twipsPerPixel)
{
    setObjectName(QStringLiteral("Options"));
    setWindowTitle(QStringLiteral("Options"));
    setFixedSize(twipsToPixels(3030, m_tpp), twipsToPixels(2775, m_tpp));

    auto place = [this](QWidget *w, int left, int top, int width, int height) {
        w->setGeometry(twipsToPixels(left, m_tpp), twipsToPixels(top, m_tpp),
                       twipsToPixels(width, m_tpp), twipsToPixels(height, m_tpp));
    };
    Label3 = new QLabel(
        QStringLiteral(" Check the appropriate file types   to enable them for browsing."), this);
    Label3->setWordWrap(true);
    place(Label3, 300, 300, 2415, 495);

    static const char *captions[] = {"Bitmap", "Jpg", "Gif", "Ico"};
    static const int boxes[4][4] = {
        {1560, 1050, 795, 225}, // Bitmap
        {660, 1050, 645, 225},  // Jpg
        {660, 1350, 585, 225},  // Gif
        {1560, 1350, 555, 225}, // Ico
    };
    for (int i = 0; i < 4; ++i) {
        Check[static_cast<size_t>(i)] = new QCheckBox(QString::fromLatin1(captions[i]), this);
        Check[static_cast<size_t>(i)]->setObjectName(QStringLiteral("Check%1").arg(i));
        // The check box needs room for its indicator beside the caption.
        place(Check[static_cast<size_t>(i)], boxes[i][0], boxes[i][1], boxes[i][2] + 300,
              boxes[i][3] + 60);
    }
    cmdApply = new QPushButton(QStringLiteral("OK"), this);
    cmdApply->setObjectName(QStringLiteral("cmdApply"));
    place(cmdApply, 990, 2160, 1125, 375);

    // Tab order: the label, then Ico, Gif, Jpg, Bitmap and OK.
    setTabOrder(Check[3], Check[2]);
    setTabOrder(Check[2], Check[1]);
    setTabOrder(Check[1], Check[0]);
    setTabOrder(Check[0], cmdApply);
}

void OptionsDialog::Form_Load(const TypePatterns &patterns)
{
    for (int i = 0; i < 4; ++i)
        Check[static_cast<size_t>(i)]->setChecked(
            typeEnabled(patterns, static_cast<PictureType>(i)));
}

void OptionsDialog::paintEvent(QPaintEvent *)
{
    // A raised frame around the label and the boxes.
    QPainter p(this);
    auto pt = [this](int x, int y) {
        return QPoint(twipsToPixels(x, m_tpp), twipsToPixels(y, m_tpp));
    };
    p.setPen(palette().light().color());
    p.drawLine(pt(135, 120), pt(2880, 120));
    p.drawLine(pt(135, 120), pt(135, 1800));
    p.setPen(palette().shadow().color());
    p.drawLine(pt(2880, 120), pt(2880, 1800));
    p.drawLine(pt(150, 1800), pt(2890, 1800));
}

} // namespace pavix::catalogue
