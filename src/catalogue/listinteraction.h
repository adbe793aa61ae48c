#pragma once
// The user's actions on the list of pictures: a click on an entry selects and previews it
// and moves the thumbnail marker onto the same file, a left click on empty space clears
// the selection, the right button opens the list's menu, a hint invites a click while
// nothing is selected, and a double click or any key opens the tiled preview window.

#include <QObject>

class QTimer;

namespace pavix::shell {
class MainWindow;
}

namespace pavix::catalogue {

class ListInteraction : public QObject {
    Q_OBJECT
public:
    explicit ListInteraction(shell::MainWindow &main);

    void Lv_ItemClick(int index);
    void Lv_MouseDown(int button, int shift, double xTwips, double yTwips);
    void Lv_MouseMove(int button, int shift, double xTwips, double yTwips);
    void Lv_KeyDown(int keyCode, int shift);
    void Lv_DblClick();
    void Timer1_Timer();

    // True while the click hint is shown and Timer1 watches whether the pointer left the
    // list.
    bool HintShown = false;
    QTimer *Timer1 = nullptr;

private:
    void openTiledPreview();

    shell::MainWindow &m_main;
};

} // namespace pavix::catalogue
