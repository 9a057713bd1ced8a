#pragma once
// CTextArena: buffers for many strings made at once (the texts of a tree as
// it is read), cut one after another from large blocks instead of taken
// from the allocator one by one.
//
// A string given such a buffer (CSafeBuf::ReserveIn) keeps it as long as it
// needs it, however long the arena lives: each block counts the buffers
// still cut from it, and is freed when the last of them is given back (the
// string destroyed, or grown into a buffer of its own) and the arena no
// longer cuts from it. A tree torn down whole so frees its texts a block at
// a time. The counts are atomic: a string may die on another thread.
//
// A buffer is never larger than a block allows (kMaxUnits); longer texts get
// buffers of their own.

#include <atomic>
#include <cstddef>

class CTextArena
{
public:
    // Texts up to this many units (terminator not counted) are cut from a block.
    static constexpr long kMaxUnits = 2048;

    CTextArena() = default;
    ~CTextArena();
    CTextArena(const CTextArena&) = delete;
    CTextArena& operator=(const CTextArena&) = delete;

    // A buffer of units + 1 units, or null when units is out of range
    // (negative or above kMaxUnits) or no memory could be had.
    unsigned short* Take(long units);
    // Gives back a buffer that Take answered (from any arena, alive or not).
    static void GiveBack(unsigned short* text);

private:
    struct Block;
    // Lets go of one hold on block, freeing it with the last.
    static void Drop(Block* block);

    Block* m_block = nullptr; // the block being cut, held by the arena
    size_t m_used = 0;        // bytes of it cut so far
};
