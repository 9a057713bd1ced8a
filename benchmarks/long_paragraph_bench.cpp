// One paragraph of plain text, "abcd efgh " over and over, laid out at 800
// and 801 pixels in turn: every line is a piece of one text run, so the cost
// of wrapping a run grows with the text it still holds. Each iteration lays
// the document out from scratch (the pieces of the last layout are joined
// first). Run by
// hand from a release build: build/benchmarks/long_paragraph_bench
//
// Counters per layout: lines (the run's pieces after it), units (UTF-16
// units the layouts shaped: each unit of a piece once, never the whole rest
// of the paragraph again for every line) and peak (the highest resident
// memory of the process during the benchmark, in MB; the process's peak is
// reset before each size where the system allows it).
//
// BM_LongParagraphHebrew and BM_LongParagraphChinese: texts shaped whole
// (Hebrew words; Chinese ideographs without blanks).
// BM_LongParagraphMixedRightToLeft: Hebrew and Latin words in turn in a
// right-to-left paragraph (lines: its runs, one for each direction).
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

// The paragraph's text, `unit` over and over (UTF-8), stands in the inline
// elements `open` opens and `close` closes.
std::string Generate(
    size_t size, const char* open, const char* close, const std::string& unit, const char* paragraph)
{
    std::string doc = "<html xmlns=\"http://www.w3.org/1999/xhtml\"><body>";
    doc += paragraph;
    doc += open;
    for (size_t i = 0; i < size / unit.size(); ++i)
        doc += unit;
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

void LongParagraph(benchmark::State& state, const char* open, const char* close,
    const std::string& unit = "abcd efgh ", const char* paragraph = "<p>")
{
    const size_t size = static_cast<size_t>(state.range(0)) * 1024;
    auto engine = std::make_unique<CXHTML>();
    auto document = std::make_unique<CMarkupDocument>(engine.get());
    {
        const std::string doc = Generate(size, open, close, unit, paragraph);
        CSafeBuf error;
        if (!document->Read(doc.data(), doc.size(), error)) {
            state.SkipWithError("the generated document did not read");
            return;
        }
    }
    CElement* body = document->Body();
    ResetPeak();
    const std::uint64_t units = qm::text::Layout::ShapedUnits();
    // At 800 and 801 pixels in turn: a layout at the width of the last one
    // would keep the paragraph's lines as they are.
    int width = 800;
    for (auto _ : state) {
        benchmark::DoNotOptimize(LayoutDocument(body, width));
        width = width == 800 ? 801 : 800;
    }
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

// Texts the layout shapes whole rather than from the word cache: Hebrew
// words, and Chinese without a blank (every ideograph a break opportunity).
void BM_LongParagraphHebrew(benchmark::State& state)
{
    LongParagraph(state, "", "", "\xD7\x90\xD7\x91\xD7\x92\xD7\x93 \xD7\x94\xD7\x95\xD7\x96\xD7\x97 ");
}
void BM_LongParagraphChinese(benchmark::State& state)
{
    LongParagraph(state, "", "", "\xE4\xB8\xAD\xE6\x96\x87\xE5\xAD\x97\xE7\xAC\xA6");
}

// Hebrew and Latin words in turn in a right-to-left paragraph: its run is
// cut wherever the direction changes before its lines are made.
void BM_LongParagraphMixedRightToLeft(benchmark::State& state)
{
    LongParagraph(state, "", "", "abcd \xD7\x90\xD7\x91\xD7\x92\xD7\x93 ", "<p dir=\"rtl\">");
}

} // namespace

BENCHMARK(BM_LongParagraphMixedRightToLeft)->Arg(25)->Arg(100)->Arg(400)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LongParagraphHebrew)->Arg(25)->Arg(100)->Arg(400)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LongParagraphChinese)->Arg(25)->Arg(100)->Arg(400)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LongParagraph)->Arg(25)->Arg(100)->Arg(400)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LongParagraphInBold)->Arg(25)->Arg(100)->Arg(400)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LongParagraphInBoldItalic)->Arg(25)->Arg(100)->Arg(400)->Unit(benchmark::kMillisecond);
