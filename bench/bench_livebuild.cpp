// Measures how alive the window stays while the thumbnail grid is built: the longest gap
// between two events handled during a build of many photos (a probe event re-posts itself
// each time it is handled), how soon the first cells are painted, and the build's length.
// Usage: bench_livebuild [FOLDER] (the bench pictures, generated once when missing).
#include "benchdata.h"

#include "browser/browser.h"
#include "foldertree/foldertree.h"
#include "platform/qtshellinfo.h"
#include "platform/settingsstore.h"
#include "shell/mainwindow.h"
#include "shell/startup.h"
#include "thumbs/thumbgrid.h"
#include "thumbs/thumbstrip.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>
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
    const QString folder =
        argc > 1 ? QString::fromLocal8Bit(argv[1])
                 : QDir(QCoreApplication::applicationDirPath() + QStringLiteral("/../bench-data")).absolutePath();
    const std::optional<benchdata::DataSet> data = benchdata::ensureData(folder);
    if (!data)
        return 1;
    // The photos and the bitmaps, linked into a folder of their own (all the bench's
    // pictures pass the grid's row limit in the default window).
    const QString pictures = scratch.path() + QStringLiteral("/pictures");
    QDir().mkpath(pictures);
    for (const QString &path : data->jpegs + data->bmps)
        QFile::link(path, pictures + u'/' + QFileInfo(path).fileName());

    platform::MemorySettingsStore store;
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
    qint64 firstCellNs = -1;
    int cells = 0;
    QObject::connect(m.thumbGrid(), &thumbs::ThumbGrid::cellPlaced, &m, [&](int) {
        if (++cells == 1)
            firstCellNs = clock.nsecsElapsed();
    });
    std::printf("machine: %d cores; %d JPEG %dx%d and %d BMP %dx%d from %s\n", QThread::idealThreadCount(),
                benchdata::JpegCount, benchdata::JpegSize.width(), benchdata::JpegSize.height(), benchdata::BmpCount,
                benchdata::BmpSize.width(), benchdata::BmpSize.height(), qPrintable(folder));
    for (const char *pass : {"decoded", "from the thumbnail cache"}) {
        cells = 0;
        probe.start();
        clock.start();
        if (m.browser().folder() != pictures)
            m.folderTree()->setSelectedFolder(pictures);
        else
            m.run(shell::Command::Refresh);
        const qint64 buildNs = clock.nsecsElapsed();
        probe.stop();
        std::printf("build (%s): %d cells in %.0f ms; first cell after %.1f ms; events handled %d times, "
                    "longest gap %.1f ms\n",
                    pass, cells, buildNs / 1e6, firstCellNs / 1e6, probe.handled(), probe.longestNs() / 1e6);
        std::fflush(stdout);
    }
    return 0;
}
