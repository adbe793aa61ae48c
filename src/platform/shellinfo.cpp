#include "platform/shellinfo.h"

#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QImageReader>
#include <QMimeType>
#include <QPixmap>
#include <QStandardPaths>

#include <algorithm>
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

const QStringList &installedThemes()
{
    static const QStringList themes{QStringLiteral("Adwaita"), QStringLiteral("hicolor")};
    return themes;
}

const QStringList &themeContexts()
{
    static const QStringList contexts{QStringLiteral("mimetypes"), QStringLiteral("legacy")};
    return contexts;
}

// Sizes of a theme's bitmap folders in the order worth trying for `sizePx`: the size
// itself, then larger ones (scaled down), then smaller ones (scaled up).
std::vector<int> themeSizesFor(int sizePx)
{
    static const int known[] = {8, 16, 22, 24, 32, 48, 64, 96, 128, 256, 512};
    std::vector<int> sizes{sizePx};
    for (int size : known) {
        if (size > sizePx)
            sizes.push_back(size);
    }
    for (auto it = std::rbegin(known); it != std::rend(known); ++it) {
        if (*it < sizePx)
            sizes.push_back(*it);
    }
    return sizes;
}

bool declaredSizeAcceptable(const QSize &size)
{
    return size.isValid() && !size.isEmpty() && size.width() <= MaxIconSidePx
        && size.height() <= MaxIconSidePx;
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
    m_iconRoots.append(QDir::homePath() + QStringLiteral("/.icons"));
    m_iconRoots.append(QStandardPaths::locateAll(QStandardPaths::GenericDataLocation,
                                                 QStringLiteral("icons"),
                                                 QStandardPaths::LocateDirectory));
    if (!m_iconRoots.contains(QStringLiteral("/usr/share/icons")))
        m_iconRoots.append(QStringLiteral("/usr/share/icons"));
}

QImage QtShellInfo::icon(const QString &path, int sizeSelector)
{
    const int sizePx = sizeSelector == catalogue::LargeIconSelector ? catalogue::LargeIconPx
                                                                     : catalogue::SmallIconPx;
    if (catalogue::extensionOf(path) == QLatin1String("ICO")) {
        const QImage own = iconFilePicture(path, sizePx);
        if (!own.isNull())
            return own;
    }

    const QMimeType mime = m_mimes.mimeTypeForFile(path, QMimeDatabase::MatchExtension);
    QStringList names{mime.iconName(), mime.genericIconName()};
    names.removeAll(QString());
    for (const QString &name : names) {
        if (QIcon::hasThemeIcon(name)) {
            const QImage image = QIcon::fromTheme(name).pixmap(QSize(sizePx, sizePx), 1.0).toImage();
            if (!image.isNull())
                return catalogue::squareIcon(image, sizePx);
        }
    }
    for (const QString &name : names) {
        const QImage image = installedThemeIcon(name, sizePx);
        if (!image.isNull())
            return image;
    }
    return catalogue::fallbackIcon(sizePx);
}

QString QtShellInfo::typeName(const QString &path)
{
    return m_mimes.mimeTypeForFile(path, QMimeDatabase::MatchExtension).comment();
}

QImage QtShellInfo::installedThemeIcon(const QString &name, int sizePx) const
{
    const QString file = name + QStringLiteral(".png");
    for (const QString &theme : installedThemes()) {
        for (int size : themeSizesFor(sizePx)) {
            const QString folder = QStringLiteral("%1x%1").arg(size);
            for (const QString &root : m_iconRoots) {
                for (const QString &context : themeContexts()) {
                    const QString candidate =
                        QStringList{root, theme, folder, context, file}.join(u'/');
                    if (!QFileInfo::exists(candidate))
                        continue;
                    QImageReader reader(candidate);
                    if (!declaredSizeAcceptable(reader.size()))
                        continue;
                    const QImage image = reader.read();
                    if (!image.isNull())
                        return catalogue::squareIcon(image, sizePx);
                }
            }
        }
    }
    return QImage();
}

QImage QtShellInfo::iconFilePicture(const QString &path, int sizePx)
{
    QImageReader probe(path);
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
        QImageReader reader(path);
        if (entry.index > 0 && !reader.jumpToImage(entry.index))
            continue;
        if (!declaredSizeAcceptable(reader.size()))
            continue;
        const QImage picture = reader.read();
        if (!picture.isNull() && picture.width() <= MaxIconSidePx
            && picture.height() <= MaxIconSidePx)
            return catalogue::squareIcon(picture, sizePx);
    }
    return QImage();
}

} // namespace pavix::platform
