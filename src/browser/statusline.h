#pragma once
// The status line at the bottom of the main window, as the parts of the window write to it:
// one message over the whole line, or the file information in parts. It exists only while
// the status bar is switched on; while it does not, writing to it does nothing.

#include <QString>

#include <vector>

namespace pavix::browser {

class StatusLine {
public:
    virtual ~StatusLine();
    // True while the status line exists.
    virtual bool isShown() const = 0;
    // One text over the whole line.
    virtual void showMessage(const QString &text) = 0;
    // Divides the line into parts ending at these right edges (pixels; -1 runs to the end);
    // a part keeps its text until it is written again.
    virtual void showParts(const std::vector<int> &rightEdgesPx) = 0;
    // Writes the text of one part (from 0) of the divided line.
    virtual void setPartText(int part, const QString &text) = 0;
    // What the line shows now, as one text; "" while it does not exist.
    virtual QString shownText() const = 0;
};

} // namespace pavix::browser
