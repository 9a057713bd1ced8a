// Markup in, markup out: the reader, the tree repair and the writer on the
// cases of tests/data/markup/reader.txt (tests/common/CaseBlocks.h tells the
// format). Each output is also read again and must write as itself: a
// written tree reads back as the same tree.

#include "tests/common/CaseBlocks.h"

#include "base/text/SafeBuf.h"
#include "editor/XHTML.h"
#include "element/Element.h"
#include "element/markup/MarkupDocument.h"
#include "element/markup/SourceCode.h"

#include <gtest/gtest.h>

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

} // namespace

TEST(MarkupCases, ReadRepairWrite)
{
    qmtest::CaseBlockFile file("markup/reader.txt");
    ASSERT_FALSE(file.Cases().empty());
    for (const qmtest::CaseBlock& c : file.Cases()) {
        CXHTML engine;
        CMarkupDocument doc(&engine);
        CSafeBuf error;
        if (!doc.Read(c.input.data(), c.input.size(), error)) {
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
        EXPECT_EQ(Shown(out), Shown(second)) << c.name << ": read again";
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
