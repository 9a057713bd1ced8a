#pragma once
// The two function tables of the browser plug-in interface and the module's
// entry points.
//
// Both tables begin with a 16-bit size and a 16-bit version, then hold
// function pointers in the interface's published order; a 64-bit browser
// lays each pointer in its own 8-byte word, so member i of a table is at
// word i (the size and version share word 0). Code calls the members by
// name; tests/platform/np_test.cpp holds the word of every member that the
// plug-in uses.
//
// The module exports NP_Initialize (takes the browser's table, which stays
// valid until NP_Shutdown), NP_GetEntryPoints (fills the plug-in's table)
// and NP_Shutdown, all with C linkage.

#include "platform/np/Runtime.h"
#include "platform/np/Types.h"
#include "platform/np/Window.h"

#include <cstdint>

// ---- What the browser offers the plug-in.
typedef NPError (*NPN_GetURLProcPtr)(NPP instance, const char* url, const char* window);
typedef NPError (*NPN_PostURLProcPtr)(
    NPP instance, const char* url, const char* window, std::uint32_t len, const char* buf, NPBool file);
typedef NPError (*NPN_RequestReadProcPtr)(NPStream* stream, NPByteRange* rangeList);
typedef NPError (*NPN_NewStreamProcPtr)(NPP instance, NPMIMEType type, const char* window, NPStream** stream);
typedef std::int32_t (*NPN_WriteProcPtr)(NPP instance, NPStream* stream, std::int32_t len, void* buffer);
typedef NPError (*NPN_DestroyStreamProcPtr)(NPP instance, NPStream* stream, NPReason reason);
typedef void (*NPN_StatusProcPtr)(NPP instance, const char* message);
typedef const char* (*NPN_UserAgentProcPtr)(NPP instance);
typedef void* (*NPN_MemAllocProcPtr)(std::uint32_t size);
typedef void (*NPN_MemFreeProcPtr)(void* ptr);
typedef std::uint32_t (*NPN_MemFlushProcPtr)(std::uint32_t size);
typedef void (*NPN_ReloadPluginsProcPtr)(NPBool reloadPages);
typedef void* (*NPN_GetJavaEnvProcPtr)();
typedef void* (*NPN_GetJavaPeerProcPtr)(NPP instance);
typedef NPError (*NPN_GetURLNotifyProcPtr)(
    NPP instance, const char* url, const char* window, void* notifyData);
typedef NPError (*NPN_PostURLNotifyProcPtr)(NPP instance, const char* url, const char* window,
    std::uint32_t len, const char* buf, NPBool file, void* notifyData);
typedef NPError (*NPN_GetValueProcPtr)(NPP instance, NPNVariable variable, void* value);
typedef NPError (*NPN_SetValueProcPtr)(NPP instance, NPPVariable variable, void* value);
typedef void (*NPN_InvalidateRectProcPtr)(NPP instance, NPRect* rect);
typedef void (*NPN_InvalidateRegionProcPtr)(NPP instance, void* region);
typedef void (*NPN_ForceRedrawProcPtr)(NPP instance);
typedef NPIdentifier (*NPN_GetStringIdentifierProcPtr)(const NPUTF8* name);
typedef void (*NPN_GetStringIdentifiersProcPtr)(
    const NPUTF8** names, std::int32_t nameCount, NPIdentifier* identifiers);
typedef NPIdentifier (*NPN_GetIntIdentifierProcPtr)(std::int32_t intid);
typedef bool (*NPN_IdentifierIsStringProcPtr)(NPIdentifier identifier);
typedef NPUTF8* (*NPN_UTF8FromIdentifierProcPtr)(NPIdentifier identifier);
typedef std::int32_t (*NPN_IntFromIdentifierProcPtr)(NPIdentifier identifier);
typedef NPObject* (*NPN_CreateObjectProcPtr)(NPP npp, NPClass* aClass);
typedef NPObject* (*NPN_RetainObjectProcPtr)(NPObject* obj);
typedef void (*NPN_ReleaseObjectProcPtr)(NPObject* obj);
typedef bool (*NPN_InvokeProcPtr)(NPP npp, NPObject* obj, NPIdentifier methodName, const NPVariant* args,
    std::uint32_t argCount, NPVariant* result);
typedef bool (*NPN_InvokeDefaultProcPtr)(
    NPP npp, NPObject* obj, const NPVariant* args, std::uint32_t argCount, NPVariant* result);
typedef bool (*NPN_EvaluateProcPtr)(NPP npp, NPObject* obj, NPString* script, NPVariant* result);
typedef bool (*NPN_GetPropertyProcPtr)(NPP npp, NPObject* obj, NPIdentifier propertyName, NPVariant* result);
typedef bool (*NPN_SetPropertyProcPtr)(
    NPP npp, NPObject* obj, NPIdentifier propertyName, const NPVariant* value);
typedef bool (*NPN_RemovePropertyProcPtr)(NPP npp, NPObject* obj, NPIdentifier propertyName);
typedef bool (*NPN_HasPropertyProcPtr)(NPP npp, NPObject* obj, NPIdentifier propertyName);
typedef bool (*NPN_HasMethodProcPtr)(NPP npp, NPObject* obj, NPIdentifier methodName);
typedef void (*NPN_ReleaseVariantValueProcPtr)(NPVariant* variant);
typedef void (*NPN_SetExceptionProcPtr)(NPObject* obj, const NPUTF8* message);

// The version a browser with script objects reports.
constexpr std::uint16_t NP_VERSION_HAS_SCRIPTING = 14;

struct NPNetscapeFuncs
{
    std::uint16_t size; // word 0
    std::uint16_t version;
    NPN_GetURLProcPtr geturl;                             // 1
    NPN_PostURLProcPtr posturl;                           // 2
    NPN_RequestReadProcPtr requestread;                   // 3
    NPN_NewStreamProcPtr newstream;                       // 4
    NPN_WriteProcPtr write;                               // 5
    NPN_DestroyStreamProcPtr destroystream;               // 6
    NPN_StatusProcPtr status;                             // 7
    NPN_UserAgentProcPtr uagent;                          // 8
    NPN_MemAllocProcPtr memalloc;                         // 9
    NPN_MemFreeProcPtr memfree;                           // 10
    NPN_MemFlushProcPtr memflush;                         // 11
    NPN_ReloadPluginsProcPtr reloadplugins;               // 12
    NPN_GetJavaEnvProcPtr getJavaEnv;                     // 13
    NPN_GetJavaPeerProcPtr getJavaPeer;                   // 14
    NPN_GetURLNotifyProcPtr geturlnotify;                 // 15
    NPN_PostURLNotifyProcPtr posturlnotify;               // 16
    NPN_GetValueProcPtr getvalue;                         // 17
    NPN_SetValueProcPtr setvalue;                         // 18
    NPN_InvalidateRectProcPtr invalidaterect;             // 19
    NPN_InvalidateRegionProcPtr invalidateregion;         // 20
    NPN_ForceRedrawProcPtr forceredraw;                   // 21
    NPN_GetStringIdentifierProcPtr getstringidentifier;   // 22
    NPN_GetStringIdentifiersProcPtr getstringidentifiers; // 23
    NPN_GetIntIdentifierProcPtr getintidentifier;         // 24
    NPN_IdentifierIsStringProcPtr identifierisstring;     // 25
    NPN_UTF8FromIdentifierProcPtr utf8fromidentifier;     // 26
    NPN_IntFromIdentifierProcPtr intfromidentifier;       // 27
    NPN_CreateObjectProcPtr createobject;                 // 28
    NPN_RetainObjectProcPtr retainobject;                 // 29
    NPN_ReleaseObjectProcPtr releaseobject;               // 30
    NPN_InvokeProcPtr invoke;                             // 31
    NPN_InvokeDefaultProcPtr invokeDefault;               // 32
    NPN_EvaluateProcPtr evaluate;                         // 33
    NPN_GetPropertyProcPtr getproperty;                   // 34
    NPN_SetPropertyProcPtr setproperty;                   // 35
    NPN_RemovePropertyProcPtr removeproperty;             // 36
    NPN_HasPropertyProcPtr hasproperty;                   // 37
    NPN_HasMethodProcPtr hasmethod;                       // 38
    NPN_ReleaseVariantValueProcPtr releasevariantvalue;   // 39
    NPN_SetExceptionProcPtr setexception;                 // 40
};

// ---- What the plug-in offers the browser.
typedef NPError (*NPP_NewProcPtr)(NPMIMEType pluginType, NPP instance, std::uint16_t mode, std::int16_t argc,
    char* argn[], char* argv[], NPSavedData* saved);
typedef NPError (*NPP_DestroyProcPtr)(NPP instance, NPSavedData** save);
typedef NPError (*NPP_SetWindowProcPtr)(NPP instance, NPWindow* window);
typedef NPError (*NPP_NewStreamProcPtr)(
    NPP instance, NPMIMEType type, NPStream* stream, NPBool seekable, std::uint16_t* stype);
typedef NPError (*NPP_DestroyStreamProcPtr)(NPP instance, NPStream* stream, NPReason reason);
typedef void (*NPP_StreamAsFileProcPtr)(NPP instance, NPStream* stream, const char* fname);
typedef std::int32_t (*NPP_WriteReadyProcPtr)(NPP instance, NPStream* stream);
typedef std::int32_t (*NPP_WriteProcPtr)(
    NPP instance, NPStream* stream, std::int32_t offset, std::int32_t len, void* buffer);
typedef void (*NPP_PrintProcPtr)(NPP instance, NPPrint* platformPrint);
typedef std::int16_t (*NPP_HandleEventProcPtr)(NPP instance, void* event);
typedef void (*NPP_URLNotifyProcPtr)(NPP instance, const char* url, NPReason reason, void* notifyData);
typedef NPError (*NPP_GetValueProcPtr)(NPP instance, NPPVariable variable, void* value);
typedef NPError (*NPP_SetValueProcPtr)(NPP instance, NPNVariable variable, void* value);

struct NPPluginFuncs
{
    std::uint16_t size; // word 0
    std::uint16_t version;
    NPP_NewProcPtr newp;                    // 1
    NPP_DestroyProcPtr destroy;             // 2
    NPP_SetWindowProcPtr setwindow;         // 3
    NPP_NewStreamProcPtr newstream;         // 4
    NPP_DestroyStreamProcPtr destroystream; // 5
    NPP_StreamAsFileProcPtr asfile;         // 6
    NPP_WriteReadyProcPtr writeready;       // 7
    NPP_WriteProcPtr write;                 // 8
    NPP_PrintProcPtr print;                 // 9
    NPP_HandleEventProcPtr event;           // 10
    NPP_URLNotifyProcPtr urlnotify;         // 11
    void* javaClass;                        // 12, left untouched
    NPP_GetValueProcPtr getvalue;           // 13
    NPP_SetValueProcPtr setvalue;           // 14
};

// ---- The module's entry points.
typedef NPError (*NP_InitializeFunc)(NPNetscapeFuncs* browserFuncs);
typedef NPError (*NP_GetEntryPointsFunc)(NPPluginFuncs* pluginFuncs);
typedef NPError (*NP_ShutdownFunc)();
