#include "data/RecordAnalysis.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace tz4;

// The analysis runs on points, settings and a calibration held in memory: no record, no database.

TEST(RecordAnalysis, CorrectsAScanByItsLightTable)
{
    RecordCalibration light;
    light.setLightPoints({{340, 2.0f}, {425, 4.0f}, {620, 6.0f}});
    ASSERT_EQ(light.lightTable().size(), 71u);
    light.setLightPoints({});
    EXPECT_EQ(light.lightTable().size(), 71u) << "no light points leave the table as it was";

    RecordSettings settings;
    settings.adjustNo = 1;
    settings.adjustFlag = true;
    settings.measLight = 8;
    RecordPoints points;
    points.setCount(3, false);
    points.x = {4.25f, 4.30f, 3.40f};
    points.y = {50, 50, 10};
    RecordAnalysis analysis;
    analysis.refresh(RecordKinds::KindW, settings, light, points);
    EXPECT_FLOAT_EQ(points.plotY[0], float(((50.0 * 8) / 4.0) * 4.25 / 5.9));
    EXPECT_FLOAT_EQ(points.plotY[1], 50.0f) << "no light value at 4.30 eV: left uncorrected";
    EXPECT_FLOAT_EQ(points.plotY[2], float(((10.0 * 8) / 2.0) * 3.40f / 5.9));
    EXPECT_FLOAT_EQ(points.rangeX[0], 3.40f);
    EXPECT_FLOAT_EQ(points.rangeX[1], 4.30f);

    settings.adjustFlag = false;
    analysis.refresh(RecordKinds::KindW, settings, light, points);
    EXPECT_FLOAT_EQ(points.plotY[0], 50.0f);

    // Many light points make a longer table: one entry per 0.05 eV for each.
    std::vector<std::pair<double, float>> many;
    for (int i = 0; i < 20; ++i)
        many.emplace_back(340 + 5 * i, 1.0f);
    light.setLightPoints(many);
    EXPECT_EQ(light.lightTable().size(), 101u);
}

TEST(RecordAnalysis, PlotsCountsThroughTheCalibrationLine)
{
    RecordCalibration line;
    line.fitLine({{10.0f, 100.0f}, {100.0f, 200.0f}, {1000.0f, 300.0f}});
    EXPECT_NEAR(line.lineGradient(), 100.0f, 1e-3);
    EXPECT_NEAR(line.thicknessOf(316.227766f), 250.0f, 1e-3);
    EXPECT_EQ(line.thicknessOf(0), 0.0f);

    RecordSettings settings;
    settings.adjustNo = 1;
    settings.adjustFlag = true;
    settings.thick = 5;
    RecordPoints points;
    points.setCount(2, true);
    points.y = {316.227766f, 1.0f};
    RecordAnalysis analysis;
    analysis.refresh(RecordKinds::KindC, settings, line, points);
    EXPECT_NEAR(analysis.gradient(), 100.0f, 1e-3) << "a C record's line is its calibration line";
    EXPECT_NEAR(points.plotY[0], 255.0f, 1e-3) << "plotted with the shift";
    EXPECT_NEAR(points.plotY[1], 5.0f, 1e-3);

    line.clearLine();
    analysis.refresh(RecordKinds::KindC, settings, line, points);
    EXPECT_EQ(analysis.gradient(), 0.0f);
    EXPECT_FLOAT_EQ(points.plotY[0], 5.0f);
}

TEST(RecordAnalysis, FitsAPoweredScanAndItsUncertainty)
{
    // sqrt(yield) = 3E - 15 above 5.5 eV over a 4 cps ground, with some scatter on the line.
    RecordSettings settings;
    settings.expLog = true;
    settings.gndDown = true;
    RecordPoints points;
    points.setCount(16, false);
    for (size_t i = 0; i < 16; ++i) {
        const double e = i < 5 ? 3.4 + 0.05 * double(i) : 5.5 + 0.05 * double(i - 5);
        const double wobble = i % 2 ? 0.02 : -0.02;
        points.x[i] = float(e);
        points.y[i] = float(i < 5 ? 4.0 : std::pow(3 * e - 15 + wobble, 2) + 4);
        points.ground[i] = i < 5;
        points.fit[i] = i >= 5;
    }
    RecordAnalysis analysis;
    analysis.refresh(RecordKinds::KindW, settings, RecordCalibration(), points);
    EXPECT_FLOAT_EQ(analysis.groundLevel(), 2.0f);
    EXPECT_NEAR(analysis.workFunction(), 5.0, 0.01);
    EXPECT_GT(analysis.uncertaintyStatistical(), 0.0);
    EXPECT_GT(analysis.uncertaintyRange(), 0.0);
    EXPECT_NEAR(analysis.uncertainty(), std::hypot(analysis.uncertaintyStatistical(), analysis.uncertaintyRange()), 1e-12);
    EXPECT_LT(analysis.uncertainty(), 0.05);

    // A T record fits its points but has no work function.
    RecordAnalysis line;
    line.refresh(RecordKinds::KindT, settings, RecordCalibration(), points);
    EXPECT_EQ(line.workFunction(), 0.0f);
    EXPECT_NE(line.gradient(), 0.0f);
}
