// Structural edits, markup in and markup out: each case of
// tests/data/edits/cases.txt is read through the reader, one operation runs
// on the elements its "_m" attributes name, and the tree is written back.
// Options name the operation; "_sel" marks an element selected (and
// selectable), "_cell" a cell selected as a whole and "_lock" an element
// locked by its own flag. The marker attributes are taken off before the
// operation. Comments "e" and "c" stand for empty text runs (which markup
// cannot hold), "c" the one that holds the caret.

#include "tests/common/CaseBlocks.h"

#include "base/text/SafeBuf.h"
#include "editor/XHTML.h"
#include "element/Element.h"
#include "element/ElementUtilities.h"
#include "element/TreeQueries.h"
#include "element/ValidateTree.h"
#include "element/factory/ElementFactory.h"
#include "element/markup/MarkupDocument.h"
#include "elements/ImageElement.h"

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
    if (e->GetAttrString("_lock", value)) {
        e->m_locked = 1;
        e->SetAttrString("_lock", "");
    }
    for (CElement* c = e->m_firstChild; c; c = c->m_nextSibling)
        TakeMarks(c, marked);
}

// Comments "e" and "c" become empty text runs; the caret goes to "c".
void MakeEmptyRuns(CElement* e, CXHTML& engine)
{
    for (CElement* c = e->m_firstChild; c; c = c->m_nextSibling) {
        if (c->m_kind == kKindComment && (c->m_text == "e" || c->m_text == "c")) {
            CElement* run = CreateElement("", c->m_rules, c->m_root, c->m_owner);
            ASSERT_NE(run, nullptr);
            e->InsertChild(run, c->GetID(), false);
            if (c->m_text == "c")
                engine.m_doc.m_caretElement = run;
            e->RemoveChild(c->GetID(), true, false);
            c = run;
        }
        MakeEmptyRuns(c, engine);
    }
}

// The children of e as the cases show them: a text run as its text in
// quotes (a star after the one with the caret), an element as its tag and
// its children in brackets.
std::string Runs(const CElement* e, const CElement* caret)
{
    std::string out;
    for (const CElement* c = e->m_firstChild; c; c = c->m_nextSibling) {
        if (!out.empty())
            out += ' ';
        if (c->IsTextElement())
            out += "\"" + Utf8(c->m_text) + "\"" + (c == caret ? "*" : "");
        else
            out += Utf8(CSafeBuf(c->GetTagName())) + "[" + Runs(c, caret) + "]";
    }
    return out;
}

std::string OptionValue(const qmtest::CaseBlock& c, const std::string& name)
{
    for (const std::string& o : c.options) {
        if (o.rfind(name + "=", 0) == 0)
            return o.substr(name.size() + 1);
    }
    return "";
}

std::string RunCase(const qmtest::CaseBlock& c, CXHTML& engine, CMarkupDocument& doc)
{
    std::map<std::string, CElement*> m;
    TakeMarks(doc.Body(), m);
    MakeEmptyRuns(doc.Body(), engine);
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
    } else if (c.HasOption("second-empty")) {
        answer(doc.Body()->RemoveSecondEmptyText());
        note += " " + Runs(x, engine.m_doc.m_caretElement);
    } else if (c.HasOption("move-to-root")) {
        MoveChildrenInBlockToRoot(x);
    } else if (!OptionValue(c, "wrap-in").empty()) {
        CElement* target
            = CreateElement(OptionValue(c, "wrap-in").c_str(), x->m_rules, x->m_root, x->m_owner);
        const bool wrapped = x->MoveElementAndParentTo(target);
        answer(wrapped);
        if (!wrapped)
            delete target;
    } else if (!OptionValue(c, "from-pre").empty()) {
        // x's content leaves the pre for a.
        x->MoveChildrenTo(a, 0, true, 0, 0);
        ValidateTextChildFromPre(a, std::stoi(OptionValue(c, "from-pre")));
        note = Runs(a, nullptr);
    } else if (c.HasOption("pre-refuses")) {
        answer(CanMoveChildrenTo(x, a));
    } else if (c.HasOption("locked")) {
        answer(
            IsElementLocked(x, c.HasOption("self"), c.HasOption("selecting") ? 1 : 0, c.HasOption("ignore")));
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

// An image shown otherwise than as its alternative text drops the text
// children it had for that display; a caret on them goes to the image.
TEST(EditImages, AlternativeTextGoesWithItsDisplay)
{
    CXHTML engine;
    CMarkupDocument doc(&engine);
    CSafeBuf error;
    const std::string markup = "<p><img src=\"p.png\" alt=\"x\"/><b><img src=\"q.png\" alt=\"y\"/></b></p>";
    ASSERT_TRUE(doc.Read(markup.data(), markup.size(), error));
    CElement* p = doc.Body()->m_firstChild;
    auto* first = static_cast<CImageElement*>(p->m_firstChild);
    auto* second = static_cast<CImageElement*>(p->m_lastChild->m_firstChild);
    for (CImageElement* image : {first, second}) {
        image->m_displayType = 2;
        ASSERT_TRUE(image->SetAltTxt());
        ASSERT_NE(image->m_firstChild, nullptr);
    }
    EXPECT_FALSE(doc.Body()->RemoveChildrenOfImage()) << "both shown as text";

    engine.m_doc.m_caretElement = first->m_firstChild;
    first->m_displayType = 1;
    EXPECT_TRUE(doc.Body()->RemoveChildrenOfImage());
    EXPECT_EQ(first->m_firstChild, nullptr);
    EXPECT_EQ(engine.m_doc.m_caretElement, first);
    EXPECT_NE(second->m_firstChild, nullptr) << "still shown as text";

    second->m_displayType = 3;
    EXPECT_TRUE(second->m_parent->RemoveChildrenOfImage());
    EXPECT_EQ(second->m_firstChild, nullptr);
}
