#pragma once
// The main window's status line as the parts of the window write to it: it owns the status
// window while the status bar is switched on, and writing to it does nothing while it is
// off.

#include "browser/statusline.h"

#include <QPointer>

class QWidget;

namespace pavix::shell {

class StatusWindow;

class StatusBar : public browser::StatusLine {
public:
    // The status window docks along the bottom of `parent`; `maxHeightPx` is the most it
    // may take.
    StatusBar(QWidget *parent, int maxHeightPx);
    ~StatusBar() override;

    // Creates the status window in simple mode with no text (replacing one there was), or
    // destroys it.
    void create();
    void destroy();
    // The status window while it exists, else nullptr.
    StatusWindow *window() const { return m_window; }
    // Docks the window again along the bottom of its parent.
    void redock();

    bool isShown() const override;
    void showMessage(const QString &text) override;
    void showParts(const std::vector<int> &rightEdgesPx) override;
    void setPartText(int part, const QString &text) override;
    QString shownText() const override;

private:
    QWidget *m_parent;
    int m_maxHeightPx;
    QPointer<StatusWindow> m_window;
};

} // namespace pavix::shell
