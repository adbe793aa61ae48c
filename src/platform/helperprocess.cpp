#include "platform/helperprocess.h"

#include <QDeadlineTimer>
#include <QProcess>
#include <QStandardPaths>

#include <algorithm>
#include <csignal>
#include <unistd.h>

namespace pavix::platform {

QString findHelper(const QString &program, const QProcessEnvironment &environment)
{
    const QStringList path = environment.value(QStringLiteral("PATH")).split(QLatin1Char(':'), Qt::SkipEmptyParts);
    // An empty list would make findExecutable search the system's own PATH instead.
    if (path.isEmpty())
        return QString();
    return QStandardPaths::findExecutable(program, path);
}

HelperResult runHelper(const QString &program, const QStringList &arguments, const QProcessEnvironment &environment,
                       int timeoutMs)
{
    HelperResult result;
    const QString executable = findHelper(program, environment);
    if (executable.isEmpty()) {
        result.end = HelperResult::End::NotFound;
        return result;
    }

    const QDeadlineTimer deadline(std::max(timeoutMs, 0));
    bool flooded = false;  // it wrote more than a limit allows
    QByteArray errorBytes; // what it wrote to its standard error, up to the limit
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setProgram(executable);
    process.setArguments(arguments);
    // A group of its own, so a helper that is a script can be stopped with all it started.
    process.setChildProcessModifier([] { ::setpgid(0, 0); });
    process.setStandardInputFile(QProcess::nullDevice());
    process.start();
    if (!process.waitForStarted(int(deadline.remainingTime()))) {
        result.end = HelperResult::End::NotStarted;
        result.startError = process.errorString();
        return result;
    }
    const pid_t group = pid_t(process.processId());
    auto stopGroup = [&process, group] {
        if (group > 0 && process.state() != QProcess::NotRunning)
            ::kill(-group, SIGKILL);
    };

    // The waits below hand over what the helper writes as it comes, through these signals;
    // what passes a limit is dropped at once and the helper stopped, so a helper that writes
    // without end costs no more than the limits.
    auto keep = [&](QByteArray &kept, const QByteArray &written, qsizetype limit) {
        const qsizetype room = limit - kept.size();
        kept.append(written.first(std::min(room, written.size())));
        if (written.size() > room && !flooded) {
            flooded = true;
            stopGroup();
        }
    };
    QObject::connect(&process, &QProcess::readyReadStandardOutput,
                     [&] { keep(result.output, process.readAllStandardOutput(), HelperOutputLimitBytes); });
    QObject::connect(&process, &QProcess::readyReadStandardError,
                     [&] { keep(errorBytes, process.readAllStandardError(), HelperErrorLimitBytes); });

    bool timedOut = false;
    if (!process.waitForFinished(int(deadline.remainingTime())) && process.state() != QProcess::NotRunning) {
        timedOut = !flooded;
        stopGroup();
        process.waitForFinished(-1);
    }
    // What the last wait left unread.
    keep(result.output, process.readAllStandardOutput(), HelperOutputLimitBytes);
    keep(errorBytes, process.readAllStandardError(), HelperErrorLimitBytes);
    result.errorOutput = QString::fromLocal8Bit(errorBytes);
    if (timedOut)
        result.end = HelperResult::End::TimedOut;
    else if (flooded)
        result.end = HelperResult::End::Flooded;
    else if (process.exitStatus() == QProcess::CrashExit)
        result.end = HelperResult::End::Crashed;
    else
        result.exitStatus = process.exitCode();
    return result;
}

} // namespace pavix::platform
