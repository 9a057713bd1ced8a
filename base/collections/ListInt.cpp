#include "base/collections/ListInt.h"

CListInt::CListInt() = default;

CListInt::CListInt(const CListInt& other) = default;

CListInt& CListInt::operator=(const CListInt& other) = default;

CListInt::~CListInt() = default;

void* CListInt::GetHeadPosition() const { return m_list.Head(); }

long CListInt::GetNext(void*& pos) const
{
    Node* n = m_list.Step(pos);
    return n ? n->item : 0;
}

long CListInt::GetHead() const { return m_list.Head() ? m_list.Head()->item : 0; }

long CListInt::GetTail() const { return m_list.Tail() ? m_list.Tail()->item : 0; }

void* CListInt::AddHead(long value) { return m_list.LinkHead(m_list.New(value)); }

void* CListInt::AddTail(long value) { return m_list.LinkTail(m_list.New(value)); }

void CListInt::AddHead(const CListInt* other)
{
    if (other)
        m_list.PrependCopies(other->m_list);
}

void* CListInt::InsertBefore(void* pos, long value) { return m_list.InsertBefore(pos, m_list.New(value)); }

void CListInt::SetAt(void* pos, long value)
{
    if (Node* n = m_list.Locate(pos))
        n->item = value;
}

void CListInt::RemoveHead() { m_list.RemoveHead(); }

void CListInt::RemoveTail() { m_list.RemoveTail(); }

void CListInt::RemoveAt(void* pos) { m_list.RemoveAt(pos); }

void CListInt::RemoveAll() { m_list.RemoveAll(); }
