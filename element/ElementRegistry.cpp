// The registry of live elements: buckets keyed by identifier.

#include "element/ElementRegistry.h"

#include "element/Element.h"

#include <algorithm>
#include <new>

CElementRegistry::CElementRegistry()
{
    for (int i = 0; i < kBucketCount; ++i)
        m_heads[i] = m_tails[i] = nullptr;
}

CElementRegistry::~CElementRegistry() { Clear(); }

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
    if (!m_releasing) {
        // Outside a release the set holds only live elements, so e's
        // address is none of them: it is added without waiting for its
        // slot.
        m_members.Add(e);
    } else if (!m_members.Insert(e)) {
        // The address of an element destroyed in the release, taken again:
        // it stays in the set now.
        auto stale = std::find(m_leaving.begin(), m_leaving.end(), e);
        if (stale != m_leaving.end())
            m_leaving.erase(stale);
    }
    const long id = e->GetID();
    if (IsPaged(id)) {
        IdPage* p = FindPage(id);
        if (!p)
            p = PageFor(id);
        CElement*& slot = p->slots[id & ((1 << kPageBits) - 1)];
        if (!slot)
            ++p->count;
        slot = e;
    }
    return true;
}

void CElementRegistry::Reserve(size_t count)
{
    try {
        m_members.Reserve(count);
    } catch (const std::bad_alloc&) {
        // The set grows as elements come, if it can.
    }
}

// Inline: Unregister notes every element of a release.
inline bool CElementRegistry::NoteLeaving(const CElement* e)
{
    try {
        m_leaving.push_back(e);
        return true;
    } catch (const std::bad_alloc&) {
        return false; // it leaves the set at once
    }
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
    if (!m_releasing || !NoteLeaving(e))
        m_members.Erase(e);
    const long id = e->GetID();
    IdPage* p = IsPaged(id) ? FindPage(id) : nullptr;
    if (p) {
        CElement*& slot = p->slots[id & ((1 << kPageBits) - 1)];
        if (slot == e) {
            slot = nullptr;
            if (--p->count == 0)
                FreePage(static_cast<size_t>(id >> kPageBits) - m_firstPage);
        }
    }
    e->m_registryNext = nullptr;
    e->m_registryPrevious = nullptr;
    e->m_registry = nullptr;
}

void CElementRegistry::EndRelease()
{
    if (m_releasing == 0 || --m_releasing > 0)
        return;
    // The addresses noted are distinct members: as many as the set holds
    // are all of it.
    if (m_leaving.size() == m_members.Count())
        m_members.RemoveAll();
    else
        m_members.EraseMany(m_leaving);
    // The list keeps its capacity for the next release, as the set keeps
    // its table.
    m_leaving.clear();
}

namespace {

void Detach(CElement* e)
{
    e->m_registryNext = nullptr;
    e->m_registryPrevious = nullptr;
    e->m_registry = nullptr;
}

} // namespace

void CElementRegistry::Clear()
{
    // When the pages hold every member, they are detached through the
    // pages: the addresses stand there in arrays, so the elements are
    // fetched a few ahead instead of one after another along the chains.
    size_t paged = 0;
    for (const IdPage* p : m_idPages)
        paged += p ? static_cast<size_t>(p->count) : 0;
    if (paged == m_members.Count() - m_leaving.size()) {
        constexpr int kSlots = 1 << kPageBits;
        constexpr int kAhead = 8;
        for (IdPage* p : m_idPages) {
            for (int i = 0; p && i < kSlots; ++i) {
                if (i + kAhead < kSlots && p->slots[i + kAhead])
                    __builtin_prefetch(p->slots[i + kAhead], 1);
                if (p->slots[i])
                    Detach(p->slots[i]);
            }
        }
        for (int i = 0; i < kBucketCount; ++i)
            m_heads[i] = m_tails[i] = nullptr;
    }
    for (int i = 0; i < kBucketCount; ++i) {
        CElement* p = m_heads[i];
        while (p) {
            CElement* next = p->m_registryNext;
            Detach(p);
            p = next;
        }
        m_heads[i] = m_tails[i] = nullptr;
    }
    // The set keeps its table: a document loaded after the previous one was
    // released registers about as many elements again, and the table need
    // not be freed and grown anew.
    if (m_members.Count() != 0)
        m_members.RemoveAll();
    m_leaving.clear();
    ClearPages();
}

void CElementRegistry::ClearPages()
{
    for (size_t i = 0; i < m_idPages.size(); ++i) {
        if (m_idPages[i])
            FreePage(i);
    }
    // The index keeps its capacity: the next document's elements need an
    // index about as long again, starting at their own first page.
    m_idPages.clear();
}

CElementRegistry::IdPage* CElementRegistry::PageFor(long id)
{
    const size_t page = static_cast<size_t>(id >> kPageBits);
    if (m_idPages.empty())
        m_firstPage = page;
    if (page < m_firstPage) {
        // An identifier older than the index's first page (an element made
        // before the index was emptied, registered since): the index grows
        // at its front.
        m_idPages.insert(m_idPages.begin(), m_firstPage - page, nullptr);
        m_firstPage = page;
    }
    const size_t index = page - m_firstPage;
    if (index >= m_idPages.size())
        m_idPages.resize(index + 1, nullptr);
    IdPage*& p = m_idPages[index];
    if (!p)
        p = TakePage();
    return p;
}

CElementRegistry::IdPage* CElementRegistry::TakePage()
{
    if (m_sparePages.empty()) {
        std::unique_ptr<IdPage[]> block(new IdPage[kPagesPerBlock]);
        // Room for every page among the spare ones, so that freeing a page
        // never allocates.
        m_sparePages.reserve(m_pageCount + kPagesPerBlock);
        m_pageBlocks.push_back(std::move(block));
        m_pageCount += kPagesPerBlock;
        // Taken from the back: the block's pages go out in address order.
        for (int i = kPagesPerBlock; i-- > 0;)
            m_sparePages.push_back(&m_pageBlocks.back()[i]);
    }
    IdPage* p = m_sparePages.back();
    m_sparePages.pop_back();
    *p = IdPage{};
    return p;
}

void CElementRegistry::FreePage(size_t index)
{
    IdPage*& p = m_idPages[index];
    m_sparePages.push_back(p); // within the room reserved for every page
    p = nullptr;
}

CElement* CElementRegistry::Find(long id) const
{
    if (IsPaged(id)) {
        const IdPage* p = FindPage(id);
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
