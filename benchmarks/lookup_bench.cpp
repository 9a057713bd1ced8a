// Lists that are searched for every item, each at two sizes 4x apart (the
// check is the ratio: 4x the items may cost at most about 4x):
//   PicturePool   distinct pictures asked of a document's picture pool (none
//                 of the files exists, so each loads empty)
//   ColumnGroups  a table with many col elements directly under it, read
//   StyleReport   the style report of a body of many paragraphs
// Run by hand from a release build: build-rel/benchmarks/lookup_bench

#include "editor/XHTML.h"
#include "element/Element.h"
#include "element/ElementPictures.h"
#include "element/markup/MarkupDocument.h"
#include "style/cascade/StyleReport.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

namespace {

// The engine and the document read from markup; null document when it does
// not read.
struct Loaded
{
    std::unique_ptr<CXHTML> engine = std::make_unique<CXHTML>();
    std::unique_ptr<CMarkupDocument> document;
};

Loaded Load(benchmark::State& state, const std::string& markup)
{
    Loaded l;
    l.document = std::make_unique<CMarkupDocument>(l.engine.get());
    CSafeBuf error;
    if (!l.document->Read(markup.data(), markup.size(), error) || !l.document->Body()) {
        state.SkipWithError("the document does not read");
        l.document.reset();
    }
    return l;
}

void PicturePool(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        Loaded l = Load(state, "<p><img src=\"a.png\"/></p>");
        if (!l.document)
            return;
        CElement* img = l.document->Body()->m_firstChild->m_firstChild;
        state.ResumeTiming();
        CSafeBuf src;
        for (int i = 0; i < count; ++i) {
            src = "missing/picture";
            src.AppendInt(i);
            src += ".png";
            benchmark::DoNotOptimize(GetImage(img, src, nullptr));
        }
        state.PauseTiming();
        l.document.reset(); // the tree before the engine it reports to
        l.engine.reset();
        state.ResumeTiming();
    }
}

void ColumnGroups(benchmark::State& state)
{
    std::string markup = "<table>";
    for (int64_t i = 0; i < state.range(0); ++i)
        markup += "<col/>";
    markup += "<tr><td>x</td></tr></table>";
    for (auto _ : state)
        benchmark::DoNotOptimize(Load(state, markup).document.get());
    state.counters["bytes"] = static_cast<double>(markup.size());
}

void StyleReport(benchmark::State& state)
{
    std::string markup;
    for (int64_t i = 0; i < state.range(0); ++i)
        markup += "<p>para <b>bold</b></p>";
    Loaded l = Load(state, markup);
    if (!l.document)
        return;
    for (auto _ : state) {
        CSafeBuf report;
        ReportStyles(l.document->Body(), report, 0);
        benchmark::DoNotOptimize(report.Length());
    }
}

} // namespace

BENCHMARK(PicturePool)->Arg(5000)->Arg(20000)->Unit(benchmark::kMillisecond);
BENCHMARK(ColumnGroups)->Arg(10000)->Arg(40000)->Unit(benchmark::kMillisecond);
BENCHMARK(StyleReport)->Arg(5000)->Arg(20000)->Unit(benchmark::kMillisecond);
