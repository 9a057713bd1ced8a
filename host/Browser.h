#pragma once
// The browser's side of the plug-in interface: the function table a module
// gets in NP_Initialize, with the accounting a careful browser keeps
// (platform/np for the records, host/Accounting.h for the counts), the
// interned identifiers and the page's script objects.
//
// The table's functions are plain C functions, so they reach the browser
// through Current(): one browser exists at a time. What the plug-in asks
// for is checked before it is used: objects must be alive, identifiers must
// be ones this browser gave out, strings handed back must lie in memory from
// memalloc. Calls that a page's browser would serve from the network
// (streams, URLs) are refused and logged; the plug-in's own requests go
// through platform/net.

#include "host/Accounting.h"
#include "host/EventLog.h"
#include "host/PageObjects.h"
#include "host/ScriptValue.h"

#include "platform/np/Functions.h"

#include <memory>
#include <string>
#include <vector>

namespace qm::host {

struct BrowserOptions
{
    bool hasMethod = true;     // false: the table has no has-method entry
    bool windowObject = true;  // false: get-value for the window object is refused
    bool sharePlatform = true; // false: the private platform variable is refused
    std::string userAgent = "Quillmark test host";
};

class Browser
{
public:
    Browser(EventLog& log, BrowserOptions options = BrowserOptions());
    ~Browser();
    Browser(const Browser&) = delete;
    Browser& operator=(const Browser&) = delete;

    // The browser that the table's functions serve; null when none exists.
    static Browser* Current();

    NPNetscapeFuncs* Table() { return &m_table; }
    Accounting& Account() { return m_account; }
    const Accounting& GetAccount() const { return m_account; }
    EventLog& Log() { return m_log; }
    const BrowserOptions& Options() const { return m_options; }

    // The page.
    void SetAddress(const std::string& address) { m_location->href = address; }
    void SetCookie(const std::string& cookie) { m_document->cookie = cookie; }
    WindowObject& Window() { return *m_window; }

    // Invalidations asked for since the last call (the host repaints).
    bool TakeInvalidation();

    // ---- Calls the host makes on the plug-in's objects. Each logs its
    // outcome, converts the plug-in's answer and releases it through the
    // accounting (so a string that did not come from memalloc is a fault).
    bool GetProperty(NPP npp, NPObject* object, const std::string& name, ScriptValue& out);
    bool SetProperty(NPP npp, NPObject* object, const std::string& name, const ScriptValue& value);
    bool Invoke(NPP npp, NPObject* object, const std::string& name, const std::vector<ScriptValue>& args,
        ScriptValue& out);

    // A variant holding the value, strings allocated through memalloc (the
    // receiver or ReleaseVariant frees them); false when out of memory.
    bool ToVariant(const ScriptValue& value, NPVariant& out, const std::string& origin);
    // The value of a variant the plug-in handed over, checked: a string must
    // lie in a live memalloc block (else a fault and an empty text).
    ScriptValue CheckedValue(const NPVariant& variant, const std::string& what);
    // The value of an argument the plug-in passes (it stays the caller's): a
    // string in memalloc memory must lie within its block, one elsewhere is
    // read as given; an object must be alive.
    ScriptValue ArgumentValue(const NPVariant& variant, const std::string& what);

    // The table's functions (public for the table and for tests).
    static NPError GetURL(NPP, const char* url, const char* window);
    static NPError PostURL(NPP, const char* url, const char* window, std::uint32_t, const char*, NPBool);
    static NPError RequestRead(NPStream*, NPByteRange*);
    static NPError NewStream(NPP, NPMIMEType, const char*, NPStream**);
    static std::int32_t Write(NPP, NPStream*, std::int32_t, void*);
    static NPError DestroyStream(NPP, NPStream*, NPReason);
    static void Status(NPP, const char* message);
    static const char* UserAgent(NPP);
    static void* MemAlloc(std::uint32_t size);
    static void MemFree(void* ptr);
    static std::uint32_t MemFlush(std::uint32_t);
    static void ReloadPlugins(NPBool);
    static void* GetJavaEnv();
    static void* GetJavaPeer(NPP);
    static NPError GetURLNotify(NPP, const char* url, const char* window, void*);
    static NPError PostURLNotify(
        NPP, const char* url, const char* window, std::uint32_t, const char*, NPBool, void*);
    static NPError GetValue(NPP, NPNVariable variable, void* value);
    static NPError SetValue(NPP, NPPVariable variable, void* value);
    static void InvalidateRect(NPP, NPRect* rect);
    static void InvalidateRegion(NPP, void* region);
    static void ForceRedraw(NPP);
    static NPIdentifier GetStringIdentifier(const NPUTF8* name);
    static void GetStringIdentifiers(const NPUTF8** names, std::int32_t count, NPIdentifier* ids);
    static NPIdentifier GetIntIdentifier(std::int32_t value);
    static bool IdentifierIsString(NPIdentifier id);
    static NPUTF8* UTF8FromIdentifier(NPIdentifier id);
    static std::int32_t IntFromIdentifier(NPIdentifier id);
    static NPObject* CreateObject(NPP npp, NPClass* aClass);
    static NPObject* RetainObject(NPObject* object);
    static void ReleaseObject(NPObject* object);
    static bool InvokeMethod(NPP, NPObject*, NPIdentifier, const NPVariant*, std::uint32_t, NPVariant*);
    static bool InvokeDefault(NPP, NPObject*, const NPVariant*, std::uint32_t, NPVariant*);
    static bool Evaluate(NPP, NPObject*, NPString*, NPVariant*);
    static bool GetPropertyEntry(NPP, NPObject*, NPIdentifier, NPVariant*);
    static bool SetPropertyEntry(NPP, NPObject*, NPIdentifier, const NPVariant*);
    static bool RemoveProperty(NPP, NPObject*, NPIdentifier);
    static bool HasProperty(NPP, NPObject*, NPIdentifier);
    static bool HasMethod(NPP, NPObject*, NPIdentifier);
    static void ReleaseVariantValue(NPVariant* variant);
    static void SetException(NPObject*, const NPUTF8* message);

private:
    // The plug-in's object (alive, with a class), or null after a fault.
    NPObject* LiveObject(NPObject* object, const char* call);

    EventLog& m_log;
    BrowserOptions m_options;
    Accounting m_account;
    NPNetscapeFuncs m_table;
    LocationObject* m_location;
    DocumentObject* m_document;
    WindowObject* m_window;
    bool m_invalidated = false;
    Browser* m_previous;
};

} // namespace qm::host
