#include "tests/sim/SimTestSupport.h"

#include <gtest/gtest.h>

#include <utility>

using tz4::sim::test::Conversation;

TEST(CommandTable, RegistersReadBackWhatWasWrittenInTheirOwnPictures)
{
    Conversation c;
    // Set command, then what the bare register answers.
    const std::pair<const char*, const char*> table[] = {
        {"TS1000", "1000"}, {"ES1234", "1234"}, {"RS9", "9"},      {"AS1", "1"},       {"DS1", "1"},
        {"GS0", "0"},       {"HO005", "005"},   {"JS1800", "1800"}, {"VS0750", "0750"}, {"FS2", "2"},
        {"LS3000", "3000"},
        // The stage takes tenths and reports hundredths.
        {"XS0150", "01500"},
    };
    for (const auto& [set, answer] : table) {
        EXPECT_EQ(c.text(set), "OK") << set;
        EXPECT_EQ(c.text(QByteArray(set).left(2)), answer) << set;
    }
    EXPECT_EQ(c.text("HS"), "000"); // each unit has its own LED
}

TEST(CommandTable, SequencesMoveToTheirEndStops)
{
    Conversation c;
    c.text("ES0700");
    EXPECT_EQ(c.text("EL1"), "OK");
    EXPECT_EQ(c.text("ES"), "2000");
    EXPECT_EQ(c.text("EO1"), "OK");
    EXPECT_EQ(c.text("ES"), "0000");
    c.text("FS3");
    EXPECT_EQ(c.text("FO1"), "OK");
    EXPECT_EQ(c.text("FS"), "0");
    c.text("LS3000");
    EXPECT_EQ(c.text("LO1"), "OK");
    EXPECT_EQ(c.text("LS"), "2500");
    EXPECT_EQ(c.text("XL1"), "OK");
    EXPECT_EQ(c.text("XS"), "16000");
    EXPECT_EQ(c.text("XO1"), "OK");
    EXPECT_EQ(c.text("XS"), "00040");
}

TEST(CommandTable, ReadOnlyRegistersParseTheWayTheHostConvertsThem)
{
    Conversation c;
    EXPECT_EQ(c.text("IO").size(), 3);
    EXPECT_EQ(c.text("IO").at(2), '0'); // door closed
    EXPECT_NEAR(c.number("PS") / 10, 12.0, 0.3);
    EXPECT_NEAR(c.number("QS") / 10, 24.0, 0.3);
    EXPECT_NEAR(c.number("US") / 10, 5.0, 0.3);
    const QByteArray counts = c.text("CS");
    bool ok = false;
    EXPECT_GE(counts.toShort(&ok), 0);
    EXPECT_TRUE(ok);
    const QByteArray diode = c.text("KS");
    EXPECT_EQ(diode.size(), 5);
    EXPECT_GT(diode.toInt(&ok), 0);
    EXPECT_TRUE(ok);
}

TEST(CommandTable, HealthyUnitsAnswerDiagnosisWithClearFaultBits)
{
    Conversation c;
    const QByteArray light = c.text("SS");
    const QByteArray stage = c.text("SO");
    ASSERT_EQ(light.size(), 5);
    ASSERT_EQ(stage.size(), 6);
    EXPECT_EQ(light.at(0), '2');
    EXPECT_EQ(stage.at(0), '2');
    // Every fault bit the host decodes is clear.
    EXPECT_EQ(light.mid(1, 2).toInt(nullptr, 16) & 0x3F, 0);
    EXPECT_EQ(light.mid(3, 2).toInt(nullptr, 16) & 0x3C, 0);
    EXPECT_EQ(stage.mid(2, 2).toInt(nullptr, 16) & 0x3F, 0);
    EXPECT_EQ(stage.mid(4, 2).toInt(nullptr, 16) & 0x3E, 0);
}

TEST(CommandTable, ArgumentsOutOfRangeAreRefusedAndChangeNothing)
{
    Conversation c;
    c.text("ES0500");
    c.text("FS1");
    for (const char* bad : {"ES2001", "ES12a4", "RS0", "RS10", "FS5", "FS99", "AS2", "GS11", "LS1899", "LS4001",
                            "XS1601", "VS4501", "TS0000", "JS3001", "HO256", "EO2", "XL0", "BO15", "BO1", "BLabc"})
        EXPECT_EQ(c.text(bad), "ERROR 16") << bad;
    EXPECT_EQ(c.text("ES"), "0500");
    EXPECT_EQ(c.text("FS"), "1");
}

TEST(CommandTable, UnknownCommandsAnswerError10)
{
    Conversation c;
    for (const char* bad : {"ZZ", "QQ1", "ss", "X", "CS5", "KS1", "SS0", "OO12"})
        EXPECT_EQ(c.text(bad), "ERROR 10") << bad;
}

TEST(CommandTable, WarmUpClockCountsSecondsSincePowerOn)
{
    tz4::sim::SimOptions cold;
    cold.cold = true;
    Conversation c(cold);
    c.clock.advance(600'000);
    EXPECT_EQ(c.text("OS"), "OK");
    EXPECT_EQ(c.number("OO"), 600);
    // OO reports the moment of the last OS.
    c.clock.advance(5000);
    EXPECT_EQ(c.number("OO"), 600);

    Conversation warm;
    warm.text("OS");
    EXPECT_GE(warm.number("OO"), 1800);
}
