// Replace All of the find dialog on a generated document (100 KB and 1 MB):
// every "echo" (one word in twenty) replaced by "echos", then the document
// laid out and drawn once and one undo snapshot taken. Goal: linear in the
// document, well under loading it. Counter "replaced": how many were
// replaced.
// Run by hand from a release build: build-rel/benchmarks/replace_bench

#include "base/text/SafeBuf.h"
#include "benchmarks/BenchBody.h"
#include "benchmarks/BenchMarkupDocument.h"
#include "editor/XHTML.h"
#include "platform/ui/ModalDialog.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

qm::ui::ModalDialog* FindDialog()
{
    for (qm::ui::ModalDialog* d : qm::ui::ModalDialog::Modeless())
        if (d->ModalKind() == "find-replace")
            return d;
    return nullptr;
}

void BM_ReplaceAll(benchmark::State& state)
{
    const CSafeBuf markup = BenchWide(MarkupDocument(state.range(0)));
    int replaced = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto engine = BenchEngine();
        engine->LoadDocument(markup);
        engine->DoFindReplace(true);
        qm::ui::ModalDialog* dialog = FindDialog();
        if (!dialog) {
            state.SkipWithError("no find dialog");
            break;
        }
        dialog->SetField("find", "echo");
        dialog->SetField("replace", "echos");
        CSafeBuf before;
        engine->GetSourceCode(before, 2);
        state.ResumeTiming();
        dialog->Press(static_cast<std::size_t>(dialog->FindButton("Replace All")));
        state.PauseTiming();
        CSafeBuf after;
        engine->GetSourceCode(after, 2);
        replaced = after.Length() - before.Length(); // one unit longer each
        engine.reset();
        state.ResumeTiming();
    }
    state.counters["replaced"] = replaced;
}

} // namespace

BENCHMARK(BM_ReplaceAll)->Arg(100)->Arg(1024)->Unit(benchmark::kMillisecond);
