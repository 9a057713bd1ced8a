#pragma once
// What a careful browser keeps count of for a plug-in: the memory blocks it
// handed out (memalloc) until they are freed (memfree), and the script
// objects it made until their count falls to 0. A fault of the plug-in (a
// free of memory that is not a live block, a release past 0, a string that
// did not come from memalloc, a dead object used) is recorded, not acted
// on, so that it cannot corrupt the browser; a block or object still alive
// when the page is done is a leak. Running totals say how many blocks,
// identifier names and objects were ever handed out and how many came back,
// so a long run can show that everything it made was given back.

#include "platform/np/Runtime.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace qm::host {

// Counts since the accounts were opened. A block handed out for an
// identifier's name is counted both as a block and as a name.
struct AccountTotals
{
    std::size_t blocksMade = 0;
    std::size_t blocksFreed = 0;
    std::size_t namesMade = 0;
    std::size_t namesFreed = 0;
    std::size_t objectsMade = 0; // through createobject
    std::size_t objectsGone = 0; // of those, deallocated at their last release
};

class Accounting
{
public:
    Accounting() = default;
    ~Accounting();
    Accounting(const Accounting&) = delete;
    Accounting& operator=(const Accounting&) = delete;

    // ---- Memory blocks. origin says what the block was made for (the log).
    void* Alloc(std::size_t size, const std::string& origin);
    // A copy of the text with a terminating zero; null when out of memory.
    char* AllocString(const std::string& text, const std::string& origin);
    // The UTF-8 name of an identifier, counted as a name too.
    char* AllocName(const std::string& name, const std::string& origin);
    // False (and a fault) when ptr is not a live block; null is ignored.
    bool Free(void* ptr, const std::string& what);
    bool IsBlock(const void* ptr) const { return m_blocks.count(ptr) != 0; }
    // The size of the live block at ptr, 0 when none.
    std::size_t BlockSize(const void* ptr) const;
    // Whether [ptr, ptr + length) lies inside one live block.
    bool InsideBlock(const void* ptr, std::size_t length) const;
    std::size_t BlockCount() const { return m_blocks.size(); }
    // Identifier names handed out and not yet freed.
    std::size_t NameCount() const { return m_totals.namesMade - m_totals.namesFreed; }
    const AccountTotals& Totals() const { return m_totals; }

    // ---- Objects. The host's own holds are counted apart, so that an
    // object the host keeps is a leak only when more is held of it.
    NPObject* Create(NPP npp, NPClass* aClass, const std::string& origin);
    // Takes an object the host made itself with count 1 and one host hold.
    void AdoptHostObject(NPObject* object, const std::string& origin);
    NPObject* Retain(NPObject* object);
    void Release(NPObject* object);
    // The host gives up one of its holds (and the reference that goes with it).
    void ReleaseHostHold(NPObject* object);
    bool IsLive(const NPObject* object) const { return m_objects.count(object) != 0; }
    std::size_t ObjectCount() const { return m_objects.size(); }

    // Frees what a variant holds (a string through Free, an object through
    // Release) and makes it void; what names the release in a fault.
    void ReleaseVariant(NPVariant& variant, const std::string& what = "release of a variant");

    // Faults so far, and what is alive beyond the host's own holds.
    const std::vector<std::string>& Faults() const { return m_faults; }
    void Fault(std::string text) { m_faults.push_back(std::move(text)); }
    std::vector<std::string> Leaks() const;

private:
    struct Block
    {
        std::size_t size;
        std::string origin;
        bool name = false;
    };
    struct ObjectInfo
    {
        std::string origin;
        std::uint32_t hostHolds = 0;
        bool made = false; // through Create, not adopted from the host
    };

    std::map<const void*, Block> m_blocks;
    std::map<const NPObject*, ObjectInfo> m_objects;
    std::vector<std::string> m_faults;
    AccountTotals m_totals;
};

} // namespace qm::host
