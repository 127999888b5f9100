// The waits every window test relies on: a condition that never comes true fails the test.
#include <QTimer>

#include <gtest/gtest-spi.h>

namespace {

void waitForWhatNeverComes() { QTRY_VERIFY_WITH_TIMEOUT(false, 20); }

void compareWhatNeverMatches() { QTRY_COMPARE_WITH_TIMEOUT(1 + 1, 3, 20); }

} // namespace

TEST(TestWaits, AConditionThatNeverComesTrueFailsTheTest)
{
    EXPECT_NONFATAL_FAILURE(waitForWhatNeverComes(), "waited 20 ms for false");
    EXPECT_FATAL_FAILURE(compareWhatNeverMatches(), "waited 20 ms");
}

TEST(TestWaits, AConditionThatComesTrueWhileEventsRunPasses)
{
    bool fired = false;
    QTimer::singleShot(10, [&fired] { fired = true; });
    QTRY_VERIFY(fired);
    int count = 0;
    QTimer::singleShot(10, [&count] { count = 2; });
    QTRY_COMPARE(count, 2);
}
