#pragma once
// The installed fonts as Qt's font database knows them. Needs a QGuiApplication.

#include "platform/fontcatalogue.h"

namespace pavix::platform {

class QtFontCatalogue : public FontCatalogue {
public:
    // The families of QFontDatabase that scale smoothly and whose font files are TrueType
    // or OpenType (they carry the font header table every such file has); bitmap, Type 1
    // and the platform's private families are left out.
    QStringList scalableFamilies() const override;
};

} // namespace pavix::platform
