#include "platform/helperprocess.h"

#include "support/fakehelpers.h"
#include "support/printers.h"
#include "support/processmemory.h"

#include <QElapsedTimer>
#include <QFile>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <csignal>

using namespace pavix::platform;
using pavix::testsupport::FakeHelpers;

namespace {

// Whether process `pid` has ended (a zombie waiting for its parent has ended too).
bool processEnded(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return true;
    const QByteArray fields = stat.readAll();
    return fields.mid(fields.lastIndexOf(')') + 2, 1) == "Z";
}

} // namespace

TEST(HelperProcess, ArgumentsReachTheHelperAsWrittenWithNoShellBetween)
{
    FakeHelpers helpers;
    helpers.add(QStringLiteral("gsettings"), 3, "listed\n", "\nNo such schema\n");
    const QStringList arguments{QStringLiteral("two words"),
                                QStringLiteral("$HOME"),
                                QStringLiteral("a;b|c&"),
                                QStringLiteral("*"),
                                QStringLiteral("it's \"quoted\""),
                                QStringLiteral(u"日本\nü"),
                                QString()};
    const HelperResult result = runHelper(QStringLiteral("gsettings"), arguments, helpers.environment(), 5000);
    EXPECT_EQ(result.end, HelperResult::End::Exited);
    EXPECT_EQ(result.exitStatus, 3);
    EXPECT_FALSE(result.succeeded());
    EXPECT_EQ(result.output, QByteArray("listed\n"));
    EXPECT_EQ(result.errorOutput, QStringLiteral("\nNo such schema\n"));
    ASSERT_EQ(helpers.calls().size(), 1);
    EXPECT_EQ(helpers.calls()[0], QStringList{QStringLiteral("gsettings")} + arguments);
}

TEST(HelperProcess, OnlyTheGivenPathIsSearched)
{
    FakeHelpers helpers;
    helpers.add(QStringLiteral("swaymsg"));
    EXPECT_EQ(findHelper(QStringLiteral("swaymsg"), helpers.environment()),
              helpers.folder() + QStringLiteral("/swaymsg"));
    EXPECT_EQ(runHelper(QStringLiteral("swaymsg"), {}, helpers.environment(), 5000).end, HelperResult::End::Exited);
    // "sh" is on the machine's PATH but not on the one given; an empty PATH finds nothing.
    EXPECT_EQ(runHelper(QStringLiteral("sh"), {}, helpers.environment(), 5000).end, HelperResult::End::NotFound);
    QProcessEnvironment noPath;
    EXPECT_TRUE(findHelper(QStringLiteral("sh"), noPath).isEmpty());
    EXPECT_EQ(runHelper(QStringLiteral("sh"), {}, noPath, 5000).end, HelperResult::End::NotFound);
}

TEST(HelperProcess, AHelperThatHangsIsStoppedWithAllItStarted)
{
    FakeHelpers helpers;
    QTemporaryDir scratch;
    const QString pidFile = scratch.filePath(QStringLiteral("child.pid"));
    // A helper that starts a child of its own and then waits for ever.
    helpers.add(QStringLiteral("swaymsg"), 0, {}, {},
                "/bin/sleep 60 &\necho $! > '" + QFile::encodeName(pidFile) + "'\n/bin/sleep 60");
    QElapsedTimer clock;
    clock.start();
    const HelperResult result = runHelper(QStringLiteral("swaymsg"), {}, helpers.environment(), 400);
    EXPECT_EQ(result.end, HelperResult::End::TimedOut);
    EXPECT_LT(clock.elapsed(), 5000);
    QFile pid(pidFile);
    ASSERT_TRUE(pid.open(QIODevice::ReadOnly));
    const qint64 child = pid.readAll().trimmed().toLongLong();
    ASSERT_GT(child, 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return processEnded(child); }, 3000)) << "child " << child << " still runs";

    // Its standard input is closed: a helper that reads it ends at once.
    helpers.add(QStringLiteral("xfconf-query"), 0, {}, {}, "/bin/cat");
    EXPECT_TRUE(runHelper(QStringLiteral("xfconf-query"), {}, helpers.environment(), 3000).succeeded());
}

TEST(HelperProcess, AHelperThatWritesTooMuchIsStoppedWithAllItStartedAndItsFirstWordsKept)
{
    FakeHelpers helpers;
    QTemporaryDir scratch;
    const QByteArray pidFile = QFile::encodeName(scratch.filePath(QStringLiteral("child.pid")));
    struct Case {
        const char *what;
        QByteArray body;
        QByteArray kept; // what the kept output begins with
        bool onErrorOutput;
    };
    const Case cases[] = {
        {"error output without end", "/usr/bin/yes 'No such key' >&2", "No such key\nNo such key\n", true},
        {"standard output without end", "/usr/bin/yes", "y\ny\n", false},
        {"a burst of error output, then a wait",
         "/usr/bin/head -c 4000000 /dev/zero | /usr/bin/tr '\\0' x >&2\n/bin/sleep 60", "xxxxxxxx", true},
        {"a child writing while the helper waits",
         "/usr/bin/yes 'from the child' >&2 &\necho $! > '" + pidFile + "'\nwait", "from the child\n", true},
    };
    pavix::testsupport::restartPeakResident(); // when refused, growth below an earlier peak goes unseen
    const qint64 peakBefore = pavix::testsupport::peakResidentKib();
    for (const Case &c : cases) {
        QFile::remove(QFile::decodeName(pidFile));
        helpers.add(QStringLiteral("gsettings"), 0, {}, {}, c.body);
        // The time limit is far off: the helper is stopped for what it wrote, not for its time.
        const HelperResult result = runHelper(QStringLiteral("gsettings"), {}, helpers.environment(), 60000);
        EXPECT_EQ(result.end, HelperResult::End::Flooded) << c.what;
        EXPECT_FALSE(result.succeeded()) << c.what;
        EXPECT_LE(result.output.size(), HelperOutputLimitBytes) << c.what;
        EXPECT_LE(result.errorOutput.size(), HelperErrorLimitBytes) << c.what;
        if (c.onErrorOutput)
            EXPECT_TRUE(result.errorOutput.startsWith(QString::fromLatin1(c.kept))) << c.what;
        else
            EXPECT_TRUE(result.output.startsWith(c.kept)) << c.what;
        QFile pid(QFile::decodeName(pidFile));
        if (pid.open(QIODevice::ReadOnly)) {
            const qint64 child = pid.readAll().trimmed().toLongLong();
            ASSERT_GT(child, 0);
            EXPECT_TRUE(QTest::qWaitFor([&] { return processEnded(child); }, 3000))
                << "child " << child << " still runs";
        }
    }
    // The limits and what passes through a pipe at once, not what the helpers wrote.
    EXPECT_LT(pavix::testsupport::peakResidentKib() - peakBefore, 64 * 1024);

    // A helper that writes a little and hangs is still stopped at the time limit, its words kept.
    helpers.add(QStringLiteral("swaymsg"), 0, {}, "starting\n", "/bin/sleep 60");
    const HelperResult hung = runHelper(QStringLiteral("swaymsg"), {}, helpers.environment(), 300);
    EXPECT_EQ(hung.end, HelperResult::End::TimedOut);
    EXPECT_EQ(hung.errorOutput, QStringLiteral("starting\n"));
}

TEST(HelperProcess, CrashesAndHelpersThatCannotStartAreToldApart)
{
    FakeHelpers helpers;
    helpers.add(QStringLiteral("pcmanfm"), 0, {}, "about to crash\n", "kill -SEGV $$");
    const HelperResult crashed = runHelper(QStringLiteral("pcmanfm"), {}, helpers.environment(), 5000);
    EXPECT_EQ(crashed.end, HelperResult::End::Crashed);
    EXPECT_FALSE(crashed.succeeded());
    EXPECT_EQ(crashed.errorOutput, QStringLiteral("about to crash\n"));

    // An executable whose interpreter does not exist.
    const QString broken = helpers.folder() + QStringLiteral("/pcmanfm-qt");
    QFile file(broken);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("#!/no/such/interpreter\n");
    file.close();
    QFile::setPermissions(broken, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    const HelperResult notStarted = runHelper(QStringLiteral("pcmanfm-qt"), {}, helpers.environment(), 5000);
    EXPECT_EQ(notStarted.end, HelperResult::End::NotStarted);
    EXPECT_FALSE(notStarted.startError.isEmpty());
}
