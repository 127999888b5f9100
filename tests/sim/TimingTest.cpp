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

TEST(Timing, MovesTakeRealisticTimesWithinTheHostsTimeOuts)
{
    Conversation c;
    const auto iris = c.ask("EL1");
    EXPECT_GT(iris.elapsedMs, 2000);
    EXPECT_LT(iris.elapsedMs, kTicks50);
    const auto stage = c.ask("XL1");
    EXPECT_GT(stage.elapsedMs, 2000);
    EXPECT_LT(stage.elapsedMs, kTicks50);
    const auto wheel = c.ask("FS4");
    EXPECT_GT(wheel.elapsedMs, 1000);
    EXPECT_LT(wheel.elapsedMs, kTicks50);
    const auto hv = c.ask("VS2500");
    EXPECT_LT(hv.elapsedMs, kTicks50);
    const auto diag = c.ask("SS");
    EXPECT_LT(diag.elapsedMs, 20 * 200);

    // Monochromator: from 365 nm back to the origin, and a 10 nm approach, both well inside.
    c.text("LS3650");
    const auto origin = c.ask("LO1");
    EXPECT_GT(origin.elapsedMs, 1000);
    EXPECT_LT(origin.elapsedMs, kTicks600);
    const auto approach = c.ask("LS2600");
    EXPECT_LT(approach.elapsedMs, 400);
    // "KS" answers once everything has stopped.
    EXPECT_LT(c.ask("KS").elapsedMs, kTicks10);
}

TEST(Timing, CommandsQueuedBehindALongOneWaitForIt)
{
    Conversation c;
    c.text("TS0500");
    c.line.write("CS\rES\r");
    while (c.received.count('\r') < 2)
        c.clock.yield();
    EXPECT_GE(c.clock.nowMs(), 5000);
    EXPECT_TRUE(c.received.endsWith("0000\r"));
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
