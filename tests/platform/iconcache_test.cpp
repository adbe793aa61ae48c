#include "platform/iconcache.h"

#include "support/fakeshellinfo.h"

#include <gtest/gtest.h>

#include <vector>

using namespace pavix::platform;
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

    EXPECT_EQ(shell.typeNameCalls,
              (QStringList{QStringLiteral("/p/a.BMP"), QStringLiteral("/p/a.jpg"), QStringLiteral("/p/b.jpeg")}));
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
    EXPECT_EQ(qAlpha(icon.pixel(0, 0)), 0);     // outside the page
    EXPECT_EQ(qAlpha(icon.pixel(12, 12)), 255); // on the page
    EXPECT_TRUE(squareIcon(QImage(), 32).isNull());
    EXPECT_TRUE(squareIcon(icon, 0).isNull());
    EXPECT_EQ(squareIcon(icon, 32), icon);
    EXPECT_EQ(squareIcon(icon, 16).size(), QSize(16, 16));
}

namespace {

// Bytes of one icon file's pictures from the fake shell: 32 x 32 and 16 x 16 at 4 bytes.
constexpr qint64 PairBytes = (32 * 32 + 16 * 16) * 4;

QStringList iconFiles(int listing, int count)
{
    QStringList paths;
    for (int i = 0; i < count; ++i)
        paths.append(QStringLiteral("/folder%1/icon%2.ico").arg(listing).arg(i));
    return paths;
}

// Every path of the listing is at its position with its own pictures and type name.
void expectListingIntact(IconCache &cache, FakeShellInfo &shell, const QStringList &paths,
                         const std::vector<int> &positions)
{
    ASSERT_EQ(positions.size(), size_t(paths.size()));
    for (int i = 0; i < paths.size(); ++i) {
        const int position = positions[size_t(i)];
        EXPECT_EQ(cache.large().at(position).key, paths[i]) << qPrintable(paths[i]);
        EXPECT_EQ(cache.large().at(position).picture, shell.icon(paths[i], 2)) << qPrintable(paths[i]);
        EXPECT_EQ(cache.small().at(position).picture, shell.icon(paths[i], 1)) << qPrintable(paths[i]);
        EXPECT_EQ(cache.typeNameAt(position), QStringLiteral("ICO picture"));
    }
}

} // namespace

TEST(IconCache, IconFilePicturesOfEarlierListingsStayWithinTheBudget)
{
    FakeShellInfo shell;
    IconCache cache(shell, 10 * PairBytes);
    EXPECT_EQ(IconCache(shell).fileIconBudgetBytes(), IconCache::DefaultFileIconBudgetBytes);
    int bmp = 0;
    for (int listing = 0; listing < 40; ++listing) {
        cache.startListing();
        bmp = cache.positionFor(QStringLiteral("/folder%1/a.bmp").arg(listing));
        const QStringList paths = iconFiles(listing, 6);
        std::vector<int> positions;
        for (const QString &path : paths)
            positions.push_back(cache.positionFor(path));
        expectListingIntact(cache, shell, paths, positions);

        // Six of this listing and four of the one before, in eleven positions for good.
        EXPECT_LE(cache.fileIconBytes(), 10 * PairBytes);
        EXPECT_EQ(cache.fileIconBytes(), cache.fileIconCount() * PairBytes);
        EXPECT_EQ(cache.fileIconCount(), listing == 0 ? 6 : 10);
        EXPECT_LE(cache.large().count(), 11);
        EXPECT_EQ(cache.small().count(), cache.large().count());
    }
    // The type icon is never dropped and never moves.
    EXPECT_EQ(bmp, 1);
    EXPECT_EQ(cache.large().at(1).key, QStringLiteral("BMP"));
    EXPECT_EQ(shell.typeNameCalls.filter(QStringLiteral(".bmp")).size(), 1);
}

TEST(IconCache, TheCurrentListingKeepsEveryIconWhateverItTakes)
{
    FakeShellInfo shell;
    IconCache cache(shell, 4 * PairBytes);
    cache.startListing();
    const QStringList first = iconFiles(0, 12);
    std::vector<int> positions;
    for (const QString &path : first)
        positions.push_back(cache.positionFor(path));
    expectListingIntact(cache, shell, first, positions);
    EXPECT_EQ(cache.fileIconCount(), 12);
    EXPECT_EQ(cache.fileIconBytes(), 12 * PairBytes);

    // Asked again within the listing (a file listed twice): still there, not asked again.
    const qsizetype calls = shell.iconCalls.size();
    EXPECT_EQ(cache.positionFor(first[0]), positions[0]);
    EXPECT_EQ(shell.iconCalls.size(), calls);

    // The next listing drops at once what is over the budget, the longest unused first.
    const std::uint64_t revision = cache.revision();
    cache.startListing();
    EXPECT_EQ(cache.fileIconCount(), 4);
    EXPECT_GT(cache.revision(), revision);
    EXPECT_EQ(cache.large().find(first[0]), positions[0]); // used last of all
    for (int i = 1; i <= 8; ++i) {
        EXPECT_EQ(cache.large().find(first[i]), 0) << i;
        EXPECT_TRUE(cache.large().at(positions[size_t(i)]).picture.isNull()) << i;
        EXPECT_TRUE(cache.small().at(positions[size_t(i)]).picture.isNull()) << i;
    }
    for (int i = 9; i < 12; ++i)
        EXPECT_EQ(cache.large().find(first[i]), positions[size_t(i)]) << i;

    // New icons take the emptied positions before the list grows.
    const QStringList second = iconFiles(1, 8);
    std::vector<int> again;
    for (const QString &path : second)
        again.push_back(cache.positionFor(path));
    expectListingIntact(cache, shell, second, again);
    EXPECT_EQ(cache.large().count(), 12);
}

TEST(IconCache, IconsKeptFromAnEarlierListingAreNotAskedForAgain)
{
    FakeShellInfo shell;
    IconCache cache(shell, 10 * PairBytes);
    const QStringList a = iconFiles(0, 5);
    const QStringList b = iconFiles(1, 5);
    for (const QStringList *listing : {&a, &b}) {
        cache.startListing();
        for (const QString &path : *listing)
            cache.positionFor(path);
    }
    const qsizetype calls = shell.iconCalls.size();
    const std::uint64_t revision = cache.revision();
    cache.startListing();
    for (const QString &path : a)
        cache.positionFor(path);
    EXPECT_EQ(shell.iconCalls.size(), calls);
    EXPECT_EQ(cache.revision(), revision); // nothing changed: the list need not be told
}
