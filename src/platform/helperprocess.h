#pragma once
// Runs the desktop's helper programs (gsettings, xfconf-query, swaymsg, ...): by their
// argument lists, never through a shell, with a time limit, and with what they answered
// kept for the message that reports a failure. What a helper writes is read as it comes and
// kept only up to a limit, so a helper that writes without end costs no memory.

#include <QByteArray>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

namespace pavix::platform {

// The most Pavix keeps of a helper's standard output (what it lists: keys, properties) and
// of its error output (only ever the reason for a message), in bytes. A helper that writes
// more than either is stopped.
inline constexpr qsizetype HelperOutputLimitBytes = qsizetype(1) << 20;
inline constexpr qsizetype HelperErrorLimitBytes = qsizetype(64) << 10;

struct HelperResult {
    enum class End {
        Exited,     // ran to its end; exitStatus says how it went
        NotFound,   // no such program on the PATH
        NotStarted, // found, but the system could not start it (startError says why)
        TimedOut,   // still running at the time limit; it was killed
        Crashed,    // stopped on a signal
        Flooded,    // wrote more than a limit allows; it was killed
    };
    End end = End::Exited;
    int exitStatus = 0;
    QByteArray output;   // what it wrote to its standard output, up to HelperOutputLimitBytes
    QString errorOutput; // what it wrote to its standard error, up to HelperErrorLimitBytes
    QString startError;

    bool succeeded() const { return end == End::Exited && exitStatus == 0; }
};

// The full path of `program` on the PATH of `environment`; "" when it is not there.
QString findHelper(const QString &program, const QProcessEnvironment &environment);

// Runs `program` (looked up on the PATH of `environment`) with `arguments` and
// `environment`, its standard input closed, and waits for it at most `timeoutMs`
// milliseconds. A helper still running then, or one that writes more than the limits
// allow, is killed together with every process it started.
HelperResult runHelper(const QString &program, const QStringList &arguments, const QProcessEnvironment &environment,
                       int timeoutMs);

} // namespace pavix::platform
