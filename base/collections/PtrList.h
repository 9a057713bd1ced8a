#pragma once
// CPtrList: a singly linked list of untyped pointers with head, tail and
// count. It never owns what its items point to; emptying or destroying it
// frees only its own nodes.
//
// A position is the address of a list node, handed out as an opaque void*
// (null: no position). Every operation that takes a position first looks for
// it by walking from the head, so a position of another list, or of a node
// already removed, is recognised and answered as each operation states,
// never followed. Copies are independent lists holding the same pointers.

#include "base/collections/SinglyLinkedList.h"

class CPtrList
{
public:
    CPtrList();
    CPtrList(const CPtrList& other);
    CPtrList& operator=(const CPtrList& other);
    virtual ~CPtrList();

    void* GetHeadPosition() const;
    // Answers pos's item and moves pos to the next node (null after the tail);
    // for a position not in this list answers null and sets pos to null.
    void* GetNext(void*& pos) const;
    void* GetHead() const; // null when empty
    void* GetTail() const; // null when empty
    // Null for a null or foreign position.
    void* GetAt(void* pos) const;
    // Does nothing for a null or foreign position.
    void SetAt(void* pos, void* item);
    int GetCount() const { return m_list.Count(); }

    // Add one item in front or at the end; answer its position (null when no
    // memory could be had).
    void* AddHead(void* item);
    void* AddTail(void* item);
    // Copy all of other's items, in their order, in front of or after this
    // list's items; other is unchanged (a list may be added to itself).
    void AddHead(const CPtrList* other);
    void AddTail(const CPtrList* other);

    // Insert next to pos and answer the new node; with a null or foreign
    // position the item is appended at the tail.
    void* InsertBefore(void* pos, void* item);
    void* InsertAfter(void* pos, void* item);

    // Unlink and free one node (not its item); nothing on an empty list or a
    // foreign position.
    void RemoveHead();
    void RemoveTail();
    void RemoveAt(void* pos);
    void RemoveAll();

    // The node i steps from the head; null when i is negative or the list is
    // shorter.
    void* FindIndex(int i) const;
    // The first node holding item, or null.
    void* Find(void* item) const;

    // Calls fn with every item, head first, in one walk. fn must not change
    // the list.
    template <class Fn>
    void ForEachItem(Fn fn) const
    {
        for (const Node* n = m_list.Head(); n; n = n->next)
            fn(n->item);
    }

private:
    using Node = SinglyLinkedNode<void*>;

    SinglyLinkedList<Node> m_list;
    // The node before the one GetNext answered last, a node of this list or
    // null: the hint that keeps a walk with GetNext linear.
    mutable Node* m_stepped = nullptr;
};
