#include "host/ScriptValue.h"

#include "host/EventLog.h"

#include <cstdio>

namespace qm::host {

ScriptValue ScriptValue::Null()
{
    ScriptValue v;
    v.type = NPVariantType_Null;
    return v;
}

ScriptValue ScriptValue::Bool(bool b)
{
    ScriptValue v;
    v.type = NPVariantType_Bool;
    v.boolean = b;
    return v;
}

ScriptValue ScriptValue::Int(std::int32_t i)
{
    ScriptValue v;
    v.type = NPVariantType_Int32;
    v.integer = i;
    return v;
}

ScriptValue ScriptValue::Double(double d)
{
    ScriptValue v;
    v.type = NPVariantType_Double;
    v.number = d;
    return v;
}

ScriptValue ScriptValue::String(std::string s)
{
    ScriptValue v;
    v.type = NPVariantType_String;
    v.text = std::move(s);
    return v;
}

ScriptValue ScriptValue::Object(NPObject* o)
{
    ScriptValue v;
    v.type = NPVariantType_Object;
    v.object = o;
    return v;
}

std::string ScriptValue::Describe() const
{
    switch (type) {
    case NPVariantType_Null: return "null";
    case NPVariantType_Bool: return boolean ? "true" : "false";
    case NPVariantType_Int32: return std::to_string(integer);
    case NPVariantType_Double: {
        char buf[40];
        std::snprintf(buf, sizeof buf, "%g", number);
        return buf;
    }
    case NPVariantType_String: return Quote(text);
    case NPVariantType_Object: return "object";
    default: return "void";
    }
}

ScriptValue FromVariant(const NPVariant& variant)
{
    switch (variant.type) {
    case NPVariantType_Null: return ScriptValue::Null();
    case NPVariantType_Bool: return ScriptValue::Bool(variant.value.boolValue);
    case NPVariantType_Int32: return ScriptValue::Int(variant.value.intValue);
    case NPVariantType_Double: return ScriptValue::Double(variant.value.doubleValue);
    case NPVariantType_String: {
        const NPString& s = variant.value.stringValue;
        if (!s.UTF8Characters)
            return ScriptValue::String(std::string());
        return ScriptValue::String(std::string(s.UTF8Characters, s.UTF8Length));
    }
    case NPVariantType_Object: return ScriptValue::Object(variant.value.objectValue);
    default: return ScriptValue::Void();
    }
}

} // namespace qm::host
