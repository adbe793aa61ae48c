// A folder that changes under the program: pictures deleted or cut short by another
// program while the thumbnail grid is being built, and the listed folder itself deleted.
// Nothing crashes or hangs, the user is told what cannot be read, and a refresh shows the
// folder as it is now.
#include "support/boxanswerer.h"
#include "support/fakedesktop.h"
#include "support/mainfixture.h"
#include "support/mainparts.h"

#include "browser/browser.h"
#include "foldertree/foldertree.h"
#include "foldertree/foldertreemodel.h"
#include "listview/qtlistview.h"
#include "platform/pictureservice.h"
#include "platform/thumbnailcache.h"
#include "preview/stretchimage.h"
#include "shell/listcommands.h"
#include "shell/settingskeys.h"
#include "shell/statuswindow.h"
#include "thumbcache/fileuri.h"
#include "thumbcache/thumbnailrules.h"
#include "thumbs/thumbgrid.h"
#include "thumbs/thumbstrip.h"
#include "wallpaper/wallpapercommand.h"
#include "wallpaper/wallpapermessages.h"

#include <QElapsedTimer>
#include <QFileSystemModel>
#include <QLabel>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTest>

#include <algorithm>
#include <condition_variable>
#include <cstdio>
#include <functional>
#include <mutex>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

using namespace pavix;
using testsupport::MainFixture;

namespace {

constexpr int PictureCount = 120;
constexpr qint64 BuildBoundMs = 120'000;

// Picture i's colour, far enough from every other's to be told apart in a cell.
QColor colourOf(int i)
{
    return QColor::fromHsv((i * 37) % 360, 200, 80 + (i * 53) % 170);
}

QString pictureName(int i)
{
    return QStringLiteral("p%1.bmp").arg(i, 3, 10, QLatin1Char('0'));
}

// Puts the file's modification an hour back, so that the shared thumbnail cache takes it as
// settled and stores its thumbnail.
void ageFile(const QString &path)
{
    const QDateTime before = QDateTime::currentDateTime().addSecs(-3600);
    const timeval times[2] = {{before.toSecsSinceEpoch(), 0}, {before.toSecsSinceEpoch(), 0}};
    ASSERT_EQ(::utimes(QFile::encodeName(path).constData(), times), 0) << qPrintable(path);
}

// True when the colours differ by at most `tolerance` in each channel.
bool near(QColor a, QColor b, int tolerance = 24)
{
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance
           && std::abs(a.blue() - b.blue()) <= tolerance;
}

QColor middleOf(const QImage &cell)
{
    return cell.pixelColor(cell.width() / 2, cell.height() / 2);
}

QString statusText(const shell::MainWindow &m)
{
    return m.statusWindow() ? m.statusWindow()->shownText() : QStringLiteral("<no status line>");
}

// Every cell of the grid shows its file as the file is now: the cell for a file that cannot
// be read; a whole picture's colour for one left alone (`whole` gives picture i's number, or
// -1 for a file that was changed).
void expectGridAgreesWithTheFiles(shell::MainWindow &m, const QString &folder,
                                  const std::function<int(const QString &)> &whole)
{
    const QStringList names = m.browser().files().names();
    ASSERT_EQ(m.thumbStrip()->elementCount(), names.size());
    const QSize cellPx = m.thumbStrip()->elementPicture(0).size();
    const QImage unreadable = platform::unreadableCell(cellPx);
    for (int i = 0; i < names.size(); ++i) {
        const QImage cell = m.thumbStrip()->elementPicture(i);
        const bool readable = platform::loadPicture(folder + u'/' + names.at(i)).ok();
        EXPECT_TRUE(m.thumbStrip()->elementVisible(i)) << qPrintable(names.at(i));
        EXPECT_EQ(cell == unreadable, !readable) << qPrintable(names.at(i));
        if (const int picture = whole(names.at(i)); picture >= 0) {
            EXPECT_TRUE(near(middleOf(cell), colourOf(picture))) << qPrintable(names.at(i));
        }
    }
}

} // namespace

TEST(ChangingFolder, PicturesDeletedOrCutShortWhileTheGridIsBuilt)
{
    testsupport::BoxAnswerer boxes;
    MainFixture f;
    const QString folder = f.scratch.makeFolder(QStringLiteral("changing"));
    // Bitmaps large enough for the shared thumbnail cache, and one larger than the program
    // reads into memory in one go, which is decoded from the file as it is read.
    for (int i = 0; i < PictureCount; ++i) {
        QImage picture(400, 400, QImage::Format_RGB888);
        picture.fill(colourOf(i));
        ASSERT_TRUE(picture.save(folder + u'/' + pictureName(i), "bmp"));
        ageFile(folder + u'/' + pictureName(i));
    }
    const QString huge = folder + QStringLiteral("/huge.bmp");
    {
        QImage picture(3400, 3400, QImage::Format_RGB888);
        picture.fill(colourOf(PictureCount));
        ASSERT_TRUE(picture.save(huge, "bmp"));
        ASSERT_GT(QFileInfo(huge).size(), platform::WholeFileBytes);
    }

    f.start();
    shell::MainWindow &m = *f.main;
    if (!m.statusWindow())
        m.toggleStatusBar();

    // Once the build has begun, another program deletes every third picture and cuts the
    // next ones short (to nothing, or to half), last first, while the grid works forwards.
    enum class Change { None, Deleted, Emptied, Halved };
    std::vector<Change> changes(PictureCount, Change::None);
    // The other program starts once the grid has placed its first cell (or, should that
    // never come, once the scan is over, and the test fails).
    struct {
        std::mutex mutex;
        std::condition_variable changed;
        bool building = false;
        bool scanned = false;
    } progress;
    QObject::connect(m.progressBar(), &QProgressBar::valueChanged, [&progress](int value) {
        if (value <= 0)
            return;
        {
            std::lock_guard lock(progress.mutex);
            progress.building = true;
        }
        progress.changed.notify_all();
    });
    std::thread other([&] {
        {
            std::unique_lock lock(progress.mutex);
            progress.changed.wait(lock, [&] { return progress.building || progress.scanned; });
        }
        QFile::resize(huge, QFileInfo(huge).size() / 2);
        for (int i = PictureCount - 1; i >= 0; --i) {
            const QString path = folder + u'/' + pictureName(i);
            if (i % 3 == 0) {
                QFile::remove(path);
                changes[size_t(i)] = Change::Deleted;
            } else if (i % 3 == 1) {
                const bool empty = i % 2 == 0;
                QFile::resize(path, empty ? 0 : QFileInfo(path).size() / 2);
                changes[size_t(i)] = empty ? Change::Emptied : Change::Halved;
            }
        }
    });
    QElapsedTimer timer;
    timer.start();
    m.folderTree()->setSelectedFolder(folder);
    const qint64 ms = timer.elapsed();
    {
        std::lock_guard lock(progress.mutex);
        progress.scanned = true;
    }
    progress.changed.notify_all();
    other.join();
    EXPECT_LT(ms, BuildBoundMs);
    ASSERT_TRUE(progress.building);

    // The grid was built for the folder as listed: a cell for each file, the picture for
    // each file left alone.
    ASSERT_EQ(m.list()->count(), PictureCount + 1);
    ASSERT_EQ(m.thumbStrip()->elementCount(), PictureCount + 1);
    const QImage unreadable = platform::unreadableCell(m.thumbStrip()->elementPicture(0).size());
    int changedInTime = 0;
    for (int i = 0; i < PictureCount; ++i) {
        const int cell = int(m.browser().files().names().indexOf(pictureName(i)));
        const QImage picture = m.thumbStrip()->elementPicture(cell);
        ASSERT_FALSE(picture.isNull()) << i;
        EXPECT_TRUE(m.thumbStrip()->elementVisible(cell)) << i;
        if (changes[size_t(i)] == Change::None)
            EXPECT_TRUE(near(middleOf(picture), colourOf(i))) << i;
        else if (picture == unreadable)
            ++changedInTime;
    }
    std::printf("[ figures  ] %d of %d changes came before their picture was read; built in %lld ms\n", changedInTime,
                PictureCount * 2 / 3, ms);

    // Selecting each says what happened to it; the picture of each file left alone shows.
    for (int i = 0; i < PictureCount; ++i) {
        const int item = m.list()->findItem(pictureName(i));
        m.list()->setSelectedItem(item);
        emit m.list()->itemClick(item);
        switch (changes[size_t(i)]) {
        case Change::None:
            EXPECT_FALSE(m.browser().picture().isNull()) << i;
            break;
        case Change::Deleted:
            EXPECT_TRUE(m.browser().picture().isNull()) << i;
            EXPECT_TRUE(statusText(m).contains(QStringLiteral("the file does not exist"))) << qPrintable(statusText(m));
            break;
        case Change::Emptied:
            EXPECT_TRUE(m.browser().picture().isNull()) << i;
            EXPECT_TRUE(statusText(m).contains(QStringLiteral("the file is empty"))) << qPrintable(statusText(m));
            break;
        case Change::Halved:
            // Half a bitmap is shown in part or refused, as the decoder decides.
            break;
        }
    }
    m.thumbGrid()->selectThumb(0);

    // A refresh lists the folder as it is now, and the cells agree with the files; once
    // more, with cells from the shared thumbnail cache.
    for (int round = 0; round < 2; ++round) {
        testsupport::item(m, QStringLiteral("refreshItem"))->trigger();
        EXPECT_EQ(m.list()->count(), PictureCount + 1 - PictureCount / 3);
        EXPECT_EQ(m.imagesLabel()->text(), QStringLiteral("Images : %1").arg(PictureCount + 1 - PictureCount / 3));
        expectGridAgreesWithTheFiles(m, folder, [&changes](const QString &name) {
            const int i = name.mid(1, 3).toInt();
            return name.startsWith(u'p') && changes[size_t(i)] == Change::None ? i : -1;
        });
    }
}

TEST(ChangingFolder, TheListTheCountAndTheGridComeFromOneListing)
{
    testsupport::BoxAnswerer boxes;
    MainFixture f;
    // A folder whose path is nearly as long as a path may be (4096 bytes): a file in it with
    // a long name is listed by the folder, but its whole path is too long for the system to
    // tell anything about it.
    QByteArray path = QFile::encodeName(f.scratch.makeFolder(QStringLiteral("deep")));
    while (path.size() < 3900) {
        path += '/' + QByteArray(std::min<qsizetype>(200, 3900 - path.size()), 'd');
        ASSERT_EQ(::mkdir(path.constData(), 0755), 0);
    }
    const QString folder = QFile::decodeName(path);
    const QString source = testsupport::corpusPath(QStringLiteral("good/hopper.bmp"));
    for (int i = 0; i < 9; ++i)
        ASSERT_TRUE(QFile::copy(source, folder + u'/' + pictureName(i)));
    const QByteArray longName = "p004" + QByteArray(200, 'x') + ".bmp"; // after p004.bmp
    {
        const int folderFd = ::open(path.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        ASSERT_GE(folderFd, 0);
        const int fd = ::openat(folderFd, longName.constData(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
        ::close(folderFd);
        ASSERT_GE(fd, 0);
        ::close(fd);
        struct stat info {};
        ASSERT_NE(::stat((path + '/' + longName).constData(), &info), 0);
    }

    f.start(folder);
    shell::MainWindow &m = *f.main;
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round == 0 ? "tree scan" : "refresh");
        const QStringList names = m.browser().files().names();
        ASSERT_EQ(names.size(), 10);
        EXPECT_EQ(names.at(5), QFile::decodeName(longName));
        EXPECT_EQ(m.imagesLabel()->text(), QStringLiteral("Images : 10"));
        ASSERT_EQ(m.list()->count(), 10);
        for (int i = 0; i < names.size(); ++i)
            EXPECT_EQ(m.list()->itemText(i + 1), names.at(i)) << i;
        ASSERT_EQ(m.thumbStrip()->elementCount(), 10);
        const QImage unreadable = platform::unreadableCell(m.thumbStrip()->elementPicture(0).size());
        for (int i = 0; i < names.size(); ++i)
            EXPECT_EQ(m.thumbStrip()->elementPicture(i) == unreadable, i == 5) << i;
        testsupport::item(m, QStringLiteral("refreshItem"))->trigger();
    }
}

TEST(ChangingFolder, AListedFolderDeletedStaysUntilTheUserMovesOn)
{
    testsupport::BoxAnswerer boxes;
    MainFixture f;
    const QString parent = f.scratch.makeFolder(QStringLiteral("parent"));
    f.folderOfCopies(QStringLiteral("parent/a"), QStringLiteral("good/hopper.bmp"), 2);
    const QString listed = f.folderOfCopies(QStringLiteral("parent/b"), QStringLiteral("good/hopper.bmp"), 3);
    const QString next = f.folderOfCopies(QStringLiteral("parent/c"), QStringLiteral("good/hopper.jpg"), 4);
    f.start(listed);
    shell::MainWindow &m = *f.main;
    if (!m.statusWindow())
        m.toggleStatusBar();
    auto *model = qobject_cast<foldertree::FolderTreeModel *>(m.folderTree()->model());
    ASSERT_NE(model, nullptr);
    // The tree has read the parent folder and shows the listed one.
    ASSERT_TRUE(QTest::qWaitFor([&] { return m.folderTree()->currentIndex() == model->indexOf(listed); }, 5000));
    m.list()->setSelectedItem(1);
    emit m.list()->itemClick(1);
    ASSERT_FALSE(m.browser().picture().isNull());

    // Another program deletes the folder; the tree notices while the window waits for events,
    // reading the folder that held it again, and is done once it has read it whole.
    auto *folders = m.folderTree()->findChild<QFileSystemModel *>();
    ASSERT_NE(folders, nullptr);
    QSignalSpy read(folders, &QFileSystemModel::directoryLoaded);
    ASSERT_TRUE(QDir(listed).removeRecursively());
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            return !model->indexOf(listed).isValid()
                   && std::any_of(read.cbegin(), read.cend(),
                                  [&](const QList<QVariant> &args) { return args.at(0) == parent; });
        },
        5000));
    QCoreApplication::processEvents();

    // The program does not move to another folder by itself: the list stays as it was, and
    // the next folder is not listed nor remembered.
    EXPECT_EQ(m.browser().folder(), listed);
    EXPECT_EQ(m.folderTree()->selectedFolder(), listed);
    EXPECT_EQ(f.store.read(QString(shell::SectionSettings), QString(shell::KeyFolder)), listed);
    EXPECT_EQ(m.list()->count(), 3);

    // Selecting a file of it, in the list or the grid, says it is gone; nothing can be the
    // wallpaper; every view shows the same entries.
    for (int mode = 0; mode < 5; ++mode) {
        testsupport::viewModeItem(m, mode)->trigger();
        m.list()->setSelectedItem(2);
        emit m.list()->itemClick(2);
        EXPECT_TRUE(m.browser().picture().isNull()) << mode;
        EXPECT_TRUE(statusText(m).contains(QStringLiteral("the file does not exist"))) << qPrintable(statusText(m));
        m.thumbGrid()->selectThumb(0);
        EXPECT_TRUE(m.browser().picture().isNull()) << mode;
        EXPECT_EQ(m.list()->count(), 3) << mode;
        m.listCommands()->arrangeBy(1);
    }
    boxes.clear();
    m.setWallpaper();
    EXPECT_EQ(boxes.texts(), QStringList{wallpaper::nothingSelectedMessage()});

    // A refresh finds the folder gone: nothing listed, and the status line says so.
    testsupport::item(m, QStringLiteral("refreshItem"))->trigger();
    EXPECT_EQ(m.list()->count(), 0);
    EXPECT_EQ(m.imagesLabel()->text(), QStringLiteral("Images : "));
    EXPECT_FALSE(m.thumbStrip()->elementVisible(0));
    EXPECT_EQ(statusText(m), QStringLiteral("The folder %1 cannot be read: no such file or directory.").arg(listed));
    for (int mode = 0; mode < 5; ++mode) {
        testsupport::viewModeItem(m, mode)->trigger();
        EXPECT_EQ(m.list()->count(), 0) << mode;
    }

    // Picking another folder lists it.
    m.folderTree()->setSelectedFolder(next);
    EXPECT_EQ(m.list()->count(), 4);
    EXPECT_EQ(m.browser().folder(), next);
    EXPECT_TRUE(QFileInfo(parent).isDir());
}

TEST(ChangingFolder, APictureCutShortShowsNothingOfAnotherPicture)
{
    MainFixture f;
    const QString folder = f.scratch.makeFolder(QStringLiteral("cut"));
    // Red pictures first, then a blue one of the same size cut short on the disk, as a copy
    // or download that stopped halfway leaves it; large enough for the shared thumbnail cache.
    QImage red(800, 800, QImage::Format_RGB888);
    red.fill(Qt::red);
    for (int i = 0; i < 12; ++i) {
        ASSERT_TRUE(red.save(folder + QStringLiteral("/a%1.bmp").arg(i, 2, 10, QLatin1Char('0')), "bmp"));
        ageFile(folder + QStringLiteral("/a%1.bmp").arg(i, 2, 10, QLatin1Char('0')));
    }
    QImage blue(800, 800, QImage::Format_RGB888);
    blue.fill(Qt::blue);
    const QString cut = folder + QStringLiteral("/z cut short.bmp");
    ASSERT_TRUE(blue.save(cut, "bmp"));
    ASSERT_TRUE(QFile::resize(cut, QFileInfo(cut).size() / 2));
    ageFile(cut);
    auto redPixels = [](const QImage &picture) {
        int count = 0;
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                count += near(picture.pixelColor(x, y), Qt::red, 60) ? 1 : 0;
        return count;
    };

    // Read one after the other, as a decoder thread reads them.
    const QSize cellPx(60, 60);
    platform::DecodeScratch scratch;
    ASSERT_TRUE(platform::loadThumbnail(folder + QStringLiteral("/a00.bmp"), cellPx, scratch).ok());
    const common::Result<QImage> afterRed = platform::loadThumbnail(cut, cellPx, scratch);
    if (afterRed) {
        EXPECT_EQ(redPixels(afterRed.value()), 0);
    }

    // In the grid, and again from the shared thumbnail cache; what the cache keeps for the
    // file, which other programs show too, holds nothing of the red pictures either.
    f.start(folder);
    shell::MainWindow &m = *f.main;
    for (int round = 0; round < 3; ++round) {
        const int last = m.thumbStrip()->elementCount() - 1;
        ASSERT_EQ(m.browser().files().list(last), QStringLiteral("z cut short.bmp"));
        EXPECT_EQ(redPixels(m.thumbStrip()->elementPicture(last)), 0) << "round " << round;
        testsupport::item(m, QStringLiteral("refreshItem"))->trigger();
    }
    const auto cache = platform::ThumbnailCache::forCurrentUser();
    ASSERT_NE(cache, nullptr);
    for (const thumbcache::Flavour flavour : thumbcache::Flavours) {
        const QImage kept(cache->thumbnailPath(thumbcache::fileUri(QFile::encodeName(cut)), flavour));
        if (!kept.isNull()) {
            EXPECT_EQ(redPixels(kept), 0) << "cached " << int(flavour);
        }
    }
}
