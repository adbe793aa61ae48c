#pragma once
// The peak memory of this process, as the kernel counts it: VmHWM of /proc/self/status.

#include <QByteArray>
#include <QFile>

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

} // namespace pavix::testsupport
