#include "base/collections/MapStringToString.h"

namespace {

// The key as the map stores it: UTF-16 as given, 8-bit sign-extended (the
// CSafeBuf 8-bit constructor's rule); null is the empty key.
CSafeBuf KeyOf(const unsigned short* key) { return CSafeBuf(key); }
CSafeBuf KeyOf(const char* key) { return CSafeBuf(key); }

// Whether a stored key equals what KeyOf makes of text: the same length and
// the same units (8-bit text sign-extended).
bool EqualsKey(const CSafeBuf& stored, const unsigned short* text, int length)
{
    if (stored.Length() != length)
        return false;
    const unsigned short* units = stored;
    for (int i = 0; i < length; ++i) {
        if (units[i] != text[i])
            return false;
    }
    return true;
}

bool EqualsKey(const CSafeBuf& stored, const char* text, int length)
{
    if (stored.Length() != length)
        return false;
    const unsigned short* units = stored;
    for (int i = 0; i < length; ++i) {
        if (units[i] != static_cast<unsigned short>(static_cast<signed char>(text[i])))
            return false;
    }
    return true;
}

template <class Char>
int KeyLength(const Char* key)
{
    int n = 0;
    if (key) {
        while (key[n] != 0)
            ++n;
    }
    return n;
}

} // namespace

CMapStringToString::CMapStringToString() = default;

CMapStringToString::CMapStringToString(const CMapStringToString& other) = default;

CMapStringToString& CMapStringToString::operator=(const CMapStringToString& other) = default;

CMapStringToString::~CMapStringToString() = default;

CMapStringToString::Node* CMapStringToString::FindKey(const CSafeBuf& key) const
{
    return m_list.FindIf([&key](const Node& n) { return n.key == key; });
}

CMapStringToString::Node* CMapStringToString::FindKey(const unsigned short* key) const
{
    const int length = KeyLength(key);
    return m_list.FindIf([key, length](const Node& n) { return EqualsKey(n.key, key, length); });
}

CMapStringToString::Node* CMapStringToString::FindKey(const char* key) const
{
    const int length = KeyLength(key);
    return m_list.FindIf([key, length](const Node& n) { return EqualsKey(n.key, key, length); });
}

// The pair of key, appended with an empty value when missing; null when out of
// memory.
CMapStringToString::Node* CMapStringToString::FindOrAppend(const CSafeBuf& key)
{
    Node* n = FindKey(key);
    return n ? n : m_list.LinkTail(m_list.New(key, CSafeBuf()));
}

CSafeBuf& CMapStringToString::ValueOf(const CSafeBuf& key)
{
    Node* n = FindOrAppend(key);
    if (!n) {
        // No memory for a new pair: hand out a scratch value that belongs to no
        // pair, so the caller's write goes nowhere rather than into another key.
        static CSafeBuf scratch;
        scratch.Empty();
        return scratch;
    }
    return n->value;
}

void CMapStringToString::Set(const CSafeBuf& key, const CSafeBuf& value)
{
    if (Node* n = FindOrAppend(key))
        n->value = value;
}

bool CMapStringToString::Lookup(const unsigned short* key, CSafeBuf& value) const
{
    Node* n = FindKey(key);
    if (!n)
        return false;
    value = n->value;
    return true;
}

bool CMapStringToString::Lookup(const char* key, CSafeBuf& value) const
{
    Node* n = FindKey(key);
    if (!n)
        return false;
    value = n->value;
    return true;
}

// An existing pair takes the value in place: no key is made for it.
// A new pair's key is made in the pair itself (as KeyOf makes it), not
// copied there from a key made first.
void CMapStringToString::SetAt(const unsigned short* key, const CSafeBuf& value)
{
    if (Node* n = FindKey(key))
        n->value = value;
    else
        m_list.LinkTail(m_list.New(key, value));
}

void CMapStringToString::SetAt(const char* key, const CSafeBuf& value)
{
    if (Node* n = FindKey(key))
        n->value = value;
    else
        m_list.LinkTail(m_list.New(key, value));
}

CSafeBuf& CMapStringToString::TakeAt(CSafeBuf& key, CSafeBuf& value)
{
    Node* n = FindKey(key);
    if (!n) {
        n = m_list.LinkTail(m_list.New(CSafeBuf(), CSafeBuf()));
        if (!n)
            return value;
        n->key.ReplaceWith(&key);
    }
    n->value.ReplaceWith(&value);
    return n->value;
}

CSafeBuf& CMapStringToString::operator[](const unsigned short* key) { return ValueOf(KeyOf(key)); }

CSafeBuf& CMapStringToString::operator[](const char* key) { return ValueOf(KeyOf(key)); }

bool CMapStringToString::RemoveKey(const unsigned short* key)
{
    const int length = KeyLength(key);
    return m_list.RemoveFirst([key, length](const Node& n) { return EqualsKey(n.key, key, length); });
}

bool CMapStringToString::RemoveKey(const char* key)
{
    const int length = KeyLength(key);
    return m_list.RemoveFirst([key, length](const Node& n) { return EqualsKey(n.key, key, length); });
}

void* CMapStringToString::GetStartPosition() const { return m_list.Head(); }

void CMapStringToString::GetNextAssoc(void*& pos, CSafeBuf& key, CSafeBuf& value) const
{
    if (Node* n = m_list.Step(pos)) {
        key = n->key;
        value = n->value;
    }
}

void CMapStringToString::RemoveAll() { m_list.RemoveAll(); }
