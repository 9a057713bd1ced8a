#pragma once
// CSrcArena: the memory of one markup tree. Its nodes and their texts are
// carved out of large blocks, which go back all at once when the last user
// lets go, so that a tree of many thousand nodes costs a few dozen heap
// blocks rather than several per node. Nodes and texts come from blocks of
// their own: the passes, which walk the nodes and seldom read a text, find
// the nodes packed together.
//
// The arena counts its users: each node that lives in it and each node that
// made it for its children holds one. Memory handed out is never given back
// one piece at a time; a text that grows takes new room and leaves the old.

#include <cstddef>

class CSrcArena
{
public:
    CSrcArena() = default;
    CSrcArena(const CSrcArena&) = delete;
    CSrcArena& operator=(const CSrcArena&) = delete;

    // bytes of room for a node, aligned for any of its fields (16 bytes).
    // Throws std::bad_alloc when the heap has no room.
    void* Allocate(size_t bytes) { return m_nodes.Allocate(bytes, m_blocks); }
    // Room for n units and a terminator.
    unsigned short* AllocateUnits(int n)
    {
        return static_cast<unsigned short*>(
            m_texts.Allocate((static_cast<size_t>(n) + 1) * sizeof(unsigned short), m_blocks));
    }

    void AddRef() { ++m_refs; }
    // Frees the arena with all its blocks when the last user lets go.
    void Release()
    {
        if (--m_refs == 0)
            delete this;
    }

private:
    ~CSrcArena();
    struct Block
    {
        Block* previous;
    };
    // Hands out room from its newest block; every block made is linked into
    // the arena's one list.
    struct Region
    {
        void* Allocate(size_t bytes, Block*& blocks);
        char* next = nullptr; // free room of the newest block
        size_t left = 0;
        size_t nextSize = 16 * 1024; // blocks grow, up to a limit
    };
    Block* m_blocks = nullptr;
    Region m_nodes;
    Region m_texts;
    int m_refs = 0;
};
