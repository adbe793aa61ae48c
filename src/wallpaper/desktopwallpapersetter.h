#pragma once
// The wallpaper setter for the desktop the user runs: it finds the desktop from the
// session, tells it through the desktop's own settings or helper programs (gsettings,
// xfconf-query, pcmanfm, swaymsg, hyprctl, swaybg, the Plasma shell), or sets the root window's background
// itself on any other X11 session, and reads every answer, so a wallpaper that did not
// change is never reported as set.

#include "platform/helperprocess.h"
#include "platform/wallpapersetter.h"
#include "wallpaper/desktopdetection.h"

#include <QDeadlineTimer>
#include <QProcessEnvironment>
#include <QStringList>

#include <optional>

namespace pavix::wallpaper {

class DesktopWallpaperSetter : public platform::WallpaperSetter {
public:
    // Longest wait for a whole command, in milliseconds: every helper program it runs and the
    // Plasma shell's answer, together.
    static constexpr int DefaultTimeoutMs = 10'000;

    // The session as this process finds it at each call: its environment and the programs
    // the user runs.
    DesktopWallpaperSetter();
    // A session told in full: the helpers run with `environment`, and the desktop is found
    // from it and `runningPrograms` alone.
    DesktopWallpaperSetter(const QProcessEnvironment &environment, const QStringList &runningPrograms);

    void setTimeout(int timeoutMs) { m_timeoutMs = timeoutMs; }
    int timeout() const { return m_timeoutMs; }

    // The desktop found for the session, as setWallpaper would find it now.
    DetectedDesktop desktop() const;

    platform::WallpaperOutcome setWallpaper(const QString &path) override;

private:
    using Outcome = platform::WallpaperOutcome;

    // Runs one helper on a thread of its own, the windows kept alive meanwhile, for no longer
    // than the command has left; its failure as an outcome, nothing when it succeeded.
    std::optional<Outcome> runHelper(const QString &program, const QStringList &arguments,
                                     const DetectedDesktop &desktop, platform::HelperResult *result = nullptr) const;
    Outcome throughSettings(const DetectedDesktop &desktop, const QString &path) const;
    Outcome throughXfconf(const DetectedDesktop &desktop, const QString &path) const;
    Outcome throughPlasma(const DetectedDesktop &desktop, const QString &path) const;
    Outcome throughHyprpaper(const DetectedDesktop &desktop, const QString &path) const;
    Outcome throughSwaybg(const DetectedDesktop &desktop, const QString &path) const;
    Outcome throughRootWindow(const DetectedDesktop &desktop, const QString &path) const;

    QProcessEnvironment environment() const;
    // The session bus the Plasma shell listens on; "" when the session has none.
    QString sessionBusAddress() const;
    // Runs work(milliseconds the command has left) on a thread of its own, the windows kept
    // alive meanwhile; nothing when it outlasts the command.
    template <typename Work>
    auto withinCommand(Work work) const -> std::optional<decltype(work(1))>;

    std::optional<QProcessEnvironment> m_environment;
    QStringList m_runningPrograms;
    int m_timeoutMs = DefaultTimeoutMs;
    QDeadlineTimer m_commandDeadline; // set as each command starts
};

} // namespace pavix::wallpaper
