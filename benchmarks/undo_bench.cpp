// Undo snapshots of generated XHTML of about 100 KB and 1 MB: the time of
// one forced snapshot (the document written in mode 6 and the baseline
// kept), and the memory the undo list holds.
//
// BM_ForcedSnapshot: one edit in a text run and a forced snapshot; the
// counters give the snapshot's bytes per byte of the document's markup
// (goal: at most 1).
//
// BM_FullUndoList: sixty forced snapshots, of which the list keeps 49; the
// counters give what undo holds then (CXDoc::UndoBytes: the snapshots and
// the baseline; undo_list_MB, goal: within 60 MB at 1 MB), that per
// snapshot and per byte of the document as generated (goal: at most 1), and
// how much the heap grew over the sixty (heap_growth_MB).
// Run by hand from a release build: build-rel/benchmarks/undo_bench

#include "base/text/SafeBuf.h"
#include "benchmarks/BenchMarkupDocument.h"
#include "document/UndoItem.h"
#include "editor/XHTML.h"
#include "element/Element.h"
#include "element/TreeQueries.h"

#include <benchmark/benchmark.h>
#include <malloc.h>

#include <string>

namespace {

struct Snapshots
{
    CXHTML engine;
    CElement* run = nullptr;
    size_t markupBytes = 0;
    size_t sourceBytes = 0;

    bool Open(size_t size)
    {
        const std::string text = GenerateMarkupDocument(size);
        sourceBytes = text.size();
        CSafeBuf markup;
        markup.AssignUTF8(text.c_str());
        if (!engine.m_doc.LoadDocument(markup))
            return false;
        CSafeBuf written;
        engine.m_doc.GetSourceCode(written, 6, false);
        char* bytes = nullptr;
        markupBytes = static_cast<size_t>(written.CreateUTF8Str(&bytes));
        delete[] bytes;
        CElement* root = engine.m_doc.m_root;
        for (CElement* e = root; e && !run; e = NextInSubtree(e, root))
            if (e->IsTextElement() && e->m_text.Length() > 0)
                run = e;
        return run != nullptr;
    }

    // One edit, then a forced snapshot.
    void Edit(int i)
    {
        run->m_text += CSafeBuf(i % 2 ? "x" : "y");
        engine.m_doc.SaveUndo(true);
    }
};

void BM_ForcedSnapshot(benchmark::State& state)
{
    Snapshots s;
    if (!s.Open(static_cast<size_t>(state.range(0)))) {
        state.SkipWithError("the document did not load");
        return;
    }
    int i = 0;
    for (auto _ : state)
        s.Edit(i++);
    const auto* last = static_cast<const UNDO_ITEM*>(s.engine.m_doc.m_undoList.GetTail());
    state.counters["markup_KB"] = double(s.markupBytes) / 1024;
    state.counters["snapshot_per_markup_byte"] = last ? double(last->textBytes) / double(s.markupBytes) : 0;
}
BENCHMARK(BM_ForcedSnapshot)->Arg(100 << 10)->Arg(1 << 20)->Unit(benchmark::kMillisecond);

void BM_FullUndoList(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        Snapshots s;
        if (!s.Open(static_cast<size_t>(state.range(0)))) {
            state.SkipWithError("the document did not load");
            return;
        }
        const size_t before = mallinfo2().uordblks;
        state.ResumeTiming();
        for (int i = 0; i < 60; ++i)
            s.Edit(i);
        state.PauseTiming();
        const size_t after = mallinfo2().uordblks;
        const double snapshots = double(s.engine.m_doc.m_undoList.GetCount());
        const double held = double(s.engine.m_doc.UndoBytes());
        state.counters["snapshots"] = snapshots;
        state.counters["undo_list_MB"] = held / (1 << 20);
        state.counters["heap_growth_MB"] = (double(after) - double(before)) / (1 << 20);
        state.counters["markup_KB"] = double(s.markupBytes) / 1024;
        state.counters["document_KB"] = double(s.sourceBytes) / 1024;
        // All that undo holds shared among the snapshots, over the
        // document's bytes as they were given.
        state.counters["per_snapshot_KB"] = snapshots > 0 ? held / snapshots / 1024 : 0;
        state.counters["per_snapshot_per_document_byte"]
            = snapshots > 0 ? held / snapshots / double(s.sourceBytes) : 0;
        state.ResumeTiming();
    }
}
BENCHMARK(BM_FullUndoList)->Arg(100 << 10)->Arg(1 << 20)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace
