#pragma once
// Conversions between the text the settings store keeps and the values the program uses.
// Numbers are stored as decimal text and truth values as "True" or "False"; a read that
// cannot convert gives no value, and the typed readers fall back to the key's default.

#include <QString>

#include <cstdint>
#include <optional>

namespace pavix::shell {

// The single-precision value of numeric text (sign, digits, decimal point, exponent;
// surrounding blanks ignored), rounded to the nearest single, ties to even. Text that is
// not a number, or a number beyond the single range, gives no value.
std::optional<float> singleFromText(const QString &text);

// The 32-bit integer of numeric text, rounded to the nearest integer, ties to even
// ("2.5" -> 2, "3.5" -> 4). Not numeric or outside the signed 32-bit range gives no value.
std::optional<std::int32_t> int32FromText(const QString &text);

// "True" or "False" in any letter case, or numeric text (true when not zero). Anything
// else gives no value.
std::optional<bool> truthFromText(const QString &text);

// The leading numeric value of the text, rounded to a 32-bit integer ties to even
// ("3abc" -> 3, "2.5x" -> 2). Leading blanks are skipped; text without a leading number,
// and a number that does not fit 32 bits, give 0.
std::int32_t viewModeFromText(const QString &text);

// Decimal text of a single that reads back as the same single: "1000", "1234.5",
// "-0.25"; never an exponent for values from 0.00001 up to 10^16. Negative zero gives "0";
// infinities and NaN give "Infinity", "-Infinity" and "NaN", which read back as no value.
QString textFromSingle(float value);

// Decimal text of an integer: "-1", "40000".
QString textFromInt(qint64 value);

// "True" or "False".
QString textFromTruth(bool value);

} // namespace pavix::shell
