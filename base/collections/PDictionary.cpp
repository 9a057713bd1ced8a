#include "base/collections/PDictionary.h"

#include <cstddef>
#include <new>

#include "base/text/U16.h"

namespace {

bool IsEmptyText(const unsigned short* text) { return !text || !text[0]; }

// Replaces *slot by a copy of value, or by null for an empty value. False
// (slot unchanged) when no memory could be had.
bool StoreValue(unsigned short*& slot, const unsigned short* value)
{
    unsigned short* copy = nullptr;
    if (!IsEmptyText(value)) {
        copy = U16dup(value);
        if (!copy)
            return false;
    }
    delete[] slot;
    slot = copy;
    return true;
}

// A new entry with count 1 holding copies of name (the empty name for null)
// and value (null when empty); null when out of memory.
CPDictionaryItem* NewEntry(const unsigned short* name, const unsigned short* value)
{
    unsigned short* nameCopy = U16dup(name);
    if (!nameCopy)
        return nullptr;
    unsigned short* valueCopy = nullptr;
    if (!StoreValue(valueCopy, value)) {
        delete[] nameCopy;
        return nullptr;
    }
    CPDictionaryItem* e = new (std::nothrow) CPDictionaryItem{nameCopy, valueCopy, 1, nullptr};
    if (!e) {
        delete[] nameCopy;
        delete[] valueCopy;
    }
    return e;
}

} // namespace

struct CPDictionary::OwnedEntries
{
    static CPDictionaryItem* Clone(const CPDictionaryItem& from)
    {
        CPDictionaryItem* e = NewEntry(from.name, from.value);
        if (e)
            e->count = from.count;
        return e;
    }
    static void Free(CPDictionaryItem* e)
    {
        delete[] e->name;
        delete[] e->value;
        delete e;
    }
};

CPDictionary::CPDictionary() = default;

// The copy's read cursor starts unset, as after Release.
CPDictionary::CPDictionary(const CPDictionary& other) : m_entries(other.m_entries) { }

CPDictionary& CPDictionary::operator=(const CPDictionary& other)
{
    if (this != &other) {
        m_entries = other.m_entries;
        m_cursor = nullptr;
    }
    return *this;
}

CPDictionary::~CPDictionary() = default;

CPDictionaryItem* CPDictionary::FindName(const unsigned short* name) const
{
    const unsigned short empty[1] = {0};
    const unsigned short* key = name ? name : empty;
    return m_entries.FindIf([key](const CPDictionaryItem& e) { return U16cmp(e.name, key) == 0; });
}

CPDictionaryItem* CPDictionary::AddEntry(const unsigned short* name, const unsigned short* value)
{
    return m_entries.LinkTail(NewEntry(name, value));
}

void CPDictionary::Set(const unsigned short* name, const unsigned short* value, bool append)
{
    if (!append) {
        if (CPDictionaryItem* e = FindName(name)) {
            if (StoreValue(e->value, value))
                e->count = 1;
            return;
        }
    }
    AddEntry(name, value);
}

void CPDictionary::SetWidthCount(const unsigned short* name, const unsigned short* value)
{
    CPDictionaryItem* e = FindName(name);
    if (!e) {
        AddEntry(name, value);
        return;
    }
    if (IsEmptyText(value)) {
        if (!e->value) {
            ++e->count;
        } else {
            delete[] e->value;
            e->value = nullptr;
            e->count = 1;
        }
        return;
    }
    if (e->value && U16cmp(e->value, value) == 0) {
        ++e->count;
    } else if (StoreValue(e->value, value)) {
        e->count = 1;
    }
}

void CPDictionary::ResetGet() { m_cursor = m_entries.Head(); }

CPDictionaryItem* CPDictionary::GetNext()
{
    CPDictionaryItem* e = m_cursor;
    if (e)
        m_cursor = e->next;
    return e;
}

void CPDictionary::Release()
{
    m_entries.RemoveAll();
    m_cursor = nullptr;
}
