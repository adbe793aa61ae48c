// The details header of the picture list: where the sort arrow is drawn, and hot tracking.
#include "listview/listheader.h"

#include "listview/listitemmodel.h"
#include "support/printers.h"

#include <QApplication>
#include <QTest>
#include <QTreeView>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

using namespace pavix::listview;

namespace {

bool isRed(QRgb pixel)
{
    return qRed(pixel) > 180 && qGreen(pixel) < 90 && qBlue(pixel) < 90;
}

// A details view with the list's three captions, trailing spaces included, 100 pixels each.
struct Shown {
    ListItemModel model;
    QTreeView tree;
    ListHeader *header = new ListHeader(&tree);

    Shown()
    {
        model.setCaptions({QStringLiteral("Name         "), QStringLiteral("Size  (bytes)"),
                           QStringLiteral("Type         ")});
        tree.setHeader(header);
        tree.setModel(&model);
        for (int section = 0; section < 3; ++section)
            header->resizeSection(section, 100);
        tree.resize(420, 300);
        tree.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&tree));
        QApplication::processEvents();
    }

    // The x of every pixel column of a section that holds red (the arrow), in the header.
    std::vector<int> redColumns(int section) const
    {
        const QImage shot = header->grab().toImage();
        const int left = header->sectionViewportPosition(section);
        const int right = left + header->sectionSize(section);
        std::vector<int> xs;
        for (int x = std::max(0, left); x < std::min(right, shot.width()); ++x) {
            for (int y = 0; y < shot.height(); ++y) {
                if (isRed(shot.pixel(x, y))) {
                    xs.push_back(x);
                    break;
                }
            }
        }
        return xs;
    }

    QImage sectionShot(int section) const
    {
        const QImage shot = header->grab().toImage();
        return shot.copy(header->sectionViewportPosition(section), 0, header->sectionSize(section), shot.height());
    }
};

} // namespace

TEST(ListHeader, ArrowSitsRightOfTheCaption)
{
    Shown s;
    for (int section : {0, 1, 2})
        EXPECT_TRUE(s.redColumns(section).empty());

    s.header->setArrow(1, 1);
    EXPECT_EQ(s.header->arrow(1), 1);
    EXPECT_FALSE(s.header->arrow(0).has_value());
    const std::vector<int> xs = s.redColumns(1);
    ASSERT_FALSE(xs.empty());
    const int captionRight = s.header->sectionViewportPosition(1)
                             + s.header->fontMetrics().horizontalAdvance(QStringLiteral("Size  (bytes)"));
    EXPECT_GT(xs.front(), captionRight);
    EXPECT_LE(xs.back() - xs.front(), 12);
    EXPECT_TRUE(s.redColumns(0).empty());
    EXPECT_TRUE(s.redColumns(2).empty());

    // Moving the arrow to another column takes it off the first.
    s.header->setArrow(1, std::nullopt);
    s.header->setArrow(0, 0);
    EXPECT_FALSE(s.header->arrow(1).has_value());
    EXPECT_EQ(s.header->arrow(0), 0);
    EXPECT_TRUE(s.redColumns(1).empty());
    ASSERT_FALSE(s.redColumns(0).empty());
    EXPECT_GT(s.redColumns(0).front(), s.header->fontMetrics().horizontalAdvance(QStringLiteral("Name")));

    // A narrow column keeps the arrow inside its own section.
    s.header->resizeSection(0, 20);
    const std::vector<int> narrow = s.redColumns(0);
    ASSERT_FALSE(narrow.empty());
    EXPECT_LT(narrow.back(), s.header->sectionSize(0));

    // An image other than the two chevrons draws nothing; a negative column is ignored.
    s.header->setArrow(0, 7);
    EXPECT_TRUE(s.redColumns(0).empty());
    s.header->setArrow(-1, 0);
    EXPECT_FALSE(s.header->arrow(-1).has_value());
    EXPECT_FALSE(s.header->arrow(9).has_value());
}

TEST(ListHeader, HotTrackingHighlightsTheSectionUnderTheMouse)
{
    Shown s;
    EXPECT_FALSE(s.header->hotTrack());
    const QPoint overSize(s.header->sectionViewportPosition(1) + 40, s.header->height() / 2);

    const QImage plain = s.sectionShot(1);
    const QImage plainName = s.sectionShot(0);
    QTest::mouseMove(s.header->viewport(), overSize);
    QApplication::processEvents();
    EXPECT_EQ(s.sectionShot(1), plain); // hot tracking off: nothing changes

    s.header->setHotTrack(true);
    EXPECT_TRUE(s.header->hotTrack());
    QTest::mouseMove(s.header->viewport(), overSize + QPoint(1, 0));
    QApplication::processEvents();
    EXPECT_EQ(s.header->hoveredSection(), 1);
    EXPECT_NE(s.sectionShot(1), plain);
    EXPECT_EQ(s.sectionShot(0), plainName); // the others stay plain
    s.header->setHotTrack(false);
    QApplication::processEvents();
    EXPECT_EQ(s.sectionShot(1), plain);
}
