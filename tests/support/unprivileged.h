#pragma once
// Runs one test of this test program again as the unprivileged user "nobody", for tests of
// what a user without rights sees: the superuser, whom the tests may run as, reads
// everything whatever its permissions say.

#include <QByteArray>
#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <sys/stat.h>
#include <unistd.h>

namespace pavix::testsupport {

// The user and group ids of "nobody".
inline constexpr int NobodyId = 65534;

struct UnprivilegedRun {
    QString skipReason; // why the test could not be run as nobody; empty when it ran
    int exitCode = -1;  // the program's exit status; -1 when it did not end by itself
    QString output;     // its output and error output
};

// True when every folder above `path` and `path` itself let anyone pass.
inline bool passableByAnyone(const QString &path)
{
    for (QString folder = QFileInfo(path).absoluteFilePath(); !folder.isEmpty();) {
        struct stat info {};
        if (::stat(QFile::encodeName(folder).constData(), &info) != 0 || !(info.st_mode & S_IXOTH))
            return false;
        if (folder == QStringLiteral("/"))
            break;
        folder = QFileInfo(folder).absolutePath();
    }
    return true;
}

// Runs this program as nobody (through setpriv) with only the test `testName` selected
// and the environment variable `variable` set to `value`, and waits for it (two minutes at
// most). `reachable` is a folder the run needs, which nobody must be able to pass into;
// `extra` variables are set last (QT_QPA_PLATFORM, a runtime folder of the caller's).
inline UnprivilegedRun rerunAsNobody(const QString &testName, const char *variable, const QString &value,
                                     const QString &reachable, const QProcessEnvironment &extra = {})
{
    UnprivilegedRun run;
    const QString setpriv = QStandardPaths::findExecutable(QStringLiteral("setpriv"));
    const QString program = QCoreApplication::applicationFilePath();
    if (setpriv.isEmpty()) {
        run.skipReason = QStringLiteral("setpriv is not installed");
        return run;
    }
    if (!passableByAnyone(program) || !passableByAnyone(reachable)) {
        run.skipReason = QStringLiteral("nobody cannot reach %1 or %2").arg(program, reachable);
        return run;
    }
    // A runtime folder of nobody's own, gone with this one; Qt wants it private to its user.
    QTemporaryDir runtime;
    if (!runtime.isValid() || ::chown(QFile::encodeName(runtime.path()).constData(), NobodyId, NobodyId) != 0) {
        run.skipReason = QStringLiteral("no runtime folder could be made for nobody");
        return run;
    }
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    // Nobody's own throw-away HOME and XDG folders (widget_main makes them), in a folder
    // nobody may write to.
    environment.remove(QStringLiteral("PAVIX_TEST_KEEP_HOME"));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
    environment.insert(QStringLiteral("TMPDIR"), QStringLiteral("/tmp"));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QString::fromLatin1(variable), value);
    environment.insert(extra);
    const QStringList asNobody = {QStringLiteral("--reuid=%1").arg(NobodyId),
                                  QStringLiteral("--regid=%1").arg(NobodyId),
                                  QStringLiteral("--clear-groups"),
                                  QStringLiteral("--"),
                                  program,
                                  QStringLiteral("--gtest_filter=") + testName};
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(setpriv, asNobody);
    if (!process.waitForStarted(10'000)) {
        run.skipReason = QStringLiteral("setpriv could not be started: %1").arg(process.errorString());
        return run;
    }
    const bool ended = process.waitForFinished(120'000);
    if (!ended) {
        process.kill();
        process.waitForFinished(10'000);
    }
    run.output = QString::fromLocal8Bit(process.readAll());
    if (ended && process.exitStatus() == QProcess::NormalExit)
        run.exitCode = process.exitCode();
    // setpriv says so when the system does not let it change the user.
    if (run.exitCode != 0 && run.output.startsWith(QStringLiteral("setpriv:")))
        run.skipReason = QStringLiteral("setpriv could not become nobody: ") + run.output.trimmed();
    return run;
}

} // namespace pavix::testsupport
