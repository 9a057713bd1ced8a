// Inserting at the caret, set beside loading the same bytes.
//
// BM_LoadBody / BM_InsertHTMLCode: the body content of a generated document
// of 1 MB loaded as a document, and inserted into a one-paragraph document
// with InsertHTMLCode (the editor's own markup). Goal: inserting within 3x
// loading.
//
// BM_InsertText: plain text of 1 MB and 10 MB (words, a line break every
// few lines and a paragraph break every few paragraphs) inserted with
// InsertText. Goal: 10 MB within 12x the time of 1 MB.
// written_units and written_tags count the units and the tags the document
// writes afterwards: the two documents hold the same content.
// Run by hand from a release build: build-rel/benchmarks/insert_bench

#include "base/text/SafeBuf.h"
#include "benchmarks/BenchBody.h"
#include "benchmarks/BenchMarkupDocument.h"
#include "benchmarks/BenchWords.h"
#include "editor/XHTML.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

namespace {

void BM_InsertHTMLCode(benchmark::State& state)
{
    const std::string body = BenchBodyContent(1024);
    const CSafeBuf markup = BenchWide(body);
    const CSafeBuf start("<html><body><p>a_x_Here_to_put_cursor_x_b</p></body></html>");
    for (auto _ : state) {
        auto engine = BenchEngine();
        engine->LoadDocument(start);
        benchmark::DoNotOptimize(engine->InsertHTMLCode(markup, false));
        state.PauseTiming();
        CountWritten(*engine, state);
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(body.size()));
}

std::string PlainText(size_t size)
{
    BenchWords words(7);
    std::string text;
    int line = 0;
    while (text.size() < size) {
        text += words.Words(12);
        ++line;
        text += line % 20 == 0 ? "\r\n\r\n" : line % 4 == 0 ? "\r\n" : " ";
    }
    return text;
}

void BM_InsertText(benchmark::State& state)
{
    const CSafeBuf text = BenchWide(PlainText(static_cast<size_t>(state.range(0)) * 1024 * 1024));
    const CSafeBuf start("<html><body><p>a_x_Here_to_put_cursor_x_b</p></body></html>");
    for (auto _ : state) {
        auto engine = BenchEngine();
        engine->LoadDocument(start);
        engine->InsertText(text);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.Length()));
}

} // namespace

BENCHMARK(BenchLoadBody)->Name("BM_LoadBody")->Arg(1024)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_InsertHTMLCode)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_InsertText)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);
