#pragma once
// A plug-in module loaded the way a browser loads it: dlopen, the three
// entry points NP_Initialize, NP_GetEntryPoints and NP_Shutdown, and the
// checks a careful browser makes on the table the module fills (its size,
// its version, and the entries the browser will call).
//
// The module stays mapped after it is unloaded (RTLD_NODELETE): its static
// data may still be reachable from the process (the leak checker reads it),
// and loading it again starts it afresh through NP_Initialize.

#include "platform/np/Functions.h"

#include <string>

namespace qm::host {

// The oldest plug-in table version the host takes: scripting entries and
// the get-value entry are there from version 11.
constexpr std::uint16_t kMinPluginTableVersion = 11;

class PluginModule
{
public:
    PluginModule() = default;
    ~PluginModule() { Unload(); }
    PluginModule(const PluginModule&) = delete;
    PluginModule& operator=(const PluginModule&) = delete;

    // Loads the module and hands it the browser's table. False with the
    // reason in error (nothing left loaded) when the file cannot be loaded,
    // an entry point is missing or fails, or the table does not check out.
    bool Load(const std::string& path, NPNetscapeFuncs* browser, std::string& error);
    // NP_Shutdown, then the module is let go. Does nothing when not loaded.
    void Unload();

    bool IsLoaded() const { return m_handle != nullptr; }
    const NPPluginFuncs& Funcs() const { return m_funcs; }

private:
    void* m_handle = nullptr;
    NP_ShutdownFunc m_shutdown = nullptr;
    NPPluginFuncs m_funcs{};
};

} // namespace qm::host
