// Moving the caret by table cells (Tab and Shift-Tab) and to the ends of the
// selection.

#include "document/XDoc.h"

#include "base/collections/PtrList.h"
#include "element/Element.h"
#include "elements/TableElement.h"

#include <algorithm>
#include <vector>

namespace {

bool IsCellOrCaption(const CElement* e) { return IsCellKind(e->m_kind) || e->m_kind == kKindCaption; }

std::vector<CElement*> ToVector(const CPtrList& list)
{
    std::vector<CElement*> out;
    for (void* pos = list.GetHeadPosition(); pos;)
        out.push_back(static_cast<CElement*>(list.GetNext(pos)));
    return out;
}

// The table's parts in reading order: its descendants in document order;
// in a right-to-left table its captions, then each row's cells from the
// last to the first.
std::vector<CElement*> ReadingOrder(CElement* table)
{
    const auto* grid = dynamic_cast<const CTableElement*>(table);
    if (!grid || !table->Style().rtl) {
        CPtrList all;
        table->GetAllChildren(&all, 0, false, 0, 0);
        return ToVector(all);
    }
    std::vector<CElement*> parts;
    for (CElement* c = table->m_firstChild; c; c = c->m_nextSibling) {
        if (c->m_kind == kKindCaption)
            parts.push_back(c);
    }
    CPtrList rows;
    grid->GetTRElement(&rows);
    for (CElement* row : ToVector(rows)) {
        for (CElement* c = row->m_lastChild; c; c = c->m_prevSibling) {
            if (IsCellKind(c->m_kind))
                parts.push_back(c);
        }
    }
    return parts;
}

// A selection of images and rules alone: the caret goes to the caret stop
// after (after) or before the first (fromFirst) or last selected image or
// rule that has one, at its start, or at its end with atEnd. The stop taken,
// or null.
CElement* BesideSelectedImage(CElement* root, bool fromFirst, bool after, bool atEnd)
{
    CPtrList selected;
    root->GetAllChildren(&selected, 0, true, 0, 0);
    std::vector<CElement*> elements = ToVector(selected);
    if (!fromFirst)
        std::reverse(elements.begin(), elements.end());
    for (CElement* e : elements) {
        if ((e->m_kind != kKindImg && e->m_kind != kKindHr) || !e->m_parent)
            continue;
        // Directions 3 and 2 pass over edge stops to the next text run.
        CElement* neighbour = e->m_parent->MoveKeyFocusToNext(e->GetID(), after ? 3 : 2);
        if (neighbour) {
            neighbour->m_caretOffset = !atEnd ? 0
                : neighbour->IsTextElement()  ? neighbour->m_text.Length()
                                              : 1;
            neighbour->SetAsKeyCursor(nullptr);
            return neighbour;
        }
    }
    return nullptr;
}

} // namespace

void CXDoc::MoveCursorToNextCell(CElement* from, bool forward)
{
    if (!IsInTree(from))
        return;
    CElement* table = from->IsElementUnderTag(kKindTable);
    if (!table)
        return;
    // Where from stands: its own cell or caption (the first on its way up
    // to the table), else itself.
    CElement* anchor = from;
    for (CElement* e = from; e != table; e = e->m_parent) {
        if (IsCellOrCaption(e)) {
            anchor = e;
            break;
        }
    }
    const std::vector<CElement*> parts = ReadingOrder(table);
    const auto at = std::find(parts.begin(), parts.end(), anchor);
    if (at == parts.end())
        return;
    const long index = at - parts.begin();
    const long step = forward ? 1 : -1;
    for (long i = index + step; i >= 0 && i < long(parts.size()); i += step) {
        // A cell without a text run takes no caret: the next one is tried.
        CElement* target = IsCellOrCaption(parts[size_t(i)])
            ? parts[size_t(i)]->GetFirstValidSubElement(0, false)
            : nullptr;
        if (target) {
            ChangeCursorElement(target, 0);
            return;
        }
    }
    // Past the table's end: the siblings after it (before it, backward).
    for (CElement* s = forward ? table->m_nextSibling : table->m_prevSibling; s;
         s = forward ? s->m_nextSibling : s->m_prevSibling) {
        CElement* target = s->IsTextElement() ? s : s->GetFirstValidSubElement(0, !forward);
        if (target) {
            ChangeCursorElement(target, forward ? 0 : target->m_text.Length());
            return;
        }
    }
}

CElement* CXDoc::CollapseArrowOverImages(bool left)
{
    if (!m_root)
        return nullptr;
    CPtrList runs;
    m_root->GetAllChildren(&runs, 0, true, kKindText, 0);
    if (runs.GetCount() != 0)
        return nullptr;
    return left ? BesideSelectedImage(m_root, true, false, true)
                : BesideSelectedImage(m_root, false, true, false);
}

CElement* CXDoc::SetPositionToFirstSel(bool start)
{
    if (!m_root)
        return nullptr;
    CPtrList runs;
    m_root->GetAllChildren(&runs, 0, true, kKindText, 0);
    if (runs.GetCount() == 0) {
        // No text selected: beside the first (last) image or rule that has
        // a caret stop after (before) it.
        return BesideSelectedImage(m_root, start, start, false);
    }
    CElement* run = static_cast<CElement*>(start ? runs.GetHead() : runs.GetTail());
    const long offset = start ? run->m_selStart : run->m_selEnd + 1;
    run->m_caretOffset = std::clamp<long>(offset, 0, run->m_text.Length());
    m_caretElement = run;
    UpdateKeyCursor();
    m_lastKeyPos = m_caretPoint;
    m_lastKeyPoint = m_caretPoint;
    return run;
}
