// Markup in, markup out: the reader, the tree repair and the writer on the
// cases of tests/data/markup/ (tests/common/CaseBlocks.h tells the format):
// reader.txt, white_space.txt (word breaks and blanks), documents.txt
// (what stands around the body: prolog, encodings, html) and depth.txt
// (trees the repair takes past the parser's depth). Each output is
// also read again and must write as itself: a written tree reads back as
// the same tree. The measure, cut and text of content kept as markup on
// markup no parser made (tests/data/kept_markup/cases.txt).

#include "tests/common/CaseBlocks.h"
#include "tests/common/CaseFile.h"
#include "tests/common/TextHelpers.h"

#include "base/text/SafeBuf.h"
#include "editor/XHTML.h"
#include "element/Element.h"
#include "element/factory/ElementFactory.h"
#include "element/markup/KeptMarkup.h"
#include "element/markup/MarkupDocument.h"
#include "element/markup/MarkupEntities.h"
#include "element/markup/SourceCode.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

std::string Utf8(const CSafeBuf& text)
{
    char* bytes = nullptr;
    int n = text.CreateUTF8Str(&bytes);
    std::string out(bytes, static_cast<size_t>(n));
    delete[] bytes;
    return out;
}

void ReplaceAll(std::string& s, const std::string& from, const std::string& to)
{
    for (size_t at = s.find(from); at != std::string::npos; at = s.find(from, at + to.size()))
        s.replace(at, from.size(), to);
}

// The output as the case files show it: line feeds for CR LF, {nbsp} for a
// raw no-break space.
std::string Shown(const CSafeBuf& markup)
{
    std::string s = Utf8(markup);
    ReplaceAll(s, "\r\n", "\n");
    ReplaceAll(s, "\xC2\xA0", "{nbsp}");
    return s;
}

std::string Reason(const CSafeBuf& error)
{
    std::string s = Utf8(error);
    size_t from = s.find("Reason: ");
    size_t to = s.find("<br />Line");
    if (from == std::string::npos || to == std::string::npos)
        return s;
    s = s.substr(from + 8, to - from - 8);
    while (!s.empty() && s.back() == '\n')
        s.pop_back();
    return s;
}

CElement* FindTag(CElement* e, const std::string& tag)
{
    if (e->IsTag(tag.c_str()))
        return e;
    for (CElement* c = e->m_firstChild; c; c = c->m_nextSibling) {
        if (CElement* found = FindTag(c, tag))
            return found;
    }
    return nullptr;
}

// The input as UTF-16 with its byte-order mark, little- or big-endian.
std::string Utf16(const std::string& utf8, bool little)
{
    CSafeBuf text;
    text.AssignUTF8(utf8.c_str());
    std::string out = little ? "\xFF\xFE" : "\xFE\xFF";
    const unsigned short* s = text;
    for (int i = 0; i < text.Length(); ++i) {
        const char low = static_cast<char>(s[i] & 0xFF), high = static_cast<char>(s[i] >> 8);
        out += little ? low : high;
        out += little ? high : low;
    }
    return out;
}

void RunCases(const char* path)
{
    qmtest::CaseBlockFile file(path);
    ASSERT_FALSE(file.Cases().empty());
    for (const qmtest::CaseBlock& c : file.Cases()) {
        CXHTML engine;
        CMarkupDocument doc(&engine);
        CSafeBuf error;
        std::string input = c.input;
        if (c.HasOption("utf16le") || c.HasOption("utf16be"))
            input = Utf16(input, c.HasOption("utf16le"));
        if (!doc.Read(input.data(), input.size(), error)) {
            file.Check(c, "ERROR: " + Reason(error));
            continue;
        }
        bool changesTree = c.HasOption("merge");
        for (const std::string& option : c.options) {
            if (option.rfind("lock=", 0) == 0) {
                CElement* locked = FindTag(doc.Body(), option.substr(5));
                ASSERT_NE(locked, nullptr) << c.name;
                locked->m_locked = 1;
                changesTree = true;
            }
        }
        const int flags
            = (c.HasOption("indent") ? kSourceIndent : 0) | (c.HasOption("merge") ? kSourceMerge : 0);
        CSafeBuf out;
        doc.Write(out, flags);
        file.Check(c, Shown(out));
        if (flags & kSourceIndent) {
            std::string bytes = Utf8(out);
            for (size_t i = 0; i < bytes.size(); ++i)
                EXPECT_TRUE(bytes[i] != '\n' || (i > 0 && bytes[i - 1] == '\r'))
                    << c.name << ": a bare line feed";
        }
        if (changesTree)
            continue;
        CMarkupDocument again(&engine);
        std::string written = Utf8(out);
        ASSERT_TRUE(again.Read(written.data(), written.size(), error)) << c.name << ": " << Utf8(error);
        CSafeBuf second;
        again.Write(second, flags);
        if (!c.HasOption("unsettled")) {
            EXPECT_EQ(Shown(out), Shown(second)) << c.name << ": read again";
            continue;
        }
        // The repair made something that the reader reads into another
        // tree: that tree is a fixed point.
        CMarkupDocument third(&engine);
        written = Utf8(second);
        ASSERT_TRUE(third.Read(written.data(), written.size(), error)) << c.name << ": " << Utf8(error);
        CSafeBuf thirdOut;
        third.Write(thirdOut, flags);
        EXPECT_EQ(Shown(second), Shown(thirdOut)) << c.name << ": read a third time";
    }
}

} // namespace

TEST(MarkupCases, ReadRepairWrite) { RunCases("markup/reader.txt"); }

TEST(MarkupCases, WhiteSpace) { RunCases("markup/white_space.txt"); }

TEST(MarkupCases, Documents) { RunCases("markup/documents.txt"); }

TEST(MarkupCases, Depth) { RunCases("markup/depth.txt"); }

// UTF-16 that cannot be decoded is refused with a reason, as malformed
// markup is; a zero character is refused as it is in UTF-8.
TEST(MarkupDocument, BrokenUtf16DoesNotRead)
{
    struct Bad
    {
        const char* name;
        std::string bytes;
        const char* reason;
    };
    const Bad cases[] = {
        {"half a unit at the end", std::string("\xFF\xFE<\0p\0/\0>\0\n", 11), "half a character"},
        {"a lone high surrogate", std::string("\xFF\xFE<\0p\0>\0\x3D\xD8x\0<\0/\0p\0>\0", 20), "surrogate"},
        {"a low surrogate first", std::string("\xFE\xFF\0<\0p\0>\xDE\x00\0<\0/\0p\0>", 18), "surrogate"},
        {"a zero unit", std::string("\xFF\xFE<\0p\0>\0\0\0<\0/\0p\0>\0", 18), "Char 0x0"},
    };
    for (const Bad& bad : cases) {
        CMarkupDocument doc(nullptr);
        CSafeBuf error;
        EXPECT_FALSE(doc.Read(bad.bytes.data(), bad.bytes.size(), error)) << bad.name;
        EXPECT_EQ(doc.Body(), nullptr) << bad.name;
        EXPECT_NE(Utf8(error).find(bad.reason), std::string::npos) << bad.name << ": " << Utf8(error);
    }
}

namespace {

long CountElements(const CElement* e)
{
    long n = 1;
    for (const CElement* c = e->m_firstChild; c; c = c->m_nextSibling)
        n += CountElements(c);
    return n;
}

} // namespace

TEST(MarkupRepair, LineBreaksInNestedInlinesMakeElementsInProportionToTheInput)
{
    // Moving a break out of its inline elements copies them for the part
    // before it; however deep the nesting, the tree stays within a fixed
    // multiple of the elements written. Breaks whose copies no longer fit
    // stay where they are, the first ones in the block being moved out.
    for (int depth : {4, 16, 40, 120}) {
        const int breaks = 400;
        std::string markup = "<p>";
        for (int i = 0; i < depth; ++i)
            markup += "<b>";
        for (int i = 0; i < breaks; ++i)
            markup += "x<br/>";
        markup += "x";
        for (int i = 0; i < depth; ++i)
            markup += "</b>";
        markup += "</p>";
        CXHTML engine;
        CMarkupDocument doc(&engine);
        CSafeBuf error;
        ASSERT_TRUE(doc.Read(markup.data(), markup.size(), error)) << depth;
        const long written = 2 + depth + 2 * breaks + 1; // body, p, the b, the breaks and texts
        EXPECT_LT(CountElements(doc.Body()), 20 * written) << depth;
        const CElement* p = doc.Body()->m_firstChild;
        ASSERT_EQ(p->m_kind, kKindP);
        int lifted = 0;
        for (const CElement* c = p->m_firstChild; c; c = c->m_nextSibling)
            lifted += c->m_kind == kKindBr;
        if (depth <= 16)
            EXPECT_EQ(lifted, breaks) << depth;
        else
            EXPECT_TRUE(lifted > 0 && lifted < breaks) << depth << ": " << lifted << " moved out";
    }
}

// A page's entities may expand to 1 MB, or to four times the page's size
// when that is more; a page whose entities expand further is refused, and
// what is read keeps every character.
TEST(MarkupDocument, EntitiesExpandWithinABoundOfThePagesSize)
{
    const std::string kilobyte(1000, 'k');
    auto page = [&](int references, size_t padding) {
        std::string text = "<!DOCTYPE html [<!ENTITY k \"" + kilobyte + "\">]><html><body><p>";
        for (int i = 0; i < references; ++i)
            text += "&k;";
        text += "</p><!--" + std::string(padding, '.') + "--></body></html>";
        return text;
    };
    auto textLength = [](const CMarkupDocument& doc) {
        long n = 0;
        for (const CElement* e = doc.Body()->m_firstChild; e; e = e->m_nextSibling) {
            for (const CElement* c = e->m_firstChild; c; c = c->m_nextSibling)
                n += c->IsTextElement() ? c->m_text.Length() : 0;
        }
        return n;
    };
    CXHTML engine;
    CSafeBuf error;
    {
        CMarkupDocument doc(&engine);
        const std::string text = page(1048, 0);
        ASSERT_TRUE(doc.Read(text.data(), text.size(), error)) << Utf8(error);
        EXPECT_EQ(textLength(doc), 1048000);
    }
    {
        CMarkupDocument doc(&engine);
        const std::string text = page(1049, 0);
        EXPECT_FALSE(doc.Read(text.data(), text.size(), error));
        EXPECT_EQ(Reason(error), "the document's entities expand beyond the size allowed for it");
        EXPECT_EQ(doc.Body(), nullptr);
    }
    {
        // Elements cost more than text: 5 KB that would put 262,000 of them
        // in place are refused.
        CMarkupDocument doc(&engine);
        std::string text = "<!DOCTYPE html [<!ENTITY e \"";
        for (int i = 0; i < 1000; ++i)
            text += "<b/>";
        text += "\">]><html><body><p>";
        for (int i = 0; i < 262; ++i)
            text += "&e;";
        text += "</p></body></html>";
        EXPECT_FALSE(doc.Read(text.data(), text.size(), error));
        EXPECT_EQ(Reason(error), "the document's entities expand beyond the size allowed for it");
    }
    {
        // A page of 400 KB may expand to 1.6 MB.
        CMarkupDocument doc(&engine);
        const std::string text = page(1500, 400000);
        ASSERT_TRUE(doc.Read(text.data(), text.size(), error)) << Utf8(error);
        EXPECT_EQ(textLength(doc), 1500000);
    }
}

// The UTF-16 preparation finds each '&' and '<' wherever it stands among
// the units (they are looked for several at a time) and gives what the
// byte preparation gives; a unit whose low byte is '&' or '<' (U+2026,
// U+263C) is neither.
TEST(MarkupEntities, Utf16AndBytesAgreeAtEveryOffset)
{
    const std::string fillers[] = {"", "a", "\xC3\xA9", "\xE2\x80\xA6", "\xE2\x98\xBC"};
    const std::string tails[] = {"&nbsp;x", "&amp;", "<!--&nbsp;-->&eacute;", "&unknown;y", "&#8230;"};
    for (const std::string& tail : tails) {
        for (int offset = 0; offset < 8; ++offset) {
            for (const std::string& filler : fillers) {
                std::string bytes = "<p>";
                for (int i = 0; i < offset; ++i)
                    bytes += i % 2 ? filler : std::string("b");
                bytes += tail + "</p>";
                CSafeBuf units;
                units.AssignUTF8(bytes.c_str());
                PrepareMarkupEntities(bytes);
                PrepareMarkupEntities(units);
                CSafeBuf expected;
                expected.AssignUTF8(bytes.c_str());
                EXPECT_TRUE(units == static_cast<const unsigned short*>(expected))
                    << tail << " after " << offset << " units of " << filler;
            }
        }
    }
}

TEST(KeptMarkup, MeasureCutAndText)
{
    std::unique_ptr<CElement> object(CreateElement("object", nullptr, nullptr, nullptr));
    ASSERT_NE(object, nullptr);
    for (const qmtest::CaseLine& c : qmtest::ReadCaseFile("kept_markup/cases.txt", 5)) {
        object->m_text = qmtest::FromUtf8(c.fields[0]);
        EXPECT_EQ(std::to_string(KeptMarkupHeight(object.get())), c.fields[3]) << "line " << c.line;
        EXPECT_EQ(qmtest::ToUtf8(KeptMarkupText(object.get())), c.fields[4]) << "line " << c.line;
        CSafeBuf flat(object->m_text);
        FlattenKeptMarkup(flat, std::stoi(c.fields[1]));
        EXPECT_EQ(qmtest::ToUtf8(flat), c.fields[2]) << "line " << c.line;
    }
}
