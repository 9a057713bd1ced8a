// The registry of live elements: buckets keyed by identifier.

#include "element/ElementRegistry.h"

#include "element/Element.h"

CElementRegistry::CElementRegistry()
{
    for (int i = 0; i < kBucketCount; ++i)
        m_heads[i] = m_tails[i] = nullptr;
}

CElementRegistry::~CElementRegistry() { Clear(); }

int CElementRegistry::BucketOf(long id)
{
    unsigned long v = static_cast<unsigned long>(id);
    return static_cast<int>((v ^ (v >> 8) ^ (v >> 16) ^ (v >> 24)) & 0xFF);
}

bool CElementRegistry::Register(CElement* e)
{
    if (!e || e->m_registry)
        return false;
    int bucket = BucketOf(e->GetID());
    e->m_registryBucket = static_cast<unsigned char>(bucket);
    e->m_registryNext = nullptr;
    e->m_registryPrevious = m_tails[bucket];
    e->m_registry = this;
    if (m_tails[bucket])
        m_tails[bucket]->m_registryNext = e;
    else
        m_heads[bucket] = e;
    m_tails[bucket] = e;
    m_members.Insert(e);
    const long id = e->GetID();
    if (IsPaged(id)) {
        const size_t page = static_cast<size_t>(id >> kPageBits);
        if (page >= m_idPages.size())
            m_idPages.resize(page + 1, nullptr);
        if (!m_idPages[page])
            m_idPages[page] = new IdPage{};
        IdPage* p = m_idPages[page];
        CElement*& slot = p->slots[id & ((1 << kPageBits) - 1)];
        if (!slot)
            ++p->count;
        slot = e;
    }
    return true;
}

void CElementRegistry::Unregister(CElement* e)
{
    if (!e || e->m_registry != this)
        return;
    // The chain is linked both ways, so an element leaves it without a walk:
    // destroying a large tree stays linear.
    int bucket = e->m_registryBucket;
    if (e->m_registryPrevious)
        e->m_registryPrevious->m_registryNext = e->m_registryNext;
    else
        m_heads[bucket] = e->m_registryNext;
    if (e->m_registryNext)
        e->m_registryNext->m_registryPrevious = e->m_registryPrevious;
    else
        m_tails[bucket] = e->m_registryPrevious;
    m_members.Erase(e);
    const long id = e->GetID();
    const size_t page = static_cast<size_t>(id >> kPageBits);
    if (IsPaged(id) && page < m_idPages.size() && m_idPages[page]) {
        IdPage* p = m_idPages[page];
        CElement*& slot = p->slots[id & ((1 << kPageBits) - 1)];
        if (slot == e) {
            slot = nullptr;
            if (--p->count == 0) {
                delete p;
                m_idPages[page] = nullptr;
            }
        }
    }
    e->m_registryNext = nullptr;
    e->m_registryPrevious = nullptr;
    e->m_registry = nullptr;
}

void CElementRegistry::Clear()
{
    for (int i = 0; i < kBucketCount; ++i) {
        CElement* p = m_heads[i];
        while (p) {
            CElement* next = p->m_registryNext;
            p->m_registryNext = nullptr;
            p->m_registryPrevious = nullptr;
            p->m_registry = nullptr;
            p = next;
        }
        m_heads[i] = m_tails[i] = nullptr;
    }
    // An empty set keeps its table: a document loaded after the previous
    // one was released registers about as many elements again, and the
    // table need not be freed and grown anew.
    if (m_members.Count() != 0)
        m_members.Clear();
    ClearPages();
}

void CElementRegistry::ClearPages()
{
    for (IdPage* p : m_idPages)
        delete p;
    // The index keeps its capacity: identifiers only grow, and the next
    // document's elements need an index at least as long again.
    m_idPages.clear();
}

CElement* CElementRegistry::Find(long id) const
{
    if (IsPaged(id)) {
        const size_t page = static_cast<size_t>(id >> kPageBits);
        const IdPage* p = page < m_idPages.size() ? m_idPages[page] : nullptr;
        return p ? p->slots[id & ((1 << kPageBits) - 1)] : nullptr;
    }
    for (CElement* p = m_heads[BucketOf(id)]; p; p = p->m_registryNext) {
        if (p->GetID() == id)
            return p;
    }
    return nullptr;
}

bool CElementRegistry::Contains(const CElement* e) const { return m_members.Contains(e); }

CElement* CElementRegistry::GetBucketHead(int bucket) const
{
    return bucket >= 0 && bucket < kBucketCount ? m_heads[bucket] : nullptr;
}
