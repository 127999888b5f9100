#include "data/Tz4DataSets.h"
#include "graph/GraphColor.h"
#include "gui/graph/GraphWidget.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace tz4::test {
namespace {

constexpr qint32 kMagenta = 0xFF00FF;

// A data window's graph on the offscreen screen, driven by mouse events.
class GraphWidgetTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        disp = disps.Add(QStringLiteral("W"), QString());
        disp->setSelectColor(kMagenta);
        record = items.Add(QStringLiteral("1 W"), QString());
        record->setExpLog(false);
        record->setDataCount(21);
        for (int i = 0; i <= 20; ++i) {
            record->setOrgValueX(4.0f + 0.1f * i, i);
            record->setOrgValueY(2.0f * i, i);
        }
        for (int type = 0; type < 3; ++type) {
            record->setGraphX(type, 0);
            record->setGraphY(type, 0);
        }
        record->Refresh();
        items.RefreshParam();
        widget.setDataItems(&items);
        widget.setDispItems(&disps);
        widget.resize(800, 500);
        widget.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&widget));
        picture(); // lays out the scale
    }

    QImage picture() { return widget.grab().toImage(); }

    // The widget pixel of a data point.
    QPoint pixel(float x, float y) const
    {
        const double perPixel = 1440.0 / widget.logicalDpiX();
        return QPointF(widget.graph().xPos(x) / perPixel, widget.graph().yPos(y) / perPixel).toPoint();
    }

    int magentaPoints(const QImage& image) const
    {
        int n = 0;
        for (int i = 0; i < record->DataCount(); ++i)
            n += image.pixelColor(pixel(record->ValueX(i), record->ValueY(i))) == colorFromBgr(kMagenta);
        return n;
    }

    void drag(QPoint from, QPoint to)
    {
        QTest::mousePress(&widget, Qt::LeftButton, {}, from);
        QTest::mouseMove(&widget, (from + to) / 2);
        QTest::mouseMove(&widget, to);
        QTest::mouseRelease(&widget, Qt::LeftButton, {}, to);
    }

    clsTz4DataSets items;
    clsTz4GraphDisps disps;
    clsTz4GraphDisp* disp = nullptr;
    clsTz4DataSet* record = nullptr;
    gui::GraphWidget widget;
};

TEST_F(GraphWidgetTest, ADraggedBandMarksThePointsInsideWhicheverWayItIsDrawn)
{
    QSignalSpy finished(&widget, &gui::GraphWidget::bandFinished);
    drag(pixel(4.95f, 30), pixel(4.45f, 5));
    ASSERT_EQ(finished.count(), 1);
    const QRectF band = finished.at(0).at(0).toRectF();
    EXPECT_NEAR(band.left(), 4.45, 0.02);
    EXPECT_NEAR(band.right(), 4.95, 0.02);
    EXPECT_NEAR(band.top(), 5, 0.3);
    EXPECT_NEAR(band.bottom(), 30, 0.3);
    EXPECT_EQ(magentaPoints(picture()), 5);

    drag(pixel(4.45f, 5), pixel(4.95f, 30));
    ASSERT_EQ(finished.count(), 2);
    EXPECT_EQ(finished.at(1).at(0).toRectF(), band);
}

TEST_F(GraphWidgetTest, AClickWithoutMovingMarksNothingAndNamesThePointUnderIt)
{
    drag(pixel(4.45f, 5), pixel(4.95f, 30));
    QSignalSpy finished(&widget, &gui::GraphWidget::bandFinished);
    QSignalSpy clicked(&widget, &gui::GraphWidget::pointClicked);
    QTest::mouseClick(&widget, Qt::LeftButton, {}, pixel(record->ValueX(12), record->ValueY(12)));
    ASSERT_EQ(finished.count(), 1);
    EXPECT_TRUE(finished.at(0).at(0).toRectF().isEmpty());
    EXPECT_EQ(magentaPoints(picture()), 0);
    ASSERT_EQ(clicked.count(), 1);
    EXPECT_EQ(clicked.at(0).at(0).toString(), QStringLiteral("1 W"));
    EXPECT_EQ(clicked.at(0).at(1).toInt(), 12);

    // Away from every point a click names none.
    QTest::mouseClick(&widget, Qt::LeftButton, {}, pixel(4.3f, 35));
    EXPECT_EQ(clicked.count(), 1);
}

TEST_F(GraphWidgetTest, TheBandIsAnOverlayThatLeavesThePictureAlone)
{
    const int painted = widget.paintCount();
    const QPoint from = pixel(4.2f, 35);
    const QPoint to = pixel(5.6f, 8);
    QTest::mousePress(&widget, Qt::LeftButton, {}, from);
    QTest::mouseMove(&widget, (from + to) / 2);
    QTest::mouseMove(&widget, to);
    const QImage during = picture();
    EXPECT_EQ(widget.paintCount(), painted);
    // The dotted box runs along the band's top edge.
    int boxPixels = 0;
    for (int x = from.x() + 2; x < to.x() - 2; ++x)
        boxPixels += during.pixelColor(x, from.y()) == QColor(64, 64, 64);
    EXPECT_GT(boxPixels, (to.x() - from.x()) / 4);

    QTest::mouseRelease(&widget, Qt::LeftButton, {}, to);
    const QImage after = picture();
    EXPECT_EQ(widget.paintCount(), painted + 1); // the marked points show
    EXPECT_NE(after.pixelColor((from.x() + to.x()) / 2, from.y()), QColor(64, 64, 64));
}

TEST_F(GraphWidgetTest, TheOwnerHearsEveryMouseGestureAndOnlyTheLeftButtonDrags)
{
    QSignalSpy down(&widget, &gui::GraphWidget::mouseDown);
    QSignalSpy finished(&widget, &gui::GraphWidget::bandFinished);
    QTest::mousePress(&widget, Qt::RightButton, {}, pixel(5.0f, 20));
    QTest::mouseRelease(&widget, Qt::RightButton, {}, pixel(5.0f, 20));
    ASSERT_EQ(down.count(), 1);
    EXPECT_EQ(down.at(0).at(0).value<Qt::MouseButtons>(), Qt::MouseButtons(Qt::RightButton));
    const QPointF twips = down.at(0).at(2).toPointF();
    EXPECT_NEAR(widget.graph().xData(float(twips.x())), 5.0, 0.02);
    EXPECT_NEAR(widget.graph().yData(float(twips.y())), 20, 0.2);
    EXPECT_EQ(finished.count(), 0);

    // The owner can switch the band off.
    widget.graph().setPictureEnabled(false);
    drag(pixel(4.45f, 5), pixel(4.95f, 30));
    EXPECT_EQ(finished.count(), 0);
    EXPECT_EQ(down.count(), 2);
}

TEST_F(GraphWidgetTest, NewRecordsShowAfterRefreshAndAResizeRescales)
{
    const int painted = widget.paintCount();
    record->setOrgValueY(80, 20);
    record->Refresh();
    items.RefreshParam();
    widget.Refresh();
    QTRY_VERIFY(widget.paintCount() > painted);
    EXPECT_FLOAT_EQ(widget.graph().PosYMax(), 80);

    const float width = widget.graph().PlotWidth();
    widget.resize(600, 400);
    QTRY_VERIFY(widget.graph().PlotWidth() < width);
}

} // namespace
} // namespace tz4::test
