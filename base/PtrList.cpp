#include "base/PtrList.h"

#include <new>

CPtrList::CPtrList() = default;

CPtrList::CPtrList(const CPtrList& other) { AddTail(&other); }

CPtrList& CPtrList::operator=(const CPtrList& other) {
  if (this != &other) {
    RemoveAll();
    AddTail(&other);
  }
  return *this;
}

CPtrList::~CPtrList() { RemoveAll(); }

CPtrList::Node* CPtrList::Locate(void* pos, Node** previous) const {
  Node* prev = nullptr;
  for (Node* n = m_head; n; prev = n, n = n->next) {
    if (n == pos) {
      if (previous) *previous = prev;
      return n;
    }
  }
  return nullptr;
}

void CPtrList::Unlink(Node* node, Node* previous) {
  if (previous)
    previous->next = node->next;
  else
    m_head = node->next;
  if (m_tail == node) m_tail = previous;
  delete node;
  --m_count;
}

void* CPtrList::GetHeadPosition() const { return m_head; }

void* CPtrList::GetNext(void*& pos) const {
  Node* n = pos ? Locate(pos) : nullptr;
  if (!n) {
    pos = nullptr;
    return nullptr;
  }
  pos = n->next;
  return n->item;
}

void* CPtrList::GetHead() const { return m_head ? m_head->item : nullptr; }

void* CPtrList::GetTail() const { return m_tail ? m_tail->item : nullptr; }

void* CPtrList::GetAt(void* pos) const {
  Node* n = pos ? Locate(pos) : nullptr;
  return n ? n->item : nullptr;
}

void CPtrList::SetAt(void* pos, void* item) {
  Node* n = pos ? Locate(pos) : nullptr;
  if (n) n->item = item;
}

void* CPtrList::AddHead(void* item) {
  Node* n = new (std::nothrow) Node{item, m_head};
  if (!n) return nullptr;
  m_head = n;
  if (!m_tail) m_tail = n;
  ++m_count;
  return n;
}

void* CPtrList::AddTail(void* item) {
  Node* n = new (std::nothrow) Node{item, nullptr};
  if (!n) return nullptr;
  if (m_tail)
    m_tail->next = n;
  else
    m_head = n;
  m_tail = n;
  ++m_count;
  return n;
}

void CPtrList::AddHead(const CPtrList* other) {
  if (!other || other->m_count == 0) return;
  // Build the copy apart and splice it in front, so that adding a list to
  // itself copies exactly its original items.
  CPtrList copy(*other);
  if (copy.m_count != other->m_count) return;  // out of memory: add nothing
  copy.m_tail->next = m_head;
  m_head = copy.m_head;
  if (!m_tail) m_tail = copy.m_tail;
  m_count += copy.m_count;
  copy.m_head = copy.m_tail = nullptr;
  copy.m_count = 0;
}

void CPtrList::AddTail(const CPtrList* other) {
  if (!other) return;
  // Count first: when other is this list the walk must stop at its original
  // end instead of following the nodes being appended.
  int remaining = other->m_count;
  for (Node* n = other->m_head; n && remaining > 0; n = n->next, --remaining) AddTail(n->item);
}

void* CPtrList::InsertBefore(void* pos, void* item) {
  Node* prev = nullptr;
  Node* at = pos ? Locate(pos, &prev) : nullptr;
  if (!at) return AddTail(item);
  if (!prev) return AddHead(item);
  Node* n = new (std::nothrow) Node{item, at};
  if (!n) return nullptr;
  prev->next = n;
  ++m_count;
  return n;
}

void* CPtrList::InsertAfter(void* pos, void* item) {
  Node* at = pos ? Locate(pos) : nullptr;
  if (!at || at == m_tail) return AddTail(item);
  Node* n = new (std::nothrow) Node{item, at->next};
  if (!n) return nullptr;
  at->next = n;
  ++m_count;
  return n;
}

void CPtrList::RemoveHead() {
  if (m_head) Unlink(m_head, nullptr);
}

void CPtrList::RemoveTail() {
  if (!m_tail) return;
  Node* prev = nullptr;
  Locate(m_tail, &prev);
  Unlink(m_tail, prev);
}

void CPtrList::RemoveAt(void* pos) {
  Node* prev = nullptr;
  Node* n = pos ? Locate(pos, &prev) : nullptr;
  if (n) Unlink(n, prev);
}

void CPtrList::RemoveAll() {
  Node* n = m_head;
  while (n) {
    Node* next = n->next;
    delete n;
    n = next;
  }
  m_head = m_tail = nullptr;
  m_count = 0;
}

void* CPtrList::FindIndex(int i) const {
  if (i < 0) return nullptr;
  Node* n = m_head;
  while (n && i-- > 0) n = n->next;
  return n;
}

void* CPtrList::Find(void* item) const {
  for (Node* n = m_head; n; n = n->next)
    if (n->item == item) return n;
  return nullptr;
}
