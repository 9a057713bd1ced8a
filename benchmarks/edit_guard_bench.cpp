// The edit guard asked about one typed key while the whole document is
// selected: every selected element is looked at for a lock, in one walk
// down the tree. Generated XHTML of about 100 KB and 1 MB. Goal: at most
// 5 ms for 1 MB. The walk is linear, but the 100 KB tree stays in the
// processor's caches and the 1 MB one does not, so the ratio of the two
// comes out well above 10.
// Run by hand from a release build: build-rel/benchmarks/edit_guard_bench

#include "benchmarks/BenchMarkupDocument.h"

#include "editor/XHTML.h"
#include "element/Element.h"
#include "element/markup/MarkupDocument.h"

#include <benchmark/benchmark.h>

namespace {

void GuardWithAllSelected(benchmark::State& state)
{
    const std::string& markup = MarkupDocument(state.range(0));
    CXHTML engine;
    CMarkupDocument document(&engine);
    CSafeBuf error;
    if (!document.Read(markup.data(), markup.size(), error) || !document.Body()) {
        state.SkipWithError("the document does not read");
        return;
    }
    CXDoc& doc = engine.m_doc;
    doc.m_root = document.Body();
    doc.m_root->SelectAllChildren(true);
    doc.m_selectionPresent = 1;
    for (auto _ : state)
        benchmark::DoNotOptimize(doc.CanDocumentBeChanged(1, nullptr, 'a', 0, nullptr));
    // The markup document owns the tree.
    doc.m_root = nullptr;
    doc.m_caretElement = nullptr;
}

} // namespace

BENCHMARK(GuardWithAllSelected)->Arg(100)->Arg(1024)->Unit(benchmark::kMillisecond);
