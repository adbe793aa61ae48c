#include "platform/screen.h"

#include "common/units.h"

#include <QGuiApplication>
#include <QScreen>

namespace pavix::platform {

double screenTwipsPerPixel()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return common::twipsPerPixelForDpi(screen ? screen->logicalDotsPerInchX() : 96.0);
}

} // namespace pavix::platform
