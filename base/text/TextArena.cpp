#include "base/text/TextArena.h"

#include <cstdlib>
#include <cstring>
#include <new>

// A block: its count, then the buffers, each after a pointer back to the
// block, by which it finds its block when it is given back.
struct CTextArena::Block
{
    std::atomic<long> holders; // buffers not given back, and the arena while it cuts from it
};

namespace {

constexpr size_t kBlockBytes = 64 * 1024;
constexpr size_t kAlign = alignof(void*);

constexpr size_t Rounded(size_t bytes) { return (bytes + kAlign - 1) / kAlign * kAlign; }

} // namespace

CTextArena::~CTextArena()
{
    if (m_block)
        Drop(m_block);
}

void CTextArena::Drop(Block* block)
{
    if (block->holders.fetch_sub(1, std::memory_order_acq_rel) == 1) {
        block->~Block();
        std::free(block);
    }
}

unsigned short* CTextArena::Take(long units)
{
    if (units < 0 || units > kMaxUnits)
        return nullptr;
    const size_t need = Rounded(sizeof(Block*) + (static_cast<size_t>(units) + 1) * sizeof(unsigned short));
    if (!m_block || m_used + need > kBlockBytes) {
        void* memory = std::malloc(kBlockBytes);
        if (!memory)
            return nullptr;
        Block* fresh = new (memory) Block{{1}};
        if (m_block)
            Drop(m_block);
        m_block = fresh;
        m_used = Rounded(sizeof(Block));
    }
    char* at = reinterpret_cast<char*>(m_block) + m_used;
    m_used += need;
    std::memcpy(at, &m_block, sizeof(Block*));
    m_block->holders.fetch_add(1, std::memory_order_relaxed);
    return reinterpret_cast<unsigned short*>(at + sizeof(Block*));
}

void CTextArena::GiveBack(unsigned short* text)
{
    Block* block = nullptr;
    std::memcpy(&block, reinterpret_cast<char*>(text) - sizeof(Block*), sizeof(Block*));
    Drop(block);
}
