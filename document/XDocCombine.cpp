// Keeping the tree compact: before each full layout neighbouring text runs
// of one parent become one run, and neighbouring inline elements that are
// alike (same tag, same attributes) become one element, so that edits which
// split runs do not leave the tree ever more fragmented. Also the small
// tree operations the commands share: removing an element, unwrapping one,
// trimming empty runs from a list of elements and joining split elements.

#include "document/XDoc.h"

#include "element/Element.h"

#include "element/markup/MarkupWriter.h"

#include <vector>

namespace {

// Whether b, the sibling right after a, merges into a: two text runs, or
// two inline elements that the writer would write as one.
bool CanCombine(const CElement* a, const CElement* b)
{
    if (a->IsTextElement() || b->IsTextElement())
        return a->IsTextElement() && b->IsTextElement();
    return a->m_inline && !a->m_edgeCaret && !b->m_edgeCaret && CanMergeInline(a, b);
}

// a takes b's content: a text run its text (with the caret and the
// selection), an inline element its children.
bool Absorb(CElement* a, CElement* b)
{
    if (a->IsTextElement())
        return a->CombineWrap(b);
    while (CElement* c = b->m_firstChild) {
        b->RemoveCurrentChildFromList(c);
        a->AppendChild(c);
    }
    return true;
}

} // namespace

bool CXDoc::CombineElement(int mode)
{
    if (!m_root)
        return false;
    bool changed = false;
    try {
        for (;;) {
            changed |= m_root->RemoveSecondEmptyText();
            if (mode != 0)
                return changed;
            // One walk in document order. Each element first merges its
            // children with their neighbours (a child that absorbed its
            // neighbour is tried again with the new one), then its children
            // are walked, the content moved into them included.
            bool merged = false;
            std::vector<CElement*> stack{m_root};
            while (!stack.empty()) {
                CElement* e = stack.back();
                stack.pop_back();
                for (CElement* c = e->m_firstChild; c; c = c->m_nextSibling) {
                    while (CElement* next = c->m_nextSibling) {
                        if (!CanCombine(c, next) || !Absorb(c, next))
                            break;
                        RemoveElement(next, true);
                        merged = true;
                    }
                }
                // Pushed last first, so that the first child is walked next.
                for (CElement* c = e->m_lastChild; c; c = c->m_prevSibling)
                    stack.push_back(c);
            }
            if (!merged)
                return changed;
            changed = true;
        }
    } catch (...) {
        WriteExcpInfo("CombineElement");
    }
    return changed;
}

bool CXDoc::RemoveElement(CElement* e, bool destroy)
{
    if (!e || !e->m_parent)
        return false;
    return e->m_parent->RemoveChild(e->GetID(), destroy, false);
}

bool CXDoc::RemoveChildOnly(CElement* e)
{
    if (!e || !e->m_parent)
        return false;
    CElement* parent = e->m_parent;
    if (!parent->RemoveChildNodeOnly(e->GetID()))
        return false;
    parent->StyleChanged(0);
    return true;
}

void CXDoc::TrimEmptyElement(CPtrList* list, int where)
{
    if (!list)
        return;
    auto isEmptyRun = [](void* p) {
        const auto* e = static_cast<const CElement*>(p);
        return e && e->IsTextElement() && e->m_text.Length() == 0;
    };
    if (where == 0 || where == 1) {
        while (list->GetCount() > 0 && isEmptyRun(list->GetHead()))
            list->RemoveHead();
    }
    if (where == 0 || where == 2) {
        while (list->GetCount() > 0 && isEmptyRun(list->GetTail()))
            list->RemoveTail();
    }
}

bool CXDoc::ReunionElements(CPtrList* list)
{
    if (!m_root || !list)
        return false;
    try {
        return m_root->ReunionElements(list);
    } catch (...) {
        WriteExcpInfo("ReunionElements");
        return false;
    }
}
