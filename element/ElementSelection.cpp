// Marking the selection, and inline formatting around a selected image.
//
// The model. The selection is not a range object: each element carries its
// own state. m_selected says the element is inside the selection; only
// elements with m_selectable set (text runs, images, rules, breaks, div ...)
// are ever marked by a drag, so a paragraph the selection passes through is
// not itself selected, while the runs inside it are. A text run adds the
// inclusive range m_selStart .. m_selEnd of its selected characters.
// m_prevSelected keeps the state before the last change. Cells and captions
// selected as a whole (a rectangular cell selection) carry m_wholeCell, a
// table selected whole m_wholeTable.
//
// A drag is marked by clearing the selection (CleanSelection) and walking
// the tree from the root with ProcessSelection: the walk is "inside" from
// the start element to the end element, and every selectable element met
// inside toggles. Text runs override the step to turn the two points into
// character offsets (elements/TextElementSelect.cpp).

#include "element/Element.h"
#include "element/Selection.h"
#include "element/TreeQueries.h"

#include "base/text/U16.h"
#include "element/factory/ElementFactory.h"

namespace {

bool IsSelectionCellKind(long kind)
{
    return kind == kKindTd || kind == kKindTh || kind == kKindCaption || kind == kKindDd || kind == kKindDt;
}

// The element id lies below e (e itself does not count).
bool HoldsElement(const CElement* e, long id) { return id && IsDescendantOf(e, id); }

} // namespace

void AddSelectionCell(const CElement* e, CPtrList* cells)
{
    if (!cells || !e)
        return;
    CElement* cell = nullptr;
    if (e->IsElementUnderTag(kKindTable)) {
        cell = e->IsElementUnderTag(kKindTd);
        if (!cell)
            cell = e->IsElementUnderTag(kKindCaption);
        if (!cell)
            cell = e->IsElementUnderTag(kKindTh);
    } else if (e->IsElementUnderTag(kKindDl)) {
        cell = e->IsElementUnderTag(kKindDt);
        if (!cell)
            cell = e->IsElementUnderTag(kKindDd);
    }
    if (cell && IsSelectionCellKind(cell->m_kind) && !cells->Find(cell))
        cells->AddTail(cell);
}

CElement* FindFormatAncestor(const CElement* e, int kind, CElement* templ)
{
    const bool byTag = kind == kKindMap || kind == kKindObject || kind == kKindCustom;
    CSafeBuf templClass, cls;
    if (templ)
        templ->GetAttrString("class", templClass);
    for (CElement* a = e->m_parent; a; a = a->m_parent) {
        if (!byTag) {
            if (a->m_kind == kind)
                return a;
            continue;
        }
        if (!templ || U16cmp(a->GetTagName(), templ->GetTagName()) != 0)
            continue;
        a->GetAttrString("class", cls);
        if (cls.IsEmpty() || cls == templClass)
            return a;
    }
    return nullptr;
}

CElement* MakeFormatWrapper(const CElement* like, int kind, CElement* templ)
{
    if (templ)
        return templ->Duplicate();
    const char* tag = nullptr;
    switch (kind) {
    case kKindB: tag = "b"; break;
    case kKindStrong: tag = "strong"; break;
    case kKindEm: tag = "em"; break;
    case kKindI: tag = "i"; break;
    case kKindSpan: tag = "span"; break;
    default: return nullptr;
    }
    return CreateElement(tag, like->m_rules, like->m_root, like->m_owner);
}

bool WrapSelected(CElement* e, CElement* wrapper)
{
    if (!wrapper)
        return false;
    wrapper->m_parent = nullptr;
    if (e->InsertElement(wrapper))
        return true;
    delete wrapper;
    return false;
}

bool CElement::CleanSelection(bool clearCellMarks)
{
    m_prevSelected = m_selected;
    m_selStart = 0;
    m_selEnd = 0;
    m_selected = 0;
    m_wholeTable = 0;
    if (m_kind == kKindTable || IsListKind(m_kind))
        m_selectable = 0;
    if (clearCellMarks)
        m_wholeCell = 0;
    for (CElement* c = m_firstChild; c; c = c->m_nextSibling)
        c->CleanSelection(clearCellMarks);
    return true;
}

void CElement::SelectAllChildren(bool select)
{
    if (m_selectable) {
        m_selected = select ? 1 : 0;
        if (IsTextElement()) {
            m_selStart = 0;
            m_selEnd = select && m_text.Length() > 0 ? m_text.Length() - 1 : 0;
            return;
        }
    } else if (IsCellKind(m_kind) || m_kind == kKindCaption) {
        m_wholeCell = select ? 1 : 0;
    }
    for (CElement* c = m_firstChild; c; c = c->m_nextSibling)
        c->SelectAllChildren(select);
}

bool CElement::CleanMark()
{
    m_wholeCell = 0;
    for (CElement* c = m_firstChild; c; c = c->m_nextSibling)
        c->CleanMark();
    return true;
}

bool CElement::ProcessSelection(
    long startId, CPoint startPoint, long endId, CPoint endPoint, bool& inside, bool reverse, CPtrList* cells)
{
    if (m_id == startId)
        inside = true;
    if (reverse) {
        if (m_kind == kKindDiv && m_id == endId && m_caretOffset == 1) {
            m_selected = 0;
            inside = false;
            return false;
        }
        for (CElement* c = m_lastChild; c;) {
            CElement* previous = c->m_prevSibling;
            c->ProcessSelection(startId, startPoint, endId, endPoint, inside, true, cells);
            c = previous;
        }
    }
    if (inside && m_selectable && m_kind != kKindDd && m_kind != kKindDt) {
        if (m_kind == kKindCustom && m_locked) {
            SelectAllChildren(true);
            if (HoldsElement(this, endId))
                inside = false;
            return false;
        }
        m_prevSelected = m_selected;
        m_selected = m_selected ? 0 : 1;
        if (m_kind == kKindDiv && !m_prevSelected && m_id == endId && m_caretOffset == 0 && !reverse) {
            m_selected = 0;
            inside = false;
            return false;
        }
        // Only partly covered: the end (in a backward walk also the start)
        // lies inside it.
        if (HoldsElement(this, endId) || (reverse && HoldsElement(this, startId)))
            m_selected = 0;
        if (m_selected) {
            AddSelectionCell(this, cells);
            if (m_kind == kKindDiv)
                SelectAllChildren(true);
            if (m_id == endId)
                inside = false;
            if (!m_inline)
                return false;
        }
    }
    if (!reverse) {
        for (CElement* c = m_firstChild; c;) {
            CElement* next = c->m_nextSibling;
            c->ProcessSelection(startId, startPoint, endId, endPoint, inside, false, cells);
            c = next;
        }
    }
    if (m_id == endId)
        inside = false;
    return false;
}

namespace {

void SetPackMark(CElement* e, long mark)
{
    e->m_packMark = mark;
    for (CElement* c = e->m_firstChild; c; c = c->m_nextSibling)
        SetPackMark(c, mark);
}

} // namespace

CElement* CElement::PackSelection(CElement* wrapper)
{
    if (!wrapper)
        return nullptr;
    if (m_selected && m_selectable && !m_edgeCaret && m_packMark == 0 && m_parent) {
        CElement* parent = m_parent;
        CElement* copy = wrapper->Duplicate();
        if (!WrapSelected(this, copy))
            return nullptr;
        copy->CopyFromParent(parent, 1);
        CSafeBuf href;
        copy->GetAttrString("href", href);
        SetPackMark(this, href.IsEmpty() ? 2 : 1);
        return copy;
    }
    bool changed = false;
    for (CElement* c = m_firstChild; c;) {
        CElement* next = c->m_nextSibling;
        // A child that was wrapped is already in the copy's place.
        changed |= c->PackSelection(wrapper) != nullptr;
        c = next;
    }
    if (changed)
        StyleChanged(0);
    return nullptr;
}

int CElement::DoSelection(int kind, bool apply, CElement* templ)
{
    if (m_kind != kKindImg || !m_parent)
        return 0;
    if (CElement* match = FindFormatAncestor(this, kind, templ)) {
        if (!apply && JumpOut(match->GetID(), true))
            StyleChanged(1);
        return 0;
    }
    if (!apply)
        return 0;
    WrapSelected(this, MakeFormatWrapper(this, kind, templ));
    return 0;
}
