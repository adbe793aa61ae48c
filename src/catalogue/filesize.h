#pragma once
// The length of a listed file and its "#,##0" text, as the size column and the status
// bar show it.

#include "common/result.h"

#include <QLocale>
#include <QString>

namespace pavix::catalogue {

// Error number for a file that does not exist (or can no longer be reached) when its
// length is read.
inline constexpr int ErrFileNotFound = 53;

// The byte count formatted "#,##0": digits grouped in threes with the locale's group
// separator, no decimals, at least one digit ("0" for 0; 1000 gives "1,000" in English).
// Grouping is applied even for locales whose default number options omit it. A negative
// count keeps its minus sign.
QString FormatFileSize(qint64 bytes, const QLocale &locale = QLocale());

// The length in bytes of the file at `path`, 64-bit so that files over 2 GiB keep their
// size. A missing file gives ErrFileNotFound; a path that names no regular file (a folder,
// a device) gives ErrGeneral.
common::Result<qint64> fileLength(const QString &path);

} // namespace pavix::catalogue
