// The layout pass on generated XHTML of about 100 KB and 1 MB, laid out at
// 800 pixels: paragraphs of runs with inline boxes (b, i and a sized by the
// page's sheet, since text is measured by the text runs themselves), one
// block in ten a list, one in twelve a left or right float beside the
// paragraphs after it, one in fifteen a centred div, and clears. The tree is
// read once; each iteration lays it out whole. Run by hand from a release
// build: build/benchmarks/layout_bench
//
// Goal: linear from 100 KB to 1 MB, and a full layout of 1 MB well under the
// time of reading it.

#include "base/text/SafeBuf.h"
#include "editor/XHTML.h"
#include "element/Element.h"
#include "element/markup/MarkupDocument.h"
#include "style/layout/LayoutPass.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

namespace {

const char* const kWords[]
    = {"alpha", "bravo", "charlie", "delta", "echo", "foxtrot", "golf", "hotel", "india", "juliet", "kilo",
        "lima", "mike", "november", "oscar", "papa", "quebec", "romeo", "sierra", "tango"};

const char kSheet[] = "b { width: 48px; height: 16px } i { width: 32px; height: 18px }"
                      " a { width: 64px; height: 16px; margin-left: 4px } p { margin: 8px 0 12px 0 }"
                      " li { margin-left: 20px } .box { border: 1px solid black; padding: 4px }";

// A deterministic document of at least size bytes.
std::string Generate(size_t size)
{
    unsigned state = 4242;
    auto next = [&state](unsigned n) {
        state = state * 1103515245u + 12345u;
        return (state >> 16) % n;
    };
    auto words = [&](int n) {
        std::string s;
        for (int i = 0; i < n; ++i) {
            if (i)
                s += ' ';
            s += kWords[next(20)];
        }
        return s;
    };
    std::string doc
        = "<html xmlns=\"http://www.w3.org/1999/xhtml\"><head><title>bench</title></head><body>\n";
    for (int block = 0; doc.size() < size; ++block) {
        if (block % 12 == 5) {
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

Loaded Load(size_t size)
{
    Loaded l;
    l.engine = std::make_unique<CXHTML>();
    CSafeBuf sheet;
    sheet = kSheet;
    l.engine->m_doc.LoadStyleClass(sheet, 0, false, 0);
    l.document = std::make_unique<CMarkupDocument>(l.engine.get());
    const std::string doc = Generate(size);
    CSafeBuf error;
    if (!l.document->Read(doc.data(), doc.size(), error))
        l.document.reset();
    return l;
}

void BM_LayoutDocument(benchmark::State& state)
{
    const size_t size = static_cast<size_t>(state.range(0)) * 1024;
    Loaded l = Load(size);
    if (!l.document) {
        state.SkipWithError("the generated document did not read");
        return;
    }
    CElement* body = l.document->Body();
    for (auto _ : state)
        benchmark::DoNotOptimize(LayoutDocument(body, 800));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(size));
    state.counters["height"] = static_cast<double>(body->m_sizeRect.bottom);
    state.counters["floats"] = static_cast<double>(body->m_floatList.GetCount());
}

} // namespace

BENCHMARK(BM_LayoutDocument)->Arg(100)->Arg(1024)->Unit(benchmark::kMillisecond);
