// Files that are not regular files but are named like pictures (a pipe, a device, links
// that go round in a loop or lead nowhere) and a folder linked into itself, on the real
// main window: none is listed, none is ever opened, nothing waits on one.
#include "support/mainfixture.h"
#include "support/mainparts.h"

#include "browser/browser.h"
#include "foldertree/foldertree.h"
#include "listview/qtlistview.h"
#include "platform/pictureservice.h"
#include "shell/startpath.h"
#include "shell/statuswindow.h"
#include "thumbs/thumbgrid.h"
#include "thumbs/thumbstrip.h"

#include <QFileSystemModel>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <thread>
#include <vector>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

using namespace pavix;
using testsupport::MainFixture;

namespace {

const QStringList Pictures = {QStringLiteral("good/hopper.bmp"), QStringLiteral("good/hopper.jpg")};

// Watches pipes while a test runs. A program that opens a pipe to read it waits until a
// writer comes; the watcher is that writer: one thread a pipe waits in its own open for a
// reader to come, notes it, then leaves at once, so the reader sees the end of the pipe and
// the test goes on to fail instead of hanging.
class PipeWatch {
public:
    explicit PipeWatch(const QStringList &pipes)
    {
        for (const QString &pipe : pipes)
            m_pipes.push_back(QFile::encodeName(pipe));
        for (const QByteArray &pipe : m_pipes)
            m_threads.emplace_back([this, pipe] { watch(pipe); });
    }
    ~PipeWatch()
    {
        m_stop = true;
        // A reader of its own for each pipe ends the watcher's wait; held until every
        // watcher has ended, so that one that comes back to its open does not wait again.
        std::vector<int> readers;
        for (const QByteArray &pipe : m_pipes)
            readers.push_back(::open(pipe.constData(), O_RDONLY | O_NONBLOCK));
        for (std::thread &thread : m_threads)
            thread.join();
        for (const int fd : readers) {
            if (fd >= 0)
                ::close(fd);
        }
    }
    // Times a reader had a pipe open.
    int readersSeen() const { return m_readers; }

private:
    void watch(const QByteArray &pipe)
    {
        while (!m_stop) {
            // Opening to write waits until someone opens the pipe to read.
            const int fd = ::open(pipe.constData(), O_WRONLY);
            if (fd < 0)
                return;
            if (!m_stop)
                ++m_readers;
            ::close(fd);
        }
    }

    std::vector<QByteArray> m_pipes;
    std::atomic<bool> m_stop{false};
    std::atomic<int> m_readers{0};
    std::vector<std::thread> m_threads;
};

QString statusText(const shell::MainWindow &m)
{
    return m.statusWindow() ? m.statusWindow()->shownText() : QStringLiteral("<no status line>");
}

// Checks the window lists only the two real pictures, in every view, after a refresh too,
// and previews each.
void expectOnlyThePictures(shell::MainWindow &m)
{
    const QStringList expected = {QStringLiteral("hopper.bmp"), QStringLiteral("hopper.jpg")};
    for (int mode = 0; mode < 5; ++mode) {
        testsupport::viewModeItem(m, mode)->trigger();
        testsupport::item(m, QStringLiteral("refreshItem"))->trigger();
        EXPECT_EQ(m.browser().files().names(), expected) << "view mode " << mode;
        EXPECT_EQ(m.list()->count(), 2) << "view mode " << mode;
        EXPECT_EQ(m.imagesLabel()->text(), QStringLiteral("Images : 2"));
        EXPECT_EQ(m.thumbStrip()->elementCount(), 2);
    }
    const QImage unreadable = platform::unreadableCell(m.thumbStrip()->elementPicture(0).size());
    for (int i = 0; i < 2; ++i) {
        EXPECT_NE(m.thumbStrip()->elementPicture(i), unreadable) << i;
        m.thumbGrid()->selectThumb(i);
        EXPECT_FALSE(m.browser().picture().isNull()) << i;
    }
}

// Selecting `name` as the command line or another part could: refused with a reason, at once.
void expectRefusedToSelect(shell::MainWindow &m, const QString &name)
{
    const common::Status selected = m.browser().selectFile(name);
    EXPECT_FALSE(selected.ok()) << qPrintable(name);
    EXPECT_TRUE(m.browser().picture().isNull()) << qPrintable(name);
    EXPECT_TRUE(m.browser().currentFile().isEmpty()) << qPrintable(name);
}

} // namespace

TEST(PipesDevicesAndLinks, PipesNamedLikePicturesAreNeverOpened)
{
    MainFixture f;
    const QString folder = f.folderWith(QStringLiteral("pipes"), Pictures);
    QStringList pipes;
    for (const char *name : {"pipe.bmp", "pipe.jpg", "pipe.gif", "pipe.ico"}) {
        pipes.append(folder + u'/' + QLatin1String(name));
        ASSERT_EQ(::mkfifo(QFile::encodeName(pipes.back()).constData(), 0644), 0) << name;
    }
    // A link to a pipe, named like a picture, leads to the pipe.
    ASSERT_TRUE(QFile::link(pipes.front(), folder + QStringLiteral("/linked pipe.bmp")));
    PipeWatch watch(pipes);

    f.start(folder);
    shell::MainWindow &m = *f.main;
    expectOnlyThePictures(m);
    for (const QString &name : {QStringLiteral("pipe.bmp"), QStringLiteral("linked pipe.bmp")})
        expectRefusedToSelect(m, name);

    // Named on the command line, a pipe is no picture to start on; a start naming it anyway
    // (the folder's picture) shows the folder with nothing selected.
    const shell::StartPlace place = shell::findStartPlace(pipes.front());
    EXPECT_FALSE(place.error.isEmpty());
    EXPECT_TRUE(place.picture.isEmpty());
    platform::MemorySettingsStore store;
    testsupport::FakeShellInfo shellInfo;
    const auto started = shell::runStartup({store, shellInfo, folder, {}, folder, QStringLiteral("pipe.bmp")});
    // A first start lists every type.
    EXPECT_EQ(started->browser().files().names(),
              (QStringList{QStringLiteral("hopper.bmp"), QStringLiteral("hopper.jpg")}));
    EXPECT_TRUE(started->browser().currentFile().isEmpty());
    EXPECT_TRUE(started->browser().picture().isNull());

    EXPECT_EQ(watch.readersSeen(), 0);
}

TEST(PipesDevicesAndLinks, DevicesNamedLikePicturesAreNeitherListedNorRead)
{
    MainFixture f;
    const QString folder = f.folderWith(QStringLiteral("devices"), Pictures);
    // A device of the same kind as /dev/null and one like /dev/zero, which reads without end.
    const QString null = folder + QStringLiteral("/null.bmp");
    const QString zero = folder + QStringLiteral("/zero.jpg");
    if (::mknod(QFile::encodeName(null).constData(), S_IFCHR | 0644, makedev(1, 3)) != 0
        || ::mknod(QFile::encodeName(zero).constData(), S_IFCHR | 0644, makedev(1, 5)) != 0) {
        const int error = errno;
        std::printf("[ skipped  ] mknod refused: %s\n", std::strerror(error));
        GTEST_SKIP() << "this system refuses to make devices (mknod: " << std::strerror(error) << ")";
    }
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), folder + QStringLiteral("/linked zero.gif")));

    f.start(folder);
    shell::MainWindow &m = *f.main;
    expectOnlyThePictures(m);
    for (const QString &name :
         {QStringLiteral("null.bmp"), QStringLiteral("zero.jpg"), QStringLiteral("linked zero.gif")})
        expectRefusedToSelect(m, name);
    EXPECT_FALSE(shell::findStartPlace(zero).error.isEmpty());
}

TEST(PipesDevicesAndLinks, LinksThatLoopOrLeadNowhereAreLeftOut)
{
    MainFixture f;
    const QString folder = f.folderWith(QStringLiteral("links"), Pictures);
    const QString elsewhere = f.folderWith(QStringLiteral("elsewhere"), {QStringLiteral("good/hopper.gif")});
    auto link = [&folder](const QString &target, const QString &name) {
        ASSERT_TRUE(QFile::link(target, folder + u'/' + name)) << qPrintable(name);
    };
    link(folder + QStringLiteral("/loop b.bmp"), QStringLiteral("loop a.bmp"));
    link(folder + QStringLiteral("/loop a.bmp"), QStringLiteral("loop b.bmp"));
    link(folder + QStringLiteral("/self.jpg"), QStringLiteral("self.jpg"));
    link(folder + QStringLiteral("/missing.gif"), QStringLiteral("dangling.gif"));
    link(QStringLiteral("relative/missing.ico"), QStringLiteral("dangling.ico"));
    // A chain of more links than the system follows in one go, ending at a real picture.
    link(folder + QStringLiteral("/hopper.bmp"), QStringLiteral("chain 00.bmp"));
    for (int i = 1; i <= 45; ++i)
        link(folder + QStringLiteral("/chain %1.bmp").arg(i - 1, 2, 10, QLatin1Char('0')),
             QStringLiteral("chain %1.bmp").arg(i, 2, 10, QLatin1Char('0')));

    f.start(folder);
    shell::MainWindow &m = *f.main;
    // The short end of the chain leads to the picture like any link; the long end, the
    // loops and the dangling links are left out.
    const QStringList names = m.browser().files().names();
    EXPECT_FALSE(names.contains(QStringLiteral("loop a.bmp")));
    EXPECT_FALSE(names.contains(QStringLiteral("self.jpg")));
    EXPECT_FALSE(names.contains(QStringLiteral("dangling.gif")));
    EXPECT_FALSE(names.contains(QStringLiteral("dangling.ico")));
    EXPECT_TRUE(names.contains(QStringLiteral("chain 00.bmp")));
    EXPECT_FALSE(names.contains(QStringLiteral("chain 45.bmp")));
    EXPECT_EQ(m.list()->count(), names.size());
    EXPECT_EQ(m.thumbStrip()->elementCount(), names.size());
    const QImage unreadable = platform::unreadableCell(m.thumbStrip()->elementPicture(0).size());
    for (int i = 0; i < names.size(); ++i)
        EXPECT_NE(m.thumbStrip()->elementPicture(i), unreadable) << qPrintable(names.at(i));
    for (const QString &name : {QStringLiteral("loop a.bmp"), QStringLiteral("self.jpg"),
                                QStringLiteral("dangling.gif"), QStringLiteral("chain 45.bmp")})
        expectRefusedToSelect(m, name);

    // A link to a picture in another folder is that picture.
    ASSERT_TRUE(QFile::link(elsewhere + QStringLiteral("/hopper.gif"), folder + QStringLiteral("/from elsewhere.gif")));
    testsupport::item(m, QStringLiteral("refreshItem"))->trigger();
    const int entry = m.list()->findItem(QStringLiteral("from elsewhere.gif"));
    ASSERT_GT(entry, 0);
    m.list()->setSelectedItem(entry);
    emit m.list()->itemClick(entry);
    EXPECT_FALSE(m.browser().picture().isNull());
}

TEST(PipesDevicesAndLinks, AFolderLinkedIntoItselfIsBrowsedLevelByLevel)
{
    MainFixture f;
    const QString folder = f.folderWith(QStringLiteral("round"), Pictures);
    ASSERT_TRUE(QFile::link(QStringLiteral("."), folder + QStringLiteral("/again")));
    ASSERT_TRUE(QFile::link(QStringLiteral(".."), folder + QStringLiteral("/up")));
    f.start(folder);
    shell::MainWindow &m = *f.main;
    if (!m.statusWindow())
        m.toggleStatusBar();
    auto *folders = m.folderTree()->findChild<QFileSystemModel *>();
    ASSERT_NE(folders, nullptr);
    QSignalSpy read(folders, &QFileSystemModel::directoryLoaded);

    // Each level down the loop is the same folder under a longer name.
    QString deeper = folder;
    for (int level = 1; level <= 8; ++level) {
        deeper += QStringLiteral("/again");
        m.folderTree()->setSelectedFolder(deeper);
        EXPECT_EQ(m.browser().folder(), deeper) << level;
        EXPECT_EQ(m.list()->count(), 2) << level;
        EXPECT_EQ(m.folderTree()->selectedFolder(), deeper);
    }
    m.folderTree()->setSelectedFolder(folder + QStringLiteral("/up/round/up/round"));
    EXPECT_EQ(m.list()->count(), 2);

    // Past the number of links the system follows in one path, the folder cannot be read,
    // and the status line says so.
    const QString tooDeep = folder + QStringLiteral("/again").repeated(45);
    m.folderTree()->setSelectedFolder(tooDeep);
    EXPECT_EQ(m.list()->count(), 0);
    EXPECT_EQ(m.imagesLabel()->text(), QStringLiteral("Images : "));
    EXPECT_TRUE(statusText(m).startsWith(QStringLiteral("The folder %1 cannot be read: ").arg(tooDeep)))
        << qPrintable(statusText(m));

    // The tree reads the folders it opened in the background while the window waits for
    // events, each level of the loop as a folder of its own, and ends: it reaches the folders
    // holding the deepest one selected and the last one that could be read.
    const auto wasRead = [&read](const QString &path) {
        return std::any_of(read.cbegin(), read.cend(), [&](const QList<QVariant> &args) { return args.at(0) == path; });
    };
    const QString deepestHolder = folder + QStringLiteral("/again").repeated(7);
    const QString lastHolder = folder + QStringLiteral("/up/round/up");
    EXPECT_TRUE(QTest::qWaitFor([&] { return wasRead(deepestHolder) && wasRead(lastHolder); }, 10000));
    EXPECT_EQ(m.browser().folder(), tooDeep) << "reading the tree picks no folder";
    m.folderTree()->setSelectedFolder(folder);
    EXPECT_EQ(m.list()->count(), 2);
}
