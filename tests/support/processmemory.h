#pragma once
// The peak memory of this process, as the kernel counts it: VmHWM of /proc/self/status; and
// the growth of that peak while some work runs in a process of its own.

#include "support/ownprocess.h"

#include <QByteArray>
#include <QFile>

#include <cstdio>
#include <cstdlib>
#include <functional>

namespace pavix::testsupport {

// The most resident memory this process has held, in KiB; -1 when it cannot be read.
inline qint64 peakResidentKib()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    return -1;
}

// Starts the peak over from the memory held now ("5" to /proc/self/clear_refs), so that a
// measurement is not hidden by an earlier test's peak; false when the kernel refuses.
inline bool restartPeakResident()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    return clear.open(QIODevice::WriteOnly) && clear.write("5") == 1 && clear.flush();
}

// How far the peak resident memory rose while `work` ran, in KiB, measured in a process of
// its own: the calling test is run again alone (runThisTestAlone), and there, on reaching
// this call, runs `work`, reports the figure and ends. No other test's peak can hide the
// growth, as it could in the process the tests share. -1 when it could not be measured.
inline qint64 peakGrowthAloneKib(const std::function<void()> &work)
{
    constexpr const char *Role = "PAVIX_TEST_PEAK_GROWTH";
    constexpr const char *Mark = "[ peak growth ] ";
    if (runsAs(Role)) {
        // A fresh process: even when the kernel will not restart the peak, only this test's
        // own start came before.
        restartPeakResident();
        const qint64 before = peakResidentKib();
        work();
        const qint64 after = peakResidentKib();
        std::printf("\n%s%lld KiB\n", Mark, before >= 0 && after >= 0 ? after - before : -1LL);
        std::fflush(nullptr);
        std::_Exit(0);
    }
    const AloneRun run = runThisTestAlone(Role);
    const qsizetype at = run.output.lastIndexOf(Mark);
    if (!run.finished || run.crashed || at < 0) {
        ADD_FAILURE() << "the measuring process gave no figure:\n" << run.output.toStdString();
        return -1;
    }
    bool read = false;
    const qint64 growth = run.output.mid(at + qsizetype(qstrlen(Mark))).split(' ').value(0).toLongLong(&read);
    return read ? growth : -1;
}

} // namespace pavix::testsupport
