#pragma once
// A GNOME-like desktop for the wallpaper command in window tests: a stand-in gsettings
// that knows the picture key and Pavix's data folder in a scratch folder. The command's
// messages are real boxes, answered by a BoxAnswerer.

#include "support/fakehelpers.h"
#include "support/scopedenvironment.h"
#include "support/scratchfolder.h"

#include <QFile>

namespace pavix::testsupport {

class FakeDesktop {
public:
    explicit FakeDesktop(ScratchFolder &scratch) : m_data(scratch.makeFolder(QStringLiteral("data")))
    {
        m_helpers.add(QStringLiteral("gsettings"), 0, "picture-uri\n");
        m_environment.set("XDG_DATA_HOME", QFile::encodeName(m_data));
        m_environment.set("XDG_CURRENT_DESKTOP", "GNOME");
        m_environment.set("PATH", QFile::encodeName(m_helpers.folder()));
    }

    // Where the wallpaper command writes the picture it sets.
    QString wallpaperFile() const { return m_data + QStringLiteral("/Pavix/Wallpaper.bmp"); }
    const FakeHelpers &helpers() const { return m_helpers; }

private:
    QString m_data;
    FakeHelpers m_helpers;
    ScopedEnvironment m_environment;
};

} // namespace pavix::testsupport
