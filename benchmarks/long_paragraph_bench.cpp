// One paragraph of plain text, "abcd efgh " over and over, laid out at 800
// pixels: every line is a piece of one text run, so the cost of wrapping a
// run grows with the text it still holds. Each iteration lays the document
// out from scratch (the pieces of the last layout are joined first). Run by
// hand from a release build: build/benchmarks/long_paragraph_bench
//
// Counters per layout: lines (the run's pieces after it), units (UTF-16
// units the layouts shaped: each unit of a piece once, never the whole rest
// of the paragraph again for every line) and peak (the highest resident
// memory of the process during the benchmark, in MB; the process's peak is
// reset before each size where the system allows it).
//
// BM_LongParagraphInBold: the same paragraph as the content of a <b>, whose
// pieces hold the lines. BM_LongParagraphInBoldItalic: the same inside a
// <b> and an <i> in it, whose pieces hold one another's.
//
// Goal: 4 times the text costs at most about 4 times the time and the
// memory, from 100 KB to 400 KB.

#include "base/text/SafeBuf.h"
#include "editor/XHTML.h"
#include "element/Element.h"
#include "element/markup/MarkupDocument.h"
#include "platform/text/TextLayout.h"
#include "style/layout/LayoutPass.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

namespace {

// The paragraph's text stands in the inline elements `open` opens and
// `close` closes.
std::string Generate(size_t size, const char* open, const char* close)
{
    std::string doc = "<html xmlns=\"http://www.w3.org/1999/xhtml\"><body><p>";
    doc += open;
    for (size_t i = 0; i < size / 10; ++i)
        doc += "abcd efgh ";
    doc += close;
    doc += "</p></body></html>";
    return doc;
}

// The process's resident peak in KB (0 where /proc cannot tell).
long PeakKB()
{
    std::FILE* f = std::fopen("/proc/self/status", "r");
    if (!f)
        return 0;
    char line[256];
    long kb = 0;
    while (std::fgets(line, sizeof line, f)) {
        if (std::strncmp(line, "VmHWM:", 6) == 0)
            kb = std::atol(line + 6);
    }
    std::fclose(f);
    return kb;
}

void ResetPeak()
{
    if (std::FILE* f = std::fopen("/proc/self/clear_refs", "w")) {
        std::fputs("5", f);
        std::fclose(f);
    }
}

long Pieces(const CElement* p)
{
    long n = 0;
    for (const CElement* c = p ? p->m_firstChild : nullptr; c; c = c->m_nextSibling)
        ++n;
    return n;
}

void LongParagraph(benchmark::State& state, const char* open, const char* close)
{
    const size_t size = static_cast<size_t>(state.range(0)) * 1024;
    auto engine = std::make_unique<CXHTML>();
    auto document = std::make_unique<CMarkupDocument>(engine.get());
    {
        const std::string doc = Generate(size, open, close);
        CSafeBuf error;
        if (!document->Read(doc.data(), doc.size(), error)) {
            state.SkipWithError("the generated document did not read");
            return;
        }
    }
    CElement* body = document->Body();
    ResetPeak();
    const std::uint64_t units = qm::text::Layout::ShapedUnits();
    for (auto _ : state)
        benchmark::DoNotOptimize(LayoutDocument(body, 800));
    const double layouts = static_cast<double>(state.iterations());
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(size));
    state.counters["lines"] = static_cast<double>(Pieces(body->m_firstChild));
    state.counters["units"] = static_cast<double>(qm::text::Layout::ShapedUnits() - units) / layouts;
    state.counters["peak"] = static_cast<double>(PeakKB()) / 1024.0;
}

void BM_LongParagraph(benchmark::State& state) { LongParagraph(state, "", ""); }

// The same text inside an inline element (lines: the element's pieces).
void BM_LongParagraphInBold(benchmark::State& state) { LongParagraph(state, "<b>", "</b>"); }

// Two elements deep (lines: the outer element's pieces, each holding one
// piece of the inner one).
void BM_LongParagraphInBoldItalic(benchmark::State& state) { LongParagraph(state, "<b><i>", "</i></b>"); }

} // namespace

BENCHMARK(BM_LongParagraph)->Arg(25)->Arg(100)->Arg(400)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LongParagraphInBold)->Arg(25)->Arg(100)->Arg(400)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LongParagraphInBoldItalic)->Arg(25)->Arg(100)->Arg(400)->Unit(benchmark::kMillisecond);
