#include "thumbs/thumbgrid.h"

#include "catalogue/filelist.h"
#include "catalogue/listinteraction.h"
#include "common/keys.h"
#include "common/units.h"
#include "platform/qtlistview.h"
#include "preview/previewpane.h"
#include "preview/tiledpreview.h"
#include "shell/mainwindow.h"
#include "shell/statuswindow.h"
#include "thumbs/gridgeometry.h"
#include "thumbs/thumbloader.h"
#include "thumbs/thumbstrip.h"

#include <QCursor>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QProgressBar>
#include <QScrollBar>

#include <algorithm>

namespace pavix::thumbs {

using common::twipsToPixels;

ThumbGrid::ThumbGrid(shell::MainWindow &main)
    : QObject(&main), m_main(main), m_strip(main.picScroll)
{
    showMessage = [this](const QString &text) {
        QMessageBox::information(&m_main, shell::AppTitle, text, QMessageBox::Ok);
    };
    connect(m_strip, &ThumbStrip::thumbMouseDown, this, &ThumbGrid::thumbMouseDown);
    connect(m_strip, &ThumbStrip::thumbDblClick, this, &ThumbGrid::thumbDblClick);
    connect(m_strip, &ThumbStrip::emptyMouseDown, this, &ThumbGrid::picScroll_MouseDown);
    connect(m_strip, &ThumbStrip::keyDown, this, &ThumbGrid::picScroll_KeyDown);
    connect(m_main.VScroll1, &QScrollBar::valueChanged, this, &ThumbGrid::VScroll1_Change);
    // The viewport passes its presses and keys on to the strip.
    m_main.picBase->installEventFilter(this);
}

bool ThumbGrid::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_main.picBase) {
        if (event->type() == QEvent::MouseButtonPress) {
            auto *me = static_cast<QMouseEvent *>(event);
            picScroll_MouseDown(common::buttonMask(me->buttons() | me->button()),
                                common::shiftMask(me->modifiers()));
            return true;
        }
        if (event->type() == QEvent::KeyPress) {
            auto *ke = static_cast<QKeyEvent *>(event);
            picScroll_KeyDown(common::virtualKeyCode(ke->key(), ke->modifiers()),
                              common::shiftMask(ke->modifiers()));
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

void ThumbGrid::advanceProgress(int value)
{
    QProgressBar *bar = m_main.proBar;
    const int before = bar->value();
    bar->setValue(std::min(value, bar->maximum()));
    // Repaint at once (no event is handled during a build), but only when the bar's
    // filled part moves by a pixel.
    const int span = std::max(1, bar->maximum() - bar->minimum());
    if ((before * bar->width()) / span != (bar->value() * bar->width()) / span)
        bar->repaint();
}

void ThumbGrid::Thumbs()
{
    const shell::Controls &c = m_main.controls();
    const catalogue::FileList &files = m_main.Files;
    const int count = files.listCount();
    const GridPlan plan = planGrid(count, static_cast<float>(c.picScroll.width),
                                   static_cast<float>(c.VScroll1.width), c.picBase.height);
    m_lastCol = plan.LastCol;

    m_main.lblImg->hide();
    m_main.proBar->setRange(0, std::max(0, count - 1));
    m_main.proBar->setValue(0);
    m_main.proBar->show();
    m_main.proBar->repaint();

    if (plan.overRowLimit) {
        showMessage(RowLimitMessage);
        m_strip->setElementCount(1);
        m_strip->setElementVisible(0, false);
        m_main.VScroll1->hide();
        m_main.proBar->hide();
        m_main.lblImg->show();
        return;
    }

    m_strip->setElementCount(count);
    const double tpp = m_main.twipsPerPixel();
    const QSize cellPx(twipsToPixels(ThumbSize, tpp), twipsToPixels(ThumbSize, tpp));
    QStringList paths;
    paths.reserve(count);
    for (const QString &name : files.names())
        paths << catalogue::joinPath(files.path(), name);
    ThumbLoader loader(paths, cellPx);
    for (int i = 0; i < count; ++i) {
        m_strip->setElementPosition(i, cellPosition(i, plan.columns));
        advanceProgress(i + 1);
        hideMarker();
        m_strip->setElementPicture(i, loader.waitFor(i));
        m_strip->setElementVisible(i, true);
    }

    m_scrollMax = plan.scrollMax;
    m_main.VScroll1->setRange(0, std::max(0, plan.scrollMax));
    m_main.setStripGeometry(stripTopCm(m_main.VScroll1->value()), plan.stripHeightCm);
    m_main.VScroll1->setVisible(plan.scrollVisible);
    // The build leaves the probe empty.
    m_main.imgFake = QImage();
    preview::refreshTiledPreview(m_main);
    m_main.proBar->hide();
    m_main.lblImg->show();
}

void ThumbGrid::emptyGrid()
{
    m_strip->setElementCount(1);
    m_main.VScroll1->hide();
    m_strip->setElementVisible(0, false);
}

void ThumbGrid::VScroll1_Change(int value)
{
    m_main.setStripGeometry(stripTopCm(value), m_main.controls().picScroll.height);
}

void ThumbGrid::hideMarker()
{
    m_strip->setMarkerVisible(false);
}

void ThumbGrid::markThumb(int n)
{
    if (n < 0 || n >= m_strip->elementCount()) {
        hideMarker();
        return;
    }
    if (!m_strip->elementVisible(n))
        return;
    m_strip->setMarkerPosition(m_strip->elementPosition(n));
    m_strip->setMarkerVisible(true);
}

int ThumbGrid::currentIndex() const
{
    const int selected = m_main.Lv->selectedItem();
    return selected > 0 ? m_main.Lv->addedPosition(selected) - 1 : -1;
}

void ThumbGrid::SelectThumb(int i)
{
    const QString name = m_main.Files.list(i);
    m_main.CurFile = name;
    m_strip->setMarkerPosition(m_strip->elementPosition(i));
    m_strip->setMarkerVisible(true);
    // An unreadable file leaves the preview empty with its message; the marker and the
    // list stay on it, so the next key goes on from there.
    m_main.previewPane->selectionUpdate();
    m_main.Lv->setSelectedItem(m_main.Lv->findItem(name));
}

void ThumbGrid::ClearThumbSelection()
{
    m_main.Lv->setSelectedItem(0);
    m_main.CurFile.clear();
    m_main.previewPane->clear();
    if (shell::StatusWindow *status = m_main.hStatusBar) {
        status->setSimple(true);
        status->setSimpleText(m_strip->elementVisible(0) ? shell::ClickHint : QString());
    }
    m_main.listInteraction->HintShown = false;
    hideMarker();
}

void ThumbGrid::thumbMouseDown(int index, int button, int)
{
    m_main.CurFolder = catalogue::selectionFolder(m_main.Files.path());
    m_main.CurFile = m_main.Files.list(index);
    if ((button & common::ButtonRight) && m_strip->markerVisible())
        m_main.mnuWall->exec(QCursor::pos());
    if (button & common::ButtonLeft) {
        const QString name = m_main.CurFile;
        m_strip->setMarkerPosition(m_strip->elementPosition(index));
        m_strip->setMarkerVisible(true);
        m_main.previewPane->selectionUpdate();
        m_main.Lv->setSelectedItem(m_main.Lv->findItem(name));
    }
    m_strip->setFocus();
}

void ThumbGrid::thumbDblClick(int)
{
    preview::showTiledPreview(m_main);
}

void ThumbGrid::picScroll_MouseDown(int button, int)
{
    if (button & common::ButtonRight) {
        m_main.mnuLv->exec(QCursor::pos());
        m_main.mnuLvSort->setEnabled(false);
    } else if (button & common::ButtonLeft) {
        ClearThumbSelection();
    }
}

void ThumbGrid::picScroll_KeyDown(int keyCode, int)
{
    const int count = m_main.Files.listCount();
    if (!m_strip->markerVisible() || count < 2)
        return;
    const int current = currentIndex();
    switch (keyCode) {
    case common::VkReturn:
        preview::showTiledPreview(m_main);
        return;
    case KeyLeft:
    case KeyRight:
    case KeyUp:
    case KeyDown:
        if (const std::optional<int> next = arrowStep(keyCode, current, count, m_lastCol))
            SelectThumb(*next);
        return;
    case KeyPageUp:
    case KeyPageDown:
        m_main.VScroll1->setValue(pageScroll(keyCode, m_main.VScroll1->value(), m_scrollMax,
                                             m_main.VScroll1->isVisibleTo(m_main.picBase)));
        return;
    default:
        return;
    }
}

} // namespace pavix::thumbs
