#pragma once
// The editor in a page for the benchmarks that drive it as a browser does:
// the plug-in module loaded into the test host, with a private home folder.

#include "host/Host.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>
#include <vector>

#include <unistd.h>

// The control keeps per-user folders under HOME: a private one for the run.
inline void UseScratchHome()
{
    static std::string home;
    if (!home.empty())
        return;
    char pattern[] = "/tmp/qm-bench-home-XXXXXX";
    if (const char* made = mkdtemp(pattern)) {
        home = made;
        setenv("HOME", home.c_str(), 1);
    }
}

// Loads the plug-in module into host; false (the benchmark skipped with the
// reason) when it does not load.
inline bool LoadBenchModule(qm::host::Host& host, benchmark::State& state)
{
    UseScratchHome();
    std::string error;
    if (host.Load(QM_PLUGIN_MODULE, error))
        return true;
    state.SkipWithError(error.c_str());
    return false;
}

// A new instance with the tag's parameters, in its window and painted once;
// false when the editor does not start.
inline bool StartBenchEditor(qm::host::Host& host, const std::vector<qm::host::TagParam>& params)
{
    return host.New("application/x-quillmark", params) && host.SetWindow(20, 30, 600, 400)
        && host.Update() == 1;
}
