#pragma once
// The module's entry points, with C linkage; the shared module exports these
// and nothing else.
//
// NP_Initialize keeps the browser's table; NP_GetEntryPoints fills the
// plug-in's table (version 11) and turns on the two-byte key route
// (editor/KeyRoute.h); NP_MainEntry is the main-style start of browsers that
// hand over both tables and a slot for the shutdown function at once: it
// keeps a copy of the browser's table and fills the plug-in's table with
// version 14. NP_Shutdown lets go of the browser and, when no control is
// alive, cleans up the XML libraries' process-wide state.
//
// A browser table smaller than the members the plug-in calls (up to the
// release of a variant value) is refused with NPERR_INVALID_FUNCTABLE_ERROR,
// as is a null table.

#include "platform/np/Functions.h"

extern "C" {
NPError NP_Initialize(NPNetscapeFuncs* browserFuncs);
NPError NP_GetEntryPoints(NPPluginFuncs* pluginFuncs);
NPError NP_MainEntry(NPNetscapeFuncs* browserFuncs, NPPluginFuncs* pluginFuncs, NP_ShutdownFunc* shutdown);
NPError NP_Shutdown();
}

// The instance functions the plug-in's table points to.
NPError NPP_New(NPMIMEType pluginType, NPP instance, std::uint16_t mode, std::int16_t argc, char* argn[],
    char* argv[], NPSavedData* saved);
NPError NPP_Destroy(NPP instance, NPSavedData** save);
NPError NPP_SetWindow(NPP instance, NPWindow* window);
NPError NPP_NewStream(NPP instance, NPMIMEType type, NPStream* stream, NPBool seekable, std::uint16_t* stype);
NPError NPP_DestroyStream(NPP instance, NPStream* stream, NPReason reason);
void NPP_StreamAsFile(NPP instance, NPStream* stream, const char* fname);
std::int32_t NPP_WriteReady(NPP instance, NPStream* stream);
std::int32_t NPP_Write(NPP instance, NPStream* stream, std::int32_t offset, std::int32_t len, void* buffer);
void NPP_Print(NPP instance, NPPrint* platformPrint);
std::int16_t NPP_HandleEvent(NPP instance, void* event);
void NPP_URLNotify(NPP instance, const char* url, NPReason reason, void* notifyData);
NPError NPP_GetValue(NPP instance, NPPVariable variable, void* value);
NPError NPP_SetValue(NPP instance, NPNVariable variable, void* value);
