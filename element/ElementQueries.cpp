// Ancestor and descendant queries; whether an element is locked.

#include "element/Element.h"
#include "element/Selection.h"
#include "element/TreeQueries.h"
#include "element/TreeWalk.h"

#include "base/collections/ListInt.h"
#include "base/text/U16.h"

namespace {

bool KindListed(const CListInt* kinds, long kind)
{
    for (void* pos = kinds->GetHeadPosition(); pos;) {
        if (kinds->GetNext(pos) == kind)
            return true;
    }
    return false;
}

void CollectKinds(const CElement* e, CPtrList* out, const CListInt* kinds)
{
    for (CElement* c = e->m_firstChild; c; c = c->m_nextSibling) {
        if (c->m_kind != kKindDiv && KindListed(kinds, c->m_kind))
            out->AddTail(c);
        CollectKinds(c, out, kinds);
    }
}

} // namespace

CElement* CElement::IsElementUnderTag(int kind) const
{
    for (CElement* a = m_parent; a; a = a->m_parent) {
        if (a->m_kind == kind)
            return a;
    }
    return nullptr;
}

CElement* CElement::IsElementUnderTag(const unsigned short* tag, const unsigned short* cls) const
{
    if (!tag)
        return nullptr;
    bool wantClass = cls && *cls;
    CSafeBuf value;
    for (CElement* a = m_parent; a; a = a->m_parent) {
        if (!a->IsTag(tag))
            continue;
        if (!wantClass)
            return a;
        if (a->GetAttrNoCase("class", value) && value == cls)
            return a;
    }
    return nullptr;
}

CElement* CElement::IsElementUnderTag(const char* tag, const char* cls) const
{
    if (!tag)
        return nullptr;
    CSafeBuf wideTag(reinterpret_cast<const unsigned char*>(tag));
    CSafeBuf wideClass(reinterpret_cast<const unsigned char*>(cls ? cls : ""));
    return IsElementUnderTag(
        static_cast<const unsigned short*>(wideTag), static_cast<const unsigned short*>(wideClass));
}

CElement* CElement::IsElementUnderClass(int which) const
{
    for (CElement* a = m_parent; a; a = a->m_parent) {
        if ((which == 0 && IsHeadingKind(a->m_kind)) || (which == 1 && IsListKind(a->m_kind)))
            return a;
    }
    return nullptr;
}

void CElement::GetAllChildrenEx(CPtrList* out, CListInt* kinds) const
{
    if (!out || !kinds || kinds->GetCount() == 0)
        return;
    CollectKinds(this, out, kinds);
}

bool IsSubElementOf(const CElement* e, long id)
{
    if (!e)
        return false;
    return e->m_id == id || IsDescendantOf(e, id);
}

bool IsDescendantOf(const CElement* e, long id)
{
    if (!e)
        return false;
    for (const CElement* c = e->m_firstChild; c; c = c->m_nextSibling) {
        if (IsSubElementOf(c, id))
            return true;
    }
    return false;
}

// The next element of root's subtree after e in document order, or null.
CElement* NextInSubtree(CElement* e, const CElement* root) { return StepInSubtree(e, root); }

int OwnLockState(const CElement* e, int selecting, bool ignoreFlag)
{
    if (!e->m_tagName[0])
        return -1;
    if (e->m_locked && !ignoreFlag && !(selecting && IsWholeElementSelected(const_cast<CElement*>(e))))
        return 1;
    const NewIntStyleValue& lock = e->Style().lock;
    if (lock.set && !lock.inherited && !lock.inherit)
        return lock.value == 1 ? 1 : 0;
    return -1;
}

bool IsElementLocked(CElement* e, bool selfOnly, int selecting, bool ignoreFlag)
{
    for (CElement* a = e; a; a = a->m_parent) {
        if (!a->m_owner)
            return false;
        const int own = OwnLockState(a, selecting, ignoreFlag);
        if (own >= 0)
            return own == 1;
        if (selfOnly)
            return false;
        ignoreFlag = false;
    }
    return false;
}
