// Deleting a selection and merging like neighbours on an engine with a
// loaded document. A case's markup marks the caret with "|" and the
// selected characters with "[" and "]" (in one text run, or from the run of
// "[" to the run of "]", the runs between selected whole); its keys go
// through the engine's key map; the body's content comes out (compact,
// U+00A0 as "{nbsp}").

#include "tests/common/CaseBlocks.h"
#include "tests/common/ScriptedUiDriver.h"
#include "tests/common/TextHelpers.h"
#include "tests/editor/support/EngineWithControl.h"
#include "tests/editor/support/MarkedDocument.h"

#include "element/Element.h"
#include "element/markup/SourceCode.h"
#include "platform/events/Services.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Owns the UTF-16 copy of an ASCII text for the call it is passed to.
CSafeBuf u16(const char* text) { return CSafeBuf(text); }

class DeleteAndCombine : public qmtest::EngineWithControl
{
protected:
    void Load(std::string markup)
    {
        const std::string::size_type at = markup.find('|');
        if (at != std::string::npos)
            markup.replace(at, 1, kCaretMarker);
        ASSERT_TRUE(engine->LoadDocument(CSafeBuf(markup.c_str())));
        MarkSelection();
    }

    void MarkSelection() { qmtest::MarkSelection(*engine); }

    std::string Content()
    {
        CSafeBuf out;
        engine->GetSourceCode(out, 6);
        std::string s = qmtest::Utf8(out);
        const auto open = s.find("<body");
        const auto start = open == std::string::npos ? 0 : s.find('>', open) + 1;
        const auto end = s.rfind("</body>");
        s = s.substr(start, end == std::string::npos ? std::string::npos : end - start);
        for (auto cr = s.find_first_of("\r\n"); cr != std::string::npos; cr = s.find_first_of("\r\n"))
            s.erase(cr, 1);
        for (auto nb = s.find("\xC2\xA0"); nb != std::string::npos; nb = s.find("\xC2\xA0"))
            s.replace(nb, 2, "{nbsp}");
        return s;
    }

    qmtest::ScriptedUiDriver driver;
    qm::events::ScopedUiDriver scope{driver};
};

TEST_F(DeleteAndCombine, KeysOverASelection)
{
    struct Case
    {
        const char* name;
        const char* markup;
        const char* keys; // each character one key; "\b" Backspace, "\x7f" Delete
        const char* expected;
    };
    const Case cases[] = {
        {"Backspace deletes the selected characters", "<p>a[bc]d|</p>", "\bx", "<p>axd</p>"},
        {"a character replaces the selected characters", "<p>a[bc]d|</p>", "x", "<p>axd</p>"},
        {"Backspace over all text of a cell's only p leaves the cell without p",
            "<table><tr><td><p>[ab]|</p></td></tr></table><p>after</p>", "\bx",
            "<table><tr><td>x</td></tr></table><p>after</p>"},
        {"a selection across paragraphs joins what is left of them", "<p>a[b</p><p>c]d|</p>", "\x7f",
            "<p>ad</p>"},
        {"Return deletes the selection and splits there", "<p>a[bc]d|</p>", "\r", "<p>a</p><p>d</p>"},
        {"a character over a whole paragraph's text leaves a paragraph there",
            "<p>one</p><p class=\"c\">[two]|</p><p>three</p>", "x",
            "<p>one</p><p class=\"c\">x</p><p>three</p>"},
        {"Backspace over a whole paragraph's text leaves a place to type in",
            "<p>one</p><p>[two]|</p><p>three</p>", "\bx", "<p>one</p><p>x</p><p>three</p>"},
        {"Left with a selection collapses to its start and stops", "<p>ab[cd]|</p>", "\x1cx", "<p>abxcd</p>"},
        {"Right with a selection collapses to its end and stops", "<p>|[ab]cd</p>", "\x1dx", "<p>abxcd</p>"},
        {"Down with a selection collapses to its end, then one line down", "<p>a[b]|cd</p><p>efgh</p>",
            "\x1fx", "<p>abcd</p><p>efxgh</p>"},
        {"Up with a selection collapses to its start, then one line up", "<p>abcd</p><p>ef[g]|h</p>", "\x1ex",
            "<p>abxcd</p><p>efgh</p>"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Load(c.markup);
        for (const char* k = c.keys; *k; ++k)
            engine->OnChar(static_cast<unsigned char>(*k), 1, 0);
        EXPECT_EQ(Content(), c.expected);
        EXPECT_EQ(engine->m_doc.m_selectionPresent, 0);
        EXPECT_TRUE(engine->m_doc.IsElementInTree(engine->m_doc.m_caretElement));
    }
}

// The tree below e: a text run as its text, any other element as its tag
// with its children in brackets; empty runs left out.
std::string Shape(const CElement* e)
{
    std::string out;
    for (const CElement* c = e->m_firstChild; c; c = c->m_nextSibling) {
        if (c->IsTextElement()) {
            if (c->m_text.Length() > 0)
                out += (out.empty() ? "" : " ") + qmtest::Utf8(c->m_text);
            continue;
        }
        out += (out.empty() ? "" : " ") + qmtest::Utf8(CSafeBuf(c->GetTagName()));
        if (c->m_firstChild)
            out += "(" + Shape(c) + ")";
    }
    return out;
}

TEST_F(DeleteAndCombine, LikeNeighboursMergeBeforeLayout)
{
    struct Case
    {
        const char* markup;
        const char* shape; // of the paragraph after a layout
    };
    const Case cases[] = {
        {"<p><b>a</b><b>b</b>|</p>", "b(ab)"},
        {"<p><b>a</b><b>b</b><b>c</b>|</p>", "b(abc)"},
        {"<p><b><i>a</i></b><b><i>b</i></b>|</p>", "b(i(ab))"},
        {"<p><b title=\"t\">a</b><b>b</b>|</p>", "b(a) b(b)"},
        {"<p><span class=\"a\">a</span><span class=\"b\">b</span>|</p>", "span(a) span(b)"},
        {"<p><span class=\"a\">a</span><span id=\"b\">b</span>|</p>", "span(a) span(b)"},
        {"<p>a<img src=\"x.png\" alt=\"\" /><img src=\"x.png\" alt=\"\" />|</p>", "a img img"},
        {"<p>a<br /><br />b|</p>", "a br br b"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.markup);
        Load(c.markup);
        engine->m_doc.DrawDoc(0);
        EXPECT_EQ(Shape(engine->m_doc.m_root->m_firstChild), c.shape);
    }
    // While combining is suspended (here from the load on) the neighbours
    // stay apart.
    engine->m_doc.m_layoutFlags[CXDoc::kCombiningSuspended] = 1;
    Load("<p><b>a</b><b>b</b>|</p>");
    engine->m_doc.DrawDoc(0);
    engine->m_doc.m_layoutFlags[CXDoc::kCombiningSuspended] = 0;
    EXPECT_EQ(Shape(engine->m_doc.m_root->m_firstChild), "b(a) b(b)");
}

TEST_F(DeleteAndCombine, TrimEmptyElementDropsEmptyRunsAtTheChosenEnds)
{
    Load("<p>a|</p>");
    CElement* p = engine->m_doc.m_root->m_firstChild;
    CElement* text = p->m_firstChild;
    CElement* empty1 = p->InsertEmptyText(true);
    CElement* empty2 = p->InsertEmptyText(false);
    const struct
    {
        int where;
        std::vector<CElement*> expected;
    } cases[] = {
        {0, {text}},
        {1, {text, empty2}},
        {2, {empty1, text}},
        {3, {empty1, text, empty2}},
    };
    for (const auto& c : cases) {
        CPtrList list;
        for (CElement* e : {empty1, text, empty2})
            list.AddTail(e);
        engine->m_doc.TrimEmptyElement(&list, c.where);
        std::vector<CElement*> left;
        for (void* pos = list.GetHeadPosition(); pos;)
            left.push_back(static_cast<CElement*>(list.GetNext(pos)));
        EXPECT_EQ(left, c.expected) << "where " << c.where;
    }
    CPtrList allEmpty;
    allEmpty.AddTail(empty1);
    allEmpty.AddTail(empty2);
    engine->m_doc.TrimEmptyElement(&allEmpty, 0);
    EXPECT_EQ(allEmpty.GetCount(), 0);
}

TEST_F(DeleteAndCombine, TextInsertedAtTheCaret)
{
    CXDoc& doc = engine->m_doc;
    Load("<p>ab|cd</p>");
    doc.EmulateReturnKey();
    doc.InsertText(u16("x y"));
    EXPECT_EQ(Content(), "<p>ab</p><p>x ycd</p>");

    // A run standing in the body goes into a paragraph with the text.
    Load("<p>a</p>");
    CElement* run = doc.m_root->m_firstChild->m_firstChild;
    doc.m_root->m_firstChild->RemoveCurrentChildFromList(run);
    doc.m_root->AppendChild(run);
    doc.m_caretElement = run;
    run->m_caretOffset = 1;
    doc.InsertText(u16("b"));
    EXPECT_EQ(Content(), "<p>{nbsp}</p><p>ab</p>");
}

TEST_F(DeleteAndCombine, CheckKeyFocusFindsOrMakesAPlaceForTheCaret)
{
    CXDoc& doc = engine->m_doc;
    Load("<p>ab|</p><p>cd</p>");
    EXPECT_FALSE(doc.CheckKeyFocus()) << "the caret is in the tree";
    doc.m_caretElement = nullptr;
    EXPECT_FALSE(doc.CheckKeyFocus());
    EXPECT_EQ(doc.m_caretElement, doc.m_root->m_firstChild->m_firstChild);

    // Nothing that takes the caret: a paragraph with an empty run is made.
    doc.m_root->RemoveAllChildren(true);
    doc.m_caretElement = nullptr;
    EXPECT_TRUE(doc.CheckKeyFocus());
    ASSERT_NE(doc.m_root->m_firstChild, nullptr);
    EXPECT_EQ(doc.m_root->m_firstChild->m_kind, kKindP);
    EXPECT_EQ(doc.m_caretElement, doc.m_root->m_firstChild->m_firstChild);
    EXPECT_TRUE(doc.m_caretElement->IsTextElement());
}

TEST_F(DeleteAndCombine, ARefusedCharacterShowsOneMessagePerKey)
{
    Load("<p>ab|cd</p>");
    engine->OnChar(0xFFFF, 1, 0);
    EXPECT_EQ(driver.shown, 1);
    engine->OnChar(0xFFFE, 1, 0);
    EXPECT_EQ(driver.shown, 2);
    engine->OnChar('x', 1, 0);
    EXPECT_EQ(driver.shown, 2);
    EXPECT_EQ(Content(), "<p>abxcd</p>");
}

} // namespace
