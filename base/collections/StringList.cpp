#include "base/collections/StringList.h"

#include <cstddef>
#include <new>

#include "base/text/U16.h"

namespace {

// A new copy of 8-bit text with each byte widened with its sign.
unsigned short* WidenSigned(const char* text)
{
    const int len = U16len(text);
    unsigned short* copy = new (std::nothrow) unsigned short[static_cast<std::size_t>(len) + 1];
    if (!copy)
        return nullptr;
    for (int i = 0; i < len; ++i)
        copy[i] = static_cast<unsigned short>(static_cast<signed char>(text[i]));
    copy[len] = 0;
    return copy;
}

// Whether text equals the 8-bit text widened the way AddTail(const char*)
// widens it (each byte with its sign, to a 16-bit unit), so that a text added
// from 8-bit form is found again by the same 8-bit form.
bool EqualsSigned(const unsigned short* text, const char* bytes)
{
    for (int i = 0;; ++i) {
        const unsigned short wide = static_cast<unsigned short>(static_cast<signed char>(bytes[i]));
        if (text[i] != wide)
            return false;
        if (wide == 0)
            return true;
    }
}

} // namespace

struct CStringList::OwnedTexts
{
    // A node taking over text; null (text freed) when either allocation failed.
    static Node* Make(unsigned short* text)
    {
        if (!text)
            return nullptr;
        Node* n = SinglyLinkedList<Node, OwnedTexts>::New(text);
        if (!n)
            delete[] text;
        return n;
    }
    static Node* Clone(const Node& from) { return Make(U16dup(from.item)); }
    static void Free(Node* node)
    {
        delete[] node->item;
        delete node;
    }
};

CStringList::CStringList() = default;

CStringList::CStringList(const CStringList& other) = default;

CStringList& CStringList::operator=(const CStringList& other) = default;

CStringList::~CStringList() = default;

void* CStringList::GetHeadPosition() const { return m_list.Head(); }

const unsigned short* CStringList::GetNext(void*& pos) const
{
    Node* n = m_list.Step(pos);
    return n ? n->item : nullptr;
}

const unsigned short* CStringList::GetHead() const { return m_list.Head() ? m_list.Head()->item : nullptr; }

const unsigned short* CStringList::GetTail() const { return m_list.Tail() ? m_list.Tail()->item : nullptr; }

void* CStringList::FindIndex(int i) const { return m_list.NodeAt(i); }

void* CStringList::AddTail(const unsigned short* text)
{
    return m_list.LinkTail(OwnedTexts::Make(U16dup(text)));
}

void* CStringList::AddHead(const unsigned short* text)
{
    return m_list.LinkHead(OwnedTexts::Make(U16dup(text)));
}

void* CStringList::AddTail(const char* text) { return m_list.LinkTail(OwnedTexts::Make(WidenSigned(text))); }

void CStringList::AddTail(const CStringList* other)
{
    if (other)
        m_list.AppendCopies(other->m_list);
}

void* CStringList::InsertBefore(void* pos, const unsigned short* text)
{
    return m_list.InsertBefore(pos, OwnedTexts::Make(U16dup(text)));
}

void CStringList::SetAt(void* pos, const unsigned short* text)
{
    Node* n = m_list.Locate(pos);
    if (!n)
        return;
    unsigned short* copy = U16dup(text);
    if (!copy)
        return;
    delete[] n->item;
    n->item = copy;
}

void CStringList::RemoveHead() { m_list.RemoveHead(); }

void CStringList::RemoveTail() { m_list.RemoveTail(); }

void CStringList::RemoveAt(void* pos) { m_list.RemoveAt(pos); }

void CStringList::RemoveAll() { m_list.RemoveAll(); }

void* CStringList::Find(const unsigned short* text) const
{
    if (!text)
        return nullptr;
    return m_list.FindIf([text](const Node& n) { return U16cmp(n.item, text) == 0; });
}

void* CStringList::Find(const char* text) const
{
    if (!text)
        return nullptr;
    return m_list.FindIf([text](const Node& n) { return EqualsSigned(n.item, text); });
}
