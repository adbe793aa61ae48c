#pragma once
// Opening web pages, mail links and local pages in the programs the desktop chooses.

#include <QUrl>

namespace pavix::platform {

class LinkOpener {
public:
    virtual ~LinkOpener();
    // Hands the address to the desktop; false when the desktop could not open it.
    virtual bool open(const QUrl &address) = 0;
};

// The desktop's own opener (QDesktopServices).
class DesktopLinkOpener : public LinkOpener {
public:
    bool open(const QUrl &address) override;
};

// The first of the program's data files named `relative` ("help/index.html"): beside the
// executable (a build tree), then in the installed data folder (../share/pavix beside the
// executable's folder), then in the system's data folders ("pavix" in each). "" when none
// exists.
QString findDataFile(const QString &relative);

} // namespace pavix::platform
