#include "core/Clock.h"

#include <gtest/gtest.h>

#include <vector>

using tz4::VirtualClock;

TEST(VirtualClock, FiresTimersInTimeOrderAndJumpsTime)
{
    VirtualClock clock;
    std::vector<int> fired;
    clock.startTimer(500, [&] { fired.push_back(500); }, false);
    clock.startTimer(200, [&] { fired.push_back(200); }, false);
    clock.yield();
    EXPECT_EQ(clock.nowMs(), 200);
    clock.yield();
    EXPECT_EQ(clock.nowMs(), 500);
    EXPECT_EQ(fired, (std::vector<int>{200, 500}));
}

TEST(VirtualClock, RepeatingTimerTicksUntilStoppedAndSameTimeKeepsScheduleOrder)
{
    VirtualClock clock;
    int ticks = 0;
    std::vector<char> order;
    const auto id = clock.startTimer(200, [&] { ++ticks; }, true);
    clock.startTimer(400, [&] { order.push_back('a'); }, false);
    clock.startTimer(400, [&] { order.push_back('b'); }, false);
    clock.advance(1000);
    EXPECT_EQ(ticks, 5);
    EXPECT_EQ(clock.nowMs(), 1000);
    EXPECT_EQ(order, (std::vector<char>{'a', 'b'}));
    clock.stopTimer(id);
    EXPECT_FALSE(clock.isActive(id));
    EXPECT_THROW(clock.yield(), std::logic_error);
}

TEST(VirtualClock, TimerStartedInsideCallbackRunsLater)
{
    VirtualClock clock;
    bool inner = false;
    clock.startTimer(100, [&] { clock.startTimer(50, [&] { inner = true; }, false); }, false);
    clock.yield();
    EXPECT_FALSE(inner);
    clock.yield();
    EXPECT_TRUE(inner);
    EXPECT_EQ(clock.nowMs(), 150);
}

TEST(VirtualClock, ProcessEventsRunsOnlyWhatIsDueWithoutMovingTime)
{
    VirtualClock clock;
    int soon = 0;
    int later = 0;
    clock.startTimer(0, [&] { ++soon; }, false);
    clock.startTimer(200, [&] { ++later; }, false);
    clock.processEvents();
    EXPECT_EQ(soon, 1);
    EXPECT_EQ(later, 0);
    EXPECT_EQ(clock.nowMs(), 0);
}
