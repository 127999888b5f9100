#include "mainwin/FrameGeometry.h"

#include <gtest/gtest.h>

namespace tz4::test {

TEST(FrameGeometry, AFirstStartUsesALargeScreenButNeverGoesBelowTheFramesOwnSize)
{
    const QSize own(632, 461);
    const QRect large(0, 0, 1400, 1000);
    const QRect frame = firstFrameRect(large, own);
    EXPECT_EQ(frame.size(), QSize(1120, 800));
    EXPECT_EQ(frame.center(), large.center());

    const QRect small(0, 0, 700, 500);
    EXPECT_EQ(firstFrameRect(small, own).size(), QSize(632, 461)) << "four fifths would be smaller than its own size";
    EXPECT_TRUE(small.contains(firstFrameRect(small, own)));
}

TEST(FrameGeometry, AChildFillsTheAreaAloneAndOpensAtItsOwnSizeBesideOthers)
{
    const QRect area(0, 0, 1000, 700);
    EXPECT_EQ(firstChildRect(area, QSize(800, 500), 0, 24), area);
    const QRect second = firstChildRect(area, QSize(800, 500), 1, 24);
    EXPECT_EQ(second, QRect(24, 24, 800, 500));
    // Too large for the area: kept inside it.
    EXPECT_TRUE(area.contains(firstChildRect(area, QSize(2000, 2000), 3, 24)));
}

TEST(FrameGeometry, CascadedWindowsStayTwoThirdsOfTheAreaAndStartAgainWhenTheyWouldNotFit)
{
    const QRect area(0, 0, 900, 600);
    const QList<QRect> places = cascadeRects(area, 30, 24);
    ASSERT_EQ(places.size(), 30);
    for (const QRect& place : places) {
        EXPECT_TRUE(area.contains(place)) << place.x() << "," << place.y();
        EXPECT_GE(place.height(), 400);
    }
    EXPECT_EQ(places[1].topLeft() - places[0].topLeft(), QPoint(24, 24));
    EXPECT_LT(places[29].top(), places[28].top() + 24 * 30) << "wrapped to the top-left";
    EXPECT_EQ(cascadeRects(area, 1, 24).first(), area);
}

} // namespace tz4::test
