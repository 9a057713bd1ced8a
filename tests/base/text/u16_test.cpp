// Zero-terminated UTF-16 functions: exact comparison results, null handling,
// the widening rule of each 8-bit overload, searching and number parsing.

#include "base/text/U16.h"

#include "tests/common/TextHelpers.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>

using qmtest::U16;

namespace {

TEST(U16Compare, CmpAnswersExactlyOneMinusOneOrZero)
{
    EXPECT_EQ(0, U16cmp(U16(u"abc"), U16(u"abc")));
    EXPECT_EQ(-1, U16cmp(U16(u"a"), U16(u"z")));
    EXPECT_EQ(1, U16cmp(U16(u"z"), U16(u"a")));
    EXPECT_EQ(-1, U16cmp(U16(u"ab"), U16(u"abc")));
    EXPECT_EQ(1, U16cmp(U16(u"\uFFFF"), U16(u"a"))); // units compare unsigned

    // 8-bit side sign-extended: the byte 0xE9 is below the unit 0x00E9.
    EXPECT_EQ(1, U16cmp(U16(u"\u00E9"), "\xE9"));
    EXPECT_EQ(-1, U16cmp("\xE9", U16(u"\u00E9")));
    EXPECT_EQ(0, U16cmp(U16(u"abc"), "abc"));
    EXPECT_EQ(-1, U16cmp(U16(u"ab"), "abc"));

    // A null operand reads as empty text rather than crashing.
    const unsigned short* nul = nullptr;
    EXPECT_EQ(0, U16cmp(nul, U16(u"")));
    EXPECT_EQ(-1, U16cmp(nul, U16(u"a")));
    EXPECT_EQ(1, U16cmp(U16(u"a"), nul));
}

TEST(U16Compare, NcmpComparesExactlyNPositions)
{
    EXPECT_EQ(0, U16ncmp(U16(u"abc"), U16(u"xyz"), 0));
    EXPECT_EQ(0, U16ncmp(U16(u"abX"), U16(u"abY"), 2));
    const char16_t a[] = {u'a', 0, u'x', 0};
    const char16_t b[] = {u'a', 0, u'y', 0};
    EXPECT_EQ(-1, U16ncmp(U16(a), U16(b), 3)); // does not stop at the terminator

    // A unit matches a byte by its value; at a difference the byte is signed.
    EXPECT_EQ(0, U16ncmp(U16(u"\u00E9"), "\xE9", 1));
    EXPECT_EQ(1, U16ncmp(U16(u"\u00E8"), "\xE9", 1));
    EXPECT_EQ(-1, U16ncmp(U16(u"a"), "b", 1));
}

TEST(U16Compare, CaselessComparisonUsesAlphabetPlacesOnlyForLetters)
{
    EXPECT_EQ(0, U16icmp(U16(u"abc"), U16(u"ABC")));
    EXPECT_EQ(-1, U16icmp(U16(u"abc"), U16(u"abd")));
    EXPECT_EQ(1, U16icmp(U16(u"abd"), U16(u"ABC")));
    EXPECT_EQ(-1, U16icmp(U16(u"abc"), U16(u"abcd"))); // terminators take part
    EXPECT_EQ(1, U16icmp(U16(u"abcd"), U16(u"ABC")));

    // Letter against non-letter compares raw values: 'z' > '[' although 'Z' < '['.
    EXPECT_EQ(1, U16nicmp(U16(u"z"), U16(u"["), 1));
    EXPECT_EQ(-1, U16nicmp(U16(u"Z"), U16(u"["), 1));
    EXPECT_EQ(0, U16nicmp(U16(u"HeLLo!"), U16(u"hEllO?"), 5));
    EXPECT_EQ(0, U16nicmp(U16(u"x"), U16(u"y"), 0));

    const unsigned short* nul = nullptr;
    const char* nulBytes = nullptr;
    EXPECT_EQ(1, U16icmp(nul, U16(u"a")));
    EXPECT_EQ(1, U16icmp(U16(u"a"), nul));
    EXPECT_EQ(1, U16icmp(nul, nul));
    EXPECT_EQ(1, U16icmp(U16(u"a"), nulBytes));
    EXPECT_EQ(1, U16icmp(nulBytes, U16(u"a")));

    EXPECT_EQ(0, U16icmp(U16(u"Style"), "sTYLE"));
    EXPECT_EQ(0, U16icmp("sTYLE", U16(u"Style")));
    EXPECT_EQ(1, U16icmp(U16(u"\u00E9"), "\xE9")); // sign-extended byte
    EXPECT_EQ(-1, U16icmp("ab", U16(u"ABC")));     // the first argument's length
    EXPECT_EQ(0, U16nicmp(U16(u"ABc"), "abC", 3));
}

TEST(U16CopyCat, WideningPerOverload)
{
    unsigned short buf[16];
    U16cpy(buf, "\xE9x");
    EXPECT_EQ(0x00E9, buf[0]); // zero-extended
    EXPECT_EQ(2, U16len(buf));
    EXPECT_EQ(1, U16cat(buf, "\xE9"));
    EXPECT_EQ(0xFFE9, buf[2]); // sign-extended
    EXPECT_EQ(2, U16cat(buf, U16(u"yz")));
    EXPECT_EQ(5, U16len(buf));
    EXPECT_EQ(0, U16cat(buf, static_cast<const char*>(nullptr)));
    EXPECT_EQ(0, U16cat(nullptr, U16(u"a")));

    U16cpy(buf, static_cast<const unsigned short*>(nullptr));
    EXPECT_EQ(5, U16len(buf)); // untouched

    unsigned short over[8] = {'a', 'b', 'c', 'd', 0};
    U16ncpy(over + 1, over, 3); // overlapping copy
    EXPECT_EQ(std::u16string(u"aabc"), std::u16string(reinterpret_cast<char16_t*>(over)));
    U16ncpy(buf, "\xE9\xE8", 1);
    EXPECT_EQ(0x00E9, buf[0]);
    EXPECT_EQ(0, buf[1]);
    EXPECT_EQ(0, U16len(static_cast<const unsigned short*>(nullptr)));
    EXPECT_EQ(0, U16len(static_cast<const char*>(nullptr)));
}

TEST(U16Search, StrAndChr)
{
    const unsigned short* hay = U16(u"one two two");
    EXPECT_EQ(hay + 4, U16str(hay, U16(u"two")));
    EXPECT_EQ(hay, U16str(hay, U16(u"")));
    EXPECT_EQ(hay, U16str(hay, static_cast<const unsigned short*>(nullptr)));
    EXPECT_EQ(nullptr, U16str(U16(u"ab"), U16(u"abc")));
    EXPECT_EQ(nullptr, U16str(nullptr, U16(u"a")));
    const unsigned short* accented = U16(u"caf\u00E9");
    EXPECT_EQ(accented + 3, U16str(accented, "\xE9")); // zero-extended needle

    EXPECT_EQ(nullptr, U16chr(U16(u"\u063A\u063A"), ':')); // whole units compared
    EXPECT_EQ(hay + 2, U16chr(hay, 'e'));
    EXPECT_EQ(nullptr, U16chr(hay, 0));
    EXPECT_EQ(nullptr, U16chr(nullptr, 'a'));
}

TEST(U16Numbers, ToiParsesAndSaturates)
{
    EXPECT_EQ(-42, U16toi(U16(u" -42px")));
    EXPECT_EQ(17, U16toi(U16(u"\t+17")));
    EXPECT_EQ(0, U16toi(U16(u"px")));
    EXPECT_EQ(0, U16toi(nullptr));
    EXPECT_EQ(LONG_MAX, U16toi(U16(u"123456789012345678901234567890")));
    EXPECT_EQ(LONG_MIN, U16toi(U16(u"-123456789012345678901234567890")));
    EXPECT_EQ(LONG_MIN, U16toi(U16(u"-9223372036854775808")));
    EXPECT_EQ(LONG_MAX, U16toi(U16(u"9223372036854775807")));
    // Only the first 100 units are looked at.
    std::u16string padded(100, u' ');
    EXPECT_EQ(0, U16toi(U16((padded + u"5").c_str())));
    // A unit outside 8 bits is not a digit by its low byte (U+0131 ends in 0x31).
    EXPECT_EQ(4, U16toi(U16(u"4\u01315")));

    EXPECT_DOUBLE_EQ(3.25, u2f(U16(u"3.25em")));
    EXPECT_DOUBLE_EQ(-0.5, u2f(U16(u" -.5")));
    EXPECT_DOUBLE_EQ(0.0, u2f(nullptr));
}

TEST(U16Numbers, TrimStrAndCase)
{
    char a[] = "  two words \t  ";
    TrimStr(a, false);
    EXPECT_STREQ("  two words \t", a);
    TrimStr(a, true);
    EXPECT_STREQ("two words \t", a);

    char b[] = "MiXeD \xE9";
    EXPECT_STREQ("mixed \xE9", strlwr(b));
    EXPECT_STREQ("MIXED \xE9", strupr(b));
    unsigned short w[] = {'a', 'Z', 0x00E9, 0};
    U16upr(w);
    EXPECT_EQ('A', w[0]);
    EXPECT_EQ(0x00E9, w[2]);
    U16lwr(w);
    EXPECT_EQ('z', w[1]);
}

TEST(U16Convert, ConvertersBetweenWidths)
{
    unsigned short* wide = ConvertCharToTChar("\xE9"
                                              "a");
    ASSERT_NE(nullptr, wide);
    EXPECT_EQ(0x00E9, wide[0]);
    EXPECT_EQ(0, wide[2]);
    char* narrow = ConvertTCharToChar(U16(u"\u05D0b"));
    EXPECT_STREQ("\xD0"
                 "b",
        narrow);
    unsigned int* wide32 = AnsiToUnicode("\xFF");
    EXPECT_EQ(0xFFu, wide32[0]);
    EXPECT_EQ(0u, wide32[1]);
    delete[] wide;
    delete[] narrow;
    delete[] wide32;
    EXPECT_EQ(nullptr, ConvertCharToTChar(nullptr));
    EXPECT_EQ(nullptr, ConvertTCharToChar(nullptr));

    // A copy is independent of its source; null copies as the empty text.
    unsigned short source[] = {0x05D0, 'b', 0};
    unsigned short* copy = U16dup(source);
    source[0] = 'x';
    ASSERT_NE(nullptr, copy);
    EXPECT_EQ(0x05D0, copy[0]);
    EXPECT_EQ(2, U16len(copy));
    delete[] copy;
    unsigned short* empty = U16dup(nullptr);
    ASSERT_NE(nullptr, empty);
    EXPECT_EQ(0, empty[0]);
    delete[] empty;

    unsigned short w[8];
    unsigned char n[8] = "abc\xE9";
    CopyBetweenUnicodeAndAnsi(w, n, -1, true);
    EXPECT_EQ(4, U16len(w));
    EXPECT_EQ(0x00E9, w[3]);
    w[0] = 0x0141;
    CopyBetweenUnicodeAndAnsi(w, n, 2, false);
    EXPECT_EQ(0x41, n[0]);
    EXPECT_EQ(0, n[2]);

    EXPECT_TRUE(DoesContainUnicode(U16(u"a\u0100")));
    EXPECT_FALSE(DoesContainUnicode(U16(u"a\u00FF")));
    EXPECT_FALSE(DoesContainUnicode(nullptr));
    EXPECT_TRUE(IsBufferUnicode("a\0b\0", 4));
    EXPECT_FALSE(IsBufferUnicode("a\0b", 3));
    EXPECT_FALSE(IsBufferUnicode("abcd", 4));
    EXPECT_FALSE(IsBufferUnicode(nullptr, 2));
}

} // namespace

// Every length up to a few words, from every place in a word: the count
// goes by whole words once aligned, so the terminator is put in each lane,
// after units whose lanes look like zero to a careless test (0x0100, 0x8000,
// 0xFFFF) and with more units behind it.
TEST(U16Length, EveryLengthFromEveryAlignment)
{
    static const unsigned short kUnits[] = {'a', 0x0100, 0x8000, 0xFFFF, 0x0001, 0x00FF, 0xD800, 0x7FFF};
    alignas(8) unsigned short buf[64];
    for (int start = 0; start < 4; ++start) {
        for (int length = 0; length <= 40; ++length) {
            for (int i = 0; i < 64; ++i)
                buf[i] = kUnits[i % 8];
            buf[start + length] = 0;
            EXPECT_EQ(length, U16len(buf + start)) << "start " << start << ", length " << length;
        }
    }
}
