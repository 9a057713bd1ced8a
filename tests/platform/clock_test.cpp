#include "platform/clock/Clock.h"
#include "platform/clock/LocalTime.h"

#include "tests/common/FixedClock.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

using qm::clock::Clock;
using qm::clock::Millis;
using qm::clock::TimerId;

TEST(Clock, TicksAreSixtyASecondOfVirtualTime)
{
    Clock c;
    EXPECT_EQ(0u, c.Ticks());
    c.Advance(984);
    EXPECT_EQ(59u, c.Ticks());
    c.Advance(16);
    EXPECT_EQ(1000u, c.Now());
    EXPECT_EQ(60u, c.Ticks());
}

TEST(Clock, TimersFireOnlyWhenTimeIsAdvanced)
{
    Clock c;
    std::vector<Millis> fired;
    c.InstallTimer(100, 0, [&](TimerId) { fired.push_back(c.Now()); });
    EXPECT_TRUE(fired.empty());
    c.Advance(99);
    EXPECT_TRUE(fired.empty());
    c.Advance(1);
    ASSERT_EQ(1u, fired.size());
    EXPECT_EQ(100u, fired[0]);
    EXPECT_EQ(0u, c.TimerCount()); // one-shot timers retire
    c.Advance(1000);
    EXPECT_EQ(1u, fired.size());
}

TEST(Clock, ZeroDelayTimerFiresOnTheNextAdvanceNotInsideInstall)
{
    Clock c;
    int count = 0;
    c.InstallTimer(0, 0, [&](TimerId) { ++count; });
    EXPECT_EQ(0, count);
    c.Advance(0);
    EXPECT_EQ(1, count);
}

TEST(Clock, RepeatingTimersFireAtEachIntervalInTimeOrder)
{
    Clock c;
    std::vector<std::pair<char, Millis>> fired;
    c.InstallTimer(50, 50, [&](TimerId) { fired.push_back({'a', c.Now()}); });
    c.InstallTimer(100, 0, [&](TimerId) { fired.push_back({'b', c.Now()}); });
    c.Advance(200);
    const std::vector<std::pair<char, Millis>> expected
        = {{'a', 50}, {'a', 100}, {'b', 100}, {'a', 150}, {'a', 200}};
    EXPECT_EQ(expected, fired);
    EXPECT_EQ(200u, c.Now());
}

TEST(Clock, TimerReArmingItselfWithoutDelayCannotStallAnAdvance)
{
    Clock c;
    int count = 0;
    TimerId id = 0;
    id = c.InstallTimer(0, 0, [&](TimerId) {
        ++count;
        c.InstallTimer(0, 0, [&](TimerId) { ++count; });
        c.SetNextFireTime(id, 0); // already retired: nothing to re-arm
    });
    c.Advance(10);
    EXPECT_EQ(1, count);
    c.Advance(0);
    EXPECT_EQ(2, count);
}

TEST(Clock, RemovingAndReArmingTimers)
{
    Clock c;
    int a = 0, b = 0;
    TimerId ta = c.InstallTimer(10, 10, [&](TimerId self) {
        ++a;
        if (a == 2)
            c.RemoveTimer(self);
    });
    TimerId tb = c.InstallTimer(10, 0, [&](TimerId) { ++b; });
    EXPECT_TRUE(c.SetNextFireTime(tb, 500));
    c.Advance(100);
    EXPECT_EQ(2, a);
    EXPECT_EQ(0, b);
    EXPECT_FALSE(c.HasTimer(ta));
    EXPECT_FALSE(c.RemoveTimer(ta));
    c.Advance(400);
    EXPECT_EQ(1, b);
    EXPECT_EQ(0u, c.InstallTimer(10, 0, nullptr));
}

TEST(Clock, AThrowingTimerDoesNotStopTheOthers)
{
    Clock c;
    int count = 0;
    c.InstallTimer(5, 0, [](TimerId) { throw std::runtime_error("boom"); });
    c.InstallTimer(5, 0, [&](TimerId) { ++count; });
    EXPECT_NO_THROW(c.Advance(5));
    EXPECT_EQ(1, count);
}

TEST(LocalTime, InjectedSourceIsUsedUntilRemoved)
{
    const qm::clock::LocalDateTime fixed = qmtest::LocalTime(2009, 2, 13, 23, 31, 30, 6);
    qm::clock::SetLocalTimeSource([&] { return fixed; });
    const qm::clock::LocalDateTime now = qm::clock::LocalNow();
    EXPECT_EQ(2009, now.year);
    EXPECT_EQ(31, now.minute);
    EXPECT_EQ(6, now.dayOfWeek);
    qm::clock::SetLocalTimeSource(nullptr);
    const qm::clock::LocalDateTime real = qm::clock::LocalNow();
    EXPECT_GT(real.year, 2020);
    EXPECT_GE(real.dayOfWeek, 1);
    EXPECT_LE(real.dayOfWeek, 7);
}
