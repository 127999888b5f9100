#include "tests/graph/GraphFixture.h"

#include "core/RecordParameters.h"
#include "graph/GraphStyles.h"

#include <QPainter>

namespace tz4::test {
namespace {

constexpr qint32 kRed = 0x0000FF;   // 0x00BBGGRR
constexpr qint32 kBlue = 0xFF0000;
constexpr qint32 kGreen = 0x00FF00;

class GraphPaint : public GraphFixture {
protected:
    void SetUp() override
    {
        GraphFixture::SetUp();
        disp->setDotColor(kRed);
        disp->setDotFill(true);
        disp->setDotSize(45);
    }

    // A yield that rises linearly above 5.0 eV, flat below.
    std::vector<std::pair<float, float>> scan(float offset = 0) const
    {
        std::vector<std::pair<float, float>> points;
        for (int i = 0; i <= 30; ++i) {
            const float e = 4.5f + 0.05f * i;
            points.emplace_back(e, offset + (e > 5.0f ? 20 * (e - 5.0f) : 0.0f));
        }
        return points;
    }
};

TEST_F(GraphPaint, PointsLieInTheirColourAtTheirMappedPositions)
{
    clsTz4DataSet* record = addRecord(QStringLiteral("1 W"), scan());
    const QImage image = render();
    ASSERT_TRUE(graph.Plottable());
    for (int i = 0; i < record->DataCount(); ++i)
        EXPECT_EQ(at(image, graph.xPos(record->ValueX(i)), graph.yPos(record->ValueY(i))), color(kRed)) << i;
    // Half-way between two points there is plot area, not curve.
    EXPECT_EQ(at(image, graph.xPos(5.525f), graph.yPos(20 * 0.525f) - 400), color(disp->ForeColor()));
}

TEST_F(GraphPaint, EveryShapeIsDrawnAndUnknownShapesDrawNothing)
{
    clsTz4DataSet* record = addRecord(QStringLiteral("1 W"), scan());
    for (int style : {dotstyle::Square, dotstyle::UpperTriangle, dotstyle::LowerTriangle, dotstyle::Diamond}) {
        disp->setDotStyle(style);
        const QImage image = render();
        EXPECT_EQ(at(image, graph.xPos(record->ValueX(20)), graph.yPos(record->ValueY(20))), color(kRed)) << style;
    }
    disp->setDotStyle(7);
    EXPECT_EQ(countColor(render(), color(kRed), QRectF(), false), 0);
}

TEST_F(GraphPaint, NothingOfTheCurveLiesOutsideThePlotArea)
{
    clsTz4DataSet* record = addRecord(QStringLiteral("1 W"), scan());
    // A shown range narrower than the data: the joining line runs towards points outside it.
    setRange(record, {4.8f, 5.6f, 0.1f}, {0, 8, 1});
    disp->setLineVisible(true);
    disp->setLineColor(kBlue);
    disp->setDotSize(15);
    const QImage image = render();
    ASSERT_TRUE(graph.Plottable());
    // Markers of points on the edges may reach over them by their size.
    const QRectF reach = graph.plotRect().adjusted(-30, -30, 30, 30);
    EXPECT_EQ(countColor(image, color(kBlue), reach, false), 0);
    EXPECT_EQ(countColor(image, color(kRed), reach, false), 0);
    EXPECT_GT(countColor(image, color(kBlue), graph.plotRect(), true), 100);
}

TEST_F(GraphPaint, WorkFunctionLineStandsWhereTheAnalysisPutsIt)
{
    clsTz4DataSet* record = addRecord(QStringLiteral("1 W"), scan(2));
    record->setParameters(param::GroundX1, 4.5f);
    record->setParameters(param::GroundY1, 0.0f);
    record->setParameters(param::GroundX2, 4.95f);
    record->setParameters(param::GroundY2, 10.0f);
    record->setParameters(param::FitX1, 5.2f);
    record->setParameters(param::FitY1, 0.0f);
    record->setParameters(param::FitX2, 6.0f);
    record->setParameters(param::FitY2, 40.0f);
    record->RefreshGFlag();
    record->Refresh();
    setRange(record, {0, 0, 0}, {0, 25, 0});
    const float a = record->Parameters(param::Gradient).toFloat();
    const float b = record->Parameters(param::Intercept).toFloat();
    ASSERT_NEAR(a, 20, 0.01);
    ASSERT_NEAR(record->Parameters(param::GroundLevel).toFloat(), 2, 0.01);

    disp->setFuncColor(kBlue);
    disp->setFuncStyle(penstyle::Solid);
    disp->setGndColor(kGreen);
    disp->setGndStyle(penstyle::Solid);
    disp->setDotStyle(99); // no markers in the way
    const QImage image = render();
    for (float x : {5.12f, 5.33f, 5.71f}) {
        EXPECT_TRUE(near(image, graph.xPos(x), graph.yPos(a * x + b), color(kBlue))) << x;
        EXPECT_TRUE(near(image, graph.xPos(x), graph.yPos(2), color(kGreen))) << x;
    }
    // With the ground subtracted, or at a ground level of 0, there is no ground line.
    record->setGndDown(true);
    EXPECT_EQ(countColor(render(), color(kGreen), QRectF(), false), 0);
}

TEST_F(GraphPaint, WorkFunctionLineIsCutExactlyAtThePlotEdges)
{
    clsTz4DataSet* record = addRecord(QStringLiteral("1 W"), scan());
    setRange(record, {4.0f, 6.0f, 0.5f}, {0, 10, 1});
    render();
    // Leaves through the top at (PosYMax - b) / a, enters through the bottom at (PosYMin - b) / a.
    QLineF s = graph.ClipWFSegment(20, -100);
    EXPECT_FLOAT_EQ(s.x1(), 5.0f);
    EXPECT_FLOAT_EQ(s.y1(), 0);
    EXPECT_FLOAT_EQ(s.x2(), 5.5f);
    EXPECT_FLOAT_EQ(s.y2(), 10);
    // Wholly inside: from edge to edge.
    s = graph.ClipWFSegment(1, 2);
    EXPECT_EQ(s, QLineF(4, 6, 6, 8));
    // Falling: enters through the top, leaves through the bottom.
    s = graph.ClipWFSegment(-20, 120);
    EXPECT_FLOAT_EQ(s.x1(), 5.5f);
    EXPECT_FLOAT_EQ(s.y1(), 10);
    EXPECT_FLOAT_EQ(s.x2(), 6.0f);
    EXPECT_FLOAT_EQ(s.y2(), 0);
    EXPECT_EQ(graph.ClipWFSegment(0, 3), QLineF(4, 3, 6, 3));
}

TEST_F(GraphPaint, RecordsNotSelectedFadeTowardsThePlotColour)
{
    disp->setOverLayLevel(0.5f);
    // Black is stored as 1; half-way to 0xC0D8FF byte by byte, halves to even.
    EXPECT_EQ(uclTz4Graph::OverLayColor(*disp, 1), bgrOf(128, 108, 96));
    EXPECT_EQ(uclTz4Graph::OverLayColor(*disp, kBlue), bgrOf(128, 108, 224));
    disp->setOverLayLevel(1);
    EXPECT_EQ(uclTz4Graph::OverLayColor(*disp, kBlue), kBlue);
    disp->setOverLayLevel(0);
    EXPECT_EQ(uclTz4Graph::OverLayColor(*disp, kBlue), disp->ForeColor());

    clsTz4DataSet* front = addRecord(QStringLiteral("1 W"), scan());
    clsTz4DataSet* back = addRecord(QStringLiteral("2 W"), scan(5));
    items.setSelectedItem(front);
    render();
    const QPointF backPoint(graph.xPos(back->ValueX(25)), graph.yPos(back->ValueY(25)));

    disp->setOverLayLevel(0.5f);
    QImage image = render();
    EXPECT_EQ(at(image, backPoint.x(), backPoint.y()), color(uclTz4Graph::OverLayColor(*disp, kRed)));
    EXPECT_EQ(at(image, graph.xPos(front->ValueX(25)), graph.yPos(front->ValueY(25))), color(kRed));

    disp->setOverLayLevel(1);
    image = render();
    EXPECT_EQ(at(image, backPoint.x(), backPoint.y()), color(kRed));

    // Only the selected record is drawn.
    disp->setOverLayLevel(0);
    image = render();
    EXPECT_EQ(at(image, backPoint.x(), backPoint.y()), color(disp->ForeColor()));
}

TEST_F(GraphPaint, OnAPageTheGraphIsPlacedAtItsOriginAndFramedInBlack)
{
    addRecord(QStringLiteral("1 W"), scan());
    render();
    const QRectF own = graph.plotRect();
    QImage page(1200, 900, QImage::Format_RGB32);
    page.setDotsPerMeterX(3780);
    page.setDotsPerMeterY(3780);
    page.fill(Qt::white);
    graph.setOriginLeft(1500);
    graph.setOriginTop(3000);
    graph.setSize(14400, 9000);
    QPainter painter(&page);
    graph.Refresh(painter, uclTz4Graph::Surface::Foreign);
    painter.end();
    EXPECT_FLOAT_EQ(graph.PlotLeft(), own.left() + 1500);
    EXPECT_FLOAT_EQ(graph.PlotTop(), own.top() + 3000);
    // The page keeps its own background; the frame runs round the graph's place.
    EXPECT_EQ(at(page, 750, 750), QColor(Qt::white));
    EXPECT_EQ(at(page, 1500, 6000), QColor(Qt::black));
    EXPECT_EQ(at(page, 9000, 3000), QColor(Qt::black));
    EXPECT_EQ(at(page, graph.PlotLeft() + 600, graph.PlotTop() + 600), color(disp->ForeColor()));
}

TEST_F(GraphPaint, AHighDensityPictureShowsTheSameGraphInFinerPixels)
{
    clsTz4DataSet* record = addRecord(QStringLiteral("1 W"), scan());
    render();
    const QRectF plot = graph.plotRect();
    QImage fine(1920, 1200, QImage::Format_RGB32);
    fine.setDevicePixelRatio(2);
    fine.setDotsPerMeterX(3780);
    fine.setDotsPerMeterY(3780);
    QPainter painter(&fine);
    graph.Refresh(painter);
    painter.end();
    EXPECT_EQ(graph.plotRect(), plot);
    for (int i : {0, 15, 30}) {
        const QPointF at(graph.xPos(record->ValueX(i)) / kTwipsPerPixel, graph.yPos(record->ValueY(i)) / kTwipsPerPixel);
        EXPECT_EQ(fine.pixelColor((2 * at).toPoint()), color(kRed)) << i;
    }
}

} // namespace
} // namespace tz4::test
