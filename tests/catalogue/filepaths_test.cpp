#include "catalogue/filepaths.h"

#include <gtest/gtest.h>

using pavix::catalogue::oneLineText;

TEST(FilePaths, OneLineTextShowsEveryLineBreakAndControlCharacter)
{
    const QString unshown{QChar(pavix::catalogue::UnshownCharacter)};
    EXPECT_EQ(oneLineText(QStringLiteral("line\nbreak.bmp")),
              QStringLiteral("line") + unshown + QStringLiteral("break.bmp"));
    // A carriage return would otherwise vanish: "cr\rx.bmp" must not read as "crx.bmp".
    EXPECT_EQ(oneLineText(QStringLiteral("cr\rx.bmp")), QStringLiteral("cr") + unshown + QStringLiteral("x.bmp"));
    EXPECT_EQ(oneLineText(QString::fromUtf16(u"\t\u0001\u001f\u007f\u0085\u009f\u2028\u2029")), unshown.repeated(8));
    EXPECT_EQ(oneLineText(QString(QChar(0))), unshown);
    // Each byte of a name that is not UTF-8 shows as one U+FFFD; a character outside the
    // basic plane shows as itself.
    EXPECT_EQ(oneLineText(QStringLiteral("caf") + QChar(0xdce9) + QChar(0xdce8) + QStringLiteral(".bmp")),
              QStringLiteral("caf") + unshown + unshown + QStringLiteral(".bmp"));
    EXPECT_EQ(oneLineText(QString::fromUtf16(u"😀")), QString::fromUtf16(u"😀"));

    // Everything a name may hold that shows on its own is kept: spaces, quotes, dashes, accents,
    // the first and last characters around the control ranges.
    for (const QString &kept : {QStringLiteral(" say \"hi\" it's -x.bmp"),
                                QString::fromUtf16(u"\u00a0\u00e9\u007e\u2027\u202a\u65e5"), QString()})
        EXPECT_EQ(oneLineText(kept), kept);
}
