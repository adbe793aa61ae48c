#pragma once
// Runs the desktop's helper programs (gsettings, xfconf-query, swaymsg, ...): by their
// argument lists, never through a shell, with a time limit, and with what they answered
// kept for the message that reports a failure.

#include <QByteArray>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

namespace pavix::platform {

struct HelperResult {
    enum class End {
        Exited,     // ran to its end; exitStatus says how it went
        NotFound,   // no such program on the PATH
        NotStarted, // found, but the system could not start it (startError says why)
        TimedOut,   // still running at the time limit; it was killed
        Crashed,    // stopped on a signal
    };
    End end = End::Exited;
    int exitStatus = 0;
    QByteArray output;   // what it wrote to its standard output
    QString errorOutput; // what it wrote to its standard error
    QString startError;

    bool succeeded() const { return end == End::Exited && exitStatus == 0; }
};

// The full path of `program` on the PATH of `environment`; "" when it is not there.
QString findHelper(const QString &program, const QProcessEnvironment &environment);

// Runs `program` (looked up on the PATH of `environment`) with `arguments` and
// `environment`, its standard input closed, and waits for it at most `timeoutMs`
// milliseconds. A helper still running then is killed together with every process it
// started.
HelperResult runHelper(const QString &program, const QStringList &arguments, const QProcessEnvironment &environment,
                       int timeoutMs);

} // namespace pavix::platform
