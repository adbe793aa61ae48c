// Runs with the widget tests: a QPixmap needs the application object they create.
#include "preview/tileplan.h"
#include "support/tilereference.h"

#include <QImage>
#include <QPainter>
#include <QPixmap>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

using namespace pavix::preview;
using namespace pavix::testsupport;

namespace {

QImage patternImage(int width, int height, QImage::Format format, bool transparent)
{
    QImage image(width, height, format);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const int alpha = transparent ? (x * 255 / std::max(1, width - 1) + y * 37) % 256 : 255;
            image.setPixelColor(x, y, QColor((x * 53 + y * 7) % 256, (y * 41) % 256, (x * 13 + y * 29) % 256, alpha));
        }
    return image;
}

using PaintFunction = std::function<void(QPainter &, const QPixmap &, const QRect &, const QRect &)>;

QImage paintSurface(const PaintFunction &paint, const QPixmap &tile, const QRect &client, const QRect &dirty)
{
    QImage surface = patternImage(720, 220, QImage::Format_ARGB32_Premultiplied, false);
    QPainter painter(&surface);
    paint(painter, tile, client, dirty);
    painter.end();
    return surface;
}

} // namespace

TEST(TilePlan, CountsEveryCopyUpToAndIncludingTheEdge)
{
    EXPECT_EQ(tilePlan(6500, 6500, 1000, 1000).columns, 7); // x = 0, 1000, ..., 6000
    EXPECT_EQ(tilePlan(6500, 6500, 6500, 6500).columns, 2); // x = 0 and 6500
    EXPECT_EQ(tilePlan(6499, 6500, 6500, 6500).columns, 1);
    const TilePlan plan = tilePlan(6500, 3000, 1000, 450);
    EXPECT_EQ(plan.columns, 7);
    EXPECT_EQ(plan.rows, 7); // 3000 / 450 = 6.67
    EXPECT_EQ(tilePlan(0, 0, 15, 15).columns, 1);
    EXPECT_EQ(tilePlan(1e15, 10, 1, 1).columns, std::numeric_limits<int>::max());
}

TEST(TilePlan, StepOfZeroPlansNothing)
{
    for (const TilePlan plan : {tilePlan(6500, 6500, 0, 1000), tilePlan(6500, 6500, 1000, 0),
                                tilePlan(6500, 6500, -1000, 1000), tilePlan(6500, 6500, std::nan(""), 1),
                                tilePlan(-1, 6500, 1000, 1000), tilePlan(std::nan(""), 6500, 1000, 1000)}) {
        EXPECT_EQ(plan.columns, 0);
        EXPECT_EQ(plan.rows, 0);
    }
}

TEST(TilePlan, TiledFillEqualsTheCopiesPixelForPixel)
{
    const QPixmap opaque = QPixmap::fromImage(patternImage(37, 23, QImage::Format_RGB32, false));
    const QPixmap transparent = QPixmap::fromImage(patternImage(29, 41, QImage::Format_ARGB32_Premultiplied, true));
    ASSERT_FALSE(opaque.hasAlpha());
    ASSERT_TRUE(transparent.hasAlpha());

    // Narrow tiles in a wide area take the widened path; the tiny one many times over.
    const QPixmap tiny = QPixmap::fromImage(patternImage(3, 5, QImage::Format_ARGB32_Premultiplied, true));
    const QRect client(5, 7, 700, 200);
    const QRect dirtyRects[] = {client, QRect(40, 33, 600, 120), QRect(40, 33, 150, 120), QRect(-10, 150, 100, 200)};
    for (const QPixmap &tile : {opaque, transparent, tiny}) {
        for (const QRect &dirty : dirtyRects) {
            const QImage tiled = paintSurface(paintTiles, tile, client, dirty);
            const QImage copies = paintSurface(paintTilesPerCopy, tile, client, dirty);
            EXPECT_EQ(tiled, copies) << "tile " << tile.width() << "x" << tile.height() << ", dirty " << dirty.x()
                                     << "," << dirty.y();
        }
    }

    // Both are anchored at the client's top-left, whatever part is repainted, and leave
    // everything outside the dirty part alone.
    const QImage tileImage = opaque.toImage();
    const QImage background = paintSurface([](auto &, auto &, auto &, auto &) {}, opaque, client, client);
    const QRect dirty(40, 33, 150, 120);
    const QImage painted = paintSurface(paintTiles, opaque, client, dirty);
    for (const QPoint p : {QPoint(40, 33), QPoint(189, 152), QPoint(100, 100), QPoint(42, 80)})
        EXPECT_EQ(painted.pixel(p), tileImage.pixel((p.x() - client.x()) % 37, (p.y() - client.y()) % 23));
    for (const QPoint p : {QPoint(39, 33), QPoint(190, 100), QPoint(100, 32), QPoint(100, 153), QPoint(0, 0)})
        EXPECT_EQ(painted.pixel(p), background.pixel(p));
    const QImage whole = paintSurface(paintTiles, opaque, client, client);
    EXPECT_EQ(whole.pixel(client.topLeft()), tileImage.pixel(0, 0));
    EXPECT_EQ(whole.pixel(704, 206), tileImage.pixel(699 % 37, 199 % 23));
    EXPECT_EQ(whole.pixel(705, 100), background.pixel(705, 100));
    const QImage wide = paintSurface(paintTiles, opaque, client, QRect(41, 30, 620, 100));
    EXPECT_EQ(wide.pixel(41, 30), tileImage.pixel(36 % 37, 23 % 23));
    EXPECT_EQ(wide.pixel(660, 129), tileImage.pixel(655 % 37, 122 % 23));
}

TEST(TilePlan, EmptyTilePaintsNothing)
{
    const QRect client(0, 0, 720, 220);
    const QImage background = paintSurface([](auto &, auto &, auto &, auto &) {}, QPixmap(), client, client);
    EXPECT_EQ(paintSurface(paintTiles, QPixmap(), client, client), background);
    EXPECT_EQ(paintSurface(paintTilesPerCopy, QPixmap(), client, client), background);
    const QPixmap tile = QPixmap::fromImage(patternImage(8, 8, QImage::Format_RGB32, false));
    EXPECT_EQ(paintSurface(paintTiles, tile, client, QRect()), background);
    EXPECT_EQ(paintSurface(paintTilesPerCopy, tile, client, QRect(800, 0, 10, 10)), background);
}
