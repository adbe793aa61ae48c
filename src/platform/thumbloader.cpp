#include "platform/thumbloader.h"

#include <QThread>

#include <algorithm>
#include <system_error>

namespace pavix::platform {

ThumbLoader::ThumbLoader(QStringList paths, QSize cellPx, int threads, int lookAhead, qint64 decodeBudgetBytes,
                         std::shared_ptr<const ThumbnailCache> cache)
    : m_paths(std::move(paths))
    , m_cellPx(cellPx)
    , m_unreadable(platform::unreadableCell(cellPx))
    , m_lookAhead(lookAhead > 0 ? lookAhead : DefaultLookAhead)
    , m_decodeBudgetBytes(decodeBudgetBytes > 0 ? decodeBudgetBytes : DefaultDecodeBudgetBytes)
    , m_gate{[this](qint64 bytes) { enterDecode(bytes); }, [this](qint64 bytes) { leaveDecode(bytes); }}
    , m_cache(std::move(cache))
    , m_cells(static_cast<size_t>(m_paths.size()))
    , m_done(static_cast<size_t>(m_paths.size()), false)
    , m_horizon(m_lookAhead)
{
    int wanted = threads > 0 ? threads : QThread::idealThreadCount();
    wanted = std::clamp(wanted, 1, MaxThreads);
    wanted = std::min(wanted, count());
    for (int t = 0; t < wanted; ++t) {
        try {
            m_workers.emplace_back([this] { work(); });
        } catch (const std::system_error &) {
            // The system refused another thread: the ones running do the work, or, with
            // none at all, waitFor decodes on the caller's thread.
            break;
        }
    }
}

ThumbLoader::~ThumbLoader()
{
    cancel();
    for (std::thread &worker : m_workers)
        worker.join();
}

void ThumbLoader::cancel()
{
    {
        std::lock_guard lock(m_mutex);
        m_cancelled = true;
    }
    m_room.notify_all();
    m_cellDone.notify_all();
}

void ThumbLoader::decodeNext(std::unique_lock<std::mutex> &lock, platform::DecodeScratch &scratch)
{
    const int i = m_next++;
    const QString path = m_paths.at(i);
    const bool storing = m_storing;
    lock.unlock();
    CachedCell made;
    if (m_cache) {
        made = m_cache->cell(path, m_cellPx, scratch, &m_gate, storing);
    } else if (common::Result<QImage> cell = platform::loadThumbnail(path, m_cellPx, scratch, &m_gate)) {
        made.cell = std::move(cell.value());
    }
    QImage image = made.cell.isNull() ? m_unreadable : std::move(made.cell);
    lock.lock();
    m_cells[static_cast<size_t>(i)] = std::move(image);
    m_done[static_cast<size_t>(i)] = true;
    if (made.storeFailed)
        m_storing = false;
    switch (made.source) {
    case CellSource::Decoded:
        ++m_decodedFiles;
        break;
    case CellSource::Cache:
        ++m_cachedCells;
        break;
    case CellSource::KnownFailure:
        ++m_knownFailures;
        break;
    }
}

int ThumbLoader::decodedFiles() const
{
    std::lock_guard lock(m_mutex);
    return m_decodedFiles;
}

int ThumbLoader::cachedCells() const
{
    std::lock_guard lock(m_mutex);
    return m_cachedCells;
}

int ThumbLoader::knownFailures() const
{
    std::lock_guard lock(m_mutex);
    return m_knownFailures;
}

void ThumbLoader::enterDecode(qint64 bytes)
{
    std::unique_lock lock(m_mutex);
    m_memory.wait(lock, [this, bytes] { return m_decodingBytes == 0 || m_decodingBytes + bytes <= m_decodeBudgetBytes; });
    m_decodingBytes += bytes;
    ++m_decodes;
    m_peakDecodingBytes = std::max(m_peakDecodingBytes, m_decodingBytes);
    m_peakDecodes = std::max(m_peakDecodes, m_decodes);
}

void ThumbLoader::leaveDecode(qint64 bytes)
{
    {
        std::lock_guard lock(m_mutex);
        m_decodingBytes -= bytes;
        --m_decodes;
    }
    m_memory.notify_all();
}

qint64 ThumbLoader::peakDecodingBytes() const
{
    std::lock_guard lock(m_mutex);
    return m_peakDecodingBytes;
}

int ThumbLoader::peakDecodes() const
{
    std::lock_guard lock(m_mutex);
    return m_peakDecodes;
}

void ThumbLoader::work()
{
    platform::DecodeScratch scratch; // this worker's buffers, reused from picture to picture
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_room.wait(lock, [this] { return m_cancelled || m_next >= count() || m_next < m_horizon; });
        if (m_cancelled || m_next >= count())
            return;
        decodeNext(lock, scratch);
        m_cellDone.notify_all();
    }
}

QImage ThumbLoader::waitFor(int i)
{
    if (i < 0 || i >= count())
        return QImage();
    std::unique_lock lock(m_mutex);
    if (i + 1 + m_lookAhead > m_horizon) {
        m_horizon = i + 1 + m_lookAhead;
        m_room.notify_all();
    }
    if (m_workers.empty()) {
        platform::DecodeScratch scratch;
        while (!m_done[static_cast<size_t>(i)] && !m_cancelled)
            decodeNext(lock, scratch);
    }
    // A cell already taken by a worker is finished even after a cancel.
    m_cellDone.wait(lock, [this, i] { return m_done[static_cast<size_t>(i)] || (m_cancelled && i >= m_next); });
    return m_cells[static_cast<size_t>(i)];
}

} // namespace pavix::platform
