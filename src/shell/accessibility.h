#pragma once
// The main window for those who use a screen reader or the keyboard alone: the names
// assistive tools read for its controls (the preview's follows the picture shown), the
// order Tab walks them in, and F10 opening the menu bar.

class QMainWindow;

namespace pavix::browser {
class Browser;
}

namespace pavix::shell {

// Names the controls of `window` found by their object names, and every scroll bar that
// has no name by its direction; the preview image is named after the browser's picture
// from now on. Tab goes from the folder tree to the file area (the list or the thumbnails)
// and on to the preview. F10 opens the first menu of the menu bar; no key of the key table
// is taken.
void makeAccessible(QMainWindow *window, const browser::Browser &browser);

} // namespace pavix::shell
