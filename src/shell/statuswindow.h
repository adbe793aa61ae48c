#pragma once
// The status line docked along the bottom of the main window: one undivided text in
// simple mode, or several parts whose right edges are given in pixels (-1 = to the right
// edge). It exists only while the status bar is switched on. Each text is one line: a
// line break or another control character in it (a file's name) is shown as
// catalogue::oneLineText shows it, and the texts read back as shown. Assistive tools read
// what it shows as its description.

#include <QString>
#include <QWidget>

#include <vector>

namespace pavix::shell {

class StatusWindow : public QWidget {
    Q_OBJECT
public:
    explicit StatusWindow(QWidget *parent);

    // Simple mode on (one text over the whole width) or off (the parts).
    void setSimple(bool simple);
    bool isSimple() const { return m_simple; }
    void setSimpleText(const QString &text);
    QString simpleText() const { return m_simpleText; }

    // Parts by right edge in pixels; -1 runs to the window's right edge.
    void setParts(const std::vector<int> &rightEdgesPx);
    const std::vector<int> &parts() const { return m_edges; }
    void setPartText(int part, const QString &text);
    QString partText(int part) const;

    // Smallest height in pixels; the window takes at least this and at most maxHeightPx.
    void setMinHeight(int heightPx);
    void setMaxHeight(int heightPx);
    // Docks itself again along the bottom of its parent, full width.
    void redock();
    // What the status line shows now, as one text (parts joined by " | ").
    QString shownText() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int dockHeight() const;

    bool m_simple = true;
    QString m_simpleText;
    std::vector<int> m_edges;
    std::vector<QString> m_texts;
    int m_minHeightPx = 0;
    int m_maxHeightPx = 20;
};

} // namespace pavix::shell
