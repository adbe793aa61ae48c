#pragma once
// A server a test starts for itself (an X server, a session bus, a stand-in desktop
// shell): it is ready once it has written its first line, and it is stopped when the
// test ends.

#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

#include <QtTest/QTest>

namespace pavix::testsupport {

class ServerProcess {
public:
    ServerProcess() = default;
    ServerProcess(const ServerProcess &) = delete;
    ServerProcess &operator=(const ServerProcess &) = delete;
    ~ServerProcess() { stop(); }

    // Starts `program` and waits up to ten seconds for its first line of output; returns
    // that line without its end, or "" with failure() saying why.
    QString start(const QString &program, const QStringList &arguments,
                  const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment())
    {
        if (QStandardPaths::findExecutable(program).isEmpty() && !program.contains(u'/')) {
            m_failure = program + QStringLiteral(" is not installed");
            return QString();
        }
        m_process.setProcessEnvironment(environment);
        m_process.start(program, arguments);
        QByteArray line;
        const bool answered = QTest::qWaitFor(
            [&] {
                m_process.waitForReadyRead(50);
                line += m_process.readAllStandardOutput();
                return line.contains('\n') || m_process.state() == QProcess::NotRunning;
            },
            10000);
        if (!answered || !line.contains('\n')) {
            m_failure = program + QStringLiteral(" did not start: ")
                        + QString::fromLocal8Bit(m_process.readAllStandardError());
            stop();
            return QString();
        }
        return QString::fromLocal8Bit(line.left(line.indexOf('\n')));
    }

    void stop()
    {
        if (m_process.state() == QProcess::NotRunning)
            return;
        m_process.terminate();
        if (!m_process.waitForFinished(5000))
            m_process.kill();
        m_process.waitForFinished(5000);
    }

    QString failure() const { return m_failure; }

private:
    QProcess m_process;
    QString m_failure;
};

} // namespace pavix::testsupport
