// The pieces of a wrapped inline element: which other pieces it has and
// where it stands among them (its wrap state), the attribute changes that
// must reach every piece, and joining the pieces again before a layout.
//
// The model. When an inline element is split across lines, the part that
// goes on is a duplicate of it holding the rest of its children; all pieces
// carry the same wrap-piece group (m_inlineGroup: the first piece's
// identifier). Pieces of one element are siblings, or, when the element
// lies in a wrapped ancestor, children of that ancestor's pieces at the
// same depth. A text run split across lines makes its pieces the same way,
// with the same group. Pieces live from one layout to the next: the next
// full layout of their block joins them first and splits them again where
// its lines end, so a layout after an edit gives the lines a layout of the
// document from scratch gives.

#include "base/collections/PtrList.h"
#include "element/Element.h"
#include "element/services/XHTMLServices.h"
#include "elements/TextElement.h"
#include "style/layout/LayoutBox.h"
#include "style/layout/LayoutSteps.h"

#include <cstddef>
#include <vector>

namespace {

const CElement* Sibling(const CElement* e, bool forward)
{
    return forward ? e->m_nextSibling : e->m_prevSibling;
}

// Calls found(piece) for each piece of e's group on one side of e, nearest
// first within each level, until it answers false. Answers whether it was
// stopped.
template <class F>
bool ForEachPiece(const CElement* e, bool forward, F&& found)
{
    const long group = e->m_inlineGroup;
    for (const CElement* s = Sibling(e, forward); s; s = Sibling(s, forward)) {
        if (s->m_inlineGroup == group && !found(s))
            return true;
    }
    // Inside a wrapped ancestor, e's pieces are in the ancestor's pieces.
    for (const CElement* a = e->m_parent; a && a->m_inline && a->m_inlineGroup; a = a->m_parent) {
        for (const CElement* s = Sibling(a, forward); s && s->m_inlineGroup == a->m_inlineGroup;
             s = Sibling(s, forward)) {
            std::vector<const CElement*> stack;
            for (const CElement* c = s->m_lastChild; c; c = c->m_prevSibling)
                stack.push_back(c);
            if (!forward) {
                stack.clear();
                for (const CElement* c = s->m_firstChild; c; c = c->m_nextSibling)
                    stack.push_back(c);
            }
            while (!stack.empty()) {
                const CElement* c = stack.back();
                stack.pop_back();
                if (c->m_inlineGroup == group) {
                    if (!found(c))
                        return true;
                    continue;
                }
                if (forward) {
                    for (const CElement* d = c->m_lastChild; d; d = d->m_prevSibling)
                        stack.push_back(d);
                } else {
                    for (const CElement* d = c->m_firstChild; d; d = d->m_nextSibling)
                        stack.push_back(d);
                }
            }
        }
    }
    return false;
}

// Room held for inline elements still to look into, once there is one.
constexpr std::size_t kContainersHeld = 16;

bool IsPiece(const CElement* e) { return (e->m_inline || e->m_kind == kKindText) && e->m_inlineGroup != 0; }

} // namespace

int WrapStateOf(const CElement* e)
{
    if (!IsPiece(e))
        return 0;
    auto stop = [](const CElement*) { return false; };
    const bool before = ForEachPiece(e, false, stop);
    const bool after = ForEachPiece(e, true, stop);
    if (!before)
        return after ? -1 : 0;
    return after ? 2 : 1;
}

int CElement::GetWrappedInlineBrothers(CPtrList* out) const
{
    if (!IsPiece(this))
        return 0;
    std::vector<const CElement*> before, after;
    ForEachPiece(this, false, [&](const CElement* p) {
        before.push_back(p);
        return true;
    });
    ForEachPiece(this, true, [&](const CElement* p) {
        after.push_back(p);
        return true;
    });
    if (out) {
        for (auto it = before.rbegin(); it != before.rend(); ++it)
            out->AddTail(const_cast<CElement*>(*it));
        for (const CElement* p : after)
            out->AddTail(const_cast<CElement*>(p));
    }
    if (before.empty())
        return after.empty() ? 0 : -1;
    return after.empty() ? 1 : 2;
}

void CElement::ChangeWrappedInlineElement()
{
    CPtrList pieces;
    GetWrappedInlineBrothers(&pieces);
    for (void* pos = pieces.GetHeadPosition(); pos;) {
        CElement* piece = static_cast<CElement*>(pieces.GetNext(pos));
        CopyMap(&piece->m_attributes, &m_attributes, false);
        piece->StyleChanged(1);
    }
}

bool CElement::CombineWrap(CElement*) { return false; }

bool CElement::FixInlineBrother(void* dc)
{
    if (!m_inline)
        return false;
    for (CElement* c = m_firstChild; c; c = c->m_nextSibling)
        c->FixInlineBrother(dc);
    CPtrList pieces;
    GetWrappedInlineBrothers(&pieces);
    for (void* pos = pieces.GetHeadPosition(); pos;)
        static_cast<CElement*>(pieces.GetNext(pos))->CalcForAll(dc, false, true);
    CalcForAll(dc, false, false);
    return true;
}

bool JoinWrappedPieces(CElement* block)
{
    bool spares = false;
    std::vector<CElement*> containers; // inline children still to look into
    for (CElement* parent = block; parent;) {
        for (CElement* c = parent->m_firstChild; c; c = c->m_nextSibling) {
            CElement* next = c->m_nextSibling;
            while (next && c->m_inlineGroup && next->m_inlineGroup == c->m_inlineGroup
                && next->m_kind == c->m_kind) {
                if (c->m_kind == kKindText) {
                    c->CombineWrap(next);
                    CTextElement* run = dynamic_cast<CTextElement*>(c);
                    if (run && next->m_kind == kKindText) {
                        run->KeepSpareLayouts(dynamic_cast<CTextElement*>(next));
                        spares = true;
                    }
                } else {
                    while (CElement* moved = next->m_firstChild) {
                        next->RemoveCurrentChildFromList(moved);
                        c->AddToTail(moved);
                    }
                    c->m_selected = c->m_selected || next->m_selected;
                    if (c->m_owner && c->m_owner->m_doc.m_caretElement == next)
                        c->m_owner->m_doc.m_caretElement = c;
                }
                parent->RemoveCurrentChildFromList(next);
                parent->DeleteElement(next);
                next = c->m_nextSibling;
            }
            // The group stays only while a piece of it is left elsewhere (in
            // an ancestor's pieces not joined yet).
            if (c->m_inlineGroup && WrapStateOf(c) == 0)
                c->m_inlineGroup = 0;
            if (c->m_inline && c->m_firstChild) {
                if (containers.capacity() == 0)
                    containers.reserve(kContainersHeld); // at once, not a step at a time
                containers.push_back(c);
            }
        }
        parent = nullptr;
        if (!containers.empty()) {
            parent = containers.back();
            containers.pop_back();
        }
    }
    return spares;
}

void DropSpareLayouts(CElement* block)
{
    std::vector<CElement*> containers{block}; // inline content still to look into
    while (!containers.empty()) {
        CElement* parent = containers.back();
        containers.pop_back();
        for (CElement* c = parent->m_firstChild; c; c = c->m_nextSibling) {
            if (c->m_kind == kKindText) {
                if (CTextElement* run = dynamic_cast<CTextElement*>(c))
                    run->DropSpareLayouts();
            } else if (c->m_inline && c->m_firstChild) {
                containers.push_back(c);
            }
        }
    }
}
