// Start-up of the editor in a page, through the test host and the plug-in
// module as a browser loads it: NPP_New with the document as the tag's
// Value, the first window (the control's start: style sheets, toolbars,
// source view, cleaning and loading the value) and the first update event
// (the first paint). The instance is destroyed outside the timing. Sizes
// of the value: 100 KB and 1 MB (goal at most 100 ms for 100 KB).

#include "benchmarks/BenchHost.h"
#include "benchmarks/BenchMarkupDocument.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

void BM_StartUpThroughTheHost(benchmark::State& state)
{
    const std::string value = GenerateMarkupDocument(static_cast<size_t>(state.range(0)));
    qm::host::Host host;
    if (!LoadBenchModule(host, state))
        return;
    const std::vector<qm::host::TagParam> params = {{"id", std::string("bench")}, {"Value", value}};
    for (auto _ : state) {
        if (!StartBenchEditor(host, params)) {
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
