#pragma once
// Decodes the thumbnail cells of a list of files on a small pool of worker threads, so that
// a grid build uses every core while the interface thread still places the cells one after
// the other in the order of the list. Workers take the files in list order and store each
// cell under its index; the interface thread asks for cell 0, 1, 2 ... and waits only when
// the cell it asks for is not decoded yet.

#include "platform/pictureservice.h"
#include "platform/thumbnailcache.h"

#include <QImage>
#include <QSize>
#include <QStringList>

#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace pavix::platform {

class ThumbLoader {
public:
    // Most worker threads a loader starts, whatever the machine reports.
    static constexpr int MaxThreads = 16;
    // How many cells past the last one asked for the workers may decode ahead by default;
    // cells are small (60 x 60 pixels take 14 KB), so this bounds memory, not speed.
    static constexpr int DefaultLookAhead = 128;

    // Memory that full-size decodes on the workers may take at once, in bytes, so that a
    // folder of huge bitmaps on a machine of many cores does not decode them all together.
    // A picture larger than this is still decoded, with no other full-size decode beside it.
    static constexpr qint64 DefaultDecodeBudgetBytes = qint64(256) << 20;

    // Starts decoding cells of cellPx for paths at once. threads <= 0 takes
    // QThread::idealThreadCount(); the count is kept within 1 .. MaxThreads and never above
    // the number of files. lookAhead <= 0 takes DefaultLookAhead, decodeBudgetBytes <= 0
    // DefaultDecodeBudgetBytes. With a cache, the workers take cells from the shared
    // thumbnail cache where it has them and store the thumbnails they make; after the first
    // store that fails they store nothing more (a full or read-only cache costs nothing
    // else).
    ThumbLoader(QStringList paths, QSize cellPx, int threads = 0, int lookAhead = 0, qint64 decodeBudgetBytes = 0,
                std::shared_ptr<const ThumbnailCache> cache = nullptr);
    // Cancels the work still waiting and joins the workers (a decode under way finishes).
    ~ThumbLoader();

    ThumbLoader(const ThumbLoader &) = delete;
    ThumbLoader &operator=(const ThumbLoader &) = delete;

    int count() const { return static_cast<int>(m_paths.size()); }
    // Worker threads started (0 for an empty list, or when no thread could be started, in
    // which case waitFor decodes on the calling thread).
    int threadCount() const { return static_cast<int>(m_workers.size()); }

    // Cell i, blocking the caller until it is decoded: the picture's cell, or the
    // unreadable cell when the file cannot be read. An index out of range gives a null
    // image, and so does a cell that cancel() kept from being decoded.
    QImage waitFor(int i);

    // Stops the workers from starting further files; cells already being decoded finish.
    // Returns at once; waitFor still hands out every cell decoded before the stop.
    void cancel();

    // The decode budget in bytes, and the most memory (bytes, as the headers promise it) and
    // the most pictures that full-size decodes took at once so far: the gate's own
    // accounting, for tests and measurements. The peak stays within the budget unless one
    // picture alone is larger than it, and then that picture was decoded alone.
    qint64 decodeBudgetBytes() const { return m_decodeBudgetBytes; }
    qint64 peakDecodingBytes() const;
    int peakDecodes() const;

    // How the cells made so far came about: files read and decoded, cells drawn from a
    // cached thumbnail, files the cache knows cannot be read. Their sum is the number of
    // cells made.
    int decodedFiles() const;
    int cachedCells() const;
    int knownFailures() const;

private:
    void work();
    // Decodes the next file in order on the calling thread; lock is held on entry and exit.
    void decodeNext(std::unique_lock<std::mutex> &lock, platform::DecodeScratch &scratch);

    // Called by the picture service around a full-size decode; may block in enter.
    void enterDecode(qint64 bytes);
    void leaveDecode(qint64 bytes);

    const QStringList m_paths;
    const QSize m_cellPx;
    const QImage m_unreadable;
    const int m_lookAhead;
    const qint64 m_decodeBudgetBytes;
    const platform::DecodeGate m_gate;
    const std::shared_ptr<const ThumbnailCache> m_cache;

    mutable std::mutex m_mutex;
    std::condition_variable m_cellDone; // a cell was stored, or the loader was cancelled
    std::condition_variable m_room;     // the consumer moved on, or the loader was cancelled
    std::condition_variable m_memory;   // a full-size decode finished
    qint64 m_decodingBytes = 0;         // memory of the full-size decodes under way
    int m_decodes = 0;                  // full-size decodes under way
    qint64 m_peakDecodingBytes = 0;
    int m_peakDecodes = 0;
    std::vector<QImage> m_cells;
    std::vector<bool> m_done;
    int m_next = 0;    // the next index a worker takes
    int m_horizon = 0; // workers start only indices below this
    bool m_cancelled = false;
    bool m_storing = true; // no store has failed yet
    int m_decodedFiles = 0;
    int m_cachedCells = 0;
    int m_knownFailures = 0;

    std::vector<std::thread> m_workers;
};

} // namespace pavix::platform
