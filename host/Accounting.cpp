#include "host/Accounting.h"

#include <cstdlib>
#include <cstring>

namespace qm::host {

namespace {

void Deallocate(NPObject* object)
{
    NPClass* c = object->_class;
    if (c && c->deallocate)
        c->deallocate(object);
    else
        std::free(object);
}

} // namespace

Accounting::~Accounting()
{
    // What is left was reported as leaked; it goes now so that it does not
    // outlive the browser (the module is still loaded at this point).
    while (!m_objects.empty()) {
        auto* object = const_cast<NPObject*>(m_objects.begin()->first);
        m_objects.erase(m_objects.begin());
        Deallocate(object);
    }
    for (auto& [ptr, block] : m_blocks)
        std::free(const_cast<void*>(ptr));
}

void* Accounting::Alloc(std::size_t size, const std::string& origin)
{
    void* p = std::malloc(size == 0 ? 1 : size);
    if (!p)
        return nullptr;
    try {
        m_blocks.emplace(p, Block{size, origin});
    } catch (...) {
        std::free(p);
        return nullptr;
    }
    ++m_totals.blocksMade;
    return p;
}

char* Accounting::AllocString(const std::string& text, const std::string& origin)
{
    auto* p = static_cast<char*>(Alloc(text.size() + 1, origin));
    if (p) {
        std::memcpy(p, text.data(), text.size());
        p[text.size()] = 0;
    }
    return p;
}

char* Accounting::AllocName(const std::string& name, const std::string& origin)
{
    char* p = AllocString(name, origin);
    if (p) {
        m_blocks[p].name = true;
        ++m_totals.namesMade;
    }
    return p;
}

bool Accounting::Free(void* ptr, const std::string& what)
{
    if (!ptr)
        return true;
    auto it = m_blocks.find(ptr);
    if (it == m_blocks.end()) {
        Fault(what + ": memory that did not come from memalloc, or was freed already");
        return false;
    }
    ++m_totals.blocksFreed;
    if (it->second.name)
        ++m_totals.namesFreed;
    m_blocks.erase(it);
    std::free(ptr);
    return true;
}

std::size_t Accounting::BlockSize(const void* ptr) const
{
    auto it = m_blocks.find(ptr);
    return it == m_blocks.end() ? 0 : it->second.size;
}

bool Accounting::InsideBlock(const void* ptr, std::size_t length) const
{
    if (!ptr || m_blocks.empty())
        return false;
    auto it = m_blocks.upper_bound(ptr);
    if (it == m_blocks.begin())
        return false;
    --it;
    const auto* start = static_cast<const char*>(it->first);
    const auto* p = static_cast<const char*>(ptr);
    const std::size_t offset = static_cast<std::size_t>(p - start);
    return offset <= it->second.size && length <= it->second.size - offset;
}

NPObject* Accounting::Create(NPP npp, NPClass* aClass, const std::string& origin)
{
    if (!aClass)
        return nullptr;
    NPObject* object = aClass->allocate ? aClass->allocate(npp, aClass)
                                        : static_cast<NPObject*>(std::calloc(1, sizeof(NPObject)));
    if (!object)
        return nullptr;
    object->_class = aClass;
    object->referenceCount = 1;
    try {
        m_objects[object] = ObjectInfo{origin, 0, true};
    } catch (...) {
        Deallocate(object);
        return nullptr;
    }
    ++m_totals.objectsMade;
    return object;
}

void Accounting::AdoptHostObject(NPObject* object, const std::string& origin)
{
    object->referenceCount = 1;
    m_objects[object] = ObjectInfo{origin, 1, false};
}

NPObject* Accounting::Retain(NPObject* object)
{
    if (!object)
        return nullptr;
    if (!IsLive(object)) {
        Fault("retain of an object that is not alive");
        return object;
    }
    ++object->referenceCount;
    return object;
}

void Accounting::Release(NPObject* object)
{
    if (!object)
        return;
    auto it = m_objects.find(object);
    if (it == m_objects.end()) {
        Fault("release of an object that is not alive (released past 0)");
        return;
    }
    if (object->referenceCount <= it->second.hostHolds) {
        Fault("release of " + it->second.origin + " past the references it was given");
        return;
    }
    if (--object->referenceCount == 0) {
        if (it->second.made)
            ++m_totals.objectsGone;
        m_objects.erase(it);
        Deallocate(object);
    }
}

void Accounting::ReleaseHostHold(NPObject* object)
{
    auto it = m_objects.find(object);
    if (it == m_objects.end() || it->second.hostHolds == 0)
        return;
    --it->second.hostHolds;
    Release(object);
}

void Accounting::ReleaseVariant(NPVariant& variant, const std::string& what)
{
    if (variant.type == NPVariantType_String) {
        auto* chars = const_cast<NPUTF8*>(variant.value.stringValue.UTF8Characters);
        if (chars && !IsBlock(chars))
            Fault(what + ": a string that did not come from memalloc");
        else
            Free(chars, what);
    } else if (variant.type == NPVariantType_Object) {
        Release(variant.value.objectValue);
    }
    variant.type = NPVariantType_Void;
    variant.value.objectValue = nullptr;
}

std::vector<std::string> Accounting::Leaks() const
{
    std::vector<std::string> out;
    for (const auto& [ptr, block] : m_blocks)
        out.push_back("leak: " + std::to_string(block.size) + " bytes for " + block.origin);
    for (const auto& [object, info] : m_objects)
        if (object->referenceCount > info.hostHolds)
            out.push_back("leak: " + info.origin + " with " + std::to_string(object->referenceCount)
                + " references (" + std::to_string(info.hostHolds) + " the host's)");
    return out;
}

} // namespace qm::host
