#include "tests/sim/SimTestSupport.h"

#include "sim/FaultPlan.h"

#include <gtest/gtest.h>

#include <stdexcept>

using tz4::sim::FaultPlan;
using tz4::sim::test::Conversation;
using tz4::sim::test::withFaults;

TEST(Faults, NoReplyLeavesTheLineSilentButStillActs)
{
    Conversation c(withFaults({"no-reply@ES"}));
    c.line.write("ES1500\r");
    c.clock.advance(60'000);
    EXPECT_TRUE(c.received.isEmpty());
    EXPECT_EQ(c.line.simulator().iris(), 1500);
    // Faults can be lifted while the instrument runs.
    c.line.simulator().faults().clear();
    EXPECT_EQ(c.text("ES"), "1500");
}

TEST(Faults, SplitRepliesArriveInSeveralPieces)
{
    Conversation c(withFaults({"split"}));
    const auto a = c.ask("SS");
    EXPECT_EQ(a.text, "24040");
    EXPECT_EQ(c.receiveEvents, 3);
    EXPECT_EQ(c.received, "24040\r");
}

TEST(Faults, MergedRepliesBringASecondLineInTheSameEvent)
{
    Conversation c(withFaults({"merge"}));
    const auto a = c.ask("RS");
    EXPECT_EQ(c.receiveEvents, 1);
    EXPECT_EQ(c.received, "9\r9\r");
}

TEST(Faults, GarbageIsNeitherANumberNorAnError)
{
    Conversation c(withFaults({"garbage@TS"}));
    const QByteArray text = c.text("TS");
    bool ok = true;
    text.toInt(&ok);
    EXPECT_FALSE(ok);
    EXPECT_FALSE(text.toUpper().contains("ERROR"));
    EXPECT_FALSE(text.contains('\r'));
    EXPECT_EQ(c.text("ES"), "0000");
}

TEST(Faults, ErrorRepliesCarryTheirNumber)
{
    Conversation all(withFaults({"error:5"}));
    EXPECT_EQ(all.text("ES"), "ERROR 5");
    EXPECT_EQ(all.text("SS"), "ERROR 5");
    Conversation one(withFaults({"error:16@VS"}));
    EXPECT_EQ(one.text("VS2500"), "ERROR 16");
    EXPECT_EQ(one.text("ES"), "0000");
}

TEST(Faults, OpenDoorShowsInIOAndBlocksTheHighVoltages)
{
    Conversation c(withFaults({"door-open"}));
    EXPECT_EQ(c.text("IO").at(2), '1');
    EXPECT_EQ(c.text("GS1"), "ERROR 14");
    EXPECT_EQ(c.text("VS2500"), "ERROR 14");
    EXPECT_EQ(c.text("VS0001"), "OK");
    EXPECT_EQ(c.text("GS0"), "OK");
}

TEST(Faults, FailedDiagnosisFlagsFaultsAndFailsTheUnitCheck)
{
    Conversation c(withFaults({"diag-fail@SS"}));
    const QByteArray light = c.text("SS");
    ASSERT_EQ(light.size(), 5);
    EXPECT_NE(light.at(0), '2');
    EXPECT_NE(light.mid(1, 2).toInt(nullptr, 16) & 0x3F, 0);
    EXPECT_EQ(c.text("SO"), "224040");
}

TEST(Faults, UnreadableFaultNamesAreRejected)
{
    EXPECT_THROW(FaultPlan::parse({"wobble"}), std::invalid_argument);
    EXPECT_THROW(FaultPlan::parse({"error"}), std::invalid_argument);
    EXPECT_THROW(FaultPlan::parse({"error:x"}), std::invalid_argument);
    EXPECT_THROW(FaultPlan::parse({"split:3"}), std::invalid_argument);
    EXPECT_THROW(FaultPlan::parse({"split@"}), std::invalid_argument);
    const FaultPlan plan = FaultPlan::parse({"no-reply@cs", "error:16"});
    EXPECT_TRUE(plan.applies(FaultPlan::Kind::NoReply, "CS"));
    EXPECT_FALSE(plan.applies(FaultPlan::Kind::NoReply, "KS"));
    EXPECT_EQ(plan.errorFor("KS"), 16);
}
