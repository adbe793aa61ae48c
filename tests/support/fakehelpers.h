#pragma once
// Small executable scripts that stand in for the desktop's helper programs (gsettings,
// xfconf-query, swaymsg, ...) in a folder of their own: each records the arguments it
// was run with, writes what it is told to its output and error output, and ends with the
// exit status it is told. The folder is the whole PATH of the environment they get, so
// no real helper of the machine is ever run.

#include <QDir>
#include <QFile>
#include <QProcessEnvironment>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace pavix::testsupport {

class FakeHelpers {
public:
    QString folder() const { return m_dir.filePath(QStringLiteral("bin")); }

    // Adds (or replaces) the helper `name`. `body` runs after the arguments are recorded
    // and before the exit, as shell commands (a sleep, a signal).
    void add(const QString &name, int exitStatus = 0, const QByteArray &output = {}, const QByteArray &errorOutput = {},
             const QByteArray &body = {})
    {
        QDir().mkpath(folder());
        const QString base = m_dir.filePath(name);
        writeFile(base + QStringLiteral(".out"), output);
        writeFile(base + QStringLiteral(".err"), errorOutput);
        // Each call: the program's name and each argument after a unit separator (037),
        // the call ended by a record separator (036), so any argument survives the trip.
        const QByteArray script = "#!/bin/sh\n"
                                  "{ printf '%s' \"${0##*/}\"; for a in \"$@\"; do printf '\\037%s' \"$a\"; done; "
                                  "printf '\\036'; } >> '"
                                  + QFile::encodeName(log())
                                  + "'\n"
                                    "/bin/cat '"
                                  + QFile::encodeName(base)
                                  + ".out'\n"
                                    "/bin/cat '"
                                  + QFile::encodeName(base) + ".err' >&2\n" + body + "\nexit "
                                  + QByteArray::number(exitStatus) + "\n";
        const QString path = folder() + u'/' + name;
        writeFile(path, script);
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }

    // Every call so far, oldest first: the program's name followed by its arguments.
    QList<QStringList> calls() const
    {
        QFile file(log());
        if (!file.open(QIODevice::ReadOnly))
            return {};
        QList<QStringList> calls;
        for (const QString &record : QString::fromUtf8(file.readAll()).split(QChar(036), Qt::SkipEmptyParts))
            calls.append(record.split(QChar(037)));
        return calls;
    }

    // An environment holding only `variables` and a PATH of the helpers' folder.
    QProcessEnvironment environment(const QList<std::pair<QString, QString>> &variables = {}) const
    {
        QProcessEnvironment env;
        env.insert(QStringLiteral("PATH"), folder());
        for (const auto &[name, value] : variables)
            env.insert(name, value);
        return env;
    }

private:
    QString log() const { return m_dir.filePath(QStringLiteral("calls.log")); }
    static void writeFile(const QString &path, const QByteArray &bytes)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << qPrintable(path);
        file.write(bytes);
    }

    QTemporaryDir m_dir;
};

} // namespace pavix::testsupport
