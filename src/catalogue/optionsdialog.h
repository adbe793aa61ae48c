#pragma once
// The image type options dialog `Options`: one check box per picture type (`Check` 0
// bitmap, 1 JPEG, 2 GIF, 3 icon) and the OK button `cmdApply`. It is loaded hidden at
// start-up and then only shown and hidden.

#include "catalogue/typepatterns.h"

#include <QDialog>

#include <array>

class QCheckBox;
class QLabel;
class QPushButton;

namespace pavix::catalogue {

class OptionsDialog : public QDialog {
    Q_OBJECT
public:
    explicit OptionsDialog(QWidget *parent, double twipsPerPixel = 15.0);

    // Ticks each box whose type is enabled in `patterns` and clears the others.
    void Form_Load(const TypePatterns &patterns);

    QLabel *Label3 = nullptr;
    std::array<QCheckBox *, 4> Check{};
    QPushButton *cmdApply = nullptr;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    double m_tpp;
};

} // namespace pavix::catalogue
