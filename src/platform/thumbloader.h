#pragma once
// Decodes the thumbnail cells of a list of files on a small pool of worker threads, so that
// a grid build uses every core while the interface thread still places the cells one after
// the other in the order of the list. Workers take the files in list order and store each
// cell under its index; the interface thread asks for cell 0, 1, 2 ... and waits only when
// the cell it asks for is not decoded yet, and never longer than a time limit: a file whose
// read stalls (a stalled network mount, a pseudo file) becomes an unreadable cell, another
// worker takes the stalled one's place, and the build goes on. Workers given up on count
// among the process's threads left behind (platform/timedcall.h): another worker takes a
// stuck one's place only while fewer than MaxThreadsLeftBehind are counted, and a loader
// made while that many are counted starts no worker and gives every cell up at once.

#include "platform/pictureservice.h"
#include "platform/thumbnailcache.h"

#include <QImage>
#include <QSize>
#include <QStringList>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>

namespace pavix::platform {

class ThumbLoader {
public:
    // Most worker threads a loader runs at once, whatever the machine reports.
    static constexpr int MaxThreads = 16;
    // How many cells past the last one asked for the workers may decode ahead by default;
    // cells are small (60 x 60 pixels take 14 KB), so this bounds memory, not speed.
    static constexpr int DefaultLookAhead = 128;

    // Memory that full-size decodes on the workers may take at once, in bytes, so that a
    // folder of huge bitmaps on a machine of many cores does not decode them all together.
    // A picture larger than this is still decoded, with no other full-size decode beside it.
    static constexpr qint64 DefaultDecodeBudgetBytes = qint64(256) << 20;

    // How long a worker may spend on one file, not counting its wait for memory at the
    // decode gate, before the cell is given up as unreadable once waitFor asks for it or
    // for a later cell. When no worker is left to take a cell (none may start in place of
    // those given up on), it is given up at once.
    static constexpr std::chrono::milliseconds DefaultCellTimeLimit{5000};

    // Makes the cell of cellPx for one file on a worker; a null cell stands for a file that
    // cannot be read. The default reads the shared thumbnail cache when there is one, and
    // the file otherwise.
    using CellMaker = std::function<CachedCell(const QString &path, QSize cellPx, DecodeScratch &scratch,
                                               const DecodeGate *gate, bool mayStore)>;

    struct Options {
        int threads = 0;              // <= 0: QThread::idealThreadCount()
        int lookAhead = 0;            // <= 0: DefaultLookAhead
        qint64 decodeBudgetBytes = 0; // <= 0: DefaultDecodeBudgetBytes
        std::shared_ptr<const ThumbnailCache> cache;
        std::chrono::milliseconds cellTimeLimit{0}; // <= 0: DefaultCellTimeLimit
        CellMaker makeCell;                         // empty: the default
        // The clock the time limit is read from; empty: the steady clock. Another clock
        // decides when a cell has run past the limit; waits for it are still real ones, no
        // longer than the limit each.
        std::function<std::chrono::steady_clock::time_point()> clock;
    };

    // Starts decoding cells of cellPx for paths at once. The thread count is kept within
    // 1 .. MaxThreads and never above the number of files. With a cache, the workers take
    // cells from the shared thumbnail cache where it has them and store the thumbnails
    // they make; after the first store that fails they store nothing more (a full or
    // read-only cache costs nothing else).
    ThumbLoader(QStringList paths, QSize cellPx, const Options &options);
    ThumbLoader(QStringList paths, QSize cellPx, int threads = 0, int lookAhead = 0, qint64 decodeBudgetBytes = 0,
                std::shared_ptr<const ThumbnailCache> cache = nullptr);
    // Cancels the work still waiting and joins the workers (a decode under way finishes,
    // unless it runs past the time limit); a worker given up on is left to end on its own,
    // and touches nothing of the caller's.
    ~ThumbLoader();

    ThumbLoader(const ThumbLoader &) = delete;
    ThumbLoader &operator=(const ThumbLoader &) = delete;

    int count() const;
    // Worker threads started so far, replacements included (0 for an empty list; when too
    // many threads are left behind, in which case waitFor gives every cell up at once; or
    // when no thread could be started, in which case waitFor decodes on the calling thread,
    // with no time limit).
    int threadCount() const;

    // Cell i, blocking the caller until it is decoded or given up: the picture's cell, or
    // the unreadable cell when the file cannot be read or its worker ran past the time
    // limit. An index out of range gives a null image, and so does a cell that cancel()
    // kept from being decoded.
    QImage waitFor(int i);
    // The same, waiting no longer than `within`: nothing when cell i is not ready by then
    // (a worker's time limit runs on meanwhile), so that the caller can handle its events
    // between two short waits.
    std::optional<QImage> waitFor(int i, std::chrono::milliseconds within);

    // Stops the workers from starting further files; cells already being decoded finish.
    // Returns at once; waitFor still hands out every cell decoded before the stop.
    void cancel();

    // The decode budget in bytes, and the most memory (bytes, as the headers promise it) and
    // the most pictures that full-size decodes took at once so far: the gate's own
    // accounting, for checks and measurements. The peak stays within the budget unless one
    // picture alone is larger than it, and then that picture was decoded alone.
    qint64 decodeBudgetBytes() const;
    qint64 peakDecodingBytes() const;
    int peakDecodes() const;

    // How the cells made so far came about: files read and decoded, cells drawn from a
    // cached thumbnail, files the cache knows cannot be read, cells given up after the
    // time limit. Their sum is the number of cells made.
    int decodedFiles() const;
    int cachedCells() const;
    int knownFailures() const;
    int givenUpCells() const;

private:
    // waitFor up to `deadline` (for ever when it is null).
    std::optional<QImage> waitUntil(int i, const std::chrono::steady_clock::time_point *deadline);

    struct Shared;
    // Everything the workers touch, kept alive by each of them, so that a worker given up
    // on can outlive the loader.
    std::shared_ptr<Shared> m_shared;
};

} // namespace pavix::platform
