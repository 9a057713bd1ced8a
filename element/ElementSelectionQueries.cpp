// Questions that commands ask of the selection: is there one, where does it
// start, does it lie all inside a bold element or a centred div, is an
// element selected whole, does a point fall on it.

#include "element/Element.h"
#include "element/Selection.h"

#include "base/text/U16.h"

namespace {

bool IsRowKind(long kind) { return kind == kKindTr; }

// Where the upward search for the element of a format stops without one.
bool StopsSearch(const CElement* a, long kind)
{
    if (!a->m_parent || IsListKind(a->m_kind) || a->m_kind == kKindTable)
        return true;
    if (a->m_kind == kKindLi)
        return kind != kKindUl && kind != kKindOl;
    if (IsRowKind(a->m_kind))
        return kind != kKindTable;
    if (IsCellKind(a->m_kind))
        return kind != kKindTable && kind != kKindTr;
    return false;
}

// The alignment key a div's align attribute stands for: 21 centre, 22
// right, 23 left; 0 for anything else.
long DivAlignKey(const CElement* a)
{
    if (a->m_kind != kKindDiv)
        return 0;
    CSafeBuf align;
    a->GetAttrString("align", align);
    if (align == "center")
        return kKindCenter;
    if (align == "right")
        return 22;
    if (align == "left")
        return 23;
    return 0;
}

bool IsTagSearchStop(const CElement* a, const unsigned short* tag)
{
    if (!a->m_parent || a->m_kind == kKindTable || IsRowKind(a->m_kind) || IsCellKind(a->m_kind)
        || IsListKind(a->m_kind))
        return true;
    if (a->m_kind == kKindLi) {
        static const unsigned short kOl[] = {'o', 'l', 0}, kUl[] = {'u', 'l', 0};
        return U16cmp(tag, kOl) != 0 && U16cmp(tag, kUl) != 0;
    }
    return false;
}

// A selected line break or empty text run holds nothing that an inline
// format is put on or taken off (those go around text and pictures), so it
// does not decide whether the selection lies under one. The reader leaves
// a format element's line break outside it, between the two halves, with an
// empty run beside it: counted, such a break made a second press of a
// format over the text on both sides format it again instead of plainly.
// Selected text of nothing but blanks is the same: a wrapper leaves the
// blanks at its edges outside it (reading would put them there), so they
// stand between two wrappers that a link's edge kept apart, or beside one.
bool HoldsNothingToFormat(const CElement* e)
{
    if (e->m_kind == kKindBr)
        return true;
    if (!e->IsTextElement())
        return false;
    const int from = e->m_selected && e->m_selStart > 0 ? static_cast<int>(e->m_selStart) : 0;
    const int last
        = e->m_selected && e->m_selEnd >= 0 ? static_cast<int>(e->m_selEnd) : e->m_text.Length() - 1;
    for (int i = from; i <= last && i < e->m_text.Length(); ++i) {
        if (e->m_text.GetAt(i) != ' ')
            return false;
    }
    return true;
}

bool IsWholeTextSelected(const CElement* e)
{
    return e->m_selected && e->m_selStart <= 0 && e->m_selEnd >= e->m_text.Length() - 1;
}

} // namespace

bool CElement::CheckHasSelection(int)
{
    if (m_selected)
        return true;
    for (CElement* c = m_firstChild; c; c = c->m_nextSibling) {
        if (c->CheckHasSelection(0))
            return true;
    }
    return false;
}

bool CElement::HaveSelectedChild() const
{
    for (const CElement* c = m_firstChild; c; c = c->m_nextSibling) {
        if (c->m_selected || c->HaveSelectedChild())
            return true;
    }
    return false;
}

CElement* CElement::GetFirstSelection(int which)
{
    if (m_selected && m_selectable) {
        const bool text = IsTextElement();
        if ((which != 1 && which != 2) || text || (which == 2 && m_kind == kKindImg))
            return this;
    }
    for (CElement* c = m_firstChild; c; c = c->m_nextSibling) {
        if (CElement* found = c->GetFirstSelection(which))
            return found;
    }
    return nullptr;
}

bool CElement::IsThereATagInSelection(int kind) const
{
    if (m_selected && m_kind == kind)
        return true;
    for (const CElement* c = m_firstChild; c; c = c->m_nextSibling) {
        if (c->IsThereATagInSelection(kind))
            return true;
    }
    return false;
}

bool CElement::IsSelectionUnderTag(int kind, int)
{
    for (CElement* c = m_firstChild; c; c = c->m_nextSibling) {
        if (!c->IsSelectionUnderTag(kind, 0))
            return false;
    }
    if (!m_selected || m_kind == kind || m_block || HoldsNothingToFormat(this))
        return true;
    const bool alignment = kind == kKindCenter || kind == 22 || kind == 23;
    for (CElement* a = m_parent; a; a = a->m_parent) {
        if (a->m_kind == kind || (alignment && DivAlignKey(a) == kind))
            return true;
        if (StopsSearch(a, kind))
            return false;
    }
    return false;
}

bool CElement::IsSelectionUnderTag(const unsigned short* tag, const unsigned short* className, int)
{
    for (CElement* c = m_firstChild; c; c = c->m_nextSibling) {
        if (!c->IsSelectionUnderTag(tag, className, 0))
            return false;
    }
    if (!m_selected || m_block || !tag || U16cmp(m_tagName, tag) == 0 || HoldsNothingToFormat(this))
        return true;
    const bool byClass = className && *className;
    CSafeBuf cls;
    for (CElement* a = m_parent; a; a = a->m_parent) {
        if (U16cmp(a->GetTagName(), tag) == 0) {
            if (!byClass)
                return true;
            a->GetAttrString("class", cls);
            if (cls == className)
                return true;
        }
        if (IsTagSearchStop(a, tag))
            return false;
    }
    return false;
}

bool CElement::IsTagUnderSelection() const
{
    if (m_block)
        return false;
    if (!m_tagName[0])
        return m_selected && m_selStart == 0;
    if (!m_firstChild)
        return false;
    for (const CElement* c = m_firstChild; c; c = c->m_nextSibling) {
        if (!c->IsTagUnderSelection())
            return false;
    }
    return true;
}

bool IsWholeElementSelected(CElement* e)
{
    if (!e)
        return false;
    if (e->m_selectable) {
        if (!e->m_selected)
            return false;
        if (e->IsTextElement() && !IsWholeTextSelected(e))
            return false;
    }
    for (CElement* c = e->m_firstChild; c; c = c->m_nextSibling) {
        if (!IsWholeElementSelected(c))
            return false;
    }
    return true;
}

bool IsAllChildrenSelected(CElement* e)
{
    if (!e)
        return false;
    if (e->m_selectable && !e->m_selected)
        return false;
    for (CElement* c = e->m_firstChild; c; c = c->m_nextSibling) {
        if (!IsAllChildrenSelected(c))
            return false;
    }
    return true;
}

bool CElement::IsCursorInsideSelection(CPoint pt)
{
    for (CElement* c = m_firstChild; c; c = c->m_nextSibling) {
        if (c->IsCursorInsideSelection(pt))
            return true;
    }
    if (!m_selected || !(m_selectable || (m_kind == kKindTable && m_wholeTable)))
        return false;
    CRect box = Lay().m_sizeRect;
    if ((m_kind == kKindDiv || m_kind == kKindDd || m_kind == kKindDt)
        && box.right < Lay().m_contentRect.right - 1)
        box.right = Lay().m_contentRect.right - 1;
    ElementToDocument(box);
    return pt.x >= box.left && pt.x < box.right && pt.y >= box.top && pt.y < box.bottom;
}
