// The caret element and the caret's geometry on an element that takes the
// caret whole. Caret.h has the model: the document holds the caret element,
// each element its offset (a character index in a text run, 0 before and 1
// after an edge-caret element).

#include "element/Caret.h"
#include "element/CaretGeometry.h"
#include "element/Element.h"

#include "element/services/XHTMLServices.h"
#include "style/layout/LayoutBox.h"

namespace {

const unsigned short kNoBreakSpace = 0xA0;
// The box-size unit of an auto width (style/records/ElementStyle.h).
constexpr int kWidthUnitAuto = 3;

} // namespace

int ContentBoxRight(CElement* e)
{
    const BoxEdges edges = ContentEdges(e);
    return edges.left + static_cast<int>(e->Lay().m_availRect.right - e->Lay().m_availRect.left);
}

CRect HitRect(CElement* e)
{
    CRect r(e->Lay().m_position.x, e->Lay().m_position.y, e->Lay().m_position.x + BoxWidth(e),
        e->Lay().m_position.y + BoxHeight(e));
    const long k = e->m_kind;
    const bool widens
        = e->m_heading || e->m_list || k == kKindLi || k == kKindDl || k == kKindDd || k == kKindDt;
    if (!widens)
        return r;
    if (e->Style().widthSet) {
        const bool autoWidth = e->Style().widthUnit == kWidthUnitAuto;
        if (!autoWidth || e->IsElementUnderTag(kKindDiv))
            return r;
    }
    const long right = e->Lay().m_position.x + ContentBoxRight(e) - 1;
    if (right > r.right)
        r.right = right;
    return r;
}

void SetKeyOnElement(CElement* e)
{
    if (e && e->m_owner)
        e->m_owner->m_doc.m_caretElement = e;
}

bool IsKeyCursorUnderElement(const CElement* e)
{
    if (!e || !e->m_owner)
        return false;
    for (const CElement* c = e->m_owner->m_doc.m_caretElement; c; c = c->m_parent) {
        if (c == e)
            return true;
    }
    return false;
}

bool IsCursorAtLastOrFirst(const CElement* e, bool first, bool loneSpaceCell)
{
    if (!e)
        return false;
    if (e->IsTextElement()) {
        if (first ? e->m_caretOffset == 0 : e->m_caretOffset >= e->m_text.Length())
            return true;
        return loneSpaceCell && e->m_parent && e->m_parent->m_tableCell && e->m_parent->m_childCount == 1
            && e->m_text.Length() == 1 && e->m_text[0] == kNoBreakSpace;
    }
    if (e->m_edgeCaret)
        return e->m_caretOffset == (first ? 0 : 1);
    return false;
}

void CElement::SetAsKeyCursor(CElement* e)
{
    if (m_owner)
        m_owner->m_doc.m_caretElement = e ? e : this;
}

CElement* CElement::GetKeyOnElement() const { return m_owner ? m_owner->m_doc.m_caretElement : nullptr; }

int CElement::GetKeyLen()
{
    if (!m_edgeCaret)
        return 0;
    const long height = Lay().m_sizeRect.bottom - Lay().m_sizeRect.top;
    return static_cast<int>((height < 0 ? -height : height) + 1);
}

unsigned long CElement::GetKeyColor() { return ~m_drawColor & 0xFFFFFFUL; }

int CElement::GetKeyPos(CPoint& pt, int offset)
{
    if (!m_edgeCaret)
        return 1;
    const long at = offset == -1 ? m_caretOffset : offset;
    pt.y = GetKeyLen();
    pt.x = at == 0 ? Lay().m_sizeRect.left - 1 : Lay().m_sizeRect.right + 1;
    const bool pullsBack
        = m_kind == kKindPre || m_kind == kKindDiv || m_list || m_tablePart || (m_locked && m_block);
    if (at != 0 && pullsBack) {
        const int inside = ContentBoxRight(this) - 1;
        if (pt.x > inside)
            pt.x = inside;
    }
    ElementToScreen(pt);
    if (pt.x < 0)
        pt.x = 0;
    return 1;
}

bool CElement::CanGetKeyFocus() { return false; }

int CElement::MouseMove(unsigned int, CPoint) { return 0; }

int CElement::MouseLeaveElement(CPoint)
{
    m_hover = 0;
    return 0;
}

int CElement::MouseEnterElement(CPoint)
{
    m_hover = 1;
    return 0;
}
