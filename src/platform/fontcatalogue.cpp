#include "platform/fontcatalogue.h"

namespace pavix::platform {

FontCatalogue::~FontCatalogue() = default;

} // namespace pavix::platform
