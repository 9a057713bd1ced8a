// Flattening blocks inside a paragraph, dt or heading; text that leaves a
// pre; what a pre may not receive.

#include "element/ValidateTree.h"

#include "element/Element.h"
#include "element/factory/ElementFactory.h"
#include "element/services/XHTMLServices.h"
#include "elements/BRElement.h"
#include "elements/TextElement.h"

#include <vector>

namespace {

const unsigned short kLineEnd[] = {'\n', 0};

// The elements of e's subtree (e excluded) in document order.
std::vector<CElement*> Below(CElement* e)
{
    std::vector<CElement*> out;
    std::vector<CElement*> stack;
    for (CElement* c = e->m_lastChild; c; c = c->m_prevSibling)
        stack.push_back(c);
    while (!stack.empty()) {
        CElement* c = stack.back();
        stack.pop_back();
        out.push_back(c);
        for (CElement* g = c->m_lastChild; g; g = g->m_prevSibling)
            stack.push_back(g);
    }
    return out;
}

bool IsPreBreak(const CElement* e)
{
    return e->m_kind == kKindBr && static_cast<const CBRElement*>(e)->m_preBreak;
}

// The break's line end becomes white space at the front of what follows it
// in its parent; the break is destroyed.
void DissolvePreBreak(CElement* br)
{
    CElement* parent = br->m_parent;
    if (!parent)
        return;
    if (CElement* next = br->m_nextSibling) {
        if (next->IsTextElement()) {
            next->m_text.Insert(0, kLineEnd, 1);
        } else if (CElement* run = CreateElement("", br->m_rules, br->m_root, br->m_owner)) {
            run->m_text = kLineEnd;
            parent->InsertChild(run, next->GetID(), false);
            run->CopyFromParent(parent, 1);
        }
    }
    if (br->m_owner && br->m_owner->m_doc.m_caretElement == br)
        br->m_owner->m_doc.m_caretElement = br->m_nextSibling ? br->m_nextSibling : br->m_prevSibling;
    parent->RemoveChild(br->GetID(), true, false);
}

} // namespace

bool ValidateTree(CElement* e)
{
    if (!e || !(e->m_kind == kKindP || e->m_kind == kKindDt || IsHeadingKind(e->m_kind)))
        return false;
    bool changed = false;
    for (bool again = true; again;) {
        again = false;
        for (CElement* c = e->m_firstChild; c;) {
            CElement* next = c->m_nextSibling;
            if (c->m_block && e->RemoveChildNodeOnly(c->GetID()))
                again = true;
            c = next;
        }
        changed |= again;
    }
    if (changed)
        e->StyleChanged(0);
    return changed;
}

void ValidateTextChildFromPre(CElement* e, int flags)
{
    if (!e)
        return;
    if (flags & 3) {
        for (CElement* c : Below(e)) {
            if (!IsPreBreak(c))
                continue;
            if (flags & 1)
                DissolvePreBreak(c);
            else
                static_cast<CBRElement*>(c)->m_preBreak = false;
        }
    }
    // In document order: a run looks back at the text before it.
    for (CElement* c : Below(e)) {
        if (c->IsTextElement())
            static_cast<CTextElement*>(c)->ValidateText();
    }
}

bool CanMoveChildrenTo(const CElement* e, const CElement* target)
{
    if (!e || !target || target->m_kind != kKindPre)
        return false;
    std::vector<const CElement*> stack(1, e);
    while (!stack.empty()) {
        const CElement* c = stack.back();
        stack.pop_back();
        for (const CElement* g = c->m_firstChild; g; g = g->m_nextSibling) {
            const long k = g->m_kind;
            if (k == kKindImg || k == kKindObject || k == kKindSub || k == kKindSup)
                return true;
            stack.push_back(g);
        }
    }
    return false;
}
