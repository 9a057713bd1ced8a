// The tree repair on hostile markup, each at two sizes 4x apart (the check is
// the ratio: 4x the input may cost at most about 4x):
//   NestedBreaks  line breaks inside deeply nested inline elements, the depth
//                 and the number of breaks growing together; "elements" counts
//                 the tree read
//   StrayItems    list items standing beside paragraphs in a div, each run
//                 wrapped into a list of its own
// Run by hand from a release build: build-rel/benchmarks/repair_bench

#include "editor/XHTML.h"
#include "element/Element.h"
#include "element/markup/MarkupDocument.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

long CountElements(const CElement* e)
{
    long n = 1;
    for (const CElement* c = e->m_firstChild; c; c = c->m_nextSibling)
        n += CountElements(c);
    return n;
}

void Read(benchmark::State& state, const std::string& markup)
{
    long elements = 0;
    for (auto _ : state) {
        CXHTML engine;
        CMarkupDocument document(&engine);
        CSafeBuf error;
        if (!document.Read(markup.data(), markup.size(), error) || !document.Body()) {
            state.SkipWithError("the document does not read");
            return;
        }
        elements = CountElements(document.Body());
    }
    state.counters["elements"] = static_cast<double>(elements);
    state.counters["bytes"] = static_cast<double>(markup.size());
}

// depth nested b elements around 10 x depth breaks, text between them.
void NestedBreaks(benchmark::State& state)
{
    const int depth = static_cast<int>(state.range(0));
    std::string markup = "<p>";
    for (int i = 0; i < depth; ++i)
        markup += "<b>";
    for (int i = 0; i < 10 * depth; ++i)
        markup += "x<br/>";
    for (int i = 0; i < depth; ++i)
        markup += "</b>";
    Read(state, markup + "</p>");
}

void StrayItems(benchmark::State& state)
{
    std::string markup = "<div>";
    for (int64_t i = 0; i < state.range(0); ++i)
        markup += "<p>para</p><li>item</li>";
    Read(state, markup + "</div>");
}

} // namespace

BENCHMARK(NestedBreaks)->Arg(50)->Arg(200)->Unit(benchmark::kMillisecond);
BENCHMARK(StrayItems)->Arg(500)->Arg(2000)->Unit(benchmark::kMillisecond);
