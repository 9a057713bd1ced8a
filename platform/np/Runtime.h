#pragma once
// Scripting across the browser plug-in interface: identifiers, variants,
// objects and their classes.
//
// An identifier names a property or method: a string or an integer. The
// browser interns them, so equal names give the same identifier for the
// life of the process. A variant carries one script value; a string variant
// holds UTF-8 bytes and their byte length (not counting any terminating
// zero), in memory allocated through the browser's memory allocation, so
// that whoever releases the variant can hand it back (release variant
// value). An object has a class (the table of callbacks below, structure
// version 1) and a reference count that the browser keeps: create gives 1,
// retain adds one, release takes one and the browser deallocates the object
// at 0.

#include "platform/np/Types.h"

#include <cstdint>

typedef void* NPIdentifier;
typedef char NPUTF8;

struct NPString
{
    const NPUTF8* UTF8Characters;
    std::uint32_t UTF8Length;
};

enum NPVariantType
{
    NPVariantType_Void = 0,
    NPVariantType_Null = 1,
    NPVariantType_Bool = 2,
    NPVariantType_Int32 = 3,
    NPVariantType_Double = 4,
    NPVariantType_String = 5,
    NPVariantType_Object = 6
};

struct NPObject;

struct NPVariant
{
    NPVariantType type;
    union
    {
        bool boolValue;
        std::int32_t intValue;
        double doubleValue;
        NPString stringValue;
        NPObject* objectValue;
    } value;
};

struct NPClass;

typedef NPObject* (*NPAllocateFunctionPtr)(NPP npp, NPClass* aClass);
typedef void (*NPDeallocateFunctionPtr)(NPObject* obj);
typedef void (*NPInvalidateFunctionPtr)(NPObject* obj);
typedef bool (*NPHasMethodFunctionPtr)(NPObject* obj, NPIdentifier name);
typedef bool (*NPInvokeFunctionPtr)(
    NPObject* obj, NPIdentifier name, const NPVariant* args, std::uint32_t argCount, NPVariant* result);
typedef bool (*NPInvokeDefaultFunctionPtr)(
    NPObject* obj, const NPVariant* args, std::uint32_t argCount, NPVariant* result);
typedef bool (*NPHasPropertyFunctionPtr)(NPObject* obj, NPIdentifier name);
typedef bool (*NPGetPropertyFunctionPtr)(NPObject* obj, NPIdentifier name, NPVariant* result);
typedef bool (*NPSetPropertyFunctionPtr)(NPObject* obj, NPIdentifier name, const NPVariant* value);
typedef bool (*NPRemovePropertyFunctionPtr)(NPObject* obj, NPIdentifier name);

// The class structure of version 1: the callbacks in this order, any of them
// may be null (allocate and deallocate then fall back to the browser's own).
constexpr std::uint32_t NP_CLASS_STRUCT_VERSION = 1;

struct NPClass
{
    std::uint32_t structVersion;
    NPAllocateFunctionPtr allocate;
    NPDeallocateFunctionPtr deallocate;
    NPInvalidateFunctionPtr invalidate;
    NPHasMethodFunctionPtr hasMethod;
    NPInvokeFunctionPtr invoke;
    NPInvokeDefaultFunctionPtr invokeDefault;
    NPHasPropertyFunctionPtr hasProperty;
    NPGetPropertyFunctionPtr getProperty;
    NPSetPropertyFunctionPtr setProperty;
    NPRemovePropertyFunctionPtr removeProperty;
};

// The head of every object; a class's allocate may make a larger record that
// begins with it.
struct NPObject
{
    NPClass* _class;
    std::uint32_t referenceCount;
};

// Filling variants. A string variant takes the pointer as it is: the caller
// allocates it through the browser when the variant goes to the browser.
namespace qm::np {

inline void SetVoid(NPVariant& v)
{
    v.type = NPVariantType_Void;
    v.value.objectValue = nullptr;
}
inline void SetNull(NPVariant& v)
{
    v.type = NPVariantType_Null;
    v.value.objectValue = nullptr;
}
inline void SetBool(NPVariant& v, bool b)
{
    v.type = NPVariantType_Bool;
    v.value.boolValue = b;
}
inline void SetInt32(NPVariant& v, std::int32_t i)
{
    v.type = NPVariantType_Int32;
    v.value.intValue = i;
}
inline void SetDouble(NPVariant& v, double d)
{
    v.type = NPVariantType_Double;
    v.value.doubleValue = d;
}
inline void SetString(NPVariant& v, const NPUTF8* chars, std::uint32_t length)
{
    v.type = NPVariantType_String;
    v.value.stringValue.UTF8Characters = chars;
    v.value.stringValue.UTF8Length = length;
}
inline void SetObject(NPVariant& v, NPObject* object)
{
    v.type = NPVariantType_Object;
    v.value.objectValue = object;
}

} // namespace qm::np
