#include "base/ListInt.h"

#include <new>

CListInt::CListInt() = default;

CListInt::CListInt(const CListInt& other) {
  for (Node* n = other.m_head; n; n = n->next) AddTail(n->value);
}

CListInt& CListInt::operator=(const CListInt& other) {
  if (this != &other) {
    RemoveAll();
    for (Node* n = other.m_head; n; n = n->next) AddTail(n->value);
  }
  return *this;
}

CListInt::~CListInt() { RemoveAll(); }

CListInt::Node* CListInt::Locate(void* pos, Node** previous) const {
  if (!pos) return nullptr;
  Node* prev = nullptr;
  for (Node* n = m_head; n; prev = n, n = n->next) {
    if (n == pos) {
      if (previous) *previous = prev;
      return n;
    }
  }
  return nullptr;
}

void CListInt::Unlink(Node* node, Node* previous) {
  if (previous)
    previous->next = node->next;
  else
    m_head = node->next;
  if (m_tail == node) m_tail = previous;
  delete node;
  --m_count;
}

void* CListInt::GetHeadPosition() const { return m_head; }

long CListInt::GetNext(void*& pos) const {
  Node* n = Locate(pos);
  if (!n) {
    pos = nullptr;
    return 0;
  }
  pos = n->next;
  return n->value;
}

long CListInt::GetHead() const { return m_head ? m_head->value : 0; }

long CListInt::GetTail() const { return m_tail ? m_tail->value : 0; }

void* CListInt::AddHead(long value) {
  Node* n = new (std::nothrow) Node{value, m_head};
  if (!n) return nullptr;
  m_head = n;
  if (!m_tail) m_tail = n;
  ++m_count;
  return n;
}

void* CListInt::AddTail(long value) {
  Node* n = new (std::nothrow) Node{value, nullptr};
  if (!n) return nullptr;
  if (m_tail)
    m_tail->next = n;
  else
    m_head = n;
  m_tail = n;
  ++m_count;
  return n;
}

void CListInt::AddHead(const CListInt* other) {
  if (!other || other->m_count == 0) return;
  // Copy apart, then splice in front: correct also when other is this list.
  CListInt copy(*other);
  if (copy.m_count != other->m_count) return;  // out of memory: add nothing
  copy.m_tail->next = m_head;
  m_head = copy.m_head;
  if (!m_tail) m_tail = copy.m_tail;
  m_count += copy.m_count;
  copy.m_head = copy.m_tail = nullptr;
  copy.m_count = 0;
}

void* CListInt::InsertBefore(void* pos, long value) {
  Node* prev = nullptr;
  Node* at = Locate(pos, &prev);
  if (!at) return AddTail(value);
  if (!prev) return AddHead(value);
  Node* n = new (std::nothrow) Node{value, at};
  if (!n) return nullptr;
  prev->next = n;
  ++m_count;
  return n;
}

void CListInt::SetAt(void* pos, long value) {
  Node* n = Locate(pos);
  if (n) n->value = value;
}

void CListInt::RemoveHead() {
  if (m_head) Unlink(m_head, nullptr);
}

void CListInt::RemoveTail() {
  if (!m_tail) return;
  Node* prev = nullptr;
  Locate(m_tail, &prev);
  Unlink(m_tail, prev);
}

void CListInt::RemoveAt(void* pos) {
  Node* prev = nullptr;
  Node* n = Locate(pos, &prev);
  if (n) Unlink(n, prev);
}

void CListInt::RemoveAll() {
  Node* n = m_head;
  while (n) {
    Node* next = n->next;
    delete n;
    n = next;
  }
  m_head = m_tail = nullptr;
  m_count = 0;
}
