#include "common/placement.h"

#include <gtest/gtest.h>

using pavix::common::reachableTopLeft;

TEST(Placement, APlaceWhoseTitleBarCanBeGrabbedIsKept)
{
    const QList<QRect> one{QRect(0, 0, 1600, 1000)};
    EXPECT_EQ(reachableTopLeft(QRect(66, 66, 400, 300), one), QPoint(66, 66));
    // Hanging off the right and bottom edges is fine while 64 pixels of title show.
    EXPECT_EQ(reachableTopLeft(QRect(1536, 900, 400, 300), one), QPoint(1536, 900));
    EXPECT_EQ(reachableTopLeft(QRect(-336, 10, 400, 300), one), QPoint(-336, 10));
    // Two screens side by side: a window on the second stays there.
    const QList<QRect> two{QRect(0, 0, 1600, 1000), QRect(1600, 0, 1280, 1024)};
    EXPECT_EQ(reachableTopLeft(QRect(2000, 500, 400, 300), two), QPoint(2000, 500));
}

TEST(Placement, AnUnreachablePlaceComesBackOntoAScreen)
{
    const QList<QRect> one{QRect(0, 0, 1600, 1000)};
    // A stored left of -3000 twips: the window sits at -200 .. -66 pixels.
    EXPECT_EQ(reachableTopLeft(QRect(-200, 66, 134, 134), one), QPoint(0, 66));
    // Title bar above the screen: pulled down to its top.
    EXPECT_EQ(reachableTopLeft(QRect(100, -50, 400, 300), one), QPoint(100, 0));
    // Only 40 pixels of title show on the right: moved in as far as the window fits.
    EXPECT_EQ(reachableTopLeft(QRect(1560, 100, 400, 300), one), QPoint(1200, 100));
    // Far below: onto the bottom of the screen.
    EXPECT_EQ(reachableTopLeft(QRect(10, 5000, 400, 300), one), QPoint(10, 700));
    // Larger than the screen: its top-left corner goes to the screen's.
    EXPECT_EQ(reachableTopLeft(QRect(-5000, -5000, 3000, 2000), one), QPoint(0, 0));
    // A narrow window needs its whole width shown.
    EXPECT_EQ(reachableTopLeft(QRect(-10, 10, 40, 300), one), QPoint(0, 10));

    // Off every screen: onto the one it overlaps most, else the first.
    const QList<QRect> two{QRect(0, 0, 1600, 1000), QRect(1600, 0, 1280, 1024)};
    EXPECT_EQ(reachableTopLeft(QRect(2700, -200, 400, 300), two), QPoint(2480, 0));
    EXPECT_EQ(reachableTopLeft(QRect(9000, 9000, 400, 300), two), QPoint(1200, 700));
    // No screen known: nothing to go by.
    EXPECT_EQ(reachableTopLeft(QRect(-200, 66, 134, 134), {}), QPoint(-200, 66));
}
