// A layout after an edit keeps the blocks the edit did not reach: every edit
// of the table below, made to every document of tests/data/layout/
// reuse_cases.txt, is laid out again and must give the boxes, baselines and
// pixels of a layout that keeps nothing. The expected output of a case is how
// many blocks each edit's layout kept.

#include "element/Element.h"
#include "element/factory/ElementFactory.h"
#include "style/layout/LayoutPass.h"
#include "style/layout/LayoutReuse.h"
#include "style/paint/OffscreenView.h"
#include "tests/common/CaseBlocks.h"
#include "tests/common/LayoutRecords.h"
#include "tests/common/TextHelpers.h"
#include "tests/elements/support/TypingDocument.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

using qmtest::FromUtf8;
using qmtest::TypingDocument;

namespace {

const char kSheet[] = ".narrow { margin-left: 80px; width: 300px; border: 1px solid black }"
                      " .aside { float: right; width: 150px; height: 80px; border: 1px solid black }"
                      " p { margin: 8px 0 12px 0 }";

// The n-th child of the body (from the end when n is negative), or null.
CElement* Block(CElement* body, int n)
{
    CElement* c = n >= 0 ? body->m_firstChild : body->m_lastChild;
    for (int i = n >= 0 ? n : -n - 1; c && i > 0; --i)
        c = n >= 0 ? c->m_nextSibling : c->m_prevSibling;
    return c;
}

CElement* FirstOfKind(CElement* e, long kind)
{
    if (e->m_kind == kind)
        return e;
    for (CElement* c = e->m_firstChild; c; c = c->m_nextSibling) {
        if (CElement* found = FirstOfKind(c, kind))
            return found;
    }
    return nullptr;
}

CElement* FirstFloat(CElement* e)
{
    if (e->m_parent && e->IsFloatType())
        return e;
    for (CElement* c = e->m_firstChild; c; c = c->m_nextSibling) {
        if (CElement* found = FirstFloat(c))
            return found;
    }
    return nullptr;
}

void SetStyle(CElement* e, const char* style)
{
    if (!e)
        return;
    e->SetAttrString("style", style);
    e->StyleChanged(1);
}

// A new block of markup before ref (at the end for null).
void InsertBlock(CElement* body, CElement* ref, const char* tag, const char* markup)
{
    CElement* block = CreateElement(tag, body->m_rules, body, body->m_owner);
    body->InsertChild(block, ref ? ref->GetID() : 0, ref == nullptr);
    block->InsertHTMLCodeToElement(FromUtf8(markup));
    block->StyleChanged(0);
}

struct Edit
{
    const char* name;
    int widthChange; // added to the case's width for the layout after the edit
    std::function<void(TypingDocument&)> apply;
};

const std::vector<Edit>& Edits()
{
    static const std::vector<Edit> edits = {
        {"none", 0, [](TypingDocument&) {}},
        {"type", 0, [](TypingDocument& d) { d.Keys("type:abc type:_defgh"); }},
        {"backspace", 0, [](TypingDocument& d) { d.Keys("Backspace Backspace Backspace"); }},
        {"split", 0, [](TypingDocument& d) { d.Keys("Return type:x"); }},
        {"join", 0, [](TypingDocument& d) { d.Keys("Return Backspace"); }},
        {"text written in place", 0,
            [](TypingDocument& d) {
                if (CElement* run = FirstOfKind(Block(d.Body(), -1), kKindText))
                    run->m_text += " and a good many more words written into the run directly";
            }},
        {"text cut in place", 0,
            [](TypingDocument& d) {
                if (CElement* run = FirstOfKind(Block(d.Body(), 1), kKindText))
                    run->m_text.CutAt(run->m_text.Length() / 2);
            }},
        {"style attribute", 0,
            [](TypingDocument& d) { SetStyle(Block(d.Body(), 1), "margin-top: 30px; font-size: 20px"); }},
        {"class", 0,
            [](TypingDocument& d) {
                if (CElement* b = Block(d.Body(), 2)) {
                    b->SetAttrString("class", "narrow");
                    b->StyleChanged(1);
                }
            }},
        {"style record edited", 0,
            [](TypingDocument& d) {
                if (CElement* b = Block(d.Body(), 0))
                    b->EditStyle().align = kAlignCenter;
            }},
        {"inline style", 0,
            [](TypingDocument& d) { SetStyle(FirstOfKind(d.Body(), kKindB), "font-size: 30px"); }},
        {"block inserted", 0,
            [](TypingDocument& d) {
                InsertBlock(d.Body(), Block(d.Body(), 1), "p", "a new paragraph <i>of a few words</i> here");
            }},
        {"block appended", 0,
            [](TypingDocument& d) { InsertBlock(d.Body(), nullptr, "div", "<p>last</p>"); }},
        {"block removed", 0,
            [](TypingDocument& d) {
                if (CElement* b = Block(d.Body(), 1))
                    d.Body()->RemoveChild(b->GetID(), true, false);
            }},
        {"block moved", 0,
            [](TypingDocument& d) {
                CElement* b = Block(d.Body(), 0);
                CElement* last = Block(d.Body(), -1);
                if (b && last && b != last) {
                    d.Body()->RemoveChild(b->GetID(), false, false);
                    d.Body()->InsertChild(b, last->GetID(), true);
                }
            }},
        {"float made", 0,
            [](TypingDocument& d) {
                SetStyle(Block(d.Body(), 0), "float: left; width: 120px; height: 300px");
            }},
        {"float grown", 0,
            [](TypingDocument& d) {
                if (CElement* f = FirstFloat(d.Body()))
                    SetStyle(f, "float: right; width: 200px; height: 400px");
            }},
        {"list item added", 0,
            [](TypingDocument& d) {
                CElement* list = FirstOfKind(d.Body(), kKindOl);
                if (!list)
                    list = FirstOfKind(d.Body(), kKindUl);
                if (list)
                    list->InsertHTMLCodeToElement(FromUtf8("<li>one more item</li>"));
                if (list)
                    list->StyleChanged(0);
            }},
        {"cell text", 0,
            [](TypingDocument& d) {
                if (CElement* cell = FirstOfKind(d.Body(), kKindTd))
                    if (CElement* run = FirstOfKind(cell, kKindText))
                        run->m_text += " longer cell text that widens its column";
            }},
        {"body style", 0, [](TypingDocument& d) { SetStyle(d.Body(), "font-size: 20px"); }},
        {"wider", 1, [](TypingDocument&) {}},
        {"much narrower", -150, [](TypingDocument&) {}},
    };
    return edits;
}

} // namespace

TEST(LayoutReuse, EditsLayOutAsFromScratch)
{
    qmtest::CaseBlockFile file("layout/reuse_cases.txt");
    for (const qmtest::CaseBlock& c : file.Cases()) {
        const int width = c.IntOption("width", 600);
        std::string kept;
        for (const Edit& edit : Edits()) {
            const std::string what = c.name + ", " + edit.name;
            TypingDocument d(c.input, width, kSheet);
            ASSERT_TRUE(d.ok) << what;
            // The first layout left every block to be laid out; this one
            // notes what the next may keep.
            ASSERT_TRUE(LayoutDocument(d.Body(), width)) << what;
            edit.apply(d);
            const unsigned long before = KeptLayoutCount();
            ASSERT_TRUE(LayoutDocument(d.Body(), width + edit.widthChange)) << what;
            kept += std::string(edit.name) + ": " + std::to_string(KeptLayoutCount() - before) + "\n";
            const std::string records = qmtest::LayoutRecords(d.Body());
            ASSERT_TRUE(RepaintDocument(d.Body())) << what;
            const std::vector<unsigned> pixels = qmtest::BodyPixels(d.Body());

            ForgetKeptLayouts(d.Body());
            const unsigned long fresh = KeptLayoutCount();
            ASSERT_TRUE(LayoutDocument(d.Body(), width + edit.widthChange)) << what;
            EXPECT_EQ(KeptLayoutCount(), fresh) << what;
            EXPECT_EQ(qmtest::LayoutRecords(d.Body()), records) << what;
            ASSERT_TRUE(RepaintDocument(d.Body())) << what;
            EXPECT_TRUE(qmtest::BodyPixels(d.Body()) == pixels) << what << ": the pictures differ";
        }
        file.Check(c, kept);
    }
}
