#include "thumbcache/thumbnailrules.h"

#include <gtest/gtest.h>

using namespace pavix::thumbcache;

namespace {

const OriginalFile Photo{"file:///home/ann/Pictures/photo%20one.jpg", 1700000000, 2543210};

ThumbnailKeys keysFor(const OriginalFile &original)
{
    return {{UriKey, QString::fromLatin1(original.uri)},
            {MTimeKey, QString::number(original.mtime)},
            {SizeKey, QString::number(original.size)}};
}

} // namespace

TEST(ThumbnailValidity, AThumbnailDescribesOnlyTheFileAsItIsNow)
{
    EXPECT_TRUE(describesOriginal(keysFor(Photo), Photo));

    OriginalFile touched = Photo;
    touched.mtime += 1;
    EXPECT_FALSE(describesOriginal(keysFor(Photo), touched)) << "changed a second later";
    touched.mtime = Photo.mtime - 3600;
    EXPECT_FALSE(describesOriginal(keysFor(Photo), touched)) << "an older file moved over it";

    OriginalFile rewritten = Photo;
    rewritten.size += 1;
    EXPECT_FALSE(describesOriginal(keysFor(Photo), rewritten)) << "same second, other length";

    OriginalFile elsewhere = Photo;
    elsewhere.uri = "file:///home/ann/Pictures/photo%20two.jpg";
    EXPECT_FALSE(describesOriginal(keysFor(Photo), elsewhere)) << "a thumbnail of another file";
    elsewhere.uri = "file:///home/ann/Pictures/photo one.jpg";
    EXPECT_FALSE(describesOriginal(keysFor(Photo), elsewhere)) << "the URI is compared as written";
}

TEST(ThumbnailValidity, MissingOrMalformedKeys)
{
    ThumbnailKeys noSize = keysFor(Photo);
    noSize.remove(SizeKey);
    EXPECT_TRUE(describesOriginal(noSize, Photo)) << "the length is optional";

    ThumbnailKeys noMTime = keysFor(Photo);
    noMTime.remove(MTimeKey);
    EXPECT_FALSE(describesOriginal(noMTime, Photo));
    ThumbnailKeys noUri = keysFor(Photo);
    noUri.remove(UriKey);
    EXPECT_FALSE(describesOriginal(noUri, Photo));
    EXPECT_FALSE(describesOriginal({}, Photo));

    for (const char *bad : {"", "abc", "1700000000.5", "1700000000x", " 1700000000 z"}) {
        ThumbnailKeys keys = keysFor(Photo);
        keys.insert(MTimeKey, QString::fromLatin1(bad));
        EXPECT_FALSE(describesOriginal(keys, Photo)) << "MTime " << bad;
        keys = keysFor(Photo);
        keys.insert(SizeKey, QString::fromLatin1(bad));
        EXPECT_FALSE(describesOriginal(keys, Photo)) << "Size " << bad;
    }
}

TEST(ThumbnailValidity, WhatPavixWritesDescribesTheOriginal)
{
    const ThumbnailKeys keys = thumbnailKeys(Photo, softwareName(QStringLiteral("3.0")), QStringLiteral("image/jpeg"),
                                             QSize(4000, 3000));
    EXPECT_TRUE(describesOriginal(keys, Photo));
    EXPECT_EQ(keys.value(UriKey), QStringLiteral("file:///home/ann/Pictures/photo%20one.jpg"));
    EXPECT_EQ(keys.value(MTimeKey), QStringLiteral("1700000000"));
    EXPECT_EQ(keys.value(SizeKey), QStringLiteral("2543210"));
    EXPECT_EQ(keys.value(SoftwareKey), QStringLiteral("Pavix 3.0"));
    EXPECT_EQ(keys.value(MimeTypeKey), QStringLiteral("image/jpeg"));
    EXPECT_EQ(keys.value(WidthKey), QStringLiteral("4000"));
    EXPECT_EQ(keys.value(HeightKey), QStringLiteral("3000"));

    // A remembered failure knows neither the type nor the size.
    const ThumbnailKeys failure = thumbnailKeys(Photo, QStringLiteral("Pavix 3.0"), QString(), QSize());
    EXPECT_TRUE(describesOriginal(failure, Photo));
    EXPECT_FALSE(failure.contains(MimeTypeKey));
    EXPECT_FALSE(failure.contains(WidthKey));
    EXPECT_FALSE(failure.contains(HeightKey));
    EXPECT_EQ(failFolderName(QStringLiteral("3.0")), QStringLiteral("pavix-3.0"));
}

TEST(ThumbnailSize, ShrinksToTheSquareKeepingTheAspect)
{
    EXPECT_EQ(thumbnailSize(QSize(4000, 3000), 128), QSize(128, 96));
    EXPECT_EQ(thumbnailSize(QSize(3000, 4000), 128), QSize(96, 128));
    EXPECT_EQ(thumbnailSize(QSize(4000, 3000), 256), QSize(256, 192));
    EXPECT_EQ(thumbnailSize(QSize(300, 200), 128), QSize(128, 85));  // 85.33
    EXPECT_EQ(thumbnailSize(QSize(300, 199), 128), QSize(128, 85));  // 84.91
    EXPECT_EQ(thumbnailSize(QSize(129, 128), 128), QSize(128, 127)); // 127.01
    EXPECT_EQ(thumbnailSize(QSize(200, 200), 128), QSize(128, 128));
    EXPECT_EQ(thumbnailSize(QSize(10000, 10), 128), QSize(128, 1)) << "never below one pixel";
    EXPECT_EQ(thumbnailSize(QSize(100, 50), 128), QSize(100, 50)) << "never enlarged";
    EXPECT_EQ(thumbnailSize(QSize(128, 128), 128), QSize(128, 128));
    EXPECT_EQ(thumbnailSize(QSize(2'000'000'000, 1'500'000'000), 256), QSize(256, 192)) << "no overflow";
    EXPECT_FALSE(thumbnailSize(QSize(0, 10), 128).isValid());
    EXPECT_FALSE(thumbnailSize(QSize(10, 10), 0).isValid());
}

TEST(ThumbnailSize, TheFlavourStoredIsTheSmallestThatServesTheCell)
{
    const QSize cell(60, 60);
    EXPECT_EQ(flavourForCell(QSize(4000, 3000), cell), Flavour::Normal);
    EXPECT_EQ(flavourForCell(QSize(100, 80), cell), Flavour::Normal) << "a small picture whole";
    // 3000 x 1000: 128 x 43 is too low for the cell, 256 x 85 is not.
    EXPECT_EQ(flavourForCell(QSize(3000, 1000), cell), Flavour::Large);
    EXPECT_EQ(flavourForCell(QSize(10000, 100), cell), std::nullopt) << "256 x 3";
    EXPECT_EQ(flavourForCell(QSize(50, 50), cell), std::nullopt) << "smaller than the cell";
    // Cells of a screen at twice the usual density.
    EXPECT_EQ(flavourForCell(QSize(4000, 3000), QSize(120, 120)), Flavour::Large);
    EXPECT_EQ(flavourForCell(QSize(4000, 3000), QSize(200, 200)), std::nullopt) << "256 x 192";
    EXPECT_EQ(flavourForCell(QSize(4000, 3000), QSize()), std::nullopt);

    EXPECT_TRUE(servesCell(QSize(128, 96), cell));
    EXPECT_TRUE(servesCell(QSize(60, 60), cell));
    EXPECT_FALSE(servesCell(QSize(128, 59), cell));
    EXPECT_FALSE(servesCell(QSize(59, 128), cell));

    EXPECT_TRUE(fitsFlavour(QSize(128, 96), Flavour::Normal));
    EXPECT_FALSE(fitsFlavour(QSize(129, 96), Flavour::Normal)) << "too large for normal/";
    EXPECT_TRUE(fitsFlavour(QSize(129, 96), Flavour::Large));
    EXPECT_FALSE(fitsFlavour(QSize(256, 257), Flavour::Large));
    EXPECT_FALSE(fitsFlavour(QSize(-1, -1), Flavour::Normal)) << "a size the reader could not tell";
    EXPECT_FALSE(fitsFlavour(QSize(0, 5), Flavour::Normal));
}

TEST(ThumbnailCacheRules, AFileIsCachedOnlyOnceItsLastChangeLiesInAnEarlierSecond)
{
    EXPECT_TRUE(settledForCaching(1'700'000'000'999, 1'700'000'001'000));
    EXPECT_FALSE(settledForCaching(1'700'000'001'000, 1'700'000'001'999)) << "changed in this very second";
    EXPECT_FALSE(settledForCaching(1'700'000'005'000, 1'700'000'001'000)) << "dated in the future";
    EXPECT_TRUE(settledForCaching(-1, 0)) << "just before 1970 is the second before";
    EXPECT_EQ(wholeSeconds(1999), 1);
    EXPECT_EQ(wholeSeconds(-1), -1);
    EXPECT_EQ(wholeSeconds(-1000), -1);
    EXPECT_EQ(wholeSeconds(-1001), -2);
}

TEST(ThumbnailCacheRules, TheCacheFolderAndWhatLiesInIt)
{
    EXPECT_EQ(thumbnailsFolder(QStringLiteral("/scratch/cache"), QStringLiteral("/home/ann")),
              QStringLiteral("/scratch/cache/thumbnails"));
    EXPECT_EQ(thumbnailsFolder(QStringLiteral("/scratch/cache/"), QStringLiteral("/home/ann")),
              QStringLiteral("/scratch/cache/thumbnails"));
    EXPECT_EQ(thumbnailsFolder(QString(), QStringLiteral("/home/ann")), QStringLiteral("/home/ann/.cache/thumbnails"));
    EXPECT_EQ(thumbnailsFolder(QStringLiteral("cache"), QStringLiteral("/home/ann")),
              QStringLiteral("/home/ann/.cache/thumbnails"))
        << "a relative XDG_CACHE_HOME is ignored";
    EXPECT_EQ(thumbnailsFolder(QStringLiteral("/"), QString()), QStringLiteral("/thumbnails"));
    EXPECT_TRUE(thumbnailsFolder(QString(), QStringLiteral("home")).isEmpty());

    const QString cache = QStringLiteral("/home/ann/.cache/thumbnails");
    EXPECT_TRUE(isInsideFolder(QStringLiteral("/home/ann/.cache/thumbnails/normal/a.png"), cache));
    EXPECT_TRUE(isInsideFolder(cache, cache));
    EXPECT_FALSE(isInsideFolder(QStringLiteral("/home/ann/.cache/thumbnails-old/a.png"), cache));
    EXPECT_FALSE(isInsideFolder(QStringLiteral("/home/ann/.cache/thumb"), cache));
    EXPECT_FALSE(isInsideFolder(QStringLiteral("/home/ann/Pictures/a.jpg"), cache));
    EXPECT_TRUE(isInsideFolder(QStringLiteral("/a.jpg"), QStringLiteral("/")));
    EXPECT_FALSE(isInsideFolder(QStringLiteral("/a.jpg"), QString()));
}

TEST(ThumbnailCacheRules, OnlyFilesSlowerToDecodeThanTheirThumbnailAreCached)
{
    EXPECT_FALSE(worthCaching(QStringLiteral("photo.jpg"), 32 * 1024 - 1));
    EXPECT_TRUE(worthCaching(QStringLiteral("photo.jpg"), 32 * 1024));
    EXPECT_TRUE(worthCaching(QStringLiteral("PHOTO.JPEG"), 40'000)) << "extensions in any case";
    EXPECT_TRUE(worthCaching(QStringLiteral("scan.jpe"), 40'000));
    EXPECT_FALSE(worthCaching(QStringLiteral("anim.gif"), 16 * 1024 - 1));
    EXPECT_TRUE(worthCaching(QStringLiteral("anim.GIF"), 16 * 1024));
    // A bitmap is read about as fast as its thumbnail until it is a third of a megabyte.
    EXPECT_FALSE(worthCaching(QStringLiteral("wall.bmp"), 384 * 1024 - 1));
    EXPECT_TRUE(worthCaching(QStringLiteral("wall.bmp"), 384 * 1024));
    EXPECT_FALSE(worthCaching(QStringLiteral("photo.jpg.bak"), 200'000)) << "the last extension counts";
    EXPECT_TRUE(worthCaching(QStringLiteral("photo.jpg.bak"), 400'000));
    EXPECT_FALSE(worthCaching(QStringLiteral("no-extension"), 200'000));
    EXPECT_TRUE(worthCaching(QStringLiteral("no-extension"), 400'000));
    EXPECT_FALSE(worthCaching(QStringLiteral("big.ico"), 10'000'000));
    EXPECT_FALSE(worthCaching(QStringLiteral("pointer.CUR"), 10'000'000));
}
