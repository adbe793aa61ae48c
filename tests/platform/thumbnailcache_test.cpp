// The shared thumbnail cache on real files in a throw-away cache folder: what a first visit
// writes, what a second visit reads, and everything that must keep a thumbnail from being
// used or written.
#include "platform/thumbnailcache.h"

#include "platform/pictureservice.h"
#include "platform/thumbloader.h"
#include "thumbcache/fileuri.h"
#include "thumbcache/thumbnailrules.h"

#include "support/corpus.h"
#include "support/photofiles.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace pavix;
using namespace pavix::platform;
using thumbcache::Flavour;
using testsupport::corpusPath;
using testsupport::dateBack;
using testsupport::writePhoto;

namespace {

const QSize Cell(60, 60);
const QString Version = QStringLiteral("9.9");

// A throw-away folder with the pictures in pictures/ and a cache folder beside them.
class Scratch {
public:
    Scratch() { EXPECT_TRUE(QDir(m_root.path()).mkpath(QStringLiteral("pictures"))); }
    QString picture(const QString &name) const { return m_root.filePath(QStringLiteral("pictures/") + name); }
    QString path(const QString &relative) const { return m_root.filePath(relative); }
    // The thumbnails folder of cache `name`; nothing of it exists until a cache writes.
    QString thumbnails(const QString &name = QStringLiteral("cache")) const
    {
        return m_root.filePath(name + QStringLiteral("/thumbnails"));
    }
    std::shared_ptr<const ThumbnailCache> cache(const QString &name = QStringLiteral("cache"),
                                                ThumbnailCache::WorthRule worth = thumbcache::worthCaching) const
    {
        return std::make_shared<const ThumbnailCache>(thumbnails(name), Version, std::move(worth));
    }

private:
    QTemporaryDir m_root;
};

struct Visit {
    std::vector<QImage> cells;
    int decoded = 0;
    int cached = 0;
    int knownFailures = 0;
};

// The grid's build over paths: every cell, taken in order, and how each came about.
Visit visit(const QStringList &paths, const std::shared_ptr<const ThumbnailCache> &cache)
{
    ThumbLoader loader(paths, Cell, 2, 0, 0, cache);
    Visit v;
    for (int i = 0; i < loader.count(); ++i)
        v.cells.push_back(loader.waitFor(i));
    v.decoded = loader.decodedFiles();
    v.cached = loader.cachedCells();
    v.knownFailures = loader.knownFailures();
    return v;
}

// The cell Pavix makes from the file itself, with no cache.
QImage plainCell(const QString &path)
{
    const common::Result<QImage> cell = loadThumbnail(path, Cell);
    return cell ? *cell : unreadableCell(Cell);
}

// Mean difference of two pictures of one size, per channel (0 .. 255).
double meanDifference(const QImage &a, const QImage &b)
{
    if (a.size() != b.size() || a.isNull())
        return 255;
    const QImage x = a.convertToFormat(QImage::Format_RGB32);
    const QImage y = b.convertToFormat(QImage::Format_RGB32);
    double sum = 0;
    for (int row = 0; row < x.height(); ++row)
        for (int col = 0; col < x.width(); ++col) {
            const QRgb p = x.pixel(col, row);
            const QRgb q = y.pixel(col, row);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q));
        }
    return sum / (3.0 * x.width() * x.height());
}

QByteArray uriOf(const QString &path)
{
    return thumbcache::fileUri(QFile::encodeName(path));
}

QString thumbnailOf(const Scratch &scratch, const QString &path, Flavour flavour = Flavour::Normal,
                    const QString &cacheName = QStringLiteral("cache"))
{
    return scratch.thumbnails(cacheName) + u'/' + thumbcache::flavourFolder(flavour) + u'/'
        + thumbcache::thumbnailFileName(uriOf(path));
}

QString failureOf(const Scratch &scratch, const QString &path)
{
    return scratch.thumbnails() + QStringLiteral("/fail/pavix-") + Version + u'/'
        + thumbcache::thumbnailFileName(uriOf(path));
}

int modeOf(const QString &path)
{
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? int(st.st_mode & 07777) : -1;
}

qint64 mtimeSeconds(const QString &path)
{
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? qint64(st.st_mtim.tv_sec) : -1;
}

// Every file below folder (hidden ones too), as paths relative to it, sorted.
QStringList filesBelow(const QString &folder)
{
    QStringList files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << QDir(folder).relativeFilePath(it.next());
    files.sort();
    return files;
}

// A thumbnail as another program writes it: a plain colour, with the keys given.
void writeForeign(const QString &file, QSize size, QColor colour, const thumbcache::ThumbnailKeys &keys)
{
    ASSERT_TRUE(QDir().mkpath(QFileInfo(file).path()));
    QImage thumbnail(size, QImage::Format_RGB32);
    thumbnail.fill(colour);
    for (auto key = keys.constBegin(); key != keys.constEnd(); ++key)
        thumbnail.setText(key.key(), key.value());
    ASSERT_TRUE(QImageWriter(file, "png").write(thumbnail));
}

// The keys any program must write, for the file as it is now.
thumbcache::ThumbnailKeys requiredKeys(const QString &path)
{
    return {{thumbcache::UriKey, QString::fromLatin1(uriOf(path))},
            {thumbcache::MTimeKey, QString::number(mtimeSeconds(path))},
            {thumbcache::SoftwareKey, QStringLiteral("another program")}};
}

QString writeNoise(const QString &path, qint64 bytes)
{
    QByteArray noise(bytes, Qt::Uninitialized);
    QRandomGenerator random(7);
    for (char &c : noise)
        c = char(random.bounded(256));
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(noise) == bytes);
    file.close();
    dateBack(path);
    return path;
}

} // namespace

TEST(ThumbnailCache, FirstVisitWritesThumbnailsWithTheirKeysForOtherProgramsToFind)
{
    Scratch scratch;
    const QString wide = writePhoto(scratch.picture(QStringLiteral("wide.jpg")), QSize(1200, 900), 1);
    const QString tall = writePhoto(scratch.picture(QStringLiteral("tall.jpg")), QSize(900, 1200), 2);
    const QString awkward = writePhoto(scratch.picture(QStringLiteral("photo #1 100% ü.jpg")), QSize(1000, 750), 3);
    const QString panorama = writePhoto(scratch.picture(QStringLiteral("panorama.jpg")), QSize(3000, 1000), 4);
    const QStringList paths{wide, tall, awkward, panorama};
    for (const QString &path : paths)
        ASSERT_TRUE(thumbcache::worthCaching(QFileInfo(path).fileName(), QFileInfo(path).size())) << qPrintable(path);

    const Visit first = visit(paths, scratch.cache());
    EXPECT_EQ(first.decoded, 4);
    EXPECT_EQ(first.cached, 0);
    for (int i = 0; i < paths.size(); ++i)
        EXPECT_LT(meanDifference(first.cells[size_t(i)], plainCell(paths[i])), 4.0)
            << "the grid looks as without a cache: " << qPrintable(paths[i]);

    // The name other programs look for: the MD5 of the URI, the name escaped byte by byte.
    const QByteArray awkwardUri = thumbcache::fileUri(QFile::encodeName(QFileInfo(awkward).path()))
        + "/photo%20%231%20100%25%20%C3%BC.jpg";
    const QString awkwardName = QString::fromLatin1(QCryptographicHash::hash(awkwardUri, QCryptographicHash::Md5).toHex());
    EXPECT_TRUE(QFileInfo::exists(scratch.thumbnails() + QStringLiteral("/normal/") + awkwardName + QStringLiteral(".png")));

    struct Expected {
        QString path;
        Flavour flavour;
        QSize thumbnailPx;
        QSize originalPx;
    };
    for (const Expected &e : {Expected{wide, Flavour::Normal, {128, 96}, {1200, 900}},
                              Expected{tall, Flavour::Normal, {96, 128}, {900, 1200}},
                              Expected{awkward, Flavour::Normal, {128, 96}, {1000, 750}},
                              // 128 x 43 would be lower than the cell: the large one serves it.
                              Expected{panorama, Flavour::Large, {256, 85}, {3000, 1000}}}) {
        const QString file = thumbnailOf(scratch, e.path, e.flavour);
        QImageReader reader(file, "png");
        const QImage thumbnail = reader.read();
        ASSERT_FALSE(thumbnail.isNull()) << qPrintable(file);
        EXPECT_EQ(thumbnail.size(), e.thumbnailPx) << qPrintable(e.path);
        EXPECT_EQ(thumbnail.text(QStringLiteral("Thumb::URI")), QString::fromLatin1(uriOf(e.path)));
        EXPECT_EQ(thumbnail.text(QStringLiteral("Thumb::MTime")), QString::number(mtimeSeconds(e.path)));
        EXPECT_EQ(thumbnail.text(QStringLiteral("Thumb::Size")), QString::number(QFileInfo(e.path).size()));
        EXPECT_EQ(thumbnail.text(QStringLiteral("Thumb::Mimetype")), QStringLiteral("image/jpeg"));
        EXPECT_EQ(thumbnail.text(QStringLiteral("Thumb::Image::Width")), QString::number(e.originalPx.width()));
        EXPECT_EQ(thumbnail.text(QStringLiteral("Thumb::Image::Height")), QString::number(e.originalPx.height()));
        EXPECT_EQ(thumbnail.text(QStringLiteral("Software")), QStringLiteral("Pavix 9.9"));
        EXPECT_EQ(modeOf(file), 0600) << qPrintable(file);
        // The thumbnail shows the picture, the right way round.
        EXPECT_LT(meanDifference(composeCell(thumbnail, Cell), plainCell(e.path)), 4.0) << qPrintable(e.path);
    }
    EXPECT_FALSE(QFileInfo::exists(thumbnailOf(scratch, panorama, Flavour::Normal)));
    for (const QString &folder : {scratch.path(QStringLiteral("cache")), scratch.thumbnails(),
                                  scratch.thumbnails() + QStringLiteral("/normal"),
                                  scratch.thumbnails() + QStringLiteral("/large")})
        EXPECT_EQ(modeOf(folder), 0700) << qPrintable(folder);
    EXPECT_EQ(filesBelow(scratch.thumbnails()).size(), 4) << "no temporary file is left behind: "
                                                          << qPrintable(filesBelow(scratch.thumbnails()).join(u' '));
}

TEST(ThumbnailCache, SecondVisitDecodesNoPhoto)
{
    Scratch scratch;
    QStringList paths;
    for (int i = 0; i < 6; ++i)
        paths << writePhoto(scratch.picture(QStringLiteral("p%1.jpg").arg(i)), QSize(1200, 900), 10 + quint32(i));
    const auto cache = scratch.cache();
    const Visit first = visit(paths, cache);
    ASSERT_EQ(first.decoded, 6);

    const Visit second = visit(paths, cache);
    EXPECT_EQ(second.decoded, 0);
    EXPECT_EQ(second.cached, 6);
    for (size_t i = 0; i < 6; ++i)
        EXPECT_EQ(second.cells[i], first.cells[i]) << "cell " << i;

    // The photo itself is not even read: bytes changed behind an unchanged date and length
    // still show the thumbnail (the cache cannot tell, and neither can any other program).
    const QString swapped = paths[2];
    const QDateTime mtime = QFileInfo(swapped).lastModified();
    const qint64 length = QFileInfo(swapped).size();
    writeNoise(swapped, length);
    {
        QFile file(swapped);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.setFileTime(mtime, QFileDevice::FileModificationTime));
    }
    ASSERT_EQ(plainCell(swapped), unreadableCell(Cell));
    const Visit third = visit(paths, cache);
    EXPECT_EQ(third.decoded, 0);
    EXPECT_EQ(third.cells[2], first.cells[2]);
}

TEST(ThumbnailCache, AChangedFileIsNeverShownWithItsOldThumbnail)
{
    Scratch scratch;
    const QString path = writePhoto(scratch.picture(QStringLiteral("photo.jpg")), QSize(1200, 900), 20, "jpeg", 7200);
    const auto cache = scratch.cache();
    const Visit first = visit({path}, cache);
    ASSERT_EQ(first.decoded, 1);
    const QString thumbnail = thumbnailOf(scratch, path);
    ASSERT_TRUE(QFileInfo::exists(thumbnail));

    // Touched: another picture, an hour later.
    writePhoto(path, QSize(1200, 900), 21, "jpeg", 3600);
    Visit v = visit({path}, cache);
    EXPECT_EQ(v.decoded, 1);
    EXPECT_EQ(v.cached, 0);
    EXPECT_GT(meanDifference(v.cells[0], first.cells[0]), 20.0) << "not the old picture";
    EXPECT_LT(meanDifference(v.cells[0], plainCell(path)), 4.0);
    EXPECT_EQ(QImageReader(thumbnail, "png").read().text(thumbcache::MTimeKey), QString::number(mtimeSeconds(path)))
        << "the thumbnail is made again";
    EXPECT_EQ(visit({path}, cache).decoded, 0);

    // Rewritten within the same second as the thumbnail says, but to another length.
    const QDateTime mtime = QFileInfo(path).lastModified();
    writePhoto(path, QSize(1000, 750), 22);
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.setFileTime(mtime, QFileDevice::FileModificationTime));
    }
    v = visit({path}, cache);
    EXPECT_EQ(v.decoded, 1);
    EXPECT_LT(meanDifference(v.cells[0], plainCell(path)), 4.0);

    // Changed just now: shown from the file, and no thumbnail is kept of it while another
    // change within the same second could still follow unseen.
    const qint64 storedMTime = QImageReader(thumbnail, "png").read().text(thumbcache::MTimeKey).toLongLong();
    writePhoto(path, QSize(1200, 900), 23, "jpeg", 0);
    v = visit({path}, cache);
    EXPECT_EQ(v.decoded, 1);
    EXPECT_LT(meanDifference(v.cells[0], plainCell(path)), 4.0);
    EXPECT_EQ(QImageReader(thumbnail, "png").read().text(thumbcache::MTimeKey).toLongLong(), storedMTime);
}

TEST(ThumbnailCache, AFileThatCannotBeReadIsRememberedUntilItChanges)
{
    Scratch scratch;
    const QString broken = writeNoise(scratch.picture(QStringLiteral("broken.jpg")), 200'000);
    const auto cache = scratch.cache();

    Visit v = visit({broken}, cache);
    EXPECT_EQ(v.decoded, 1);
    EXPECT_EQ(v.cells[0], unreadableCell(Cell));
    const QString failure = failureOf(scratch, broken);
    const QImage remembered = QImageReader(failure, "png").read();
    ASSERT_FALSE(remembered.isNull()) << qPrintable(failure);
    EXPECT_EQ(remembered.text(thumbcache::UriKey), QString::fromLatin1(uriOf(broken)));
    EXPECT_EQ(remembered.text(thumbcache::MTimeKey), QString::number(mtimeSeconds(broken)));
    EXPECT_EQ(remembered.text(thumbcache::SoftwareKey), QStringLiteral("Pavix 9.9"));
    EXPECT_EQ(modeOf(failure), 0600);
    EXPECT_EQ(modeOf(QFileInfo(failure).path()), 0700);
    EXPECT_FALSE(QFileInfo::exists(thumbnailOf(scratch, broken)));

    v = visit({broken}, cache);
    EXPECT_EQ(v.decoded, 0) << "not decoded again";
    EXPECT_EQ(v.knownFailures, 1);
    EXPECT_EQ(v.cells[0], unreadableCell(Cell));

    // Made a picture since: tried again, shown, and no longer remembered as failed.
    writePhoto(broken, QSize(1200, 900), 30, "jpeg", 1800);
    v = visit({broken}, cache);
    EXPECT_EQ(v.decoded, 1);
    EXPECT_EQ(v.knownFailures, 0);
    EXPECT_LT(meanDifference(v.cells[0], plainCell(broken)), 4.0);
    EXPECT_FALSE(QFileInfo::exists(failure));
    EXPECT_TRUE(QFileInfo::exists(thumbnailOf(scratch, broken)));
}

TEST(ThumbnailCache, OtherProgramsThumbnailsAreUsedOnlyWhenTheyMatchAndServeTheCell)
{
    Scratch scratch;
    const QString photo = writePhoto(scratch.picture(QStringLiteral("shared.jpg")), QSize(1200, 900), 40);
    const QImage fromFile = plainCell(photo);
    const QRgb green = qRgb(0, 200, 0);
    int cacheNumber = 0;

    struct Case {
        const char *what;
        std::function<void(const QString &cacheName)> write; // what the other program left
        bool used;
    };
    auto keysWith = [&](const QString &key, const QString &value) {
        thumbcache::ThumbnailKeys keys = requiredKeys(photo);
        if (value.isNull())
            keys.remove(key);
        else
            keys.insert(key, value);
        return keys;
    };
    const Case cases[] = {
        {"a matching thumbnail",
         [&](const QString &c) { writeForeign(thumbnailOf(scratch, photo, Flavour::Normal, c), {128, 96}, green, requiredKeys(photo)); },
         true},
        {"a thumbnail of another file",
         [&](const QString &c) {
             writeForeign(thumbnailOf(scratch, photo, Flavour::Normal, c), {128, 96}, green,
                          keysWith(thumbcache::UriKey, QStringLiteral("file:///elsewhere/shared.jpg")));
         },
         false},
        {"no MTime",
         [&](const QString &c) { writeForeign(thumbnailOf(scratch, photo, Flavour::Normal, c), {128, 96}, green, keysWith(thumbcache::MTimeKey, QString())); },
         false},
        {"an MTime a second off",
         [&](const QString &c) {
             writeForeign(thumbnailOf(scratch, photo, Flavour::Normal, c), {128, 96}, green,
                          keysWith(thumbcache::MTimeKey, QString::number(mtimeSeconds(photo) - 1)));
         },
         false},
        {"another length",
         [&](const QString &c) {
             writeForeign(thumbnailOf(scratch, photo, Flavour::Normal, c), {128, 96}, green,
                          keysWith(thumbcache::SizeKey, QString::number(QFileInfo(photo).size() + 1)));
         },
         false},
        {"only a large one",
         [&](const QString &c) { writeForeign(thumbnailOf(scratch, photo, Flavour::Large, c), {256, 192}, green, requiredKeys(photo)); },
         true},
        {"a stale normal one and a valid large one",
         [&](const QString &c) {
             writeForeign(thumbnailOf(scratch, photo, Flavour::Normal, c), {128, 96}, Qt::red,
                          keysWith(thumbcache::MTimeKey, QStringLiteral("12")));
             writeForeign(thumbnailOf(scratch, photo, Flavour::Large, c), {256, 192}, green, requiredKeys(photo));
         },
         true},
        {"one smaller than the cell",
         [&](const QString &c) { writeForeign(thumbnailOf(scratch, photo, Flavour::Normal, c), {50, 37}, green, requiredKeys(photo)); },
         false},
        {"one larger than normal/ allows",
         [&](const QString &c) { writeForeign(thumbnailOf(scratch, photo, Flavour::Normal, c), {300, 225}, green, requiredKeys(photo)); },
         false},
        {"a damaged file",
         [&](const QString &c) {
             const QString file = thumbnailOf(scratch, photo, Flavour::Normal, c);
             ASSERT_TRUE(QDir().mkpath(QFileInfo(file).path()));
             QFile out(file);
             ASSERT_TRUE(out.open(QIODevice::WriteOnly));
             out.write("\x89PNG\r\n\x1a\n and then nothing of use");
         },
         false},
    };
    for (const Case &c : cases) {
        const QString cacheName = QStringLiteral("cache%1").arg(cacheNumber++);
        c.write(cacheName);
        const Visit v = visit({photo}, scratch.cache(cacheName));
        EXPECT_EQ(v.cached, c.used ? 1 : 0) << c.what;
        EXPECT_EQ(v.decoded, c.used ? 0 : 1) << c.what;
        if (c.used)
            EXPECT_EQ(v.cells[0].pixel(30, 30), green) << c.what;
        else
            EXPECT_LT(meanDifference(v.cells[0], fromFile), 4.0) << c.what;
        if (!c.used) {
            // Pavix's own thumbnail takes the place of the one it could not use.
            const QImage mine = QImageReader(thumbnailOf(scratch, photo, Flavour::Normal, cacheName), "png").read();
            EXPECT_EQ(mine.text(thumbcache::SoftwareKey), QStringLiteral("Pavix 9.9")) << c.what;
        }
    }
}

TEST(ThumbnailCache, PicturesOtherProgramsShowDifferentlyAreNotCached)
{
    Scratch scratch;
    const QRgb green = qRgb(0, 200, 0);
    // An icon: other programs may show its largest picture, Pavix its first.
    const QString icon = scratch.picture(QStringLiteral("hopper.ico"));
    ASSERT_TRUE(QFile::copy(corpusPath(QStringLiteral("good/hopper_256x256.ico")), icon));
    dateBack(icon);
    // A photo that asks to be turned: other programs turn it, Pavix does not.
    const QString turned = scratch.picture(QStringLiteral("turned.jpg"));
    ASSERT_TRUE(QFile::copy(corpusPath(QStringLiteral("good/orientation_rectangle.jpg")), turned));
    dateBack(turned);

    for (const QString &path : {icon, turned})
        writeForeign(thumbnailOf(scratch, path), {128, 64}, green, requiredKeys(path));
    // Both are looked up whatever their length, to see that their content keeps them out.
    const Visit v = visit({icon, turned}, scratch.cache(QStringLiteral("cache"), [](const QString &, qint64) { return true; }));
    EXPECT_EQ(v.cached, 0);
    EXPECT_EQ(v.decoded, 2);
    EXPECT_EQ(v.cells[0], plainCell(icon));
    EXPECT_EQ(v.cells[1], plainCell(turned));
    // Nor does Pavix store thumbnails of them: the other programs' stay as they were.
    for (const QString &path : {icon, turned})
        EXPECT_EQ(QImageReader(thumbnailOf(scratch, path), "png").read().text(thumbcache::SoftwareKey),
                  QStringLiteral("another program"));
}

TEST(ThumbnailCache, AnUnwritableCacheChangesNothingVisible)
{
    Scratch scratch;
    QStringList paths;
    for (int i = 0; i < 3; ++i)
        paths << writePhoto(scratch.picture(QStringLiteral("p%1.jpg").arg(i)), QSize(1200, 900), 50 + quint32(i));
    const std::vector<QImage> expected = visit(paths, scratch.cache(QStringLiteral("writable"))).cells;
    ASSERT_EQ(filesBelow(scratch.thumbnails(QStringLiteral("writable"))).size(), 3) << "a cache that takes them";

    auto expectSameGrid = [&](const char *what, const QString &cacheName) {
        const Visit v = visit(paths, scratch.cache(cacheName));
        EXPECT_EQ(v.decoded, 3) << what;
        for (size_t i = 0; i < expected.size(); ++i)
            EXPECT_EQ(v.cells[i], expected[i]) << what << ", cell " << i;
    };

    // The thumbnails folder cannot be made: a file has its name.
    const QString blocked = scratch.thumbnails(QStringLiteral("blocked"));
    ASSERT_TRUE(QDir().mkpath(QFileInfo(blocked).path()));
    {
        QFile file(blocked);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("not a folder");
    }
    expectSameGrid("no thumbnails folder", QStringLiteral("blocked"));
    EXPECT_TRUE(QFileInfo(blocked).isFile());
    EXPECT_EQ(QFileInfo(blocked).size(), 12);

    // The disk fills up while a thumbnail is written: the writes fail past 2 KB, as on a
    // full disk, and nothing half-written stays.
    {
        rlimit before{};
        ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &before), 0);
        const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = before;
        small.rlim_cur = 2048;
        ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
        const auto restore = qScopeGuard([&] {
            ::setrlimit(RLIMIT_FSIZE, &before);
            std::signal(SIGXFSZ, oldHandler);
        });
        expectSameGrid("a full disk", QStringLiteral("full"));
    }
    EXPECT_EQ(filesBelow(scratch.thumbnails(QStringLiteral("full"))), QStringList());

    // A cache folder the user may not write to (root may write anywhere: then the folder
    // takes the thumbnails, and there is nothing to see here).
    const QString readOnly = scratch.thumbnails(QStringLiteral("readonly"));
    ASSERT_TRUE(QDir().mkpath(readOnly));
    ASSERT_TRUE(QFile::setPermissions(readOnly, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    const auto writable = qScopeGuard([&] { QFile::setPermissions(readOnly, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner); });
    if (::access(QFile::encodeName(readOnly).constData(), W_OK) != 0) {
        expectSameGrid("a read-only cache", QStringLiteral("readonly"));
        EXPECT_EQ(filesBelow(readOnly), QStringList());
    }
}

TEST(ThumbnailCache, FilesInsideTheCacheAndSmallFilesAreNeverCached)
{
    Scratch scratch;
    const QString inside = scratch.thumbnails() + QStringLiteral("/pictures/inside.jpg");
    ASSERT_TRUE(QDir().mkpath(QFileInfo(inside).path()));
    writePhoto(inside, QSize(1200, 900), 60);
    // Reached through a link from outside the cache too.
    const QString link = scratch.path(QStringLiteral("link"));
    ASSERT_TRUE(QFile::link(QFileInfo(inside).path(), link));
    const QString small = scratch.picture(QStringLiteral("small.bmp"));
    ASSERT_TRUE(QFile::copy(corpusPath(QStringLiteral("good/hopper.bmp")), small));
    dateBack(small);
    ASSERT_FALSE(thumbcache::worthCaching(QStringLiteral("small.bmp"), QFileInfo(small).size()));
    // A thumbnail of the small file another program made is not read either.
    writeForeign(thumbnailOf(scratch, small), {128, 128}, Qt::green, requiredKeys(small));

    const QStringList paths{inside, link + QStringLiteral("/inside.jpg"), small};
    const QStringList before = filesBelow(scratch.thumbnails());
    const Visit v = visit(paths, scratch.cache());
    EXPECT_EQ(v.decoded, 3);
    EXPECT_EQ(v.cached, 0);
    for (int i = 0; i < paths.size(); ++i)
        EXPECT_EQ(v.cells[size_t(i)], plainCell(paths[i])) << qPrintable(paths[i]);
    EXPECT_EQ(filesBelow(scratch.thumbnails()), before);
}
