#include "host/Browser.h"

#include "host/Identifiers.h"

#include "platform/np/SharedPlatform.h"

#include <climits>
#include <cstring>

namespace qm::host {

namespace {

Browser* g_current = nullptr;

std::string Text(const char* s) { return s ? Quote(s) : std::string("null"); }

std::string Join(const std::vector<ScriptValue>& args)
{
    std::string out;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (i)
            out += ", ";
        out += args[i].Describe();
    }
    return out;
}

} // namespace

Browser::Browser(EventLog& log, BrowserOptions options)
    : m_log(log), m_options(std::move(options)), m_table(), m_previous(g_current)
{
    m_table.size = sizeof(NPNetscapeFuncs);
    m_table.version = NP_VERSION_HAS_SCRIPTING;
    m_table.geturl = GetURL;
    m_table.posturl = PostURL;
    m_table.requestread = RequestRead;
    m_table.newstream = NewStream;
    m_table.write = Write;
    m_table.destroystream = DestroyStream;
    m_table.status = Status;
    m_table.uagent = UserAgent;
    m_table.memalloc = MemAlloc;
    m_table.memfree = MemFree;
    m_table.memflush = MemFlush;
    m_table.reloadplugins = ReloadPlugins;
    m_table.getJavaEnv = GetJavaEnv;
    m_table.getJavaPeer = GetJavaPeer;
    m_table.geturlnotify = GetURLNotify;
    m_table.posturlnotify = PostURLNotify;
    m_table.getvalue = GetValue;
    m_table.setvalue = SetValue;
    m_table.invalidaterect = InvalidateRect;
    m_table.invalidateregion = InvalidateRegion;
    m_table.forceredraw = ForceRedraw;
    m_table.getstringidentifier = GetStringIdentifier;
    m_table.getstringidentifiers = GetStringIdentifiers;
    m_table.getintidentifier = GetIntIdentifier;
    m_table.identifierisstring = IdentifierIsString;
    m_table.utf8fromidentifier = UTF8FromIdentifier;
    m_table.intfromidentifier = IntFromIdentifier;
    m_table.createobject = CreateObject;
    m_table.retainobject = RetainObject;
    m_table.releaseobject = ReleaseObject;
    m_table.invoke = InvokeMethod;
    m_table.invokeDefault = InvokeDefault;
    m_table.evaluate = Evaluate;
    m_table.getproperty = GetPropertyEntry;
    m_table.setproperty = SetPropertyEntry;
    m_table.removeproperty = RemoveProperty;
    m_table.hasproperty = HasProperty;
    m_table.hasmethod = m_options.hasMethod ? HasMethod : nullptr;
    m_table.releasevariantvalue = ReleaseVariantValue;
    m_table.setexception = SetException;

    m_location = new LocationObject(*this);
    m_document = new DocumentObject(*this);
    m_window = new WindowObject(*this, *m_document, *m_location);
    for (HostObject* o : {static_cast<HostObject*>(m_location), static_cast<HostObject*>(m_document),
             static_cast<HostObject*>(m_window)})
        o->_class = HostObject::Class();
    m_account.AdoptHostObject(m_location, "the page's location object");
    m_account.AdoptHostObject(m_document, "the page's document object");
    m_account.AdoptHostObject(m_window, "the page's window object");
    g_current = this;
}

Browser::~Browser()
{
    g_current = m_previous;
    m_account.ReleaseHostHold(m_window);
    m_account.ReleaseHostHold(m_document);
    m_account.ReleaseHostHold(m_location);
}

Browser* Browser::Current() { return g_current; }

bool Browser::TakeInvalidation()
{
    const bool was = m_invalidated;
    m_invalidated = false;
    return was;
}

bool Browser::ToVariant(const ScriptValue& value, NPVariant& out, const std::string& origin)
{
    switch (value.type) {
    case NPVariantType_Null: np::SetNull(out); return true;
    case NPVariantType_Bool: np::SetBool(out, value.boolean); return true;
    case NPVariantType_Int32: np::SetInt32(out, value.integer); return true;
    case NPVariantType_Double: np::SetDouble(out, value.number); return true;
    case NPVariantType_String: {
        if (value.text.size() > UINT32_MAX - 1)
            return false;
        char* chars = m_account.AllocString(value.text, origin);
        if (!chars)
            return false;
        np::SetString(out, chars, static_cast<std::uint32_t>(value.text.size()));
        return true;
    }
    case NPVariantType_Object:
        if (!value.object || !m_account.IsLive(value.object))
            return false;
        np::SetObject(out, m_account.Retain(value.object));
        return true;
    default: np::SetVoid(out); return true;
    }
}

ScriptValue Browser::CheckedValue(const NPVariant& variant, const std::string& what)
{
    if (variant.type == NPVariantType_String) {
        const NPString& s = variant.value.stringValue;
        if (s.UTF8Length == 0)
            return ScriptValue::String(std::string());
        if (!s.UTF8Characters || !m_account.InsideBlock(s.UTF8Characters, s.UTF8Length)) {
            m_account.Fault(what + ": a string outside the memory it came in");
            return ScriptValue::String(std::string());
        }
    }
    if (variant.type == NPVariantType_Object && !m_account.IsLive(variant.value.objectValue)) {
        m_account.Fault(what + ": an object that is not alive");
        return ScriptValue::Null();
    }
    return FromVariant(variant);
}

ScriptValue Browser::ArgumentValue(const NPVariant& a, const std::string& what)
{
    if (a.type == NPVariantType_String && !m_account.IsBlock(a.value.stringValue.UTF8Characters)
        && !m_account.InsideBlock(a.value.stringValue.UTF8Characters, 1))
        return FromVariant(a);
    return CheckedValue(a, what);
}

NPObject* Browser::LiveObject(NPObject* object, const char* call)
{
    if (!object || !m_account.IsLive(object) || !object->_class) {
        m_account.Fault(std::string(call) + " on an object that is not alive");
        return nullptr;
    }
    return object;
}

bool Browser::GetProperty(NPP, NPObject* object, const std::string& name, ScriptValue& out)
{
    NPObject* o = LiveObject(object, "get");
    if (!o)
        return false;
    NPVariant result;
    np::SetVoid(result);
    const NPIdentifier id = Identifiers::Get().ForString(name.c_str());
    const bool ok = o->_class->getProperty && o->_class->getProperty(o, id, &result);
    out = ok ? CheckedValue(result, "get " + name) : ScriptValue();
    m_log.Add("get " + name + " -> " + (ok ? out.Describe() : std::string("failed")));
    m_account.ReleaseVariant(result, "the result of get " + name);
    out.object = nullptr; // released with the variant
    return ok;
}

bool Browser::SetProperty(NPP, NPObject* object, const std::string& name, const ScriptValue& value)
{
    NPObject* o = LiveObject(object, "set");
    if (!o)
        return false;
    NPVariant v;
    np::SetVoid(v);
    bool ok = ToVariant(value, v, "the value set to " + name);
    const NPIdentifier id = Identifiers::Get().ForString(name.c_str());
    ok = ok && o->_class->setProperty && o->_class->setProperty(o, id, &v);
    m_log.Add("set " + name + " = " + value.Describe() + " -> " + (ok ? "ok" : "refused"));
    m_account.ReleaseVariant(v, "the value set to " + name);
    return ok;
}

bool Browser::Invoke(
    NPP, NPObject* object, const std::string& name, const std::vector<ScriptValue>& args, ScriptValue& out)
{
    out = ScriptValue();
    NPObject* o = LiveObject(object, "call");
    if (!o)
        return false;
    std::vector<NPVariant> vars(args.size());
    bool ok = true;
    for (std::size_t i = 0; i < args.size(); ++i) {
        np::SetVoid(vars[i]);
        ok = ToVariant(args[i], vars[i], "an argument of " + name) && ok;
    }
    NPVariant result;
    np::SetVoid(result);
    const NPIdentifier id = Identifiers::Get().ForString(name.c_str());
    ok = ok && o->_class->invoke
        && o->_class->invoke(o, id, vars.data(), static_cast<std::uint32_t>(vars.size()), &result);
    if (ok)
        out = CheckedValue(result, "call " + name);
    m_log.Add("call " + name + "(" + Join(args) + ") -> " + (ok ? out.Describe() : std::string("false")));
    m_account.ReleaseVariant(result, "the result of " + name);
    out.object = nullptr;
    for (NPVariant& v : vars)
        m_account.ReleaseVariant(v, "an argument of " + name);
    return ok;
}

// ---- The table.

NPError Browser::GetURL(NPP, const char* url, const char* window)
{
    if (Browser* b = Current())
        b->m_log.Add("geturl " + Text(url) + " " + Text(window) + " -> refused");
    return NPERR_GENERIC_ERROR;
}

NPError Browser::PostURL(NPP, const char* url, const char* window, std::uint32_t, const char*, NPBool)
{
    if (Browser* b = Current())
        b->m_log.Add("posturl " + Text(url) + " " + Text(window) + " -> refused");
    return NPERR_GENERIC_ERROR;
}

NPError Browser::RequestRead(NPStream*, NPByteRange*)
{
    if (Browser* b = Current())
        b->m_log.Add("requestread -> refused");
    return NPERR_GENERIC_ERROR;
}

NPError Browser::NewStream(NPP, NPMIMEType, const char* window, NPStream** stream)
{
    if (stream)
        *stream = nullptr;
    if (Browser* b = Current())
        b->m_log.Add("newstream " + Text(window) + " -> refused");
    return NPERR_GENERIC_ERROR;
}

std::int32_t Browser::Write(NPP, NPStream*, std::int32_t, void*)
{
    if (Browser* b = Current())
        b->m_log.Add("write -> refused");
    return -1;
}

NPError Browser::DestroyStream(NPP, NPStream*, NPReason)
{
    if (Browser* b = Current())
        b->m_log.Add("destroystream -> refused");
    return NPERR_GENERIC_ERROR;
}

void Browser::Status(NPP, const char* message)
{
    if (Browser* b = Current())
        b->m_log.Add("status: " + std::string(message ? message : ""));
}

const char* Browser::UserAgent(NPP)
{
    Browser* b = Current();
    return b ? b->m_options.userAgent.c_str() : "";
}

void* Browser::MemAlloc(std::uint32_t size)
{
    Browser* b = Current();
    return b ? b->m_account.Alloc(size, "memalloc of " + std::to_string(size) + " bytes") : nullptr;
}

void Browser::MemFree(void* ptr)
{
    if (Browser* b = Current())
        b->m_account.Free(ptr, "memfree");
}

std::uint32_t Browser::MemFlush(std::uint32_t) { return 0; }

void Browser::ReloadPlugins(NPBool reloadPages)
{
    if (Browser* b = Current())
        b->m_log.Add(std::string("reloadplugins ") + (reloadPages ? "with pages" : "alone") + " -> ignored");
}

void* Browser::GetJavaEnv() { return nullptr; }

void* Browser::GetJavaPeer(NPP) { return nullptr; }

NPError Browser::GetURLNotify(NPP, const char* url, const char* window, void*)
{
    if (Browser* b = Current())
        b->m_log.Add("geturlnotify " + Text(url) + " " + Text(window) + " -> refused");
    return NPERR_GENERIC_ERROR;
}

NPError Browser::PostURLNotify(
    NPP, const char* url, const char* window, std::uint32_t, const char*, NPBool, void*)
{
    if (Browser* b = Current())
        b->m_log.Add("posturlnotify " + Text(url) + " " + Text(window) + " -> refused");
    return NPERR_GENERIC_ERROR;
}

NPError Browser::GetValue(NPP, NPNVariable variable, void* value)
{
    Browser* b = Current();
    if (!b)
        return NPERR_GENERIC_ERROR;
    if (!value) {
        b->m_account.Fault("get-value without a place for the answer");
        return NPERR_INVALID_PARAM;
    }
    switch (variable) {
    case NPNVWindowNPObject:
        if (!b->m_options.windowObject) {
            b->m_log.Add("get-value window object -> refused");
            return NPERR_GENERIC_ERROR;
        }
        *static_cast<NPObject**>(value) = b->m_account.Retain(b->m_window);
        return NPERR_NO_ERROR;
    case NPNVqmSharedPlatform:
        if (!b->m_options.sharePlatform)
            return NPERR_GENERIC_ERROR;
        *static_cast<NPQmSharedPlatform**>(value) = np::SharedPlatformRecord();
        return NPERR_NO_ERROR;
    default:
        b->m_log.Add("get-value " + std::to_string(int(variable)) + " -> refused");
        return NPERR_GENERIC_ERROR;
    }
}

NPError Browser::SetValue(NPP, NPPVariable variable, void*)
{
    if (Browser* b = Current())
        b->m_log.Add("set-value " + std::to_string(int(variable)) + " -> ignored");
    return NPERR_GENERIC_ERROR;
}

void Browser::InvalidateRect(NPP, NPRect*)
{
    if (Browser* b = Current())
        b->m_invalidated = true;
}

void Browser::InvalidateRegion(NPP, void*)
{
    if (Browser* b = Current())
        b->m_invalidated = true;
}

void Browser::ForceRedraw(NPP)
{
    if (Browser* b = Current())
        b->m_invalidated = true;
}

NPIdentifier Browser::GetStringIdentifier(const NPUTF8* name)
{
    try {
        return Identifiers::Get().ForString(name);
    } catch (...) {
        return nullptr;
    }
}

void Browser::GetStringIdentifiers(const NPUTF8** names, std::int32_t count, NPIdentifier* ids)
{
    if (!names || !ids)
        return;
    for (std::int32_t i = 0; i < count; ++i)
        ids[i] = GetStringIdentifier(names[i]);
}

NPIdentifier Browser::GetIntIdentifier(std::int32_t value)
{
    try {
        return Identifiers::Get().ForInt(value);
    } catch (...) {
        return nullptr;
    }
}

bool Browser::IdentifierIsString(NPIdentifier id)
{
    if (!Identifiers::Get().IsKnown(id)) {
        if (Browser* b = Current())
            b->m_account.Fault("identifierisstring on an identifier the browser did not give out");
        return false;
    }
    return Identifiers::Get().IsString(id);
}

NPUTF8* Browser::UTF8FromIdentifier(NPIdentifier id)
{
    Browser* b = Current();
    const std::string* name = Identifiers::Get().Name(id);
    if (!b || !name) {
        if (b && !Identifiers::Get().IsKnown(id))
            b->m_account.Fault("utf8fromidentifier on an identifier the browser did not give out");
        return nullptr;
    }
    return b->m_account.AllocName(*name, "the UTF-8 name of identifier " + Quote(*name));
}

std::int32_t Browser::IntFromIdentifier(NPIdentifier id)
{
    std::int32_t value = 0;
    if (Identifiers::Get().IntValue(id, value))
        return value;
    if (!Identifiers::Get().IsKnown(id))
        if (Browser* b = Current())
            b->m_account.Fault("intfromidentifier on an identifier the browser did not give out");
    return INT32_MIN;
}

NPObject* Browser::CreateObject(NPP npp, NPClass* aClass)
{
    Browser* b = Current();
    if (!b || !aClass)
        return nullptr;
    if (aClass->structVersion < 1) {
        b->m_account.Fault("createobject with a class of structure version 0");
        return nullptr;
    }
    return b->m_account.Create(npp, aClass, "an object of the plug-in's class");
}

NPObject* Browser::RetainObject(NPObject* object)
{
    Browser* b = Current();
    return b ? b->m_account.Retain(object) : object;
}

void Browser::ReleaseObject(NPObject* object)
{
    if (Browser* b = Current())
        b->m_account.Release(object);
}

bool Browser::InvokeMethod(
    NPP, NPObject* object, NPIdentifier name, const NPVariant* args, std::uint32_t count, NPVariant* result)
{
    Browser* b = Current();
    if (!b || !result || !b->LiveObject(object, "invoke"))
        return false;
    if (!Identifiers::Get().IsKnown(name)) {
        b->m_account.Fault("invoke with an identifier the browser did not give out");
        return false;
    }
    np::SetVoid(*result);
    return object->_class->invoke && object->_class->invoke(object, name, args, count, result);
}

bool Browser::InvokeDefault(
    NPP, NPObject* object, const NPVariant* args, std::uint32_t count, NPVariant* result)
{
    Browser* b = Current();
    if (!b || !result || !b->LiveObject(object, "invokeDefault"))
        return false;
    np::SetVoid(*result);
    return object->_class->invokeDefault && object->_class->invokeDefault(object, args, count, result);
}

bool Browser::Evaluate(NPP, NPObject* object, NPString* script, NPVariant* result)
{
    Browser* b = Current();
    if (!b || !result || !script || !b->LiveObject(object, "evaluate"))
        return false;
    np::SetVoid(*result);
    std::string text;
    if (script->UTF8Characters)
        text.assign(script->UTF8Characters, script->UTF8Length);
    b->m_log.Add("evaluate " + Quote(text) + " -> void");
    return true;
}

bool Browser::GetPropertyEntry(NPP, NPObject* object, NPIdentifier name, NPVariant* result)
{
    Browser* b = Current();
    if (!b || !result || !b->LiveObject(object, "getproperty"))
        return false;
    np::SetVoid(*result);
    return Identifiers::Get().IsKnown(name) && object->_class->getProperty
        && object->_class->getProperty(object, name, result);
}

bool Browser::SetPropertyEntry(NPP, NPObject* object, NPIdentifier name, const NPVariant* value)
{
    Browser* b = Current();
    if (!b || !value || !b->LiveObject(object, "setproperty"))
        return false;
    return Identifiers::Get().IsKnown(name) && object->_class->setProperty
        && object->_class->setProperty(object, name, value);
}

bool Browser::RemoveProperty(NPP, NPObject* object, NPIdentifier name)
{
    Browser* b = Current();
    if (!b || !b->LiveObject(object, "removeproperty"))
        return false;
    return Identifiers::Get().IsKnown(name) && object->_class->removeProperty
        && object->_class->removeProperty(object, name);
}

bool Browser::HasProperty(NPP, NPObject* object, NPIdentifier name)
{
    Browser* b = Current();
    if (!b || !b->LiveObject(object, "hasproperty"))
        return false;
    return Identifiers::Get().IsKnown(name) && object->_class->hasProperty
        && object->_class->hasProperty(object, name);
}

bool Browser::HasMethod(NPP, NPObject* object, NPIdentifier name)
{
    Browser* b = Current();
    if (!b || !b->LiveObject(object, "hasmethod"))
        return false;
    return Identifiers::Get().IsKnown(name) && object->_class->hasMethod
        && object->_class->hasMethod(object, name);
}

void Browser::ReleaseVariantValue(NPVariant* variant)
{
    Browser* b = Current();
    if (!b || !variant)
        return;
    b->m_account.ReleaseVariant(*variant, "releasevariantvalue");
}

void Browser::SetException(NPObject*, const NPUTF8* message)
{
    if (Browser* b = Current())
        b->m_log.Add("exception: " + std::string(message ? message : ""));
}

} // namespace qm::host
