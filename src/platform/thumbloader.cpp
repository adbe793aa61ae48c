#include "platform/thumbloader.h"

#include "platform/timedcall.h"

#include <QThread>

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace pavix::platform {

namespace {

using Clock = std::chrono::steady_clock;

// The index of the calling worker in its loader's list, for the decode gate; -1 on any
// other thread.
thread_local int t_workerIndex = -1;

CachedCell makeCellFromFile(const std::shared_ptr<const ThumbnailCache> &cache, const QString &path, QSize cellPx,
                            DecodeScratch &scratch, const DecodeGate *gate, bool mayStore)
{
    if (cache)
        return cache->cell(path, cellPx, scratch, gate, mayStore);
    CachedCell made;
    if (common::Result<QImage> cell = loadThumbnail(path, cellPx, scratch, gate))
        made.cell = std::move(cell.value());
    return made;
}

} // namespace

struct ThumbLoader::Shared {
    struct Worker {
        std::thread thread;
        int cell = -1;           // the cell under way; -1 when idle
        bool timed = false;      // the cell's time runs (not while waiting for memory)
        Clock::time_point since; // when its time began to run
        qint64 gateBytes = 0;    // memory it holds at the decode gate
        bool givenUp = false;    // ran past the time limit; ends as soon as it can
    };

    Shared(QStringList paths_, QSize cellPx_, Options options)
        : paths(std::move(paths_)),
          cellPx(cellPx_),
          unreadable(unreadableCell(cellPx_)),
          lookAhead(options.lookAhead > 0 ? options.lookAhead : DefaultLookAhead),
          budgetBytes(options.decodeBudgetBytes > 0 ? options.decodeBudgetBytes : DefaultDecodeBudgetBytes),
          timeLimit(options.cellTimeLimit.count() > 0 ? options.cellTimeLimit : DefaultCellTimeLimit),
          clock(std::move(options.clock)),
          makeCell(options.makeCell
                       ? std::move(options.makeCell)
                       : CellMaker([cache = std::move(options.cache)](const QString &path, QSize px,
                                                                      DecodeScratch &scratch,
                                                                      const DecodeGate *decodeGate, bool mayStore) {
                             return makeCellFromFile(cache, path, px, scratch, decodeGate, mayStore);
                         })),
          gate{[this](qint64 bytes) { enterDecode(bytes); }, [this](qint64 bytes) { leaveDecode(bytes); }},
          cells(static_cast<size_t>(paths.size())),
          done(static_cast<size_t>(paths.size()), false),
          horizon(lookAhead)
    {
    }

    int count() const { return static_cast<int>(paths.size()); }

    Clock::time_point now() const { return clock ? clock() : Clock::now(); }

    // Waits for a cell to be stored or given up, at most until the next worker under way
    // runs past the time limit. Lock held.
    void waitForCell(std::unique_lock<std::mutex> &lock)
    {
        const Clock::time_point at = now();
        cellDone.wait_for(lock, nextDeadline(at) - at);
    }

    // Starts one more worker; false when the system refuses a thread. Lock held.
    bool startWorker(const std::shared_ptr<Shared> &self)
    {
        const int index = static_cast<int>(workers.size());
        workers.emplace_back();
        try {
            workers.back().thread = std::thread([held = self, index]() mutable {
                const bool leftBehind = held->work(index);
                // Its place among the threads left behind comes free once it holds nothing.
                held.reset();
                if (leftBehind)
                    giveThreadPlaceBack();
            });
        } catch (const std::system_error &) {
            workers.pop_back();
            return false;
        }
        ++live;
        return true;
    }

    // A worker's life; true when it was given up on.
    bool work(int index)
    {
        t_workerIndex = index;
        DecodeScratch scratch; // this worker's buffers, reused from picture to picture
        std::unique_lock lock(mutex);
        for (;;) {
            room.wait(lock, [this, index] {
                return cancelled || workers[size_t(index)].givenUp || next >= count() || next < horizon;
            });
            if (cancelled || workers[size_t(index)].givenUp || next >= count())
                break;
            decodeNext(lock, scratch, index);
            cellDone.notify_all();
        }
        workers[size_t(index)].cell = -1;
        cellDone.notify_all();
        return workers[size_t(index)].givenUp;
    }

    // Decodes the next file in order; lock is held on entry and exit. index is the worker's,
    // or -1 on the caller's thread.
    void decodeNext(std::unique_lock<std::mutex> &lock, DecodeScratch &scratch, int index)
    {
        const int i = next++;
        const QString path = paths.at(i);
        const bool mayStore = storing;
        if (index >= 0) {
            Worker &worker = workers[size_t(index)];
            worker.cell = i;
            worker.timed = true;
            worker.since = now();
        }
        lock.unlock();
        CachedCell made = makeCell(path, cellPx, scratch, &gate, mayStore);
        lock.lock();
        if (index >= 0)
            workers[size_t(index)].cell = -1;
        if (made.storeFailed)
            storing = false;
        if (done[size_t(i)])
            return; // given up while it was under way
        cells[size_t(i)] = made.cell.isNull() ? unreadable : made.cell;
        done[size_t(i)] = true;
        switch (made.source) {
        case CellSource::Decoded:
            ++decodedFiles;
            break;
        case CellSource::Cache:
            ++cachedCells;
            break;
        case CellSource::KnownFailure:
            ++knownFailures;
            break;
        }
    }

    // Gives up the workers whose cell has run past the time limit: each cell becomes the
    // unreadable cell, each worker counts among the process's threads left behind, and
    // another worker takes the place of each while fewer than MaxThreadsLeftBehind are
    // counted (only with replace). Lock held.
    void giveUpOverdue(const std::shared_ptr<Shared> &self, Clock::time_point now, bool replace)
    {
        bool gaveUp = false;
        for (Worker &worker : workers) {
            if (worker.givenUp || worker.cell < 0 || !worker.timed || now - worker.since < timeLimit)
                continue;
            worker.givenUp = true;
            takeThreadPlaceAnyway(); // it runs, whatever the count
            --live;
            stalledBytes += worker.gateBytes;
            const auto cell = size_t(worker.cell);
            if (!done[cell]) {
                cells[cell] = unreadable;
                done[cell] = true;
                ++givenUpCells;
            }
            gaveUp = true;
        }
        if (!gaveUp)
            return;
        // Taken out of the loop: a new worker may move the list.
        while (replace && live < wantedThreads && threadsLeftBehind() < MaxThreadsLeftBehind) {
            if (!startWorker(self))
                break;
        }
        cellDone.notify_all();
        memory.notify_all(); // memory held by the stalled workers no longer holds others back
    }

    // When the next worker under way runs past the time limit; now + limit when none is.
    Clock::time_point nextDeadline(Clock::time_point now) const
    {
        Clock::time_point deadline = now + timeLimit;
        for (const Worker &worker : workers) {
            if (!worker.givenUp && worker.cell >= 0 && worker.timed)
                deadline = std::min(deadline, worker.since + timeLimit);
        }
        return deadline;
    }

    bool anyWorkerBusy() const
    {
        return std::any_of(workers.cbegin(), workers.cend(),
                           [](const Worker &worker) { return !worker.givenUp && worker.cell >= 0; });
    }

    void enterDecode(qint64 bytes)
    {
        std::unique_lock lock(mutex);
        Worker *worker = t_workerIndex >= 0 ? &workers[size_t(t_workerIndex)] : nullptr;
        if (worker)
            worker->timed = false; // waiting for memory is not the file's fault
        // Memory held by workers given up on counts in the peak, but holds no one back:
        // they may never give it back.
        memory.wait(lock, [this, bytes] {
            const qint64 active = decodingBytes - stalledBytes;
            return active == 0 || active + bytes <= budgetBytes;
        });
        decodingBytes += bytes;
        ++decodes;
        if (worker && worker->givenUp)
            stalledBytes += bytes; // given up on before it came here
        peakDecodingBytes = std::max(peakDecodingBytes, decodingBytes - stalledBytes);
        peakDecodes = std::max(peakDecodes, decodes - stalledDecodes());
        if (worker) {
            worker->gateBytes = bytes;
            worker->timed = true;
            worker->since = now();
        }
    }

    void leaveDecode(qint64 bytes)
    {
        {
            std::lock_guard lock(mutex);
            decodingBytes -= bytes;
            --decodes;
            if (t_workerIndex >= 0) {
                Worker &worker = workers[size_t(t_workerIndex)];
                if (worker.givenUp)
                    stalledBytes -= worker.gateBytes;
                worker.gateBytes = 0;
            }
        }
        memory.notify_all();
    }

    int stalledDecodes() const
    {
        return int(std::count_if(workers.cbegin(), workers.cend(),
                                 [](const Worker &worker) { return worker.givenUp && worker.gateBytes > 0; }));
    }

    const QStringList paths;
    const QSize cellPx;
    const QImage unreadable;
    const int lookAhead;
    const qint64 budgetBytes;
    const std::chrono::milliseconds timeLimit;
    const std::function<Clock::time_point()> clock;
    const CellMaker makeCell;
    const DecodeGate gate;

    mutable std::mutex mutex;
    std::condition_variable cellDone; // a cell was stored or given up, a worker ended, or the loader was cancelled
    std::condition_variable room;     // the consumer moved on, or the loader was cancelled
    std::condition_variable memory;   // a full-size decode finished or was given up
    qint64 decodingBytes = 0;         // memory of the decodes under way
    qint64 stalledBytes = 0;          // the part of it held by workers given up on
    int decodes = 0;                  // decodes under way
    qint64 peakDecodingBytes = 0;
    int peakDecodes = 0;
    std::vector<QImage> cells;
    std::vector<bool> done;
    int next = 0;    // the next index a worker takes
    int horizon = 0; // workers start only indices below this
    bool cancelled = false;
    bool refused = false; // made while too many threads were left behind: no worker, no cell
    bool storing = true;  // no store has failed yet
    int decodedFiles = 0;
    int cachedCells = 0;
    int knownFailures = 0;
    int givenUpCells = 0;

    std::deque<Worker> workers; // a deque, so that starting a worker moves no other
    int wantedThreads = 0;      // how many run at once while none has been given up on
    int live = 0;               // workers started and not given up on
};

ThumbLoader::ThumbLoader(QStringList paths, QSize cellPx, int threads, int lookAhead, qint64 decodeBudgetBytes,
                         std::shared_ptr<const ThumbnailCache> cache)
    : ThumbLoader(std::move(paths), cellPx,
                  Options{threads, lookAhead, decodeBudgetBytes, std::move(cache), {}, {}, {}})
{
}

ThumbLoader::ThumbLoader(QStringList paths, QSize cellPx, const Options &options)
    : m_shared(std::make_shared<Shared>(std::move(paths), cellPx, options))
{
    Shared &s = *m_shared;
    int wanted = options.threads > 0 ? options.threads : QThread::idealThreadCount();
    wanted = std::clamp(wanted, 1, MaxThreads);
    wanted = std::min(wanted, s.count());
    std::lock_guard lock(s.mutex);
    s.wantedThreads = wanted;
    // Its workers could be left behind in turn.
    if (s.count() > 0 && threadsLeftBehind() >= MaxThreadsLeftBehind) {
        s.refused = true;
        return;
    }
    // When the system refuses a thread, the ones running do the work, or, with none at all,
    // waitFor decodes on the caller's thread.
    for (int t = 0; t < wanted && s.startWorker(m_shared); ++t) {
    }
}

ThumbLoader::~ThumbLoader()
{
    cancel();
    Shared &s = *m_shared;
    std::vector<std::thread> joined;
    std::vector<std::thread> left;
    {
        std::unique_lock lock(s.mutex);
        // A worker still on a cell finishes it, unless it runs past the time limit.
        while (s.anyWorkerBusy()) {
            s.waitForCell(lock);
            s.giveUpOverdue(m_shared, s.now(), false);
        }
        for (Shared::Worker &worker : s.workers)
            (worker.givenUp ? left : joined).push_back(std::move(worker.thread));
    }
    for (std::thread &thread : joined)
        thread.join();
    // Each holds the shared state until it ends.
    for (std::thread &thread : left)
        thread.detach();
}

int ThumbLoader::count() const
{
    return m_shared->count();
}

int ThumbLoader::threadCount() const
{
    std::lock_guard lock(m_shared->mutex);
    return static_cast<int>(m_shared->workers.size());
}

void ThumbLoader::cancel()
{
    Shared &s = *m_shared;
    {
        std::lock_guard lock(s.mutex);
        s.cancelled = true;
    }
    s.room.notify_all();
    s.cellDone.notify_all();
}

QImage ThumbLoader::waitFor(int i)
{
    return waitUntil(i, nullptr).value_or(QImage());
}

std::optional<QImage> ThumbLoader::waitFor(int i, std::chrono::milliseconds within)
{
    const Clock::time_point deadline = Clock::now() + within;
    return waitUntil(i, &deadline);
}

std::optional<QImage> ThumbLoader::waitUntil(int i, const Clock::time_point *deadline)
{
    Shared &s = *m_shared;
    if (i < 0 || i >= s.count())
        return QImage();
    const auto cell = size_t(i);
    std::unique_lock lock(s.mutex);
    if (i + 1 + s.lookAhead > s.horizon) {
        s.horizon = i + 1 + s.lookAhead;
        s.room.notify_all();
    }
    if (s.workers.empty() && !s.refused) {
        DecodeScratch scratch;
        while (!s.done[cell] && !s.cancelled)
            s.decodeNext(lock, scratch, -1);
    }
    for (;;) {
        // A cell already taken by a worker is finished even after a cancel.
        if (s.done[cell])
            return s.cells[cell];
        if (s.cancelled && i >= s.next)
            return QImage();
        if (i >= s.next && s.live == 0 && (!s.workers.empty() || s.refused)) {
            // Every worker was given up on and no more may start, or none might: no one will
            // take it.
            s.cells[cell] = s.unreadable;
            s.done[cell] = true;
            ++s.givenUpCells;
            return s.cells[cell];
        }
        // The caller's own limit is in real time; the workers' limits on the loader's clock.
        if (deadline && Clock::now() >= *deadline)
            return std::nullopt;
        if (deadline) {
            const Clock::time_point at = s.now();
            s.cellDone.wait_for(lock, std::min(s.nextDeadline(at) - at, *deadline - Clock::now()));
        } else {
            s.waitForCell(lock);
        }
        s.giveUpOverdue(m_shared, s.now(), true);
    }
}

qint64 ThumbLoader::decodeBudgetBytes() const
{
    return m_shared->budgetBytes;
}

qint64 ThumbLoader::peakDecodingBytes() const
{
    std::lock_guard lock(m_shared->mutex);
    return m_shared->peakDecodingBytes;
}

int ThumbLoader::peakDecodes() const
{
    std::lock_guard lock(m_shared->mutex);
    return m_shared->peakDecodes;
}

int ThumbLoader::decodedFiles() const
{
    std::lock_guard lock(m_shared->mutex);
    return m_shared->decodedFiles;
}

int ThumbLoader::cachedCells() const
{
    std::lock_guard lock(m_shared->mutex);
    return m_shared->cachedCells;
}

int ThumbLoader::knownFailures() const
{
    std::lock_guard lock(m_shared->mutex);
    return m_shared->knownFailures;
}

int ThumbLoader::givenUpCells() const
{
    std::lock_guard lock(m_shared->mutex);
    return m_shared->givenUpCells;
}

} // namespace pavix::platform
