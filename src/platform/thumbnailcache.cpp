#include "platform/thumbnailcache.h"

#include "common/filename.h"
#include "common/pngchunks.h"
#include "thumbcache/fileuri.h"

#include <QBuffer>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QTemporaryFile>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pavix::platform {

using thumbcache::Flavour;

namespace {

// Thumbnail files longer than this are not read: 256 x 256 pixels take a quarter of it
// even uncompressed.
constexpr qint64 MaxThumbnailFileBytes = qint64(1) << 20;

// The PNG writer's quality for zlib level 1 (Qt maps quality q to level (100 - q) * 9 / 91).
constexpr int PngQuality = 80;

// Formats whose first picture every program shows alike (the first frame of an animation,
// the first page of a TIFF). An icon is not one of them (another program may show its
// largest picture), nor a format the reader could not name.
bool showsOnePicture(const QByteArray &format)
{
    return format == "jpeg" || format == "bmp" || format == "gif" || format == "png" || format == "webp"
           || format == "tiff";
}

// True when `folder` is one Pavix may read thumbnails from and write them into: a folder
// itself, not a link to one, that belongs to the user and that no one else may enter
// (0700, as the cache's folders are made). What any other may hold, someone else may have
// put there or may change.
bool isPrivateFolder(const QByteArray &folder)
{
    struct stat st {};
    return ::lstat(folder.constData(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::geteuid()
           && (st.st_mode & 077) == 0;
}

// Makes the folder and any missing folder above it, each readable by its owner only.
bool makeFolders(const QByteArray &folder)
{
    struct stat st {};
    if (::stat(folder.constData(), &st) == 0)
        return S_ISDIR(st.st_mode);
    if (errno != ENOENT)
        return false;
    const qsizetype slash = folder.lastIndexOf('/');
    if (slash > 0 && !makeFolders(folder.left(slash)))
        return false;
    return ::mkdir(folder.constData(), 0700) == 0 || errno == EEXIST;
}

// The thumbnail's text keys as the PNG holds them.
thumbcache::ThumbnailKeys keysOf(const QImage &image)
{
    thumbcache::ThumbnailKeys keys;
    const QStringList names = image.textKeys();
    for (const QString &key : names)
        keys.insert(key, image.text(key));
    return keys;
}

// A PNG of the cache, read only when it is small, no chunk of it claims more than the file
// holds, and it is of a size the flavour allows; its keys come with the picture.
std::optional<QImage> readCachePng(const QString &path, Flavour flavour)
{
    // Opened without waiting and without following a link: a pipe would hold the reader
    // until some program writes into it, and a link may lead anywhere. Only a regular file
    // is read.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    QFile file;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > MaxThumbnailFileBytes
        || !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return std::nullopt;
    }
    QByteArray bytes = file.read(MaxThumbnailFileBytes + 1);
    if (bytes.size() > MaxThumbnailFileBytes || !common::pngChunksWithinFile(bytes))
        return std::nullopt;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "png");
    if (!thumbcache::fitsFlavour(reader.size(), flavour))
        return std::nullopt;
    QImage image;
    if (!reader.read(&image) || image.isNull() || !thumbcache::fitsFlavour(image.size(), flavour))
        return std::nullopt;
    return image;
}

} // namespace

struct ThumbnailCache::Original {
    QString path;
    thumbcache::OriginalFile file;
    qint64 mtimeMs = 0;
    // What tells a later look at the file that it is still the file that was read.
    struct timespec mtime {};
    dev_t device = 0;
    ino_t inode = 0;
};

ThumbnailCache::ThumbnailCache(QString folder, QString version, WorthRule worth)
    : m_folder(QDir::cleanPath(folder)),
      m_canonicalFolder(QFileInfo(m_folder).canonicalFilePath()),
      m_software(thumbcache::softwareName(version)),
      m_failFolder(m_folder + QStringLiteral("/fail/") + thumbcache::failFolderName(version)),
      m_worth(std::move(worth))
{
}

std::shared_ptr<const ThumbnailCache> ThumbnailCache::forCurrentUser()
{
    const QString folder = thumbcache::thumbnailsFolder(qEnvironmentVariable("XDG_CACHE_HOME"), QDir::homePath());
    if (folder.isEmpty())
        return nullptr;
    return std::make_shared<const ThumbnailCache>(folder, programVersion());
}

QString ThumbnailCache::programVersion()
{
    return QStringLiteral(PAVIX_VERSION);
}

QString ThumbnailCache::thumbnailPath(const QByteArray &uri, Flavour flavour) const
{
    return m_folder + u'/' + thumbcache::flavourFolder(flavour) + u'/' + thumbcache::thumbnailFileName(uri);
}

QString ThumbnailCache::failurePath(const QByteArray &uri) const
{
    return m_failFolder + u'/' + thumbcache::thumbnailFileName(uri);
}

std::optional<ThumbnailCache::Original> ThumbnailCache::describe(const QString &path) const
{
    const QByteArray local =
        thumbcache::cleanAbsolutePath(common::encodeFileName(QDir::current().absoluteFilePath(path)));
    if (local.isEmpty())
        return std::nullopt;
    struct stat st {};
    if (::stat(local.constData(), &st) != 0 || !S_ISREG(st.st_mode))
        return std::nullopt;
    if (!m_worth || !m_worth(common::decodeFileName(local.mid(local.lastIndexOf('/') + 1)), st.st_size))
        return std::nullopt;
    // A file Pavix may not read keeps its thumbnail, if any, to those who may.
    if (::access(local.constData(), R_OK) != 0)
        return std::nullopt;
    // The cache's own files are never thumbnailed, also when reached through a link.
    const QString cleanPath = common::decodeFileName(local);
    if (thumbcache::isInsideFolder(cleanPath, m_folder)
        || (!m_canonicalFolder.isEmpty() && thumbcache::isInsideFolder(cleanPath, m_canonicalFolder)))
        return std::nullopt;
    if (char *real = ::realpath(local.constData(), nullptr)) {
        const QString realPath = common::decodeFileName(real);
        std::free(real);
        if (thumbcache::isInsideFolder(realPath, m_folder)
            || (!m_canonicalFolder.isEmpty() && thumbcache::isInsideFolder(realPath, m_canonicalFolder)))
            return std::nullopt;
    }
    Original original;
    original.path = path;
    original.file.uri = thumbcache::fileUri(local);
    original.file.mtime = st.st_mtim.tv_sec;
    original.file.size = st.st_size;
    original.mtimeMs = qint64(st.st_mtim.tv_sec) * 1000 + st.st_mtim.tv_nsec / 1'000'000;
    original.mtime = st.st_mtim;
    original.device = st.st_dev;
    original.inode = st.st_ino;
    return original;
}

bool ThumbnailCache::unchangedSince(const Original &original) const
{
    struct stat st {};
    const QByteArray local = common::encodeFileName(QDir::current().absoluteFilePath(original.path));
    return ::stat(local.constData(), &st) == 0 && st.st_size == original.file.size
           && st.st_mtim.tv_sec == original.mtime.tv_sec && st.st_mtim.tv_nsec == original.mtime.tv_nsec
           && st.st_dev == original.device && st.st_ino == original.inode;
}

QList<QByteArray> ThumbnailCache::cacheFoldersDownTo(const QString &folder) const
{
    if (!thumbcache::isInsideFolder(folder, m_folder))
        return {};
    QList<QByteArray> folders{QFile::encodeName(m_folder)};
    const QStringList below = folder.mid(m_folder.size()).split(u'/', Qt::SkipEmptyParts);
    for (const QString &name : below)
        folders.append(folders.constLast() + '/' + QFile::encodeName(name));
    return folders;
}

bool ThumbnailCache::mayUseFolder(const QString &folder) const
{
    const QList<QByteArray> folders = cacheFoldersDownTo(folder);
    return !folders.isEmpty() && std::all_of(folders.cbegin(), folders.cend(), isPrivateFolder);
}

bool ThumbnailCache::makeFolder(const QString &folder) const
{
    const QList<QByteArray> folders = cacheFoldersDownTo(folder);
    // The folders above the cache are the user's to arrange (a link is fine there); the
    // cache's own are made private and must be so.
    if (folders.isEmpty() || !makeFolders(QFile::encodeName(QFileInfo(m_folder).path())))
        return false;
    for (const QByteArray &step : folders) {
        if ((::mkdir(step.constData(), 0700) != 0 && errno != EEXIST) || !isPrivateFolder(step))
            return false;
    }
    return true;
}

std::optional<QImage> ThumbnailCache::readThumbnail(const Original &original, Flavour flavour, bool *ours) const
{
    const QString path = thumbnailPath(original.file.uri, flavour);
    if (!mayUseFolder(QFileInfo(path).path()))
        return std::nullopt;
    std::optional<QImage> image = readCachePng(path, flavour);
    if (!image)
        return std::nullopt;
    const thumbcache::ThumbnailKeys keys = keysOf(*image);
    if (!thumbcache::describesOriginal(keys, original.file))
        return std::nullopt;
    *ours = keys.value(thumbcache::SoftwareKey) == m_software;
    return image;
}

bool ThumbnailCache::remembersFailure(const Original &original, bool *stale) const
{
    if (!mayUseFolder(m_failFolder))
        return false;
    const QString path = failurePath(original.file.uri);
    const std::optional<QImage> image = readCachePng(path, Flavour::Normal);
    if (image && thumbcache::describesOriginal(keysOf(*image), original.file))
        return true;
    // Anything else there, a link or a pipe too, is stale.
    struct stat st {};
    *stale = image.has_value() || ::lstat(QFile::encodeName(path).constData(), &st) == 0;
    return false;
}

bool ThumbnailCache::suitsCache(const PictureFacts &facts) const
{
    // Pavix shows a picture as stored, unturned, and an icon's first picture; a thumbnail
    // made as the others make them (turned, or of the largest picture) would look different.
    return !facts.transformed && showsOnePicture(facts.format) && facts.fullPx.isValid() && !facts.fullPx.isEmpty();
}

bool ThumbnailCache::store(const QString &folder, const QString &name, const QImage &image,
                           const thumbcache::ThumbnailKeys &keys) const
{
    if (!makeFolder(folder))
        return false;
    // Written beside its final name and renamed over it, so that no program ever reads a
    // half-written thumbnail, and whatever else has the name (a link, a pipe) is replaced,
    // never written through; the temporary file is the owner's alone and goes on failure.
    QTemporaryFile temp(folder + u'/' + name + QStringLiteral(".XXXXXX"));
    if (!temp.open())
        return false;
    temp.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    // The keys go in as the picture's own text: the writer's text option cannot carry keys
    // that hold a colon, as every Thumb:: key does.
    QImage keyed = image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    for (auto key = keys.constBegin(); key != keys.constEnd(); ++key)
        keyed.setText(key.key(), key.value());
    QImageWriter writer(&temp, "png");
    // zlib's fastest level: a fifth of the default level's time (about 1 ms against 5.5 ms
    // for a photo's 128 x 96) for a tenth more bytes.
    writer.setQuality(PngQuality);
    if (!writer.write(keyed))
        return false;
    temp.close();
    if (temp.error() != QFileDevice::NoError)
        return false;
    if (::rename(QFile::encodeName(temp.fileName()).constData(), QFile::encodeName(folder + u'/' + name).constData())
        != 0)
        return false;
    temp.setAutoRemove(false);
    return true;
}

CachedCell ThumbnailCache::cell(const QString &path, QSize cellPx, DecodeScratch &scratch, const DecodeGate *gate,
                                bool mayStore) const
{
    CachedCell out;
    const std::optional<Original> original = describe(path);
    if (!original) {
        common::Result<QImage> cell = loadThumbnail(path, cellPx, scratch, gate);
        if (cell)
            out.cell = std::move(cell.value());
        return out;
    }

    // A thumbnail another program made is used only for a picture it shows as Pavix does.
    std::optional<bool> showsAsPavix;
    for (const Flavour flavour : thumbcache::Flavours) {
        bool ours = false;
        const std::optional<QImage> thumbnail = readThumbnail(*original, flavour, &ours);
        if (!thumbnail || !thumbcache::servesCell(thumbnail->size(), cellPx))
            continue;
        if (!ours && !showsAsPavix) {
            const common::Result<PictureFacts> facts = readPictureFacts(path);
            showsAsPavix = facts && suitsCache(*facts);
        }
        if (ours || *showsAsPavix) {
            out.cell = composeCell(*thumbnail, cellPx);
            out.source = CellSource::Cache;
            return out;
        }
    }

    bool staleFailure = false;
    if (remembersFailure(*original, &staleFailure)) {
        out.source = CellSource::KnownFailure;
        return out;
    }

    // Read at the size of the thumbnail to store, or, for a picture the cache cannot serve,
    // at the cell's size as without a cache.
    const ShrinkRule shrinkFor = [this, cellPx](const PictureFacts &facts) {
        if (!suitsCache(facts))
            return cellPx;
        const std::optional<Flavour> flavour = thumbcache::flavourForCell(facts.fullPx, cellPx);
        return flavour ? thumbcache::thumbnailSize(facts.fullPx, thumbcache::flavourSide(*flavour)) : cellPx;
    };
    PictureFacts facts;
    const common::Result<QImage> picture = loadShrunkPicture(path, shrinkFor, scratch, gate, &facts);
    const bool storing = mayStore
                         && thumbcache::settledForCaching(original->mtimeMs, QDateTime::currentMSecsSinceEpoch());
    const QString name = thumbcache::thumbnailFileName(original->file.uri);
    if (!picture) {
        // Only a file that is no picture Pavix can read is remembered; one it could not get
        // at (a read error) is tried again next time.
        if (storing && picture.error().number == common::ErrBadPicture && unchangedSince(*original)) {
            QImage blank(1, 1, QImage::Format_ARGB32);
            blank.fill(Qt::transparent);
            out.storeFailed = !store(m_failFolder, name, blank,
                                     thumbcache::thumbnailKeys(original->file, m_software, QString(), QSize()));
        }
        return out;
    }
    out.cell = composeCell(*picture, cellPx);
    if (storing && staleFailure)
        QFile::remove(failurePath(original->file.uri));
    if (!storing || !suitsCache(facts))
        return out;
    const std::optional<Flavour> flavour = thumbcache::flavourForCell(facts.fullPx, cellPx);
    if (!flavour || picture->size() != thumbcache::thumbnailSize(facts.fullPx, thumbcache::flavourSide(*flavour))
        || !unchangedSince(*original))
        return out;
    const thumbcache::ThumbnailKeys keys = thumbcache::thumbnailKeys(original->file, m_software,
                                                                     thumbcache::mimeTypeForFormat(facts.format),
                                                                     facts.fullPx);
    out.storeFailed = !store(m_folder + u'/' + thumbcache::flavourFolder(*flavour), name, *picture, keys);
    return out;
}

} // namespace pavix::platform
