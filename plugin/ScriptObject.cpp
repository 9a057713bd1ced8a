#include "plugin/ScriptObject.h"

#include "plugin/MorvaXEditorCtrl.h"
#include "plugin/Plugin.h"

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

// The control behind the object: null before the first window has made
// it and after the instance is gone, when every call that would reach it
// answers false.
CMorvaXEditorCtrl* ControlOf(NPObject* object)
{
    if (!object)
        return nullptr;
    CPlugin* owner = static_cast<XObject*>(object)->owner;
    return owner ? owner->m_pXEditorCtrl : nullptr;
}

bool xHasMethod(NPObject* object, NPIdentifier name)
{
    CMorvaXEditorCtrl* control = ControlOf(object);
    return control && control->Mozilla_HasMethod(name);
}

bool xInvoke(
    NPObject* object, NPIdentifier name, const NPVariant* args, std::uint32_t count, NPVariant* result)
{
    CMorvaXEditorCtrl* control = ControlOf(object);
    return control && control->Mozilla_Invoke(name, args, count, result);
}

bool xInvokeDefault(NPObject*, const NPVariant*, std::uint32_t, NPVariant*) { return false; }

bool xHasProperty(NPObject* object, NPIdentifier name)
{
    CMorvaXEditorCtrl* control = ControlOf(object);
    return control && control->Mozilla_HasProperty(name);
}

bool xGetProperty(NPObject* object, NPIdentifier name, NPVariant* result)
{
    CMorvaXEditorCtrl* control = ControlOf(object);
    return control && control->Mozilla_GetProperty(name, result);
}

bool xSetProperty(NPObject* object, NPIdentifier name, const NPVariant* value)
{
    CMorvaXEditorCtrl* control = ControlOf(object);
    return control && control->Mozilla_SetProperty(name, value);
}

bool xRemoveProperty(NPObject*, NPIdentifier) { return false; }

} // namespace

NPClass XClass = {NP_CLASS_STRUCT_VERSION, xAllocate, xDeallocate, xInvalidate, xHasMethod, xInvoke,
    xInvokeDefault, xHasProperty, xGetProperty, xSetProperty, xRemoveProperty};
