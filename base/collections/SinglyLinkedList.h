#pragma once
// SinglyLinkedList<Node, Policy>: the chain of nodes behind the linked
// collections (CPtrList, CListInt, CStringList, CMapStringToString,
// CPDictionary). It keeps head, tail and count and does the node work they
// share: linking at either end or next to a node, looking a position up from
// the head, unlinking and freeing, and copying another chain.
//
// Node is any struct with a `Node* next` member. Policy says how a node is
// copied and how it is freed:
//   static Node* Clone(const Node& from);  // an unlinked copy; null when out of memory
//   static void Free(Node* node);          // frees the node and what it owns
// PlainNodes<Node> copies member by member and deletes.
//
// A position is the address of a node handed out as an opaque pointer. Every
// operation that takes one looks it up, so a position of another chain, or
// of a node already freed, is recognised and never followed. The head, the
// node after it and the two nodes after a node the caller names as a hint
// (one of this chain, such as the node before the one a walk stepped over
// last) are known to be in the chain and recognised at once; any other
// position is looked for from the head. A walk that keeps its hint is
// therefore linear, not quadratic, and so is a walk that removes the node it
// has just stepped over.
//
// The Link and Insert operations take a node just allocated by the caller; a
// null node (an allocation that failed) is answered as null and changes
// nothing.

#include <new>
#include <utility>

// The node of a chain that holds one item.
template <class T>
struct SinglyLinkedNode
{
    T item;
    SinglyLinkedNode* next;
};

template <class Node>
struct PlainNodes
{
    static Node* Clone(const Node& from)
    {
        Node* copy = new (std::nothrow) Node(from);
        if (copy)
            copy->next = nullptr;
        return copy;
    }
    static void Free(Node* node) { delete node; }
};

template <class Node, class Policy = PlainNodes<Node>>
class SinglyLinkedList
{
public:
    SinglyLinkedList() = default;
    SinglyLinkedList(const SinglyLinkedList& other) { AppendCopies(other); }
    SinglyLinkedList& operator=(const SinglyLinkedList& other)
    {
        if (this != &other) {
            RemoveAll();
            AppendCopies(other);
        }
        return *this;
    }
    ~SinglyLinkedList() { RemoveAll(); }

    // A new unlinked node from the members before next, in their order; null
    // when out of memory.
    template <class... Members>
    static Node* New(Members&&... members)
    {
        return new (std::nothrow) Node{std::forward<Members>(members)..., nullptr};
    }

    Node* Head() const { return m_head; }
    Node* Tail() const { return m_tail; }
    int Count() const { return m_count; }

    // The first node for which match(node) holds, or null; *previous receives
    // the node before it (null for the head) when one is found.
    template <class Match>
    Node* FindIf(Match match, Node** previous = nullptr) const
    {
        Node* prev = nullptr;
        for (Node* n = m_head; n; prev = n, n = n->next) {
            if (match(static_cast<const Node&>(*n))) {
                if (previous)
                    *previous = prev;
                return n;
            }
        }
        return nullptr;
    }

    // The node at pos; null for a null or foreign position. hint, when
    // given, is a node of this chain.
    Node* Locate(const void* pos, Node** previous = nullptr, Node* hint = nullptr) const
    {
        if (!pos)
            return nullptr;
        Node* prev = nullptr;
        Node* n = nullptr;
        if (pos == m_head) {
            n = m_head;
        } else if (m_head && pos == m_head->next) {
            prev = m_head;
            n = m_head->next;
        } else if (hint && pos == hint->next) {
            prev = hint;
            n = hint->next;
        } else if (hint && hint->next && pos == hint->next->next) {
            prev = hint->next;
            n = prev->next;
        } else {
            n = FindIf([pos](const Node& node) { return &node == pos; }, &prev);
        }
        if (n && previous)
            *previous = prev;
        return n;
    }

    // Answers the node at pos and moves pos to the next one (null after the
    // tail); for a null or foreign position answers null and sets pos to null.
    // hint, when given, is a node of this chain or null, and becomes the
    // node before the one answered (null for the head).
    Node* Step(void*& pos, Node** hint = nullptr) const
    {
        Node* prev = nullptr;
        Node* n = Locate(pos, &prev, hint ? *hint : nullptr);
        if (n && hint)
            *hint = prev;
        pos = n ? n->next : nullptr;
        return n;
    }

    // The node i steps from the head; null when i is negative or the chain is
    // shorter.
    Node* NodeAt(int i) const
    {
        if (i < 0)
            return nullptr;
        Node* n = m_head;
        while (n && i-- > 0)
            n = n->next;
        return n;
    }

    Node* LinkHead(Node* node) { return LinkAfter(nullptr, node); }

    Node* LinkTail(Node* node) { return LinkAfter(m_tail, node); }

    // Links node right after at, a node of this chain (null: in front).
    Node* LinkAfter(Node* at, Node* node)
    {
        if (!node)
            return nullptr;
        Node*& slot = at ? at->next : m_head;
        node->next = slot;
        slot = node;
        if (m_tail == at)
            m_tail = node;
        ++m_count;
        return node;
    }

    // Insert node before or after the node at pos; a null or foreign position
    // links it at the tail.
    Node* InsertBefore(const void* pos, Node* node, Node* hint = nullptr)
    {
        if (!node)
            return nullptr;
        Node* prev = nullptr;
        if (!Locate(pos, &prev, hint))
            return LinkTail(node);
        return LinkAfter(prev, node);
    }
    Node* InsertAfter(const void* pos, Node* node, Node* hint = nullptr)
    {
        if (!node)
            return nullptr;
        Node* at = Locate(pos, nullptr, hint);
        return LinkAfter(at ? at : m_tail, node);
    }

    // Unlink and free one node; nothing on an empty chain or a null or foreign
    // position. RemoveFirst removes the first node for which match holds and
    // answers whether there was one.
    void RemoveHead()
    {
        if (m_head)
            Unlink(m_head, nullptr);
    }
    void RemoveTail()
    {
        Node* prev = nullptr;
        if (Locate(m_tail, &prev))
            Unlink(m_tail, prev);
    }
    // hint, when given, is a node of this chain or null; when it is the node
    // removed it becomes the one before it.
    void RemoveAt(const void* pos, Node** hint = nullptr)
    {
        Node* prev = nullptr;
        if (Node* n = Locate(pos, &prev, hint ? *hint : nullptr)) {
            if (hint && *hint == n)
                *hint = prev;
            Unlink(n, prev);
        }
    }
    template <class Match>
    bool RemoveFirst(Match match)
    {
        Node* prev = nullptr;
        Node* n = FindIf(match, &prev);
        if (n)
            Unlink(n, prev);
        return n != nullptr;
    }
    void RemoveAll()
    {
        Node* n = m_head;
        while (n) {
            Node* next = n->next;
            Policy::Free(n);
            n = next;
        }
        m_head = m_tail = nullptr;
        m_count = 0;
    }

    // Appends copies of other's nodes in their order; a node that cannot be
    // copied is left out. Only the nodes other has on entry are copied, so a
    // chain may be appended to itself.
    void AppendCopies(const SinglyLinkedList& other)
    {
        int remaining = other.m_count;
        for (Node* n = other.m_head; n && remaining > 0; n = n->next, --remaining)
            LinkTail(Policy::Clone(*n));
    }

    // Puts copies of all of other's nodes in front, in their order (other may
    // be this chain); when not every node can be copied nothing is added.
    void PrependCopies(const SinglyLinkedList& other)
    {
        SinglyLinkedList copy(other);
        if (copy.m_count == 0 || copy.m_count != other.m_count)
            return;
        copy.m_tail->next = m_head;
        m_head = copy.m_head;
        if (!m_tail)
            m_tail = copy.m_tail;
        m_count += copy.m_count;
        copy.m_head = copy.m_tail = nullptr;
        copy.m_count = 0;
    }

private:
    void Unlink(Node* node, Node* previous)
    {
        (previous ? previous->next : m_head) = node->next;
        if (m_tail == node)
            m_tail = previous;
        Policy::Free(node);
        --m_count;
    }

    Node* m_head = nullptr;
    Node* m_tail = nullptr;
    int m_count = 0;
};
