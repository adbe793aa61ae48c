#pragma once
// Menu items as assistive tools see them. A caption holds its shortcut text after a tab
// ("&Open\tCtl+ O"), which the menu draws in its shortcut column; the key itself is the key
// table's, so the item has no QAction shortcut. Such an item is named by the words before
// the tab ("Open"), and the shortcut text becomes its shortcut description ("Ctrl+O").
// Items without a tab keep Qt's own interface.

#include <QString>

class QAccessibleInterface;
class QObject;

namespace pavix::shell {

// Makes the menu items' interfaces known to the accessibility framework; the first call
// does it.
void installMenuAccessibility();

// The interface of a menu item whose caption holds a shortcut text; none for any other
// object.
QAccessibleInterface *menuItemAccessible(const QString &className, QObject *object);

// The name a menu is read by: its caption without the mnemonic's ampersand.
QString menuAccessibleName(const QString &caption);

// The shortcut text of a caption ("Ctl+ O") as the key it stands for ("Ctrl+O" in the
// desktop's words); a text that names no key comes back as it is.
QString shortcutDescription(const QString &shortcutText);

} // namespace pavix::shell
