// Markup repair through HTML Tidy (CXHTML::ValidateXML), the character
// references resolved before Tidy reads the text, and the folding of line
// breaks (CXHTML::ConvertCRLFToSpace), as case blocks under tests/data/tidy/.
//
// In those files "\uXXXX" stands for a character outside ASCII and "\r",
// "\n", "\t" and "\\" for CR, LF, TAB and a backslash; outputs are written
// the same way, but with their line feeds as they are.

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "base/text/SafeBuf.h"
#include "editor/TidyMarkup.h"
#include "editor/XHTML.h"

#include "tests/common/CaseBlocks.h"
#include "tests/common/SmallStack.h"
#include "tests/common/TextHelpers.h"

namespace {

CSafeBuf Unescape(const std::string& text)
{
    const std::u16string in = qmtest::U16String(qmtest::FromUtf8(text));
    std::u16string units;
    for (size_t i = 0; i < in.size(); ++i) {
        if (in[i] != '\\' || i + 1 >= in.size()) {
            units += in[i];
            continue;
        }
        const char16_t next = in[++i];
        if (next == 'u' && i + 4 < in.size()) {
            const std::string hex(in.begin() + long(i) + 1, in.begin() + long(i) + 5);
            units += static_cast<char16_t>(std::stoul(hex, nullptr, 16));
            i += 4;
        } else {
            units += next == 'r' ? u'\r' : next == 'n' ? u'\n' : next == 't' ? u'\t' : next;
        }
    }
    return CSafeBuf(qmtest::U16(units));
}

std::string Escape(const CSafeBuf& text)
{
    std::string out;
    const unsigned short* s = text;
    for (int i = 0; i < text.Length(); ++i) {
        const unsigned c = s[i];
        if (c == '\r')
            out += "\\r";
        else if (c == '\t')
            out += "\\t";
        else if (c == '\\')
            out += "\\\\";
        else if (c < 0x80)
            out += static_cast<char>(c);
        else {
            char code[8];
            std::snprintf(code, sizeof code, "\\u%04X", c);
            out += code;
        }
    }
    return out;
}

} // namespace

TEST(TidyRepair, CharacterReferencesBeforeTidy)
{
    qmtest::CaseBlockFile file("tidy/references.txt");
    ASSERT_FALSE(file.Cases().empty());
    for (const qmtest::CaseBlock& c : file.Cases()) {
        CSafeBuf text = Unescape(c.input);
        ResolveCharacterReferences(text);
        file.Check(c, Escape(text));
    }
}

TEST(TidyRepair, ValidateXML)
{
    qmtest::CaseBlockFile file("tidy/validate.txt");
    ASSERT_FALSE(file.Cases().empty());
    for (const qmtest::CaseBlock& c : file.Cases()) {
        CSafeBuf markup = Unescape(c.input);
        std::string source;
        if (c.HasOption("source")) {
            source = qmtest::ToUtf8(markup);
            markup.Empty();
        }
        const bool answer = CXHTML::ValidateXML(markup, c.HasOption("source") ? source.c_str() : nullptr,
            c.HasOption("xml"), c.HasOption("keephead"));
        file.Check(c, std::string(answer ? "true" : "false") + "\n" + Escape(markup));
    }
}

TEST(TidyRepair, ConvertCRLFToSpace)
{
    qmtest::CaseBlockFile file("tidy/crlf.txt");
    ASSERT_FALSE(file.Cases().empty());
    for (const qmtest::CaseBlock& c : file.Cases()) {
        CSafeBuf text = Unescape(c.input);
        CXHTML::ConvertCRLFToSpace(text);
        file.Check(c, Escape(text));
    }
}

// Tidy builds and writes its tree recursively, some hundred bytes of stack
// a level: markup nested 1000 deep would overflow a caller's stack of 256 KB.
TEST(TidyRepair, DeepNestingDoesNotOverflowTheCallersStack)
{
    std::string deep;
    for (int i = 0; i < 1000; ++i)
        deep += "<div>";
    deep += "x";
    CSafeBuf markup = qmtest::FromUtf8(deep);
    bool answer = false;
    ASSERT_TRUE(qmtest::RunOnSmallStack([&] { answer = CXHTML::ValidateXML(markup); }, 256 * 1024));
    EXPECT_TRUE(answer);
    const std::string out = qmtest::ToUtf8(markup);
    EXPECT_EQ(0u, out.rfind("<div>\n<div>\n", 0));
    EXPECT_NE(std::string::npos, out.find("\n<div>x</div>\n</div>\n</div>\n"));
}

// Deeper than 1024 (as an HTML reader closes elements) is not handed to
// Tidy: nothing is written and the markup is as it was. Paragraphs close
// one another, so a long run of them is no depth.
TEST(TidyRepair, MarkupNestedTooDeepIsNotRepaired)
{
    std::string deep;
    for (int i = 0; i < 1025; ++i)
        deep += "<span>";
    CSafeBuf markup = qmtest::FromUtf8(deep + "x");
    EXPECT_FALSE(CXHTML::ValidateXML(markup));
    EXPECT_EQ(deep + "x", qmtest::ToUtf8(markup));
    std::string paragraphs;
    for (int i = 0; i < 5000; ++i)
        paragraphs += "<p>x";
    markup = qmtest::FromUtf8(paragraphs);
    EXPECT_TRUE(CXHTML::ValidateXML(markup));
}

// Half a million start tags would need more stack than Tidy is given:
// nothing is written, the answer says so and the markup is as it was.
TEST(TidyRepair, MarkupTidyDoesNotRepairAnswersFalse)
{
    std::string many;
    for (int i = 0; i < 530000; ++i)
        many += "<b>";
    CSafeBuf markup = qmtest::FromUtf8(many);
    EXPECT_FALSE(CXHTML::ValidateXML(markup));
    EXPECT_EQ(many, qmtest::ToUtf8(markup));
}
