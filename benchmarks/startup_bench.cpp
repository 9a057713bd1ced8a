// Start-up of the editor in a page, through the test host and the plug-in
// module as a browser loads it: NPP_New with the document as the tag's
// Value, the first window (the control's start: style sheets, toolbars,
// source view, cleaning and loading the value) and the first update event
// (the first paint). The instance is destroyed outside the timing. Sizes
// of the value: 100 KB and 1 MB (goal at most 100 ms for 100 KB).

#include "benchmarks/BenchMarkupDocument.h"

#include "host/Host.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {

// The control keeps per-user folders under HOME: a private one for the run.
void UseScratchHome()
{
    static std::string home;
    if (!home.empty())
        return;
    char pattern[] = "/tmp/qm-startup-bench-XXXXXX";
    if (const char* made = mkdtemp(pattern)) {
        home = made;
        setenv("HOME", home.c_str(), 1);
    }
}

void BM_StartUpThroughTheHost(benchmark::State& state)
{
    UseScratchHome();
    const std::string value = GenerateMarkupDocument(static_cast<size_t>(state.range(0)));
    qm::host::Host host;
    std::string error;
    if (!host.Load(QM_PLUGIN_MODULE, error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    const std::vector<qm::host::TagParam> params = {{"id", std::string("bench")}, {"Value", value}};
    for (auto _ : state) {
        if (!host.New("application/x-quillmark", params) || !host.SetWindow(20, 30, 600, 400)
            || host.Update() != 1) {
            state.SkipWithError("the editor did not start");
            return;
        }
        state.PauseTiming();
        host.Destroy();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(
        static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(value.size()));
}

BENCHMARK(BM_StartUpThroughTheHost)->Arg(100 * 1024)->Arg(1024 * 1024)->Unit(benchmark::kMillisecond);

} // namespace
