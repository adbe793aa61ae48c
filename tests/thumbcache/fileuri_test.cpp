#include "thumbcache/fileuri.h"

#include <gtest/gtest.h>

using namespace pavix::thumbcache;

TEST(FileUri, AwkwardNamesAreEscapedAsTheDesktopsFileManagersDo)
{
    // URIs as the desktop's own file tools print them; the names are MD5 sums of those URIs.
    struct Named {
        const char *path;
        const char *uri;
        const char *md5;
    };
    const Named cases[] = {
        {"/home/jens/photos/me.png", "file:///home/jens/photos/me.png", "c6ee772d9e49320e97ec29a7eb5b1697"},
        {"/home/ann/Pictures/photo with spaces.jpg", "file:///home/ann/Pictures/photo%20with%20spaces.jpg",
         "0c88d7f11526fa637b4606601470292d"},
        {"/home/ann/Pictures/100%.gif", "file:///home/ann/Pictures/100%25.gif", "2b1b903a1741f3d66181706427a92567"},
        {"/home/ann/Pictures/issue#42.jpg", "file:///home/ann/Pictures/issue%2342.jpg",
         "24b8e7b71a3ac84f6a8146387cef869e"},
        {"/home/ann/Pictures/ünïcödé-日本語-Ελληνικά.gif",
         "file:///home/ann/Pictures/%C3%BCn%C3%AFc%C3%B6d%C3%A9-%E6%97%A5%E6%9C%AC%E8%AA%9E-"
         "%CE%95%CE%BB%CE%BB%CE%B7%CE%BD%CE%B9%CE%BA%CE%AC.gif",
         "2c92953e805e34fbdc0becd9d8f2d68e"},
        {"/home/ann/Pictures/semi;colon.bmp", "file:///home/ann/Pictures/semi%3Bcolon.bmp",
         "f637305a64c82e52a62bbbabcaa87a5a"},
        {"/home/ann/Pictures/brackets [1] (copy).gif", "file:///home/ann/Pictures/brackets%20%5B1%5D%20(copy).gif",
         "dd3294d8389d17d3e280da38a6d33bfd"},
        {"/home/ann/Pictures/what?.bmp", "file:///home/ann/Pictures/what%3F.bmp", "a30604c252d7014091eb8c33630c43ed"},
        // Characters with a meaning in a URI path but none in a file name stay as they are.
        {"/home/ann/Pictures/a+b=c,$d@e:f!~*.jpg", "file:///home/ann/Pictures/a+b=c,$d@e:f!~*.jpg",
         "4d4ace533e64d540ff25b8fd4dd89944"},
        {"/home/ann/Pictures/it's.jpg", "file:///home/ann/Pictures/it's.jpg", "ef26932725c7d2924795996e96a5c8ec"},
    };
    for (const Named &c : cases) {
        const QByteArray uri = fileUri(QByteArray(c.path));
        EXPECT_EQ(uri, QByteArray(c.uri)) << c.path;
        EXPECT_EQ(thumbnailFileName(uri), QString::fromLatin1(c.md5) + QStringLiteral(".png")) << c.path;
    }
    // Bytes that are no UTF-8 are escaped one by one, as the file system holds them.
    EXPECT_EQ(fileUri(QByteArray("/pics/caf\xe9.jpg")), QByteArray("file:///pics/caf%E9.jpg"));
}

TEST(FileUri, PathsAreCleanedAndOnlyAbsoluteOnesHaveAUri)
{
    EXPECT_EQ(fileUri("/home/jens//photos/./albums/../me.png/"), QByteArray("file:///home/jens/photos/me.png"));
    EXPECT_EQ(fileUri("/../../me.png"), QByteArray("file:///me.png"));
    EXPECT_EQ(fileUri("/pics/.../a.jpg"), QByteArray("file:///pics/.../a.jpg")) << "only . and .. are steps";
    EXPECT_EQ(fileUri("/"), QByteArray("file:///"));
    EXPECT_TRUE(fileUri("photos/me.png").isEmpty());
    EXPECT_TRUE(fileUri("").isEmpty());
}
