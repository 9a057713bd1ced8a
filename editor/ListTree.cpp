#include "editor/ListTree.h"

#include "element/Element.h"
#include "element/ElementKinds.h"
#include "elements/TextElement.h"
#include "elements/TypingTree.h"

bool IsListElement(const CElement* e) { return e && (e->m_kind == kKindUl || e->m_kind == kKindOl); }

CElement* AtOrAbove(CElement* e, long kind)
{
    for (; e; e = e->m_parent) {
        if (e->m_kind == kind)
            return e;
    }
    return nullptr;
}

CElement* ListAbove(const CElement* e)
{
    for (CElement* p = e ? e->m_parent : nullptr; p; p = p->m_parent) {
        if (IsListElement(p))
            return p;
    }
    return nullptr;
}

CElement* NewEntry(const char* tag, CElement* parent)
{
    CElement* e = NewElement(tag, parent);
    if (!e)
        return nullptr;
    CTextElement* run = NewRun(e);
    if (!run || !e->AppendChild(run)) {
        delete run;
        delete e;
        return nullptr;
    }
    return e;
}

bool MoveBeside(CElement* e, CElement* ref, bool after)
{
    CElement* parent = ref ? ref->m_parent : nullptr;
    if (!e || !parent || e == ref || ref->IsOneOfParent(e))
        return false;
    return e->MoveCurrentElementTo(parent, ref->GetID(), after);
}

int MoveChildrenToEnd(CElement* from, CElement* to, CElement* first)
{
    int moved = 0;
    for (CElement* c = first ? first : from->m_firstChild; c;) {
        CElement* next = c->m_nextSibling;
        if (c->MoveCurrentElementTo(to, 0, true))
            ++moved;
        c = next;
    }
    return moved;
}

void MoveChildrenAfter(CElement* from, CElement* ref)
{
    CElement* at = ref;
    for (CElement* c = from->m_firstChild; c;) {
        CElement* next = c->m_nextSibling;
        if (MoveBeside(c, at, true))
            at = c;
        c = next;
    }
}

void DestroyElement(CElement* e)
{
    if (e && e->m_parent)
        e->m_parent->RemoveChild(e->GetID(), true, false);
}

int CountChildren(const CElement* e, long kind)
{
    int n = 0;
    for (const CElement* c = e->m_firstChild; c; c = c->m_nextSibling)
        n += c->m_kind == kind ? 1 : 0;
    return n;
}

bool CaretWithin(const CElement* e)
{
    const CElement* caret = e ? e->GetKeyOnElement() : nullptr;
    return caret && (caret == e || caret->IsOneOfParent(e));
}
