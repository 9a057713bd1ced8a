#include "base/shims/Keys.h"
#include "base/shims/TimeShims.h"
#include "platform/events/Services.h"

#include "tests/common/FixedClock.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(TickCount, SixteenMillisecondsATickWithinASecond)
{
    EXPECT_EQ(0ul, TicksToMilliseconds(0));
    EXPECT_EQ(944ul, TicksToMilliseconds(59));
    EXPECT_EQ(1000ul, TicksToMilliseconds(60));
    EXPECT_EQ(1016ul, TicksToMilliseconds(61));
    EXPECT_EQ(60944ul, TicksToMilliseconds(3659));
}

TEST(TickCount, ReadsTheVirtualClock)
{
    qmtest::ScopedClock clock;
    EXPECT_EQ(0ul, GetTickCount());
    clock.Advance(984); // 59 ticks
    EXPECT_EQ(944ul, GetTickCount());
    clock.Advance(16); // 60 ticks
    EXPECT_EQ(1000ul, GetTickCount());
    clock.Advance(17); // 61 ticks
    EXPECT_EQ(1016ul, GetTickCount());
}

TEST(LocalTimeShim, FillsFromThePlatformDateAndLeavesMilliseconds)
{
    // Thursday: day 5, counted from 1 for Sunday.
    qmtest::FixedLocalTime fixed(qmtest::LocalTime(2024, 2, 29, 23, 59, 58, 5, 777));
    SYSTEMTIME t{};
    t.wMilliseconds = 123;
    GetLocalTime(&t);
    fixed.Reset();
    EXPECT_EQ(2024, t.wYear);
    EXPECT_EQ(2, t.wMonth);
    EXPECT_EQ(29, t.wDay);
    EXPECT_EQ(23, t.wHour);
    EXPECT_EQ(59, t.wMinute);
    EXPECT_EQ(58, t.wSecond);
    EXPECT_EQ(5, t.wDayOfWeek);
    EXPECT_EQ(123, t.wMilliseconds);
    GetLocalTime(nullptr);
}

TEST(LocalTimeShim, DateRecordsCopyFieldByField)
{
    DateTimeRec mac{2001, 12, 31, 1, 2, 3, 2};
    SYSTEMTIME win{};
    win.wMilliseconds = 9;
    TimeMacToWin(&mac, &win);
    EXPECT_EQ(2001, win.wYear);
    EXPECT_EQ(31, win.wDay);
    EXPECT_EQ(3, win.wSecond);
    EXPECT_EQ(2, win.wDayOfWeek);
    EXPECT_EQ(9, win.wMilliseconds);
    DateTimeRec back{};
    TimeWinToMac(&win, &back);
    EXPECT_EQ(0, std::memcmp(&mac, &back, sizeof mac));
    EXPECT_NE(0ul, GetCurrentThreadId());
}

TEST(KeyState, ModifierCodesReadTheHostsInputState)
{
    auto& input = qm::events::Services::Get().Input();
    input.modifiers = qm::events::kModControl;
    EXPECT_EQ(static_cast<SHORT>(0x8080), GetKeyState(8));
    EXPECT_EQ(static_cast<SHORT>(0x8080), GetKeyState(16));
    EXPECT_LT(GetKeyState(16), 0); // callers test the sign
    EXPECT_EQ(0, GetKeyState(2));
    input.modifiers = qm::events::kModCommand | qm::events::kModShift | qm::events::kModOption
        | qm::events::kModControl | qm::events::kModCapsLock;
    EXPECT_NE(0, GetKeyState(1));
    EXPECT_NE(0, GetKeyState(2));
    EXPECT_NE(0, GetKeyState(4));
    EXPECT_EQ(0, GetKeyState(3));
    EXPECT_EQ(0, GetKeyState(0));
    EXPECT_EQ(0, GetKeyState(32));
    input.modifiers = 0;
    EXPECT_EQ(0, GetKeyState(1));
}

TEST(KeyTests, ValidCharsAndExtKeys)
{
    EXPECT_FALSE(IsValidChar(31));
    EXPECT_TRUE(IsValidChar(32));
    EXPECT_TRUE(IsValidChar(126));
    EXPECT_FALSE(IsValidChar(127));
    EXPECT_TRUE(IsValidChar(128));
    EXPECT_FALSE(IsValidChar(-1));
    EXPECT_TRUE(IsExtKey(28, 28, 99));
    EXPECT_FALSE(IsExtKey(28, 29, 28));
}
