#pragma once
// CListInt: a singly linked list of long values with head, tail and count.
// Positions work as in CPtrList: the opaque address of a node, looked up from
// the head by every operation that takes one, so a foreign position is
// recognised and never followed.

#include "base/collections/SinglyLinkedList.h"

class CListInt
{
public:
    CListInt();
    CListInt(const CListInt& other);
    CListInt& operator=(const CListInt& other);
    ~CListInt();

    void* GetHeadPosition() const;
    // Answers pos's value and moves pos on (null after the tail); for a foreign
    // position answers 0 and sets pos to null.
    long GetNext(void*& pos) const;
    long GetHead() const; // 0 when empty
    long GetTail() const; // 0 when empty
    int GetCount() const { return m_list.Count(); }

    // Add one value; answer its position (null when no memory could be had).
    void* AddHead(long value);
    void* AddHead(int value) { return AddHead(static_cast<long>(value)); }
    void* AddTail(long value);
    // Copies of other's values in front, in their order (a list may be added
    // to itself).
    void AddHead(const CListInt* other);

    // Inserts before pos; a null or foreign position appends. Answers the new
    // node.
    void* InsertBefore(void* pos, long value);
    // Stores the value at pos; a null or foreign position does nothing.
    void SetAt(void* pos, long value);

    // Nothing on an empty list or a foreign position.
    void RemoveHead();
    void RemoveTail();
    void RemoveAt(void* pos);
    void RemoveAll();

private:
    using Node = SinglyLinkedNode<long>;

    SinglyLinkedList<Node> m_list;
};
