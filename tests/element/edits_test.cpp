// Structural edits, markup in and markup out: each case of
// tests/data/edits/cases.txt is read through the reader, one operation runs
// on the elements its "_m" attributes name, and the tree is written back.
// Options name the operation; "_sel" marks an element selected (and
// selectable) and "_cell" a cell selected as a whole. The marker attributes
// are taken off before the operation.

#include "tests/common/CaseBlocks.h"

#include "base/text/SafeBuf.h"
#include "editor/XHTML.h"
#include "element/Element.h"
#include "element/ValidateTree.h"
#include "element/markup/MarkupDocument.h"

#include <gtest/gtest.h>

#include <map>
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

std::string Shown(const CSafeBuf& markup)
{
    std::string s = Utf8(markup);
    for (size_t at = s.find("\r\n"); at != std::string::npos; at = s.find("\r\n"))
        s.erase(at, 1);
    for (size_t at = s.find("\xC2\xA0"); at != std::string::npos; at = s.find("\xC2\xA0"))
        s.replace(at, 2, "{nbsp}");
    return s;
}

// Takes the marker attributes off the subtree, noting the marked elements.
void TakeMarks(CElement* e, std::map<std::string, CElement*>& marked)
{
    CSafeBuf value;
    if (e->GetAttrString("_m", value)) {
        marked[Utf8(value)] = e;
        e->SetAttrString("_m", "");
    }
    if (e->GetAttrString("_sel", value)) {
        e->m_selected = 1;
        e->m_selectable = 1;
        e->SetAttrString("_sel", "");
    }
    if (e->GetAttrString("_cell", value)) {
        e->m_wholeCell = 1;
        e->SetAttrString("_cell", "");
    }
    for (CElement* c = e->m_firstChild; c; c = c->m_nextSibling)
        TakeMarks(c, marked);
}

std::string RunCase(const qmtest::CaseBlock& c, CXHTML& engine, CMarkupDocument& doc)
{
    std::map<std::string, CElement*> m;
    TakeMarks(doc.Body(), m);
    CElement* x = m["x"];
    CElement* a = m["a"];
    std::string note;
    auto answer = [&note](bool b) { note = b ? "true" : "false"; };
    if (c.HasOption("jumpout"))
        answer(x->JumpOut(a ? a->GetID() : 0, c.HasOption("keep")));
    else if (c.HasOption("switch"))
        answer(x->SwitchParent());
    else if (c.HasOption("remove-if-empty"))
        answer(doc.Body()->RemoveIfEmpty(x));
    else if (c.HasOption("validate"))
        answer(ValidateTree(x));
    else if (c.HasOption("extra-space")) {
        int previous = 32;
        answer(doc.Body()->RemoveExtraSpace(previous));
    } else if (c.HasOption("delete"))
        answer(doc.Body()->DeleteSelection());
    else if (c.HasOption("split")) {
        CElement* rest = nullptr;
        answer(x->m_parent->SplitUntilParent(&rest, a->GetID(), x->GetID()));
        note += rest ? " rest" : " no rest";
    } else if (c.HasOption("break")) {
        CElement* half = x->m_parent->BreakElement(x->GetID(), false);
        note = half ? "half" : "none";
    } else if (c.HasOption("unwrap"))
        answer(doc.Body()->UnwrapElement());
    else if (c.HasOption("insert-element"))
        answer(x->InsertElement(a));
    else if (c.HasOption("move-before")) {
        // range 1: the children before x move to the end of a
        note = std::to_string(x->m_parent->MoveChildrenTo(a, 0, true, 1, x->GetID()));
    } else if (c.HasOption("move-from")) {
        note = std::to_string(x->m_parent->MoveChildrenTo(a, 0, false, 2, x->GetID()));
    } else if (c.HasOption("reunion")) {
        // The entries are the elements marked 1, 2, ... in that order; the
        // answer is followed by the tags of the entries it leaves.
        CPtrList list;
        for (char k = '1'; m.count(std::string(1, k)); ++k)
            list.AddTail(m[std::string(1, k)]);
        answer(doc.Body()->ReunionElements(&list));
        list.ForEachItem([&note](void* e) { note += " " + Utf8(static_cast<CElement*>(e)->GetTagName()); });
    }
    engine.m_doc.ReleaseRemovedElements();
    CSafeBuf out;
    doc.Write(out, 0);
    return Shown(out) + "\n" + note;
}

} // namespace

TEST(EditCases, MarkupInOperationMarkupOut)
{
    qmtest::CaseBlockFile file("edits/cases.txt");
    ASSERT_FALSE(file.Cases().empty());
    for (const qmtest::CaseBlock& c : file.Cases()) {
        CXHTML engine;
        CMarkupDocument doc(&engine);
        CSafeBuf error;
        ASSERT_TRUE(doc.Read(c.input.data(), c.input.size(), error)) << c.name << ": " << Utf8(error);
        std::string out = RunCase(c, engine, doc);
        file.Check(c, out);
        // What the operation left must read again.
        std::string markup = out.substr(0, out.rfind('\n'));
        for (size_t at = markup.find("{nbsp}"); at != std::string::npos; at = markup.find("{nbsp}"))
            markup.replace(at, 6, "\xC2\xA0");
        CMarkupDocument again(&engine);
        EXPECT_TRUE(again.Read(markup.data(), markup.size(), error)) << c.name << ": " << Utf8(error);
    }
}

// An element queued for removal outlives the tree it came from and is
// destroyed by the document alone; the caret it held is forgotten.
TEST(EditQueue, QueuedElementsOutliveTheirTree)
{
    CXHTML engine;
    long queued = 0;
    {
        CMarkupDocument doc(&engine);
        CSafeBuf error;
        const std::string markup = "<p>a<b>b<i>c</i></b></p>";
        ASSERT_TRUE(doc.Read(markup.data(), markup.size(), error));
        CElement* p = doc.Body()->m_firstChild;
        CElement* b = p->m_lastChild;
        queued = b->GetID();
        engine.m_doc.m_caretElement = b->m_lastChild->m_firstChild;
        EXPECT_TRUE(p->RemoveChild(queued, true, true));
        EXPECT_TRUE(engine.m_doc.IsElementExist(queued));
        EXPECT_FALSE(p->RemoveChild(queued, true, true)) << "a stale identifier names no child";
        EXPECT_FALSE(engine.m_doc.QueueRemovedElement(b)) << "queued twice";
    }
    engine.m_doc.ReleaseRemovedElements();
    EXPECT_FALSE(engine.m_doc.IsElementExist(queued));
    EXPECT_EQ(engine.m_doc.m_caretElement, nullptr);
}

// Operations on identifiers that name no live element change nothing.
TEST(EditQueue, StaleIdentifiersChangeNothing)
{
    CXHTML engine;
    CMarkupDocument doc(&engine);
    CSafeBuf error;
    const std::string markup = "<p><b><i>t</i></b></p>";
    ASSERT_TRUE(doc.Read(markup.data(), markup.size(), error));
    CElement* p = doc.Body()->m_firstChild;
    CElement* b = p->m_firstChild;
    CElement* i = b->m_firstChild;
    const long stale = i->GetID();
    ASSERT_TRUE(b->RemoveChild(stale, true, false));
    EXPECT_FALSE(doc.Body()->RemoveIfEmpty(i)) << "a destroyed element is not touched";
    EXPECT_FALSE(b->RemoveChildNodeOnly(stale));
    EXPECT_FALSE(b->RemoveChild(stale, false, false));
    EXPECT_EQ(b->BreakElement(stale, false), nullptr);
    EXPECT_FALSE(b->JumpOut(stale, true));
    EXPECT_EQ(p->MoveChildrenTo(doc.Body(), 0, true, 2, stale), 0);
    CSafeBuf out;
    doc.Write(out, 0);
    EXPECT_EQ(Utf8(out), "<p><b></b></p>");
}
