// The preview pane's report in the status line on the real main window (offscreen).
#include "support/mainfixture.h"

#include "browser/browser.h"
#include "shell/folderscan.h"
#include "shell/statuswindow.h"

#include <QImage>

#include <gtest/gtest.h>

using namespace pavix;
using testsupport::MainFixture;

TEST(PreviewPane, TheLastStatusPartTellsHowThePictureTiles)
{
    MainFixture f;
    const QString folder = f.folderWith(QStringLiteral("p"), {"good/hopper.bmp"});
    // A gradient that jumps back where its copies meet, and a flat colour.
    QImage gradient(256, 16, QImage::Format_RGB32);
    for (int y = 0; y < gradient.height(); ++y)
        for (int x = 0; x < gradient.width(); ++x)
            gradient.setPixel(x, y, qRgb(x, x, x));
    ASSERT_TRUE(gradient.save(folder + QStringLiteral("/gradient.bmp")));
    QImage flat(40, 30, QImage::Format_RGB32);
    flat.fill(QColor(10, 120, 200));
    ASSERT_TRUE(flat.save(folder + QStringLiteral("/flat.bmp")));
    f.start(folder);
    shell::MainWindow &m = *f.main;
    ASSERT_NE(m.statusWindow(), nullptr);

    ASSERT_TRUE(m.browser().selectFile(QStringLiteral("gradient.bmp")));
    EXPECT_EQ(m.statusWindow()->partText(0), QStringLiteral("File: gradient.bmp"));
    EXPECT_EQ(m.statusWindow()->partText(3), QStringLiteral("Tiles: visible seams (255.0), left-right edge"));
    ASSERT_TRUE(m.browser().selectFile(QStringLiteral("flat.bmp")));
    EXPECT_EQ(m.statusWindow()->partText(3), QStringLiteral("Tiles: seamless (1.0)"));
    // A photograph's edges do not meet.
    ASSERT_TRUE(m.browser().selectFile(QStringLiteral("hopper.bmp")));
    EXPECT_TRUE(m.statusWindow()->partText(3).startsWith(QStringLiteral("Tiles: visible seams (")))
        << qPrintable(m.statusWindow()->partText(3));

    // Switched off and on, the status line shows it again with the other parts.
    m.toggleStatusBar();
    m.toggleStatusBar();
    ASSERT_NE(m.statusWindow(), nullptr);
    EXPECT_EQ(m.statusWindow()->partText(0), QStringLiteral("File: hopper.bmp"));
    EXPECT_TRUE(m.statusWindow()->partText(3).startsWith(QStringLiteral("Tiles: ")));

    // A refresh empties the line with the other parts.
    m.folderScan()->refresh();
    EXPECT_FALSE(m.statusWindow()->shownText().contains(QStringLiteral("Tiles: ")))
        << qPrintable(m.statusWindow()->shownText());
}
