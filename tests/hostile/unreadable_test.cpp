// A picture and folders the user has no right to read, on the real main window. The
// superuser reads everything, so a run as the superuser runs this test again as the
// unprivileged user nobody, on a folder the superuser prepared.
#include "support/boxanswerer.h"
#include "support/fakedesktop.h"
#include "support/mainfixture.h"
#include "support/mainparts.h"
#include "support/unprivileged.h"

#include "browser/browser.h"
#include "foldertree/foldertree.h"
#include "listview/qtlistview.h"
#include "platform/pictureservice.h"
#include "preview/stretchimage.h"
#include "shell/statuswindow.h"
#include "thumbs/thumbgrid.h"
#include "thumbs/thumbstrip.h"
#include "wallpaper/wallpapercommand.h"
#include "wallpaper/wallpapermessages.h"

#include <QLabel>
#include <QRegularExpression>

#include <cstdio>

#include <unistd.h>

using namespace pavix;
using testsupport::MainFixture;

namespace {

// Set to the prepared folder in the run as nobody.
constexpr const char *PreparedFolderVariable = "PAVIX_TEST_UNREADABLE_FOLDER";

void setMode(const QString &path, mode_t mode)
{
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), mode), 0) << qPrintable(path);
}

// The folder "pictures": a picture anyone may read, one nobody may read, one only its owner
// may write, and four folders: one closed to all, one whose names can be read but whose
// files cannot be reached, one that can be passed but not read, and an open one.
QString prepare(MainFixture &f)
{
    setMode(f.scratch.path(), 0755);
    const QString pictures = f.folderWith(QStringLiteral("pictures"), {QStringLiteral("good/hopper.bmp")});
    for (const char *name : {"locked.bmp", "writeonly.jpg"})
        EXPECT_TRUE(QFile::copy(testsupport::corpusPath(QStringLiteral("good/hopper.jpg")),
                                pictures + u'/' + QLatin1String(name)));
    for (const char *name : {"closed", "namesonly", "passonly", "open"})
        f.folderWith(QStringLiteral("pictures/") + QLatin1String(name),
                     {QStringLiteral("good/hopper.bmp"), QStringLiteral("good/hopper.gif")});
    setMode(pictures, 0755);
    setMode(pictures + QStringLiteral("/hopper.bmp"), 0644);
    setMode(pictures + QStringLiteral("/locked.bmp"), 0);
    setMode(pictures + QStringLiteral("/writeonly.jpg"), 0200);
    setMode(pictures + QStringLiteral("/closed"), 0);
    setMode(pictures + QStringLiteral("/namesonly"), 0444);
    setMode(pictures + QStringLiteral("/passonly"), 0111);
    setMode(pictures + QStringLiteral("/open"), 0755);
    for (const char *name : {"open/hopper.bmp", "open/hopper.gif"})
        setMode(pictures + u'/' + QLatin1String(name), 0644);
    return pictures;
}

QString statusText(const shell::MainWindow &m)
{
    return m.statusWindow() ? m.statusWindow()->shownText() : QStringLiteral("<no status line>");
}

// What the user sees of the prepared folder without the right to read the locked parts.
void checkAsUnprivileged(const QString &pictures)
{
    testsupport::BoxAnswerer boxes;
    MainFixture f;
    f.start(pictures);
    shell::MainWindow &m = *f.main;
    if (!m.statusWindow())
        m.toggleStatusBar();

    // The pictures that cannot be read are listed with their lengths, and drawn as pictures
    // that cannot be read.
    const QStringList names = {QStringLiteral("hopper.bmp"), QStringLiteral("locked.bmp"),
                               QStringLiteral("writeonly.jpg")};
    ASSERT_EQ(m.browser().files().names(), names);
    EXPECT_EQ(m.list()->count(), 3);
    EXPECT_EQ(m.imagesLabel()->text(), QStringLiteral("Images : 3"));
    QString lockedSize = m.list()->subItemText(m.list()->findItem(QStringLiteral("locked.bmp")), 1);
    lockedSize.remove(QRegularExpression(QStringLiteral("[^0-9]")));
    EXPECT_EQ(lockedSize, QString::number(QFileInfo(pictures + QStringLiteral("/locked.bmp")).size()));
    ASSERT_EQ(m.thumbStrip()->elementCount(), 3);
    const QImage unreadable = platform::unreadableCell(m.thumbStrip()->elementPicture(0).size());
    EXPECT_NE(m.thumbStrip()->elementPicture(0), unreadable);
    EXPECT_EQ(m.thumbStrip()->elementPicture(1), unreadable);
    EXPECT_EQ(m.thumbStrip()->elementPicture(2), unreadable);

    // Selecting one previews nothing and says why; it cannot be made the wallpaper.
    for (int i : {1, 2}) {
        m.thumbGrid()->selectThumb(0);
        ASSERT_FALSE(m.browser().picture().isNull());
        boxes.clear();
        m.thumbGrid()->selectThumb(i);
        // No warning box (the file is not the device's fault); the status line says why.
        EXPECT_TRUE(boxes.texts().isEmpty()) << i << ": " << qPrintable(boxes.texts().value(0));
        EXPECT_TRUE(m.browser().picture().isNull()) << i;
        EXPECT_FALSE(m.previewImage()->hasPicture()) << i;
        EXPECT_TRUE(m.thumbStrip()->markerVisible()) << i;
        EXPECT_EQ(m.list()->selectedItem(), m.list()->findItem(names.at(i)));
        const QString status = statusText(m);
        EXPECT_TRUE(status.contains(names.at(i))) << qPrintable(status);
        EXPECT_TRUE(status.contains(QStringLiteral("ermission denied"))) << qPrintable(status);
        m.setWallpaper();
        EXPECT_EQ(boxes.texts(), QStringList{wallpaper::nothingSelectedMessage()}) << i;
    }

    // Each folder that cannot be read, or whose files cannot be reached, lists nothing,
    // builds no thumbnail and says why.
    for (const char *name : {"closed", "namesonly", "passonly"}) {
        const QString folder = pictures + u'/' + QLatin1String(name);
        m.folderTree()->setSelectedFolder(folder);
        EXPECT_EQ(m.browser().folder(), folder);
        EXPECT_EQ(m.browser().files().listCount(), 0) << name;
        EXPECT_EQ(m.list()->count(), 0) << name;
        EXPECT_EQ(m.imagesLabel()->text(), QStringLiteral("Images : ")) << name;
        EXPECT_FALSE(m.thumbStrip()->elementVisible(0)) << name;
        EXPECT_EQ(statusText(m), QStringLiteral("The folder %1 cannot be read: permission denied.").arg(folder))
            << name;
        // A refresh says so again.
        testsupport::item(m, QStringLiteral("refreshItem"))->trigger();
        EXPECT_EQ(m.list()->count(), 0) << name;
        EXPECT_TRUE(statusText(m).endsWith(QStringLiteral(": permission denied."))) << name;
    }
    m.folderTree()->setSelectedFolder(pictures + QStringLiteral("/open"));
    EXPECT_EQ(m.list()->count(), 2);
    EXPECT_EQ(m.thumbStrip()->elementCount(), 2);
    EXPECT_NE(m.thumbStrip()->elementPicture(1), unreadable);
}

} // namespace

TEST(Unreadable, PicturesAndFoldersWithoutTheRightToReadThem)
{
    // The run as nobody checks the folder the superuser's run prepared.
    const QString prepared = qEnvironmentVariable(PreparedFolderVariable);
    if (!prepared.isEmpty()) {
        checkAsUnprivileged(prepared);
        return;
    }
    MainFixture f;
    const QString pictures = prepare(f);
    if (::geteuid() != 0) {
        checkAsUnprivileged(pictures);
        return;
    }
    const testsupport::UnprivilegedRun run =
        testsupport::rerunAsNobody(QStringLiteral("Unreadable.PicturesAndFoldersWithoutTheRightToReadThem"),
                                   PreparedFolderVariable, pictures, pictures);
    if (!run.skipReason.isEmpty()) {
        std::printf("[ skipped  ] %s\n", qPrintable(run.skipReason));
        GTEST_SKIP() << qPrintable(run.skipReason);
    }
    EXPECT_EQ(run.exitCode, 0) << qPrintable(run.output);
    // The run as nobody ran this one test, and it passed.
    EXPECT_TRUE(run.output.contains(QStringLiteral("[  PASSED  ] 1 test."))) << qPrintable(run.output);
}
