// Setting the document as a page's script does: the control's Value property
// set through the browser (the text converted, the document type
// declaration dropped, the text cleaned, loaded, laid out and painted, the
// source view given the indented markup, the undo lists emptied), on the
// generated XHTML of about 100 KB and 1 MB, beside libxml2's parse of the
// same bytes. Run by hand from a release build: build-rel/benchmarks/value_bench
//
// The counters are in processor time (BenchCpuMillis).
//
// BM_SetValueAgainstLibxml: the property set and libxml2's parse in turn in
// one run; "ratio" is the set's time over the parse's (goal: at most 3 at
// 1 MB), "value_KB" the size of the form value afterwards (the document
// loaded, not dropped).
//
// BM_ValueSteps: the engine's steps of that set without the control, each
// timed on its own (clean_ms, load_ms: the load with its layout and paint,
// indented_ms and change_ms: the markup written for the source view and for
// the page's change detection), to tell which step the time goes to.

#include "base/text/SafeBuf.h"
#include "benchmarks/BenchBody.h"
#include "benchmarks/BenchClock.h"
#include "benchmarks/BenchHost.h"
#include "benchmarks/BenchMarkupDocument.h"
#include "editor/XHTML.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <string>

namespace {

double Since(double start) { return BenchCpuMillis() - start; }

// libxml2's parse of doc, in processor milliseconds.
double LibxmlMillis(const std::string& doc)
{
    const double start = BenchCpuMillis();
    BenchLibxmlSeconds(doc);
    return Since(start);
}

void BM_SetValueAgainstLibxml(benchmark::State& state)
{
    const std::string& doc = MarkupDocument(state.range(0));
    const qm::host::ScriptValue value = qm::host::ScriptValue::String(doc);
    qm::host::Host host;
    if (!LoadBenchModule(host, state))
        return;
    if (!StartBenchEditor(host, {{"id", std::string("bench")}, {"Value", std::string("<p>start</p>")}})) {
        state.SkipWithError("the editor did not start");
        return;
    }
    double set = 0, parse = 0;
    for (auto _ : state) {
        const auto start = BenchCpuMillis();
        if (!host.Set("Value", value)) {
            state.SkipWithError("the value was not set");
            break;
        }
        set += Since(start);
        parse += LibxmlMillis(doc);
    }
    std::string form;
    host.FormValue(form);
    host.Destroy();
    const double n = double(std::max<int64_t>(state.iterations(), 1));
    state.counters["ratio"] = parse > 0 ? set / parse : 0;
    state.counters["set_ms"] = set / n;
    state.counters["libxml_ms"] = parse / n;
    state.counters["value_KB"] = double(form.size()) / 1024;
}

void BM_ValueSteps(benchmark::State& state)
{
    const std::string& doc = MarkupDocument(state.range(0));
    const CSafeBuf given = BenchWide(doc);
    const auto engine = BenchEngine();
    double clean = 0, load = 0, indented = 0, change = 0;
    for (auto _ : state) {
        CSafeBuf text(given), written;
        auto start = BenchCpuMillis();
        if (!engine->m_doc.CleanXHTML(text, 8))
            text = given;
        clean += Since(start);
        start = BenchCpuMillis();
        if (!engine->LoadDocument(text)) {
            state.SkipWithError("the document does not load");
            return;
        }
        load += Since(start);
        start = BenchCpuMillis();
        engine->GetSourceCode(written, 1);
        indented += Since(start);
        start = BenchCpuMillis();
        engine->m_doc.GetSourceCode(written, 6, false);
        change += Since(start);
    }
    const double n = double(std::max<int64_t>(state.iterations(), 1));
    state.counters["clean_ms"] = clean / n;
    state.counters["load_ms"] = load / n;
    state.counters["indented_ms"] = indented / n;
    state.counters["change_ms"] = change / n;
    state.counters["libxml_ms"] = LibxmlMillis(doc);
}

} // namespace

BENCHMARK(BM_SetValueAgainstLibxml)->Arg(100)->Arg(1024)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ValueSteps)->Arg(100)->Arg(1024)->Unit(benchmark::kMillisecond);
