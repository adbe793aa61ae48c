// Pictures and folders under the names a careful user tries (spaces, quotes, line breaks,
// leading dashes, names of 255 bytes, names that are not UTF-8) on the real main window:
// what the list, the status line and the folder tree show, and whether the picture can be
// previewed, started on and made the wallpaper.
#include "support/boxanswerer.h"
#include "support/fakedesktop.h"
#include "support/mainfixture.h"
#include "support/mainparts.h"

#include "browser/browser.h"
#include "catalogue/filesize.h"
#include "common/filename.h"
#include "foldertree/foldertree.h"
#include "foldertree/foldertreemodel.h"
#include "listview/qtlistview.h"
#include "platform/pictureservice.h"
#include "platform/settingsstore.h"
#include "preview/stretchimage.h"
#include "shell/commandline.h"
#include "shell/folderscan.h"
#include "shell/startpath.h"
#include "shell/startup.h"
#include "shell/statuswindow.h"
#include "thumbs/thumbstrip.h"
#include "wallpaper/wallpapercommand.h"

#include <QHeaderView>
#include <QImageReader>
#include <QLabel>
#include <QStyledItemDelegate>
#include <QTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace pavix;
using testsupport::MainFixture;

namespace {

// Writes `content` under the raw file name `name` (any bytes but "/" and NUL); false when
// the system refuses the name.
bool writeRaw(const QByteArray &folder, const QByteArray &name, const QByteArray &content)
{
    const QByteArray path = folder + '/' + name;
    const int fd = ::open(path.constData(), O_CREAT | O_WRONLY | O_TRUNC, 0644);
    if (fd < 0)
        return false;
    const bool written = ::write(fd, content.constData(), size_t(content.size())) == content.size();
    ::close(fd);
    return written;
}

// `units` repeated and then `tail`, as long as the name may be: 255 bytes.
QByteArray longestName(const QByteArray &unit, const QByteArray &tail)
{
    QByteArray name;
    while (name.size() + unit.size() + tail.size() <= 255)
        name += unit;
    // Pad with single bytes so that the name takes all 255.
    while (name.size() + tail.size() < 255)
        name += 'x';
    return name + tail;
}

// The names worth trying, as bytes, each valid UTF-8; every one names a copy of a picture.
QList<QByteArray> oddNames()
{
    return {"with space.bmp",
            " leading space.jpg",
            "trailing space .gif",
            "it's.bmp",
            "say \"cheese\".jpg",
            "line\nbreak.bmp",
            "cr\rx.bmp",
            "crx.bmp",
            "tab\there.gif",
            "-dash.bmp",
            "--help.jpg",
            "back\\slash.bmp",
            "star*and?[1].gif",
            "next\xe2\x80\xa8line.jpg", // U+2028, a line separator to Qt's text layout
            longestName("a", ".bmp"),
            longestName("\xe6\x97\xa5\xc3\xa9", ".jpg")}; // three- and two-byte characters
}

QByteArray pictureFor(const QByteArray &name)
{
    if (name.endsWith(".jpg"))
        return testsupport::corpusBytes(QStringLiteral("good/hopper.jpg"));
    if (name.endsWith(".gif"))
        return testsupport::corpusBytes(QStringLiteral("good/hopper.gif"));
    return testsupport::corpusBytes(QStringLiteral("good/hopper.bmp"));
}

// The texts the views of an item list draw for the entry whose name is `name`: one per view
// (the icon and list layouts, the details layout).
QStringList shownTexts(const QWidget *list, const QString &name)
{
    QStringList shown;
    for (const QAbstractItemView *view : list->findChildren<QAbstractItemView *>()) {
        if (qobject_cast<const QHeaderView *>(view))
            continue;
        const auto *delegate = qobject_cast<const QStyledItemDelegate *>(view->itemDelegate());
        const QAbstractItemModel *model = view->model();
        if (!delegate || !model)
            continue;
        for (int row = 0; row < model->rowCount(); ++row) {
            const QModelIndex index = model->index(row, 0);
            if (index.data().toString() == name)
                shown.append(delegate->displayText(index.data(), QLocale()));
        }
    }
    return shown;
}

// The text the folder tree draws for `folder`.
QString treeText(const foldertree::FolderTree *tree, const QString &folder)
{
    const auto *delegate = qobject_cast<const QStyledItemDelegate *>(tree->itemDelegate());
    const QModelIndex index = tree->currentIndex();
    if (!delegate || !index.isValid() || tree->selectedFolder() != folder)
        return QStringLiteral("<not the current folder>");
    return delegate->displayText(index.data(), QLocale());
}

bool writeRaw(const QString &folder, const QByteArray &name, const QByteArray &content)
{
    return writeRaw(QFile::encodeName(folder), name, content);
}

bool breaksLine(const QString &text)
{
    return text.contains(u'\n') || text.contains(u'\r') || text.contains(QChar::LineSeparator)
           || text.contains(QChar::ParagraphSeparator);
}

void click(shell::MainWindow &m, const QString &name)
{
    const int item = m.list()->findItem(name);
    m.list()->setSelectedItem(item);
    emit m.list()->itemClick(item);
}

} // namespace

TEST(OddNames, EveryValidNameIsListedShownOnOneLinePreviewedAndCanBeTheWallpaper)
{
    MainFixture f;
    const testsupport::FakeDesktop desktop(f.scratch);

    const QString folder = f.scratch.makeFolder(QStringLiteral("odd"));
    QStringList names;
    for (const QByteArray &raw : oddNames()) {
        ASSERT_TRUE(writeRaw(folder, raw, pictureFor(raw))) << raw.constData();
        names.append(QString::fromUtf8(raw));
    }
    // One byte more is more than a name may hold.
    EXPECT_FALSE(writeRaw(folder, 'b' + longestName("a", ".bmp"), pictureFor(".bmp")));

    f.start(folder);
    shell::MainWindow &m = *f.main;
    if (!m.statusWindow())
        m.toggleStatusBar();
    testsupport::BoxAnswerer boxes;
    const QStringList &said = boxes.texts();
    EXPECT_EQ(m.list()->count(), names.size());
    EXPECT_EQ(m.imagesLabel()->text(), QStringLiteral("Images : %1").arg(names.size()));
    ASSERT_EQ(m.thumbStrip()->elementCount(), names.size());
    const QImage unreadable = platform::unreadableCell(m.thumbStrip()->elementPicture(0).size());

    QStringList shownNames;
    for (const QString &name : names) {
        SCOPED_TRACE(name.toUtf8().toPercentEncoding(" \"'*?[]\\-.").constData());
        ASSERT_GT(m.list()->findItem(name), 0);
        // Each view draws the name on one line; a name with nothing unusual in it as it is.
        const QStringList shown = shownTexts(m.list(), name);
        ASSERT_EQ(shown.size(), 2);
        for (const QString &text : shown) {
            EXPECT_FALSE(breaksLine(text));
            if (!breaksLine(name) && !name.contains(u'\t')) {
                EXPECT_EQ(text, name);
            }
        }
        shownNames.append(shown.value(0));

        // Its thumbnail is its picture.
        const int cell = int(m.browser().files().names().indexOf(name));
        EXPECT_NE(m.thumbStrip()->elementPicture(cell), unreadable);

        // A click previews it and names it on the status line's one line.
        click(m, name);
        EXPECT_EQ(m.browser().currentFile(), name);
        EXPECT_FALSE(m.browser().picture().isNull());
        EXPECT_TRUE(m.previewImage()->hasPicture());
        const QString fileText = m.statusWindow()->partText(0);
        EXPECT_TRUE(fileText.startsWith(QStringLiteral("File: "))) << qPrintable(fileText);
        EXPECT_FALSE(breaksLine(fileText));
        EXPECT_EQ(fileText, QStringLiteral("File: ") + shown.value(0));

        // It becomes the wallpaper: the desktop is handed the data folder's copy.
        const int callsBefore = int(desktop.helpers().calls().size());
        QFile::remove(desktop.wallpaperFile());
        m.setWallpaper();
        EXPECT_TRUE(said.isEmpty()) << qPrintable(said.value(0));
        boxes.clear();
        EXPECT_EQ(QImageReader(desktop.wallpaperFile()).size(), m.browser().picture().size());
        EXPECT_EQ(int(desktop.helpers().calls().size()), callsBefore + 2);
    }
    // No two names look alike: "cr\rx.bmp" does not pass for "crx.bmp".
    shownNames.removeDuplicates();
    EXPECT_EQ(shownNames.size(), names.size());
}

TEST(OddNames, AFolderNameWithALineBreakIsShownOnOneLineAndListed)
{
    MainFixture f;
    const QString odd = f.folderWith(QStringLiteral("two\nlines"), {QStringLiteral("good/hopper.bmp")});
    f.start(odd);
    shell::MainWindow &m = *f.main;
    if (!m.statusWindow())
        m.toggleStatusBar();
    EXPECT_EQ(m.browser().folder(), odd);
    EXPECT_EQ(m.list()->count(), 1);
    const QString shown = treeText(m.folderTree(), odd);
    EXPECT_FALSE(breaksLine(shown)) << qPrintable(shown);
    EXPECT_TRUE(shown.startsWith(QStringLiteral("two"))) << qPrintable(shown);

    // A folder that cannot be read is named on one line too.
    const QString gone = f.scratch.file(QStringLiteral("gone\nfolder"));
    m.folderTree()->setSelectedFolder(gone);
    EXPECT_EQ(m.list()->count(), 0);
    const QString status = m.statusWindow()->shownText();
    EXPECT_TRUE(status.startsWith(QStringLiteral("The folder "))) << qPrintable(status);
    EXPECT_FALSE(breaksLine(status)) << qPrintable(status);
}

TEST(OddNames, NamesThatAreNotUtf8AreListedShownWithReplacementsAndOpenedByTheirBytes)
{
    MainFixture f;
    const testsupport::FakeDesktop desktop(f.scratch);
    const QString folder = f.scratch.makeFolder(QStringLiteral("mixed"));
    struct Named {
        QByteArray raw;
        QString shown; // one U+FFFD for each byte that is not UTF-8
        QString picture;
    };
    // Two names that differ only in a Latin-1 byte, each a picture of its own; bytes that
    // never occur in UTF-8; a character cut short.
    const std::vector<Named> files{
        {"fine.bmp", QStringLiteral("fine.bmp"), QStringLiteral("good/hopper.bmp")},
        {"latin1 caf\xe9.bmp", QString::fromUtf16(u"latin1 caf\uFFFD.bmp"), QStringLiteral("good/hopper.bmp")},
        {"latin1 caf\xe8.bmp", QString::fromUtf16(u"latin1 caf\uFFFD.bmp"), QStringLiteral("good/V4_24_Bit.bmp")},
        {"broken \xff\xfe.jpg", QString::fromUtf16(u"broken \uFFFD\uFFFD.jpg"), QStringLiteral("good/hopper.jpg")},
        {"cut short \xe6\x97.gif", QString::fromUtf16(u"cut short \uFFFD\uFFFD.gif"),
         QStringLiteral("good/hopper.gif")}};
    for (const Named &file : files)
        ASSERT_TRUE(writeRaw(folder, file.raw, testsupport::corpusBytes(file.picture)));
    // A folder whose own name is Latin-1 sits beside them.
    const QByteArray latinFolder = QFile::encodeName(folder) + "/caf\xe9";
    ASSERT_EQ(::mkdir(latinFolder.constData(), 0755), 0);
    ASSERT_TRUE(writeRaw(latinFolder, "inside.bmp", pictureFor(".bmp")));
    const QString latinFolderPath = common::decodeFileName(latinFolder);

    f.start(folder);
    shell::MainWindow &m = *f.main;
    if (!m.statusWindow())
        m.toggleStatusBar();
    testsupport::BoxAnswerer boxes;
    const QStringList &said = boxes.texts();

    // Every name is listed; the list, the count and the grid agree.
    ASSERT_EQ(m.browser().files().listCount(), int(files.size()));
    EXPECT_EQ(m.list()->count(), int(files.size()));
    EXPECT_EQ(m.imagesLabel()->text(), QStringLiteral("Images : %1").arg(files.size()));
    ASSERT_EQ(m.thumbStrip()->elementCount(), int(files.size()));
    const QImage unreadable = platform::unreadableCell(m.thumbStrip()->elementPicture(0).size());
    for (const Named &file : files) {
        const QString name = common::decodeFileName(file.raw);
        SCOPED_TRACE(file.raw.toPercentEncoding(" .").constData());
        // Drawn with U+FFFD in every view and in its tool tip.
        EXPECT_EQ(shownTexts(m.list(), name), QStringList(2, file.shown));
        const int cell = int(m.browser().files().names().indexOf(name));
        ASSERT_GE(cell, 0);
        const QAbstractItemModel *listModel = m.list()->currentView()->model();
        const QModelIndexList rows = listModel->match(listModel->index(0, 0), Qt::DisplayRole, name, 1,
                                                      Qt::MatchExactly);
        ASSERT_EQ(rows.size(), 1);
        EXPECT_EQ(rows.first().data(Qt::ToolTipRole).toString(), file.shown);
        // Its thumbnail, its preview and the status line are of its own file.
        EXPECT_NE(m.thumbStrip()->elementPicture(cell), unreadable);
        click(m, name);
        EXPECT_EQ(m.browser().currentFile(), name);
        EXPECT_EQ(m.browser().picture().size(), QImageReader(testsupport::corpusPath(file.picture)).size());
        EXPECT_EQ(m.statusWindow()->partText(0), QStringLiteral("File: ") + file.shown);
        EXPECT_EQ(m.statusWindow()->partText(2),
                  QStringLiteral("Size: ") + catalogue::formatFileSize(testsupport::corpusBytes(file.picture).size())
                      + QStringLiteral(" bytes"));
    }
    // Such a picture becomes the wallpaper like any other.
    click(m, common::decodeFileName("latin1 caf\xe9.bmp"));
    m.setWallpaper();
    EXPECT_TRUE(said.isEmpty()) << qPrintable(said.value(0));
    EXPECT_EQ(QImageReader(desktop.wallpaperFile()).size(), m.browser().picture().size());

    // The Latin-1 folder, which Qt's own listings leave out, is in the tree, drawn with
    // U+FFFD, and lists its picture when picked.
    auto *model = qobject_cast<foldertree::FolderTreeModel *>(m.folderTree()->model());
    ASSERT_NE(model, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return model->indexOf(folder).isValid(); }, 5000));
    m.folderTree()->expand(model->indexOf(folder));
    ASSERT_TRUE(QTest::qWaitFor([&] { return model->indexOf(latinFolderPath).isValid(); }, 5000));
    const QModelIndex latinRow = model->indexOf(latinFolderPath);
    m.folderTree()->setCurrentIndex(latinRow);
    EXPECT_EQ(m.folderTree()->selectedFolder(), latinFolderPath);
    EXPECT_EQ(m.browser().folder(), latinFolderPath);
    EXPECT_EQ(m.list()->count(), 1);
    EXPECT_EQ(m.imagesLabel()->text(), QStringLiteral("Images : 1"));
    EXPECT_TRUE(m.thumbStrip()->elementVisible(0));
    EXPECT_EQ(treeText(m.folderTree(), latinFolderPath), QString::fromUtf16(u"caf\uFFFD"));
    EXPECT_EQ(m.statusWindow()->shownText(), QString());

    // Written by the program, the folder is listed and made the tree's current one.
    m.folderTree()->setSelectedFolder(folder);
    ASSERT_EQ(m.list()->count(), int(files.size()));
    m.folderTree()->setSelectedFolder(latinFolderPath);
    EXPECT_EQ(m.list()->count(), 1);
    EXPECT_EQ(m.folderTree()->currentIndex(), latinRow);

    // A folder chooser that names it as Qt decodes it, with U+FFFD, lists it too.
    m.folderTree()->setSelectedFolder(folder);
    const QString asShown = QFile::decodeName(latinFolder);
    f.folderChooser.answer = asShown;
    EXPECT_EQ(m.folderScan()->browseFolder(folder), latinFolderPath);
    EXPECT_EQ(m.browser().folder(), latinFolderPath);
    EXPECT_EQ(m.list()->count(), 1);

    // The settings file holds its name as text, with U+FFFD; the next start finds the folder.
    const QString iniPath = f.scratch.file(QStringLiteral("Pavix.ini"));
    {
        platform::IniSettingsStore ini(iniPath);
        ini.write(QStringLiteral("Settings"), QStringLiteral("Folder"), latinFolderPath);
    }
    platform::IniSettingsStore ini(iniPath);
    EXPECT_EQ(ini.read(QStringLiteral("Settings"), QStringLiteral("Folder")), asShown);
    testsupport::FakeShellInfo shellInfo;
    const auto next = shell::runStartup({.settings = ini,
                                         .shellInfo = shellInfo,
                                         .homeFolder = folder,
                                         .status = {},
                                         .startFolder = {},
                                         .startPicture = {}});
    EXPECT_EQ(next->browser().folder(), latinFolderPath);
    EXPECT_EQ(next->list()->count(), 1);
}

TEST(OddNames, APictureWithAnOddNameCanBeStartedOn)
{
    testsupport::ScratchFolder scratch;
    const QString folder = scratch.makeFolder(QStringLiteral("start"));
    for (const QByteArray &raw : {QByteArray("-dash.bmp"), QByteArray("--help.jpg"), QByteArray("line\nbreak.bmp"),
                                  longestName("\xe6\x97\xa5\xc3\xa9", ".jpg"), QByteArray("latin1 caf\xe9.bmp")})
        ASSERT_TRUE(writeRaw(folder, raw, pictureFor(raw)));

    for (const QByteArray &raw : {QByteArray("-dash.bmp"), QByteArray("--help.jpg"), QByteArray("line\nbreak.bmp"),
                                  longestName("\xe6\x97\xa5\xc3\xa9", ".jpg"), QByteArray("latin1 caf\xe9.bmp")}) {
        const QString name = common::decodeFileName(raw);
        SCOPED_TRACE(raw.toPercentEncoding().constData());
        const QString path = folder + u'/' + name;
        // A name that begins with a dash is an option unless "--" comes first.
        if (name.startsWith(u'-')) {
            EXPECT_EQ(shell::parseCommandLine({QStringLiteral("pavix"), name}, QStringLiteral("1")).action,
                      shell::CommandLineAction::Fail);
        }
        const shell::CommandLine line = shell::parseCommandLine({QStringLiteral("pavix"), QStringLiteral("--"), path},
                                                                QStringLiteral("1"));
        ASSERT_EQ(line.action, shell::CommandLineAction::Start);
        const shell::StartPlace place = shell::findStartPlace(line.path);
        EXPECT_EQ(place.error, QString());
        EXPECT_EQ(place.folder, folder);
        EXPECT_EQ(place.picture, name);

        platform::MemorySettingsStore store;
        testsupport::FakeShellInfo shellInfo;
        const auto main = shell::runStartup({store, shellInfo, folder, {}, place.folder, place.picture});
        EXPECT_EQ(main->browser().currentFile(), name);
        EXPECT_FALSE(main->browser().picture().isNull());
    }
}
