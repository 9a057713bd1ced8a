// Walks over the tree: listing, finding, indexes, document order and
// content tests.

#include "element/Element.h"
#include "element/TreeQueries.h"
#include "style/paint/BodyRows.h"

#include "base/collections/ListInt.h"
#include "base/text/U16.h"
#include "element/services/XHTMLServices.h"

#include <vector>

namespace {

struct ListingWalk
{
    CPtrList* out;
    int skipKind;
    bool selectedOnly;
    int onlyKind;
    int limit;
    int listed = 0;

    // Answers true when the limit stops the walk.
    bool Visit(const CElement* e)
    {
        for (CElement* c = e->m_firstChild; c; c = c->m_nextSibling) {
            if (c->m_kind == skipKind)
                continue;
            if (Wanted(c)) {
                out->AddTail(c);
                ++listed;
                if ((limit == 1 && listed >= 1) || (limit == 2 && listed >= 2))
                    return true;
            }
            if (Visit(c))
                return true;
        }
        return false;
    }

    bool Wanted(const CElement* c) const
    {
        if (c->m_kind == kKindDiv)
            return false;
        if (selectedOnly && !c->m_selected)
            return false;
        if (onlyKind == -1)
            return c->m_floating != 0;
        return onlyKind == 0 || c->m_kind == onlyKind;
    }
};

template <class Match>
CElement* FindNthChild(const CElement* e, int n, bool deep, const Match& match)
{
    int index = 0;
    for (CElement* c = e->m_firstChild; c; c = c->m_nextSibling) {
        if (match(c)) {
            if (index == n)
                return c;
            ++index;
        }
        if (deep) {
            if (CElement* found = FindNthChild(c, n, true, match))
                return found;
        }
    }
    return nullptr;
}

bool KindMatches(const CElement* e, int kind) { return kind == 0 ? e->IsTextElement() : e->m_kind == kind; }

bool ElementDeepWalk(const CElement* e, int& count, long id)
{
    ++count;
    if (e->m_id == id)
        return true;
    for (const CElement* c = e->m_firstChild; c; c = c->m_nextSibling) {
        if (ElementDeepWalk(c, count, id))
            return true;
    }
    return false;
}

int FirstOfTwo(const CElement* e, const CElement* a, const CElement* b)
{
    if (e == a)
        return 1;
    if (e == b)
        return -1;
    for (const CElement* c = e->m_firstChild; c; c = c->m_nextSibling) {
        if (int answer = FirstOfTwo(c, a, b))
            return answer;
    }
    return 0;
}

void AppendDescendants(const CElement* e, CPtrList* out)
{
    for (CElement* c = e->m_firstChild; c; c = c->m_nextSibling) {
        out->AddTail(c);
        AppendDescendants(c, out);
    }
}

bool IsEmptyTextRun(const CElement* e) { return e->IsTextElement() && e->m_text.IsEmpty(); }

// e's path of GetCurrentIndex values from the top down (the body left out).
std::vector<long> TopDownIndexPath(const CElement* e)
{
    CListInt list;
    GetParentIndexList(e, &list);
    std::vector<long> path;
    for (void* pos = list.GetHeadPosition(); pos;)
        path.push_back(list.GetNext(pos));
    return std::vector<long>(path.rbegin(), path.rend());
}

} // namespace

void CElement::GetAllChildren(CPtrList* out, int skipKind, bool selectedOnly, int onlyKind, int limit) const
{
    if (!out)
        return;
    ListingWalk walk{out, skipKind, selectedOnly, onlyKind, limit};
    walk.Visit(this);
}

CElement* CElement::FindChild(int kind, int n, bool deep) const
{
    return FindNthChild(this, n, deep, [kind](const CElement* c) { return c->m_kind == kind; });
}

CElement* CElement::FindChild(const unsigned short* tag, int n, bool deep) const
{
    if (!tag)
        return nullptr;
    return FindNthChild(this, n, deep, [tag](const CElement* c) { return c->IsTag(tag); });
}

CElement* CElement::GetValidChildElement(int kind, int n)
{
    if (kind == 0 && IsTextElement())
        return this;
    CElement* last = nullptr;
    int index = 0;
    for (CElement* c = m_firstChild; c; c = c->m_nextSibling) {
        if (!KindMatches(c, kind))
            continue;
        if (index == n)
            return c;
        ++index;
        last = c;
    }
    return n == -1 ? last : nullptr;
}

CElement* CElement::GetFirstValidSubElement(int kind, bool fromEnd)
{
    if (!fromEnd) {
        if (KindMatches(this, kind))
            return this;
        for (CElement* c = m_firstChild; c; c = c->m_nextSibling) {
            if (CElement* found = c->GetFirstValidSubElement(kind, false))
                return found;
        }
        return nullptr;
    }
    for (CElement* c = m_lastChild; c; c = c->m_prevSibling) {
        if (CElement* found = c->GetFirstValidSubElement(kind, true))
            return found;
    }
    return KindMatches(this, kind) ? this : nullptr;
}

bool CElement::IsOneOfParent(const CElement* e) const
{
    if (!e)
        return false;
    for (const CElement* a = m_parent; a; a = a->m_parent) {
        if (a == e)
            return true;
    }
    return false;
}

int CElement::GetIndex() const
{
    if (!m_parent)
        return 0;
    int index = 0;
    long lastGroup = 0;
    for (const CElement* s = m_parent->m_firstChild; s && s != this; s = s->m_nextSibling) {
        if (!s->IsTag(m_tagName))
            continue;
        // Pieces of one wrapped element count once; this element's own
        // earlier pieces are the element itself.
        if (s->m_inlineGroup != 0 && (s->m_inlineGroup == lastGroup || s->m_inlineGroup == m_inlineGroup))
            continue;
        lastGroup = s->m_inlineGroup;
        ++index;
    }
    return index;
}

CElement* CElement::FindElementByIndex(const unsigned short* tag, int n) const
{
    if (!tag)
        return nullptr;
    int index = 0;
    long lastGroup = 0;
    for (CElement* c = m_firstChild; c; c = c->m_nextSibling) {
        if (!c->IsTag(tag))
            continue;
        if (c->m_inlineGroup != 0 && c->m_inlineGroup == lastGroup)
            continue;
        lastGroup = c->m_inlineGroup;
        if (++index == n)
            return c;
    }
    return nullptr;
}

int CElement::GetCurrentIndex() const
{
    if (!m_parent)
        return 1;
    int index = 0;
    for (const CElement* s = m_parent->m_firstChild; s && s != this; s = s->m_nextSibling)
        ++index;
    return index;
}

long CElement::GetElementCountInParent() const { return m_parent ? m_parent->m_childCount : 0; }

bool CElement::ElementDeep(int& count, long id) const { return ElementDeepWalk(this, count, id); }

int CElement::IsBeyondElement(const CElement* a, const CElement* b) const
{
    if (!a && !b)
        return 0;
    return FirstOfTwo(this, a, b);
}

int CElement::RepeatOfSameParentType(int kind) const
{
    int count = 0;
    for (const CElement* a = m_parent; a && IsElementExist(a); a = a->m_parent) {
        if (a->m_kind == kind)
            ++count;
    }
    return count;
}

bool CElement::IsEmptyTag(bool countSelf) const
{
    if (countSelf) {
        if (m_kind == kKindComment || (m_kind == kKindCustom && m_inline))
            return false;
        if (!m_inline && !IsTextElement())
            return false;
        if (IsTextElement() && !m_text.IsEmpty())
            return false;
    }
    for (const CElement* c = m_firstChild; c; c = c->m_nextSibling) {
        if (!c->IsEmptyTag(true))
            return false;
    }
    return true;
}

bool CElement::IsTagSameWith(const CElement* e) const
{
    if (!e || e->m_kind != m_kind || e->m_attributes.GetCount() != m_attributes.GetCount())
        return false;
    CSafeBuf name, value, other;
    for (void* pos = m_attributes.GetStartPosition(); pos;) {
        m_attributes.GetNextAssoc(pos, name, value);
        other.Empty();
        e->m_attributes.Lookup(static_cast<const unsigned short*>(name), other);
        if (other != value)
            return false;
    }
    return true;
}

CElement* CElement::GetFirstBlockParent() const
{
    for (CElement* a = m_parent; a; a = a->m_parent) {
        if (a->m_block)
            return a;
    }
    return nullptr;
}

bool CElement::IsFirstEleOfBlock(CElement** block, bool skipEmptyText, bool anyBlock) const
{
    if (block)
        *block = nullptr;
    const CElement* e = this;
    for (CElement* p = m_parent; p; e = p, p = p->m_parent) {
        const CElement* first = p->m_firstChild;
        while (skipEmptyText && first && first != e && IsEmptyTextRun(first))
            first = first->m_nextSibling;
        if (first != e)
            return false;
        if (p->m_block) {
            if (block)
                *block = p;
            if (anyBlock)
                return true;
            long k = p->m_kind;
            return !(k == kKindTable || k == kKindTr || IsCellKind(k) || IsListKind(k) || k == kKindLi);
        }
    }
    return false;
}

void GetCurrentBlockChildren(CElement* e, CPtrList* out)
{
    if (!e || !out)
        return;
    CElement* block = e->GetFirstBlockParent();
    if (!block)
        return;
    CElement* branch = e;
    while (branch->m_parent != block)
        branch = branch->m_parent;
    CElement* start = branch;
    while (start->m_prevSibling && !start->m_prevSibling->m_block)
        start = start->m_prevSibling;
    for (CElement* s = start; s; s = s->m_nextSibling) {
        out->AddTail(s);
        AppendDescendants(s, out);
        if (s->m_block && s != start)
            break;
    }
}

void GetParentList(CElement* e, CPtrList* out)
{
    if (!e || !out)
        return;
    for (CElement* a = e->m_parent; a; a = a->m_parent)
        out->AddTail(a);
}

void GetParentIndexList(const CElement* e, CListInt* out)
{
    if (!out)
        return;
    for (; e && e->m_parent && e->m_kind != kKindBody; e = e->m_parent)
        out->AddTail(static_cast<long>(e->GetCurrentIndex()));
}

CElement* FindSameParent(CElement* a, CElement* b)
{
    if (!a || !b)
        return nullptr;
    for (CElement* x = a; x; x = x->m_parent) {
        if (x == b || b->IsOneOfParent(x))
            return x;
    }
    return nullptr;
}

CElement* IsUnderParagraph(const CElement* e)
{
    if (!e)
        return nullptr;
    for (CElement* a = e->m_parent; a; a = a->m_parent) {
        if (a->m_kind == kKindP || IsHeadingKind(a->m_kind) || a->m_kind == kKindPre)
            return a;
    }
    return nullptr;
}

CElement* GetLastTextLiOfNestedList(CElement* e)
{
    if (!e || e->m_kind != kKindLi)
        return nullptr;
    CElement* li = e;
    for (;;) {
        CElement* last = li->m_lastChild;
        if (!last)
            return nullptr;
        if (!IsListKind(last->m_kind))
            return li;
        CElement* next = last->m_lastChild;
        if (!next || next->m_kind != kKindLi)
            return li;
        li = next;
    }
}

bool IsPointCloser(const POINT&, const POINT&, const POINT&, const CElement* a, const CElement* b,
    const CElement* c, int direction)
{
    if (!a || !c || (direction != 1 && direction != 2))
        return false;
    if (c == a && c != b)
        return true;
    std::vector<long> pathA = TopDownIndexPath(a);
    std::vector<long> pathRef = TopDownIndexPath(b ? b : c);
    std::vector<long> pathC = TopDownIndexPath(c);
    for (size_t level = 0; level < pathA.size() && level < pathRef.size(); ++level) {
        if (pathA[level] == pathRef[level])
            continue;
        bool differsFromC = level >= pathC.size() || pathC[level] != pathA[level];
        bool ordered = direction == 1 ? pathA[level] < pathRef[level] : pathA[level] > pathRef[level];
        return ordered && differsFromC;
    }
    return false;
}

bool IsThereBlockTypeChild(const CElement* e, bool deep)
{
    if (!e)
        return false;
    for (const CElement* c = e->m_firstChild; c; c = c->m_nextSibling) {
        if (c->m_block || (deep && IsThereBlockTypeChild(c, true)))
            return true;
    }
    return false;
}

bool IsThereBlockChild(const CElement* e, bool throughCustom)
{
    if (!e)
        return false;
    for (const CElement* c = e->m_firstChild; c; c = c->m_nextSibling) {
        if (c->m_block)
            return true;
        if (throughCustom && c->m_kind == kKindCustom && IsThereBlockChild(c, true))
            return true;
    }
    return false;
}

int CountChildBlockEle(const CElement* e)
{
    int n = 0;
    for (const CElement* c = e ? e->m_firstChild : nullptr; c; c = c->m_nextSibling) {
        if (c->m_block)
            ++n;
    }
    return n;
}

bool IsRTLChild(const CElement* e, bool deep)
{
    if (!e)
        return false;
    if (e->m_kind == kKindImg && e->IsFirstEleOfBlock(nullptr, true, true))
        return true;
    if (e->IsTextElement() && e->m_text.HasArabicOrHebrew())
        return true;
    for (const CElement* c = e->m_firstChild; c; c = c->m_nextSibling) {
        if (c->IsTextElement() && c->m_text.HasArabicOrHebrew())
            return true;
        if (deep && c->m_firstChild && IsRTLChild(c, true))
            return true;
    }
    return false;
}

void ReverseChild(CElement* e)
{
    if (!e || e->m_childCount < 2)
        return;
    if (!e->m_parent && e->m_kind == kKindBody)
        qm::paint::DropBodyRows(e); // its entries follow the list's order
    e->MarkLayoutChanged(CElementFields::kLayoutChangedChildren);
    CElement* c = e->m_firstChild;
    while (c) {
        CElement* next = c->m_nextSibling;
        c->m_nextSibling = c->m_prevSibling;
        c->m_prevSibling = next;
        c = next;
    }
    CElement* first = e->m_firstChild;
    e->m_firstChild = e->m_lastChild;
    e->m_lastChild = first;
}

void SetAllMaxContainer(CElement* e, int edge)
{
    if (!e)
        return;
    for (CElement* c = e->m_firstChild; c; c = c->m_nextSibling) {
        c->Lay().m_containerRect.right = edge;
        SetAllMaxContainer(c, edge);
    }
}
