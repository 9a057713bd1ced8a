#pragma once
// A script value as the host's page script holds it: one of the variant
// types of the plug-in interface, with its content. Objects are referred to,
// not owned.

#include "platform/np/Runtime.h"

#include <cstdint>
#include <string>

namespace qm::host {

struct ScriptValue
{
    NPVariantType type = NPVariantType_Void;
    bool boolean = false;
    std::int32_t integer = 0;
    double number = 0;
    std::string text; // UTF-8
    NPObject* object = nullptr;

    static ScriptValue Void() { return ScriptValue(); }
    static ScriptValue Null();
    static ScriptValue Bool(bool b);
    static ScriptValue Int(std::int32_t i);
    static ScriptValue Double(double d);
    static ScriptValue String(std::string s);
    static ScriptValue Object(NPObject* o);

    // For the log: void, null, true, 42, 2.5, "text" (quoted), object.
    std::string Describe() const;
};

// The value a variant holds (its string copied). An unknown type reads as void.
ScriptValue FromVariant(const NPVariant& variant);

} // namespace qm::host
