// Lists, definition lists and quotations, table-driven from tests/data/lists/:
//   marker_text.txt  list style, item number, direction -> the marker text;
//   *.txt blocks     markup in, laid out (and painted with [paint]), then an
//                    operation: [items=N] on the first dl, or a break after
//                    the child marked _break="1". Out: the operation's answer
//                    and the markup written back (and, for items, where the
//                    caret went), then one report line per li, dl, dt, dd
//                    and q in document order.
// The line formats are those of Report() below.

#include "tests/common/CaseBlocks.h"
#include "tests/common/CaseFile.h"
#include "tests/common/TextHelpers.h"

#include "editor/XHTML.h"
#include "element/Element.h"
#include "element/markup/MarkupDocument.h"
#include "elements/DLElement.h"
#include "elements/LIElement.h"
#include "elements/SpecialElement.h"
#include "platform/cg/Context.h"
#include "style/layout/LayoutPass.h"
#include "style/paint/OffscreenView.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using qmtest::ToUtf8;

struct Document
{
    explicit Document(const std::string& markup)
    {
        CSafeBuf error;
        read = doc.Read(markup.data(), markup.size(), error);
    }
    CXHTML engine;
    CMarkupDocument doc{&engine};
    bool read = false;
};

int IntOption(const qmtest::CaseBlock& c, const std::string& name, int fallback)
{
    for (const std::string& o : c.options) {
        if (o.rfind(name + "=", 0) == 0)
            return std::stoi(o.substr(name.size() + 1));
    }
    return fallback;
}

std::string Box(const CRect& r)
{
    return std::to_string(r.left) + "," + std::to_string(r.top) + " " + std::to_string(r.right - r.left) + "x"
        + std::to_string(r.bottom - r.top);
}

// Whether the bitmap shows something other than white in the document
// rectangle.
bool Inked(CElement* body, const CRect& r)
{
    for (int y = r.top; y < r.bottom; ++y) {
        for (int x = r.left; x < r.right; ++x) {
            const qm::cg::Pixel p = body->m_dc->ReadPixel(x, y);
            if (p.alpha != 0 && (p.red != 255 || p.green != 255 || p.blue != 255))
                return true;
        }
    }
    return false;
}

CPoint DocumentPositionOf(const CElement* e)
{
    CPoint at;
    for (; e; e = e->m_parent)
        at += e->Lay().m_position;
    return at;
}

// li   n=<number> marker="<text>" box=<x,y wxh in the item>
//      room=<wxh> text=<left..right of the first child>|none
//      [ink=yes|no: whether the bitmap shows anything but white in the box]
// q    depth=<n> open=<0|1> close=<0|1> content-x=<x> w=<width>
// dl   items=<count>
// dt, dd  x=<x in the list> w=<width>
void Report(CElement* e, CElement* body, bool painted, std::string& out)
{
    if (CLIElement* li = dynamic_cast<CLIElement*>(e)) {
        CSafeBuf text;
        li->GetMarkerText(text);
        out += "li n=" + std::to_string(li->m_number) + " marker=\"" + ToUtf8(text) + "\"";
        CRect box;
        const bool shown = li->GetMarkerBox(box);
        out += " box=" + (shown ? Box(box) : std::string("none"));
        CSize room;
        if (li->GetListMarkerSize(nullptr, room)) {
            // Where the first child stands beside the marker's room.
            const CElement* c = li->m_firstChild;
            const int left = c ? static_cast<int>(c->Lay().m_position.x) : 0;
            const int right
                = c ? left + static_cast<int>(c->Lay().m_sizeRect.right - c->Lay().m_sizeRect.left) : 0;
            out += " room=" + std::to_string(room.cx) + "x" + std::to_string(room.cy)
                + " text=" + std::to_string(left) + ".." + std::to_string(right);
        } else {
            out += " room=none";
        }
        if (painted && shown) {
            const CPoint at = DocumentPositionOf(li);
            box.OffsetRect(at.x, at.y);
            out += std::string(" ink=") + (Inked(body, box) ? "yes" : "no");
        }
        out += "\n";
    } else if (CSpecialElement* q = dynamic_cast<CSpecialElement*>(e)) {
        const int contentX = q->m_firstChild ? static_cast<int>(q->m_firstChild->Lay().m_position.x) : 0;
        out += "q depth=" + std::to_string(q->NestingDepth()) + " marks=\""
            + ToUtf8(CSafeBuf(q->Mark(true), 1)) + ToUtf8(CSafeBuf(q->Mark(false), 1))
            + "\" open=" + std::to_string(q->m_openShown) + " close=" + std::to_string(q->m_closeShown)
            + " content-x=" + std::to_string(contentX)
            + " w=" + std::to_string(q->Lay().m_sizeRect.right - q->Lay().m_sizeRect.left) + "\n";
    } else if (CDLElement* dl = dynamic_cast<CDLElement*>(e)) {
        out += "dl items=" + std::to_string(dl->CountItems()) + "\n";
    } else if (e->m_kind == kKindDt || e->m_kind == kKindDd) {
        out += std::string(e->m_kind == kKindDt ? "dt" : "dd") + " x=" + std::to_string(e->Lay().m_position.x)
            + " w=" + std::to_string(e->Lay().m_sizeRect.right - e->Lay().m_sizeRect.left) + "\n";
    }
    for (CElement* c = e->m_firstChild; c; c = c->m_nextSibling)
        Report(c, body, painted, out);
}

// Where the caret stands after an edit: in the tree, or not.
std::string CaretState(CXHTML& engine, CElement* body, long before)
{
    CElement* caret = engine.m_doc.m_caretElement;
    if (!caret)
        return "caret=none";
    if (!engine.m_doc.IsElementExist(caret))
        return "caret=destroyed";
    const CElement* e = caret;
    while (e->m_parent && e->m_parent->IsLinkedChild(e))
        e = e->m_parent;
    if (e != body)
        return "caret=detached";
    if (caret->GetID() == before)
        return "caret=in-tree, kept";
    const std::string where
        = caret->IsTextElement() ? "\"" + ToUtf8(caret->m_text) + "\"" : ToUtf8(caret->GetTagName());
    return "caret=in-tree, moved to " + where + " at " + std::to_string(caret->m_caretOffset);
}

// The element marked with the attribute (taken off); with inner its first
// child when it has one.
CElement* FindMarked(CElement* e, const char* name, bool inner)
{
    CSafeBuf value;
    if (e->GetAttrString(name, value)) {
        e->SetAttrString(name, "");
        return inner && e->m_firstChild ? e->m_firstChild : e;
    }
    for (CElement* c = e->m_firstChild; c; c = c->m_nextSibling) {
        if (CElement* found = FindMarked(c, name, inner))
            return found;
    }
    return nullptr;
}

CDLElement* FirstList(CElement* e)
{
    if (CDLElement* dl = dynamic_cast<CDLElement*>(e))
        return dl;
    for (CElement* c = e->m_firstChild; c; c = c->m_nextSibling) {
        if (CDLElement* dl = FirstList(c))
            return dl;
    }
    return nullptr;
}

void RunBlocks(const std::string& path)
{
    qmtest::CaseBlockFile file(path);
    ASSERT_FALSE(file.Cases().empty()) << path;
    for (const qmtest::CaseBlock& c : file.Cases()) {
        Document d(c.input);
        ASSERT_TRUE(d.read) << c.name;
        CElement* body = d.doc.Body();
        CElement* caret = FindMarked(body, "_caret", true);
        CElement* breakAfter = FindMarked(body, "_break", false);
        d.engine.m_doc.m_caretElement = caret;
        std::string out;
        if (breakAfter) {
            CElement* half = breakAfter->m_parent->BreakElement(breakAfter->GetID(), false);
            auto first = [](const CElement* e) {
                const CElement* c = e ? e->m_firstChild : nullptr;
                return !c                ? std::string("none")
                    : c->IsTextElement() ? std::string("text")
                                         : ToUtf8(c->GetTagName());
            };
            out += std::string("break=") + (half ? "half" : "none");
            if (half)
                out += " starts with " + first(half) + ", its parent with " + first(half->m_parent);
            out += "\n";
            CSafeBuf markup;
            d.doc.Write(markup, 0);
            out += ToUtf8(markup) + "\n";
        }
        const int change = IntOption(c, "items", 0);
        if (change != 0) {
            CDLElement* dl = FirstList(body);
            ASSERT_NE(dl, nullptr) << c.name;
            out += std::string("answer=") + (dl->AddOrRemoveItems(change) ? "true" : "false") + "\n";
            const long before = caret ? caret->GetID() : 0;
            out += CaretState(d.engine, body, before) + "\n";
            d.engine.m_doc.ReleaseRemovedElements();
            if (caret)
                out += "after release: " + CaretState(d.engine, body, before) + "\n";
            CSafeBuf markup;
            d.doc.Write(markup, 0);
            out += ToUtf8(markup) + "\n";
        }
        ASSERT_TRUE(LayoutDocument(body, IntOption(c, "width", 400))) << c.name;
        const bool paint = c.HasOption("paint");
        if (paint) {
            ASSERT_TRUE(RepaintDocument(body) && body->m_dc) << c.name;
        }
        Report(body, body, paint, out);
        file.Check(c, out);
    }
}

} // namespace

TEST(ListMarkers, TextForStyleNumberAndDirection)
{
    for (const qmtest::CaseLine& c : qmtest::ReadCaseFile("lists/marker_text.txt", 4)) {
        const std::string dir = c.fields[2] == "rtl" ? " dir=\"rtl\"" : "";
        Document d("<body><ol style=\"" + c.fields[0] + "\"" + dir + "><li>x</li></ol></body>");
        ASSERT_TRUE(d.read);
        CLIElement* li = dynamic_cast<CLIElement*>(d.doc.Body()->m_firstChild->m_firstChild);
        ASSERT_NE(li, nullptr) << "line " << c.line;
        li->m_number = std::stoi(c.fields[1]);
        CSafeBuf text;
        li->GetMarkerText(text);
        EXPECT_EQ(ToUtf8(text), c.fields[3]) << "line " << c.line << ": " << c.fields[0];
    }
}

TEST(ListMarkers, ItemsLaidOutAndPainted) { RunBlocks("lists/markers.txt"); }
TEST(DefinitionLists, CountAddRemove) { RunBlocks("lists/definitions.txt"); }
TEST(Quotations, MarksByNestingAndWrapping) { RunBlocks("lists/quotes.txt"); }
