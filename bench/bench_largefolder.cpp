// Times starting the main window on a folder of 20,000 small pictures of several kinds, with
// the desktop's real type names and icons, and notes the process's peak memory (VmHWM):
// once in the ordinary window, where the grid says it lacks room, and once in the widest
// window the screen allows, with the file area over nearly all of it and the folder cut to
// the most pictures that grid builds. Prints one line per figure, the median of a few
// starts.
//
// `bench_largefolder --write FOLDER COUNT` only writes COUNT pictures into FOLDER (for
// bench/measure-start.sh, which times the real program under Xvfb).
#include "platform/pictureservice.h"
#include "platform/qtshellinfo.h"
#include "platform/settingsstore.h"
#include "shell/mainwindow.h"
#include "shell/settingskeys.h"
#include "shell/startup.h"
#include "support/boxanswerer.h"
#include "support/processmemory.h"
#include "support/smallpictures.h"
#include "thumbs/gridgeometry.h"
#include "thumbs/thumbgrid.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace pavix;

namespace {

constexpr int FileCount = 20000;
constexpr int Rounds = 3;

std::vector<testsupport::PictureKind> kinds()
{
    QFile gif(QStringLiteral(PAVIX_CORPUS_DIR "/good/treescap-interlaced.gif"));
    return testsupport::smallPictureKinds(gif.open(QIODevice::ReadOnly) ? gif.readAll() : QByteArray());
}

struct Start {
    qint64 ms = 0;
    qint64 peakKib = 0;
    int messages = 0;
    int lastColumn = -1;
};

// Starts the window on `folder` with every picture type on and the window and splitters
// `layout` gives; the window is closed again before returning.
Start startOn(const QString &folder, const QList<std::pair<QLatin1StringView, QString>> &layout)
{
    platform::MemorySettingsStore store;
    for (auto [key, value] :
         {std::pair{"Bitmap", "*.bmp;"}, {"Jpg", "*.jpeg;*.jpg;"}, {"Gif", "*.gif;"}, {"Ico", "*.ico;"}})
        store.write(QStringLiteral("Type"), QLatin1String(key), QLatin1String(value));
    store.write(QString(shell::SectionSettings), QString(shell::KeyFolder), folder);
    for (const auto &[key, value] : layout)
        store.write(QString(shell::SectionSettings), QString(key), value);
    platform::QtShellInfo shellInfo;
    testsupport::BoxAnswerer boxes;
    testsupport::restartPeakResident();
    Start start;
    QElapsedTimer timer;
    timer.start();
    auto main = shell::runStartup({store, shellInfo, folder, {}, {}, {}});
    start.ms = timer.elapsed();
    start.peakKib = testsupport::peakResidentKib();
    start.messages = int(boxes.texts().size());
    start.lastColumn = main->thumbGrid()->lastColumn();
    return start;
}

// The median start of a few, with the largest peak among them.
Start medianStart(const QString &folder, const QList<std::pair<QLatin1StringView, QString>> &layout)
{
    std::vector<Start> starts;
    for (int round = 0; round < Rounds; ++round)
        starts.push_back(startOn(folder, layout));
    std::sort(starts.begin(), starts.end(), [](const Start &a, const Start &b) { return a.ms < b.ms; });
    Start median = starts[starts.size() / 2];
    for (const Start &s : starts)
        median.peakKib = std::max(median.peakKib, s.peakKib);
    return median;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc == 4 && QByteArray(argv[1]) == "--write") {
        QGuiApplication app(argc, argv);
        const QString folder = QString::fromLocal8Bit(argv[2]);
        if (!QDir().mkpath(folder) || !testsupport::writeSmallPictures(folder, QByteArray(argv[3]).toInt(), kinds())) {
            std::fprintf(stderr, "cannot write the pictures into %s\n", argv[2]);
            return 1;
        }
        return 0;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir scratch;
    qputenv("XDG_CACHE_HOME", QFile::encodeName(scratch.filePath(QStringLiteral("cache"))));
    QApplication app(argc, argv);
    platform::configurePictureLimits();

    const QString large = scratch.filePath(QStringLiteral("large"));
    if (!QDir().mkpath(large) || !testsupport::writeSmallPictures(large, FileCount, kinds())) {
        std::fprintf(stderr, "cannot create the test folder\n");
        return 1;
    }
    const Start ordinary = medianStart(large, {});
    std::printf("%d pictures, ordinary window: shown in %lld ms (%d row-limit message), peak memory %lld KiB\n",
                FileCount, ordinary.ms, ordinary.messages, ordinary.peakKib);

    const QList<std::pair<QLatin1StringView, QString>> wide = {
        {shell::KeyMainWidth, QStringLiteral("24000")},
        {shell::KeyMainHeight, QStringLiteral("14000")},
        {shell::KeyTreeSplitterLeft, QStringLiteral("600")},
        {shell::KeyPreviewSplitterLeft, QStringLiteral("23000")}};
    const QString one = scratch.filePath(QStringLiteral("one"));
    QDir().mkpath(one);
    testsupport::writeSmallPictures(one, 1, kinds());
    const int columns = startOn(one, wide).lastColumn + 1;
    const int count = std::min(FileCount, columns * thumbs::RowLimit);
    const QString full = scratch.filePath(QStringLiteral("full"));
    if (columns < 1 || !QDir().mkpath(full) || !testsupport::writeSmallPictures(full, count, kinds())) {
        std::fprintf(stderr, "cannot create the folder for the widest grid\n");
        return 1;
    }
    const Start widest = medianStart(full, wide);
    std::printf(
        "%d pictures in %d columns, widest window: shown with every thumbnail in %lld ms, peak memory %lld KiB\n",
        count, columns, widest.ms, widest.peakKib);
    return ordinary.messages == 1 && widest.messages == 0 ? 0 : 1;
}
