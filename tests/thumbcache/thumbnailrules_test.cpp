#include "thumbcache/thumbnailrules.h"

#include <gtest/gtest.h>

using namespace pavix::thumbcache;

TEST(ThumbnailValidity, AThumbnailDescribesOnlyTheFileAsItIsNow)
{
    const OriginalFile photo{"file:///home/ann/Pictures/photo%20one.jpg", 1700000000, 2543210};
    // What Pavix writes describes the file; the keys other programs must write do too.
    const ThumbnailKeys written = thumbnailKeys(photo, softwareName(QStringLiteral("3.0")),
                                                QStringLiteral("image/jpeg"), QSize(4000, 3000));
    EXPECT_EQ(written, (ThumbnailKeys{{UriKey, QStringLiteral("file:///home/ann/Pictures/photo%20one.jpg")},
                                      {MTimeKey, QStringLiteral("1700000000")},
                                      {SizeKey, QStringLiteral("2543210")},
                                      {SoftwareKey, QStringLiteral("Pavix 3.0")},
                                      {MimeTypeKey, QStringLiteral("image/jpeg")},
                                      {WidthKey, QStringLiteral("4000")},
                                      {HeightKey, QStringLiteral("3000")}}));
    EXPECT_TRUE(describesOriginal(written, photo));
    const ThumbnailKeys failure = thumbnailKeys(photo, QStringLiteral("Pavix 3.0"), QString(), QSize());
    EXPECT_EQ(failure.keys(), (QStringList{SoftwareKey, MTimeKey, SizeKey, UriKey})) << "no type or size unknown";
    EXPECT_EQ(failFolderName(QStringLiteral("3.0")), QStringLiteral("pavix-3.0"));

    ThumbnailKeys required = written;
    required.remove(SizeKey);
    EXPECT_TRUE(describesOriginal(required, photo)) << "the length is optional";

    auto with = [&](const QString &key, const char *value) {
        ThumbnailKeys keys = written;
        if (value)
            keys.insert(key, QString::fromUtf8(value));
        else
            keys.remove(key);
        return keys;
    };
    struct Stale {
        const char *what;
        ThumbnailKeys keys;
    };
    for (const Stale &stale : {
             Stale{"changed a second later", with(MTimeKey, "1700000001")},
             Stale{"an older file moved over it", with(MTimeKey, "1699996400")},
             Stale{"same second, other length", with(SizeKey, "2543211")},
             Stale{"a thumbnail of another file", with(UriKey, "file:///home/ann/Pictures/photo%20two.jpg")},
             Stale{"the URI compared as written", with(UriKey, "file:///home/ann/Pictures/photo one.jpg")},
             Stale{"no MTime", with(MTimeKey, nullptr)},
             Stale{"no URI", with(UriKey, nullptr)},
             Stale{"an MTime with a fraction", with(MTimeKey, "1700000000.5")},
             Stale{"an MTime that is no number", with(MTimeKey, "")},
             Stale{"a length that is no number", with(SizeKey, "2543210 bytes")},
         })
        EXPECT_FALSE(describesOriginal(stale.keys, photo)) << stale.what;
}

TEST(ThumbnailSize, ShrinksToTheSquareKeepingTheAspectAndServesTheCell)
{
    EXPECT_EQ(thumbnailSize(QSize(4000, 3000), 128), QSize(128, 96));
    EXPECT_EQ(thumbnailSize(QSize(3000, 4000), 256), QSize(192, 256));
    EXPECT_EQ(thumbnailSize(QSize(300, 200), 128), QSize(128, 85)); // 85.33
    EXPECT_EQ(thumbnailSize(QSize(300, 199), 128), QSize(128, 85)); // 84.91
    EXPECT_EQ(thumbnailSize(QSize(10000, 10), 128), QSize(128, 1)) << "never below one pixel";
    EXPECT_EQ(thumbnailSize(QSize(100, 50), 128), QSize(100, 50)) << "never enlarged";
    EXPECT_EQ(thumbnailSize(QSize(2'000'000'000, 1'500'000'000), 256), QSize(256, 192)) << "no overflow";
    EXPECT_FALSE(thumbnailSize(QSize(0, 10), 128).isValid());

    // The flavour stored is the smallest whose thumbnail is at least as large as the cell.
    const QSize cell(60, 60);
    EXPECT_EQ(flavourForCell(QSize(4000, 3000), cell), Flavour::Normal);
    EXPECT_EQ(flavourForCell(QSize(100, 80), cell), Flavour::Normal);
    EXPECT_EQ(flavourForCell(QSize(3000, 1000), cell), Flavour::Large) << "128 x 43 is too low";
    EXPECT_EQ(flavourForCell(QSize(10000, 100), cell), std::nullopt) << "256 x 3";
    EXPECT_EQ(flavourForCell(QSize(50, 50), cell), std::nullopt);
    EXPECT_EQ(flavourForCell(QSize(4000, 3000), QSize(120, 120)), Flavour::Large);
    EXPECT_EQ(flavourForCell(QSize(4000, 3000), QSize(200, 200)), std::nullopt) << "256 x 192";
    EXPECT_FALSE(servesCell(QSize(128, 59), cell));

    // A cached file of another size than its folder allows is not read.
    EXPECT_TRUE(fitsFlavour(QSize(128, 96), Flavour::Normal));
    EXPECT_FALSE(fitsFlavour(QSize(129, 96), Flavour::Normal));
    EXPECT_TRUE(fitsFlavour(QSize(129, 96), Flavour::Large));
    EXPECT_FALSE(fitsFlavour(QSize(-1, -1), Flavour::Large)) << "a size the reader could not tell";
}

TEST(ThumbnailCacheRules, WhatIsCachedWhereAndWhen)
{
    // Only once the file's last change lies in an earlier second than now.
    EXPECT_TRUE(settledForCaching(1'700'000'000'999, 1'700'000'001'000));
    EXPECT_FALSE(settledForCaching(1'700'000'001'000, 1'700'000'001'999)) << "changed in this very second";
    EXPECT_FALSE(settledForCaching(1'700'000'005'000, 1'700'000'001'000)) << "dated in the future";
    EXPECT_EQ(wholeSeconds(-1), -1);
    EXPECT_EQ(wholeSeconds(-1001), -2);

    // Only files slower to decode than their thumbnail is to read.
    EXPECT_FALSE(worthCaching(QStringLiteral("photo.jpg"), 32 * 1024 - 1));
    EXPECT_TRUE(worthCaching(QStringLiteral("PHOTO.JPEG"), 32 * 1024));
    for (const char *photo : {"web.webp", "scan.TIF", "scan.tiff"}) {
        EXPECT_FALSE(worthCaching(QString::fromLatin1(photo), 32 * 1024 - 1)) << photo;
        EXPECT_TRUE(worthCaching(QString::fromLatin1(photo), 32 * 1024)) << photo;
    }
    EXPECT_FALSE(worthCaching(QStringLiteral("tile.png"), 384 * 1024 - 1));
    EXPECT_FALSE(worthCaching(QStringLiteral("anim.gif"), 16 * 1024 - 1));
    EXPECT_TRUE(worthCaching(QStringLiteral("anim.GIF"), 16 * 1024));
    EXPECT_FALSE(worthCaching(QStringLiteral("wall.bmp"), 384 * 1024 - 1));
    EXPECT_TRUE(worthCaching(QStringLiteral("wall.bmp"), 384 * 1024));
    EXPECT_FALSE(worthCaching(QStringLiteral("photo.jpg.bak"), 200'000)) << "the last extension counts";
    EXPECT_TRUE(worthCaching(QStringLiteral("no-extension"), 400'000));
    EXPECT_FALSE(worthCaching(QStringLiteral("big.ico"), 10'000'000));

    // In $XDG_CACHE_HOME/thumbnails when that is absolute, else under the home folder.
    EXPECT_EQ(thumbnailsFolder(QStringLiteral("/scratch/cache/"), QStringLiteral("/home/ann")),
              QStringLiteral("/scratch/cache/thumbnails"));
    EXPECT_EQ(thumbnailsFolder(QString(), QStringLiteral("/home/ann")), QStringLiteral("/home/ann/.cache/thumbnails"));
    EXPECT_EQ(thumbnailsFolder(QStringLiteral("cache"), QStringLiteral("/home/ann")),
              QStringLiteral("/home/ann/.cache/thumbnails"));
    EXPECT_TRUE(thumbnailsFolder(QString(), QStringLiteral("home")).isEmpty());

    // Never of the cache's own files.
    const QString cache = QStringLiteral("/home/ann/.cache/thumbnails");
    EXPECT_TRUE(isInsideFolder(QStringLiteral("/home/ann/.cache/thumbnails/normal/a.png"), cache));
    EXPECT_TRUE(isInsideFolder(cache, cache));
    EXPECT_FALSE(isInsideFolder(QStringLiteral("/home/ann/.cache/thumbnails-old/a.png"), cache));
    EXPECT_TRUE(isInsideFolder(QStringLiteral("/a.jpg"), QStringLiteral("/")));
}
