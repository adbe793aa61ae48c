#include "shell/accessibility.h"

#include "browser/browser.h"
#include "common/filename.h"

#include <QAbstractItemView>
#include <QCoreApplication>
#include <QHeaderView>
#include <QMainWindow>
#include <QMenuBar>
#include <QScrollBar>
#include <QShortcut>
#include <QWidget>

namespace pavix::shell {

namespace {

struct ControlName {
    const char *objectName;
    const char *name;
    const char *description = nullptr;
};

constexpr ControlName ControlNames[] = {
    {"folderTree", QT_TRANSLATE_NOOP("AccessibleNames", "Folders")},
    {"list", QT_TRANSLATE_NOOP("AccessibleNames", "Pictures")},
    {"thumbStrip", QT_TRANSLATE_NOOP("AccessibleNames", "Thumbnails")},
    {"thumbArea", QT_TRANSLATE_NOOP("AccessibleNames", "Thumbnails")},
    {"thumbScrollBar", QT_TRANSLATE_NOOP("AccessibleNames", "Thumbnails scroll bar")},
    {"toolBar", QT_TRANSLATE_NOOP("AccessibleNames", "Toolbar")},
    {"titleStrip", QT_TRANSLATE_NOOP("AccessibleNames", "Picture types")},
    {"progressBar", QT_TRANSLATE_NOOP("AccessibleNames", "Reading thumbnails")},
    {"treeSplitter", QT_TRANSLATE_NOOP("AccessibleNames", "Splitter between folders and pictures"),
     QT_TRANSLATE_NOOP("AccessibleNames", "Drag with the mouse to resize the folder tree")},
    {"previewSplitter", QT_TRANSLATE_NOOP("AccessibleNames", "Splitter between pictures and preview"),
     QT_TRANSLATE_NOOP("AccessibleNames", "Drag with the mouse to resize the preview")},
};

QString translated(const char *text)
{
    return QCoreApplication::translate("AccessibleNames", text);
}

} // namespace

void makeAccessible(QMainWindow *window, const browser::Browser &browser)
{
    for (const ControlName &control : ControlNames) {
        auto *widget = window->findChild<QWidget *>(QLatin1String(control.objectName));
        if (!widget)
            continue;
        widget->setAccessibleName(translated(control.name));
        if (control.description)
            widget->setAccessibleDescription(translated(control.description));
    }
    window->menuBar()->setAccessibleName(QCoreApplication::translate("AccessibleNames", "Menu bar"));
    // The list shows its items in one of two views, which take the focus in its place.
    if (auto *list = window->findChild<QWidget *>(QStringLiteral("list")))
        for (QAbstractItemView *view : list->findChildren<QAbstractItemView *>())
            if (!qobject_cast<QHeaderView *>(view))
                view->setAccessibleName(list->accessibleName());
    for (QScrollBar *bar : window->findChildren<QScrollBar *>())
        if (bar->accessibleName().isEmpty())
            bar->setAccessibleName(bar->orientation() == Qt::Vertical
                                       ? QCoreApplication::translate("AccessibleNames", "Vertical scroll bar")
                                       : QCoreApplication::translate("AccessibleNames", "Horizontal scroll bar"));

    auto *preview = window->findChild<QWidget *>(QStringLiteral("previewImage"));
    if (preview) {
        auto namePreview = [preview, &browser] {
            preview->setAccessibleName(browser.picture().isNull()
                                           ? QCoreApplication::translate("AccessibleNames", "No picture")
                                           : QCoreApplication::translate("AccessibleNames", "Preview of %1")
                                                 .arg(common::withUnpairedSurrogatesReplaced(browser.currentFile())));
        };
        namePreview();
        QObject::connect(&browser, &browser::Browser::pictureChanged, preview, namePreview);
    }

    // Tab: the tree, the file area's two list views and its thumbnails (one of them shows),
    // then the preview.
    QList<QWidget *> chain;
    for (const char *name : {"folderTree", "list", "thumbStrip", "previewImage"}) {
        auto *widget = window->findChild<QWidget *>(QLatin1String(name));
        if (!widget)
            continue;
        const QList<QAbstractItemView *> views = widget->findChildren<QAbstractItemView *>(Qt::FindDirectChildrenOnly);
        if (views.isEmpty() || qobject_cast<QAbstractItemView *>(widget))
            chain << widget;
        else
            chain.append(QList<QWidget *>(views.begin(), views.end()));
    }
    for (qsizetype i = 1; i < chain.size(); ++i)
        QWidget::setTabOrder(chain.at(i - 1), chain.at(i));

    // F10 is no key of the key table: it opens the menu bar's first menu, as on the rest of
    // the desktop.
    auto *f10 = new QShortcut(QKeySequence(Qt::Key_F10), window);
    f10->setObjectName(QStringLiteral("menuBarShortcut"));
    QObject::connect(f10, &QShortcut::activated, window, [window] {
        QMenuBar *bar = window->menuBar();
        if (!bar->actions().isEmpty())
            bar->setActiveAction(bar->actions().constFirst());
    });
}

} // namespace pavix::shell
