#include "platform/helperprocess.h"

#include <QProcess>
#include <QStandardPaths>

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

    QProcess process;
    process.setProcessEnvironment(environment);
    process.setProgram(executable);
    process.setArguments(arguments);
    // A group of its own, so a helper that is a script can be stopped with all it started.
    process.setChildProcessModifier([] { ::setpgid(0, 0); });
    process.setStandardInputFile(QProcess::nullDevice());
    process.start();
    if (!process.waitForStarted(timeoutMs)) {
        result.end = HelperResult::End::NotStarted;
        result.startError = process.errorString();
        return result;
    }
    if (!process.waitForFinished(timeoutMs)) {
        if (process.state() != QProcess::NotRunning) {
            ::kill(-pid_t(process.processId()), SIGKILL);
            process.waitForFinished(-1);
            result.end = HelperResult::End::TimedOut;
            result.errorOutput = QString::fromLocal8Bit(process.readAllStandardError());
            return result;
        }
    }
    result.output = process.readAllStandardOutput();
    result.errorOutput = QString::fromLocal8Bit(process.readAllStandardError());
    if (process.exitStatus() == QProcess::CrashExit) {
        result.end = HelperResult::End::Crashed;
        return result;
    }
    result.exitStatus = process.exitCode();
    return result;
}

} // namespace pavix::platform
