#include "tests/graph/GraphFixture.h"

#include <cmath>

namespace tz4::test {
namespace {

using GraphScale = GraphFixture;

std::vector<std::pair<float, float>> line(int count, float x0, float dx, float y0, float dy)
{
    std::vector<std::pair<float, float>> points;
    for (int i = 0; i < count; ++i)
        points.emplace_back(x0 + dx * i, y0 + dy * i);
    return points;
}

TEST_F(GraphScale, EmptyCollectionDrawsOnlyTheBackground)
{
    items.RefreshParam();
    const QImage image = render();
    EXPECT_EQ(graph.ScaleFactorX(), 0);
    EXPECT_EQ(graph.ScaleFactorY(), 0);
    EXPECT_FALSE(graph.Plottable());
    const QColor back = color(disp->BackColor());
    EXPECT_EQ(countColor(image, back, QRectF(), false), image.width() * image.height());
}

TEST_F(GraphScale, RangesFollowTheUserRangeAndFallBackBoundByBound)
{
    clsTz4DataSet* record = addRecord(QStringLiteral("1 W"), line(11, 4.0f, 0.2f, 0, 4));
    // a: the whole user range.
    setRange(record, {3.5f, 7.0f, 0}, {1, 30, 0});
    render();
    EXPECT_FLOAT_EQ(graph.PosXMin(), 3.5f);
    EXPECT_FLOAT_EQ(graph.PosXMax(), 7.0f);
    EXPECT_FLOAT_EQ(graph.PosYMin(), 1);
    EXPECT_FLOAT_EQ(graph.PosYMax(), 30);
    // b: a user maximum left at 0 keeps the user's minimum and takes the data's maximum.
    setRange(record, {4.5f, 0, 0}, {0, 0, 0});
    render();
    EXPECT_FLOAT_EQ(graph.PosXMin(), 4.5f);
    EXPECT_FLOAT_EQ(graph.PosXMax(), 6.0f);
    // c: a minimum beyond the data keeps only the user's maximum.
    setRange(record, {9, 5.5f, 0}, {0, 0, 0});
    render();
    EXPECT_FLOAT_EQ(graph.PosXMin(), 4.0f);
    EXPECT_FLOAT_EQ(graph.PosXMax(), 5.5f);
    // d: nothing usable.
    setRange(record, {9, 2, 0}, {0, 0, 0});
    render();
    EXPECT_FLOAT_EQ(graph.PosXMin(), 4.0f);
    EXPECT_FLOAT_EQ(graph.PosXMax(), 6.0f);
    EXPECT_FLOAT_EQ(graph.PosYMin(), 0);
    EXPECT_FLOAT_EQ(graph.PosYMax(), 40);
}

TEST_F(GraphScale, StepsComeFromTheUserUnlessTheyWouldNeed120Ticks)
{
    clsTz4DataSet* record = addRecord(QStringLiteral("1 W"), line(21, 4.0f, 0.1f, 0, 2));
    setRange(record, {4.0f, 6.0f, 0.5f}, {0, 40, 4});
    render();
    EXPECT_FLOAT_EQ(graph.PosXStp(), 0.5f);
    EXPECT_FLOAT_EQ(graph.PosYStp(), 4);
    // 200 ticks: the step falls back to the data's point spacing, and Y to a tenth of its range.
    setRange(record, {4.0f, 6.0f, 0.01f}, {0, 40, 0.1f});
    render();
    EXPECT_NEAR(graph.PosXStp(), 0.1f, 1e-6);
    EXPECT_FLOAT_EQ(graph.PosYStp(), 4);
    EXPECT_TRUE(graph.Plottable());
}

TEST_F(GraphScale, PlotCornerAndMappingRoundTrip)
{
    addRecord(QStringLiteral("1 W"), line(5, 1, 1, 10, 10));
    render();
    // Without titles the plot starts 120 twips below the top.
    EXPECT_FLOAT_EQ(graph.PlotTop(), 120);
    EXPECT_FLOAT_EQ(graph.xPos(graph.PosXMin()), graph.PlotLeft());
    EXPECT_FLOAT_EQ(graph.yPos(graph.PosYMin()), graph.PlotTop() + graph.PlotHeight());
    EXPECT_FLOAT_EQ(graph.yPos(graph.PosYMax()), graph.PlotTop());
    EXPECT_NEAR(graph.xData(graph.xPos(3.25f)), 3.25f, 1e-4);
    EXPECT_NEAR(graph.yData(graph.yPos(27.5f)), 27.5f, 1e-3);

    graph.setTitleX(QStringLiteral("Energy (eV)"));
    graph.setTitleY(QStringLiteral("Yield"));
    const float plainHeight = graph.PlotHeight();
    render();
    EXPECT_GT(graph.PlotTop(), 120);
    EXPECT_LT(graph.PlotHeight(), plainHeight);
}

TEST_F(GraphScale, YTicksStandAtEveryStepButNotAtTheMinimum)
{
    clsTz4DataSet* record = addRecord(QStringLiteral("1 W"), line(11, 4.0f, 0.2f, 0, 4));
    setRange(record, {4.0f, 6.0f, 0.5f}, {0, 40, 4});
    disp->setScaleColor(0x00FF00); // green ticks, distinct from everything else
    const QImage image = render();
    const QColor scale = color(0x00FF00);
    const double tickX = graph.PlotLeft() - 10;
    for (int k = 1; k <= 10; ++k)
        EXPECT_EQ(at(image, tickX, graph.yPos(4.0f * k)), scale) << "tick at " << 4 * k;
    EXPECT_NE(at(image, tickX, graph.yPos(0)), scale);
}

TEST_F(GraphScale, TicksAndLabelsStayInsideThePicture)
{
    disp->setScaleColor(0x00FF00);
    const QColor scale = color(0x00FF00);
    // A step that does not divide the range (29.8 / 3, 31.8 / 4) ends at the last whole step.
    clsTz4DataSet* record = addRecord(QStringLiteral("1 W"), line(30, 1, 1, 0, 1));
    setRange(record, {1, 30.8f, 3}, {0, 31.8f, 4});
    QImage image = render();
    const double right = graph.PlotLeft() + graph.PlotWidth();
    const QRectF beyondRight(right + 2 * kTwipsPerPixel, graph.PlotTop() + graph.PlotHeight(),
                             image.width() * kTwipsPerPixel, 60);
    EXPECT_EQ(countColor(image, scale, beyondRight, true), 0) << "an X tick beyond the frame";
    const QRectF aboveTop(0, 0, graph.PlotLeft(), graph.PlotTop() - 2 * kTwipsPerPixel);
    EXPECT_EQ(countColor(image, scale, aboveTop, true), 0) << "a Y tick above the frame";

    // A wide label on the right edge ends inside the picture.
    graph.setScaleXFormat(QStringLiteral("##0.00000"));
    setRange(record, {1, 31, 3}, {0, 30, 4});
    image = render();
    const QColor back = color(disp->BackColor());
    const int labelsTop = int((graph.PlotTop() + graph.PlotHeight()) / kTwipsPerPixel) + 2;
    int inked = 0;
    for (int y = labelsTop; y < image.height(); ++y)
        inked += image.pixelColor(image.width() - 1, y) != back;
    EXPECT_EQ(inked, 0) << "the last label runs off the picture";
    const double edge = graph.PlotLeft() + graph.PlotWidth();
    const QRectF rightOfFrame(edge + kTwipsPerPixel, 0, image.width() * kTwipsPerPixel - edge,
                              image.height() * kTwipsPerPixel);
    EXPECT_GT(countColor(image, scale, rightOfFrame, true), 0) << "the label of the last tick";
}

TEST_F(GraphScale, ValuesThatAreNotNumbersNeitherScaleNorDraw)
{
    clsTz4DataSet* record = addRecord(QStringLiteral("1 W"), line(6, 4.0f, 0.5f, 0, 10));
    record->setValueY(INFINITY, 2);
    record->setValueX(NAN, 3);
    record->setDataY(1, INFINITY);
    items.RefreshParam();
    render();
    EXPECT_TRUE(graph.Plottable());
    EXPECT_FLOAT_EQ(graph.PosXMax(), 6.5f);
    EXPECT_FLOAT_EQ(graph.PosYMax(), 50);
}

} // namespace
} // namespace tz4::test
