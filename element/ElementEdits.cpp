// Unlinking and destroying children: at once, or queued on the document's
// removed list when a caller up the stack may still hold the element; the
// test for an element an edit left empty; surplus empty text runs and the
// text children of images; moving an element out of its inline ancestors.
//
// A queued element is taken off the root's float list with its subtree
// first: the document destroys it later, possibly after the tree it came
// from, and its destruction must not reach back into that tree.

#include "element/Element.h"

#include "element/services/XHTMLServices.h"
#include "elements/ImageElement.h"

#include <vector>

namespace {

void ForgetFloats(CElement* root, CElement* e)
{
    if (e->m_floating) {
        if (root) {
            if (void* pos = root->EditRare().m_floatList.Find(e))
                root->EditRare().m_floatList.RemoveAt(pos);
        }
        e->m_floating = 0;
    }
    for (CElement* c = e->m_firstChild; c; c = c->m_nextSibling)
        ForgetFloats(root, c);
}

// The innermost element reached through only children holds content.
bool HoldsContent(const CElement* e)
{
    while (e->m_childCount == 1)
        e = e->m_firstChild;
    if (e->m_childCount > 1)
        return true;
    switch (e->m_kind) {
    case kKindImg:
    case kKindHr:
    case kKindBr: return true;
    case kKindText: return !e->m_text.IsEmpty();
    default: return false;
    }
}

// Whether e (a pointer that is only compared) is below root.
bool HoldsBelow(const CElement* root, const CElement* e)
{
    if (!e)
        return false;
    std::vector<const CElement*> stack(1, root);
    while (!stack.empty()) {
        const CElement* c = stack.back();
        stack.pop_back();
        for (const CElement* g = c->m_firstChild; g; g = g->m_nextSibling) {
            if (g == e)
                return true;
            stack.push_back(g);
        }
    }
    return false;
}

} // namespace

bool CElement::RemoveChild(long id, bool destroy, bool queue)
{
    CElement* c = GetChild(id, 0);
    if (!c || !RemoveCurrentChildFromList(c))
        return false;
    if (destroy) {
        if (queue && m_owner) {
            ForgetFloats(m_root, c);
            if (!m_owner->m_doc.QueueRemovedElement(c))
                DeleteElement(c);
        } else {
            DeleteElement(c);
        }
    }
    return true;
}

bool CElement::RemoveElement(CElement* e, bool destroy)
{
    if (!e || !e->m_parent)
        return false;
    return e->m_parent->RemoveChild(e->m_id, destroy, false);
}

void CElement::RemoveAllChildren(bool destroy)
{
    while (CElement* c = m_firstChild) {
        RemoveCurrentChildFromList(c);
        if (destroy)
            DeleteElement(c);
    }
}

bool CElement::RemoveIfEmpty(CElement* e)
{
    if (!e || !IsElementExist(e) || !e->m_parent || HoldsContent(e))
        return false;
    return e->m_parent->RemoveChild(e->m_id, true, false);
}

bool CElement::RemoveSecondEmptyText()
{
    bool removed = false;
    std::vector<CElement*> run;
    auto finish = [&]() {
        // A run with text keeps only the runs with text; a run of empty
        // runs keeps its first.
        const size_t n = run.size();
        std::vector<bool> keep(n, false);
        bool anyText = false;
        for (size_t i = 0; i < n; ++i) {
            keep[i] = !run[i]->m_text.IsEmpty();
            anyText |= keep[i];
        }
        if (n && !anyText)
            keep[0] = true;
        CElement* caret = m_owner ? m_owner->m_doc.m_caretElement : nullptr;
        for (size_t i = 0; i < n; ++i) {
            if (keep[i])
                continue;
            if (run[i] == caret) { // the nearest kept run before it, else after it
                size_t j = i;
                while (j > 0 && !keep[j])
                    --j;
                while (!keep[j]) // none before: one after
                    ++j;
                m_owner->m_doc.m_caretElement = run[j];
            }
            RemoveChild(run[i]->GetID(), true, false);
            removed = true;
        }
        run.clear();
    };
    for (CElement* c = m_firstChild; c;) {
        CElement* next = c->m_nextSibling;
        if (c->IsTextElement()) {
            run.push_back(c);
        } else {
            finish();
            removed |= c->RemoveSecondEmptyText();
        }
        c = next;
    }
    finish();
    return removed;
}

bool CElement::RemoveChildrenOfImage()
{
    if (m_kind == kKindImg && static_cast<CImageElement*>(this)->GetDisplayType() != 2) {
        // A caret on the alternative text goes to the image.
        if (m_owner && HoldsBelow(this, m_owner->m_doc.m_caretElement)) {
            m_owner->m_doc.m_caretElement = this;
            m_caretOffset = 0;
        }
        RemoveAllChildren(true);
        return true;
    }
    bool any = false;
    for (CElement* c = m_firstChild; c; c = c->m_nextSibling)
        any |= c->RemoveChildrenOfImage();
    return any;
}

bool CElement::RemoveChildNodeOnly(long id)
{
    CElement* c = GetChild(id, 0);
    if (!c)
        return false;
    while (CElement* g = c->m_firstChild) {
        c->RemoveCurrentChildFromList(g);
        InsertInto(g, c, false);
    }
    RemoveCurrentChildFromList(c);
    DeleteElement(c);
    return true;
}

void CElement::MoveOutUntil(CElement* stop, bool dissolve)
{
    // One level a turn, from the parent up; the walk goes on after this
    // element was moved to either end of its parent as well, so that it
    // always ends up outside stop.
    for (;;) {
        CElement* parent = m_parent;
        CElement* grand = parent ? parent->m_parent : nullptr;
        if (!grand)
            return;
        const bool last = !stop || stop == parent;
        if (this == parent->m_firstChild && this == parent->m_lastChild && dissolve) {
            grand->RemoveChildNodeOnly(parent->GetID());
        } else if (this == parent->m_firstChild) {
            parent->RemoveCurrentChildFromList(this);
            grand->InsertInto(this, parent, false);
        } else if (this == parent->m_lastChild) {
            parent->RemoveCurrentChildFromList(this);
            grand->InsertInto(this, parent, true);
        } else {
            CElement* before = parent->Duplicate();
            if (!before)
                return;
            grand->InsertInto(before, parent, false);
            while (parent->m_firstChild != this) {
                CElement* c = parent->m_firstChild;
                parent->RemoveCurrentChildFromList(c);
                before->AddToTail(c);
            }
            parent->RemoveCurrentChildFromList(this);
            grand->InsertInto(this, parent, false);
        }
        if (last)
            return;
    }
}
