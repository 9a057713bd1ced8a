// Pasting, set beside loading the same bytes.
//
// BM_LoadBody / BM_PasteOwnMarkup: the body content of a generated document
// of 100 KB and 1 MB loaded as a document, and pasted from the clipboard as the
// editor's own markup ("public.quillmark") into a one-paragraph document.
// Goal: pasting within 3x loading.
//
// BM_PasteForeignHTML: the same bytes as another program's clipboard HTML
// (a description with fragment markers), repaired by Tidy, cleaned and
// inserted. Reported, no goal.
// Run by hand from a release build: build-rel/benchmarks/paste_bench

#include "base/text/SafeBuf.h"
#include "benchmarks/BenchBody.h"
#include "benchmarks/BenchMarkupDocument.h"
#include "editor/XHTML.h"
#include "platform/dnd/Pasteboard.h"
#include "platform/events/Services.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <string>

namespace {

const CSafeBuf kStart("<html><body><p>a_x_Here_to_put_cursor_x_b</p></body></html>");

void BM_PasteOwnMarkup(benchmark::State& state)
{
    const std::string body = BenchBodyContent(state.range(0));
    const CSafeBuf markup = BenchWide(body);
    qm::dnd::Pasteboard& board = qm::events::Services::Get().Pasteboards().Clipboard();
    board.Clear();
    board.PutItemFlavor(1, "public.quillmark", static_cast<const unsigned short*>(markup),
        static_cast<std::size_t>(markup.Length()) * 2);
    for (auto _ : state) {
        state.PauseTiming();
        auto engine = BenchEngine();
        engine->LoadDocument(kStart);
        state.ResumeTiming();
        engine->OnPaste();
        state.PauseTiming();
        CountWritten(*engine, state);
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(body.size()));
}

// The clipboard's description of HTML: a header of byte offsets, then the
// fragment between its markers.
std::string Description(const std::string& html)
{
    const std::string before = "<html><body><!--StartFragment-->";
    const std::string after = "<!--EndFragment--></body></html>";
    const char* format = "Version:0.9\r\nStartHTML:%010zu\r\nEndHTML:%010zu\r\nStartFragment:%010zu\r\n"
                         "EndFragment:%010zu\r\n";
    char header[256];
    const std::size_t length = static_cast<std::size_t>(std::snprintf(
        header, sizeof header, format, std::size_t{0}, std::size_t{0}, std::size_t{0}, std::size_t{0}));
    const std::size_t start = length + before.size();
    const std::size_t end = start + html.size();
    std::snprintf(header, sizeof header, format, length, end + after.size(), start, end);
    return header + before + html + after;
}

void BM_PasteForeignHTML(benchmark::State& state)
{
    const std::string description = Description(BenchBodyContent(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        auto engine = BenchEngine();
        engine->LoadDocument(kStart);
        state.ResumeTiming();
        benchmark::DoNotOptimize(engine->InsertForeignHTML(description.c_str()));
        state.PauseTiming();
        CountWritten(*engine, state);
        state.ResumeTiming();
    }
    state.SetBytesProcessed(
        static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(description.size()));
}

} // namespace

BENCHMARK(BenchLoadBody)->Name("BM_LoadBody")->Arg(100)->Arg(1024)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PasteOwnMarkup)->Arg(100)->Arg(1024)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PasteForeignHTML)->Arg(100)->Arg(1024)->Unit(benchmark::kMillisecond);
