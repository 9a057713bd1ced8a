#include "host/Identifiers.h"

namespace qm::host {

Identifiers& Identifiers::Get()
{
    // Never destroyed: identifiers stay valid for the life of the process.
    static Identifiers* ids = new Identifiers();
    return *ids;
}

NPIdentifier Identifiers::ForString(const char* utf8)
{
    if (!utf8)
        return nullptr;
    auto it = m_strings.find(utf8);
    if (it == m_strings.end()) {
        auto record = std::make_unique<Record>();
        record->isString = true;
        record->name = utf8;
        it = m_strings.emplace(record->name, std::move(record)).first;
        m_all.insert(it->second.get());
    }
    return it->second.get();
}

NPIdentifier Identifiers::ForInt(std::int32_t value)
{
    auto it = m_ints.find(value);
    if (it == m_ints.end()) {
        auto record = std::make_unique<Record>();
        record->value = value;
        it = m_ints.emplace(value, std::move(record)).first;
        m_all.insert(it->second.get());
    }
    return it->second.get();
}

bool Identifiers::IsKnown(NPIdentifier id) const
{
    return id && m_all.count(static_cast<const Record*>(id)) != 0;
}

bool Identifiers::IsString(NPIdentifier id) const
{
    return IsKnown(id) && static_cast<const Record*>(id)->isString;
}

const std::string* Identifiers::Name(NPIdentifier id) const
{
    return IsString(id) ? &static_cast<const Record*>(id)->name : nullptr;
}

bool Identifiers::IntValue(NPIdentifier id, std::int32_t& out) const
{
    if (!IsKnown(id) || static_cast<const Record*>(id)->isString)
        return false;
    out = static_cast<const Record*>(id)->value;
    return true;
}

std::string Identifiers::Describe(NPIdentifier id) const
{
    if (const std::string* name = Name(id))
        return *name;
    std::int32_t value = 0;
    if (IntValue(id, value))
        return "#" + std::to_string(value);
    return "?";
}

} // namespace qm::host
