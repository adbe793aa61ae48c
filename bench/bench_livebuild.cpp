// Measures how alive the window stays while the thumbnail grid is built: the longest gap
// between two events handled during a build of many photos (a probe event re-posts itself
// each time it is handled), how soon the first cell and the first screenful (the cells the
// file area of an 18,000 x 12,000-twip window shows) are painted, and the build's length,
// against the same thumbnails made by the loader alone in the same run.
// Usage: bench_livebuild [FOLDER [COUNT]] (the bench pictures, generated once when missing;
// COUNT pictures are linked from them, the photos over and over, default all of them once).
#include "benchdata.h"

#include "browser/browser.h"
#include "common/units.h"
#include "foldertree/foldertree.h"
#include "platform/qtshellinfo.h"
#include "platform/screen.h"
#include "platform/settingsstore.h"
#include "platform/thumbloader.h"
#include "platform/thumbnailcache.h"
#include "shell/mainwindow.h"
#include "shell/settingskeys.h"
#include "shell/startup.h"
#include "thumbs/gridgeometry.h"
#include "thumbs/thumbgrid.h"
#include "thumbs/thumbstrip.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

using namespace pavix;

namespace {

// Re-posts itself each time it is handled and notes the time between two handlings.
class Probe : public QObject {
public:
    explicit Probe(QEvent::Type type) : m_type(type) {}
    void start()
    {
        m_clock.start();
        m_last = 0;
        m_longest = 0;
        m_handled = 0;
        m_running = true;
        QCoreApplication::postEvent(this, new QEvent(m_type));
    }
    void stop()
    {
        m_longest = std::max(m_longest, m_clock.nsecsElapsed() - m_last);
        m_running = false;
    }
    qint64 longestNs() const { return m_longest; }
    int handled() const { return m_handled; }

protected:
    void customEvent(QEvent *event) override
    {
        if (event->type() != m_type || !m_running)
            return;
        const qint64 now = m_clock.nsecsElapsed();
        m_longest = std::max(m_longest, now - m_last);
        m_last = now;
        ++m_handled;
        QCoreApplication::postEvent(this, new QEvent(m_type));
    }

private:
    QEvent::Type m_type;
    QElapsedTimer m_clock;
    qint64 m_last = 0;
    qint64 m_longest = 0;
    int m_handled = 0;
    bool m_running = false;
};

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir scratch;
    // A cache of its own: the first build decodes every file, the second reads the cache.
    qputenv("XDG_CACHE_HOME", (scratch.path() + QStringLiteral("/cache")).toLocal8Bit());
    QApplication app(argc, argv);
    const QString folder = QDir(argc > 1 ? QString::fromLocal8Bit(argv[1])
                                         : QCoreApplication::applicationDirPath() + QStringLiteral("/../bench-data"))
                               .absolutePath();
    const std::optional<benchdata::DataSet> data = benchdata::ensureData(folder);
    if (!data)
        return 1;
    // The photos and the bitmaps, linked into a folder of their own (all the bench's
    // pictures pass the grid's row limit in the default window); for a larger COUNT the
    // photos are linked again under other names until there are COUNT.
    const QString pictures = scratch.path() + QStringLiteral("/pictures");
    QDir().mkpath(pictures);
    const QStringList sources = data->jpegs + data->bmps;
    const int count = argc > 2 ? std::max(1, QString::fromLocal8Bit(argv[2]).toInt()) : int(sources.size());
    QStringList paths;
    for (int i = 0; i < count; ++i) {
        const QString &source = i < sources.size() ? sources[i] : data->jpegs[i % data->jpegs.size()];
        paths << QStringLiteral("%1/%2-%3").arg(pictures).arg(i, 5, 10, QChar(u'0')).arg(QFileInfo(source).fileName());
        QFile::link(source, paths.back());
    }

    // The same thumbnails made by the loader alone, into a cache of their own: the grid's
    // work without the grid.
    {
        const int cellPx = common::twipsToPixels(thumbs::ThumbSize, platform::screenTwipsPerPixel());
        auto cache = std::make_shared<platform::ThumbnailCache>(scratch.path() + QStringLiteral("/alone"),
                                                                QStringLiteral("bench"));
        QElapsedTimer clock;
        clock.start();
        platform::ThumbLoader loader(paths, QSize(cellPx, cellPx), 0, 0, 0, cache);
        for (int i = 0; i < count; ++i)
            loader.waitFor(i);
        std::printf("loader alone: %d thumbnails in %.0f ms\n", count, clock.nsecsElapsed() / 1e6);
        std::fflush(stdout);
    }

    platform::MemorySettingsStore store;
    // The window of the figures: 18,000 x 12,000 twips.
    store.write(shell::SectionSettings, shell::KeyMainWidth, QStringLiteral("18000"));
    store.write(shell::SectionSettings, shell::KeyMainHeight, QStringLiteral("12000"));
    // The preview at the right, so that the file area takes 1,000 photos within the grid's
    // row limit.
    store.write(shell::SectionSettings, shell::KeyPreviewSplitterLeft, QStringLiteral("14000"));
    platform::QtShellInfo shellInfo;
    // Started on an empty folder; the first pass picks the pictures' folder in the tree.
    const QString empty = scratch.path() + QStringLiteral("/empty");
    QDir().mkpath(empty);
    std::unique_ptr<shell::MainWindow> main = shell::runStartup({.settings = store,
                                                                 .shellInfo = shellInfo,
                                                                 .homeFolder = empty,
                                                                 .status = {},
                                                                 .startFolder = empty,
                                                                 .startPicture = {}});
    shell::MainWindow &m = *main;
    m.run(shell::Command::ViewThumbnails);

    const QEvent::Type probeType = static_cast<QEvent::Type>(QEvent::registerEventType());
    Probe probe(probeType);
    QElapsedTimer clock;
    std::vector<qint64> placedNs;
    QObject::connect(m.thumbGrid(), &thumbs::ThumbGrid::cellPlaced, &m,
                     [&](int) { placedNs.push_back(clock.nsecsElapsed()); });
    // The cells the file area shows at the top of the grid.
    auto screenful = [&m] {
        const thumbs::ThumbStrip &strip = *m.thumbStrip();
        const QRect shown = strip.parentWidget()->rect();
        int cells = 0;
        while (cells < strip.elementCount() && strip.elementRect(cells).translated(strip.pos()).intersects(shown))
            ++cells;
        return cells;
    };
    std::printf("machine: %d cores; %d JPEG %dx%d and %d BMP %dx%d from %s\n", QThread::idealThreadCount(),
                benchdata::JpegCount, benchdata::JpegSize.width(), benchdata::JpegSize.height(), benchdata::BmpCount,
                benchdata::BmpSize.width(), benchdata::BmpSize.height(), qPrintable(folder));
    for (const char *pass : {"decoded", "from the thumbnail cache"}) {
        placedNs.clear();
        probe.start();
        clock.start();
        if (m.browser().folder() != pictures)
            m.folderTree()->setSelectedFolder(pictures);
        else
            m.run(shell::Command::Refresh);
        const qint64 buildNs = clock.nsecsElapsed();
        probe.stop();
        const int cells = int(placedNs.size());
        const int shown = std::min(screenful(), cells);
        std::printf("build (%s): %d cells in %.0f ms; first cell after %.1f ms, first screenful (%d cells) "
                    "after %.1f ms; events handled %d times, longest gap %.1f ms\n",
                    pass, cells, buildNs / 1e6, cells ? placedNs.front() / 1e6 : -1.0, shown,
                    shown ? placedNs[shown - 1] / 1e6 : -1.0, probe.handled(), probe.longestNs() / 1e6);
        std::fflush(stdout);
    }
    return 0;
}
