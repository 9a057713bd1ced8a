#include "host/PageObjects.h"

#include "host/Browser.h"
#include "host/Identifiers.h"

namespace qm::host {

namespace {

HostObject* Self(NPObject* object) { return static_cast<HostObject*>(object); }

const std::string* NameOf(NPIdentifier id) { return Identifiers::Get().Name(id); }

void Deallocate(NPObject* object) { delete Self(object); }

bool HasMethodCallback(NPObject* object, NPIdentifier id)
{
    const std::string* name = NameOf(id);
    return name && Self(object)->HasMethod(*name);
}

bool InvokeCallback(
    NPObject* object, NPIdentifier id, const NPVariant* args, std::uint32_t count, NPVariant* result)
{
    const std::string* name = NameOf(id);
    Browser* browser = Browser::Current();
    if (!name || !browser)
        return false;
    std::vector<ScriptValue> values;
    for (std::uint32_t i = 0; args && i < count; ++i)
        values.push_back(browser->ArgumentValue(args[i], "an argument of " + *name));
    return Self(object)->Invoke(*name, values, *result);
}

bool InvokeDefaultCallback(NPObject*, const NPVariant*, std::uint32_t, NPVariant*) { return false; }

bool HasPropertyCallback(NPObject* object, NPIdentifier id)
{
    const std::string* name = NameOf(id);
    return name && Self(object)->HasProperty(*name);
}

bool GetPropertyCallback(NPObject* object, NPIdentifier id, NPVariant* result)
{
    const std::string* name = NameOf(id);
    return name && Self(object)->GetProperty(*name, *result);
}

bool SetPropertyCallback(NPObject* object, NPIdentifier id, const NPVariant* value)
{
    const std::string* name = NameOf(id);
    Browser* browser = Browser::Current();
    if (!name || !browser)
        return false;
    return Self(object)->SetProperty(*name, browser->ArgumentValue(*value, "the value of " + *name));
}

bool RemovePropertyCallback(NPObject* object, NPIdentifier id)
{
    const std::string* name = NameOf(id);
    return name && Self(object)->RemoveProperty(*name);
}

NPClass g_class = {NP_CLASS_STRUCT_VERSION, nullptr, Deallocate, nullptr, HasMethodCallback, InvokeCallback,
    InvokeDefaultCallback, HasPropertyCallback, GetPropertyCallback, SetPropertyCallback,
    RemovePropertyCallback};

// A string handed to the plug-in, in memory from memalloc so that it can
// release it.
bool StringResult(Browser& browser, const std::string& text, NPVariant& result, const std::string& origin)
{
    return browser.ToVariant(ScriptValue::String(text), result, origin);
}

std::string Join(const std::vector<ScriptValue>& args)
{
    std::string out;
    for (std::size_t i = 0; i < args.size(); ++i)
        out += (i ? ", " : "") + args[i].Describe();
    return out;
}

} // namespace

NPClass* HostObject::Class() { return &g_class; }

bool LocationObject::GetProperty(const std::string& name, NPVariant& result)
{
    return name == "href" && StringResult(m_browser, href, result, "the string location.href");
}

bool DocumentObject::GetProperty(const std::string& name, NPVariant& result)
{
    return name == "cookie" && StringResult(m_browser, cookie, result, "the string document.cookie");
}

bool DocumentObject::SetProperty(const std::string& name, const ScriptValue& value)
{
    if (name != "cookie" || value.type != NPVariantType_String)
        return false;
    cookie = value.text;
    m_browser.Log().Add("page: document.cookie = " + value.Describe());
    return true;
}

bool WindowObject::Invoke(const std::string& name, const std::vector<ScriptValue>& args, NPVariant& result)
{
    if (!HasMethod(name)) {
        m_browser.Log().Add("page: no function " + name);
        return false;
    }
    m_browser.Log().Add("page: " + name + "(" + Join(args) + ")");
    if (onCall) {
        const Call call = onCall; // the page's script may change the page
        call(name, args);
    }
    np::SetVoid(result);
    return true;
}

bool WindowObject::HasProperty(const std::string& name)
{
    return name == "document" || name == "location" || m_properties.count(name) != 0;
}

bool WindowObject::GetProperty(const std::string& name, NPVariant& result)
{
    if (name == "document" || name == "location") {
        NPObject* object = name == "document" ? static_cast<NPObject*>(&m_document) : &m_location;
        np::SetObject(result, m_browser.Account().Retain(object));
        return true;
    }
    auto it = m_properties.find(name);
    return it != m_properties.end() && m_browser.ToVariant(it->second, result, "the string window." + name);
}

bool WindowObject::SetProperty(const std::string& name, const ScriptValue& value)
{
    if (name == "document" || name == "location" || value.type == NPVariantType_Object)
        return false;
    m_properties[name] = value;
    m_browser.Log().Add("page: window." + name + " = " + value.Describe());
    return true;
}

bool WindowObject::RemoveProperty(const std::string& name)
{
    if (m_properties.erase(name) == 0)
        return false;
    m_browser.Log().Add("page: delete window." + name);
    return true;
}

} // namespace qm::host
