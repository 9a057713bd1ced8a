// Escaping and unescaping of text for XML, HTML, attributes and style sheets.

#include "base/codec/Escaping.h"

#include "tests/common/TextHelpers.h"

#include <gtest/gtest.h>

using qmtest::Edited;
using qmtest::Utf8;
using qmtest::Wide;

namespace {

std::string EscapedXML(const char16_t* in, bool spaces)
{
    return Edited(in, [&](CSafeBuf& text) { EscapeXMLChar(text, spaces); });
}

TEST(EscapeXMLChar, MarkupCharactersBecomeReferencesButTheApostropheStays)
{
    EXPECT_EQ("a &amp; b &lt;c&gt; &quot;d&quot; 'e'", EscapedXML(u"a & b <c> \"d\" 'e'", false));
    // An existing reference is escaped again: the function takes plain text.
    EXPECT_EQ("&amp;amp;", EscapedXML(u"&amp;", false));
    EXPECT_EQ("", EscapedXML(u"", true));
    EXPECT_EQ("plain \u00e9 text", EscapedXML(u"plain \u00e9 text", true));
}

TEST(EscapeXMLChar, RunsOfSpacesKeepTheirFirstSpaceOnlyWhenAsked)
{
    EXPECT_EQ(" &#160;&#160;", EscapedXML(u"   ", true));
    EXPECT_EQ("   ", EscapedXML(u"   ", false));
    EXPECT_EQ("a b &#160;c &#160;&#160;&amp;", EscapedXML(u"a b  c   &", true));
    // A single space between words and tabs are never touched.
    EXPECT_EQ("a b\t\tc", EscapedXML(u"a b\t\tc", true));
    EXPECT_EQ("x  y", EscapedXML(u"x  y", false));
}

// The escaping as a character-by-character rule, to hold the block-wise
// scan against.
std::u16string EscapedByRule(const std::u16string& in, bool spaces)
{
    std::u16string out;
    for (size_t i = 0; i < in.size(); ++i) {
        const char16_t c = in[i];
        if (c == '&')
            out += u"&amp;";
        else if (c == '<')
            out += u"&lt;";
        else if (c == '>')
            out += u"&gt;";
        else if (c == '"')
            out += u"&quot;";
        else if (spaces && c == ' ' && i > 0 && in[i - 1] == ' ')
            out += u"&#160;";
        else
            out += c;
    }
    return out;
}

TEST(AppendEscapedXML, EveryPositionOfTheLongTextsAWriterMeets)
{
    // Each marked character, a pair of spaces and units that share a byte
    // with a markup character, at every position of texts up to several
    // blocks of eight long, appended after text already in the buffer.
    const std::u16string marks[] = {u"&", u"<", u">", u"\"", u"  ", u"\u0126", u"\uFF1C", u"\u3C00"};
    for (bool spaces : {false, true}) {
        for (const std::u16string& mark : marks) {
            for (size_t length = 0; length <= 40; ++length) {
                for (size_t at = 0; at <= length; ++at) {
                    std::u16string text(length, u'x');
                    for (size_t i = 3; i < length; i += 5)
                        text[i] = u' ';
                    text.insert(at, mark);
                    CSafeBuf out = Wide(u"kept");
                    const auto* units = reinterpret_cast<const unsigned short*>(text.data());
                    AppendEscapedXML(out, units, static_cast<int>(text.size()), spaces);
                    ASSERT_EQ(Utf8(Wide((u"kept" + EscapedByRule(text, spaces)).c_str())), Utf8(out))
                        << "length " << length << " at " << at << " spaces " << spaces;
                }
            }
        }
    }
}

TEST(AppendEscapedXML, TextsOfManyReferencesOutgrowTheRoomOfTheirUnits)
{
    // Every unit, or every other, a reference: the written text grows past
    // the room the text's own units take, after a short or a long start.
    for (bool spaces : {false, true}) {
        for (const char16_t* unit : {u"&", u"\"", u" ", u"<x"}) {
            for (size_t count = 1; count <= 48; count += 7) {
                std::u16string text;
                for (size_t i = 0; i < count; ++i)
                    text += unit;
                for (const std::u16string& kept : {std::u16string(u"k"), std::u16string(300, u'k')}) {
                    CSafeBuf out = Wide(kept.c_str());
                    const auto* units = reinterpret_cast<const unsigned short*>(text.data());
                    AppendEscapedXML(out, units, static_cast<int>(text.size()), spaces);
                    ASSERT_EQ(Utf8(Wide((kept + EscapedByRule(text, spaces)).c_str())), Utf8(out))
                        << "count " << count << " spaces " << spaces;
                }
            }
        }
    }
}

TEST(EscapeHTMLUnicode, CharactersAbove255AndNoBreakSpaceBecomeReferences)
{
    CSafeBuf text = Wide(u"caf\u00e9\u00a0\u20ac<\u4e2d");
    EscapeHTMLUnicode(text);
    EXPECT_EQ("caf\u00e9&#160;&#8364;<&#20013;", Utf8(text));
}

TEST(EscapeHTMLUnicode, SurrogatePairBecomesOneReferenceAndALoneHalfAReplacement)
{
    CSafeBuf pair = Wide(u"a\U0001F600b");
    EscapeHTMLUnicode(pair);
    EXPECT_EQ("a&#128512;b", Utf8(pair));

    const unsigned short lone[] = {'x', 0xD800, 'y', 0xDC00, 0};
    CSafeBuf text(lone);
    EscapeHTMLUnicode(text);
    EXPECT_EQ("x&#65533;y&#65533;", Utf8(text));

    const unsigned short atEnd[] = {'z', 0xD83D, 0};
    CSafeBuf end(atEnd);
    EscapeHTMLUnicode(end);
    EXPECT_EQ("z&#65533;", Utf8(end));
}

TEST(ValidateAttribute, EscapesOnlyTheQuoteThatDelimitsTheValue)
{
    CSafeBuf dq = Wide(u"say \"hi\" it's");
    ValidateAttribute(dq, true);
    EXPECT_EQ("say &#34;hi&#34; it's", Utf8(dq));
    CSafeBuf sq = Wide(u"say \"hi\" it's");
    ValidateAttribute(sq, false);
    EXPECT_EQ("say \"hi\" it&#39;s", Utf8(sq));
}

std::string Unescaped(const std::u16string& in)
{
    CSafeBuf text = Wide(in.c_str());
    EscapeString(text);
    return Utf8(text);
}

TEST(EscapeString, BackslashEscapesOfStyleSheets)
{
    EXPECT_EQ("a\r\n\tb", Unescaped(u"a\\r\\n\\tb"));
    EXPECT_EQ("A\u00e9Z", Unescaped(u"\\41\\E9\\5a"));
    EXPECT_EQ("x\"y\\z", Unescaped(u"x\\\"y\\\\z"));
    // One hex digit followed by a non-digit: the digit is dropped.
    EXPECT_EQ("xg", Unescaped(u"x\\4g"));
    EXPECT_EQ("abc", Unescaped(u"abc\\"));
    EXPECT_EQ("ab", Unescaped(u"ab\\4"));
    EXPECT_EQ("no escapes", Unescaped(u"no escapes"));
}

std::string WithoutEntities(const char16_t* in, bool remove)
{
    return Edited(in, [&](CSafeBuf& text) { RemoveXMLAllEscape(text, remove); });
}

TEST(RemoveXMLAllEscape, KeepsXmlAndNumericReferencesAndDeletesOtherNames)
{
    EXPECT_EQ("a&amp;b&#160;c d", WithoutEntities(u"a&amp;b&#160;c&nbsp; d", true));
    EXPECT_EQ("&lt;&gt;&quot;&apos;&#x41;", WithoutEntities(u"&lt;&gt;&quot;&apos;&#x41;", true));
    EXPECT_EQ("xy", WithoutEntities(u"x&eacute;&copy;y", true));
    EXPECT_EQ("a&nbsp;b", WithoutEntities(u"a&nbsp;b", false));
}

TEST(RemoveXMLAllEscape, AmpersandsThatStartNoReferenceKeepTheirText)
{
    // A stray "&" must not swallow the words up to a later ";".
    EXPECT_EQ("Tom & Jerry; and", WithoutEntities(u"Tom & Jerry; and", true));
    EXPECT_EQ("a&b c;", WithoutEntities(u"a&b c;", true));
    // The ";" must come within 14 characters of the "&".
    EXPECT_EQ("&abcdefghijklmnop;", WithoutEntities(u"&abcdefghijklmnop;", true));
    EXPECT_EQ("end&", WithoutEntities(u"end&", true));
    EXPECT_EQ("end", WithoutEntities(u"end&x;", true));
}

} // namespace
