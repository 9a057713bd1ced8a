#include "base/collections/PtrList.h"

CPtrList::CPtrList() = default;

CPtrList::CPtrList(const CPtrList& other) = default;

CPtrList& CPtrList::operator=(const CPtrList& other) = default;

CPtrList::~CPtrList() = default;

void* CPtrList::GetHeadPosition() const { return m_list.Head(); }

void* CPtrList::GetNext(void*& pos) const
{
    Node* n = m_list.Step(pos);
    return n ? n->item : nullptr;
}

void* CPtrList::GetHead() const { return m_list.Head() ? m_list.Head()->item : nullptr; }

void* CPtrList::GetTail() const { return m_list.Tail() ? m_list.Tail()->item : nullptr; }

void* CPtrList::GetAt(void* pos) const
{
    Node* n = m_list.Locate(pos);
    return n ? n->item : nullptr;
}

void CPtrList::SetAt(void* pos, void* item)
{
    if (Node* n = m_list.Locate(pos))
        n->item = item;
}

void* CPtrList::AddHead(void* item) { return m_list.LinkHead(m_list.New(item)); }

void* CPtrList::AddTail(void* item) { return m_list.LinkTail(m_list.New(item)); }

void CPtrList::AddHead(const CPtrList* other)
{
    if (other)
        m_list.PrependCopies(other->m_list);
}

void CPtrList::AddTail(const CPtrList* other)
{
    if (other)
        m_list.AppendCopies(other->m_list);
}

void* CPtrList::InsertBefore(void* pos, void* item) { return m_list.InsertBefore(pos, m_list.New(item)); }

void* CPtrList::InsertAfter(void* pos, void* item) { return m_list.InsertAfter(pos, m_list.New(item)); }

void CPtrList::RemoveHead() { m_list.RemoveHead(); }

void CPtrList::RemoveTail() { m_list.RemoveTail(); }

void CPtrList::RemoveAt(void* pos) { m_list.RemoveAt(pos); }

void CPtrList::RemoveAll() { m_list.RemoveAll(); }

void* CPtrList::FindIndex(int i) const { return m_list.NodeAt(i); }

void* CPtrList::Find(void* item) const
{
    return m_list.FindIf([item](const Node& n) { return n.item == item; });
}
