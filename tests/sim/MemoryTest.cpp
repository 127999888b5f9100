#include "tests/sim/SimTestSupport.h"

#include "sim/CalibrationMemory.h"
#include "sim/CountingModel.h"
#include "sim/LightModel.h"
#include "sim/Mechanics.h"

#include <gtest/gtest.h>

using tz4::sim::CalibrationMemory;
using tz4::sim::LightModel;
using tz4::sim::test::Conversation;

TEST(CalibrationMemory, HoldsDeadTimePositionsGainsAndSensitivitiesWhereTheHostReadsThem)
{
    Conversation c;
    LightModel light;
    EXPECT_EQ(c.text("WS0000"), "OK");
    const QByteArray deadTime = c.twoWords();
    EXPECT_EQ(deadTime, "0.000050");
    EXPECT_DOUBLE_EQ(deadTime.toDouble(), tz4::sim::CountingModel::kDeadTime);

    const int positions[8] = {tz4::sim::mechanics::kStageSample, 0, tz4::sim::mechanics::kStagePhotoDiode, 0,
                              tz4::sim::mechanics::kStageCarbon, 0, tz4::sim::mechanics::kStageSampleOut, 0};
    for (int p : positions)
        EXPECT_EQ(c.number("WO"), p);

    c.text("WS0016");
    for (int range = 1; range <= 9; ++range)
        EXPECT_NEAR(c.twoWords().toDouble(), light.rangeGain(range), 1e-5) << range;

    c.text("WS0064");
    for (int entry = 0; entry < 59; ++entry)
        EXPECT_NEAR(c.twoWords().toDouble(), light.sensitivity(3.40 + 0.05 * entry), 1e-6) << entry;
    // Erased words are not numbers.
    EXPECT_EQ(c.text("WO"), "FFFF");
}

TEST(CalibrationMemory, WritesAdvanceThePointerAndStayWithinTheChip)
{
    Conversation c;
    c.text("WS0001");
    EXPECT_EQ(c.text("WO0.00"), "OK");
    EXPECT_EQ(c.text("WO1000"), "OK");
    c.text("WS0001");
    EXPECT_EQ(c.twoWords(), "0.001000");
    EXPECT_EQ(c.text("WO12345"), "ERROR 16");
    EXPECT_EQ(c.text("WS0256"), "ERROR 15");
    c.text("WS0255");
    c.text("WO");
    EXPECT_EQ(c.text("WO"), "ERROR 15");
}

TEST(CalibrationMemory, EightCharacterNumbersKeepAsManyDecimalsAsFit)
{
    EXPECT_EQ(CalibrationMemory::eightCharNumber(0.000001), "0.000001");
    EXPECT_EQ(CalibrationMemory::eightCharNumber(25.12), "25.12000");
    EXPECT_EQ(CalibrationMemory::eightCharNumber(0.02508), "0.025080");
    EXPECT_EQ(CalibrationMemory::eightCharNumber(1234.5), "1234.500");
}

TEST(SpanMemory, FactoryTableServesTheDefaultIntensitiesWithOverlappingFilters)
{
    Conversation c;
    auto slot = [&](int address) {
        c.text("BO" + QByteArray::number(address).rightJustified(2, '0'));
        return c.number("BL");
    };
    const double min4 = slot(4);
    double max[5];
    for (int r = 1; r <= 4; ++r)
        max[r] = slot(5 + r);
    // Each filter takes over where the next denser one ends, from a few nW up to several hundred.
    EXPECT_GT(max[1], max[2]);
    EXPECT_GT(max[2], max[3]);
    EXPECT_GT(max[3], max[4]);
    EXPECT_GT(max[4], min4);
    EXPECT_LE(min4, 10);
    EXPECT_GE(max[4], 20);
    EXPECT_GE(max[1], 500);
    for (int r = 1; r <= 4; ++r)
        EXPECT_GE(slot(10 + r), 1) << r;

    // The host writes powers and ranges in its own pictures and reads them back.
    EXPECT_EQ(c.text("BO06"), "OK");
    EXPECT_EQ(c.text("BL0512.500"), "OK");
    EXPECT_EQ(c.text("BL"), "0512.500");
    EXPECT_EQ(c.text("BO11"), "OK");
    EXPECT_EQ(c.text("BL00000003"), "OK");
    EXPECT_EQ(c.text("BL"), "00000003");
}
