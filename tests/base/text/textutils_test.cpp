// Text utilities: sections, quotes, sorting, identifier and number tests,
// packed integers, lengths, UTF-8, wildcards, line breaks, last words,
// integer values and the markup-text edits.

#include "base/text/TextUtils.h"
#include "base/text/TextUtilsMarkup.h"
#include "base/text/U16.h"

#include "tests/common/TextHelpers.h"

#include <gtest/gtest.h>

#include <chrono>
#include <climits>
#include <string>
#include <vector>

using qmtest::Edited;
using qmtest::U16;
using qmtest::Utf8;
using qmtest::Wide;

namespace {

std::vector<unsigned short> Buffer(const std::u16string& in)
{
    std::vector<unsigned short> buffer(in.begin(), in.end());
    buffer.push_back(0);
    return buffer;
}

// Runs RemoveSectionInString on a writable copy; answers the text and checks
// that the answered length is where the terminator stands.
std::string WithoutSections(const std::u16string& in, const char16_t* begin, const char16_t* end,
    const char16_t* except = nullptr, int length = -1)
{
    std::vector<unsigned short> buffer = Buffer(in);
    int result
        = RemoveSectionInString(buffer.data(), U16(begin), U16(end), except ? U16(except) : nullptr, length);
    EXPECT_EQ(0, buffer[static_cast<size_t>(result)]);
    return Utf8(buffer.data(), result);
}

TEST(RemoveSectionInString, RemovesEveryCompleteSection)
{
    EXPECT_EQ("a  b c", WithoutSections(u"a /* one */ b /* two */c", u"/*", u"*/"));
    EXPECT_EQ("abc", WithoutSections(u"a[x]b[y]c", u"[", u"]"));
    EXPECT_EQ("a /* open", WithoutSections(u"a /* open", u"/*", u"*/"));
    // The end is searched after the whole begin marker.
    EXPECT_EQ("x/*/", WithoutSections(u"x/*/", u"/*", u"*/"));
    EXPECT_EQ("", WithoutSections(u"<!--a-->", u"<!--", u"-->"));
}

TEST(RemoveSectionInString, ExceptKeepsMatchingSectionsAndRemovesTheOthers)
{
    EXPECT_EQ("<!--[if IE]>x<![endif]-->  y",
        WithoutSections(u"<!--[if IE]>x<![endif]--> <!-- c --> y", u"<!--", u"-->", u"[if"));
    EXPECT_EQ("/*! keep */ ", WithoutSections(u"/*! keep */ /* drop */", u"/*", u"*/", u"!"));
}

TEST(RemoveSectionInString, LengthLimitsAndDegenerateMarkers)
{
    // Only the first five units are looked at.
    EXPECT_EQ("ab", WithoutSections(u"ab(c)d(e)", u"(", u")", nullptr, 5));
    std::vector<unsigned short> text = Buffer(u"ab");
    EXPECT_EQ(0, RemoveSectionInString(nullptr, U16(u"a"), U16(u"b"), nullptr, -1));
    EXPECT_EQ(0, RemoveSectionInString(text.data(), nullptr, U16(u"b"), nullptr, -1));
    EXPECT_EQ(0, RemoveSectionInString(text.data(), U16(u"a"), U16(u"b"), nullptr, 0));
    // Empty markers would match everywhere; they change nothing and end.
    EXPECT_EQ(2, RemoveSectionInString(text.data(), U16(u""), U16(u"b"), nullptr, -1));
    EXPECT_EQ(2, RemoveSectionInString(text.data(), U16(u"a"), U16(u""), nullptr, -1));
}

TEST(RemoveSectionInString, LongTextsTakeLinearTime)
{
    // 400,000 units: begin markers without an end, then many short sections.
    // Searching again from each marker, or from the start after each removal,
    // took tens of seconds.
    std::u16string open;
    for (int i = 0; i < 100000; ++i)
        open += u"<!--";
    std::u16string sections;
    for (int i = 0; i < 50000; ++i)
        sections += u"a<!---->";
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(std::string(open.begin(), open.end()), WithoutSections(open, u"<!--", u"-->"));
    EXPECT_EQ(std::string(50000, 'a'), WithoutSections(sections, u"<!--", u"-->"));
    EXPECT_EQ(std::string(50000, 'a') + "<!--", WithoutSections(sections + u"<!--", u"<!--", u"-->", u"x"));
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - started;
    EXPECT_LT(took.count(), 5.0); // milliseconds in practice, even under the sanitizers
}

TEST(RemoveSectionInString, SectionsJoinedByARemovalAreRemovedToo)
{
    // A removal can complete a begin marker, or change the text after an
    // excepted one: the result is that of searching again from the start.
    EXPECT_EQ("ab", WithoutSections(u"a<!<!---->--x-->b", u"<!--", u"-->"));
    EXPECT_EQ("", WithoutSections(u"<<!---->!---->", u"<!--", u"-->"));
    // "a" is kept while "xa" follows it, and removed once "xy" does.
    EXPECT_EQ("", WithoutSections(u"axazyz", u"a", u"z", u"xa"));
}

std::string Unquoted(const std::u16string& in)
{
    std::vector<unsigned short> buffer = Buffer(in);
    RemoveQuote(buffer.data());
    return Utf8(buffer.data(), U16len(buffer.data()));
}

TEST(RemoveQuote, LeadingQuoteThenTrailingQuoteOfEitherKind)
{
    EXPECT_EQ("abc", Unquoted(u"\"abc\""));
    EXPECT_EQ("abc", Unquoted(u"'abc\""));
    EXPECT_EQ("abc", Unquoted(u"'abc"));
    EXPECT_EQ("abc", Unquoted(u"abc'"));
    EXPECT_EQ("a\"b", Unquoted(u"a\"b"));
    EXPECT_EQ("", Unquoted(u"\""));
    EXPECT_EQ("", Unquoted(u"''"));
    EXPECT_EQ("", Unquoted(u""));
    RemoveQuote(nullptr);
}

TEST(SortString, SortsFixedWidthSlots)
{
    const int width = 6;
    std::vector<unsigned short> table(4 * width, 0);
    const char16_t* words[] = {u"pear", u"apple", u"Zed", u"fig"};
    for (int i = 0; i < 4; ++i)
        for (int k = 0; words[i][k]; ++k)
            table[static_cast<size_t>(i * width + k)] = words[i][k];
    SortString(table.data(), 4, width);
    std::vector<std::string> sorted;
    for (int i = 0; i < 4; ++i)
        sorted.push_back(Utf8(table.data() + i * width, U16len(table.data() + i * width)));
    EXPECT_EQ((std::vector<std::string>{"Zed", "apple", "fig", "pear"}), sorted);
}

TEST(SortString, SlotsWithoutTerminatorAreComparedWithinTheirWidth)
{
    // Two slots of width 3, the first full: compare must not run into the second.
    std::vector<unsigned short> table = {'b', 'b', 'b', 'a', 0, 0};
    SortString(table.data(), 2, 3);
    EXPECT_EQ((std::vector<unsigned short>{'a', 0, 0, 'b', 'b', 'b'}), table);
}

TEST(IsPositionInsideEntity, BetweenAmpersandAndSemicolon)
{
    const unsigned short* text = U16(u"x &amp; y &#160; z");
    EXPECT_FALSE(IsPositionInsideEntity(text, 2)); // before the "&"
    EXPECT_TRUE(IsPositionInsideEntity(text, 3));
    EXPECT_TRUE(IsPositionInsideEntity(text, 6));  // at the ";"
    EXPECT_FALSE(IsPositionInsideEntity(text, 7)); // after it
    EXPECT_TRUE(IsPositionInsideEntity(text, 12));
    EXPECT_FALSE(IsPositionInsideEntity(U16(u"abc;def"), 2));
    EXPECT_FALSE(IsPositionInsideEntity(U16(u"&a b;"), 2));
    EXPECT_TRUE(IsPositionInsideEntity(U16(u"&abcdefghij;"), 1));   // ten-letter name
    EXPECT_FALSE(IsPositionInsideEntity(U16(u"&abcdefghijk;"), 1)); // eleven letters
    EXPECT_FALSE(IsPositionInsideEntity(U16(u"abcdefghijk&x;"), 11));
    EXPECT_FALSE(IsPositionInsideEntity(U16(u"&amp"), 2));
    EXPECT_FALSE(IsPositionInsideEntity(nullptr, 1));
    EXPECT_FALSE(IsPositionInsideEntity(text, 0));
    EXPECT_FALSE(IsPositionInsideEntity(text, 100));
}

TEST(NameAndNumberTests, IdentifiersNumbersAndSymbols)
{
    EXPECT_FALSE(CheckNameConvention(U16(u"1abc"), -1));
    EXPECT_TRUE(CheckNameConvention(U16(u"a-b_c9"), -1));
    EXPECT_TRUE(CheckNameConvention(U16(u"\u00e9t\u00e9"), -1));
    EXPECT_FALSE(CheckNameConvention(U16(u"a b"), -1));
    EXPECT_FALSE(CheckNameConvention(U16(u"a\u00a0"), -1));
    EXPECT_TRUE(CheckNameConvention(U16(u"ab cd"), 2));
    EXPECT_FALSE(CheckNameConvention(U16(u""), -1));
    EXPECT_FALSE(CheckNameConvention(nullptr, -1));

    EXPECT_TRUE(IsStringOnlyNumber(U16(u"-1.5"), -1, true));
    EXPECT_FALSE(IsStringOnlyNumber(U16(u"-1.5"), -1, false));
    EXPECT_FALSE(IsStringOnlyNumber(U16(u"1-2"), -1, true));
    EXPECT_FALSE(IsStringOnlyNumber(U16(u"1.2.3"), -1, true));
    EXPECT_TRUE(IsStringOnlyNumber(U16(u"0123"), -1, false));
    EXPECT_TRUE(IsStringOnlyNumber(U16(u"12px"), 2, false));
    EXPECT_FALSE(IsStringOnlyNumber(U16(u""), -1, true));

    EXPECT_TRUE(IsCharSymbol('#'));
    EXPECT_TRUE(IsCharSymbol(' '));
    EXPECT_FALSE(IsCharSymbol('a'));
    EXPECT_FALSE(IsCharSymbol('7'));
    EXPECT_FALSE(IsCharSymbol(0xE9));
}

TEST(GetInt, PackedIntegersInBothByteOrders)
{
    const char bytes[] = {0x01, 0x02, 0x03, 0x04, static_cast<char>(0xFF)};
    EXPECT_EQ(0x0201u, GetInt(bytes, 0, 5, 0));
    EXPECT_EQ(0x04030201u, GetInt(bytes, 0, 5, 1));
    EXPECT_EQ(0x0102u, GetInt(bytes, 0, 5, 2));
    EXPECT_EQ(0x01020304u, GetInt(bytes, 0, 5, 3));
    EXPECT_EQ(0xFF04u, GetInt(bytes, 3, 5, 0)); // bytes read as unsigned
    const unsigned short units[] = {0x1101, 0x2202, 0x3303, 0x4404};
    EXPECT_EQ(0x01020304u, GetInt(units, 0, 4, 7));
    EXPECT_EQ(0x0403u, GetInt(units, 2, 4, 0));
}

TEST(GetInt, NeverReadsOutsideTheBuffer)
{
    const char bytes[] = {0x01, 0x02, 0x03};
    EXPECT_EQ(0u, GetInt(bytes, 3, 3, 0));
    EXPECT_EQ(0u, GetInt(bytes, 0, 3, 1)); // four bytes wanted, three there
    EXPECT_EQ(0u, GetInt(bytes, 2, 3, 2));
    EXPECT_EQ(0u, GetInt(bytes, -1, 3, 0));
    EXPECT_EQ(0x0302u, GetInt(bytes, 1, 3, 0));
}

TEST(ParseLengthStr, ValueAndUnitCodes)
{
    struct Case
    {
        const char16_t* text;
        int value, unit;
    } cases[] = {
        {u"12", 12, 0},
        {u"50%", 50, 5},
        {u"1.5em", 150, 1},
        {u"2.54cm", 254, 2},
        {u"10mm", 1000, 3},
        {u"0.5in", 50, 6},
        {u"12pt", 12, 4},
        {u"-3px", -3, 0},
    };
    for (const Case& c : cases) {
        int value = -99, unit = -99;
        EXPECT_TRUE(ParseLengthStr(U16(c.text), value, unit));
        EXPECT_EQ(c.value, value) << Utf8(Wide(c.text));
        EXPECT_EQ(c.unit, unit) << Utf8(Wide(c.text));
    }
}

TEST(ParseLengthStr, NumbersThatAreNotFiniteAreRefused)
{
    for (const char16_t* text : {u"nanem", u"-NaNcm", u"infmm", u"-infinityin", u"1e999em"}) {
        int value = -99, unit = -99;
        EXPECT_FALSE(ParseLengthStr(U16(text), value, unit)) << Utf8(Wide(text));
        EXPECT_EQ(0, value) << Utf8(Wide(text));
        EXPECT_EQ(0, unit) << Utf8(Wide(text));
    }
    int value = 0, unit = 0;
    EXPECT_TRUE(ParseLengthStr(U16(u"1e300em"), value, unit)); // finite: held within int
    EXPECT_EQ(INT_MAX, value);
    EXPECT_EQ(1, unit);
}

TEST(UTF8Encoding, OneByteAUnitIncludingCharactersOutsideTheBasicPlane)
{
    CSafeBuf text = Wide(u"a\u00e9\u20ac\U0001F600");
    UTF8Encoding(text);
    const unsigned short expected[] = {'a', 0xC3, 0xA9, 0xE2, 0x82, 0xAC, 0xF0, 0x9F, 0x98, 0x80, 0};
    ASSERT_EQ(10, text.Length());
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(expected[i], text.GetAt(i)) << i;
    EXPECT_STREQ("a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80", text.GetAnsiBuffer());
    CSafeBuf empty;
    UTF8Encoding(empty);
    EXPECT_TRUE(empty.IsEmpty());
    // TidyUnicodeString does nothing to the text.
    EXPECT_EQ(0, TidyUnicodeString(text));
    ASSERT_EQ(10, text.Length());
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(expected[i], text.GetAt(i)) << i;
}

TEST(WildcardComparePattern, StarsQuestionMarksAndCase)
{
    EXPECT_TRUE(WildcardComparePattern("*.gif", "Photo.GIF"));
    EXPECT_FALSE(WildcardComparePattern("a?c", "abd"));
    EXPECT_TRUE(WildcardComparePattern("a?c", "ABC"));
    EXPECT_FALSE(WildcardComparePattern("a?c", "abcd"));
    EXPECT_TRUE(WildcardComparePattern("img*", "img_001.png"));
    EXPECT_TRUE(WildcardComparePattern("*_0*1.*", "img_001.png"));
    EXPECT_FALSE(WildcardComparePattern("*_0*2.*", "img_001.png"));
    EXPECT_TRUE(WildcardComparePattern("a*b*c", "aXbYbZc"));
    EXPECT_FALSE(WildcardComparePattern("ab*ba", "aba")); // both ends may not overlap
    EXPECT_TRUE(WildcardComparePattern("*a*a*a*", "banana"));
    EXPECT_FALSE(WildcardComparePattern("*a*a*a*a*", "banana"));
    EXPECT_TRUE(WildcardComparePattern("*.*", "noext"));
    EXPECT_TRUE(WildcardComparePattern("", "x"));
    EXPECT_TRUE(WildcardComparePattern(nullptr, nullptr));
    EXPECT_FALSE(WildcardComparePattern("*.gif", ""));
    EXPECT_FALSE(WildcardComparePattern("a", nullptr));
    std::string longName(5000, 'x');
    EXPECT_TRUE(WildcardComparePattern("x*x?x", (longName).c_str()));
}

std::string TrimmedCR(const char16_t* in, int where)
{
    return Edited(in, [&](CSafeBuf& text) { TrimCR(text, where); });
}

TEST(LineBreaks, TrimRemoveAndUpperCase)
{
    EXPECT_EQ("a \r\nb \n\t", TrimmedCR(u"\r\n\ta \r\nb \n\t", -1));
    EXPECT_EQ("\r\n\ta \r\nb ", TrimmedCR(u"\r\n\ta \r\nb \n\t", 1));
    EXPECT_EQ("a \r\nb ", TrimmedCR(u"\r\n\ta \r\nb \n\t", 0));
    EXPECT_EQ("", TrimmedCR(u"\r\n\t", 0));
    CSafeBuf text = Wide(u"\ta\r\nb c\n");
    RemoveCR(text);
    EXPECT_EQ("ab c", Utf8(text));
    EXPECT_TRUE(HasUpperCase(Wide(u"abC")));
    EXPECT_FALSE(HasUpperCase(Wide(u"abc\u00c9")));
}

std::string Replaced(const char16_t* text, const char16_t* word)
{
    return Edited(text, [&](CSafeBuf& t) { ReplaceLastWordWith(t, U16(word)); });
}

TEST(ReplaceLastWordWith, ReplacesTheWordAfterTheLastSeparator)
{
    EXPECT_EQ("I like the", Replaced(u"I like teh", u"the"));
    EXPECT_EQ("(see this", Replaced(u"(see thsi", u"this"));
    EXPECT_EQ("x-ray", Replaced(u"x-rya", u"ray"));
    EXPECT_EQ("word", Replaced(u"wrod", u"word"));  // same length
    EXPECT_EQ("ab", Replaced(u"ab", u"long"));      // shorter: unchanged
    EXPECT_EQ("fine", Replaced(u"finee", u"fine")); // no separator: all replaced
    CSafeBuf t = Wide(u"a bc");
    ReplaceLastWordWith(t, "de");
    EXPECT_EQ("a de", Utf8(t));
    // The word may be the text itself.
    CSafeBuf self = Wide(u"same");
    ReplaceLastWordWith(self, static_cast<const unsigned short*>(self));
    EXPECT_EQ("same", Utf8(self));
}

TEST(GetIntValue, FirstRunOfDigitsAfterTheLeadCharacter)
{
    EXPECT_EQ(120, GetIntValue(U16(u"width: 120px"), 0));
    EXPECT_EQ(7, GetIntValue(U16(u"h1 top:7"), ':'));
    EXPECT_EQ(-1, GetIntValue(U16(u"none"), 0));
    EXPECT_EQ(-1, GetIntValue(U16(u"a1"), ':'));
    EXPECT_EQ(-1, GetIntValue(static_cast<const unsigned short*>(nullptr), 0));
    EXPECT_EQ(123, GetIntValue("StartFragment:0000000123\r\n", ':'));
    EXPECT_EQ(45, GetIntValue("x45y67", 0));
    EXPECT_EQ(-1, GetIntValue(static_cast<const char*>(nullptr), ':'));
    EXPECT_EQ(INT_MAX, GetIntValue("n:99999999999999999999999", ':'));
    EXPECT_EQ(INT_MAX, GetIntValue(U16(u"2147483648"), 0));
    EXPECT_EQ(2147483647, GetIntValue(U16(u"2147483647"), 0));
}

std::string WithoutNamespaces(const char16_t* in)
{
    return Edited(in, [&](CSafeBuf& text) { RemoveTagNamespace(text); });
}

TEST(RemoveTagNamespace, ColonsOfTagAndAttributeNamesOnly)
{
    EXPECT_EQ("<o-p>a:b</o-p>", WithoutNamespaces(u"<o:p>a:b</o:p>"));
    EXPECT_EQ("<p xml-lang=\"en\" title='x:y' s-t:u=\"1:2\">",
        WithoutNamespaces(u"<p xml:lang=\"en\" title='x:y' s:t:u=\"1:2\">"));
    EXPECT_EQ("<a-b-c>", WithoutNamespaces(u"<a:b-c>"));
    EXPECT_EQ("<a-b:c>", WithoutNamespaces(u"<a:b:c>"));
    EXPECT_EQ(
        "<!DOCTYPE x:y><!-- a:b --><v-shape/>", WithoutNamespaces(u"<!DOCTYPE x:y><!-- a:b --><v:shape/>"));
    EXPECT_EQ("text: with colons", WithoutNamespaces(u"text: with colons"));
    EXPECT_EQ("< o-p >", WithoutNamespaces(u"< o:p >"));
    EXPECT_EQ("<p a=\"x:", WithoutNamespaces(u"<p a=\"x:"));
}

std::string WithoutTag(const char16_t* in, const char16_t* name)
{
    return Edited(in, [&](CSafeBuf& text) { RemoveXMLTag(text, U16(name)); });
}

TEST(RemoveXMLTag, RemovesTheStartTagAroundTheName)
{
    EXPECT_EQ("<html/>", WithoutTag(u"<!DOCTYPE html PUBLIC \"x\"><html/>", u"!DOCTYPE"));
    EXPECT_EQ("ab", WithoutTag(u"a< \n meta x=1>b", u"meta"));
    EXPECT_EQ("x</meta>", WithoutTag(u"x</meta>", u"meta"));   // end tags stay
    EXPECT_EQ("meta<b>", WithoutTag(u"meta<b>", u"meta"));     // at position 0
    EXPECT_EQ("<meta <b>", WithoutTag(u"<meta <b>", u"meta")); // "<" before ">"
    EXPECT_EQ("<meta", WithoutTag(u"<meta", u"meta"));
    EXPECT_EQ("<a>", WithoutTag(u"<a>", u"meta"));
    CSafeBuf text = Wide(u"<?xml version=\"1.0\"?><r/>");
    RemoveXMLTag(text, "?xml");
    EXPECT_EQ("<r/>", Utf8(text));
}

std::string WithoutDoctype(const char16_t* in)
{
    return Edited(in, [](CSafeBuf& text) { RemoveDoctype(text); });
}

// Only a DOCTYPE that is markup goes: the text of a comment, a CDATA section,
// a processing instruction, a script or a style keeps one.
TEST(RemoveDoctype, PassesOverTextThatIsNoMarkup)
{
    EXPECT_EQ("<html/>", WithoutDoctype(u"<!DOCTYPE html><html/>"));
    EXPECT_EQ("<p>a</p><p>b</p>", WithoutDoctype(u"<p>a</p>< !DOCTYPE x><p>b</p>"));
    EXPECT_EQ("<script><![CDATA[<!DOCTYPE>]]></script>",
        WithoutDoctype(u"<script><![CDATA[<!DOCTYPE>]]></script>"));
    EXPECT_EQ("<SCRIPT type=\"a>\">x<!DOCTYPE>y</Script><p/>",
        WithoutDoctype(u"<SCRIPT type=\"a>\">x<!DOCTYPE>y</Script><!DOCTYPE><p/>"));
    EXPECT_EQ("<style>a<!DOCTYPE>", WithoutDoctype(u"<style>a<!DOCTYPE>"));
    EXPECT_EQ("<script/><p/>", WithoutDoctype(u"<script/><!DOCTYPE><p/>"));
    EXPECT_EQ("<scripts><p/>", WithoutDoctype(u"<scripts><!DOCTYPE><p/>"));
    EXPECT_EQ("<!-- <!DOCTYPE> --><?pi <!DOCTYPE>?><p/>",
        WithoutDoctype(u"<!-- <!DOCTYPE> --><?pi <!DOCTYPE>?><p/>"));
    // The first DOCTYPE that is markup decides, as with RemoveXMLTag.
    EXPECT_EQ("<p>!DOCTYPE x</p><!DOCTYPE>", WithoutDoctype(u"<p>!DOCTYPE x</p><!DOCTYPE>"));
}

std::string WithoutOuterTag(const char16_t* in, int which)
{
    return Edited(in, [&](CSafeBuf& text) { RemoveTag(text, which); });
}

TEST(RemoveTag, FirstLastOrBoth)
{
    EXPECT_EQ("x<i>y</i></b>", WithoutOuterTag(u"<b>x<i>y</i></b>", 1));
    EXPECT_EQ("<b>x<i>y</i>", WithoutOuterTag(u"<b>x<i>y</i></b>", 2));
    EXPECT_EQ("x<i>y</i>", WithoutOuterTag(u"<b>x<i>y</i></b>", 0));
    EXPECT_EQ("no tags", WithoutOuterTag(u"no tags", 0));
    EXPECT_EQ("<open", WithoutOuterTag(u"<open", 0));
    // A ">" before the "<" is no tag: nothing is cut.
    EXPECT_EQ("a>b<c", WithoutOuterTag(u"a>b<c", 0));
    EXPECT_EQ("a>b", WithoutOuterTag(u"a>b<c>", 2));
}

TEST(FindSubStringBetween, EndMarkersInsideQuotesDoNotCount)
{
    CSafeBuf text = Wide(u"x url(\"a)b\") y");
    CSafeBuf out = Wide(u"old");
    EXPECT_EQ(2, FindSubStringBetween(text, out, "url(", ")"));
    EXPECT_EQ("\"a)b\"", Utf8(out));

    CSafeBuf single = Wide(u"[a ']' b] c]");
    EXPECT_EQ(0, FindSubStringBetween(single, out, "[", "]"));
    EXPECT_EQ("a ']' b", Utf8(out));

    CSafeBuf open = Wide(u"start 'never closed ) end");
    EXPECT_EQ(-1, FindSubStringBetween(open, out, "start", ")"));
    EXPECT_TRUE(out.IsEmpty());
    EXPECT_EQ(-1, FindSubStringBetween(text, out, "nothing", ")"));
    EXPECT_EQ(-1, FindSubStringBetween(text, out, nullptr, ")"));
    EXPECT_EQ(-1, FindSubStringBetween(text, out, "url(", nullptr));
}

} // namespace
