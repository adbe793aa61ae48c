#pragma once
// The user's actions on the list of pictures, and the list following the browser: a click
// on an entry selects and previews it, a left click on empty space clears the selection,
// the right button asks for the list's menu, a hint invites a click while nothing is
// selected, and a double click or any key asks for the tiled preview window. When the
// browser selects a file from elsewhere (the grid), the list selects its entry.

#include <QObject>

#include <vector>

class QTimer;

namespace pavix::browser {
class Browser;
class StatusLine;
struct CatalogueEntry;
}
namespace pavix::listview {

class QtListView;

class ListInteraction : public QObject {
    Q_OBJECT
public:
    ListInteraction(browser::Browser &browser, browser::StatusLine &status, listview::QtListView *list);

    // True while the click hint is shown and the hint timer watches whether the pointer
    // left the list.
    bool hintShown() const { return m_hintShown; }
    // Forgets the hint, so the next move over the list shows it again.
    void resetHint() { m_hintShown = false; }
    QTimer *hintTimer() const { return m_hintTimer; }

    // Empties the list.
    void clear();
    // Adds one entry per catalogue entry, in their order: the name with its icon, the size
    // (ordered by the number) and the type's name.
    void fill(const std::vector<browser::CatalogueEntry> &entries);

    void onItemClick(int index);
    void onMouseDown(int button, int shift, double xTwips, double yTwips);
    void onMouseMove(int button, int shift, double xTwips, double yTwips);
    // While nothing is selected, takes the hint away once the pointer is outside the list.
    void onHintTimer();

signals:
    void listMenuRequested();
    void tiledPreviewRequested();

private:
    void requestTiledPreview();

    browser::Browser &m_browser;
    browser::StatusLine &m_status;
    listview::QtListView *m_list;
    QTimer *m_hintTimer = nullptr;
    bool m_hintShown = false;
};

} // namespace pavix::listview
