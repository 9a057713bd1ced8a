// The selection, markup in and answers out: each case of
// tests/data/selection/cases.txt reads its markup (marks as in
// support/MarkedDocument.h), runs the operation its options name and
// answers the markup (with the selection markers) and what the operation
// said. Options:
//   drag S E [back]   lays the document out and drags from before character
//                     S of the run _m="s" to before character E of _m="e"
//                     (of the same run without one); probe K ... then
//                     asks IsCursorInsideSelection just after the caret
//                     position before character K of the start run
//   doctext           GetDocText with the selection and the caret
//   docselect S L     GetDocText selecting L characters from S
//   under K           IsSelectionUnderTag(K)
//   under-tag T [C]   IsSelectionUnderTag(tag T, class C)
//   do K apply|remove DoSelection on every selected element
//   pack              PackSelection with <a href="u">
//   code              GetSelectionCode of the body
//   caret-markers     the markup with the caret marker word
//   delete            DeleteSelection of the body, then caret-markers
//   after D           GetPositionAfterSelection from the caret element
//   markers (or none) the markup with the selection marker words

#include "tests/common/CaseBlocks.h"
#include "tests/element/support/MarkedDocument.h"

#include "element/Selection.h"
#include "element/factory/ElementFactory.h"
#include "elements/TextElement.h"
#include "platform/cg/Context.h"
#include "style/layout/LayoutPass.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using qmtest::Describe;
using qmtest::ToUtf8;

// The selected elements in document order, a run with its range.
std::string SelectedList(CElement* e)
{
    std::string out;
    for (CElement* c = e->m_firstChild; c; c = c->m_nextSibling) {
        if (c->m_selected) {
            out += " " + Describe(c);
            if (c->IsTextElement())
                out += "[" + std::to_string(c->m_selStart) + "-" + std::to_string(c->m_selEnd) + "]";
        }
        out += SelectedList(c);
    }
    return out;
}

// The document x of the caret before character i of run.
CPoint CaretPoint(CElement* run, int i)
{
    CTextElement* t = static_cast<CTextElement*>(run);
    CPoint p(t->DisplayWidth(t->ToDisplayOffset(i)), 1);
    run->ElementToScreen(p);
    return p;
}

std::string Drag(qmtest::MarkedDocument& d, const std::vector<std::string>& o)
{
    if (!LayoutDocument(d.Body(), 600))
        return "no layout";
    CElement* s = d.Marked("s");
    CElement* e = d.Marked("e") ? d.Marked("e") : s;
    CPoint sp = CaretPoint(s, std::stoi(o[1]));
    CPoint ep = CaretPoint(e, std::stoi(o[2]));
    const bool back = o.size() > 3 && o[3] == "back";
    if (back) {
        std::swap(s, e);
        std::swap(sp, ep);
    }
    d.Body()->CleanSelection(true);
    bool inside = false;
    CPtrList cells;
    d.Body()->ProcessSelection(s->GetID(), sp, e->GetID(), ep, inside, back, &cells);
    std::string out = "selected:" + SelectedList(d.Body());
    if (cells.GetCount())
        out += "\ncells: " + std::to_string(cells.GetCount());
    // probe K ...: whether a point just after the caret position before
    // character K of the start run falls inside the painted selection.
    auto probe = std::find(o.begin(), o.end(), "probe");
    if (probe != o.end()) {
        auto context = qm::cg::Context::CreateBitmap(nullptr, 800, 200, 3200);
        for (CElement* run = s; run; run = run->m_nextSibling)
            run->SelfPaint(context.get(), CPoint(0, 0));
        out += "\ninside:";
        for (auto k = probe + 1; k != o.end(); ++k) {
            CPoint p = CaretPoint(s, std::stoi(*k));
            p.x += 1;
            out += " " + *k + (d.Body()->IsCursorInsideSelection(p) ? " yes" : " no");
        }
    }
    return out;
}

std::string RunCase(const qmtest::CaseBlock& c, qmtest::MarkedDocument& d)
{
    const std::vector<std::string>& o = c.options;
    const std::string op = o.empty() ? "" : o[0];
    CElement* body = d.Body();
    auto yes = [](bool b) { return std::string(b ? "true" : "false"); };
    if (op == "drag")
        return Drag(d, o);
    if (op == "doctext" || op == "docselect") {
        CSafeBuf text;
        SelectionStruct sel;
        int state = 0;
        const bool select = op == "docselect";
        const int caret = GetDocText(body, text, state, select ? 1 : 0, select ? std::stoi(o[1]) : 0,
            select ? std::stoi(o[2]) : 0, &sel);
        return "\"" + ToUtf8(text) + "\" sel " + std::to_string(sel.start) + ".." + std::to_string(sel.end)
            + " caret " + std::to_string(caret) + (select ? "\nselected:" + SelectedList(body) : "");
    }
    if (op == "under")
        return yes(body->IsSelectionUnderTag(std::stoi(o[1]), 0));
    if (op == "under-tag") {
        CSafeBuf tag(o[1].c_str()), cls(o.size() > 2 ? o[2].c_str() : "");
        return yes(body->IsSelectionUnderTag(tag, cls, 0));
    }
    if (op == "do") {
        CPtrList selected;
        body->GetAllChildren(&selected, 0, true, 0, 0);
        int changed = 0;
        for (void* pos = selected.GetHeadPosition(); pos;)
            changed += static_cast<CElement*>(selected.GetNext(pos))
                           ->DoSelection(std::stoi(o[1]), o[2] == "apply", nullptr);
        return d.Write(false, false) + "\n" + std::to_string(changed);
    }
    if (op == "pack") {
        CElement* link = CreateElement("a", body->m_rules, body, &d.engine);
        link->SetAttrString("href", "u");
        body->PackSelection(link);
        delete link;
        return d.Write(false, false);
    }
    if (op == "code") {
        CSafeBuf out("untouched");
        const bool any = body->GetSelectionCode(out, 0, false);
        return ToUtf8(out) + "\n" + yes(any);
    }
    if (op == "caret-markers")
        return d.Write(true, false);
    if (op == "delete") {
        const bool whole = body->DeleteSelection();
        d.engine.m_doc.ReleaseRemovedElements();
        return d.Write(true, false) + "\n" + yes(whole);
    }
    if (op == "after") {
        CElement* at = GetPositionAfterSelection(d.engine.m_doc.m_caretElement, std::stoi(o[1]));
        return Describe(at) + (at ? " at " + std::to_string(at->m_caretOffset) : "");
    }
    return d.Write(true, true);
}

} // namespace

TEST(SelectionCases, MarkupInAnswerOut)
{
    qmtest::CaseBlockFile file("selection/cases.txt");
    ASSERT_FALSE(file.Cases().empty());
    for (const qmtest::CaseBlock& c : file.Cases()) {
        qmtest::MarkedDocument d;
        CSafeBuf error;
        ASSERT_TRUE(d.Read(c.input, error)) << c.name << ": " << ToUtf8(error);
        file.Check(c, RunCase(c, d));
    }
}
