// CStringSplitter: the five grammars and the read cursor.

#include "base/text/StringSplitter.h"

#include "tests/common/TextHelpers.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

using qmtest::U16;
using qmtest::Utf8;
using qmtest::Wide;

namespace {

using Units = std::vector<std::pair<std::string, std::string>>;

Units Split(const char16_t* text, int mode, unsigned short separator, bool trim = true)
{
    CStringSplitter splitter(U16(text), mode, separator);
    Units units;
    CSafeBuf name, value;
    splitter.ResetGet();
    while (splitter.GetNext(&name, &value, trim))
        units.emplace_back(Utf8(name), Utf8(value));
    EXPECT_EQ(static_cast<int>(units.size()), splitter.GetCount());
    return units;
}

std::vector<std::string> Values(const char16_t* text, int mode, unsigned short separator, bool trim = false)
{
    std::vector<std::string> values;
    for (const auto& unit : Split(text, mode, separator, trim)) {
        EXPECT_EQ("", unit.first);
        values.push_back(unit.second);
    }
    return values;
}

TEST(StringSplitterRules, SelectorsAndBodies)
{
    EXPECT_EQ((Units{{"p", "color: red"}, {"div", ""}}), Split(u"p { color: red } div { }", 0, ';'));
    EXPECT_EQ((Units{{"h1, h2", "a:b"}, {"@media print", "p { x: y } q {}"}}),
        Split(u"h1, h2{a:b}\n@media print { p { x: y } q {} }", 0, ';'));
}

TEST(StringSplitterRules, QuotedAndEscapedBracesStayInTheValue)
{
    EXPECT_EQ((Units{{"a", "content: \"}\"; x: '{'"}, {"b", "y: 1"}}),
        Split(u"a { content: \"}\"; x: '{' } b { y: 1 }", 0, ';'));
    EXPECT_EQ((Units{{"a", "content: \"x\\\"}\""}}), Split(u"a { content: \"x\\\"}\" }", 0, ';'));
    EXPECT_EQ((Units{{"a\\{", "x: y"}}), Split(u"a\\{ { x: y }", 0, ';'));
}

TEST(StringSplitterRules, IncompleteOrUnbalancedTextGivesNoMoreRules)
{
    EXPECT_TRUE(Split(u"p { color: red", 0, ';').empty());
    EXPECT_TRUE(Split(u"p", 0, ';').empty());
    EXPECT_EQ((Units{{"p", "a"}}), Split(u"p { a } q { b", 0, ';'));
    EXPECT_EQ((Units{{"p", "a"}}), Split(u"p { a } } q { b }", 0, ';'));
    // Unterminated quote and a trailing backslash end the text safely.
    EXPECT_TRUE(Split(u"p { content: \"}", 0, ';').empty());
    EXPECT_TRUE(Split(u"p { x\\", 0, ';').empty());
}

TEST(StringSplitterRules, UntrimmedUnitsKeepTheirWhiteSpace)
{
    EXPECT_EQ((Units{{" p ", " a "}}), Split(u" p { a }", 0, ';', false));
}

TEST(StringSplitterNameLines, NameWhiteSpaceValue)
{
    EXPECT_EQ((Units{{"one", "first value"}, {"two", "2"}}),
        Split(u"  one \t first value\r\nlonely\ntwo 2", 1, 0, false));
    EXPECT_EQ((Units{{"name", "value"}}), Split(u"name \n  value", 1, 0, false));
    EXPECT_TRUE(Split(u"only", 1, 0).empty());
    EXPECT_TRUE(Split(u"name   ", 1, 0).empty());
}

TEST(StringSplitterDeclarations, NameSeparatorValue)
{
    EXPECT_EQ((Units{{"color", "red"}, {"width", "10px"}}), Split(u"color: red; width:10px", 2, ';'));
    EXPECT_EQ((Units{{"bold", ""}}), Split(u"bold;", 2, ';'));
    EXPECT_EQ((Units{{"a", ""}, {"b=x", "c"}, {"d", ""}}), Split(u";; a: ; b=x:c;d", 2, ';'));
    EXPECT_EQ((Units{{"a", "1"}, {"b", "x:y"}}), Split(u"a=1;b=x:y", 2, '='));
    EXPECT_EQ(
        (Units{{"font", "12px \"Times New Roman\""}}), Split(u"font : 12px \"Times New Roman\" ", 2, ';'));
    EXPECT_EQ((Units{{"last", ""}}), Split(u"last:", 2, ';'));
}

TEST(StringSplitterLists, SeparatorsAndEmptyItems)
{
    EXPECT_EQ((std::vector<std::string>{"a", "b", "c"}), Values(u"a, b;c", 3, 0));
    EXPECT_EQ((std::vector<std::string>{"a", "", "b"}), Values(u"a,,b", 3, ','));
    EXPECT_EQ((std::vector<std::string>{"a", "b"}), Values(u" a  \n b ", 3, ' '));
    EXPECT_EQ((std::vector<std::string>{"1", "2", "3"}), Values(u"1.2.3", 3, '.'));
    EXPECT_EQ((std::vector<std::string>{"", "x "}), Values(u",x ,", 3, ','));
    EXPECT_EQ((std::vector<std::string>{"a", "b"}), Values(u"a ,; b", 3, 0));
    EXPECT_TRUE(Values(u"  ", 3, ',').empty());
}

TEST(StringSplitterLines, LinesAtLineFeeds)
{
    EXPECT_EQ((std::vector<std::string>{"one\r", "two\r"}), Values(u"one\r\ntwo\r\n", 5, 0));
    EXPECT_EQ((std::vector<std::string>{"one", "two"}), Values(u"one\r\ntwo\r\n", 5, 0, true));
    EXPECT_EQ((std::vector<std::string>{"a", "", "b"}), Values(u"a\n\nb", 5, 0));
    EXPECT_EQ((std::vector<std::string>{""}), Values(u"\n", 5, 0));
}

TEST(StringSplitterCursor, GetNextNeedsResetAndEndsAfterTheLastUnit)
{
    CStringSplitter splitter(U16(u"a,b"), 3, ',');
    CSafeBuf name, value;
    EXPECT_FALSE(splitter.GetNext(&name, &value, false, nullptr));
    splitter.ResetGet();
    CSafeBuf comment = Wide(u"stale");
    EXPECT_TRUE(splitter.GetNext(&name, &value, false, &comment));
    EXPECT_EQ("a", Utf8(value));
    EXPECT_EQ("", Utf8(comment));
    EXPECT_TRUE(splitter.GetNext(nullptr, &value));
    EXPECT_EQ("b", Utf8(value));
    EXPECT_FALSE(splitter.GetNext(&name, &value));
    splitter.ResetGet();
    EXPECT_TRUE(splitter.GetNext(&name, &value));
    EXPECT_EQ("a", Utf8(value));
}

TEST(StringSplitterCursor, ReparsingReplacesUnitsAndBadInputGivesNone)
{
    CStringSplitter splitter;
    EXPECT_FALSE(splitter.ParseString(nullptr, 3, ','));
    EXPECT_EQ(0, splitter.GetCount());
    EXPECT_EQ(nullptr, splitter.GetLastUnit());
    EXPECT_TRUE(splitter.ParseString(U16(u"a,b,c"), 3, ','));
    EXPECT_EQ(3, splitter.GetCount());
    EXPECT_TRUE(splitter.ParseString(U16(u"x"), 3, ','));
    EXPECT_EQ(1, splitter.GetCount());
    EXPECT_TRUE(splitter.ParseString(U16(u"a,b"), 4, ','));
    EXPECT_EQ(0, splitter.GetCount());
    CSafeBuf value;
    splitter.ResetGet();
    EXPECT_FALSE(splitter.GetNext(nullptr, &value));
}

TEST(StringSplitterCursor, UnitsAddedByTheCallerAreReadBackAndClamped)
{
    CStringSplitter splitter(U16(u"name=value"), 2, '=');
    StringUnit* unit = new StringUnit;
    unit->nameOffset = 5;
    unit->nameLength = 100; // beyond the text: read up to its end
    unit->valueOffset = 50; // outside the text: empty
    unit->valueLength = 3;
    splitter.AddUnit(unit);
    EXPECT_EQ(unit, splitter.GetLastUnit());
    EXPECT_EQ(2, splitter.GetCount());
    CSafeBuf name, value;
    splitter.ResetGet();
    ASSERT_TRUE(splitter.GetNext(&name, &value));
    EXPECT_EQ("name", Utf8(name));
    ASSERT_TRUE(splitter.GetNext(&name, &value));
    EXPECT_EQ("value", Utf8(name));
    EXPECT_EQ("", Utf8(value));
}

} // namespace
