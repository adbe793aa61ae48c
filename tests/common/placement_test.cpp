#include "common/placement.h"

#include <gtest/gtest.h>

using pavix::common::onScreenTopLeft;

TEST(Placement, APlaceWhollyOnAScreenIsKept)
{
    const QList<QRect> one{QRect(0, 0, 1600, 1000)};
    EXPECT_EQ(onScreenTopLeft(QRect(66, 66, 400, 300), one), QPoint(66, 66));
    EXPECT_EQ(onScreenTopLeft(QRect(0, 0, 1600, 1000), one), QPoint(0, 0));
    EXPECT_EQ(onScreenTopLeft(QRect(1200, 700, 400, 300), one), QPoint(1200, 700));
    // Two screens side by side: a window on the second stays there.
    const QList<QRect> two{QRect(0, 0, 1600, 1000), QRect(1600, 0, 1280, 1024)};
    EXPECT_EQ(onScreenTopLeft(QRect(2000, 500, 400, 300), two), QPoint(2000, 500));
}

TEST(Placement, APlacePartlyOrWhollyOffTheScreensComesWhollyOntoOne)
{
    const QList<QRect> one{QRect(0, 0, 1600, 1000)};
    // A stored left of -3000 twips: the window sits at -200 .. 99 pixels, a third of it shown.
    EXPECT_EQ(onScreenTopLeft(QRect(-200, 66, 300, 300), one), QPoint(0, 66));
    // Title bar above the screen: pulled down to its top.
    EXPECT_EQ(onScreenTopLeft(QRect(100, -50, 400, 300), one), QPoint(100, 0));
    // Hanging off the right and bottom edges: moved in as far as needed.
    EXPECT_EQ(onScreenTopLeft(QRect(1536, 900, 400, 300), one), QPoint(1200, 700));
    EXPECT_EQ(onScreenTopLeft(QRect(10, 5000, 400, 300), one), QPoint(10, 700));
    // Larger than the screen: its top-left corner goes to the screen's.
    EXPECT_EQ(onScreenTopLeft(QRect(-5000, -5000, 3000, 2000), one), QPoint(0, 0));
    EXPECT_EQ(onScreenTopLeft(QRect(300, 200, 3000, 2000), one), QPoint(0, 0));

    // Across two screens, or off every screen: onto the one it overlaps most, else the first.
    const QList<QRect> two{QRect(0, 0, 1600, 1000), QRect(1600, 0, 1280, 1024)};
    EXPECT_EQ(onScreenTopLeft(QRect(1500, 100, 400, 300), two), QPoint(1600, 100));
    EXPECT_EQ(onScreenTopLeft(QRect(2700, -200, 400, 300), two), QPoint(2480, 0));
    EXPECT_EQ(onScreenTopLeft(QRect(9000, 9000, 400, 300), two), QPoint(1200, 700));
    // No screen known: nothing to go by.
    EXPECT_EQ(onScreenTopLeft(QRect(-200, 66, 134, 134), {}), QPoint(-200, 66));
}
