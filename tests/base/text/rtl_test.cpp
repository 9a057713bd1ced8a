// Right-to-left character tests, the direction-change scan and the two
// reorderings applied before drawing.

#include "base/text/RightToLeft.h"
#include "base/text/SafeBuf.h"

#include "tests/common/TextHelpers.h"

#include <gtest/gtest.h>

#include <string>

using qmtest::U16String;
using qmtest::Wide;

namespace {

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
    EXPECT_TRUE(Wide(u"ab" H1).HasHebrew());
    EXPECT_FALSE(Wide(u"ab" H1).HasArabic());
    EXPECT_TRUE(Wide(u"x" A1).HasArabic());
    EXPECT_TRUE(Wide(u"why?").HasArabicOrHebrew());
    EXPECT_FALSE(Wide(u"plain").HasArabicOrHebrew());
    EXPECT_TRUE(Wide(H1 u"1a").HasLetterAndArabicOrHebrew());
    EXPECT_TRUE(Wide(u"a " A1).HasLetterAndArabicOrHebrew());
    EXPECT_FALSE(Wide(u"12 " H1 u"?").HasLetterAndArabicOrHebrew());
}

TEST(RightToLeftTests, DirectionChangeScan)
{
    int pos = -1;
    EXPECT_EQ(2, Wide(u"abc" H1).IsMixedText(&pos));
    EXPECT_EQ(3, pos);
    EXPECT_EQ(1, Wide(H1 u"a").IsMixedText(&pos));
    EXPECT_EQ(1, pos);
    pos = -1;
    EXPECT_EQ(0, Wide(u"12 34\t(5)").IsMixedText(&pos));
    EXPECT_EQ(-1, pos);

    // A full stop at 0 does not end the scan; one after a non-alphanumeric does.
    EXPECT_EQ(0, Wide(u".abc").IsMixedText(&pos));
    EXPECT_EQ(1, Wide(u" .").IsMixedText(&pos));
    EXPECT_EQ(1, pos);
    EXPECT_EQ(0, Wide(u"end.").IsMixedText(&pos));    // after a letter: no sentence end
    EXPECT_EQ(1, Wide(H1 H2 u".").IsMixedText(&pos)); // right-to-left then '.' (left-to-right)
    EXPECT_EQ(2, pos);

    // '?' and '!' go with right-to-left text.
    EXPECT_EQ(2, Wide(u"ab?").IsMixedText(&pos));
    EXPECT_EQ(2, pos);
    EXPECT_EQ(0, Wide(H1 u" 12 ?" H2).IsMixedText(nullptr));

    EXPECT_TRUE(Wide(u"a .b").HasEndSentence());
    EXPECT_FALSE(Wide(u"abc" H1).HasEndSentence());
}

TEST(RightToLeftReorder, RunsReversedInPlace)
{
    CSafeBuf s = Wide(u"a" H1 H2 u"b");
    ReserveText(s, false);
    EXPECT_EQ(u"a" H2 H1 u"b", U16String(s));

    CSafeBuf t = Wide(H1 H2 H3 u" " A1 H1 u"!");
    ReserveText(t, false);
    EXPECT_EQ(H3 H2 H1 u" " H1 A1 u"!", U16String(t));
}

TEST(RightToLeftReorder, WholeLineKeepsRightToLeftBlocks)
{
    CSafeBuf s = Wide(u"ab " H1 H2);
    ReserveText(s, true);
    EXPECT_EQ(H1 H2 u" ba", U16String(s));

    // Spaces after right-to-left units travel with their block.
    CSafeBuf t = Wide(H1 u" " H2 u" x");
    ReserveText(t, true);
    EXPECT_EQ(u"x" H1 u" " H2 u" ", U16String(t));

    CSafeBuf u = Wide(H1 H2 u"12" H3);
    ReserveText(u, true);
    EXPECT_EQ(H3 u"21" H1 H2, U16String(u));

    CSafeBuf one = Wide(u"x");
    ReserveText(one, true);
    EXPECT_EQ(u"x", U16String(one));
}

} // namespace
