#pragma once
// File names as text. The system keeps a name as bytes, which are UTF-8 by convention but
// need not be (a name written under a Latin-1 locale, a name cut short). Pavix holds every
// name as a QString that keeps its bytes: a byte that is not part of valid UTF-8 becomes one
// lone surrogate, U+DC00 plus the byte (U+DC80 to U+DCFF), which no valid UTF-8 can give,
// and turns back into that byte on the way to the system. Every name that reaches the
// system (listing, status, opening, the shared thumbnail cache's URI) passes through these
// two functions; what is drawn for the user shows each such byte as U+FFFD.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace pavix::common {

// The text of a file name or path given as bytes: valid UTF-8 as its characters, each other
// byte as the lone surrogate U+DC00 + byte. Equal to QString::fromUtf8 for valid UTF-8.
QString decodeFileName(QByteArrayView bytes);

// The bytes of a name made by decodeFileName, exactly as they were: characters as UTF-8, each
// lone surrogate from U+DC80 to U+DCFF as the byte it stands for. Any other lone surrogate
// (no name of the system gives one) becomes U+FFFD's bytes.
QByteArray encodeFileName(QStringView name);

// True for a character that stands for a byte of a name that is not valid UTF-8.
constexpr bool isUndecodedByte(QChar c)
{
    return c.unicode() >= 0xdc80 && c.unicode() <= 0xdcff;
}

// The text with every surrogate that is not half of a pair (among them the bytes
// decodeFileName could not decode) as U+FFFD, the character shown for what cannot be shown.
QString withUnpairedSurrogatesReplaced(QStringView text);

} // namespace pavix::common
