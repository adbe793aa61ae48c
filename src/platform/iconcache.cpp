#include "platform/iconcache.h"


namespace pavix::platform {

IconCache::IconCache(ShellInfo &shell, qint64 fileIconBudgetBytes)
    : m_shell(shell), m_fileIconBudgetBytes(fileIconBudgetBytes > 0 ? fileIconBudgetBytes : DefaultFileIconBudgetBytes)
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

} // namespace pavix::platform
