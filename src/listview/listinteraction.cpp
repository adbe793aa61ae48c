#include "listview/listinteraction.h"

#include "browser/browser.h"
#include "browser/statusline.h"
#include "browser/texts.h"
#include "catalogue/filesize.h"
#include "common/keys.h"
#include "listview/qtlistview.h"

#include <QCursor>
#include <QTimer>

namespace pavix::listview {

ListInteraction::ListInteraction(browser::Browser &browser, browser::StatusLine &status, listview::QtListView *list)
    : QObject(list), m_browser(browser), m_status(status), m_list(list)
{
    setObjectName(QStringLiteral("listInteraction"));
    m_hintTimer = new QTimer(this);
    m_hintTimer->setObjectName(QStringLiteral("hintTimer"));
    m_hintTimer->setInterval(100);
    connect(m_hintTimer, &QTimer::timeout, this, &ListInteraction::onHintTimer);
    connect(m_list, &listview::QtListView::itemClick, this, &ListInteraction::onItemClick);
    connect(m_list, &listview::QtListView::mouseDown, this, &ListInteraction::onMouseDown);
    connect(m_list, &listview::QtListView::mouseMove, this, &ListInteraction::onMouseMove);
    // Every key, and a double click, open the tiled preview.
    connect(m_list, &listview::QtListView::keyDown, this, &ListInteraction::requestTiledPreview);
    connect(m_list, &listview::QtListView::dblClick, this, &ListInteraction::requestTiledPreview);

    // The list shows the browser's selection, wherever it was made.
    connect(&m_browser, &browser::Browser::fileSelected, this, [this](int, const QString &name) {
        const int item = m_list->findItem(name);
        if (m_list->selectedItem() != item)
            m_list->setSelectedItem(item);
    });
    connect(&m_browser, &browser::Browser::selectionCleared, this, [this] { m_list->setSelectedItem(0); });
}

void ListInteraction::clear()
{
    m_list->clear();
}

void ListInteraction::fill(const std::vector<browser::CatalogueEntry> &entries)
{
    constexpr int SizeSubItem = 1;
    constexpr int TypeSubItem = 2;
    const platform::IconCache &icons = m_browser.icons();
    if (!m_list->icons())
        m_list->setIcons(&icons.large());
    if (!m_list->smallIcons())
        m_list->setSmallIcons(&icons.small());
    for (const browser::CatalogueEntry &entry : entries) {
        const int index = m_list->addItem(entry.name, entry.iconPosition);
        m_list->setSubItem(index, SizeSubItem, catalogue::formatFileSize(entry.length), entry.length);
        m_list->setSubItem(index, TypeSubItem, entry.typeName);
    }
    m_list->iconsChanged();
}

void ListInteraction::onItemClick(int)
{
    const int selected = m_list->selectedItem();
    const QString name = selected > 0 ? m_list->itemText(selected) : QString();
    if (name.isEmpty()) {
        m_browser.setCurrentFile(QString());
        return;
    }
    // An unreadable file empties the preview and says so; its thumbnail is marked all the
    // same, so the grid's keys carry on from it.
    m_browser.selectFile(name);
}

void ListInteraction::onMouseDown(int button, int, double xTwips, double yTwips)
{
    if (button & common::ButtonRight)
        emit listMenuRequested();
    const int hit = m_list->hitTest(static_cast<int>(xTwips), static_cast<int>(yTwips));
    if (hit == 0 && (button & common::ButtonLeft) && m_list->count() > 0) {
        m_browser.clearSelection();
        m_status.showMessage(browser::clickHint());
        m_hintShown = false;
    }
}

void ListInteraction::onMouseMove(int, int, double, double)
{
    if (m_hintShown)
        return;
    if (m_browser.currentFile().isEmpty() && m_list->count() > 0) {
        m_hintShown = true;
        m_status.showMessage(browser::clickHint());
        m_hintTimer->start();
    }
}

void ListInteraction::onHintTimer()
{
    if (!m_browser.currentFile().isEmpty() && m_list->count() > 0)
        return;
    // The list's rectangle and the pointer, both in the coordinates of the list's parent.
    const QRect r = m_list->geometry();
    const QPoint p = m_list->parentWidget()->mapFromGlobal(QCursor::pos());
    const bool inside = p.x() >= r.left() && p.x() <= r.left() + r.width() && p.y() >= r.top()
                        && p.y() <= r.top() + r.height();
    if (inside && m_list->isVisible())
        return;
    m_hintShown = false;
    m_hintTimer->stop();
    // Only the hint this timer looks after is taken away; a message written since (a file
    // that cannot be read) stays.
    if (m_status.shownText() == browser::clickHint())
        m_status.showMessage(QString());
}

void ListInteraction::requestTiledPreview()
{
    // Only while a file is selected.
    if (!m_browser.currentFile().isEmpty())
        emit tiledPreviewRequested();
}

} // namespace pavix::listview
