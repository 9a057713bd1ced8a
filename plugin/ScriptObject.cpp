#include "plugin/ScriptObject.h"

#include <new>

NPObject* xAllocate(NPP instance, NPClass*)
{
    auto* object = new (std::nothrow) XObject();
    if (!object)
        return nullptr;
    object->_class = nullptr;
    object->referenceCount = 0;
    object->owner = nullptr;
    object->instance = instance;
    return object;
}

void xDeallocate(NPObject* object) { delete static_cast<XObject*>(object); }

void xInvalidate(NPObject*) { }

namespace {

// The control's script names are not served yet: a call that would reach
// the control answers false, as it does for an object without one.
bool xHasMethod(NPObject*, NPIdentifier) { return false; }
bool xInvoke(NPObject*, NPIdentifier, const NPVariant*, std::uint32_t, NPVariant*) { return false; }
bool xInvokeDefault(NPObject*, const NPVariant*, std::uint32_t, NPVariant*) { return false; }
bool xHasProperty(NPObject*, NPIdentifier) { return false; }
bool xGetProperty(NPObject*, NPIdentifier, NPVariant*) { return false; }
bool xSetProperty(NPObject*, NPIdentifier, const NPVariant*) { return false; }
bool xRemoveProperty(NPObject*, NPIdentifier) { return false; }

} // namespace

NPClass XClass = {NP_CLASS_STRUCT_VERSION, xAllocate, xDeallocate, xInvalidate, xHasMethod, xInvoke,
    xInvokeDefault, xHasProperty, xGetProperty, xSetProperty, xRemoveProperty};
