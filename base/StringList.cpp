#include "base/StringList.h"

#include <cstddef>
#include <new>

#include "base/U16.h"

namespace {

// A new copy of text (the empty text for null); null when out of memory.
unsigned short* CopyText(const unsigned short* text) {
  const int len = U16len(text);
  unsigned short* copy = new (std::nothrow) unsigned short[static_cast<std::size_t>(len) + 1];
  if (!copy) return nullptr;
  for (int i = 0; i < len; ++i) copy[i] = text[i];
  copy[len] = 0;
  return copy;
}

// A new copy of 8-bit text with each byte widened with its sign.
unsigned short* WidenSigned(const char* text) {
  const int len = U16len(text);
  unsigned short* copy = new (std::nothrow) unsigned short[static_cast<std::size_t>(len) + 1];
  if (!copy) return nullptr;
  for (int i = 0; i < len; ++i) copy[i] = static_cast<unsigned short>(static_cast<signed char>(text[i]));
  copy[len] = 0;
  return copy;
}

// Whether text equals the 8-bit text widened the way AddTail(const char*)
// widens it (each byte with its sign, to a 16-bit unit), so that a text added
// from 8-bit form is found again by the same 8-bit form.
bool EqualsSigned(const unsigned short* text, const char* bytes) {
  for (int i = 0;; ++i) {
    const unsigned short wide = static_cast<unsigned short>(static_cast<signed char>(bytes[i]));
    if (text[i] != wide) return false;
    if (wide == 0) return true;
  }
}

}  // namespace

CStringList::CStringList() = default;

CStringList::CStringList(const CStringList& other) { AddTail(&other); }

CStringList& CStringList::operator=(const CStringList& other) {
  if (this != &other) {
    RemoveAll();
    AddTail(&other);
  }
  return *this;
}

CStringList::~CStringList() { RemoveAll(); }

CStringList::Node* CStringList::Locate(void* pos, Node** previous) const {
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

CStringList::Node* CStringList::NewNode(unsigned short* text, Node* next) {
  if (!text) return nullptr;
  Node* n = new (std::nothrow) Node{text, next};
  if (!n) delete[] text;
  return n;
}

void CStringList::Unlink(Node* node, Node* previous) {
  if (previous)
    previous->next = node->next;
  else
    m_head = node->next;
  if (m_tail == node) m_tail = previous;
  delete[] node->text;
  delete node;
  --m_count;
}

void* CStringList::Append(unsigned short* text) {
  Node* n = NewNode(text, nullptr);
  if (!n) return nullptr;
  if (m_tail)
    m_tail->next = n;
  else
    m_head = n;
  m_tail = n;
  ++m_count;
  return n;
}

void* CStringList::GetHeadPosition() const { return m_head; }

const unsigned short* CStringList::GetNext(void*& pos) const {
  Node* n = Locate(pos);
  if (!n) {
    pos = nullptr;
    return nullptr;
  }
  pos = n->next;
  return n->text;
}

const unsigned short* CStringList::GetHead() const { return m_head ? m_head->text : nullptr; }

const unsigned short* CStringList::GetTail() const { return m_tail ? m_tail->text : nullptr; }

void* CStringList::FindIndex(int i) const {
  if (i < 0) return nullptr;
  Node* n = m_head;
  while (n && i-- > 0) n = n->next;
  return n;
}

void* CStringList::AddTail(const unsigned short* text) { return Append(CopyText(text)); }

void* CStringList::AddHead(const unsigned short* text) {
  Node* n = NewNode(CopyText(text), m_head);
  if (!n) return nullptr;
  m_head = n;
  if (!m_tail) m_tail = n;
  ++m_count;
  return n;
}

void* CStringList::AddTail(const char* text) { return Append(WidenSigned(text)); }

void CStringList::AddTail(const CStringList* other) {
  if (!other) return;
  // Bounded by the original count so that adding a list to itself ends.
  int remaining = other->m_count;
  for (Node* n = other->m_head; n && remaining > 0; n = n->next, --remaining)
    Append(CopyText(n->text));
}

void* CStringList::InsertBefore(void* pos, const unsigned short* text) {
  Node* prev = nullptr;
  Node* at = Locate(pos, &prev);
  if (!at) return AddTail(text);
  if (!prev) return AddHead(text);
  Node* n = NewNode(CopyText(text), at);
  if (!n) return nullptr;
  prev->next = n;
  ++m_count;
  return n;
}

void CStringList::SetAt(void* pos, const unsigned short* text) {
  Node* n = Locate(pos);
  if (!n) return;
  unsigned short* copy = CopyText(text);
  if (!copy) return;
  delete[] n->text;
  n->text = copy;
}

void CStringList::RemoveHead() {
  if (m_head) Unlink(m_head, nullptr);
}

void CStringList::RemoveTail() {
  if (!m_tail) return;
  Node* prev = nullptr;
  Locate(m_tail, &prev);
  Unlink(m_tail, prev);
}

void CStringList::RemoveAt(void* pos) {
  Node* prev = nullptr;
  Node* n = Locate(pos, &prev);
  if (n) Unlink(n, prev);
}

void CStringList::RemoveAll() {
  Node* n = m_head;
  while (n) {
    Node* next = n->next;
    delete[] n->text;
    delete n;
    n = next;
  }
  m_head = m_tail = nullptr;
  m_count = 0;
}

void* CStringList::Find(const unsigned short* text) const {
  if (!text) return nullptr;
  for (Node* n = m_head; n; n = n->next)
    if (U16cmp(n->text, text) == 0) return n;
  return nullptr;
}

void* CStringList::Find(const char* text) const {
  if (!text) return nullptr;
  for (Node* n = m_head; n; n = n->next)
    if (EqualsSigned(n->text, text)) return n;
  return nullptr;
}
