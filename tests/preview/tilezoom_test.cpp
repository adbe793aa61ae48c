#include "preview/tilezoom.h"

#include <QColor>

#include <gtest/gtest.h>

using namespace pavix::preview;

TEST(TileZoom, StepsTitlesAndSizes)
{
    // Up and down from each step and from between steps; the ends hold.
    const struct {
        int from;
        int in;
        int out;
    } steps[] = {{25, 33, 25},    {33, 50, 25},    {50, 67, 33},    {67, 100, 50}, {100, 150, 67}, {150, 200, 100},
                 {200, 300, 150}, {300, 400, 200}, {400, 400, 300}, {80, 100, 67}, {10, 25, 25},   {900, 400, 400}};
    for (const auto &s : steps) {
        EXPECT_EQ(zoomedIn(s.from), s.in) << s.from;
        EXPECT_EQ(zoomedOut(s.from), s.out) << s.from;
    }
    EXPECT_EQ(zoomedTitle(100), QStringLiteral("Preview"));
    EXPECT_EQ(zoomedTitle(50), QStringLiteral("Preview - 50 %"));
    EXPECT_EQ(zoomedTitle(400), QStringLiteral("Preview - 400 %"));
    EXPECT_EQ(zoomedTileSize(QSize(128, 3), 33), QSize(42, 1));
    EXPECT_EQ(zoomedTileSize(QSize(1, 1), 25), QSize(1, 1));
    EXPECT_EQ(zoomedTileSize(QSize(7, 5), 150), QSize(11, 8)); // 10.5 rounds away from zero
}

TEST(TileZoom, ShrinkingAveragesAndEnlargingKeepsSharpSquares)
{
    // A fine check of black and white: from afar, grey; close up, each pixel a block.
    QImage checks(8, 8, QImage::Format_RGB32);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            checks.setPixel(x, y, (x + y) % 2 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));

    const QImage quarter = zoomedTile(checks, 25);
    ASSERT_EQ(quarter.size(), QSize(2, 2));
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 2; ++x)
            EXPECT_NEAR(qRed(quarter.pixel(x, y)), 128, 2) << x << "," << y;

    const QImage quadruple = zoomedTile(checks, 400);
    ASSERT_EQ(quadruple.size(), QSize(32, 32));
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            ASSERT_EQ(quadruple.pixel(x, y), checks.pixel(x / 4, y / 4)) << x << "," << y;

    EXPECT_EQ(zoomedTile(checks, 100).cacheKey(), checks.cacheKey()) << "natural size is the picture itself";
    EXPECT_TRUE(zoomedTile(QImage(), 50).isNull());
}

TEST(TileZoom, SeamMarksFollowTheLinesWhereCopiesMeetAndTheGradeOfEachEdge)
{
    const QRect client(0, 0, 250, 120);
    const QSize tile(100, 50);
    // A visible seam left-right only: marks on x = 100 and 200, three pixels wide.
    std::vector<SeamMark> marks = seamMarks(tile, client, SeamRatios{5.0, 1.2}, 3);
    ASSERT_EQ(marks.size(), 2u);
    EXPECT_EQ(marks[0].band, QRect(99, 0, 3, 120));
    EXPECT_EQ(marks[1].band, QRect(199, 0, 3, 120));
    EXPECT_EQ(marks[0].grade, SeamGrade::Visible);

    // A faint top-bottom seam as well: marks on y = 50 and 100.
    marks = seamMarks(tile, client, SeamRatios{5.0, 2.0}, 2);
    ASSERT_EQ(marks.size(), 4u);
    EXPECT_EQ(marks[2].band, QRect(0, 49, 250, 2));
    EXPECT_EQ(marks[3].band, QRect(0, 99, 250, 2));
    EXPECT_EQ(marks[3].grade, SeamGrade::Faint);

    EXPECT_TRUE(seamMarks(tile, client, SeamRatios{1.5, 1.0}, 2).empty()) << "seamless both ways";
    EXPECT_TRUE(seamMarks(QSize(), client, SeamRatios{9.0, 9.0}, 2).empty());

    // The report names the worse edge once there is a seam.
    EXPECT_EQ(seamText(SeamRatios{4.2, 1.1}), QStringLiteral("Tiles: visible seams (4.2), left-right edge"));
    EXPECT_EQ(seamText(SeamRatios{1.0, 2.1}), QStringLiteral("Tiles: faint seams (2.1), top-bottom edge"));
    EXPECT_EQ(seamText(SeamRatios{1.2, 1.4}), QStringLiteral("Tiles: seamless (1.4)"));

    // Each edge measured on its own: a picture whose columns wrap badly but rows do not.
    QImage stripes(4, 4, QImage::Format_RGB32);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            stripes.setPixel(x, y, qRgb(x * 60, x * 60, x * 60));
    const SeamRatios ratios = seamRatios(stripes, Qt::white);
    EXPECT_GT(ratios.leftRight, 1.5);
    EXPECT_EQ(ratios.topBottom, 1.0);
    EXPECT_EQ(seamRatio(stripes, Qt::white), ratios.leftRight);
}
