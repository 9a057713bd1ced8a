// Hit-testing: the element under a point. A point is handed down the tree
// in each element's parent's coordinates (the root's are the document's)
// and made relative to the element (less its position) before its children
// are asked, so the deepest element whose box holds the point answers.

#include "element/Caret.h"
#include "element/CaretGeometry.h"
#include "element/Element.h"

#include "style/layout/ElementPosition.h"
#include "style/layout/LayoutBox.h"

#include <vector>

namespace {

// The band inside a div's edges that hits the div itself.
constexpr int kDivBand = 4;

bool Holds(const CRect& r, const CPoint& pt)
{
    return pt.x >= r.left && pt.x < r.right && pt.y >= r.top && pt.y < r.bottom;
}

bool IsRowOrGroup(const CElement* e) { return e->m_kind == kKindTr || IsRowGroupKind(e->m_kind); }

// Whether a table child of e under pt (in e's coordinates) shows its resize
// cursor there. A table that fills a div has its edge bands inside the div's
// own band: the table answers there, so that its edges can be dragged.
bool OnTableResizeBand(CElement* e, const CPoint& pt)
{
    for (CElement* c = e->m_firstChild; c; c = c->m_nextSibling) {
        if (c->m_kind != kKindTable)
            continue;
        const CPoint own(pt.x - c->Lay().m_position.x, pt.y - c->Lay().m_position.y);
        if (!Holds(CRect(0, 0, BoxWidth(c), BoxHeight(c)), own))
            continue;
        const CPoint at = DocumentPosition(c);
        return c->MouseCursorType(CPoint(at.x + own.x, at.y + own.y)) != 0;
    }
    return false;
}

} // namespace

CElement* ForceCursorInsideCheck(CElement* e, const CPoint& pt)
{
    if (!e)
        return nullptr;
    // Depth first over the descendants, each point relative to its element.
    struct Frame
    {
        CElement* e;
        CPoint pt;
    };
    std::vector<Frame> stack;
    for (CElement* c = e->m_lastChild; c; c = c->m_prevSibling)
        stack.push_back({c, CPoint(pt.x - c->Lay().m_position.x, pt.y - c->Lay().m_position.y)});
    while (!stack.empty()) {
        const Frame f = stack.back();
        stack.pop_back();
        if (Holds(CRect(0, 0, BoxWidth(f.e), BoxHeight(f.e)), f.pt))
            return f.e;
        for (CElement* c = f.e->m_lastChild; c; c = c->m_prevSibling)
            stack.push_back({c, CPoint(f.pt.x - c->Lay().m_position.x, f.pt.y - c->Lay().m_position.y)});
    }
    return Holds(CRect(0, 0, BoxWidth(e), BoxHeight(e)), pt) ? e : nullptr;
}

bool IsAboveBlock(const CElement* a, const CElement* b)
{
    if (!a || !b)
        return false;
    std::vector<const CElement*> ca, cb;
    for (const CElement* e = a; e; e = e->m_parent)
        ca.push_back(e);
    for (const CElement* e = b; e; e = e->m_parent)
        cb.push_back(e);
    // From the root down: ca.back() and cb.back() are the roots.
    size_t i = 0;
    while (i < ca.size() && i < cb.size() && ca[ca.size() - 1 - i] == cb[cb.size() - 1 - i])
        ++i;
    if (i == 0 || i >= ca.size() || i >= cb.size())
        return false;
    const CElement* x = ca[ca.size() - 1 - i];
    const CElement* y = cb[cb.size() - 1 - i];
    if (!x->m_block && !y->m_block)
        return false;
    for (const CElement* s = x->m_nextSibling; s; s = s->m_nextSibling) {
        if (s == y)
            return true;
    }
    return false;
}

bool CElement::IsPointInElement(CPoint pt, int screen)
{
    if (screen == 1)
        ElementToScreen(pt);
    CRect box = Lay().m_sizeRect;
    ElementToDocument(box);
    return Holds(box, pt);
}

CElement* CElement::WhereCursorOn(CPoint pt)
{
    if (m_kind == kKindBody && !m_parent) {
        for (void* pos = Rare().m_floatList.GetHeadPosition(); pos;) {
            CElement* f = static_cast<CElement*>(Rare().m_floatList.GetNext(pos));
            if (!f || !Holds(DocumentRect(f), pt))
                continue;
            // The float's parent origin, as its document position was made.
            const CPoint at = DocumentPosition(f);
            const CPoint inParent(pt.x - at.x + f->Lay().m_position.x, pt.y - at.y + f->Lay().m_position.y);
            CElement* hit = f->WhereCursorOn(inParent);
            return hit ? hit : f;
        }
    }
    const CRect hit = HitRect(this);
    const CPoint local(pt.x - Lay().m_position.x, pt.y - Lay().m_position.y);
    if (!Holds(hit, pt)) {
        if (IsRowOrGroup(this))
            return ForceCursorInsideCheck(this, local);
        return nullptr;
    }
    if (m_kind == kKindDiv) {
        CRect inner = hit;
        inner.DeflateRect(kDivBand, kDivBand);
        if (!Holds(inner, pt) && !OnTableResizeBand(this, local))
            return this;
    }
    for (CElement* c = m_firstChild; c; c = c->m_nextSibling) {
        if (CElement* found = c->WhereCursorOn(local))
            return found;
    }
    return this;
}

int CElement::GetCloseCursor(CPoint, CPoint&, int&, int&, int) { return 0; }

int CElement::LButtonDown(unsigned int, CPoint pt, bool&, CPoint&, int&, bool&)
{
    PointToElement(pt);
    return 0;
}

int CElement::MouseCursorType(CPoint pt)
{
    CElement* table = IsElementUnderTag(kKindTable);
    return table ? table->MouseCursorType(pt) : 0;
}
