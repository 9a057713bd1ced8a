#include "base/MapStringToString.h"

#include <new>

namespace {

// The key as the map stores it: UTF-16 as given, 8-bit sign-extended (the
// CSafeBuf 8-bit constructor's rule); null is the empty key.
CSafeBuf KeyOf(const unsigned short* key) { return CSafeBuf(key); }
CSafeBuf KeyOf(const char* key) { return CSafeBuf(key); }

}  // namespace

CMapStringToString::CMapStringToString() = default;

CMapStringToString::CMapStringToString(const CMapStringToString& other) { CopyFrom(other); }

CMapStringToString& CMapStringToString::operator=(const CMapStringToString& other) {
  if (this != &other) {
    RemoveAll();
    CopyFrom(other);
  }
  return *this;
}

CMapStringToString::~CMapStringToString() { RemoveAll(); }

void CMapStringToString::CopyFrom(const CMapStringToString& other) {
  for (Node* n = other.m_head; n; n = n->next) {
    Node* copy = Append(n->key);
    if (copy) copy->value = n->value;
  }
}

CMapStringToString::Node* CMapStringToString::FindKey(const CSafeBuf& key, Node** previous) const {
  Node* prev = nullptr;
  for (Node* n = m_head; n; prev = n, n = n->next) {
    if (n->key == key) {
      if (previous) *previous = prev;
      return n;
    }
  }
  return nullptr;
}

CMapStringToString::Node* CMapStringToString::Append(const CSafeBuf& key) {
  Node* n = new (std::nothrow) Node{key, CSafeBuf(), nullptr};
  if (!n) return nullptr;
  if (m_tail)
    m_tail->next = n;
  else
    m_head = n;
  m_tail = n;
  ++m_count;
  return n;
}

CSafeBuf& CMapStringToString::ValueOf(const CSafeBuf& key) {
  Node* n = FindKey(key);
  if (!n) n = Append(key);
  if (!n) {
    // No memory for a new pair: hand out a scratch value that belongs to no
    // pair, so the caller's write goes nowhere rather than into another key.
    static CSafeBuf scratch;
    scratch.Empty();
    return scratch;
  }
  return n->value;
}

void CMapStringToString::Set(const CSafeBuf& key, const CSafeBuf& value) {
  Node* n = FindKey(key);
  if (!n) n = Append(key);
  if (n) n->value = value;
}

bool CMapStringToString::Remove(const CSafeBuf& key) {
  Node* prev = nullptr;
  Node* n = FindKey(key, &prev);
  if (!n) return false;
  if (prev)
    prev->next = n->next;
  else
    m_head = n->next;
  if (m_tail == n) m_tail = prev;
  delete n;
  --m_count;
  return true;
}

bool CMapStringToString::Lookup(const unsigned short* key, CSafeBuf& value) const {
  Node* n = FindKey(KeyOf(key));
  if (!n) return false;
  value = n->value;
  return true;
}

bool CMapStringToString::Lookup(const char* key, CSafeBuf& value) const {
  Node* n = FindKey(KeyOf(key));
  if (!n) return false;
  value = n->value;
  return true;
}

void CMapStringToString::SetAt(const unsigned short* key, const CSafeBuf& value) {
  Set(KeyOf(key), value);
}

void CMapStringToString::SetAt(const char* key, const CSafeBuf& value) { Set(KeyOf(key), value); }

CSafeBuf& CMapStringToString::operator[](const unsigned short* key) { return ValueOf(KeyOf(key)); }

CSafeBuf& CMapStringToString::operator[](const char* key) { return ValueOf(KeyOf(key)); }

bool CMapStringToString::RemoveKey(const unsigned short* key) { return Remove(KeyOf(key)); }

bool CMapStringToString::RemoveKey(const char* key) { return Remove(KeyOf(key)); }

void* CMapStringToString::GetStartPosition() const { return m_head; }

void CMapStringToString::GetNextAssoc(void*& pos, CSafeBuf& key, CSafeBuf& value) const {
  Node* n = nullptr;
  if (pos) {
    for (n = m_head; n && n != pos; n = n->next) {
    }
  }
  if (!n) {
    pos = nullptr;
    return;
  }
  key = n->key;
  value = n->value;
  pos = n->next;
}

void CMapStringToString::RemoveAll() {
  Node* n = m_head;
  while (n) {
    Node* next = n->next;
    delete n;
    n = next;
  }
  m_head = m_tail = nullptr;
  m_count = 0;
}
