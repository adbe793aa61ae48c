#include "catalogue/listinteraction.h"

#include "catalogue/filelist.h"
#include "common/keys.h"
#include "common/units.h"
#include "platform/qtlistview.h"
#include "preview/previewpane.h"
#include "preview/tiledpreview.h"
#include "shell/mainwindow.h"
#include "shell/statuswindow.h"
#include "thumbs/thumbgrid.h"

#include <QCursor>
#include <QMenu>
#include <QTimer>

namespace pavix::catalogue {

ListInteraction::ListInteraction(shell::MainWindow &main) : QObject(&main), m_main(main)
{
    Timer1 = new QTimer(this);
    Timer1->setInterval(100);
    connect(Timer1, &QTimer::timeout, this, &ListInteraction::Timer1_Timer);
    platform::QtListView *lv = m_main.Lv;
    connect(lv, &platform::QtListView::itemClick, this, &ListInteraction::Lv_ItemClick);
    connect(lv, &platform::QtListView::mouseDown, this, &ListInteraction::Lv_MouseDown);
    connect(lv, &platform::QtListView::mouseMove, this, &ListInteraction::Lv_MouseMove);
    connect(lv, &platform::QtListView::keyDown, this, &ListInteraction::Lv_KeyDown);
    connect(lv, &platform::QtListView::dblClick, this, &ListInteraction::Lv_DblClick);
}

void ListInteraction::Lv_ItemClick(int)
{
    platform::QtListView *lv = m_main.Lv;
    m_main.CurFolder = selectionFolder(m_main.Files.path());
    const int selected = lv->selectedItem();
    m_main.CurFile = selected > 0 ? lv->itemText(selected) : QString();
    // The thumbnail of an entry is the one of its catalogue position, whatever the order
    // the list is sorted in.
    const int n = lv->addedPosition(selected) - 1;
    if (m_main.CurFile.isEmpty())
        return;
    // An unreadable file empties the preview and says so; its cell is marked all the same,
    // so the grid's keys carry on from it.
    m_main.previewPane->selectionUpdate();
    m_main.thumbGrid->markThumb(n);
}

void ListInteraction::Lv_MouseDown(int button, int, double xTwips, double yTwips)
{
    platform::QtListView *lv = m_main.Lv;
    if (button & common::ButtonRight)
        m_main.mnuLv->exec(QCursor::pos());
    const int hit = lv->hitTest(static_cast<int>(xTwips), static_cast<int>(yTwips));
    if (hit == 0 && (button & common::ButtonLeft) && lv->count() > 0) {
        m_main.thumbGrid->hideMarker();
        lv->setSelectedItem(0);
        m_main.CurFile.clear();
        m_main.previewPane->clear();
        m_main.StatusMessage(shell::ClickHint);
        HintShown = false;
    }
}

void ListInteraction::Lv_MouseMove(int, int, double, double)
{
    if (HintShown)
        return;
    if (m_main.CurFile.isEmpty() && m_main.Lv->count() > 0) {
        HintShown = true;
        m_main.StatusMessage(shell::ClickHint);
        Timer1->start();
    }
}

void ListInteraction::Timer1_Timer()
{
    platform::QtListView *lv = m_main.Lv;
    if (!m_main.CurFile.isEmpty() && lv->count() > 0)
        return;
    // The list's rectangle and the pointer, both in the main window's client pixels.
    const QRect r = lv->geometry();
    const QPoint p = lv->parentWidget()->mapFromGlobal(QCursor::pos());
    const bool inside = p.x() >= r.left() && p.x() <= r.left() + r.width() && p.y() >= r.top()
                        && p.y() <= r.top() + r.height();
    if (inside && lv->isVisible())
        return;
    HintShown = false;
    Timer1->stop();
    // Only the hint this timer looks after is taken away; a message written since (a file
    // that cannot be read) stays.
    if (m_main.hStatusBar && m_main.hStatusBar->shownText() == shell::ClickHint)
        m_main.StatusMessage(QString());
}

void ListInteraction::openTiledPreview()
{
    // Only while a picture is selected. (The root folder's `CurFolder` is empty, so only
    // the file name decides.)
    if (!m_main.CurFile.isEmpty())
        preview::showTiledPreview(m_main);
}

void ListInteraction::Lv_KeyDown(int, int)
{
    // Every key opens the tiled preview.
    openTiledPreview();
}

void ListInteraction::Lv_DblClick()
{
    openTiledPreview();
}

} // namespace pavix::catalogue
