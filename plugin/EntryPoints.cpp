// The module's entry points and the instance functions of the plug-in's
// table.

#include "plugin/EntryPoints.h"

#include "base/xml/XmlLibrary.h"
#include "editor/KeyRoute.h"
#include "platform/np/SharedPlatform.h"
#include "plugin/MorvaXEditorCtrl.h"
#include "plugin/NPBrowser.h"
#include "plugin/Plugin.h"

#include <cstddef>
#include <cstring>
#include <new>

NPNetscapeFuncs* browser = nullptr;

namespace {

// The copy the main-style entry point made of the browser's table; owned.
NPNetscapeFuncs* g_browserCopy = nullptr;

// The members the plug-in calls end with the release of a variant value.
constexpr std::size_t kBrowserTableMinSize = offsetof(NPNetscapeFuncs, setexception);

bool UsableBrowserTable(const NPNetscapeFuncs* table) { return table && table->size >= kBrowserTableMinSize; }

void DropBrowserCopy()
{
    if (browser == g_browserCopy)
        browser = nullptr;
    delete g_browserCopy;
    g_browserCopy = nullptr;
}

void FillPluginFuncs(NPPluginFuncs* funcs, std::uint16_t version)
{
    funcs->size = sizeof(NPPluginFuncs);
    funcs->version = version;
    funcs->newp = NPP_New;
    funcs->destroy = NPP_Destroy;
    funcs->setwindow = NPP_SetWindow;
    funcs->newstream = NPP_NewStream;
    funcs->destroystream = NPP_DestroyStream;
    funcs->asfile = NPP_StreamAsFile;
    funcs->writeready = NPP_WriteReady;
    funcs->write = NPP_Write;
    funcs->print = NPP_Print;
    funcs->event = NPP_HandleEvent;
    funcs->urlnotify = NPP_URLNotify;
    // javaClass is left as the browser gave it.
    funcs->getvalue = NPP_GetValue;
    funcs->setvalue = NPP_SetValue;
}

CPlugin* PluginOf(NPP instance) { return instance ? static_cast<CPlugin*>(instance->pdata) : nullptr; }

} // namespace

extern "C" NPError NP_Initialize(NPNetscapeFuncs* browserFuncs)
{
    if (!UsableBrowserTable(browserFuncs))
        return NPERR_INVALID_FUNCTABLE_ERROR;
    DropBrowserCopy();
    browser = browserFuncs;
    return NPERR_NO_ERROR;
}

extern "C" NPError NP_GetEntryPoints(NPPluginFuncs* pluginFuncs)
{
    if (!pluginFuncs)
        return NPERR_INVALID_FUNCTABLE_ERROR;
    FillPluginFuncs(pluginFuncs, 11);
    g_IsSafara = 1;
    return NPERR_NO_ERROR;
}

extern "C" NPError NP_MainEntry(
    NPNetscapeFuncs* browserFuncs, NPPluginFuncs* pluginFuncs, NP_ShutdownFunc* shutdown)
{
    if (!UsableBrowserTable(browserFuncs) || !pluginFuncs)
        return NPERR_INVALID_FUNCTABLE_ERROR;
    auto* copy = new (std::nothrow) NPNetscapeFuncs();
    if (!copy)
        return NPERR_OUT_OF_MEMORY_ERROR;
    // Every member after the size and version, as far as the browser's
    // table reaches; the size and version of the copy stay 0.
    const std::size_t first = offsetof(NPNetscapeFuncs, geturl);
    const std::size_t end
        = browserFuncs->size < sizeof(NPNetscapeFuncs) ? browserFuncs->size : sizeof(NPNetscapeFuncs);
    std::memcpy(reinterpret_cast<char*>(copy) + first, reinterpret_cast<const char*>(browserFuncs) + first,
        end - first);
    DropBrowserCopy();
    g_browserCopy = copy;
    browser = copy;
    FillPluginFuncs(pluginFuncs, 14);
    if (shutdown)
        *shutdown = NP_Shutdown;
    return NPERR_NO_ERROR;
}

extern "C" NPError NP_Shutdown()
{
    // A browser that shuts the module down with controls still alive would
    // pull the libraries from under them: their state stays then.
    if (CMorvaXEditorCtrl::XmlLibraryUsers() == 0)
        XmlCleanupLibraries();
    qm::np::StopSharingBrowserPlatform();
    DropBrowserCopy();
    browser = nullptr;
    g_IsSafara = 0;
    return NPERR_NO_ERROR;
}

NPError NPP_New(
    NPMIMEType, NPP instance, std::uint16_t, std::int16_t argc, char* argn[], char* argv[], NPSavedData*)
{
    if (!instance)
        return NPERR_INVALID_INSTANCE_ERROR;
    auto* plugin = new (std::nothrow) CPlugin(instance);
    if (!plugin || !plugin->SetArguments(argc, argn, argv)) {
        delete plugin;
        return NPERR_OUT_OF_MEMORY_ERROR;
    }
    instance->pdata = plugin;
    qm::np::ShareBrowserPlatform(browser, instance);
    return NPERR_NO_ERROR;
}

NPError NPP_Destroy(NPP instance, NPSavedData**)
{
    CPlugin* plugin = PluginOf(instance);
    if (!plugin)
        return NPERR_NO_ERROR;
    plugin->shut();
    instance->pdata = nullptr;
    delete plugin;
    return NPERR_NO_ERROR;
}

NPError NPP_SetWindow(NPP instance, NPWindow* window)
{
    CPlugin* plugin = PluginOf(instance);
    if (!plugin || !window)
        return NPERR_NO_ERROR;
    // The editor is shown unless the clip is empty both ways. That is told
    // after the control is built, so that a first window arriving out of
    // view builds a hidden editor.
    const NPRect& clip = window->clipRect;
    if (!plugin->isInitialized() && window->window)
        plugin->Init(window);
    plugin->ShowHide(!(clip.left == clip.right && clip.top == clip.bottom));
    if (plugin->isInitialized() && window->window)
        plugin->SetWindow(window);
    return NPERR_NO_ERROR;
}

NPError NPP_NewStream(NPP, NPMIMEType, NPStream*, NPBool, std::uint16_t* stype)
{
    if (stype)
        *stype = NP_ASFILEONLY;
    return NPERR_NO_ERROR;
}

NPError NPP_DestroyStream(NPP, NPStream*, NPReason) { return NPERR_NO_ERROR; }

void NPP_StreamAsFile(NPP, NPStream*, const char*) { }

std::int32_t NPP_WriteReady(NPP, NPStream*) { return 0; }

std::int32_t NPP_Write(NPP, NPStream*, std::int32_t, std::int32_t, void*) { return 0; }

void NPP_Print(NPP, NPPrint*) { }

std::int16_t NPP_HandleEvent(NPP instance, void* event)
{
    CPlugin* plugin = PluginOf(instance);
    if (!plugin || !event)
        return 0;
    return plugin->HandleEvent(static_cast<EventRecord*>(event));
}

void NPP_URLNotify(NPP, const char*, NPReason, void*) { }

NPError NPP_GetValue(NPP instance, NPPVariable variable, void* value)
{
    CPlugin* plugin = PluginOf(instance);
    if (!plugin || !value)
        return NPERR_GENERIC_ERROR;
    switch (variable) {
    case NPPVpluginNameString: *static_cast<const char**>(value) = "Quillmark"; break;
    case NPPVpluginDescriptionString: *static_cast<const char**>(value) = "Quillmark XHTML Editor"; break;
    case NPPVpluginScriptableNPObject: *static_cast<NPObject**>(value) = plugin->GetScriptableObject(); break;
    case NPPVformValue: *static_cast<char**>(value) = plugin->GetValue(); break;
    default: break;
    }
    return NPERR_NO_ERROR;
}

NPError NPP_SetValue(NPP, NPNVariable, void*) { return NPERR_GENERIC_ERROR; }
