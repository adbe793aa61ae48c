#pragma once
// The image type options dialog: one check box per picture type (0 bitmap, 1 JPEG, 2 GIF,
// 3 icon) and the OK button. It is loaded hidden at start-up and then only shown and
// hidden.

#include "catalogue/typepatterns.h"

#include <QDialog>

#include <array>

class QCheckBox;
class QLabel;
class QPushButton;

namespace pavix::options {

class OptionsDialog : public QDialog {
    Q_OBJECT
public:
    explicit OptionsDialog(QWidget *parent, double twipsPerPixel = 15.0);

    // Ticks each box whose type is enabled in `patterns` and clears the others.
    void showTypes(const catalogue::TypePatterns &patterns);

    // The box of a picture type (0 bitmap, 1 JPEG, 2 GIF, 3 icon).
    QCheckBox *typeBox(int type) const { return m_typeBoxes.at(static_cast<size_t>(type)); }
    QPushButton *okButton() const { return m_okButton; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    double m_tpp;
    QLabel *m_promptLabel = nullptr;
    std::array<QCheckBox *, 4> m_typeBoxes{};
    QPushButton *m_okButton = nullptr;
};

} // namespace pavix::options
