#pragma once
// The image type options dialog: one check box per picture type (0 bitmap, 1 JPEG, 2 GIF,
// 3 icon) and the OK button. It is loaded hidden at start-up and then only shown and
// hidden. OK stores the chosen types, gives them to the browsing state and asks for the
// listed folder to be scanned again; at least one type must stay ticked.

#include "catalogue/typepatterns.h"

#include <QCoreApplication>
#include <QDialog>

#include <array>

class QCheckBox;
class QLabel;
class QPushButton;

namespace pavix::browser {
class Browser;
}
namespace pavix::platform {
class SettingsStore;
}

namespace pavix::options {

inline QString noTypeMessage()
{
    return QCoreApplication::translate("pavix::options::OptionsDialog", "At least one type must be checked.");
}
inline QString noTypeTitle()
{
    return QCoreApplication::translate("pavix::options::OptionsDialog", "Check at least one");
}


class OptionsDialog : public QDialog {
    Q_OBJECT
public:
    OptionsDialog(browser::Browser &browser, platform::SettingsStore &settings, QWidget *parent,
                  double twipsPerPixel = 15.0);

    // Ticks each box whose type is enabled in `patterns` and clears the others.
    void showTypes(const catalogue::TypePatterns &patterns);

    // The box of a picture type (0 bitmap, 1 JPEG, 2 GIF, 3 icon).
    QCheckBox *typeBox(int type) const { return m_typeBoxes.at(static_cast<size_t>(type)); }
    QPushButton *okButton() const { return m_okButton; }

    // Shows the dialog centred on the screen: modal (the menu and the tool bar) or not (F3).
    void showCentred(bool modal);
    // OK: with no box ticked, says so in a message box and changes nothing; otherwise hides the dialog,
    // stores the four patterns under [Type], gives them to the browser and asks for the
    // rescan (typesApplied).
    void apply();

signals:
    // The types were stored and given to the browser: the listed folder is to be scanned
    // again with them.
    void typesApplied();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    browser::Browser &m_browser;
    platform::SettingsStore &m_settings;
    double m_tpp;
    QLabel *m_promptLabel = nullptr;
    std::array<QCheckBox *, catalogue::PictureTypeCount> m_typeBoxes{};
    QPushButton *m_okButton = nullptr;
};

} // namespace pavix::options
