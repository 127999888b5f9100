#include "tests/graph/GraphFixture.h"

namespace tz4::test {
namespace {

constexpr qint32 kMagenta = 0xFF00FF;

class GraphRubberBand : public GraphFixture {
protected:
    void SetUp() override
    {
        GraphFixture::SetUp();
        std::vector<std::pair<float, float>> points;
        for (int i = 0; i <= 20; ++i)
            points.emplace_back(4.0f + 0.1f * i, 2.0f * i);
        record = addRecord(QStringLiteral("1 W"), points);
        disp->setSelectColor(kMagenta);
        render();
    }

    void drag(QPointF from, QPointF to)
    {
        graph.MouseDown(Qt::LeftButton, from);
        graph.MouseMove((from + to) / 2);
        graph.MouseMove(to);
        ASSERT_TRUE(graph.MouseUp(to));
    }

    QPointF pos(float x, float y) const { return {graph.xPos(x), graph.yPos(y)}; }

    clsTz4DataSet* record = nullptr;
};

TEST_F(GraphRubberBand, StoresTheRectangleWithItsSmallerValuesFirstWhicheverWayItIsDragged)
{
    drag(pos(4.95f, 30), pos(4.45f, 5));
    const std::array<float, 4> reversed{disp->SelectX1(), disp->SelectX2(), disp->SelectY1(), disp->SelectY2()};
    drag(pos(4.45f, 5), pos(4.95f, 30));
    EXPECT_EQ(reversed, (std::array<float, 4>{disp->SelectX1(), disp->SelectX2(), disp->SelectY1(), disp->SelectY2()}));
    EXPECT_NEAR(disp->SelectX1(), 4.45f, 0.01);
    EXPECT_NEAR(disp->SelectX2(), 4.95f, 0.01);
    EXPECT_NEAR(disp->SelectY1(), 5, 0.1);
    EXPECT_NEAR(disp->SelectY2(), 30, 0.1);
}

TEST_F(GraphRubberBand, PointsInsideTheBandAreMarked)
{
    drag(pos(4.45f, 5), pos(4.95f, 30));
    const QImage image = render();
    for (int i = 0; i <= 20; ++i) {
        const bool inside = i >= 5 && i <= 9;
        EXPECT_EQ(at(image, graph.xPos(record->ValueX(i)), graph.yPos(record->ValueY(i))) == color(kMagenta), inside)
            << i;
    }
    // Without SelectVisible the same band marks nothing.
    disp->setSelectVisible(false);
    EXPECT_EQ(countColor(render(), color(kMagenta), QRectF(), false), 0);
}

TEST_F(GraphRubberBand, AClickWithoutMovingMarksNothing)
{
    const QPointF onPoint = pos(record->ValueX(7), record->ValueY(7));
    graph.MouseDown(Qt::LeftButton, onPoint);
    ASSERT_TRUE(graph.MouseUp(onPoint));
    EXPECT_EQ(disp->SelectX1(), disp->SelectX2());
    EXPECT_EQ(countColor(render(), color(kMagenta), QRectF(), false), 0);
    EXPECT_EQ(graph.PointAt(onPoint), 7);
}

TEST_F(GraphRubberBand, OnlyTheLeftButtonDragsAndOnlyWhileThePictureIsEnabled)
{
    graph.MouseDown(Qt::RightButton, pos(4.2f, 2));
    EXPECT_FALSE(graph.Band().dragging());
    EXPECT_FALSE(graph.MouseUp(pos(4.8f, 20)));

    graph.setPictureEnabled(false);
    graph.MouseDown(Qt::LeftButton, pos(4.2f, 2));
    EXPECT_FALSE(graph.Band().dragging());
}

} // namespace
} // namespace tz4::test
