#include "thumbcache/thumbnailrules.h"

#include <algorithm>
#include <cmath>

namespace pavix::thumbcache {

namespace {

// A key's value as a whole number; empty when the key is missing or not a whole number.
std::optional<qint64> wholeNumber(const ThumbnailKeys &keys, const QString &key)
{
    const auto found = keys.constFind(key);
    if (found == keys.constEnd())
        return std::nullopt;
    bool ok = false;
    const qint64 value = found.value().toLongLong(&ok);
    if (!ok)
        return std::nullopt;
    return value;
}

} // namespace

int flavourSide(Flavour flavour)
{
    return flavour == Flavour::Large ? 256 : 128;
}

QString flavourFolder(Flavour flavour)
{
    return flavour == Flavour::Large ? QStringLiteral("large") : QStringLiteral("normal");
}

bool describesOriginal(const ThumbnailKeys &keys, const OriginalFile &original)
{
    const auto uri = keys.constFind(UriKey);
    if (uri == keys.constEnd() || uri.value().toUtf8() != original.uri)
        return false;
    const std::optional<qint64> mtime = wholeNumber(keys, MTimeKey);
    if (!mtime || *mtime != original.mtime)
        return false;
    if (keys.contains(SizeKey)) {
        const std::optional<qint64> size = wholeNumber(keys, SizeKey);
        if (!size || *size != original.size)
            return false;
    }
    return true;
}

ThumbnailKeys thumbnailKeys(const OriginalFile &original, const QString &software, const QString &mimeType,
                            QSize originalPx)
{
    ThumbnailKeys keys;
    keys.insert(UriKey, QString::fromLatin1(original.uri));
    keys.insert(MTimeKey, QString::number(original.mtime));
    keys.insert(SizeKey, QString::number(original.size));
    keys.insert(SoftwareKey, software);
    if (!mimeType.isEmpty())
        keys.insert(MimeTypeKey, mimeType);
    if (originalPx.width() > 0 && originalPx.height() > 0) {
        keys.insert(WidthKey, QString::number(originalPx.width()));
        keys.insert(HeightKey, QString::number(originalPx.height()));
    }
    return keys;
}

QSize thumbnailSize(QSize originalPx, int side)
{
    if (originalPx.isEmpty() || side <= 0)
        return QSize();
    const int w = originalPx.width();
    const int h = originalPx.height();
    if (w <= side && h <= side)
        return originalPx;
    // The longer side becomes `side`; the shorter keeps the proportion.
    if (w >= h)
        return QSize(side, int(std::max<qint64>(1, (qint64(h) * side * 2 + w) / (qint64(w) * 2))));
    return QSize(int(std::max<qint64>(1, (qint64(w) * side * 2 + h) / (qint64(h) * 2))), side);
}

bool servesCell(QSize thumbPx, QSize cellPx)
{
    return !cellPx.isEmpty() && thumbPx.width() >= cellPx.width() && thumbPx.height() >= cellPx.height();
}

bool fitsFlavour(QSize thumbPx, Flavour flavour)
{
    const int side = flavourSide(flavour);
    return thumbPx.width() >= 1 && thumbPx.height() >= 1 && thumbPx.width() <= side && thumbPx.height() <= side;
}

std::optional<Flavour> flavourForCell(QSize originalPx, QSize cellPx)
{
    for (const Flavour flavour : Flavours) {
        if (servesCell(thumbnailSize(originalPx, flavourSide(flavour)), cellPx))
            return flavour;
    }
    return std::nullopt;
}

bool worthCaching(const QString &fileName, qint64 fileBytes)
{
    const QString extension = fileName.section(u'.', -1).toLower();
    if (!fileName.contains(u'.'))
        return fileBytes >= qint64(384) * 1024;
    if (extension == QLatin1String("ico") || extension == QLatin1String("cur"))
        return false;
    // Photo formats: little data for many pixels, slow to decode.
    if (extension == QLatin1String("jpg") || extension == QLatin1String("jpeg") || extension == QLatin1String("jpe")
        || extension == QLatin1String("jfif") || extension == QLatin1String("webp") || extension == QLatin1String("tif")
        || extension == QLatin1String("tiff"))
        return fileBytes >= qint64(32) * 1024;
    if (extension == QLatin1String("gif"))
        return fileBytes >= qint64(16) * 1024;
    return fileBytes >= qint64(384) * 1024;
}

qint64 wholeSeconds(qint64 ms)
{
    return ms >= 0 ? ms / 1000 : -((-ms + 999) / 1000);
}

bool settledForCaching(qint64 mtimeMs, qint64 nowMs)
{
    return wholeSeconds(mtimeMs) < wholeSeconds(nowMs);
}

QString thumbnailsFolder(const QString &xdgCacheHome, const QString &home)
{
    QString cache;
    if (xdgCacheHome.startsWith(u'/'))
        cache = xdgCacheHome;
    else if (home.startsWith(u'/'))
        cache = home + QStringLiteral("/.cache");
    else
        return QString();
    while (cache.size() > 1 && cache.endsWith(u'/'))
        cache.chop(1);
    return cache == QStringLiteral("/") ? QStringLiteral("/thumbnails") : cache + QStringLiteral("/thumbnails");
}

QString softwareName(const QString &version)
{
    return QStringLiteral("Pavix ") + version;
}

QString failFolderName(const QString &version)
{
    return QStringLiteral("pavix-") + version;
}

bool isInsideFolder(const QString &path, const QString &folder)
{
    if (folder.isEmpty() || !path.startsWith(folder))
        return false;
    return path.size() == folder.size() || folder.endsWith(u'/') || path.at(folder.size()) == u'/';
}

QString mimeTypeForFormat(const QByteArray &format)
{
    static const QMap<QByteArray, QString> known = {
        {"bmp", QStringLiteral("image/bmp")},   {"gif", QStringLiteral("image/gif")},
        {"jpeg", QStringLiteral("image/jpeg")}, {"png", QStringLiteral("image/png")},
        {"tiff", QStringLiteral("image/tiff")}, {"webp", QStringLiteral("image/webp")},
    };
    return known.value(format.toLower());
}

} // namespace pavix::thumbcache
