// File names as text: every name's bytes survive the trip to text and back, valid UTF-8
// reads as its characters, and each other byte as a character of its own.
#include "common/filename.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

using namespace pavix::common;

namespace {

QString escaped(unsigned char byte)
{
    return QString(QChar(char16_t(0xdc00 + byte)));
}

} // namespace

TEST(FileName, EveryNameTurnsIntoTextAndBackIntoItsOwnBytes)
{
    struct Case {
        const char *what;
        QByteArray bytes;
        QString text;
    };
    const std::vector<Case> cases = {
        {"ascii", "plain name.bmp", QStringLiteral("plain name.bmp")},
        {"two-, three- and four-byte characters", "\xc3\xa9\xe6\x97\xa5\xf0\x9f\x98\x80",
         QString::fromUtf16(u"\u00e9\u65e5\U0001F600")},
        {"latin-1", "caf\xe9.bmp", QStringLiteral("caf") + escaped(0xe9) + QStringLiteral(".bmp")},
        {"stray continuation bytes", "\x80\xbf", escaped(0x80) + escaped(0xbf)},
        {"a sequence cut short", "x\xe6\x97", QStringLiteral("x") + escaped(0xe6) + escaped(0x97)},
        {"cut short before a character",
         "\xe6\x97"
         "a",
         escaped(0xe6) + escaped(0x97) + QStringLiteral("a")},
        {"an overlong slash", "\xc0\xaf", escaped(0xc0) + escaped(0xaf)},
        {"a surrogate written as UTF-8", "\xed\xa0\x80", escaped(0xed) + escaped(0xa0) + escaped(0x80)},
        {"past U+10FFFF", "\xf4\x90\x80\x80", escaped(0xf4) + escaped(0x90) + escaped(0x80) + escaped(0x80)},
        {"bytes that never occur", "\xfe\xff", escaped(0xfe) + escaped(0xff)},
        {"a four-byte character then a bad byte", "\xf0\x9f\x98\x80\xe9",
         QString::fromUtf16(u"\U0001F600") + escaped(0xe9)},
        {"U+FFFD itself", "\xef\xbf\xbd", QString(QChar(0xfffd))},
        {"empty", "", QString()},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const QString text = decodeFileName(c.bytes);
        EXPECT_EQ(text, c.text);
        EXPECT_EQ(encodeFileName(text), c.bytes);
        // Valid UTF-8 reads as Qt reads it.
        if (std::none_of(text.begin(), text.end(), isUndecodedByte)) {
            EXPECT_EQ(text, QString::fromUtf8(c.bytes));
        }
    }

    // Names that differ only in bytes that are not UTF-8 stay two names.
    EXPECT_NE(decodeFileName("caf\xe9"), decodeFileName("caf\xe8"));

    // Every single byte and every pair of bytes comes back as it went.
    for (int a = 0; a < 256; ++a) {
        for (int b = 0; b < 256; ++b) {
            const char pair[] = {char(a), char(b)};
            const QByteArray bytes(pair, 2);
            ASSERT_EQ(encodeFileName(decodeFileName(bytes)), bytes) << a << ' ' << b;
        }
    }

    // A lone surrogate no name gives is written as U+FFFD.
    EXPECT_EQ(encodeFileName(QString(QChar(0xd800))), QByteArray("\xef\xbf\xbd"));
}

TEST(FileName, OnlySurrogatesWithoutTheirOtherHalfAreReplaced)
{
    const QString pair = QString::fromUtf16(u"\U0001F600");
    const QString replacement(QChar(0xfffd));
    EXPECT_EQ(withUnpairedSurrogatesReplaced(pair + escaped(0xe9) + QStringLiteral("x")),
              pair + replacement + QStringLiteral("x"));
    EXPECT_EQ(withUnpairedSurrogatesReplaced(QString(QChar(0xd83d)) + QStringLiteral("a")),
              replacement + QStringLiteral("a"));
    EXPECT_EQ(withUnpairedSurrogatesReplaced(QString(QChar(0xde00))), replacement);
    EXPECT_TRUE(isUndecodedByte(escaped(0x80).at(0)) && isUndecodedByte(escaped(0xff).at(0)));
    EXPECT_FALSE(isUndecodedByte(QChar(0xdc7f)) || isUndecodedByte(QChar(0xdd00)));
}
