#include "platform/imagelist.h"

#include <QColor>

#include <gtest/gtest.h>

using pavix::platform::ImageList;

namespace {

QImage filled(QColor colour)
{
    QImage image(4, 4, QImage::Format_ARGB32);
    image.fill(colour);
    return image;
}

} // namespace

TEST(ImageList, PositionsCountFromOneAndFindGivesTheLastOfAKey)
{
    ImageList list;
    EXPECT_EQ(list.add(QStringLiteral("A"), filled(Qt::red)), 1);
    EXPECT_EQ(list.add(QStringLiteral("B"), filled(Qt::green)), 2);
    EXPECT_EQ(list.add(QStringLiteral("A"), filled(Qt::blue)), 3);
    EXPECT_EQ(list.count(), 3);
    EXPECT_EQ(list.find(QStringLiteral("A")), 3);
    EXPECT_EQ(list.find(QStringLiteral("B")), 2);
    EXPECT_EQ(list.find(QStringLiteral("C")), 0);
    list.setTag(2, QStringLiteral("tag"));
    EXPECT_EQ(list.at(2).tag, QStringLiteral("tag"));
    EXPECT_TRUE(list.at(0).picture.isNull());
    EXPECT_TRUE(list.at(4).picture.isNull());
}

TEST(ImageList, APositionEmptiedAndFilledAgainKeepsEveryOtherPosition)
{
    ImageList list;
    list.add(QStringLiteral("A"), filled(Qt::red));
    list.add(QStringLiteral("B"), filled(Qt::green));
    list.add(QStringLiteral("A"), filled(Qt::blue));
    list.setTag(3, QStringLiteral("third"));

    // Emptying the last "A" leaves the earlier one to be found.
    list.release(3);
    EXPECT_EQ(list.count(), 3);
    EXPECT_TRUE(list.at(3).picture.isNull());
    EXPECT_TRUE(list.at(3).key.isEmpty());
    EXPECT_TRUE(list.at(3).tag.isEmpty());
    EXPECT_EQ(list.find(QStringLiteral("A")), 1);
    list.release(3); // twice changes nothing
    EXPECT_EQ(list.find(QStringLiteral("A")), 1);
    // An empty position is no image with an empty key.
    list.add(QString(), filled(Qt::black));
    list.release(4);
    EXPECT_EQ(list.find(QString()), 0);

    // Filling it again under another key.
    list.replace(3, QStringLiteral("C"), filled(Qt::yellow));
    EXPECT_EQ(list.find(QStringLiteral("C")), 3);
    EXPECT_EQ(list.at(3).picture.pixelColor(0, 0), QColor(Qt::yellow));
    EXPECT_EQ(list.at(2).picture.pixelColor(0, 0), QColor(Qt::green));

    // Replacing moves the key's index: "B" is gone, "A" is found at its later position.
    list.replace(2, QStringLiteral("A"), filled(Qt::cyan));
    EXPECT_EQ(list.find(QStringLiteral("B")), 0);
    EXPECT_EQ(list.find(QStringLiteral("A")), 2);
    list.replace(1, QStringLiteral("D"), filled(Qt::magenta));
    EXPECT_EQ(list.find(QStringLiteral("A")), 2);
    EXPECT_EQ(list.find(QStringLiteral("D")), 1);

    // Out of range: nothing happens.
    list.replace(0, QStringLiteral("E"), filled(Qt::red));
    list.replace(5, QStringLiteral("E"), filled(Qt::red));
    list.release(-1);
    EXPECT_EQ(list.find(QStringLiteral("E")), 0);
    EXPECT_EQ(list.count(), 4);
}
