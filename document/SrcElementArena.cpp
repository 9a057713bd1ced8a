// CSrcArena: blocks of memory for one markup tree.

#include "document/SrcElementArena.h"

#include <new>

namespace {

constexpr size_t kAlign = 16;
constexpr size_t kHeader = (sizeof(void*) + kAlign - 1) / kAlign * kAlign; // the block's link
constexpr size_t kLargestBlock = 1024 * 1024;

size_t Aligned(size_t n) { return (n + kAlign - 1) / kAlign * kAlign; }

} // namespace

CSrcArena::~CSrcArena()
{
    while (m_blocks) {
        Block* previous = m_blocks->previous;
        ::operator delete(m_blocks);
        m_blocks = previous;
    }
}

void* CSrcArena::Region::Allocate(size_t bytes, Block*& blocks)
{
    bytes = Aligned(bytes ? bytes : 1);
    if (bytes > left) {
        // A request larger than a quarter block gets a block of its own; the
        // newest block keeps its free room.
        const bool own = bytes > nextSize / 4;
        const size_t size = own ? kHeader + bytes : nextSize;
        auto* block = static_cast<Block*>(::operator new(size));
        block->previous = blocks;
        blocks = block;
        char* room = reinterpret_cast<char*>(block) + kHeader;
        if (own)
            return room;
        next = room;
        left = size - kHeader;
        if (nextSize < kLargestBlock)
            nextSize *= 2;
    }
    void* room = next;
    next += bytes;
    left -= bytes;
    return room;
}
