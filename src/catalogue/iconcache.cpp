#include "catalogue/iconcache.h"

#include <QPainter>
#include <QPainterPath>

namespace pavix::catalogue {

ShellInfo::~ShellInfo() = default;

QString extensionOf(const QString &path)
{
    // Only the file name counts: a "." in a folder name gives no extension.
    const qsizetype slash = path.lastIndexOf(u'/');
    const qsizetype dot = path.lastIndexOf(u'.');
    if (dot < 0 || dot < slash)
        return QString();
    return path.mid(dot + 1).toUpper();
}

QString cacheKey(const QString &path)
{
    const QString extension = extensionOf(path);
    // An extension never holds a ".", an icon file's path always does: the two kinds of
    // key cannot meet.
    if (extension == QLatin1String("ICO"))
        return path;
    return extension;
}

QImage fallbackIcon(int sizePx)
{
    if (sizePx < 1)
        return QImage();
    QImage image(sizePx, sizePx, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);

    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal s = sizePx;
    const qreal left = s * 0.18;
    const qreal right = s * 0.82;
    const qreal top = s * 0.06;
    const qreal bottom = s * 0.94;
    const qreal fold = s * 0.22;

    QPainterPath page;
    page.moveTo(left, top);
    page.lineTo(right - fold, top);
    page.lineTo(right, top + fold);
    page.lineTo(right, bottom);
    page.lineTo(left, bottom);
    page.closeSubpath();
    const qreal pen = qMax<qreal>(1.0, s / 24.0);
    painter.setPen(QPen(QColor(0x60, 0x60, 0x60), pen));
    painter.setBrush(QColor(0xfa, 0xfa, 0xfa));
    painter.drawPath(page);

    QPainterPath corner;
    corner.moveTo(right - fold, top);
    corner.lineTo(right - fold, top + fold);
    corner.lineTo(right, top + fold);
    corner.closeSubpath();
    painter.setBrush(QColor(0xd0, 0xd0, 0xd0));
    painter.drawPath(corner);

    // A small landscape on the page says "picture".
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x3a, 0x7b, 0xd5));
    QPainterPath hill;
    hill.moveTo(left + s * 0.08, bottom - s * 0.1);
    hill.lineTo(left + s * 0.24, bottom - s * 0.36);
    hill.lineTo(left + s * 0.38, bottom - s * 0.18);
    hill.lineTo(left + s * 0.46, bottom - s * 0.26);
    hill.lineTo(right - s * 0.08, bottom - s * 0.1);
    hill.closeSubpath();
    painter.drawPath(hill);
    painter.setBrush(QColor(0xf5, 0xc2, 0x11));
    painter.drawEllipse(QPointF(right - s * 0.2, top + s * 0.42), s * 0.07, s * 0.07);
    painter.end();
    return image;
}

QImage squareIcon(const QImage &picture, int sizePx)
{
    if (picture.isNull() || sizePx < 1)
        return QImage();
    if (picture.width() == sizePx && picture.height() == sizePx)
        return picture;
    const QImage scaled = picture.scaled(sizePx, sizePx, Qt::KeepAspectRatio,
                                         Qt::SmoothTransformation);
    QImage square(sizePx, sizePx, QImage::Format_ARGB32_Premultiplied);
    square.fill(Qt::transparent);
    QPainter painter(&square);
    painter.drawImage((sizePx - scaled.width()) / 2, (sizePx - scaled.height()) / 2, scaled);
    painter.end();
    return square;
}

IconCache::IconCache(ShellInfo &shell, qint64 fileIconBudgetBytes)
    : m_shell(shell)
    , m_fileIconBudgetBytes(fileIconBudgetBytes > 0 ? fileIconBudgetBytes : DefaultFileIconBudgetBytes)
{
}

int IconCache::positionFor(const QString &path)
{
    const QString key = cacheKey(path);
    const int cached = m_large.find(key);
    if (cached > 0) {
        markUsed(cached);
        return cached;
    }

    // Both lists hold the key at the same position; every image gets a picture, a drawn
    // one when the shell has none.
    QImage large = squareIcon(m_shell.icon(path, LargeIconSelector), LargeIconPx);
    if (large.isNull())
        large = fallbackIcon(LargeIconPx);
    const QString typeName = m_shell.typeName(path);
    QImage small = squareIcon(m_shell.icon(path, SmallIconSelector), SmallIconPx);
    if (small.isNull())
        small = fallbackIcon(SmallIconPx);

    Slot slot;
    slot.fileIcon = key != extensionOf(path); // an icon file, keyed by its path
    if (slot.fileIcon) {
        slot.bytes = large.sizeInBytes() + small.sizeInBytes();
        makeRoom(slot.bytes);
    }
    int position = 0;
    if (m_freePositions.empty()) {
        position = m_large.add(key, large);
        m_small.add(key, small);
        m_slots.push_back(slot);
    } else {
        position = *m_freePositions.begin();
        m_freePositions.erase(m_freePositions.begin());
        m_large.replace(position, key, large);
        m_small.replace(position, key, small);
        slotAt(position) = slot;
    }
    m_large.setTag(position, typeName);
    m_fileIconBytes += slot.bytes;
    ++m_revision;
    markUsed(position);
    return position;
}

void IconCache::startListing()
{
    ++m_listing;
    makeRoom(0);
}

void IconCache::markUsed(int position)
{
    Slot &slot = slotAt(position);
    slot.listing = m_listing;
    if (!slot.fileIcon)
        return;
    m_fileIconsByUse.erase(slot.lastUse);
    slot.lastUse = ++m_uses;
    m_fileIconsByUse.emplace(slot.lastUse, position);
}

void IconCache::makeRoom(qint64 bytes)
{
    // Every use in the current listing is later than every use in an earlier one, so the
    // oldest uses are the ones that may go.
    while (m_fileIconBytes + bytes > m_fileIconBudgetBytes && !m_fileIconsByUse.empty()) {
        const int position = m_fileIconsByUse.begin()->second;
        Slot &slot = slotAt(position);
        if (slot.listing == m_listing)
            break;
        m_fileIconsByUse.erase(m_fileIconsByUse.begin());
        m_fileIconBytes -= slot.bytes;
        slot = Slot{};
        m_large.release(position);
        m_small.release(position);
        m_freePositions.insert(position);
        ++m_revision;
    }
}

QString IconCache::typeNameAt(int position) const
{
    return m_large.at(position).tag;
}

} // namespace pavix::catalogue
