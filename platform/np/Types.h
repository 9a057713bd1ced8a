#pragma once
// The browser plug-in interface: basic types. Written here from what the
// plug-in and our test browser use of the interface, in its published names:
// error codes, the instance record a browser makes for each plug-in tag,
// saved data, streams and the variables a browser and a plug-in ask each
// other for. Nothing of any real SDK is copied; layouts follow the interface
// as a 64-bit browser lays it out.

#include <cstdint>

typedef std::int16_t NPError;
typedef std::int16_t NPReason;
typedef unsigned char NPBool;
typedef char* NPMIMEType;

constexpr NPError NPERR_NO_ERROR = 0;
constexpr NPError NPERR_GENERIC_ERROR = 1;
constexpr NPError NPERR_INVALID_INSTANCE_ERROR = 2;
constexpr NPError NPERR_INVALID_FUNCTABLE_ERROR = 3;
constexpr NPError NPERR_MODULE_LOAD_FAILED_ERROR = 4;
constexpr NPError NPERR_OUT_OF_MEMORY_ERROR = 5;
constexpr NPError NPERR_INVALID_PLUGIN_ERROR = 6;
constexpr NPError NPERR_INVALID_PLUGIN_DIR_ERROR = 7;
constexpr NPError NPERR_INCOMPATIBLE_VERSION_ERROR = 8;
constexpr NPError NPERR_INVALID_PARAM = 9;
constexpr NPError NPERR_INVALID_URL = 10;

constexpr NPReason NPRES_DONE = 0;
constexpr NPReason NPRES_NETWORK_ERR = 1;
constexpr NPReason NPRES_USER_BREAK = 2;

// How the plug-in sits in the page (the mode argument of NPP_New).
constexpr std::uint16_t NP_EMBED = 1;
constexpr std::uint16_t NP_FULL = 2;

// Stream delivery types (NPP_NewStream's out-argument).
constexpr std::uint16_t NP_NORMAL = 1;
constexpr std::uint16_t NP_SEEK = 2;
constexpr std::uint16_t NP_ASFILE = 3;
constexpr std::uint16_t NP_ASFILEONLY = 4;

// One plug-in tag on a page. The browser owns the record; the plug-in keeps
// its own state in pdata.
struct NPP_t
{
    void* pdata; // the plug-in's
    void* ndata; // the browser's
};
typedef NPP_t* NPP;

struct NPSavedData
{
    std::int32_t len;
    void* buf;
};

struct NPStream
{
    void* pdata;
    void* ndata;
    const char* url;
    std::uint32_t end;
    std::uint32_t lastmodified;
    void* notifyData;
    const char* headers;
};

struct NPByteRange
{
    std::int32_t offset;
    std::uint32_t length;
    NPByteRange* next;
};

struct NPPrint; // printing is not used; only passed through

// What the browser asks the plug-in for (NPP_GetValue).
enum NPPVariable
{
    NPPVpluginNameString = 1,
    NPPVpluginDescriptionString = 2,
    NPPVpluginScriptableNPObject = 15,
    NPPVformValue = 16
};

// What the plug-in asks the browser for (NPN_GetValue).
enum NPNVariable
{
    NPNVWindowNPObject = 15,        // the page's window object, retained for the caller
    NPNVPluginElementNPObject = 16, // the plug-in's own element
    // Private to this system's browser: the platform state to share (see
    // platform/np/SharedPlatform.h). Any other browser refuses it.
    NPNVqmSharedPlatform = 0x514D5053 // 'QMPS'
};
