#include "shell/settingsvalues.h"

#include "common/units.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>
#include <system_error>

namespace pavix::shell {

namespace {

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// Length of the number at the start of the text: an optional sign, digits with an optional
// decimal point (at least one digit), then an optional exponent that has digits. 0 when
// the text does not start with a number.
qsizetype numberLength(QStringView text)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    if (i < n && (text[i] == u'+' || text[i] == u'-'))
        ++i;
    qsizetype digits = 0;
    while (i < n && isDigit(text[i])) {
        ++i;
        ++digits;
    }
    if (i < n && text[i] == u'.') {
        ++i;
        while (i < n && isDigit(text[i])) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0)
        return 0;
    if (i < n && (text[i] == u'e' || text[i] == u'E')) {
        qsizetype j = i + 1;
        if (j < n && (text[j] == u'+' || text[j] == u'-'))
            ++j;
        const qsizetype expStart = j;
        while (j < n && isDigit(text[j]))
            ++j;
        if (j > expStart)
            i = j;
    }
    return i;
}

// The number as plain ASCII for from_chars, which takes no leading '+'.
std::string asciiNumber(QStringView number)
{
    if (!number.isEmpty() && number[0] == u'+')
        number = number.mid(1);
    return number.toLatin1().toStdString();
}

template <typename T>
std::optional<T> parseAscii(const std::string &ascii)
{
    T value{};
    const char *end = ascii.data() + ascii.size();
    const auto [ptr, ec] = std::from_chars(ascii.data(), end, value);
    if (ec != std::errc() || ptr != end || !std::isfinite(value))
        return std::nullopt;
    return value;
}

// The whole text (blanks around it ignored) as a number of type T, or nothing.
template <typename T>
std::optional<T> wholeNumber(const QString &text)
{
    const QString trimmed = text.trimmed();
    const qsizetype len = numberLength(trimmed);
    if (len == 0 || len != trimmed.size())
        return std::nullopt;
    return parseAscii<T>(asciiNumber(trimmed));
}

} // namespace

std::optional<float> singleFromText(const QString &text)
{
    return wholeNumber<float>(text);
}

std::optional<std::int32_t> int32FromText(const QString &text)
{
    const auto value = wholeNumber<double>(text);
    if (!value)
        return std::nullopt;
    return common::toInt32(*value);
}

std::optional<bool> truthFromText(const QString &text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.compare(u"True", Qt::CaseInsensitive) == 0)
        return true;
    if (trimmed.compare(u"False", Qt::CaseInsensitive) == 0)
        return false;
    const auto value = wholeNumber<double>(trimmed);
    if (!value)
        return std::nullopt;
    return *value != 0.0;
}

std::int32_t viewModeFromText(const QString &text)
{
    QStringView rest(text);
    while (!rest.isEmpty() && rest[0].isSpace())
        rest = rest.mid(1);
    const qsizetype len = numberLength(rest);
    if (len == 0)
        return 0;
    const auto value = parseAscii<double>(asciiNumber(rest.left(len)));
    if (!value)
        return 0;
    return common::toInt32(*value).value_or(0);
}

QString textFromSingle(float value)
{
    if (std::isnan(value))
        return QStringLiteral("NaN");
    if (std::isinf(value))
        return value > 0 ? QStringLiteral("Infinity") : QStringLiteral("-Infinity");
    if (value == 0.0f)
        return QStringLiteral("0"); // also for -0
    const float magnitude = std::fabs(value);
    const bool plain = magnitude >= 1e-5f && magnitude < 1e16f;
    // The shortest digits that read back as the same single.
    char buffer[64];
    const auto result = plain ? std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed)
                              : std::to_chars(buffer, buffer + sizeof buffer, value);
    return QString::fromLatin1(buffer, result.ptr - buffer);
}

QString textFromInt(qint64 value)
{
    return QString::number(value);
}

QString textFromTruth(bool value)
{
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

} // namespace pavix::shell
