#pragma once
// A file's length as the size column and the status bar show it: "#,##0".

#include <QLocale>
#include <QString>

namespace pavix::catalogue {

// The byte count formatted "#,##0": digits grouped in threes with the locale's group
// separator, no decimals, at least one digit ("0" for 0; 1000 gives "1,000" in English).
// Grouping is applied even for locales whose default number options omit it. A negative
// count keeps its minus sign.
QString formatFileSize(qint64 bytes, const QLocale &locale = QLocale());

} // namespace pavix::catalogue
