#include "base/Keys.h"
#include "base/TimeShims.h"
#include "platform/clock/Clock.h"
#include "platform/clock/LocalTime.h"
#include "platform/events/Services.h"

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
    qm::clock::Clock clock;
    qm::events::Services::Get().SetClock(&clock);
    EXPECT_EQ(0ul, GetTickCount());
    clock.Advance(984);   // 59 ticks
    EXPECT_EQ(944ul, GetTickCount());
    clock.Advance(16);    // 60 ticks
    EXPECT_EQ(1000ul, GetTickCount());
    clock.Advance(17);    // 61 ticks
    EXPECT_EQ(1016ul, GetTickCount());
    qm::events::Services::Get().SetClock(nullptr);
}

TEST(LocalTimeShim, FillsFromThePlatformDateAndLeavesMilliseconds)
{
    qm::clock::LocalDateTime fixed;
    fixed.year = 2024;
    fixed.month = 2;
    fixed.day = 29;
    fixed.hour = 23;
    fixed.minute = 59;
    fixed.second = 58;
    fixed.millisecond = 777;
    fixed.dayOfWeek = 5;   // Thursday, counted from 1 for Sunday
    qm::clock::SetLocalTimeSource([&] { return fixed; });
    SYSTEMTIME t{};
    t.wMilliseconds = 123;
    GetLocalTime(&t);
    qm::clock::SetLocalTimeSource(nullptr);
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
    EXPECT_LT(GetKeyState(16), 0);                     // callers test the sign
    EXPECT_EQ(0, GetKeyState(2));
    input.modifiers = qm::events::kModCommand | qm::events::kModShift | qm::events::kModOption |
                      qm::events::kModControl | qm::events::kModCapsLock;
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
