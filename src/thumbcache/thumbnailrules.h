#pragma once
// The rules of the desktop's shared thumbnail cache as Pavix follows them: which folder
// holds which size, what a thumbnail file must say about its original to be used, what
// Pavix writes into one, and which files are worth keeping a thumbnail of at all.

#include <QByteArray>
#include <QMap>
#include <QSize>
#include <QString>

#include <array>
#include <optional>

namespace pavix::thumbcache {

// The text keys of a thumbnail file.
inline const QString UriKey = QStringLiteral("Thumb::URI");
inline const QString MTimeKey = QStringLiteral("Thumb::MTime");
inline const QString SizeKey = QStringLiteral("Thumb::Size");
inline const QString MimeTypeKey = QStringLiteral("Thumb::Mimetype");
inline const QString WidthKey = QStringLiteral("Thumb::Image::Width");
inline const QString HeightKey = QStringLiteral("Thumb::Image::Height");
inline const QString SoftwareKey = QStringLiteral("Software");

// A thumbnail file's text keys and their values; a key the file lacks is absent.
using ThumbnailKeys = QMap<QString, QString>;

// The cache's sizes, each in a folder of its own. Lookups go through them in this order.
enum class Flavour { Normal = 0, Large = 1 };
inline constexpr std::array<Flavour, 2> Flavours = {Flavour::Normal, Flavour::Large};

// The side of the square a thumbnail of the flavour fits in, in pixels: 128 or 256.
int flavourSide(Flavour flavour);
// The flavour's folder under the cache: "normal" or "large".
QString flavourFolder(Flavour flavour);

// What a thumbnail has to agree with: the original file as it is now.
struct OriginalFile {
    QByteArray uri;   // its file:// URI
    qint64 mtime = 0; // last change, whole seconds since 1970
    qint64 size = 0;  // length in bytes
};

// True when a thumbnail's keys describe the original as it is now: its URI is the
// original's, its MTime is present and equal to the original's, and its Size, when
// present, equal too. A key that is not a whole number counts as a different value.
bool describesOriginal(const ThumbnailKeys &keys, const OriginalFile &original);

// The keys Pavix writes into a thumbnail of the original: URI, MTime, Size and Software
// always, the MIME type when it is known (not empty), the original's width and height
// when they are known (positive).
ThumbnailKeys thumbnailKeys(const OriginalFile &original, const QString &software, const QString &mimeType,
                            QSize originalPx);

// The size of a thumbnail that fits a square of `side`: the original shrunk keeping its
// aspect, the longer side becoming `side` and the shorter one rounded (at least 1); an
// original that already fits keeps its size. 4000 x 3000 in 128 gives 128 x 96. An empty
// original or side gives an empty size.
QSize thumbnailSize(QSize originalPx, int side);

// True when a thumbnail of thumbPx is at least as large as a cell of cellPx both ways, so
// the cell drawn from it loses nothing against one drawn from the original.
bool servesCell(QSize thumbPx, QSize cellPx);

// True when a thumbnail read from the cache has the size its flavour allows (neither side
// above the flavour's side, neither below 1); anything else is not read.
bool fitsFlavour(QSize thumbPx, Flavour flavour);

// The flavour Pavix stores for a picture of originalPx shown in cells of cellPx: the
// smallest whose thumbnail serves the cell; none when none does (a long panorama, a cell
// larger than 256 pixels).
std::optional<Flavour> flavourForCell(QSize originalPx, QSize cellPx);

// True when a file of fileBytes named fileName is worth a thumbnail in the cache: when
// making its cell from the file costs more than making it from a cached thumbnail (about
// 0.8 ms on one core, bench_thumbcache). That depends on the format, told here by the
// extension: JPEGs, WebPs and TIFFs of 32 KB and more, GIFs of 16 KB and more, bitmaps and anything else
// of 384 KB and more; never an icon or a cursor, whose thumbnails other programs may make
// from another of their pictures.
bool worthCaching(const QString &fileName, qint64 fileBytes);

// True when a file last changed at mtimeMs (milliseconds since 1970) may have its
// thumbnail stored at nowMs: only once its last change lies in an earlier second, since
// MTime keeps whole seconds and a second change within the same second would otherwise
// leave the thumbnail of the first.
bool settledForCaching(qint64 mtimeMs, qint64 nowMs);

// Whole seconds of a time in milliseconds since 1970, rounded down (also before 1970).
qint64 wholeSeconds(qint64 ms);

// The cache's folder: $XDG_CACHE_HOME/thumbnails when that is an absolute path, otherwise
// home/.cache/thumbnails. Empty when neither gives an absolute path.
QString thumbnailsFolder(const QString &xdgCacheHome, const QString &home);

// What Pavix writes as its Software key, "Pavix 3.0" for version "3.0", and its own folder
// under fail/, "pavix-3.0".
QString softwareName(const QString &version);
QString failFolderName(const QString &version);

// True when `path` is `folder` itself or lies anywhere below it; both absolute and clean.
bool isInsideFolder(const QString &path, const QString &folder);

// The MIME type of a picture format the cache keeps thumbnails of, as the picture reader
// names it ("jpeg" gives "image/jpeg"); empty for any other format.
QString mimeTypeForFormat(const QByteArray &format);

} // namespace pavix::thumbcache
