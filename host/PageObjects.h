#pragma once
// The page's script objects as the plug-in sees them through the browser:
// the window object (the page's functions, its document and location, and
// properties the plug-in sets on it), the document (its cookie) and the
// location (its address). They are browser-side objects: counted by the
// browser's accounting like the plug-in's own, held once by the page.

#include "host/ScriptValue.h"

#include "platform/np/Runtime.h"

#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace qm::host {

class Browser;

// The head every browser-side object shares: the class callbacks dispatch
// to these.
class HostObject : public NPObject
{
public:
    explicit HostObject(Browser& browser) : m_browser(browser) { }
    virtual ~HostObject() = default;
    HostObject(const HostObject&) = delete;
    HostObject& operator=(const HostObject&) = delete;

    virtual bool HasMethod(const std::string&) { return false; }
    virtual bool Invoke(const std::string&, const std::vector<ScriptValue>&, NPVariant&) { return false; }
    virtual bool HasProperty(const std::string&) { return false; }
    virtual bool GetProperty(const std::string&, NPVariant&) { return false; }
    virtual bool SetProperty(const std::string&, const ScriptValue&) { return false; }
    virtual bool RemoveProperty(const std::string&) { return false; }

    // The class of every browser-side object.
    static NPClass* Class();

protected:
    Browser& m_browser;
};

class LocationObject : public HostObject
{
public:
    using HostObject::HostObject;
    std::string href;

    bool HasProperty(const std::string& name) override { return name == "href"; }
    bool GetProperty(const std::string& name, NPVariant& result) override;
};

class DocumentObject : public HostObject
{
public:
    using HostObject::HostObject;
    std::string cookie;

    bool HasProperty(const std::string& name) override { return name == "cookie"; }
    bool GetProperty(const std::string& name, NPVariant& result) override;
    bool SetProperty(const std::string& name, const ScriptValue& value) override;
};

class WindowObject : public HostObject
{
public:
    using Call = std::function<void(const std::string& name, const std::vector<ScriptValue>& args)>;

    WindowObject(Browser& browser, DocumentObject& document, LocationObject& location)
        : HostObject(browser), m_document(document), m_location(location)
    { }

    // The functions the page defines, by name (matched exactly).
    std::set<std::string> functions;
    // Called after a page function's call is logged; the page's script may
    // call back into the plug-in from here.
    Call onCall;

    bool HasMethod(const std::string& name) override { return functions.count(name) != 0; }
    bool Invoke(const std::string& name, const std::vector<ScriptValue>& args, NPVariant& result) override;
    bool HasProperty(const std::string& name) override;
    bool GetProperty(const std::string& name, NPVariant& result) override;
    bool SetProperty(const std::string& name, const ScriptValue& value) override;
    bool RemoveProperty(const std::string& name) override;

private:
    DocumentObject& m_document;
    LocationObject& m_location;
    std::map<std::string, ScriptValue> m_properties; // objects are not kept
};

} // namespace qm::host
