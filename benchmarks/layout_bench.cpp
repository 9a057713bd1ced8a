// The layout pass on generated XHTML of about 100 KB and 1 MB, laid out at
// 800 pixels: paragraphs of text runs with b, i and a runs among them, all
// measured from their text and wrapped into lines, one block in ten a list,
// one in twelve a left or right float beside the paragraphs after it, one in
// fifteen a centred div, and clears. The tree is read once; each iteration
// lays it out whole. Run by hand from a release build:
// build/benchmarks/layout_bench
//
// Counters per layout: runs (text runs after it, wrapped pieces included),
// shaped (texts a layout shaped: each run once, never again for a prefix)
// and words (words the shaper met for the first time; 0 once the words of
// the document are known).
//
// Goals: linear from 100 KB to 1 MB; 1 MB laid out in at most 130 ms. The
// second argument 1 takes the document with tables.

#include "base/text/SafeBuf.h"
#include "editor/XHTML.h"
#include "element/Element.h"
#include "element/markup/MarkupDocument.h"
#include "platform/text/Shaping.h"
#include "platform/text/TextLayout.h"
#include "style/layout/LayoutPass.h"

#include "benchmarks/BenchWords.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

namespace {

const char kSheet[] = "a { margin-left: 4px } p { margin: 8px 0 12px 0 }"
                      " li { margin-left: 20px } .box { border: 1px solid black; padding: 4px }";

// A deterministic document of at least size bytes; with tables, one block
// in eight is a bordered table of a header row and four rows of two or
// three cells (a cell in six holds a short paragraph).
std::string Generate(size_t size, bool tables)
{
    BenchWords source(4242);
    auto next = [&source](unsigned n) { return source.Next(n); };
    auto words = [&source](int n) { return source.Words(n); };
    std::string doc
        = "<html xmlns=\"http://www.w3.org/1999/xhtml\"><head><title>bench</title></head><body>\n";
    for (int block = 0; doc.size() < size; ++block) {
        if (tables && block % 8 == 3) {
            const int cols = 2 + static_cast<int>(next(2));
            doc += "<table border=\"1\" cellpadding=\"2\"><tr>";
            for (int c = 0; c < cols; ++c)
                doc += "<th>" + words(1) + "</th>";
            doc += "</tr>";
            for (int r = 0; r < 4; ++r) {
                doc += "<tr>";
                for (int c = 0; c < cols; ++c)
                    doc += next(6) == 0 ? "<td><p>" + words(6) + "</p></td>"
                                        : "<td>" + words(2) + " <b>" + words(1) + "</b></td>";
                doc += "</tr>";
            }
            doc += "</table>\n";
        } else if (block % 12 == 5) {
            doc += std::string("<div class=\"box\" style=\"float:") + (block % 24 == 5 ? "left" : "right")
                + "; width:" + std::to_string(100 + next(100)) + "px; height:" + std::to_string(40 + next(80))
                + "px\">" + words(4) + "</div>\n";
        } else if (block % 10 == 7) {
            doc += "<ul>";
            for (int i = 0; i < 4; ++i)
                doc += "<li>" + words(4) + " <i>" + words(1) + "</i></li>";
            doc += "</ul>\n";
        } else if (block % 15 == 9) {
            doc += "<div style=\"text-align:center\"><b>" + words(2) + "</b> <i>" + words(1) + "</i></div>\n";
        } else {
            doc += std::string("<p") + (block % 36 == 11 ? " style=\"clear:both\"" : "") + ">" + words(8)
                + " <b>" + words(2) + "</b> " + words(6) + " <i>" + words(3) + "</i>, <a href=\"#" + words(1)
                + "\">" + words(2) + "</a> " + words(10) + " <b>" + words(1) + "</b> <i>" + words(2)
                + "</i>.</p>\n";
        }
    }
    doc += "</body></html>\n";
    return doc;
}

struct Loaded
{
    std::unique_ptr<CXHTML> engine;
    std::unique_ptr<CMarkupDocument> document;
};

Loaded Load(size_t size, bool tables)
{
    Loaded l;
    l.engine = std::make_unique<CXHTML>();
    CSafeBuf sheet;
    sheet = kSheet;
    l.engine->m_doc.LoadStyleClass(sheet, 0, false, 0);
    l.document = std::make_unique<CMarkupDocument>(l.engine.get());
    const std::string doc = Generate(size, tables);
    CSafeBuf error;
    if (!l.document->Read(doc.data(), doc.size(), error))
        l.document.reset();
    return l;
}

long CountRuns(const CElement* e)
{
    long runs = 0;
    std::vector<const CElement*> stack{e};
    while (!stack.empty()) {
        const CElement* c = stack.back();
        stack.pop_back();
        runs += c->m_kind == kKindText ? 1 : 0;
        for (const CElement* d = c->m_firstChild; d; d = d->m_nextSibling)
            stack.push_back(d);
    }
    return runs;
}

void BM_LayoutDocument(benchmark::State& state)
{
    const size_t size = static_cast<size_t>(state.range(0)) * 1024;
    Loaded l = Load(size, state.range(1) != 0);
    if (!l.document) {
        state.SkipWithError("the generated document did not read");
        return;
    }
    CElement* body = l.document->Body();
    LayoutDocument(body, 800); // the words of the document meet the shaper here
    const std::uint64_t shaped = qm::text::Layout::ShapeCount();
    const std::uint64_t words = qm::text::ShapingCount();
    for (auto _ : state)
        benchmark::DoNotOptimize(LayoutDocument(body, 800));
    const double layouts = static_cast<double>(state.iterations());
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(size));
    state.counters["runs"] = static_cast<double>(CountRuns(body));
    state.counters["shaped"] = static_cast<double>(qm::text::Layout::ShapeCount() - shaped) / layouts;
    state.counters["words"] = static_cast<double>(qm::text::ShapingCount() - words) / layouts;
    state.counters["height"] = static_cast<double>(body->m_sizeRect.bottom);
    state.counters["floats"] = static_cast<double>(body->Rare().m_floatList.GetCount());
}

} // namespace

// Arguments: kilobytes, and 1 for the document with tables.
BENCHMARK(BM_LayoutDocument)
    ->Args({100, 0})
    ->Args({512, 0})
    ->Args({1024, 0})
    ->Args({100, 1})
    ->Args({1024, 1})
    ->Unit(benchmark::kMillisecond);
