#pragma once
// The desktop's shared thumbnail cache ($XDG_CACHE_HOME/thumbnails): file managers and
// picture browsers keep one 128-pixel thumbnail of each picture there (256 pixels under
// large/), named after the MD5 of the picture's file:// URI, with the picture's URI,
// modification time and length written into the PNG. A folder whose thumbnails any of them
// made before is shown without decoding its pictures, and the thumbnails Pavix makes are
// there for the others. A file that cannot be read is remembered under fail/pavix-<version>,
// so it is not decoded again until it changes.
//
// The cache only ever saves time: a thumbnail that does not match the file as it is now is
// not used, and a cache that cannot be written costs nothing but the cache. Only regular
// files are read from it, opened without waiting and without following links; a cache
// folder that is a link, or not the user's own closed to everyone else, is not used at all.

#include "platform/pictureservice.h"
#include "thumbcache/thumbnailrules.h"

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QSize>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

namespace pavix::platform {

// Where a thumbnail cell came from.
enum class CellSource {
    Decoded,      // the file itself was read (with or without storing its thumbnail)
    Cache,        // a thumbnail in the cache
    KnownFailure, // the cache remembers that the file, as it is now, cannot be read
};

struct CachedCell {
    QImage cell; // the cell; null when the file cannot be read
    CellSource source = CellSource::Decoded;
    bool storeFailed = false; // a thumbnail or a failure was to be stored and could not be
};

class ThumbnailCache {
public:
    // Which files the cache is used for, from a file's name and length in bytes.
    using WorthRule = std::function<bool(const QString &fileName, qint64 fileBytes)>;

    // A cache in `folder` (the thumbnails folder itself), storing as Pavix `version`, for
    // the files `worth` lets in (any other file is always decoded).
    ThumbnailCache(QString folder, QString version, WorthRule worth = thumbcache::worthCaching);

    // The user's cache: $XDG_CACHE_HOME/thumbnails, or ~/.cache/thumbnails; null when
    // neither names an absolute folder.
    static std::shared_ptr<const ThumbnailCache> forCurrentUser();
    // Pavix's version as it names its failures, "3.0".
    static QString programVersion();

    QString folder() const { return m_folder; }
    // Where the thumbnail of the flavour, and the remembered failure, of a URI are kept.
    QString thumbnailPath(const QByteArray &uri, thumbcache::Flavour flavour) const;
    QString failurePath(const QByteArray &uri) const;

    // The cell of cellPx for the file at path. A file worth caching gets
    // its cell from a valid thumbnail at least as large as the cell (normal/, then large/),
    // or is known as failed; otherwise it is decoded, and with mayStore its thumbnail (or its
    // failure) is stored. Every other file is decoded as loadThumbnail does. Files inside the
    // cache are never looked up nor stored. Safe to call from several threads at once.
    CachedCell cell(const QString &path, QSize cellPx, DecodeScratch &scratch, const DecodeGate *gate,
                    bool mayStore) const;

private:
    struct Original;

    std::optional<Original> describe(const QString &path) const;
    // The cache's folder and each folder below it down to `folder` (inside the cache), in
    // that order; none when `folder` is not inside the cache.
    QList<QByteArray> cacheFoldersDownTo(const QString &folder) const;
    // Whether the cache's folder and each folder below it down to `folder` are the user's
    // own, closed to everyone else and no link; a cache folder that is not is neither read
    // nor written.
    bool mayUseFolder(const QString &folder) const;
    // Makes `folder` (inside the cache) and the folders above it where missing; false when
    // one cannot be made or one of the cache's is not fit to use.
    bool makeFolder(const QString &folder) const;
    // A valid thumbnail of the flavour for the original, and whether Pavix made it.
    std::optional<QImage> readThumbnail(const Original &original, thumbcache::Flavour flavour, bool *ours) const;
    bool remembersFailure(const Original &original, bool *stale) const;
    bool suitsCache(const PictureFacts &facts) const;
    bool unchangedSince(const Original &original) const;
    bool store(const QString &folder, const QString &name, const QImage &image,
               const thumbcache::ThumbnailKeys &keys) const;

    QString m_folder;          // as given, cleaned
    QString m_canonicalFolder; // with links resolved, when it exists
    QString m_software;
    QString m_failFolder;
    WorthRule m_worth;
};

} // namespace pavix::platform
