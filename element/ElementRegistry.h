#pragma once
// CElementRegistry: the document's registry of live elements. Elements are
// kept in 256 buckets keyed by their identifier (the exclusive-or of its four
// low bytes); each bucket is a chain through the elements' own registry
// links, in registration order. The factory registers every element it
// makes; the element's destructor unregisters it.
//
// Identifiers are serial numbers never reused, so Find(id) tells a stale
// identifier from a live one even when the old element's memory now holds a
// new element. The pointer form Contains(e) never dereferences e; it can say
// only whether some live element sits at that address.
//
// A registry that goes away first detaches the elements still in it, so
// their destructors do not reach back into it.
//
// Releasing. A subtree destroyed at once (CElement::Release) brackets its
// destruction with BeginRelease and EndRelease. Meanwhile an element that
// leaves is taken out of its chain and page at once (Find no longer finds
// it) and its address is noted; the addresses leave the set together at
// the end, in the order of their places in the set's table (or the table is
// emptied at once when they were all of it), instead of one random access
// into a large table each. Until then Contains may still answer true for
// the address of an element destroyed in the release.
//
// Finding. Beside the buckets, identifiers index pages of 256 slots (a page
// is made for its first element and freed with its last), so Find answers
// at once however many elements share a bucket: the tree primitives that
// name children by identifier rely on it. Identifiers beyond the pages'
// range (not handed out by the constructor) are found through their bucket.
// The index of pages starts at the page of the first element registered
// after it was emptied: identifiers only grow, so a registry cleared for
// each new document keeps an index as long as one document needs, however
// many identifiers earlier documents used. Pages are made in blocks and
// those freed are kept for reuse, so registering allocates nothing once the
// registry has held as many elements before.

#include "base/collections/PointerSet.h"

#include <cstddef>
#include <memory>
#include <vector>

class CElement;

// The identifier given last (Element.cpp): every identifier from 1 up to it
// was given to an element once and is never given again.
long LastElementIdentifier();

class CElementRegistry
{
public:
    static constexpr int kBucketCount = 256;

    CElementRegistry();
    ~CElementRegistry();
    CElementRegistry(const CElementRegistry&) = delete;
    CElementRegistry& operator=(const CElementRegistry&) = delete;

    // The bucket of an identifier: the exclusive-or of bits 0-7, 8-15, 16-23
    // and 24-31.
    static int BucketOf(long id)
    {
        const unsigned long v = static_cast<unsigned long>(id);
        return static_cast<int>((v ^ (v >> 8) ^ (v >> 16) ^ (v >> 24)) & 0xFF);
    }

    // Stores the bucket index in e and appends e at the tail of its bucket.
    // False (nothing done) for null or an element already in a registry.
    bool Register(CElement* e);
    // Takes e out of its bucket; nothing when e is not in this registry.
    void Unregister(CElement* e);
    // Makes room for count elements in all, so that registering a large
    // tree does not grow the set of addresses step by step. Only a hint:
    // nothing is done when the memory cannot be had.
    void Reserve(size_t count);
    // Detaches every element (the buckets become empty).
    void Clear();
    // A release of many elements begins or ends (nested pairs count; the
    // outermost EndRelease takes the addresses out).
    void BeginRelease() { ++m_releasing; }
    void EndRelease();

    // The live element with that identifier, or null.
    CElement* Find(long id) const;
    bool IsElementExist(long id) const { return Find(id) != nullptr; }
    // Whether a live element sits at that address (e is not dereferenced).
    bool Contains(const CElement* e) const;

    CElement* GetBucketHead(int bucket) const;
    int GetCount() const { return static_cast<int>(m_members.Count() - m_leaving.size()); }

private:
    static constexpr int kPageBits = 8;
    static constexpr long kPagedIds = 1L << 30; // identifiers below it are paged
    struct IdPage
    {
        CElement* slots[1 << kPageBits];
        int count;
    };
    // Pages are made this many at a time: one request to the allocator
    // for a few thousand elements instead of one for each 256.
    static constexpr int kPagesPerBlock = 16;
    static bool IsPaged(long id) { return id >= 0 && id < kPagedIds; }
    // A zeroed page from the spare ones, a new block made when none is left.
    IdPage* TakePage();
    void ClearPages();
    // The page of id in the index, made when missing; null when no memory.
    IdPage* PageFor(long id);
    // The page of id, or null; id is paged.
    IdPage* FindPage(long id) const
    {
        const size_t page = static_cast<size_t>(id >> kPageBits);
        if (page < m_firstPage || page - m_firstPage >= m_idPages.size())
            return nullptr;
        return m_idPages[page - m_firstPage];
    }
    void FreePage(size_t index);
    // Notes the address of e, unregistered in a release; false when it
    // cannot be noted (no memory).
    bool NoteLeaving(const CElement* e);

    CElement* m_heads[kBucketCount];
    CElement* m_tails[kBucketCount];
    CPointerSet m_members;          // the addresses of the live elements
    std::vector<IdPage*> m_idPages; // by identifier / 256 - m_firstPage; null: no element there
    size_t m_firstPage = 0;         // the page of m_idPages[0]
    std::vector<std::unique_ptr<IdPage[]>> m_pageBlocks; // every page made
    size_t m_pageCount = 0;                              // the pages of m_pageBlocks
    std::vector<IdPage*> m_sparePages;                   // pages not in the index; room for all of them
    int m_releasing = 0;                                 // BeginRelease calls not yet ended
    std::vector<const void*> m_leaving;                  // unregistered in the release, still in m_members
};
