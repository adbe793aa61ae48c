#include "platform/qtshellinfo.h"

#include "common/pngchunks.h"
#include "platform/folderlisting.h"
#include "platform/timedcall.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIcon>
#include <QImageReader>
#include <QMimeType>
#include <QPixmap>
#include <QStandardPaths>
#include <QStringList>

#include <algorithm>
#include <utility>
#include <vector>

namespace pavix::platform {

namespace {

// Icons are small: an entry declared larger than this is not an icon we show, and reading
// it could cost memory out of proportion to the file. Every read checks the declared size
// first; Qt's allocation limit is program-wide (a static setting), set once at start-up,
// and is left alone here.
constexpr int MaxIconSidePx = 1024;
// Entries of one icon file looked at, and entries tried when the best ones fail to decode.
constexpr int MaxIconEntries = 64;
constexpr int MaxDecodeAttempts = 4;
// Largest icon file read for its own pictures; a larger one shows its type's icon.
constexpr qint64 MaxIconFileBytes = qint64(4) << 20;

bool declaredSizeAcceptable(const QSize &size)
{
    return size.isValid() && !size.isEmpty() && size.width() <= MaxIconSidePx && size.height() <= MaxIconSidePx;
}

struct IconEntry {
    int index;
    QSize size;
};

// Entries at least `sizePx` on their shorter side come first, the smallest of them first;
// then the smaller entries, largest first. Equal sizes keep the file's order.
void orderEntriesFor(std::vector<IconEntry> &entries, int sizePx)
{
    std::stable_sort(entries.begin(), entries.end(), [sizePx](const IconEntry &a, const IconEntry &b) {
        const bool aCovers = qMin(a.size.width(), a.size.height()) >= sizePx;
        const bool bCovers = qMin(b.size.width(), b.size.height()) >= sizePx;
        if (aCovers != bCovers)
            return aCovers;
        const qint64 aArea = qint64(a.size.width()) * a.size.height();
        const qint64 bArea = qint64(b.size.width()) * b.size.height();
        return aCovers ? aArea < bArea : aArea > bArea;
    });
}

} // namespace

QtShellInfo::QtShellInfo()
{
    useDesktopIconThemes();
}

void QtShellInfo::useDesktopIconThemes()
{
    QStringList roots{QDir::homePath() + QStringLiteral("/.icons")};
    for (const QString &data : QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation))
        roots.append(data + QStringLiteral("/icons"));
    QStringList paths = QIcon::themeSearchPaths();
    const qsizetype before = paths.size();
    for (const QString &root : std::as_const(roots)) {
        if (!paths.contains(root))
            paths.append(root);
    }
    // Setting the paths drops every icon Qt has looked up, so only a change sets them.
    if (paths.size() != before)
        QIcon::setThemeSearchPaths(paths);

    const auto installed = [&paths](const QString &theme) {
        return std::any_of(paths.cbegin(), paths.cend(), [&theme](const QString &root) {
            return QFileInfo::exists(root + u'/' + theme + QStringLiteral("/index.theme"));
        });
    };
    const QString fallback = installed(QStringLiteral("Adwaita")) ? QStringLiteral("Adwaita")
                                                                  : QStringLiteral("hicolor");
    if (QIcon::fallbackThemeName() != fallback)
        QIcon::setFallbackThemeName(fallback);
    // Qt looks in the fallback theme only after a named theme, so a platform that names
    // none would find no icon at all.
    if (QIcon::themeName().isEmpty())
        QIcon::setThemeName(fallback);
}

QImage QtShellInfo::icon(const QString &path, int sizeSelector)
{
    const int sizePx = sizeSelector == platform::LargeIconSelector ? platform::LargeIconPx : platform::SmallIconPx;
    if (platform::extensionOf(path) == QLatin1String("ICO")) {
        const QImage own = iconFilePicture(path, sizePx);
        if (!own.isNull())
            return own;
    }

    const QMimeType mime = m_mimes.mimeTypeForFile(path, QMimeDatabase::MatchExtension);
    for (const QString &name : {mime.iconName(), mime.genericIconName()}) {
        if (name.isEmpty() || !QIcon::hasThemeIcon(name))
            continue;
        const QImage image = QIcon::fromTheme(name).pixmap(QSize(sizePx, sizePx), 1.0).toImage();
        if (!image.isNull())
            return platform::squareIcon(image, sizePx);
    }
    return platform::fallbackIcon(sizePx);
}

QString QtShellInfo::typeName(const QString &path)
{
    return m_mimes.mimeTypeForFile(path, QMimeDatabase::MatchExtension).comment();
}

QImage QtShellInfo::iconFilePicture(const QString &path, int sizePx, std::chrono::milliseconds limit)
{
    // Its status and bytes are read on a thread of its own: a file on a stalled mount costs
    // the list its own picture, not the interface (asking for its status can stall as
    // surely as reading it).
    std::optional<QByteArray> read = callWithin(limit, [path] {
        // Only a regular file with a length is read, and read whole once: a pipe or a device
        // named like an icon, or a pseudo file of the system (length 0), could block for
        // ever, and a reader given the name would open it anew for every entry.
        const PathStatus status = pathStatus(path);
        if (!status.isFile || status.length <= 0 || status.length > MaxIconFileBytes)
            return QByteArray();
        QFile file;
        return openForReading(path, file) == 0 ? file.read(MaxIconFileBytes) : QByteArray();
    });
    if (!read || read->isEmpty())
        return QImage();
    QByteArray bytes = std::move(*read);
    // A PNG entry whose chunk claims more than the file holds would have the PNG reader set
    // that much memory aside.
    if (!common::pngDataWithinFile(bytes, bytes.size()))
        return QImage();

    QBuffer probeDevice(&bytes);
    probeDevice.open(QIODevice::ReadOnly);
    QImageReader probe(&probeDevice);
    if (!probe.canRead())
        return QImage();

    // Sizes come from the file's directory, before anything is decoded.
    std::vector<IconEntry> entries;
    const int count = qBound(1, probe.imageCount(), MaxIconEntries);
    for (int i = 0; i < count; ++i) {
        if (i > 0 && !probe.jumpToImage(i))
            break;
        const QSize size = probe.size();
        if (declaredSizeAcceptable(size))
            entries.push_back(IconEntry{i, size});
    }
    orderEntriesFor(entries, sizePx);

    int attempts = 0;
    for (const IconEntry &entry : entries) {
        if (++attempts > MaxDecodeAttempts)
            break;
        // A fresh reader per attempt: a failed decode may leave a reader unusable.
        QBuffer device(&bytes);
        device.open(QIODevice::ReadOnly);
        QImageReader reader(&device);
        if (entry.index > 0 && !reader.jumpToImage(entry.index))
            continue;
        if (!declaredSizeAcceptable(reader.size()))
            continue;
        const QImage picture = reader.read();
        if (!picture.isNull() && picture.width() <= MaxIconSidePx && picture.height() <= MaxIconSidePx)
            return platform::squareIcon(picture, sizePx);
    }
    return QImage();
}

} // namespace pavix::platform
