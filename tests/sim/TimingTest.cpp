#include "tests/sim/SimTestSupport.h"

#include <gtest/gtest.h>

using tz4::sim::test::Conversation;

// Time-outs the host allows, in milliseconds (ticks of 200 ms).
constexpr qint64 kTicks10 = 10 * 200;
constexpr qint64 kTicks50 = 50 * 200;
constexpr qint64 kTicks600 = 600 * 200;

TEST(Timing, CountingLastsTheCountingTime)
{
    Conversation c;
    c.text("TS1000");
    const auto ten = c.ask("CS");
    EXPECT_GE(ten.elapsedMs, 10'000);
    EXPECT_LT(ten.elapsedMs, 10'100);
    c.text("TS0100");
    const auto one = c.ask("CS");
    EXPECT_GE(one.elapsedMs, 1000);
    EXPECT_LT(one.elapsedMs, 1100);
}

TEST(Timing, RegisterAnswersComeWithinAFewMilliseconds)
{
    Conversation c;
    for (const char* command : {"ES", "RS", "TS", "FS", "LS", "XS", "VS", "OO", "WS0000", "WO", "BO00", "BL"}) {
        const auto a = c.ask(command);
        EXPECT_GT(a.elapsedMs, 0) << command;
        EXPECT_LT(a.elapsedMs, 20) << command;
    }
}

// Iris, wheel and stage answer on arrival, within the host's 10 s move time-out, so the
// short time-out of the next register command is never eaten by a motion.
TEST(Timing, MechanicalMovesAnswerOnArrivalWithinTheHostsTimeOut)
{
    Conversation c;
    const auto iris = c.ask("EL1");
    EXPECT_GT(iris.elapsedMs, 2000);
    EXPECT_LT(iris.elapsedMs, kTicks50);
    EXPECT_LT(c.ask("RS9").elapsedMs, 100);
    const auto stage = c.ask("XL1");
    EXPECT_GT(stage.elapsedMs, 2000);
    EXPECT_LT(stage.elapsedMs, kTicks50);
    const auto wheel = c.ask("FS4");
    EXPECT_GT(wheel.elapsedMs, 1000);
    EXPECT_LT(wheel.elapsedMs, kTicks50);
    EXPECT_LT(c.ask("VS2500").elapsedMs, kTicks50);
    EXPECT_LT(c.ask("SS").elapsedMs, 20 * 200);
}

// The monochromator acknowledges at once, even a 10 nm approach the host may time out after a
// single tick; the next command ("KS" when the host waits for idle) is answered once it stops.
TEST(Timing, MonochromatorAcknowledgesAtOnceAndKSWaitsUntilItStops)
{
    Conversation c;
    const auto ack = c.ask("LS3650");
    EXPECT_EQ(ack.text, "OK");
    EXPECT_LT(ack.elapsedMs, 10);
    const auto idle = c.ask("KS");
    EXPECT_GT(ack.elapsedMs + idle.elapsedMs, 1000);
    EXPECT_LT(ack.elapsedMs + idle.elapsedMs, kTicks10);
    EXPECT_LT(c.ask("LO1").elapsedMs, 10);
    EXPECT_LT(c.ask("KS").elapsedMs, kTicks600);
    EXPECT_EQ(c.text("LS"), "2500");

    // Counting starts only after the grating has stopped.
    c.text("TS0100");
    c.text("LS3650");
    EXPECT_GT(c.ask("CS").elapsedMs, 1000 + 1000);
}

TEST(Timing, SpeedScalesTheWaits)
{
    tz4::sim::SimOptions fast;
    fast.speed = 100;
    Conversation c(fast);
    c.text("TS1000");
    const auto a = c.ask("CS");
    EXPECT_GE(a.elapsedMs, 100);
    EXPECT_LT(a.elapsedMs, 110);
}
