#pragma once
// The icon cache of the catalogue: two image lists extended in pairs (32 and 16 px), one
// pair per cache key, with the type name kept as the large image's tag. A type's icons (one
// pair per extension) stay for the whole run; an icon file's own pictures stay while the
// current listing uses them and, after that, within a memory budget.

#include "platform/imagelist.h"
#include "platform/shellinfo.h"

#include <QImage>
#include <QString>

#include <cstdint>
#include <map>
#include <set>
#include <vector>

namespace pavix::platform {

class IconCache {
public:
    // Memory the pictures of icon files may keep once no listing uses them, by default.
    static constexpr qint64 DefaultFileIconBudgetBytes = qint64(8) << 20;

    // `fileIconBudgetBytes` <= 0 takes DefaultFileIconBudgetBytes.
    explicit IconCache(ShellInfo &shell, qint64 fileIconBudgetBytes = 0);

    // The position (from 1) of the file's key in both lists; the first file of a key adds
    // the pair of icons (a drawn one where the shell gives none) and its type name, in a
    // position an icon file's pictures left free, or else at the end. A position given out
    // since the last startListing() keeps its pictures until the next one.
    int positionFor(const QString &path);

    // A new listing starts (the list is empty): icon files' pictures that only earlier
    // listings used may now be dropped, oldest use first, to bring the memory they take
    // within the budget; the current listing keeps all of its own, whatever they take.
    void startListing();

    platform::ImageList &large() { return m_large; }
    platform::ImageList &small() { return m_small; }
    const platform::ImageList &large() const { return m_large; }
    const platform::ImageList &small() const { return m_small; }

    // The type name kept for the key at `position`; "" outside the cache.
    QString typeNameAt(int position) const;

    // Counts every change to the lists (a position filled or emptied), so that a caller
    // can tell whether the list showing them must be told.
    std::uint64_t revision() const { return m_revision; }
    // Icon files whose pictures are kept, and the bytes of those pictures (both sizes).
    int fileIconCount() const { return static_cast<int>(m_fileIconsByUse.size()); }
    qint64 fileIconBytes() const { return m_fileIconBytes; }
    qint64 fileIconBudgetBytes() const { return m_fileIconBudgetBytes; }

private:
    struct Slot {
        bool fileIcon = false; // an icon file's own pictures, not a type's
        qint64 bytes = 0;
        std::uint64_t listing = 0; // the listing that used it last
        std::uint64_t lastUse = 0;
    };

    Slot &slotAt(int position) { return m_slots[static_cast<size_t>(position - 1)]; }
    void markUsed(int position);
    // Drops icon files' pictures that the current listing has not used, oldest use first,
    // until `bytes` more fit the budget or none is left to drop.
    void makeRoom(qint64 bytes);

    ShellInfo &m_shell;
    const qint64 m_fileIconBudgetBytes;
    platform::ImageList m_large;
    platform::ImageList m_small;
    std::vector<Slot> m_slots;                     // by position - 1
    std::map<std::uint64_t, int> m_fileIconsByUse; // last use -> position
    std::set<int> m_freePositions;
    qint64 m_fileIconBytes = 0;
    std::uint64_t m_listing = 0;
    std::uint64_t m_uses = 0;
    std::uint64_t m_revision = 0;
};

} // namespace pavix::platform
