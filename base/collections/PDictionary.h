#pragma once
// CPDictionary: named values with a repeat count, in insertion order. The
// table code feeds it the value of an attribute for every cell of a column
// (SetWidthCount) to learn whether all cells carry the same value: the count
// says how many times in a row the entry's value was set unchanged.
//
// Entries are read with ResetGet and GetNext; they belong to the dictionary.

#include "base/collections/SinglyLinkedList.h"

struct CPDictionaryItem
{
    unsigned short* name;  // owned, never null
    unsigned short* value; // owned; null when the value is empty
    int count;             // how many times the same value was set
    CPDictionaryItem* next;
};

class CPDictionary
{
public:
    CPDictionary();
    CPDictionary(const CPDictionary& other);
    CPDictionary& operator=(const CPDictionary& other);
    ~CPDictionary();

    // With append false and an entry of that name (exact comparison): its
    // value is replaced and its count becomes 1. Otherwise, and always with
    // append true, a new entry is added at the end with count 1. An empty or
    // null value is stored as null; a null name counts as the empty name.
    void Set(const unsigned short* name, const unsigned short* value, bool append);

    // Counts repeated values of the first entry named name (adding one with
    // count 1 when there is none): the same value again, or no value again,
    // adds 1 to the count; a different value replaces the stored one and the
    // count starts again at 1.
    void SetWidthCount(const unsigned short* name, const unsigned short* value);

    // ResetGet puts the read cursor on the first entry; each GetNext answers the
    // entry under it and advances; null at the end.
    void ResetGet();
    CPDictionaryItem* GetNext();

    // Frees every entry and resets the dictionary.
    void Release();

private:
    struct OwnedEntries; // copies and frees entries with their texts

    CPDictionaryItem* FindName(const unsigned short* name) const;
    CPDictionaryItem* AddEntry(const unsigned short* name, const unsigned short* value);

    SinglyLinkedList<CPDictionaryItem, OwnedEntries> m_entries;
    CPDictionaryItem* m_cursor = nullptr;
};
