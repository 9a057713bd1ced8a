// Placing the caret where the caret marker word stood in markup read back,
// and tidying the empty elements typing leaves around the caret.

#include "element/Caret.h"
#include "element/Element.h"
#include "element/TreeQueries.h"

#include "element/markup/SourceCode.h"
#include "elements/TextElement.h"

#include <algorithm>

namespace {

// The caret's side of an edge stop from the marker attribute's value:
// "____" before the element, "____1" (any number past 0) after it.
long EdgeOffset(const CSafeBuf& value)
{
    const int prefix = 4;
    if (value.Length() <= prefix)
        return 0;
    for (int i = prefix; i < value.Length(); ++i) {
        if (value.GetAt(i) < '0' || value.GetAt(i) > '9')
            return 0;
    }
    for (int i = prefix; i < value.Length(); ++i) {
        if (value.GetAt(i) != '0')
            return 1;
    }
    return 0;
}

} // namespace

CElement* FindCursorFromSource(CElement* e)
{
    // Document order over e's subtree, without recursion.
    const CSafeBuf marker(kCaretMarker);
    for (CElement* c = e; c;) {
        if (CTextElement* run = dynamic_cast<CTextElement*>(c)) {
            if (run->TakeCursorMark())
                return run;
        }
        if (!c->m_text.IsEmpty()) {
            const int at = c->m_text.Find(static_cast<const unsigned short*>(marker));
            if (at >= 0) {
                c->m_text.Delete(at, marker.Length());
                c->m_caretOffset = c->IsTextElement() ? at : 0;
                return c;
            }
        }
        CSafeBuf value;
        if (c->GetAttrString(static_cast<const unsigned short*>(marker), value) && !value.IsEmpty()) {
            c->SetAttrString(
                static_cast<const unsigned short*>(marker), static_cast<const unsigned short*>(nullptr));
            if (c->m_edgeCaret) {
                c->m_caretOffset = EdgeOffset(value);
                return c;
            }
            CElement* next = c->MoveKeyFocusToNext(c->GetID(), 1);
            if (!next)
                next = c->MoveKeyFocusToNext(c->GetID(), 0);
            if (next)
                return next;
        }
        if (c->m_firstChild) {
            c = c->m_firstChild;
            continue;
        }
        while (c != e && !c->m_nextSibling)
            c = c->m_parent;
        c = c == e ? nullptr : c->m_nextSibling;
    }
    return nullptr;
}

void RemoveSelectionMarkers(CElement* e)
{
    const CSafeBuf words[] = {CSafeBuf(kSelectionBeginMarker), CSafeBuf(kSelectionEndMarker)};
    for (CElement* c = e; c; c = NextInSubtree(c, e)) {
        for (const CSafeBuf& word : words) {
            for (int at = c->m_text.Find(static_cast<const unsigned short*>(word)); at >= 0;
                 at = c->m_text.Find(static_cast<const unsigned short*>(word))) {
                c->m_text.Delete(at, word.Length());
                if (c->m_caretOffset > at)
                    c->m_caretOffset = std::max<long>(at, c->m_caretOffset - word.Length());
            }
        }
    }
}

bool RemoveEmptyElementAround(CElement* e)
{
    if (!e || !e->m_parent)
        return false;
    CElement* parent = e->m_parent;
    bool removed = false;
    for (CElement* s = e->m_prevSibling; s && s->IsEmptyTag(true);) {
        CElement* before = s->m_prevSibling;
        parent->RemoveChild(s->GetID(), true, false);
        removed = true;
        s = before;
    }
    for (CElement* s = e->m_nextSibling; s && s->IsEmptyTag(true);) {
        CElement* after = s->m_nextSibling;
        parent->RemoveChild(s->GetID(), true, false);
        removed = true;
        s = after;
    }
    return removed;
}

bool CleanKeyContext(CElement* e, int direction)
{
    if (!e)
        return false;
    CElement* parent = e->m_parent;
    const bool emptyInline = e->m_text.IsEmpty() && parent && parent->m_inline && parent->m_parent
        && e->m_kind != kKindCustom && parent->IsEmptyTag(false);
    if (!emptyInline)
        return RemoveEmptyElementAround(e);
    CPtrList pieces;
    parent->GetWrappedInlineBrothers(&pieces);
    if (pieces.GetCount() == 0 && parent->m_kind == kKindCustom)
        return false;
    parent->m_parent->RemoveChildNodeOnly(parent->GetID());
    CleanKeyContext(e, 0);
    if (direction == 1 || direction == 2) {
        const bool back = direction == 1;
        CElement* side = back ? e->m_prevSibling : e->m_nextSibling;
        CElement* run = nullptr;
        if (side && side->IsTextElement())
            run = side;
        else if (side && side->m_inline)
            run = side->GetFirstOrLastInputElement(!back);
        if (run) {
            run->m_caretOffset = back ? run->m_text.Length() : 0;
            SetKeyOnElement(run);
        }
    }
    return true;
}
