#pragma once
// CMapStringToString: string keys and string values in insertion order, found
// by a linear, case-sensitive comparison. Attribute maps, HTTP header maps and
// XSLT parameters are kept in it. Keys are unique.
//
// 8-bit keys are widened one way everywhere: each byte with its sign (bytes
// 0x80-0xFF become 0xFF80-0xFFFF), for look-up, insertion and removal alike,
// so a key set through an 8-bit form is found again by it. A null key counts
// as the empty key.
//
// Positions (GetStartPosition, GetNextAssoc) are opaque node addresses looked
// up from the head, so a foreign position is recognised.

#include "base/collections/SinglyLinkedList.h"
#include "base/text/SafeBuf.h"

class CMapStringToString
{
public:
    CMapStringToString();
    CMapStringToString(const CMapStringToString& other);
    CMapStringToString& operator=(const CMapStringToString& other);
    ~CMapStringToString();

    // When the key exists, copies its value into value and answers true;
    // otherwise answers false and leaves value.
    bool Lookup(const unsigned short* key, CSafeBuf& value) const;
    bool Lookup(const char* key, CSafeBuf& value) const;
    // Whether the key exists (nothing is copied).
    bool Contains(const unsigned short* key) const { return FindKey(key) != nullptr; }

    // Replaces the value of an existing key (the pair keeps its place) or
    // appends a new pair.
    void SetAt(const unsigned short* key, const CSafeBuf& value);
    void SetAt(const char* key, const CSafeBuf& value);
    // As SetAt, but the pair takes the buffers of key (a new pair only) and
    // value instead of copies of them: what is taken is left empty, and a
    // reader that decodes each pair into new strings anyway allocates no
    // copy. Answers the value as stored (value itself, untaken, when no
    // memory could be had for a new pair).
    CSafeBuf& TakeAt(CSafeBuf& key, CSafeBuf& value);

    // The value of key; a missing key is appended first with an empty value.
    CSafeBuf& operator[](const unsigned short* key);
    CSafeBuf& operator[](const char* key);

    // Removes the pair if there is one; answers whether there was.
    bool RemoveKey(const unsigned short* key);
    bool RemoveKey(const char* key);

    // Walk the pairs in insertion order. GetNextAssoc copies the pair at pos
    // and moves pos on (null after the last); a foreign position sets pos to
    // null and leaves key and value.
    void* GetStartPosition() const;
    void GetNextAssoc(void*& pos, CSafeBuf& key, CSafeBuf& value) const;

    // Calls fn(key, value) for every pair in insertion order, without copies.
    // fn must not change the map.
    template <class Fn>
    void ForEachPair(Fn fn) const
    {
        for (const Node* n = m_list.Head(); n; n = n->next)
            fn(n->key, n->value);
    }

    int GetCount() const { return m_list.Count(); }
    bool IsEmpty() const { return m_list.Count() == 0; }
    void RemoveAll();

private:
    struct Node
    {
        CSafeBuf key;
        CSafeBuf value;
        Node* next;
    };
    Node* FindKey(const CSafeBuf& key) const;
    // The pair whose key equals the text as KeyOf would store it, found
    // without making that key.
    Node* FindKey(const unsigned short* key) const;
    Node* FindKey(const char* key) const;
    Node* FindOrAppend(const CSafeBuf& key);
    CSafeBuf& ValueOf(const CSafeBuf& key);
    void Set(const CSafeBuf& key, const CSafeBuf& value);

    SinglyLinkedList<Node> m_list;
};
