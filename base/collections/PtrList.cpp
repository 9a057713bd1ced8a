#include "base/collections/PtrList.h"

CPtrList::CPtrList() = default;

// A copy walks afresh: the hint names a node of the list copied.
CPtrList::CPtrList(const CPtrList& other) : m_list(other.m_list) { }

CPtrList& CPtrList::operator=(const CPtrList& other)
{
    if (this != &other) {
        m_list = other.m_list;
        m_stepped = nullptr;
    }
    return *this;
}

CPtrList::~CPtrList() = default;

void* CPtrList::GetHeadPosition() const { return m_list.Head(); }

void* CPtrList::GetNext(void*& pos) const
{
    Node* n = m_list.Step(pos, &m_stepped);
    return n ? n->item : nullptr;
}

void* CPtrList::GetHead() const { return m_list.Head() ? m_list.Head()->item : nullptr; }

void* CPtrList::GetTail() const { return m_list.Tail() ? m_list.Tail()->item : nullptr; }

void* CPtrList::GetAt(void* pos) const
{
    Node* n = m_list.Locate(pos, nullptr, m_stepped);
    return n ? n->item : nullptr;
}

void CPtrList::SetAt(void* pos, void* item)
{
    if (Node* n = m_list.Locate(pos, nullptr, m_stepped))
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

void* CPtrList::InsertBefore(void* pos, void* item)
{
    return m_list.InsertBefore(pos, m_list.New(item), m_stepped);
}

void* CPtrList::InsertAfter(void* pos, void* item)
{
    return m_list.InsertAfter(pos, m_list.New(item), m_stepped);
}

// The hint never names a node that is gone: a removal at either end drops it
// when it is that node.
void CPtrList::RemoveHead()
{
    if (m_stepped == m_list.Head())
        m_stepped = nullptr;
    m_list.RemoveHead();
}

void CPtrList::RemoveTail()
{
    if (m_stepped == m_list.Tail())
        m_stepped = nullptr;
    m_list.RemoveTail();
}

void CPtrList::RemoveAt(void* pos) { m_list.RemoveAt(pos, &m_stepped); }

void CPtrList::RemoveAll()
{
    m_stepped = nullptr;
    m_list.RemoveAll();
}

void* CPtrList::FindIndex(int i) const { return m_list.NodeAt(i); }

void* CPtrList::Find(void* item) const
{
    return m_list.FindIf([item](const Node& n) { return n.item == item; });
}
