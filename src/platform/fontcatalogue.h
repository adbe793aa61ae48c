#pragma once
// The fonts a sample text can be shown in.

#include <QStringList>

namespace pavix::platform {

class FontCatalogue {
public:
    virtual ~FontCatalogue();
    // The installed scalable outline families (TrueType or OpenType), one entry per
    // family, sorted by name ignoring case; empty when there are none.
    virtual QStringList scalableFamilies() const = 0;
};

} // namespace pavix::platform
