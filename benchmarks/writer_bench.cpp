// Writing the document as XHTML (CXDoc::GetSourceCode) on the generated
// documents of the markup benchmarks (benchmarks/BenchMarkupDocument.h),
// about 100 KB, 1 MB and (without the tidy pass) 10 MB, beside libxml2's
// parse of the same bytes. Run by
// hand from a release build: build-rel/benchmarks/writer_bench
//
// Goals: mode 6 without the tidy pass (the undo snapshot, taken after
// every edit) at most 15 ms at 1 MB; mode 2 with the tidy pass (the page's
// value) at most four times libxml2's parse; both linear from 100 KB to
// 1 MB.

#include "base/text/SafeBuf.h"
#include "document/XDoc.h"
#include "editor/XHTML.h"
#include "element/markup/MarkupDocument.h"

#include "benchmarks/BenchMarkupDocument.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

// The document of range 0 read into the element tree and handed to the
// engine's document as a load leaves it (whole document, its html start
// tag and head); the reader takes the tree back when it goes.
class LoadedDocument
{
public:
    explicit LoadedDocument(int64_t kilobytes)
    {
        const std::string& markup = MarkupDocument(kilobytes);
        CSafeBuf error;
        m_read = m_tree.Read(markup.data(), markup.size(), error);
        CXDoc& doc = m_engine.m_doc;
        doc.m_root = m_tree.Body();
        doc.m_fullDocument = 1;
        doc.m_htmlStartTag = "<html xmlns=\"http://www.w3.org/1999/xhtml\">";
        doc.m_headStartTag = "<head>";
        doc.m_headMarkup = "<head><title>bench</title></head>";
    }
    ~LoadedDocument() { m_engine.m_doc.m_root = nullptr; }
    LoadedDocument(const LoadedDocument&) = delete;
    LoadedDocument& operator=(const LoadedDocument&) = delete;

    bool Read() const { return m_read; }
    CXDoc& Doc() { return m_engine.m_doc; }

private:
    CXHTML m_engine;
    CMarkupDocument m_tree{&m_engine};
    bool m_read = false;
};

void BM_LibxmlParse(benchmark::State& state) { BenchLibxmlParse(state); }

// range 1: the mode; range 2: 1 with the tidy pass.
void BM_GetSourceCode(benchmark::State& state)
{
    LoadedDocument loaded(state.range(0));
    if (!loaded.Read())
        state.SkipWithError("the document does not read");
    const int mode = static_cast<int>(state.range(1));
    const bool tidy = state.range(2) != 0;
    CSafeBuf out;
    for (auto _ : state) {
        loaded.Doc().GetSourceCode(out, mode, tidy);
        benchmark::DoNotOptimize(out.Length());
    }
    // Measured on the source document's bytes, as the parse is.
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * MarkupDocument(state.range(0)).size()));
    state.counters["written"] = out.Length();
}

} // namespace

BENCHMARK(BM_LibxmlParse)->Arg(100)->Arg(1024)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GetSourceCode)
    ->Args({100, 6, 0})
    ->Args({1024, 6, 0})
    ->Args({10240, 6, 0})
    ->Args({100, 2, 1})
    ->Args({1024, 2, 1})
    ->Unit(benchmark::kMillisecond);
