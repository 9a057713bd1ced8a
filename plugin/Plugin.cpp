// The plug-in instance record: parameters, building the control, window
// changes, events, the scriptable object and the form value.

#include "plugin/Plugin.h"

#include "base/app/PropExchange.h"
#include "base/shims/PortShims.h"
#include "editor/XHTML.h"
#include "plugin/MorvaXEditorCtrl.h"
#include "plugin/NPBrowser.h"
#include "plugin/NPVariants.h"
#include "plugin/ScriptEvents.h"
#include "plugin/ScriptObject.h"

#include <cstring>
#include <new>

namespace {

char* CopyText(const char* text)
{
    const std::size_t n = std::strlen(text);
    char* copy = new (std::nothrow) char[n + 1];
    if (copy)
        std::memcpy(copy, text, n + 1);
    return copy;
}

bool ClipIsEmpty(const NPRect& clip) { return clip.left == clip.right && clip.top == clip.bottom; }

bool SameClip(const NPRect& a, const NPRect& b)
{
    return a.top == b.top && a.left == b.left && a.bottom == b.bottom && a.right == b.right;
}

// start + size as a clip edge, held at the largest edge a clip can have.
std::uint16_t Edge(std::uint16_t start, std::uint32_t size)
{
    const std::uint32_t edge = start + static_cast<std::uint64_t>(size) > 0xFFFFu ? 0xFFFFu : start + size;
    return static_cast<std::uint16_t>(edge);
}

} // namespace

CPlugin::CPlugin(NPP instance) : m_pNPInstance(instance) { }

CPlugin::~CPlugin()
{
    if (m_pXEditorCtrl || m_pWindowObject)
        shut();
    FreeArguments();
    if (m_pScriptableObject) {
        // The page may keep the object: it must not reach this record again.
        static_cast<XObject*>(m_pScriptableObject)->owner = nullptr;
        if (browser && browser->releaseobject)
            browser->releaseobject(m_pScriptableObject);
        m_pScriptableObject = nullptr;
    }
}

void CPlugin::FreeArguments()
{
    for (std::int32_t i = 0; i < m_argc; ++i) {
        if (m_argn)
            delete[] m_argn[i];
        if (m_argv)
            delete[] m_argv[i];
    }
    delete[] m_argn;
    delete[] m_argv;
    m_argn = nullptr;
    m_argv = nullptr;
    m_argc = 0;
}

bool CPlugin::SetArguments(std::int16_t argc, char* argn[], char* argv[])
{
    FreeArguments();
    const std::int32_t count = argc > 0 && argn && argv ? argc : 0;
    m_argn = new (std::nothrow) char*[count + 1]();
    m_argv = new (std::nothrow) char*[count + 1]();
    if (!m_argn || !m_argv) {
        FreeArguments();
        return false;
    }
    m_argc = count;
    for (std::int32_t i = 0; i < count; ++i) {
        // A name the browser gave as null stays null, as a value does.
        if ((argn[i] && !(m_argn[i] = CopyText(argn[i]))) || (argv[i] && !(m_argv[i] = CopyText(argv[i])))) {
            FreeArguments();
            return false;
        }
    }
    return true;
}

void CPlugin::Init(NPWindow* window)
{
    m_Window = *window;
    m_pXEditorCtrl = new CMorvaXEditorCtrl();

    CPropExchange exchange(
        const_cast<const char**>(m_argn), const_cast<const char**>(m_argv), static_cast<int>(m_argc));
    m_pXEditorCtrl->DoPropExchange(&exchange);

    NPObject* windowObject = nullptr;
    if (browser && browser->getvalue
        && browser->getvalue(m_pNPInstance, NPNVWindowNPObject, &windowObject) != NPERR_NO_ERROR)
        windowObject = nullptr;
    m_pWindowObject = windowObject;
    m_pXEditorCtrl->m_pWindowObject = windowObject;
    m_pXEditorCtrl->m_pNPInstance = m_pNPInstance;
    m_pXEditorCtrl->m_pPlugin = this;

    if (m_pWindowObject) {
        AskForEvents();
        TakeCookie();
        TakePageAddress();
    }

    m_pXEditorCtrl->SetWindow(&m_Window);
    m_pXEditorCtrl->OnCreate(&m_Window);
    m_bInitialized = 1;
}

// An event's flag is set when the page has a function of its name, and for
// every event when the browser cannot be asked.
void CPlugin::AskForEvents()
{
    for (int i = 0; i < kScriptEventCount; ++i) {
        bool present = true;
        if (browser->hasmethod) {
            NPIdentifier name
                = browser->getstringidentifier ? browser->getstringidentifier(kScriptEventNames[i]) : nullptr;
            present = name && browser->hasmethod(m_pNPInstance, m_pWindowObject, name);
        }
        m_pXEditorCtrl->m_eventFlags[i] = present ? 1 : 0;
    }
}

// A string property of an object property of the page's window object
// (window.<object>.<property>); false when either is missing or the
// property is not a string.
bool CPlugin::ReadWindowString(const char* object, const char* property, CSafeBuf& out)
{
    out.Empty();
    if (!browser->getstringidentifier || !browser->getproperty || !browser->releasevariantvalue)
        return false;
    NPVariant holder;
    qm::np::SetVoid(holder);
    NPIdentifier holderName = browser->getstringidentifier(object);
    if (!holderName || !browser->getproperty(m_pNPInstance, m_pWindowObject, holderName, &holder))
        return false;
    bool found = false;
    if (holder.type == NPVariantType_Object && holder.value.objectValue) {
        NPVariant value;
        qm::np::SetVoid(value);
        NPIdentifier valueName = browser->getstringidentifier(property);
        if (valueName && browser->getproperty(m_pNPInstance, holder.value.objectValue, valueName, &value)
            && value.type == NPVariantType_String) {
            GetStringFromNPString(value.value.stringValue, out);
            found = true;
        }
        browser->releasevariantvalue(&value);
    }
    browser->releasevariantvalue(&holder);
    return found;
}

// The page's cookie (window.document.cookie), when it is a string that is
// not empty.
void CPlugin::TakeCookie()
{
    CSafeBuf text;
    if (ReadWindowString("document", "cookie", text) && !text.IsEmpty())
        m_pXEditorCtrl->SetCookie(text);
}

// The page's address (window.location.href): the origin whose documents
// page script may read back through the control.
void CPlugin::TakePageAddress()
{
    CSafeBuf text;
    if (ReadWindowString("location", "href", text))
        m_pXEditorCtrl->m_pageAddress = text;
}

void CPlugin::SetWindow(NPWindow* window)
{
    if (!m_pXEditorCtrl || !window)
        return;
    const NPRect& clip = window->clipRect;
    const NPRect& stored = m_Window.clipRect;
    if (window->x == m_Window.x && window->y == m_Window.y && window->width == m_Window.width
        && window->height == m_Window.height) {
        const bool newClip = !(clip.left == clip.right || clip.top == clip.bottom) && !SameClip(clip, stored);
        if (!newClip) {
            if (stored.right != 0)
                return;
            if (clip.left == 0 && clip.right == 0)
                return;
        }
    }
    m_Window = *window;
    // A window shown with no clip at all is taken as wholly visible.
    if (ClipIsEmpty(m_Window.clipRect)) {
        m_Window.clipRect.bottom = Edge(m_Window.clipRect.top, m_Window.height);
        m_Window.clipRect.right = Edge(m_Window.clipRect.left, m_Window.width);
    }
    m_pXEditorCtrl->SetWindow(&m_Window);
}

void CPlugin::ShowHide(bool show)
{
    if (m_pXEditorCtrl)
        m_pXEditorCtrl->ShowHidePlugin(show);
}

std::int16_t CPlugin::HandleEvent(EventRecord* event)
{
    if (!m_pXEditorCtrl || !event)
        return 0;
    if (event->what == keyDown && (event->message & charCodeMask) == 9)
        return 0;

    GrafPtr oldPort = nullptr;
    Rect oldBounds{0, 0, 0, 0};
    RgnHandle oldClip = nullptr;
    NP_Port* port = static_cast<NP_Port*>(m_Window.window);
    BackupOldPort(oldPort, oldBounds, oldClip, port ? port->port : nullptr, m_Window.x, m_Window.y);
    EventRecord local = *event;
    dGlobalToLocal(&local.where);

    // The control sees the browser's own record while it handles the event.
    m_pXEditorCtrl->m_pCurrentEvent = event;
    const std::int16_t handled = static_cast<std::int16_t>(m_pXEditorCtrl->HandleEvent(&local));
    m_pXEditorCtrl->m_pCurrentEvent = nullptr;

    RestoreOldPort(oldPort, oldBounds, oldClip);
    return handled;
}

NPObject* CPlugin::GetScriptableObject()
{
    if (!browser || !browser->createobject || !browser->retainobject)
        return nullptr;
    if (!m_pScriptableObject) {
        m_pScriptableObject = browser->createobject(m_pNPInstance, &XClass);
        if (!m_pScriptableObject)
            return nullptr;
        static_cast<XObject*>(m_pScriptableObject)->owner = this;
    }
    return browser->retainobject(m_pScriptableObject);
}

char* CPlugin::GetValue()
{
    if (!browser || !browser->memalloc)
        return nullptr;
    CSafeBuf value;
    if (m_pXEditorCtrl && m_pXEditorCtrl->m_pXHTML && m_pXEditorCtrl->m_pXHTML->m_doc.m_root)
        m_pXEditorCtrl->GetValue1(value);
    char* utf8 = nullptr;
    const int bytes = value.IsEmpty() ? 0 : value.CreateUTF8Str(&utf8);
    auto* block = static_cast<char*>(browser->memalloc(static_cast<std::uint32_t>(bytes) + 1));
    if (block) {
        if (bytes > 0)
            std::memcpy(block, utf8, static_cast<std::size_t>(bytes));
        block[bytes] = 0;
    }
    delete[] utf8;
    return block;
}

void CPlugin::shut()
{
    m_bInitialized = 0;
    if (m_pXEditorCtrl) {
        CMorvaXEditorCtrl* control = m_pXEditorCtrl;
        m_pXEditorCtrl = nullptr;
        delete control;
    }
    if (m_pWindowObject) {
        NPObject* windowObject = m_pWindowObject;
        m_pWindowObject = nullptr;
        if (browser && browser->releaseobject)
            browser->releaseobject(windowObject);
    }
}
