// The area floats take: around an element's content, inside its box, and on
// one line; and the floats at the start of an element.

#include "element/Element.h"
#include "element/TreeQueries.h"
#include "style/floats/FloatIndex.h"
#include "style/floats/FloatList.h"
#include "style/layout/ElementPosition.h"
#include "style/layout/LayoutLimits.h"
#include "style/layout/LayoutNesting.h"

#include <algorithm>

namespace {

const CElement* CellOf(const CElement* e)
{
    for (const CElement* a = e; a; a = a->m_parent) {
        if (a->m_tableCell)
            return a;
    }
    return nullptr;
}

const CElement* RootOf(const CElement* e) { return e->m_root ? e->m_root : e; }

} // namespace

void CElement::GetMaxAreaWithFloat(CRect& rect)
{
    const CElement* cell = CellOf(this);
    const CPoint origin = DocumentPosition(this);
    ForEachCountingFloat(const_cast<CElement*>(RootOf(this)), [&](CElement* f, const CRect& box) {
        const CElement* fcell = CellOf(f->m_parent);
        if (cell ? fcell != cell : fcell != nullptr)
            return true;
        rect.left = std::min<LONG>(rect.left, box.left - origin.x);
        rect.top = std::min<LONG>(rect.top, box.top - origin.y);
        rect.right = std::max<LONG>(rect.right, box.right - origin.x);
        rect.bottom = std::max<LONG>(rect.bottom, box.bottom - origin.y);
        return true;
    });
}

void CElement::CalcAreaAccordingToFloat()
{
    const unsigned long pass = LayoutNesting::CurrentPass();
    if (FloatIndexCovers() && Lay().m_floatsBelowPass != pass)
        return;
    const CPoint origin = DocumentPosition(this);
    ForEachCountingFloat(const_cast<CElement*>(RootOf(this)), [&](CElement* f, const CRect& box) {
        if (!f->IsOneOfParent(this))
            return true;
        Lay().m_sizeRect.right
            = std::max<LONG>(Lay().m_sizeRect.right, ClampLength(box.right - origin.x, kMaxLayoutCoord));
        Lay().m_sizeRect.bottom
            = std::max<LONG>(Lay().m_sizeRect.bottom, ClampLength(box.bottom - origin.y, kMaxLayoutCoord));
        return true;
    });
}

void CElement::GetFloatWidthOfLine(CRect line, CPoint& left, CPoint& right)
{
    auto add = [&](CElement* f, const CRect& box) {
        if (line.top >= box.bottom || box.top >= std::max(line.bottom, line.top + 1) || line.left >= box.right
            || box.left >= std::max(line.right, line.left + 1))
            return true;
        CPoint& side = FloatSide(f) == kFloatRight ? right : left;
        side.x = AddCoord(side.x, box.right - box.left);
        return true;
    };
    CElement* root = const_cast<CElement*>(RootOf(this));
    if (!FloatIndexCovers()) {
        ForEachFloat(root, add);
        return;
    }
    std::vector<PlacedFloat> near;
    PlacedFloatsNear(root, line.top, line.bottom, near);
    for (const PlacedFloat& p : near)
        add(p.element, p.box);
}

void CElement::AdjChildFloat(int mode)
{
    if (mode != 1 || RootOf(this)->Rare().m_floatList.GetCount() == 0)
        return;
    CRect border;
    if (!m_tableCell)
        GetBorderRect(border, true);
    const int top = std::max<int>(0, border.top);
    for (CElement* c = m_firstChild; c;) {
        if (c->IsFloatType()) {
            MoveBox(c, CPoint(c->Lay().m_position.x, top));
        } else if ((!c->m_inline && c->m_kind != kKindText)
            || (c->m_kind == kKindText && !c->m_text.IsEmpty()) || (c->m_inline && !c->m_firstChild)) {
            return;
        } else if (c->m_firstChild) {
            c = c->m_firstChild;
            continue;
        }
        while (c != this && !c->m_nextSibling)
            c = c->m_parent;
        c = c == this ? nullptr : c->m_nextSibling;
    }
}

CElement* CElement::GetPositionBrother(bool forward)
{
    const bool list = m_list != 0;
    for (CElement* e = this; e && e->m_parent;) {
        if (e->m_parent->m_tableCell || e->m_parent->m_kind == kKindCaption)
            return nullptr;
        for (CElement* s = forward ? e->m_nextSibling : e->m_prevSibling; s;
             s = forward ? s->m_nextSibling : s->m_prevSibling) {
            if (s->IsFloatType())
                continue;
            if (s->m_kind == kKindText && s->m_text.IsEmpty() && !list)
                continue;
            // A div, or an inline custom element holding a block, is entered.
            CElement* container = s;
            for (;;) {
                const bool enter = container->m_kind == kKindDiv
                    || (container->m_kind == kKindCustom && container->m_inline
                        && IsThereBlockChild(container, false));
                if (!enter)
                    break;
                CElement* inner = forward ? container->m_firstChild : container->m_lastChild;
                while (inner && inner->IsFloatType())
                    inner = forward ? inner->m_nextSibling : inner->m_prevSibling;
                if (!inner)
                    break;
                if (inner->m_kind != kKindDiv)
                    return inner->m_block ? inner : container;
                container = inner;
            }
            return container;
        }
        e = e->m_parent;
    }
    return nullptr;
}
