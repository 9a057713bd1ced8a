// The edit guard asked about one typed key while the whole document is
// selected: every selected element is looked at for a lock. Generated XHTML
// of about 100 KB and 1 MB (the ratio is the check: 10x the document may
// cost at most about 10x). Goal: at most 5 ms for 1 MB.
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
