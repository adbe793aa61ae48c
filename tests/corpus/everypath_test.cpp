// Every file of the corpus, good and bad, through every way Pavix reads a picture: listed,
// thumbnailed in the grid, previewed, tiled and set as the wallpaper, with resident memory
// kept under a ceiling all along. A file Pavix cannot read shows the same "cannot be read"
// state on every way.
#include "browser/browser.h"
#include "catalogue/typepatterns.h"
#include "foldertree/foldertree.h"
#include "listview/qtlistview.h"
#include "platform/pictureservice.h"
#include "preview/stretchimage.h"
#include "preview/tiledpreview.h"
#include "shell/mainwindow.h"
#include "shell/statuswindow.h"
#include "thumbs/thumbstrip.h"
#include "wallpaper/wallpapercommand.h"
#include "wallpaper/wallpapermessages.h"

#include "support/boxanswerer.h"
#include "support/corpus.h"
#include "support/fakedesktop.h"
#include "support/madepictures.h"
#include "support/mainfixture.h"
#include "support/mainparts.h"
#include "support/processmemory.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>

#include <gtest/gtest.h>

using namespace pavix;
using testsupport::MainFixture;

namespace {

// Most resident memory the process may ever have taken, in KiB.
constexpr qint64 MemoryCeilingKb = 500 * 1024;

QString statusText(const shell::MainWindow &m)
{
    return m.statusWindow() ? m.statusWindow()->shownText() : QString();
}

} // namespace

TEST(EveryPath, EachCorpusFileIsListedThumbnailedPreviewedTiledAndSetAsWallpaper)
{
    MainFixture f;
    const testsupport::FakeDesktop desktop(f.scratch);
    const QString wallpaperFile = desktop.wallpaperFile();

    f.start();
    shell::MainWindow &m = *f.main;
    m.resizeToOuter(15000, 11000);
    m.sizeControls();
    testsupport::BoxAnswerer boxes;
    const QStringList &said = boxes.texts();

    // Beside the corpus, hostile files of the later types made here: headers claiming
    // 50,000 x 50,000 pixels from a few hundred bytes, which are refused, and a TIFF of 300
    // pages and a WebP of 3,000 frames, whose first picture is shown.
    const QString made = f.scratch.makeFolder(QStringLiteral("made"));
    const QByteArray onePixel = testsupport::corpusBytes(QStringLiteral("good/dark.webp"));
    ASSERT_FALSE(onePixel.isEmpty());
    const std::pair<const char *, QByteArray> madeFiles[] = {
        {"claims-50000x50000.png", testsupport::pngClaiming(50000, 50000)},
        {"claims-50000x50000.webp", testsupport::webpClaiming(50000, 50000, onePixel)},
        {"claims-50000x50000.tif", testsupport::tiffClaiming(50000, 50000)},
        {"300-pages.tif", testsupport::tiffOfPages(300)},
        {"3000-frames.webp", testsupport::webpAnimation(3000, onePixel)},
    };
    for (const auto &[name, bytes] : madeFiles) {
        QFile file(made + u'/' + QLatin1String(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size()) << name;
    }

    int readableSeen = 0;
    int unreadableSeen = 0;
    for (const QString &kind : {QStringLiteral("good"), QStringLiteral("bad"), QStringLiteral("made")}) {
        const QString folder = QDir::cleanPath(kind == QStringLiteral("made") ? made : testsupport::corpusPath(kind));
        // Every type Pavix browses is switched on, and the corpus names its files with their
        // types' extensions: each file of a browsed type is listed.
        const QStringList elements = catalogue::patternElements(m.browser().files().pattern());
        QStringList files;
        for (const QString &name : QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name))
            if (catalogue::matchesAnyElement(elements, name))
                files << name;
        ASSERT_FALSE(files.isEmpty()) << qPrintable(folder);

        m.folderTree()->setSelectedFolder(folder);
        testsupport::viewModeItem(m, 0)->trigger();
        ASSERT_EQ(m.browser().files().path(), folder);
        ASSERT_EQ(m.browser().files().listCount(), files.size()) << qPrintable(kind);
        ASSERT_EQ(m.thumbStrip()->elementCount(), files.size()) << qPrintable(kind);
        const QImage unreadableCell = platform::unreadableCell(m.thumbStrip()->elementPicture(0).size());

        for (int i = 0; i < files.size(); ++i) {
            const QString name = m.browser().files().list(i);
            SCOPED_TRACE(qPrintable(kind + u'/' + name));
            const common::Result<QImage> picture = platform::loadPicture(folder + u'/' + name);
            if (kind == QStringLiteral("made")) {
                // The claims are refused by the size the header declares, before decoding.
                const bool claims = name.startsWith(QStringLiteral("claims-"));
                EXPECT_EQ(picture.ok(), !claims);
                if (claims && !picture.ok()) {
                    EXPECT_TRUE(picture.error().message.contains(QStringLiteral("50000 x 50000")))
                        << qPrintable(picture.error().message);
                }
            }

            // Thumbnailed: the picture's cell or the "cannot be read" cell, as the file is.
            const QImage cell = m.thumbStrip()->elementPicture(i);
            EXPECT_EQ(cell == unreadableCell, !picture.ok());

            // Previewed: a click on the cell.
            boxes.clear();
            QFile::remove(wallpaperFile);
            MainFixture::press(m.thumbStrip(), m.thumbStrip()->elementRect(i).center());
            if (picture.ok()) {
                ++readableSeen;
                EXPECT_EQ(m.browser().currentFile(), name);
                EXPECT_EQ(m.browser().picture().size(), picture->size());
                EXPECT_TRUE(m.previewImage()->isVisible());
                // Tiled: the window shows this picture from its top left corner.
                m.tiledPreview()->show();
                ASSERT_NE(m.tiledPreview()->window(), nullptr);
                const QImage tiles = m.tiledPreview()->window()->grab().toImage();
                ASSERT_FALSE(tiles.isNull());
                if (!picture->hasAlphaChannel()) {
                    EXPECT_EQ(QColor(tiles.pixel(0, 0)).rgb(),
                              QColor(picture->convertToFormat(QImage::Format_RGB32).pixel(0, 0)).rgb());
                }
                // Set as the wallpaper: written as a bitmap of the picture's size.
                m.setWallpaper();
                EXPECT_TRUE(said.isEmpty()) << qPrintable(said.value(0));
                EXPECT_EQ(QImage(wallpaperFile).size(), picture->size());
            } else {
                ++unreadableSeen;
                EXPECT_TRUE(m.browser().currentFile().isEmpty());
                EXPECT_FALSE(m.previewImage()->isVisible());
                const QString message = statusText(m);
                EXPECT_TRUE(message.contains(name) && message.contains(QStringLiteral("cannot be read")))
                    << qPrintable(message);
                // No wallpaper from it: the command asks for a picture instead.
                m.setWallpaper();
                EXPECT_EQ(said, QStringList{wallpaper::nothingSelectedMessage()});
                EXPECT_FALSE(QFileInfo::exists(wallpaperFile));
            }
        }
    }
    EXPECT_GT(readableSeen, 50);
    EXPECT_GT(unreadableSeen, 20);

    const qint64 peakKb = testsupport::peakResidentKib();
    ASSERT_GT(peakKb, 0);
    std::printf("[ memory   ] peak resident memory over the corpus: %lld MiB\n", static_cast<long long>(peakKb / 1024));
#ifndef __SANITIZE_ADDRESS__
    EXPECT_LT(peakKb, MemoryCeilingKb);
#else
    // AddressSanitizer keeps up to 256 MB of freed memory in quarantine and pads every
    // block: the ceiling measures Pavix in the plain build only.
    std::printf("[ memory   ] not held to the ceiling under AddressSanitizer\n");
#endif
}
