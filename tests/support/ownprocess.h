#pragma once
// Runs the test that asks for it again, alone, in a process of its own: this test program,
// filtered to that one test, with an environment variable naming the part it is to play. For
// what must be measured or ended apart from the process the other tests share (its peak
// memory, its end).

#include <QByteArray>
#include <QCoreApplication>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>

#include <gtest/gtest.h>

namespace pavix::testsupport {

// True in the process runThisTestAlone(role) started.
inline bool runsAs(const char *role)
{
    return qEnvironmentVariableIsSet(role);
}

// The value runThisTestAlone gave `role` in this process.
inline QString roleValue(const char *role)
{
    return qEnvironmentVariable(role);
}

struct AloneRun {
    bool finished = false; // ended by itself (within the wait, which only stops a hang)
    bool crashed = false;
    int exitCode = -1;
    QByteArray output; // standard output and error together
};

// Runs the current test in a process of its own with `role` set to `value`, and waits for
// it to end.
inline AloneRun runThisTestAlone(const char *role, const QString &value = QStringLiteral("1"))
{
    const ::testing::TestInfo *test = ::testing::UnitTest::GetInstance()->current_test_info();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromLatin1(role), value);
    QProcess child;
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--gtest_filter=%1.%2")
                     .arg(QString::fromUtf8(test->test_suite_name()), QString::fromUtf8(test->name()))});
    AloneRun run;
    run.finished = child.waitForFinished(300'000);
    if (!run.finished) {
        child.kill();
        child.waitForFinished();
    }
    run.crashed = child.exitStatus() == QProcess::CrashExit;
    run.exitCode = child.exitCode();
    run.output = child.readAll();
    return run;
}

} // namespace pavix::testsupport
