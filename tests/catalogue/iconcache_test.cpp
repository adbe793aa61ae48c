#include "catalogue/iconcache.h"

#include "catalogue/fakeshellinfo.h"

#include <gtest/gtest.h>

using namespace pavix::catalogue;
using pavix::testsupport::FakeShellInfo;

TEST(IconCache, ExtensionIsTheTextAfterTheLastDotOfTheName)
{
    EXPECT_EQ(extensionOf(QStringLiteral("/x/a.bmp")), QStringLiteral("BMP"));
    EXPECT_EQ(extensionOf(QStringLiteral("/x/a.tar.Gz")), QStringLiteral("GZ"));
    EXPECT_EQ(extensionOf(QStringLiteral("/x/a.b/file")), QString()); // dot in the folder only
    EXPECT_EQ(extensionOf(QStringLiteral("/x/a.b/file.jpeg")), QStringLiteral("JPEG"));
    EXPECT_EQ(extensionOf(QStringLiteral("/x/file.")), QString());
    EXPECT_EQ(extensionOf(QStringLiteral("/x/&")), QString());
    EXPECT_EQ(extensionOf(QStringLiteral("y.###")), QStringLiteral("###"));
    EXPECT_EQ(extensionOf(QString()), QString());
}

TEST(IconCache, KeysAreExtensionsExceptForIconFiles)
{
    EXPECT_EQ(cacheKey(QStringLiteral("/x/a.BMP")), QStringLiteral("BMP"));
    EXPECT_EQ(cacheKey(QStringLiteral("/y/b.bmp")), QStringLiteral("BMP"));
    EXPECT_NE(cacheKey(QStringLiteral("/x/a.jpg")), cacheKey(QStringLiteral("/x/a.jpeg")));
    EXPECT_EQ(cacheKey(QStringLiteral("/x/Icon.ICO")), QStringLiteral("/x/Icon.ICO"));
    // Two icon files whose names differ only in case are two files.
    EXPECT_NE(cacheKey(QStringLiteral("/x/a.ico")), cacheKey(QStringLiteral("/x/A.ico")));
    EXPECT_EQ(cacheKey(QStringLiteral("/x/noext")), QString());
}

TEST(IconCache, OneImagePairAndOneTypeNamePerExtension)
{
    FakeShellInfo shell;
    IconCache cache(shell);
    EXPECT_EQ(cache.positionFor(QStringLiteral("/p/a.BMP")), 1);
    EXPECT_EQ(cache.positionFor(QStringLiteral("/p/b.bmp")), 1);
    EXPECT_EQ(cache.positionFor(QStringLiteral("/q/c.Bmp")), 1); // later folders reuse it
    EXPECT_EQ(cache.positionFor(QStringLiteral("/p/a.jpg")), 2);
    EXPECT_EQ(cache.positionFor(QStringLiteral("/p/b.jpeg")), 3);
    EXPECT_EQ(cache.positionFor(QStringLiteral("/p/c.JPG")), 2);

    EXPECT_EQ(shell.typeNameCalls, (QStringList{QStringLiteral("/p/a.BMP"), QStringLiteral("/p/a.jpg"),
                                                QStringLiteral("/p/b.jpeg")}));
    EXPECT_EQ(shell.iconCalls, (QStringList{QStringLiteral("/p/a.BMP@2"), QStringLiteral("/p/a.BMP@1"),
                                            QStringLiteral("/p/a.jpg@2"), QStringLiteral("/p/a.jpg@1"),
                                            QStringLiteral("/p/b.jpeg@2"), QStringLiteral("/p/b.jpeg@1")}));
    EXPECT_EQ(cache.typeNameAt(1), QStringLiteral("BMP picture"));
    EXPECT_EQ(cache.typeNameAt(3), QStringLiteral("JPEG picture"));
    EXPECT_EQ(cache.typeNameAt(4), QString());
    EXPECT_EQ(cache.large().count(), 3);
    EXPECT_EQ(cache.small().count(), 3);
    for (int k = 1; k <= 3; ++k)
        EXPECT_EQ(cache.large().at(k).key, cache.small().at(k).key);
    EXPECT_EQ(cache.large().at(1).key, QStringLiteral("BMP"));
    EXPECT_TRUE(cache.small().at(1).tag.isEmpty());
}

TEST(IconCache, EveryIconFileGetsItsOwnPicture)
{
    FakeShellInfo shell;
    IconCache cache(shell);
    const int first = cache.positionFor(QStringLiteral("/p/a.ico"));
    const int second = cache.positionFor(QStringLiteral("/p/b.ICO"));
    const int third = cache.positionFor(QStringLiteral("/p/A.ico"));
    EXPECT_EQ(first, 1);
    EXPECT_EQ(second, 2);
    EXPECT_EQ(third, 3);
    EXPECT_NE(cache.large().at(1).picture, cache.large().at(2).picture);
    EXPECT_EQ(cache.large().at(1).picture, shell.icon(QStringLiteral("/p/a.ico"), 2));
    // Asking again adds nothing.
    EXPECT_EQ(cache.positionFor(QStringLiteral("/p/b.ICO")), 2);
    EXPECT_EQ(cache.large().count(), 3);
    EXPECT_EQ(shell.typeNameCalls.size(), 3);
}

TEST(IconCache, EveryEntryGetsSquareIconsOfBothSizes)
{
    FakeShellInfo shell;
    shell.withoutIcon.insert(QStringLiteral("###"));
    IconCache cache(shell);
    const int none = cache.positionFor(QStringLiteral("/p/y.###"));
    EXPECT_EQ(cache.large().at(none).picture, fallbackIcon(32));
    EXPECT_EQ(cache.small().at(none).picture, fallbackIcon(16));

    shell.iconSidePx = 48;
    shell.wideIcons = true; // 48 x 24 from the provider
    const int wide = cache.positionFor(QStringLiteral("/p/w.gif"));
    const QImage large = cache.large().at(wide).picture;
    const QImage small = cache.small().at(wide).picture;
    EXPECT_EQ(large.size(), QSize(32, 32));
    EXPECT_EQ(small.size(), QSize(16, 16));
    // Scaled to 32 x 16 and centred: the top row is clear, the middle row is painted.
    EXPECT_EQ(qAlpha(large.pixel(16, 0)), 0);
    EXPECT_EQ(qAlpha(large.pixel(16, 16)), 255);
}

TEST(IconCache, DrawnFallbackIconHasThePageShape)
{
    EXPECT_TRUE(fallbackIcon(0).isNull());
    const QImage icon = fallbackIcon(32);
    ASSERT_EQ(icon.size(), QSize(32, 32));
    EXPECT_EQ(qAlpha(icon.pixel(0, 0)), 0);       // outside the page
    EXPECT_EQ(qAlpha(icon.pixel(12, 12)), 255);   // on the page
    EXPECT_TRUE(squareIcon(QImage(), 32).isNull());
    EXPECT_TRUE(squareIcon(icon, 0).isNull());
    EXPECT_EQ(squareIcon(icon, 32), icon);
    EXPECT_EQ(squareIcon(icon, 16).size(), QSize(16, 16));
}
