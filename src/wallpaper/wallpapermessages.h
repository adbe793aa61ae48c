#pragma once
// The wallpaper command's messages. A failure names the step that failed and its cause,
// so the user knows the wallpaper did not change and why.

#include <QCoreApplication>
#include <QString>


namespace pavix::wallpaper {

// Shown when the command runs with no picture selected.
inline QString nothingSelectedMessage()
{
    return QCoreApplication::translate("pavix::wallpaper", "Please select a file first!");
}

// The bitmap could not be written to `path`; `reason` is what the system said.
QString bitmapNotWrittenMessage(const QString &path, const QString &reason);

// Pavix has no way to set the wallpaper on the desktop called `desktop`; `detail` says
// why (may be empty). The bitmap was saved at `path` for the user to set by hand.
QString noSetterMessage(const QString &desktop, const QString &detail, const QString &path);

// The desktop called `desktop` did not take the wallpaper; `detail` is its answer.
QString refusedMessage(const QString &desktop, const QString &detail);

// The first line of a helper's error output that holds more than spaces, without its
// surrounding spaces and cut to 300 characters; "" when there is none.
QString firstErrorLine(const QString &errorOutput);

// What a helper program's answer was, for refusedMessage.
// It ended with `exitStatus` (not 0) and wrote `errorOutput`:
QString helperExitDetail(const QString &program, int exitStatus, const QString &errorOutput);
// It ran longer than `timeoutMs` milliseconds and was stopped:
QString helperTimeoutDetail(const QString &program, int timeoutMs);
// It wrote more than Pavix reads from a helper and was stopped; `errorOutput` is the part
// of its error output that was kept:
QString helperFloodDetail(const QString &program, const QString &errorOutput);
// It stopped on a signal:
QString helperCrashDetail(const QString &program);
// It could not be started; `reason` is the system's:
QString helperStartDetail(const QString &program, const QString &reason);
// The Wayland session runs a compositor Pavix cannot tell, for noSetterMessage: a Wayland
// program has no common way to set the wallpaper.
QString waylandNoSetterDetail();
// It is not installed (not found on the PATH), for noSetterMessage:
QString helperMissingDetail(const QString &program);

} // namespace pavix::wallpaper
