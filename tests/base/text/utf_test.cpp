// UTF-16 / UTF-8 / 8-bit conversions: round trips including characters
// outside the basic plane, lone surrogates, malformed input, output room.

#include "base/text/Utf.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

std::string ToUtf8(const std::u16string& in)
{
    unsigned char* out = nullptr;
    int n = Unicode2UTF8(
        reinterpret_cast<const unsigned short*>(in.data()), &out, static_cast<int>(in.size()), true);
    std::string s = out ? std::string(reinterpret_cast<char*>(out), static_cast<size_t>(n)) : "<null>";
    if (out) {
        EXPECT_EQ(0, out[n]);
    }
    delete[] out;
    return s;
}

std::u16string FromUtf8(const std::string& in)
{
    unsigned short* out = nullptr;
    int n = UTF82Unicode(
        reinterpret_cast<const unsigned char*>(in.data()), &out, static_cast<int>(in.size()), true);
    std::u16string s
        = out ? std::u16string(reinterpret_cast<char16_t*>(out), static_cast<size_t>(n)) : u"<null>";
    if (out) {
        EXPECT_EQ(0, out[n]);
    }
    delete[] out;
    return s;
}

TEST(Utf8Encode, EachPlaneGetsItsSequenceLength)
{
    EXPECT_EQ("A", ToUtf8(u"A"));
    EXPECT_EQ("\xC3\xA9", ToUtf8(u"\u00E9"));
    EXPECT_EQ("\xE4\xB8\xAD", ToUtf8(u"\u4E2D"));
    EXPECT_EQ("\xEF\xBF\xBF", ToUtf8(u"\uFFFF"));
    EXPECT_EQ("\xF0\x9F\x98\x80", ToUtf8(u"\U0001F600"));
    EXPECT_EQ("\xF4\x8F\xBF\xBF", ToUtf8(u"\U0010FFFF"));
    EXPECT_EQ("", ToUtf8(u""));
}

TEST(Utf8Encode, LoneSurrogatesBecomeReplacementCharacters)
{
    const char16_t high[] = {u'a', 0xD83D, u'b', 0};
    const char16_t low[] = {0xDE00, 0xD83D, 0}; // reversed pair: both lone
    const char16_t trailing[] = {u'x', 0xD83D, 0};
    EXPECT_EQ("a\xEF\xBF\xBD"
              "b",
        ToUtf8(high));
    EXPECT_EQ("\xEF\xBF\xBD\xEF\xBF\xBD", ToUtf8(low));
    EXPECT_EQ("x\xEF\xBF\xBD", ToUtf8(trailing));
}

TEST(Utf8Encode, OutputRoomHoldsWorstCases)
{
    // Under AddressSanitizer an undersized output would be reported here.
    std::u16string threes(1000, u'\u4E2D');
    EXPECT_EQ(3000u, ToUtf8(threes).size());
    std::u16string pairs;
    for (int i = 0; i < 500; ++i)
        pairs += u"\U0001F600";
    EXPECT_EQ(2000u, ToUtf8(pairs).size());
    std::u16string lone(1000, static_cast<char16_t>(0xDC00));
    EXPECT_EQ(3000u, ToUtf8(lone).size());
}

TEST(Utf8RoundTrip, TextSurvivesBothWays)
{
    const std::u16string samples[] = {
        u"plain ASCII",
        u"caf\u00E9 \u05E9\u05DC\u05D5\u05DD \u0645\u0631\u062D\u0628\u0627 \u4E2D\u6587",
        u"\U0001F600 smile \U0001D11E clef \U00010000 \U0010FFFF",
        u"\u0080\u07FF\u0800\uD7FF\uE000\uFFFD",
    };
    for (const auto& text : samples)
        EXPECT_EQ(text, FromUtf8(ToUtf8(text)));
}

TEST(Utf8Decode, MalformedBytesAreDroppedWithoutLosingFollowingText)
{
    EXPECT_EQ(u"a",
        FromUtf8("\x80"
                 "a")); // stray continuation
    EXPECT_EQ(u"abc",
        FromUtf8("\xE4"
                 "abc"));                                 // lead without continuations
    EXPECT_EQ(u"xy", FromUtf8("x\xC0\xAFy"));             // overlong
    EXPECT_EQ(u"xy", FromUtf8("x\xE0\x80\xAFy"));         // overlong three-byte
    EXPECT_EQ(u"xy", FromUtf8("x\xF0\x80\x80\xAFy"));     // overlong four-byte
    EXPECT_EQ(u"xy", FromUtf8("x\xF4\x90\x80\x80y"));     // beyond U+10FFFF
    EXPECT_EQ(u"xy", FromUtf8("x\xEF\xBF\xBEy"));         // U+FFFE
    EXPECT_EQ(u"xy", FromUtf8("x\xED\xA0\x80y"));         // lone encoded surrogate
    EXPECT_EQ(u"xy", FromUtf8("x\xF8\x88\x80\x80\x80y")); // five-byte form
}

TEST(Utf8Decode, LeadByteBeforeAnotherByteIsMalformedNotCutOff)
{
    // Near the end of the input too: only the lead byte goes.
    const struct
    {
        const char* in;
        const char16_t* out;
    } cases[] = {
        {"x\xE4y", u"xy"},
        {"x\xC3y", u"xy"},
        {"x\xE4\xB8y", u"xy"},
        {"x\xF0\x9F\x98y", u"xy"},
        {"\xE4\xB8\xAD\xE4z", u"\u4E2Dz"},
        {"\xF0\xE4\xB8\xAD", u"\u4E2D"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.out, FromUtf8(c.in)) << c.in;
}

TEST(Utf8Decode, TruncatedSequenceAtTheEndIsDropped)
{
    EXPECT_EQ(u"a", FromUtf8("a\xE4\xB8"));
    EXPECT_EQ(u"a", FromUtf8("a\xF0\x9F\x98"));
    EXPECT_EQ(u"a", FromUtf8("a\xC3"));
}

TEST(Utf8Decode, SixByteSurrogatePairFormIsRecovered)
{
    // Supplementary characters written as two encoded surrogates.
    EXPECT_EQ(u"<\U0001F600>", FromUtf8("<\xED\xA0\xBD\xED\xB8\x80>"));
}

TEST(Utf8Arrays, AllocationFlagAndLengthContracts)
{
    unsigned char* out = reinterpret_cast<unsigned char*>(1);
    EXPECT_EQ(0, Unicode2UTF8(reinterpret_cast<const unsigned short*>(u"a"), &out, -1, true));
    EXPECT_EQ(nullptr, out);
    EXPECT_EQ(0, Unicode2UTF8(nullptr, &out, 3, true));
    EXPECT_EQ(nullptr, out);

    EXPECT_EQ(2, Unicode2UTF8(reinterpret_cast<const unsigned short*>(u"\u00E9"), &out, 1, false));
    ASSERT_NE(nullptr, out);
    std::free(out); // malloc'd when the flag is false

    unsigned short* units = nullptr;
    EXPECT_EQ(0, UTF82Unicode(reinterpret_cast<const unsigned char*>(""), &units, 0, true));
    ASSERT_NE(nullptr, units);
    EXPECT_EQ(0, units[0]);
    delete[] units;
    EXPECT_EQ(0, UTF82Unicode(reinterpret_cast<const unsigned char*>("a"), &units, -2, false));
    EXPECT_EQ(nullptr, units);
}

TEST(EightBit, LatinOneAndHostOrderUnits)
{
    unsigned char* utf8 = nullptr;
    EXPECT_EQ(5, Ansi2UTF8("a\xE9\xFF", &utf8, 3, true));
    EXPECT_EQ(std::string("a\xC3\xA9\xC3\xBF"), std::string(reinterpret_cast<char*>(utf8)));
    delete[] utf8;

    unsigned short* units = nullptr;
    EXPECT_EQ(2, Ansi2Unicode(reinterpret_cast<const unsigned char*>("\xE9z"), &units, 2, true));
    EXPECT_EQ(0x00E9, units[0]);
    EXPECT_EQ(0, units[2]);
    delete[] units;

    const unsigned short raw[] = {0x05D0, 0x0041, 0};
    EXPECT_EQ(2, Multibyte2Unicode(reinterpret_cast<const unsigned char*>(raw), &units, 5, false));
    EXPECT_EQ(0x05D0, units[0]);
    EXPECT_EQ(0x0041, units[1]);
    EXPECT_EQ(0, units[2]);
    std::free(units);
    EXPECT_EQ(0, Multibyte2Unicode(reinterpret_cast<const unsigned char*>(raw), &units, 1, true));
    EXPECT_EQ(nullptr, units);
}

} // namespace
