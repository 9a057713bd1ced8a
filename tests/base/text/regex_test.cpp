#include "base/text/RegEx.h"

#include "tests/common/TextHelpers.h"

#include <gtest/gtest.h>

#include <string>

using qmtest::U16;

TEST(RegExMatch, MatchesOnlyTheWholeText)
{
    EXPECT_FALSE(RegExMatch("abc", "b"));
    EXPECT_FALSE(RegExMatch("abc", "ab"));
    EXPECT_FALSE(RegExMatch("abc", "bc"));
    EXPECT_TRUE(RegExMatch("abc", "a.c"));
    EXPECT_TRUE(RegExMatch("abc", "[a-c]+"));
    EXPECT_TRUE(RegExMatch("abcabc", "(abc)+"));
    EXPECT_TRUE(RegExMatch("color", "colou?r"));
    EXPECT_TRUE(RegExMatch("", "x*"));
    EXPECT_FALSE(RegExMatch("", "x+"));
}

TEST(RegExMatch, InvalidPatternsAndNullsAreFalse)
{
    EXPECT_FALSE(RegExMatch("abc", "(ab"));
    EXPECT_FALSE(RegExMatch("abc", "[a-"));
    EXPECT_FALSE(RegExMatch(static_cast<const char*>(nullptr), "a"));
    EXPECT_FALSE(RegExMatch("a", static_cast<const char*>(nullptr)));
    EXPECT_FALSE(RegExMatch(U16(u"a"), static_cast<const unsigned short*>(nullptr)));
}

TEST(RegExMatch, Utf16OperandsUseTheLowByteOfEachUnit)
{
    EXPECT_TRUE(RegExMatch(U16(u"img_01.png"), "img_[0-9]+\\.png"));
    EXPECT_FALSE(RegExMatch(U16(u"img_01.png"), "[0-9]+"));
    EXPECT_TRUE(RegExMatch(U16(u"abc"), U16(u"a(b|x)c")));
    EXPECT_FALSE(RegExMatch(U16(u"abc"), U16(u"b")));
}

TEST(RegExMatch, UnitsAboveTheByteRangeMatchNothing)
{
    // Narrowed to their low byte, U+4E00 and U+0100 would end the text (0x00)
    // and U+0141 would pass for "A".
    EXPECT_FALSE(RegExMatch(U16(u"123\u4E00<script>"), "[0-9]+"));
    EXPECT_FALSE(RegExMatch(U16(u"12\u0100"), "12"));
    EXPECT_FALSE(RegExMatch(U16(u"\u0141"), "A"));
    EXPECT_FALSE(RegExMatch(U16(u"\u0141"), U16(u"A|\u0141")));
    EXPECT_FALSE(RegExMatch(U16(u"12"), U16(u"12\u3000*")));
    EXPECT_TRUE(RegExMatch(U16(u"caf\u00E9"), U16(u"caf\u00E9")));
}

// Patterns that would make the system matcher take memory or time without
// bound are refused; ordinary repetitions and bracket classes still work.
TEST(RegExMatch, RunawayPatternsAreRefused)
{
    EXPECT_FALSE(RegExMatch("a", "a++++++++++++++++++++++"));
    EXPECT_FALSE(RegExMatch("aa", "a*{2}"));
    EXPECT_FALSE(RegExMatch("a", "((a{99}){99}){99}"));
    EXPECT_FALSE(RegExMatch("aa", "(a)\\1"));
    EXPECT_FALSE(RegExMatch("a", std::string(2000, 'a').c_str()));
    // Empty steps that follow one another: seconds each in the matcher.
    EXPECT_FALSE(RegExMatch("", "((((()())*){0,255}())*)"));
    EXPECT_FALSE(RegExMatch("", "(()*){300}"));
    EXPECT_FALSE(RegExMatch("", "((a?){100}){100}"));
    EXPECT_FALSE(RegExMatch("", "(((){0,100}){0,100})"));
    EXPECT_FALSE(RegExMatch("", "(((){0,100}){0,100}")); // open: expanded before refused
    EXPECT_TRUE(RegExMatch(std::string(100, 'b').c_str(), "(a|b){100}"));
    EXPECT_TRUE(RegExMatch("abcabc", "(abc){1,50}"));
    EXPECT_TRUE(RegExMatch("2026-12-09", "[0-9]{4}(-[0-9]{2}){2}"));
    // Anchors where empty steps loop: the work doubles with every copy.
    EXPECT_FALSE(RegExMatch("", "((^)*){20}"));
    EXPECT_FALSE(RegExMatch("", "((a|$)*){30}"));
    EXPECT_FALSE(RegExMatch("b", "(^a|b)*"));
    EXPECT_TRUE(RegExMatch("aaaa", "(a{2}){2}"));
    EXPECT_TRUE(RegExMatch("x]y", "x[]]y"));
    EXPECT_TRUE(RegExMatch("b7", "[[:alpha:]][[:digit:]]+"));
    EXPECT_TRUE(RegExMatch("a+b", "a\\+b"));
}

// The anchors at a pattern's ends change no answer of a whole-text match,
// and are taken off; a dollar sign after a backslash is no anchor.
TEST(RegExMatch, AnchorsAtTheEndsChangeNoAnswer)
{
    EXPECT_TRUE(RegExMatch("img_01.png", "^img_[0-9]+\\.png$"));
    EXPECT_FALSE(RegExMatch("img_01.png.x", "^img_[0-9]+\\.png$"));
    EXPECT_TRUE(RegExMatch("", "^^((a*)*){25}$$"));
    EXPECT_TRUE(RegExMatch("b", "^a|b"));
    EXPECT_FALSE(RegExMatch("xb", "^a|b"));
    EXPECT_TRUE(RegExMatch("a$", "a\\$"));
    EXPECT_FALSE(RegExMatch("a", "a\\$"));
    EXPECT_TRUE(RegExMatch("a\\", "a\\\\$"));
    EXPECT_TRUE(RegExMatch("", "^$"));
    EXPECT_FALSE(RegExMatch("a", "^"));
}
