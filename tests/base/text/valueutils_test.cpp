// Expressions, number formatting, Roman numerals, random identifiers and
// string-list look-ups.

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "base/collections/StringList.h"
#include "base/geometry/Point.h"
#include "base/text/SafeBuf.h"
#include "base/text/ValueUtils.h"

#include "tests/common/FixedClock.h"
#include "tests/common/TextHelpers.h"

using qmtest::FromUtf8;
using qmtest::LowBytes;

namespace {

class FixedClock : public ::testing::Test
{
protected:
    // The day at 07:05:09.
    void SetDate(int year, int month, int day, int dayOfWeek = 1)
    {
        localTime.Set(qmtest::LocalTime(year, month, day, 7, 5, 9, dayOfWeek));
    }

    std::string Eval(const char* expression)
    {
        CSafeBuf value = FromUtf8("previous");
        CalculateValue(FromUtf8(expression), value);
        return LowBytes(value);
    }

    qmtest::FixedLocalTime localTime;
};

} // namespace

TEST_F(FixedClock, DateAndTimeExpressions)
{
    SetDate(2024, 3, 5, 3);
    EXPECT_EQ("2024-03-05T07:05:09", Eval("now()"));
    EXPECT_EQ("2024-03-05T07:05:09", Eval("NOW()"));
    EXPECT_EQ("2024-03-05", Eval("date()"));
    EXPECT_EQ("07:05:09", Eval("time()"));
    EXPECT_EQ("2024", Eval("year()"));
    EXPECT_EQ("3", Eval("month()"));
    EXPECT_EQ("5", Eval("Day()"));
    EXPECT_EQ("3", Eval("weekday()"));
    // Leap year: 31 + 29 + 4 days before 5 March.
    EXPECT_EQ("64", Eval("day-of-year()"));
    EXPECT_EQ("10", Eval("week()"));

    SetDate(987, 1, 1);
    EXPECT_EQ("0987", Eval("year()"));
}

TEST_F(FixedClock, DayOfYearAndWeekAtTheStartOfTheYear)
{
    SetDate(2023, 1, 1);
    EXPECT_EQ("0", Eval("day-of-year()"));
    EXPECT_EQ("1", Eval("week()"));
    SetDate(2023, 1, 7);
    EXPECT_EQ("1", Eval("week()"));
    SetDate(2023, 1, 8);
    EXPECT_EQ("2", Eval("week()"));
    // Not a leap year: 1 March is day 59; in 2100 neither.
    SetDate(2023, 3, 1);
    EXPECT_EQ("59", Eval("day-of-year()"));
    SetDate(2100, 3, 1);
    EXPECT_EQ("59", Eval("day-of-year()"));
    SetDate(2000, 12, 31);
    EXPECT_EQ("365", Eval("day-of-year()"));
}

TEST_F(FixedClock, OtherTextIsCopiedUnchanged)
{
    SetDate(2024, 1, 1);
    EXPECT_EQ("now() ", Eval("now() "));
    EXPECT_EQ("plain value", Eval("plain value"));
    EXPECT_EQ("", Eval(""));
}

TEST(CalculateValue, RandomIdAndGuidExpressions)
{
    CSafeBuf a, b;
    CalculateValue(FromUtf8("random()"), a);
    CalculateValue(FromUtf8("random()"), b);
    ASSERT_FALSE(a.IsEmpty());
    for (int i = 0; i < a.Length(); ++i)
        EXPECT_TRUE(a.GetAt(i) >= '0' && a.GetAt(i) <= '9');
    EXPECT_NE(LowBytes(a), LowBytes(b));

    // "id()" is an identifier of RandomString(8): a letter, then letters or digits.
    CalculateValue(FromUtf8("ID()"), a);
    ASSERT_EQ(8, a.Length());
    EXPECT_TRUE(a.GetAt(0) >= 'a' && a.GetAt(0) <= 'z') << LowBytes(a);
    for (int i = 0; i < a.Length(); ++i) {
        const unsigned short c = a.GetAt(i);
        EXPECT_TRUE((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) << LowBytes(a);
    }

    CalculateValue(FromUtf8("guid()"), a);
    CalculateValue(FromUtf8("guid()"), b);
    ASSERT_EQ(36, a.Length());
    EXPECT_EQ('-', a.GetAt(8));
    EXPECT_NE(LowBytes(a), LowBytes(b));
}

TEST(RandomString, LettersAndDigitsStartingWithALetterAndNeverRepeating)
{
    std::set<std::string> seen;
    for (int n = 0; n < 200; ++n) {
        const CSafeBuf s = RandomString(8);
        ASSERT_EQ(8, s.Length());
        EXPECT_TRUE(s.GetAt(0) >= 'a' && s.GetAt(0) <= 'z');
        for (int i = 0; i < s.Length(); ++i) {
            const unsigned short c = s.GetAt(i);
            EXPECT_TRUE((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'));
        }
        seen.insert(LowBytes(s));
    }
    // Drawn in the same tick, every one differs.
    EXPECT_EQ(200u, seen.size());
    EXPECT_TRUE(RandomString(0).IsEmpty());
    EXPECT_TRUE(RandomString(-3).IsEmpty());
}

TEST(GetFormatInt, GroupsOfThree)
{
    CSafeBuf text;
    const std::pair<long, const char*> cases[] = {{0, "0"}, {999, "999"}, {1000, "1,000"},
        {1000005, "1,000,005"}, {1200000, "1,200,000"}, {999999999, "999,999,999"},
        {1234567890123L, "1,234,567,890,123"}, {-1000, "-1,000"}, {-12, "-12"}};
    for (const auto& c : cases) {
        GetFormatInt(c.first, text);
        EXPECT_EQ(c.second, LowBytes(text)) << c.first;
    }
    FormatStringInt(text, -42);
    EXPECT_EQ("-42", LowBytes(text));
}

TEST(ConvertNumberToRoman, UnitsTensHundredsAndThousands)
{
    CSafeBuf text;
    const std::pair<int, const char*> cases[] = {{1, "I"}, {4, "IV"}, {9, "IX"}, {14, "XIV"}, {40, "XL"},
        {90, "XC"}, {400, "CD"}, {944, "CMXLIV"}, {1000, "M"}, {1994, "MCMXCIV"}, {2024, "MMXXIV"},
        {3999, "MMMCMXCIX"}, {0, ""}, {-5, ""}, {4000, "4000"}};
    for (const auto& c : cases) {
        ConvertNumberToRoman(c.first, text);
        EXPECT_EQ(c.second, LowBytes(text)) << c.first;
    }
}

TEST(StringListLookups, FindIndexExactOrNormalised)
{
    CStringList list;
    list.AddTail(FromUtf8("Alpha"));
    list.AddTail(FromUtf8("  beta\t"));
    list.AddTail(FromUtf8("beta"));
    EXPECT_EQ(2, FindIndexInList(&list, FromUtf8("beta"), false));
    EXPECT_EQ(1, FindIndexInList(&list, FromUtf8(" BETA\r\n"), true));
    EXPECT_EQ(-1, FindIndexInList(&list, FromUtf8("ALPHA"), false));
    EXPECT_EQ(0, FindIndexInList(&list, "alpha ", true));
    EXPECT_EQ(-1, FindIndexInList(&list, static_cast<const char*>(nullptr), true));
    EXPECT_EQ(-1, FindIndexInList(nullptr, "Alpha", false));

    CSafeBuf value = FromUtf8("x");
    EXPECT_TRUE(GetValueInListByIndex(&list, 1, value));
    EXPECT_EQ("beta", LowBytes(value));
    EXPECT_FALSE(GetValueInListByIndex(&list, 3, value));
    EXPECT_TRUE(value.IsEmpty());
    EXPECT_FALSE(GetValueInListByIndex(&list, -1, value));
    EXPECT_FALSE(GetValueInListByIndex(nullptr, 0, value));

    CPoint p(3, 4);
    ClearPoint(p);
    EXPECT_EQ(CPoint(0, 0), p);
}
