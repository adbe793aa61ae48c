#include "platform/wallpapersetter.h"

namespace pavix::platform {

WallpaperSetter::~WallpaperSetter() = default;

} // namespace pavix::platform
