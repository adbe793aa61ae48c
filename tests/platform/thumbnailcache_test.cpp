// The shared thumbnail cache on real files in a throw-away cache folder: what a first visit
// writes, what a second visit reads, and what keeps a thumbnail from being used or written.
#include "platform/thumbnailcache.h"

#include "common/filename.h"
#include "platform/pictureservice.h"
#include "platform/thumbloader.h"
#include "thumbcache/fileuri.h"
#include "thumbcache/thumbnailrules.h"

#include "support/corpus.h"
#include "support/photofiles.h"
#include "support/processmemory.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QImageReader>
#include <QScopeGuard>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <functional>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

using namespace pavix;
using namespace pavix::platform;
using testsupport::writePhoto;
using thumbcache::Flavour;

namespace {

const QSize Cell(60, 60);
const QRgb Green = qRgb(0, 200, 0);

// Pictures in pictures/, caches beside them, none of whose folders exist until written.
class Scratch {
public:
    QString picture(const QString &name) const
    {
        QDir(m_root.path()).mkpath(QStringLiteral("pictures"));
        return m_root.filePath(QStringLiteral("pictures/") + name);
    }
    QString path(const QString &relative) const { return m_root.filePath(relative); }
    QString thumbnails(const QString &cache = QStringLiteral("cache")) const
    {
        return m_root.filePath(cache + QStringLiteral("/thumbnails"));
    }
    std::shared_ptr<const ThumbnailCache> cache(const QString &name = QStringLiteral("cache"),
                                                ThumbnailCache::WorthRule worth = thumbcache::worthCaching) const
    {
        return std::make_shared<const ThumbnailCache>(thumbnails(name), QStringLiteral("9.9"), std::move(worth));
    }
    QString thumbnailOf(const QString &path, Flavour flavour = Flavour::Normal,
                        const QString &cache = QStringLiteral("cache")) const
    {
        return thumbnails(cache) + u'/' + thumbcache::flavourFolder(flavour) + u'/'
               + thumbcache::thumbnailFileName(thumbcache::fileUri(QFile::encodeName(path)));
    }

private:
    QTemporaryDir m_root;
};

struct Visit {
    std::vector<QImage> cells;
    int decoded = 0;
    int cached = 0;
    int knownFailures = 0;
    int givenUp = 0;
};

// The grid's build over paths on two workers: every cell in order, and how each came about.
Visit visit(const QStringList &paths, const std::shared_ptr<const ThumbnailCache> &cache)
{
    ThumbLoader loader(paths, Cell, 2, 0, 0, cache);
    Visit v;
    for (int i = 0; i < loader.count(); ++i)
        v.cells.push_back(loader.waitFor(i));
    v.decoded = loader.decodedFiles();
    v.cached = loader.cachedCells();
    v.knownFailures = loader.knownFailures();
    v.givenUp = loader.givenUpCells();
    return v;
}

// The cell Pavix makes from the file itself, with no cache.
QImage plainCell(const QString &path)
{
    const common::Result<QImage> cell = loadThumbnail(path, Cell);
    return cell ? *cell : unreadableCell(Cell);
}

// True when two cells differ by no more than scaling does: 4 levels of 255 on average.
bool looksAlike(const QImage &a, const QImage &b)
{
    if (a.size() != b.size())
        return false;
    double sum = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q));
        }
    return sum / (3.0 * a.width() * a.height()) < 4.0;
}

int modeOf(const QString &path)
{
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? int(st.st_mode & 07777) : -1;
}

QString mtimeText(const QString &path)
{
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? QString::number(qint64(st.st_mtim.tv_sec))
                                                                 : QString();
}

QString keyOf(const QString &pngFile, const QString &key)
{
    return QImageReader(pngFile, "png").read().text(key);
}

// Every file below folder, relative to it.
QStringList filesBelow(const QString &folder)
{
    QStringList files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << QDir(folder).relativeFilePath(it.next());
    return files;
}

// Makes the folder and the missing ones above it as the programs that share the cache make
// theirs: the user's alone (0700).
void makePrivateFolder(const QString &folder)
{
    const QString parent = QFileInfo(folder).path();
    if (!QFileInfo::exists(parent))
        makePrivateFolder(parent);
    ::mkdir(QFile::encodeName(folder).constData(), 0700);
}

// A thumbnail as another program writes it: one colour, the keys it must write for the file
// as it is now, changed by `changes` (a null value removes the key).
void writeForeign(const QString &file, const QString &original, QSize size, QRgb colour,
                  const thumbcache::ThumbnailKeys &changes = {})
{
    thumbcache::ThumbnailKeys keys{
        {thumbcache::UriKey, QString::fromLatin1(thumbcache::fileUri(QFile::encodeName(original)))},
        {thumbcache::MTimeKey, mtimeText(original)},
        {thumbcache::SoftwareKey, QStringLiteral("another program")}};
    for (auto change = changes.constBegin(); change != changes.constEnd(); ++change)
        change.value().isNull() ? void(keys.remove(change.key())) : void(keys.insert(change.key(), change.value()));
    makePrivateFolder(QFileInfo(file).path());
    ASSERT_TRUE(QFileInfo(QFileInfo(file).path()).isDir());
    QImage thumbnail(size, QImage::Format_RGB32);
    thumbnail.fill(colour);
    for (auto key = keys.constBegin(); key != keys.constEnd(); ++key)
        thumbnail.setText(key.key(), key.value());
    ASSERT_TRUE(thumbnail.save(file, "png"));
}

// Overwrites the file with as many bytes that are no picture, dated as before.
void spoil(const QString &path)
{
    const QDateTime mtime = QFileInfo(path).lastModified();
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    file.write(QByteArray(file.size(), 'x'));
    ASSERT_TRUE(file.setFileTime(mtime, QFileDevice::FileModificationTime));
}

} // namespace

TEST(ThumbnailCache, FirstVisitWritesThumbnailsForOtherProgramsToFind)
{
    Scratch s;
    struct Photo {
        QString path;
        QSize size;
        Flavour flavour;
        QSize thumbnailPx;
    };
    const Photo photos[] = {
        {s.picture(QStringLiteral("wide.jpg")), {1200, 900}, Flavour::Normal, {128, 96}},
        {s.picture(QStringLiteral("tall.jpg")), {900, 1200}, Flavour::Normal, {96, 128}},
        {s.picture(QStringLiteral("photo #1 100% ü.jpg")), {1000, 750}, Flavour::Normal, {128, 96}},
        // 128 x 43 would be lower than the cell; 256 x 85 is not.
        {s.picture(QStringLiteral("panorama.jpg")), {3000, 1000}, Flavour::Large, {256, 85}},
    };
    QStringList paths;
    for (const Photo &p : photos)
        paths << writePhoto(p.path, p.size, quint32(paths.size()));

    const Visit first = visit(paths, s.cache());
    EXPECT_EQ(first.decoded, 4);
    EXPECT_EQ(first.cached, 0);
    for (size_t i = 0; i < 4; ++i) {
        const Photo &p = photos[i];
        EXPECT_TRUE(looksAlike(first.cells[i], plainCell(p.path))) << "the grid looks as without a cache";
        const QString file = s.thumbnailOf(p.path, p.flavour);
        const QImage thumbnail = QImageReader(file, "png").read();
        EXPECT_EQ(thumbnail.size(), p.thumbnailPx) << qPrintable(p.path);
        EXPECT_TRUE(looksAlike(composeCell(thumbnail, Cell), plainCell(p.path))) << "the right way round";
        const QStringList keys{QStringLiteral("Thumb::URI"),
                               QStringLiteral("Thumb::MTime"),
                               QStringLiteral("Thumb::Size"),
                               QStringLiteral("Thumb::Mimetype"),
                               QStringLiteral("Thumb::Image::Width"),
                               QStringLiteral("Thumb::Image::Height"),
                               QStringLiteral("Software")};
        QStringList values;
        for (const QString &key : keys)
            values << thumbnail.text(key);
        EXPECT_EQ(values, (QStringList{QString::fromLatin1(thumbcache::fileUri(QFile::encodeName(p.path))),
                                       mtimeText(p.path), QString::number(QFileInfo(p.path).size()),
                                       QStringLiteral("image/jpeg"), QString::number(p.size.width()),
                                       QString::number(p.size.height()), QStringLiteral("Pavix 9.9")}));
        EXPECT_EQ(modeOf(file), 0600);
    }
    // The name other programs look for: the MD5 of the URI, the name escaped byte by byte.
    const QByteArray uri = thumbcache::fileUri(QFile::encodeName(QFileInfo(paths[2]).path()))
                           + "/photo%20%231%20100%25%20%C3%BC.jpg";
    EXPECT_TRUE(QFileInfo::exists(s.thumbnails() + QStringLiteral("/normal/")
                                  + QString::fromLatin1(QCryptographicHash::hash(uri, QCryptographicHash::Md5).toHex())
                                  + QStringLiteral(".png")));
    for (const QString &folder :
         {s.path(QStringLiteral("cache")), s.thumbnails(), s.thumbnails() + QStringLiteral("/normal"),
          s.thumbnails() + QStringLiteral("/large")})
        EXPECT_EQ(modeOf(folder), 0700) << qPrintable(folder);
    EXPECT_EQ(filesBelow(s.thumbnails()).size(), 4) << "nothing else, no temporary file left";
}

TEST(ThumbnailCache, APhotoWhoseNameIsNotUtf8IsCachedUnderItsRealBytes)
{
    Scratch s;
    const QString written = writePhoto(s.picture(QStringLiteral("latin.jpg")), QSize(1200, 900), 7);
    const QByteArray latin = QFile::encodeName(QFileInfo(written).path()) + "/caf\xe9.jpg";
    ASSERT_EQ(::rename(QFile::encodeName(written).constData(), latin.constData()), 0);
    const QString path = common::decodeFileName(latin);
    const auto cache = s.cache();

    const Visit first = visit({path}, cache);
    EXPECT_EQ(first.decoded, 1);
    EXPECT_NE(first.cells[0], unreadableCell(Cell));
    // Other programs find it by the URI of the name's bytes, "%E9" for the Latin-1 byte.
    const QByteArray uri = thumbcache::fileUri(QFile::encodeName(QFileInfo(written).path())) + "/caf%E9.jpg";
    const QString thumbnail = s.thumbnails() + QStringLiteral("/normal/")
                              + QString::fromLatin1(QCryptographicHash::hash(uri, QCryptographicHash::Md5).toHex())
                              + QStringLiteral(".png");
    EXPECT_EQ(QImageReader(thumbnail, "png").read().text(QStringLiteral("Thumb::URI")), QString::fromLatin1(uri));
    const Visit second = visit({path}, cache);
    EXPECT_EQ(second.cached, 1);
    ::unlink(latin.constData());
}

TEST(ThumbnailCache, SecondVisitDecodesNoPhoto)
{
    Scratch s;
    QStringList paths;
    for (int i = 0; i < 5; ++i)
        paths << writePhoto(s.picture(QStringLiteral("p%1.jpg").arg(i)), QSize(1200, 900), 10 + quint32(i));
    const auto cache = s.cache();
    const Visit first = visit(paths, cache);
    ASSERT_EQ(first.decoded, 5);

    const Visit second = visit(paths, cache);
    EXPECT_EQ(second.decoded, 0);
    EXPECT_EQ(second.cached, 5);
    EXPECT_EQ(second.cells, first.cells);

    // The photo is not even read: bytes spoilt behind an unchanged date and length still show
    // the thumbnail (no program can tell).
    spoil(paths[2]);
    ASSERT_EQ(plainCell(paths[2]), unreadableCell(Cell));
    const Visit third = visit(paths, cache);
    EXPECT_EQ(third.decoded, 0);
    EXPECT_EQ(third.cells, first.cells);
}

TEST(ThumbnailCache, AChangedFileIsNeverShownWithItsOldThumbnail)
{
    Scratch s;
    const QString path = writePhoto(s.picture(QStringLiteral("photo.jpg")), QSize(1200, 900), 20, "jpeg", 7200);
    const auto cache = s.cache();
    const QImage old = visit({path}, cache).cells[0];
    const QString thumbnail = s.thumbnailOf(path);

    // Touched: another picture, an hour later.
    writePhoto(path, QSize(1200, 900), 21, "jpeg", 3600);
    Visit v = visit({path}, cache);
    EXPECT_EQ(v.decoded, 1);
    EXPECT_FALSE(looksAlike(v.cells[0], old));
    EXPECT_TRUE(looksAlike(v.cells[0], plainCell(path)));
    EXPECT_EQ(keyOf(thumbnail, thumbcache::MTimeKey), mtimeText(path)) << "its thumbnail is made again";
    EXPECT_EQ(visit({path}, cache).decoded, 0);

    // Rewritten within the second its thumbnail names, to another length.
    const QDateTime mtime = QFileInfo(path).lastModified();
    writePhoto(path, QSize(1000, 750), 22);
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite) && file.setFileTime(mtime, QFileDevice::FileModificationTime));
    }
    v = visit({path}, cache);
    EXPECT_EQ(v.decoded, 1);
    EXPECT_TRUE(looksAlike(v.cells[0], plainCell(path)));

    // Changed within the current second: shown from the file, but no thumbnail is kept while
    // another change within that second could still follow unseen. Stamped a minute ahead,
    // so that a slow run cannot see the second pass before the thumbnail would be stored.
    const QString stored = keyOf(thumbnail, thumbcache::MTimeKey);
    writePhoto(path, QSize(1200, 900), 23, "jpeg", -60);
    v = visit({path}, cache);
    EXPECT_TRUE(looksAlike(v.cells[0], plainCell(path)));
    EXPECT_EQ(keyOf(thumbnail, thumbcache::MTimeKey), stored);
}

TEST(ThumbnailCache, AFileThatCannotBeReadIsRememberedUntilItChanges)
{
    Scratch s;
    const QString broken = writePhoto(s.picture(QStringLiteral("broken.jpg")), QSize(1200, 900), 30);
    spoil(broken);
    const auto cache = s.cache();
    Visit v = visit({broken}, cache);
    EXPECT_EQ(v.decoded, 1);
    EXPECT_EQ(v.cells[0], unreadableCell(Cell));
    const QString failure = s.thumbnails() + QStringLiteral("/fail/pavix-9.9/")
                            + QFileInfo(s.thumbnailOf(broken)).fileName();
    EXPECT_EQ(keyOf(failure, thumbcache::UriKey), QString::fromLatin1(thumbcache::fileUri(QFile::encodeName(broken))));
    EXPECT_EQ(keyOf(failure, thumbcache::MTimeKey), mtimeText(broken));
    EXPECT_EQ(modeOf(failure), 0600);
    EXPECT_EQ(modeOf(QFileInfo(failure).path()), 0700);
    EXPECT_FALSE(QFileInfo::exists(s.thumbnailOf(broken)));

    v = visit({broken}, cache);
    EXPECT_EQ(v.decoded, 0) << "not decoded again";
    EXPECT_EQ(v.knownFailures, 1);
    EXPECT_EQ(v.cells[0], unreadableCell(Cell));

    // A picture since: read again, shown, and no longer remembered as failed.
    writePhoto(broken, QSize(1200, 900), 31, "jpeg", 1800);
    v = visit({broken}, cache);
    EXPECT_EQ(v.decoded, 1);
    EXPECT_TRUE(looksAlike(v.cells[0], plainCell(broken)));
    EXPECT_FALSE(QFileInfo::exists(failure));
    EXPECT_TRUE(QFileInfo::exists(s.thumbnailOf(broken)));
}

TEST(ThumbnailCache, OtherProgramsThumbnailsAreUsedOnlyWhenTheyMatchAndServeTheCell)
{
    Scratch s;
    const QString photo = writePhoto(s.picture(QStringLiteral("shared.jpg")), QSize(1200, 900), 40);
    struct Case {
        const char *what;
        std::function<void(const QString &cache)> write;
        bool used;
    };
    const Case cases[] = {
        {"a matching one",
         [&](const QString &c) {
             writeForeign(s.thumbnailOf(photo, Flavour::Normal, c), photo, {128, 96}, Green);
         },
         true},
        {"one of another file",
         [&](const QString &c) {
             writeForeign(s.thumbnailOf(photo, Flavour::Normal, c), photo, {128, 96}, Green,
                          {{thumbcache::UriKey, QStringLiteral("file:///elsewhere/shared.jpg")}});
         },
         false},
        {"only a large one",
         [&](const QString &c) {
             writeForeign(s.thumbnailOf(photo, Flavour::Large, c), photo, {256, 192}, Green);
         },
         true},
        {"a stale normal one and a valid large one",
         [&](const QString &c) {
             writeForeign(s.thumbnailOf(photo, Flavour::Normal, c), photo, {128, 96}, qRgb(255, 0, 0),
                          {{thumbcache::MTimeKey, QStringLiteral("12")}});
             writeForeign(s.thumbnailOf(photo, Flavour::Large, c), photo, {256, 192}, Green);
         },
         true},
        {"one smaller than the cell",
         [&](const QString &c) {
             writeForeign(s.thumbnailOf(photo, Flavour::Normal, c), photo, {50, 37}, Green);
         },
         false},
        {"one larger than normal/ allows",
         [&](const QString &c) {
             writeForeign(s.thumbnailOf(photo, Flavour::Normal, c), photo, {300, 225}, Green);
         },
         false},
        {"a damaged one",
         [&](const QString &c) {
             const QString file = s.thumbnailOf(photo, Flavour::Normal, c);
             makePrivateFolder(QFileInfo(file).path());
             QFile out(file);
             ASSERT_TRUE(out.open(QIODevice::WriteOnly) && out.write("\x89PNG\r\n\x1a\n and then nothing") > 0);
         },
         false},
    };
    int number = 0;
    for (const Case &c : cases) {
        const QString cache = QStringLiteral("cache%1").arg(number++);
        c.write(cache);
        const Visit v = visit({photo}, s.cache(cache));
        EXPECT_EQ(v.decoded, c.used ? 0 : 1) << c.what;
        EXPECT_EQ(v.cells[0].pixel(30, 30) == Green, c.used) << c.what;
        if (!c.used) { // Pavix's own thumbnail takes the place of the one it could not use.
            EXPECT_EQ(keyOf(s.thumbnailOf(photo, Flavour::Normal, cache), thumbcache::SoftwareKey),
                      QStringLiteral("Pavix 9.9"))
                << c.what;
        }
    }

    // Pictures other programs show otherwise: an icon's largest picture, a photo turned as
    // its Exif orientation asks (looked up here whatever their length).
    const QString icon = s.picture(QStringLiteral("hopper.ico"));
    const QString turned = s.picture(QStringLiteral("turned.jpg"));
    ASSERT_TRUE(QFile::copy(testsupport::corpusPath(QStringLiteral("good/hopper_256x256.ico")), icon));
    ASSERT_TRUE(QFile::copy(testsupport::corpusPath(QStringLiteral("good/orientation_rectangle.jpg")), turned));
    for (const QString &path : {icon, turned}) {
        testsupport::dateBack(path);
        writeForeign(s.thumbnailOf(path), path, {128, 64}, Green);
    }
    const Visit v = visit({icon, turned},
                          s.cache(QStringLiteral("cache"), [](const QString &, qint64) { return true; }));
    EXPECT_EQ(v.decoded, 2);
    EXPECT_EQ(v.cells, (std::vector<QImage>{plainCell(icon), plainCell(turned)}));
    for (const QString &path : {icon, turned})
        EXPECT_EQ(keyOf(s.thumbnailOf(path), thumbcache::SoftwareKey), QStringLiteral("another program"))
            << "nor does Pavix store one of its own";
}

TEST(ThumbnailCache, AnUnwritableCacheChangesNothingVisible)
{
    Scratch s;
    QStringList paths;
    for (int i = 0; i < 3; ++i)
        paths << writePhoto(s.picture(QStringLiteral("p%1.jpg").arg(i)), QSize(1200, 900), 50 + quint32(i));
    const std::vector<QImage> expected = visit(paths, s.cache(QStringLiteral("writable"))).cells;
    ASSERT_EQ(filesBelow(s.thumbnails(QStringLiteral("writable"))).size(), 3);
    auto expectSameGrid = [&](const char *what, const QString &cache) {
        const Visit v = visit(paths, s.cache(cache));
        EXPECT_EQ(v.decoded, 3) << what;
        EXPECT_EQ(v.cells, expected) << what;
        EXPECT_EQ(filesBelow(s.thumbnails(cache)), QStringList()) << what;
    };

    // The thumbnails folder cannot be made: a file has its name.
    QDir().mkpath(s.path(QStringLiteral("blocked")));
    QFile blocker(s.thumbnails(QStringLiteral("blocked")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly) && blocker.write("not a folder") == 12);
    blocker.close();
    expectSameGrid("no thumbnails folder", QStringLiteral("blocked"));
    EXPECT_EQ(QFileInfo(blocker.fileName()).size(), 12);

    // The disk fills up while a thumbnail is written: writes past 2 KB fail, as on a full
    // disk, and nothing half-written stays.
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

    // A cache folder the user may not write to (root writes anywhere; then there is nothing
    // to see here).
    const QString readOnly = s.thumbnails(QStringLiteral("readonly"));
    ASSERT_TRUE(QDir().mkpath(readOnly));
    ASSERT_TRUE(QFile::setPermissions(readOnly, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    const auto writable = qScopeGuard([&] {
        QFile::setPermissions(readOnly, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    });
    if (::access(QFile::encodeName(readOnly).constData(), W_OK) != 0)
        expectSameGrid("a read-only cache", QStringLiteral("readonly"));
}

TEST(ThumbnailCache, FilesInsideTheCacheAndSmallFilesAreNeverCached)
{
    Scratch s;
    const QString inside = s.thumbnails() + QStringLiteral("/pictures/inside.jpg");
    makePrivateFolder(QFileInfo(inside).path());
    writePhoto(inside, QSize(1200, 900), 60);
    const QString link = s.path(QStringLiteral("link"));
    ASSERT_TRUE(QFile::link(QFileInfo(inside).path(), link));
    const QString small = s.picture(QStringLiteral("small.bmp"));
    ASSERT_TRUE(QFile::copy(testsupport::corpusPath(QStringLiteral("good/hopper.bmp")), small));
    testsupport::dateBack(small);
    ASSERT_FALSE(thumbcache::worthCaching(QStringLiteral("small.bmp"), QFileInfo(small).size()));
    writeForeign(s.thumbnailOf(small), small, {128, 128}, Green); // not even read

    const QStringList paths{inside, link + QStringLiteral("/inside.jpg"), small};
    const QStringList before = filesBelow(s.thumbnails());
    const Visit v = visit(paths, s.cache());
    EXPECT_EQ(v.decoded, 3);
    EXPECT_EQ(v.cells, (std::vector<QImage>{plainCell(paths[0]), plainCell(paths[1]), plainCell(paths[2])}));
    EXPECT_EQ(filesBelow(s.thumbnails()), before);
}

TEST(ThumbnailCache, ADamagedThumbnailCostsNoMoreMemoryThanItsFile)
{
    Scratch s;
    const QString photo = writePhoto(s.picture(QStringLiteral("photo.jpg")), QSize(1200, 900), 70);
    // A valid thumbnail with a text chunk after its header that claims 2 GB, of which the
    // file holds a few hundred bytes: the PNG reader sets aside and clears what a chunk
    // claims before it finds the file short.
    writeForeign(s.thumbnailOf(photo, Flavour::Normal), photo, {128, 96}, Green);
    writeForeign(s.thumbnailOf(photo, Flavour::Large), photo, {256, 192}, Green);
    for (const Flavour flavour : thumbcache::Flavours) {
        QFile file(s.thumbnailOf(photo, flavour));
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        QByteArray bytes = file.readAll();
        ASSERT_EQ(bytes.mid(12, 4), QByteArray("IHDR"));
        bytes.insert(8 + 25, QByteArray("\x7f\xff\xff\xf0tEXtThumb::URI", 18));
        ASSERT_TRUE(file.resize(0) && file.seek(0) && file.write(bytes) == bytes.size());
    }

    const qint64 growthKib = testsupport::peakGrowthAloneKib([&] { (void)visit({photo}, s.cache()); });
    EXPECT_GE(growthKib, 0);
    EXPECT_LT(growthKib, 256 * 1024);
    const Visit v = visit({photo}, s.cache());
    EXPECT_EQ(v.decoded, 1);
    EXPECT_TRUE(looksAlike(v.cells[0], plainCell(photo)));
    EXPECT_EQ(keyOf(s.thumbnailOf(photo), thumbcache::SoftwareKey), QStringLiteral("Pavix 9.9"))
        << "Pavix's own thumbnail takes its place";
}

TEST(ThumbnailCache, PipesLinksAndFoldersNotTheUsersOwnAreNeitherWaitedForNorUsed)
{
    Scratch s;
    QStringList paths;
    for (int i = 0; i < 4; ++i)
        paths << writePhoto(s.picture(QStringLiteral("p%1.jpg").arg(i)), QSize(1200, 900), 80 + quint32(i));
    const auto cache = s.cache();
    const QString failFolder = s.thumbnails() + QStringLiteral("/fail/pavix-9.9");
    const QString failure = failFolder + u'/' + QFileInfo(s.thumbnailOf(paths[1])).fileName();
    // Another program's valid thumbnail of p3, reached through a link in the cache.
    const QString elsewhere = s.path(QStringLiteral("elsewhere/p3.png"));
    writeForeign(elsewhere, paths[3], {128, 96}, Green);
    makePrivateFolder(QFileInfo(s.thumbnailOf(paths[0])).path());
    makePrivateFolder(QFileInfo(s.thumbnailOf(paths[0], Flavour::Large)).path());
    makePrivateFolder(failFolder);
    const QStringList pipes{s.thumbnailOf(paths[0]), failure, s.thumbnailOf(paths[2], Flavour::Large)};
    for (const QString &pipe : pipes)
        ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0) << qPrintable(pipe);
    ASSERT_TRUE(QFile::link(elsewhere, s.thumbnailOf(paths[3])));
    // A reader left waiting on a pipe is let go at the end.
    const auto letReadersGo = qScopeGuard([&] {
        for (const QString &pipe : pipes) {
            const int fd = ::open(QFile::encodeName(pipe).constData(), O_WRONLY | O_NONBLOCK);
            if (fd >= 0)
                ::close(fd);
        }
    });

    const Visit first = visit(paths, cache);
    EXPECT_EQ(first.givenUp, 0);
    EXPECT_EQ(first.decoded, 4);
    for (int i = 0; i < 4; ++i)
        EXPECT_TRUE(looksAlike(first.cells[size_t(i)], plainCell(paths[i]))) << i;
    // Pavix's own thumbnails took the names of the pipe and the link; the stale pipe under
    // fail/ is gone, and what the link led to is as it was.
    for (const QString &path : paths) {
        struct stat st {};
        ASSERT_EQ(::lstat(QFile::encodeName(s.thumbnailOf(path)).constData(), &st), 0);
        EXPECT_TRUE(S_ISREG(st.st_mode)) << qPrintable(path);
    }
    EXPECT_FALSE(QFileInfo::exists(failure) || QFileInfo(failure).isSymLink());
    EXPECT_EQ(keyOf(elsewhere, thumbcache::SoftwareKey), QStringLiteral("another program"));
    EXPECT_EQ(visit(paths, cache).decoded, 0);

    // Cache folders that are links or not the user's alone: not read, not written.
    const QString photo = paths[0];
    struct Case {
        const char *what;
        std::function<void(const QString &thumbnails)> make;
    };
    const auto linkInPlace = [&](const QString &folder, const QString &target) {
        makePrivateFolder(QFileInfo(folder).path());
        ASSERT_TRUE(QFile::rename(folder, target));
        ASSERT_TRUE(QFile::link(target, folder));
    };
    std::vector<Case> cases{
        {"normal/ open to others",
         [&](const QString &t) { ::chmod(QFile::encodeName(t + QStringLiteral("/normal")).constData(), 0755); }},
        {"the cache's folder open to others",
         [&](const QString &t) { ::chmod(QFile::encodeName(t).constData(), 0711); }},
        {"normal/ a link",
         [&](const QString &t) {
             linkInPlace(t + QStringLiteral("/normal"), t + QStringLiteral("/../linked-normal"));
         }},
        {"the cache's folder a link", [&](const QString &t) { linkInPlace(t, t + QStringLiteral("-linked")); }},
    };
    if (::geteuid() == 0) // only the superuser can give a folder away for the test
        cases.push_back({"normal/ another user's", [&](const QString &t) {
                             ASSERT_EQ(::chown(QFile::encodeName(t + QStringLiteral("/normal")).constData(), 65534,
                                               65534),
                                       0);
                         }});
    int number = 0;
    for (const Case &c : cases) {
        const QString name = QStringLiteral("foreign%1").arg(number++);
        writeForeign(s.thumbnailOf(photo, Flavour::Normal, name), photo, {128, 96}, Green);
        c.make(s.thumbnails(name));
        const QStringList before = filesBelow(s.path(name));
        const Visit v = visit({photo}, s.cache(name));
        EXPECT_EQ(v.decoded, 1) << c.what;
        EXPECT_NE(v.cells[0].pixel(30, 30), Green) << c.what;
        EXPECT_EQ(filesBelow(s.path(name)), before) << c.what;
        EXPECT_EQ(keyOf(s.thumbnailOf(photo, Flavour::Normal, name), thumbcache::SoftwareKey),
                  QStringLiteral("another program"))
            << c.what;
    }

    // A failure remembered under a fail/ folder that is a link is not believed.
    const QString broken = writePhoto(s.picture(QStringLiteral("broken.jpg")), QSize(1200, 900), 90);
    spoil(broken);
    const auto failing = s.cache(QStringLiteral("failing"));
    EXPECT_EQ(visit({broken}, failing).decoded, 1);
    const QString failing9 = s.thumbnails(QStringLiteral("failing")) + QStringLiteral("/fail/pavix-9.9");
    ASSERT_EQ(visit({broken}, failing).knownFailures, 1);
    linkInPlace(failing9, s.path(QStringLiteral("failing-elsewhere")));
    const Visit again = visit({broken}, failing);
    EXPECT_EQ(again.knownFailures, 0);
    EXPECT_EQ(again.decoded, 1);
}
