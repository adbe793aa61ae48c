#pragma once
// The thumbnail strip as assistive tools (screen readers) see it: a list with one item per
// thumbnail shown, in the order of the listing, each named with its file name. The marked
// thumbnail is the selected item, and the focused one while the strip has the focus.

class QAccessibleInterface;
class QObject;
class QString;

namespace pavix::thumbs {

// Makes the strip's list known to the accessibility framework; the first call does it.
void installThumbStripAccessibility();

// The accessible interface of a ThumbStrip, none for any other object.
QAccessibleInterface *thumbStripAccessible(const QString &className, QObject *object);

} // namespace pavix::thumbs
