#pragma once
// The scriptable object a page reaches the editor through, one per plug-in
// instance (CPlugin::GetScriptableObject). The browser makes it through the
// class XClass and counts its references; the object records the CPlugin
// that owns it and the instance it was made for.
//
// A page may keep the object after the instance is destroyed: the CPlugin
// then clears the owner before it lets go of its own reference, and every
// callback that would reach the control answers false from then on.

#include "platform/np/Runtime.h"

class CPlugin;

struct XObject : NPObject
{
    CPlugin* owner; // null before the CPlugin stores itself and after it is gone
    NPP instance;   // the instance the object was made for
};

extern NPClass XClass;

NPObject* xAllocate(NPP instance, NPClass* aClass);
void xDeallocate(NPObject* object);
void xInvalidate(NPObject* object);
