#pragma once
// Helpers shared by the fuzz targets: turning libFuzzer's bytes into the inputs a reader
// takes, and ending the run loudly when a reader breaks a promise its header makes.

#include <QByteArray>
#include <QFile>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace pavix::fuzz {

// The bytes as a QByteArray, copied (the reader may keep them past this call).
inline QByteArray bytesOf(const std::uint8_t *data, std::size_t size)
{
    return QByteArray(reinterpret_cast<const char *>(data), qsizetype(size));
}

// Writes the bytes to path, replacing whatever was there; false when the file cannot be
// written (the input is then skipped, never counted as a finding).
inline bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

// Ends the run as a crash, so libFuzzer keeps the input, when a reader's promise fails.
inline void require(bool holds, const char *promise)
{
    if (holds)
        return;
    std::fprintf(stderr, "broken promise: %s\n", promise);
    std::abort();
}

} // namespace pavix::fuzz
