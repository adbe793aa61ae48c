#pragma once
// Connecting menu items and tool bar actions to the program's handlers.

#include <QAction>
#include <QObject>

namespace pavix::shell {

// Runs `fn` when the item is clicked, with the item's check mark as it was before the
// click: a checkable item flips its own mark before it reports the click, while the
// handlers set every mark themselves, as they do when reached from a key or a pop-up menu.
template <typename Fn>
void connectClick(QAction *action, QObject *context, Fn fn)
{
    QObject::connect(action, &QAction::triggered, context, [action, fn] {
        if (action->isCheckable())
            action->setChecked(!action->isChecked());
        fn();
    });
}

} // namespace pavix::shell
