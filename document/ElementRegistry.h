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

#include <unordered_set>

class CElement;

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
    static int BucketOf(long id);

    // Stores the bucket index in e and appends e at the tail of its bucket.
    // False (nothing done) for null or an element already in a registry.
    bool Register(CElement* e);
    // Takes e out of its bucket; nothing when e is not in this registry.
    void Unregister(CElement* e);
    // Detaches every element (the buckets become empty).
    void Clear();

    // The live element with that identifier, or null.
    CElement* Find(long id) const;
    bool IsElementExist(long id) const { return Find(id) != nullptr; }
    // Whether a live element sits at that address (e is not dereferenced).
    bool Contains(const CElement* e) const;

    CElement* GetBucketHead(int bucket) const;
    int GetCount() const { return static_cast<int>(m_members.size()); }

private:
    CElement* m_heads[kBucketCount];
    CElement* m_tails[kBucketCount];
    std::unordered_set<const CElement*> m_members;
};
