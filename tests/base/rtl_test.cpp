// Right-to-left character tests, the direction-change scan and the two
// reorderings applied before drawing.

#include "base/RightToLeft.h"
#include "base/SafeBuf.h"

#include <gtest/gtest.h>

#include <string>

namespace {

CSafeBuf S(const char16_t* s)
{
    return CSafeBuf(reinterpret_cast<const unsigned short*>(s));
}

std::u16string Str(const CSafeBuf& s)
{
    const unsigned short* p = s;
    return std::u16string(reinterpret_cast<const char16_t*>(p), static_cast<size_t>(s.Length()));
}

// Hebrew letters alef, bet, gimel.
#define H1 u"\u05D0"
#define H2 u"\u05D1"
#define H3 u"\u05D2"
#define A1 u"\u0627"

TEST(RightToLeftChars, RangeBoundaries)
{
    EXPECT_TRUE(IsCharArabic(0xFB50));
    EXPECT_TRUE(IsCharArabic(0xFEFF));
    EXPECT_TRUE(IsCharArabic(0x0600));
    EXPECT_FALSE(IsCharArabic(0xFE00));
    EXPECT_FALSE(IsCharArabic(0x05FF));
    EXPECT_TRUE(IsCharHebrew(0x05FF));
    EXPECT_TRUE(IsCharHebrew(0x0590));
    EXPECT_FALSE(IsCharHebrew(0x0600));
}

TEST(RightToLeftTests, StringQueries)
{
    EXPECT_TRUE(S(u"ab" H1).HasHebrew());
    EXPECT_FALSE(S(u"ab" H1).HasArabic());
    EXPECT_TRUE(S(u"x" A1).HasArabic());
    EXPECT_TRUE(S(u"why?").HasArabicOrHebrew());
    EXPECT_FALSE(S(u"plain").HasArabicOrHebrew());
    EXPECT_TRUE(S(H1 u"1a").HasLetterAndArabicOrHebrew());
    EXPECT_TRUE(S(u"a " A1).HasLetterAndArabicOrHebrew());
    EXPECT_FALSE(S(u"12 " H1 u"?").HasLetterAndArabicOrHebrew());
}

TEST(RightToLeftTests, DirectionChangeScan)
{
    int pos = -1;
    EXPECT_EQ(2, S(u"abc" H1).IsMixedText(&pos));
    EXPECT_EQ(3, pos);
    EXPECT_EQ(1, S(H1 u"a").IsMixedText(&pos));
    EXPECT_EQ(1, pos);
    pos = -1;
    EXPECT_EQ(0, S(u"12 34\t(5)").IsMixedText(&pos));
    EXPECT_EQ(-1, pos);

    // A full stop at 0 does not end the scan; one after a non-alphanumeric does.
    EXPECT_EQ(0, S(u".abc").IsMixedText(&pos));
    EXPECT_EQ(1, S(u" .").IsMixedText(&pos));
    EXPECT_EQ(1, pos);
    EXPECT_EQ(0, S(u"end.").IsMixedText(&pos));      // after a letter: no sentence end
    EXPECT_EQ(1, S(H1 H2 u".").IsMixedText(&pos));   // right-to-left then '.' (left-to-right)
    EXPECT_EQ(2, pos);

    // '?' and '!' go with right-to-left text.
    EXPECT_EQ(2, S(u"ab?").IsMixedText(&pos));
    EXPECT_EQ(2, pos);
    EXPECT_EQ(0, S(H1 u" 12 ?" H2).IsMixedText(nullptr));

    EXPECT_TRUE(S(u"a .b").HasEndSentence());
    EXPECT_FALSE(S(u"abc" H1).HasEndSentence());
}

TEST(RightToLeftReorder, RunsReversedInPlace)
{
    CSafeBuf s = S(u"a" H1 H2 u"b");
    ReserveText(s, false);
    EXPECT_EQ(u"a" H2 H1 u"b", Str(s));

    CSafeBuf t = S(H1 H2 H3 u" " A1 H1 u"!");
    ReserveText(t, false);
    EXPECT_EQ(H3 H2 H1 u" " H1 A1 u"!", Str(t));
}

TEST(RightToLeftReorder, WholeLineKeepsRightToLeftBlocks)
{
    CSafeBuf s = S(u"ab " H1 H2);
    ReserveText(s, true);
    EXPECT_EQ(H1 H2 u" ba", Str(s));

    // Spaces after right-to-left units travel with their block.
    CSafeBuf t = S(H1 u" " H2 u" x");
    ReserveText(t, true);
    EXPECT_EQ(u"x" H1 u" " H2 u" ", Str(t));

    CSafeBuf u = S(H1 H2 u"12" H3);
    ReserveText(u, true);
    EXPECT_EQ(H3 u"21" H1 H2, Str(u));

    CSafeBuf one = S(u"x");
    ReserveText(one, true);
    EXPECT_EQ(u"x", Str(one));
}

} // namespace
