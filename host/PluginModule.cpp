#include "host/PluginModule.h"

#include <dlfcn.h>

namespace qm::host {

namespace {

template <typename F>
F Symbol(void* handle, const char* name)
{
    return reinterpret_cast<F>(dlsym(handle, name));
}

} // namespace

bool PluginModule::Load(const std::string& path, NPNetscapeFuncs* browser, std::string& error)
{
    Unload();
    error.clear();
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
    if (!handle) {
        const char* why = dlerror();
        error = "cannot load " + path + ": " + (why ? why : "unknown reason");
        return false;
    }
    auto initialize = Symbol<NP_InitializeFunc>(handle, "NP_Initialize");
    auto entryPoints = Symbol<NP_GetEntryPointsFunc>(handle, "NP_GetEntryPoints");
    auto shutdown = Symbol<NP_ShutdownFunc>(handle, "NP_Shutdown");
    if (!initialize || !entryPoints || !shutdown) {
        error = path + " lacks an entry point (NP_Initialize, NP_GetEntryPoints, NP_Shutdown)";
        dlclose(handle);
        return false;
    }
    NPError status = initialize(browser);
    if (status != NPERR_NO_ERROR) {
        error = "NP_Initialize failed with " + std::to_string(status);
        dlclose(handle);
        return false;
    }
    NPPluginFuncs funcs{};
    funcs.size = sizeof(NPPluginFuncs);
    status = entryPoints(&funcs);
    if (status != NPERR_NO_ERROR)
        error = "NP_GetEntryPoints failed with " + std::to_string(status);
    else if (funcs.size != sizeof(NPPluginFuncs))
        error = "the plug-in table's size is " + std::to_string(funcs.size) + ", not "
            + std::to_string(sizeof(NPPluginFuncs));
    else if (funcs.version < kMinPluginTableVersion)
        error = "the plug-in table's version " + std::to_string(funcs.version) + " is older than "
            + std::to_string(kMinPluginTableVersion);
    else if (!funcs.newp || !funcs.destroy || !funcs.setwindow || !funcs.event || !funcs.getvalue)
        error = "the plug-in table lacks an entry the browser calls";
    if (!error.empty()) {
        shutdown();
        dlclose(handle);
        return false;
    }
    m_handle = handle;
    m_shutdown = shutdown;
    m_funcs = funcs;
    return true;
}

void PluginModule::Unload()
{
    if (!m_handle)
        return;
    m_shutdown();
    dlclose(m_handle);
    m_handle = nullptr;
    m_shutdown = nullptr;
    m_funcs = NPPluginFuncs{};
}

} // namespace qm::host
