#pragma once
// The screen the program draws on, as the layout measures it.

#include <QString>

namespace pavix::platform {

// Twips per pixel of the primary screen, from its logical dpi (15 at 96 dpi); 15 when
// there is no screen. The one place the factor is derived: every window takes it from here.
double screenTwipsPerPixel();

// True when the program draws through Qt's Wayland platform ("wayland", "wayland-egl",
// ...). A Wayland window can neither read nor set where it stands on the screen (the
// compositor places it and reports 0, 0) nor ask to stay above other programs' windows.
bool drawsOnWayland();

// True when a plugin of Qt's platform `name` ("wayland" finds "libqwayland-egl.so" and
// "libqwayland-generic.so") lies in Qt's plugin folder or a folder of QT_PLUGIN_PATH.
// Asked before the application object exists.
bool qtPlatformInstalled(const QString &name);

} // namespace pavix::platform
