#pragma once
// The browser's identifiers: interned for the life of the process, so the
// same name (or integer) always gives the same identifier, and a plug-in may
// keep identifiers across instances. String identifiers hold UTF-8 names;
// integer identifiers are not strings. An identifier pointer the browser
// never gave out is recognised as unknown rather than read.

#include "platform/np/Runtime.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <unordered_set>

namespace qm::host {

class Identifiers
{
public:
    static Identifiers& Get();

    // Null for a null name.
    NPIdentifier ForString(const char* utf8);
    NPIdentifier ForInt(std::int32_t value);

    bool IsKnown(NPIdentifier id) const;
    bool IsString(NPIdentifier id) const;
    // The name of a string identifier; null for an integer or unknown one.
    const std::string* Name(NPIdentifier id) const;
    // The value of an integer identifier; false for a string or unknown one.
    bool IntValue(NPIdentifier id, std::int32_t& out) const;
    // For the log: the name, "#<n>" for an integer, "?" for an unknown one.
    std::string Describe(NPIdentifier id) const;

private:
    struct Record
    {
        bool isString = false;
        std::string name;
        std::int32_t value = 0;
    };

    std::map<std::string, std::unique_ptr<Record>> m_strings;
    std::map<std::int32_t, std::unique_ptr<Record>> m_ints;
    std::unordered_set<const Record*> m_all;
};

} // namespace qm::host
