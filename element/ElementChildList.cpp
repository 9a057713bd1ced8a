// The child list: linking and unlinking children, sibling walks, and the
// destruction of a subtree.

#include "element/Element.h"

#include <cstdint>
#include <vector>

#include "element/ElementRegistry.h"
#include "element/services/XHTMLServices.h"
#include "platform/cg/Context.h"
#include "style/paint/BodyRows.h"
#include "style/paint/PaintState.h"

bool CElement::CanLink(const CElement* c) const
{
    if (!c || c == this)
        return false;
    // Linking an ancestor below this element would make a cycle.
    for (const CElement* a = m_parent; a; a = a->m_parent) {
        if (a == c)
            return false;
    }
    return true;
}

namespace {

// The body's entries of painted rows follow its child list: a change to the
// list makes every record current and drops them. The parent lays out again.
void ChildListChanges(CElement* parent)
{
    if (!parent->m_parent && parent->m_kind == kKindBody)
        qm::paint::DropBodyRows(parent);
    parent->MarkLayoutChanged(CElementFields::kLayoutChangedChildren);
}

} // namespace

void CElement::LinkAfter(CElement* c, CElement* ref)
{
    ChildListChanges(this);
    c->m_parent = this;
    // In its new place the child inherits and is placed otherwise.
    c->MarkLayoutChanged();
    c->m_prevSibling = ref;
    c->m_nextSibling = ref ? ref->m_nextSibling : m_firstChild;
    if (c->m_nextSibling)
        c->m_nextSibling->m_prevSibling = c;
    else
        m_lastChild = c;
    if (ref)
        ref->m_nextSibling = c;
    else
        m_firstChild = c;
    ++m_childCount;
}

void CElement::LinkBefore(CElement* c, CElement* ref)
{
    LinkAfter(c, ref ? ref->m_prevSibling : m_lastChild);
}

bool CElement::AddToTail(CElement* c)
{
    if (!CanLink(c))
        return false;
    LinkAfter(c, m_lastChild);
    return true;
}

bool CElement::AddToHead(CElement* c)
{
    if (!CanLink(c))
        return false;
    LinkAfter(c, nullptr);
    return true;
}

bool CElement::InsertInto(CElement* c, CElement* ref, bool after)
{
    if (!CanLink(c))
        return false;
    if (!ref) {
        LinkAfter(c, after ? m_lastChild : nullptr);
        return true;
    }
    if (ref->m_parent != this || (!ref->m_prevSibling && m_firstChild != ref))
        return false;
    if (after)
        LinkAfter(c, ref);
    else
        LinkBefore(c, ref);
    return true;
}

bool CElement::IsLinkedChild(const CElement* c) const
{
    // The links of a child agree with its neighbours' (or with the first
    // and last of the list); a child unlinked earlier keeps only its parent
    // pointer.
    return c && c->m_parent == this
        && (c->m_prevSibling ? c->m_prevSibling->m_nextSibling == c : m_firstChild == c)
        && (c->m_nextSibling ? c->m_nextSibling->m_prevSibling == c : m_lastChild == c);
}

bool CElement::RemoveCurrentChildFromList(CElement* c)
{
    if (!c)
        return false;
    if (c != m_firstChild && c != m_lastChild && !IsLinkedChild(c)) {
        // Links that do not agree: the list itself decides.
        const CElement* found = m_firstChild;
        while (found && found->m_id != c->m_id)
            found = found->m_nextSibling;
        if (found != c)
            return false;
    }
    ChildListChanges(this);
    if (c->m_prevSibling)
        c->m_prevSibling->m_nextSibling = c->m_nextSibling;
    else
        m_firstChild = c->m_nextSibling;
    if (c->m_nextSibling)
        c->m_nextSibling->m_prevSibling = c->m_prevSibling;
    else
        m_lastChild = c->m_prevSibling;
    c->m_prevSibling = nullptr;
    c->m_nextSibling = nullptr;
    --m_childCount;
    return true;
}

void CElement::ResetChild()
{
    ChildListChanges(this);
    m_firstChild = nullptr;
    m_lastChild = nullptr;
    m_childCount = 0;
}

bool CElement::ReplaceElementPointer(long id, CElement* e)
{
    CElement* old = GetChild(id, 0);
    if (!old || !CanLink(e))
        return false;
    ChildListChanges(this);
    e->m_parent = this;
    e->m_prevSibling = old->m_prevSibling;
    e->m_nextSibling = old->m_nextSibling;
    if (e->m_prevSibling)
        e->m_prevSibling->m_nextSibling = e;
    else
        m_firstChild = e;
    if (e->m_nextSibling)
        e->m_nextSibling->m_prevSibling = e;
    else
        m_lastChild = e;
    return true;
}

CElement* CElement::GetFirstChild(bool skipFloating) const
{
    CElement* c = m_firstChild;
    while (skipFloating && c && c->m_floating)
        c = c->m_nextSibling;
    return c;
}

long CElement::GetChildCount(bool skipEmptyText) const
{
    if (!skipEmptyText)
        return m_childCount;
    long n = 0;
    for (const CElement* c = m_firstChild; c; c = c->m_nextSibling) {
        if (!(c->IsTextElement() && c->m_text.IsEmpty()))
            ++n;
    }
    return n;
}

CElement* CElement::GetBrother(bool next, bool sameGroup, bool skipTextAndComments) const
{
    CElement* s = next ? m_nextSibling : m_prevSibling;
    if (!sameGroup && !skipTextAndComments)
        return s;
    bool passGroup = sameGroup && m_inline && m_inlineGroup != 0;
    for (; s; s = next ? s->m_nextSibling : s->m_prevSibling) {
        if (skipTextAndComments && (s->m_kind == kKindText || s->m_kind == kKindComment))
            continue;
        if (passGroup && s->m_inlineGroup == m_inlineGroup)
            continue;
        return s;
    }
    return nullptr;
}

CElement* CElement::GetChild(long id, int which) const
{
    // Identifiers are never shared, so the element the registry knows by id
    // is the only candidate. The list is walked only for a child outside
    // every registry, or when links do not agree.
    CElement* c = m_registry ? m_registry->Find(id) : nullptr;
    if (c && c->m_parent != this)
        return nullptr;
    if (!c || !IsLinkedChild(c)) {
        c = m_firstChild;
        while (c && c->m_id != id)
            c = c->m_nextSibling;
        if (!c)
            return nullptr;
    }
    switch (which) {
    case 0: return c;
    case 1: return c->m_nextSibling;
    case 2: return c->m_prevSibling;
    default: return nullptr;
    }
}

int CElement::OwnRowLag() const
{
    if (!IsElementExist(this))
        return -1;
    int lag = Lay().m_recordShift;
    if (m_parent && !m_parent->m_parent)
        lag += qm::paint::BodyRowLag(this); // the body's entry may hold more
    return lag;
}

int CElement::RowLag() const
{
    int lag = 0;
    for (const CElement* a = this; a; a = a->m_parent) {
        const int own = a->OwnRowLag();
        if (own < 0)
            break;
        lag += own;
    }
    return lag;
}

namespace {

// Destroys c, a child just unlinked, after taking it out of its root's
// floats.
void Destroy(CElement* root, CElement* c)
{
    if (c->m_floating && root) {
        if (void* pos = root->EditRare().m_floatList.Find(c))
            root->EditRare().m_floatList.RemoveAt(pos);
    }
    delete c;
}

} // namespace

void CElement::DeleteElement(CElement* c)
{
    const bool rows = c && m_owner && m_owner->m_doc.m_paintState && c->LayOrDefault().m_painted;
    DeleteElement(c, rows ? RowLag() : 0);
}

void CElement::DeleteElement(CElement* c, int lag)
{
    if (!c)
        return;
    // The rows it was painted on are painted again by the next repaint; its
    // record lags behind by its ancestors' pending shifts (those of a tree
    // being destroyed, whose elements have left the registry, are not read).
    if (m_owner && m_owner->m_doc.m_paintState && c->LayOrDefault().m_painted) {
        m_owner->m_doc.m_paintState->m_dirtyRows.emplace_back(
            c->Lay().m_paintTop + lag, c->Lay().m_paintBottom + lag);
    }
    Destroy(m_root, c);
}

namespace {

// Unlinks c, the first child of parent, whose subtree is being destroyed
// with parent: parent goes too, so nothing else is kept in step.
void UnlinkFirstOfDying(CElement* parent, CElement* c)
{
    parent->m_firstChild = c->m_nextSibling;
    if (c->m_nextSibling)
        c->m_nextSibling->m_prevSibling = nullptr;
    else
        parent->m_lastChild = nullptr;
    --parent->m_childCount;
    c->m_nextSibling = nullptr;
}

// The memory of e's text, which is freed when e goes (the element
// destroyed next after the one going now): asked for a step ahead, from the
// allocator's record before it, so that freeing it does not wait for it.
void PrefetchTextOf(const CElement* e)
{
    const unsigned short* text = e->m_text;
    if (text)
        __builtin_prefetch(reinterpret_cast<const void*>(reinterpret_cast<std::uintptr_t>(text) - 16), 1);
}

// All the lines of e's record (those of the larger kinds too), which its
// destruction reads and writes.
void PrefetchRecord(const CElement* e)
{
    constexpr int kRecordLines = 7;
    const char* record = reinterpret_cast<const char*>(e);
    for (int i = 0; i < kRecordLines; ++i)
        __builtin_prefetch(record + 64 * i, 1);
}

// Brackets the release of a subtree in its document's registry.
class CReleaseScope
{
public:
    explicit CReleaseScope(CElementRegistry* registry) : m_registry(registry)
    {
        if (m_registry)
            m_registry->BeginRelease();
    }
    ~CReleaseScope()
    {
        if (m_registry)
            m_registry->EndRelease();
    }
    CReleaseScope(const CReleaseScope&) = delete;
    CReleaseScope& operator=(const CReleaseScope&) = delete;

private:
    CElementRegistry* m_registry;
};

} // namespace

void CElement::Release()
{
    // Bottom-up without recursion: descend to a leaf, unlink and destroy it,
    // continue from its parent. Each element is destroyed childless, so its
    // own Release does no work and the stack stays flat at any depth. The
    // row shifts of the path are summed on the way down, once an element, so
    // a deep tree is not walked up again for every element it loses.
    if (m_firstChild) {
        // With no element in the document's registry, no element of the
        // tree has a row shift to read (OwnRowLag): a tree whose registry
        // was emptied before it goes is destroyed without the look-ups.
        const bool rows = m_owner && m_owner->m_doc.m_paintState && m_owner->m_doc.m_registry.GetCount() > 0;
        CReleaseScope scope(m_owner ? &m_owner->m_doc.m_registry : nullptr);
        std::vector<int> lags(1, rows ? RowLag() : 0); // of each element on the path
        CElement* current = this;
        for (;;) {
            if (current->m_firstChild) {
                current = current->m_firstChild;
                // Its sibling comes next, once its subtree is gone: fetched
                // meanwhile (a tree released long after it was made has left
                // the caches), the line of its text too.
                if (const CElement* next = current->m_nextSibling) {
                    __builtin_prefetch(next, 1);
                    __builtin_prefetch(&next->m_text, 1);
                }
                const int own = rows ? current->OwnRowLag() : 0;
                lags.push_back(own < 0 ? 0 : lags.back() + own);
                continue;
            }
            if (current == this)
                break;
            lags.pop_back();
            CElement* parent = current->m_parent;
            CElement* next = current->m_nextSibling;
            PrefetchTextOf(next ? next : parent);
            // The element destroyed after this one: the next sibling when it
            // is a leaf, else the walk goes down into its first child (the
            // sibling itself was asked for when the walk came down here), or
            // the parent. Its lines are asked for at once, so that the walk
            // and the destructors do not wait for them one after another.
            if (!next)
                PrefetchRecord(parent);
            else if (!next->m_firstChild)
                PrefetchRecord(next);
            else
                PrefetchRecord(next->m_firstChild);
            // A tree whose registry was emptied goes as a whole: the
            // document that painted it is gone, and so is any reason to
            // paint its rows again. Below this element, the parents go
            // too: their lists are only kept in step enough to walk them.
            if (rows) {
                parent->RemoveCurrentChildFromList(current);
                parent->DeleteElement(current, lags.back());
            } else {
                if (parent == this)
                    parent->RemoveCurrentChildFromList(current);
                else
                    UnlinkFirstOfDying(parent, current);
                Destroy(parent->m_root, current);
            }
            current = parent;
        }
    }
    ResetChild();
    m_attributes.RemoveAll();
    ReleaseCDC();
    if (m_kind == kKindBody) {
        m_dc.reset();
        if (m_owner && m_owner->m_doc.m_root == this)
            m_owner->m_doc.ReleaseBitmap();
    }
}

bool CElement::AppendChild(CElement* child)
{
    if (!CanLink(child))
        return false;
    child->m_parent = this;
    child->m_owner = m_owner;
    child->CopyFromParent(this, 1);
    LinkAfter(child, m_lastChild);
    return true;
}

bool CElement::InsertChild(CElement* child, long refId, bool after)
{
    if (!CanLink(child))
        return false;
    child->m_parent = this;
    child->m_owner = m_owner;
    CElement* ref = refId ? GetChild(refId, 0) : nullptr;
    if (refId && !ref) {
        LinkAfter(child, m_lastChild);
        return false;
    }
    if (!ref)
        LinkAfter(child, after ? m_lastChild : nullptr);
    else if (after)
        LinkAfter(child, ref);
    else
        LinkBefore(child, ref);
    return true;
}
