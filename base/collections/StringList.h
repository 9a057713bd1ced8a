#pragma once
// CStringList: a singly linked list of UTF-16 texts that it owns. Each node
// holds its own copy of a text (the empty text when none is given); removing
// a node, emptying or destroying the list frees the texts.
//
// Positions work as in CPtrList: the opaque address of a node, looked up from
// the head by every operation that takes one, so a foreign position is
// recognised. Copies are independent lists with their own copies of the texts.

#include "base/collections/SinglyLinkedList.h"

class CStringList
{
public:
    CStringList();
    CStringList(const CStringList& other);
    CStringList& operator=(const CStringList& other);
    ~CStringList();

    void* GetHeadPosition() const;
    // Answers pos's text and moves pos on (null after the tail); for a foreign
    // position answers null and sets pos to null. The text belongs to the list.
    const unsigned short* GetNext(void*& pos) const;
    const unsigned short* GetHead() const; // null when empty
    const unsigned short* GetTail() const; // null when empty
    int GetCount() const { return m_list.Count(); }
    // The node i steps from the head; null when i is negative or too large.
    void* FindIndex(int i) const;

    // Add a copy of the text (null adds the empty text); answer its position,
    // null when no memory could be had.
    void* AddTail(const unsigned short* text);
    void* AddHead(const unsigned short* text);
    // Adds the 8-bit text widened with each byte's sign (0x80-0xFF become
    // 0xFF80-0xFFFF).
    void* AddTail(const char* text);
    // Appends copies of all of other's texts in order (a list may be added to
    // itself).
    void AddTail(const CStringList* other);

    // Inserts a copy of the text before pos; a null or foreign position
    // appends. Answers the new node.
    void* InsertBefore(void* pos, const unsigned short* text);
    // Replaces the node's text with a copy (null stores the empty text); a null
    // or foreign position does nothing.
    void SetAt(void* pos, const unsigned short* text);

    // Unlink one node and free its text; nothing on an empty list or a foreign
    // position.
    void RemoveHead();
    void RemoveTail();
    void RemoveAt(void* pos);
    void RemoveAll();

    // The first node whose text equals the argument exactly, or null.
    void* Find(const unsigned short* text) const;
    // The same against 8-bit text, each byte widened with its sign exactly as
    // AddTail(const char*) widens it, so an 8-bit text added is found again.
    void* Find(const char* text) const;

private:
    // A node owns its text, allocated with array new.
    using Node = SinglyLinkedNode<unsigned short*>;
    struct OwnedTexts; // copies and frees nodes with their texts

    SinglyLinkedList<Node, OwnedTexts> m_list;
};
