// The selection as markup (GetSelectionCode) and as plain text (GetDocText,
// for find, replace and spell checking), and where the caret goes once the
// selection is removed (GetPositionAfterSelection).

#include "element/Element.h"
#include "element/Selection.h"
#include "element/TreeQueries.h"

#include "base/codec/Escaping.h"
#include "element/services/ControlServices.h"
#include "element/services/XHTMLServices.h"

#include <algorithm>
#include <vector>

void GetExtraNamespaces(const CElement* e, CSafeBuf& out)
{
    out.Empty();
    if (e && e->m_owner && e->m_owner->m_control)
        out = e->m_owner->m_control->Namespaces;
    out.Trim();
}

bool CElement::GetSelectionCode(CSafeBuf& out, int mode, bool whole)
{
    if (m_selected) {
        CSafeBuf s1, s2, s3;
        GetSourceCode(out, 0, mode == 2 ? 4098 : 2, s1, s2, s3, nullptr);
        return true;
    }
    CSafeBuf inner, part;
    bool any = false;
    for (CElement* c = m_firstChild; c; c = c->m_nextSibling) {
        part.Empty();
        if (!c->GetSelectionCode(part, mode, whole))
            continue;
        any = true;
        // An image holds no content of its own to put around a child.
        if (m_kind == kKindImg)
            inner = part;
        else
            inner += part;
    }
    if (!any)
        return false;
    out = "<";
    out += m_tagName;
    CSafeBuf name, value;
    for (void* pos = m_attributes.GetStartPosition(); pos;) {
        m_attributes.GetNextAssoc(pos, name, value);
        out += " ";
        AppendEscapedXMLAttribute(out, name, name.Length());
        out += "=\"";
        AppendEscapedXMLAttribute(out, value, value.Length());
        out += "\"";
    }
    if (!m_parent) {
        GetExtraNamespaces(this, value);
        if (!value.IsEmpty()) {
            out += " ";
            out += value;
        }
    }
    out += ">";
    out += inner;
    out += "</";
    out += m_tagName;
    out += ">";
    return true;
}

namespace {

int DocText(CElement* e, CSafeBuf& out, int& state, int mode, int start, int length, SelectionStruct* sel,
    std::vector<DocTextPiece>* pieces)
{
    if (!e)
        return -1;
    int caret = -1;
    if (e->m_block || e->m_kind == kKindHr || e->m_kind == kKindImg || e->m_kind == kKindBr)
        state |= kDocTextBreakDue;
    if (e->IsTextElement()) {
        const int n = e->m_text.Length();
        const bool hasCaret = mode == 0 && e->m_owner && e->m_owner->m_doc.m_caretElement == e;
        if (n > 0) {
            // A blank between two texts that a break separates; none before
            // the first text.
            if ((state & kDocTextBreakDue) && (state & kDocTextWritten) && !(state & kDocTextEndsInSpace))
                out += static_cast<unsigned short>(' ');
            const int pos = out.Length();
            if (pieces)
                pieces->push_back(DocTextPiece{e, pos});
            if (sel && e->m_selected && e->m_selStart >= 0 && e->m_selStart <= e->m_selEnd
                && e->m_selStart < n) {
                if (sel->start == -1)
                    sel->start = pos + static_cast<int>(e->m_selStart);
                sel->end = pos + static_cast<int>(std::min<long>(e->m_selEnd, n - 1));
            }
            out += e->m_text;
            state = kDocTextWritten | (e->m_text.GetAt(n - 1) == ' ' ? kDocTextEndsInSpace : 0);
            if (mode == 1 && length > 0 && start >= 0 && pos < start + length && start < pos + n) {
                e->m_selected = 1;
                e->m_selStart = std::max(start - pos, 0);
                e->m_selEnd = std::min(start + length - pos - 1, n - 1);
            }
            if (hasCaret)
                caret = pos + static_cast<int>(std::clamp<long>(e->m_caretOffset, 0, n));
        } else if (hasCaret) {
            caret = out.Length();
        }
    }
    for (CElement* c = e->m_firstChild; c; c = c->m_nextSibling) {
        const int at = DocText(c, out, state, mode, start, length, sel, pieces);
        if (at >= 0)
            caret = at;
    }
    return caret;
}

} // namespace

int GetDocText(CElement* e, CSafeBuf& out, int& state, int mode, int start, int length, SelectionStruct* sel)
{
    return DocText(e, out, state, mode, start, length, sel, nullptr);
}

void GetDocTextPieces(CElement* e, CSafeBuf& out, std::vector<DocTextPiece>& pieces)
{
    int state = 0;
    DocText(e, out, state, 0, 0, 0, nullptr, &pieces);
}

namespace {

CElement* TopOf(CElement* e)
{
    while (e->m_parent)
        e = e->m_parent;
    return e;
}

void InOrder(CElement* e, std::vector<CElement*>& out)
{
    for (CElement* c = e->m_firstChild; c; c = c->m_nextSibling) {
        out.push_back(c);
        InOrder(c, out);
    }
}

// e is selected or lies inside a selected element.
bool InSelection(const CElement* e)
{
    for (; e; e = e->m_parent) {
        if (e->m_selected)
            return true;
    }
    return false;
}

// The caret stop next to the selection in one direction (0 backward).
CElement* PositionFor(CElement* e, int direction)
{
    CElement* root = TopOf(e);
    CPtrList selected;
    root->GetAllChildren(&selected, 0, true, 0, 0);
    if (selected.GetCount() == 0)
        return nullptr;
    const bool backward = direction == 0;
    CElement* taken = static_cast<CElement*>(backward ? selected.GetHead() : selected.GetTail());
    if (taken->IsTextElement() && taken->m_selStart <= taken->m_selEnd) {
        const long last = taken->m_text.Length() - 1;
        if ((backward && taken->m_selStart > 0) || (!backward && taken->m_selEnd < last)) {
            taken->m_caretOffset = taken->m_selStart;
            return taken;
        }
    }
    std::vector<CElement*> order;
    InOrder(root, order);
    auto at = std::find(order.begin(), order.end(), taken);
    if (at == order.end())
        return nullptr;
    const long index = at - order.begin();
    const long step = backward ? -1 : 1;
    for (long i = index + step; i >= 0 && i < static_cast<long>(order.size()); i += step) {
        CElement* c = order[static_cast<size_t>(i)];
        if (InSelection(c) || taken->IsOneOfParent(c) || c->IsOneOfParent(taken))
            continue;
        if (!c->IsTextElement() && !c->m_edgeCaret)
            continue;
        if (backward)
            c->m_caretOffset = c->IsTextElement() ? c->m_text.Length() : 1;
        else
            c->m_caretOffset = 0;
        return c;
    }
    return nullptr;
}

bool SameBlock(const CElement* a, const CElement* b)
{
    return a->GetFirstBlockParent() == b->GetFirstBlockParent();
}

// Whether a line break that stays (one not selected) stands between the
// stop before the selection and the selection's first element: the stop is
// then on the line above, not where the selection was.
bool BreakBefore(CElement* stop)
{
    CElement* root = TopOf(stop);
    CPtrList selected;
    root->GetAllChildren(&selected, 0, true, 0, 0);
    if (selected.GetCount() == 0)
        return false;
    const auto* first = static_cast<const CElement*>(selected.GetHead());
    // From the stop on in document order up to the selection's first
    // element; none when the selection does not come after the stop.
    bool sawBreak = false;
    for (CElement* e = NextInSubtree(stop, root); e; e = NextInSubtree(e, root)) {
        if (e == first)
            return sawBreak;
        sawBreak = sawBreak || (e->m_kind == kKindBr && !InSelection(e));
    }
    return false;
}

} // namespace

CElement* GetPositionAfterSelection(CElement* e, int direction)
{
    if (!e)
        return nullptr;
    if (direction != 2)
        return PositionFor(e, direction);
    CElement* before = PositionFor(e, 0);
    // A selection that starts a line after a break leaves the caret where
    // it starts, not at the end of the line above, when text of its block
    // follows it.
    const bool lineAbove = before && BreakBefore(before);
    if (before && SameBlock(before, e) && !lineAbove)
        return before;
    CElement* after = PositionFor(e, 1);
    if (after && SameBlock(after, e))
        return after;
    // Each search sets its answer's offset: the one answered searches last.
    if (before)
        return PositionFor(e, 0);
    return after;
}
