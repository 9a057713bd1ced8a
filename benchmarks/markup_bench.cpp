// Loading markup into the element tree and writing it back, and cleaning
// it (CXDoc::CleanXHTML in modes 8 and 2), beside libxml2 parsing the same
// bytes, on generated XHTML of about 100 KB and 1 MB: paragraphs with bold,
// italic and link runs, one block in ten a table and one in ten a list. Run
// by hand: build/benchmarks/markup_bench
//
// Goals: the load (parse, reader, repair, destruction) and the cleaning at
// most three times libxml2's parse; the document's own load steps at most
// 20% over the load into the tree; the writer at least 100 MB/s; all linear
// from 100 KB to 1 MB. Cleaning the document with a named reference
// (&nbsp;, &eacute;, &mdash; ...) in place of every blank of its text costs
// at most twice as much as with numeric ones in their place.

#include "base/text/SafeBuf.h"
#include "editor/XHTML.h"
#include "element/markup/MarkupDocument.h"
#include "element/markup/SourceCode.h"

#include "benchmarks/BenchWords.h"

#include <benchmark/benchmark.h>
#include <libxml/parser.h>

#include <string>

namespace {

// A deterministic document of at least size bytes.
std::string Generate(size_t size)
{
    BenchWords source(12345);
    auto words = [&source](int n) { return source.Words(n); };
    std::string doc
        = "<html xmlns=\"http://www.w3.org/1999/xhtml\"><head><title>bench</title></head><body>\n";
    for (int block = 0; doc.size() < size; ++block) {
        if (block % 10 == 3) {
            doc += "<table border=\"1\"><tr><th>" + words(1) + "</th><th>" + words(1) + "</th></tr>";
            for (int r = 0; r < 3; ++r)
                doc += "<tr><td>" + words(3) + "</td><td><b>" + words(2) + "</b></td></tr>";
            doc += "</table>\n";
        } else if (block % 10 == 7) {
            doc += "<ul>";
            for (int i = 0; i < 4; ++i)
                doc += "<li>" + words(4) + " <i>" + words(1) + "</i></li>";
            doc += "</ul>\n";
        } else {
            doc += "<p>" + words(8) + " <b>" + words(2) + "</b> " + words(6) + " <i>" + words(3)
                + "</i>, <a href=\"#" + words(1) + "\">" + words(2) + "</a> " + words(10) + "&#160;"
                + words(2) + ".</p>\n";
        }
    }
    doc += "</body></html>\n";
    return doc;
}

const std::string& Document(int64_t kilobytes)
{
    static std::string small = Generate(100 * 1024), large = Generate(1024 * 1024);
    return kilobytes < 1024 ? small : large;
}

// The document with every blank of its text (outside tags) replaced by a
// character reference, drawn in turn from a few: named ones, or the numeric
// ones of the same characters (about as long), to tell the cost of the
// names from that of a longer text.
std::string ReferencesThroughout(const std::string& doc, bool named)
{
    static const char* const kNames[] = {"&nbsp;", "&eacute;", "&mdash;", "&copy;", "&hellip;", "&rsquo;"};
    static const char* const kNumbers[] = {"&#160;", "&#233;", "&#8212;", "&#169;", "&#8230;", "&#8217;"};
    std::string out;
    out.reserve(doc.size() * 2);
    bool inTag = false;
    size_t next = 0;
    for (char c : doc) {
        inTag = c == '<' ? true : c == '>' ? false : inTag;
        if (c == ' ' && !inTag)
            out += (named ? kNames : kNumbers)[next++ % 6];
        else
            out += c;
    }
    return out;
}

// range 2: 0 the document, 1 named references throughout, 2 numeric ones.
const std::string& CleaningDocument(int64_t kilobytes, int64_t references)
{
    static std::string named = ReferencesThroughout(Document(1024), true);
    static std::string numeric = ReferencesThroughout(Document(1024), false);
    if (references == 0 || kilobytes < 1024)
        return Document(kilobytes);
    return references == 1 ? named : numeric;
}

void BM_LibxmlParse(benchmark::State& state)
{
    const std::string& doc = Document(state.range(0));
    for (auto _ : state) {
        xmlDoc* parsed
            = xmlReadMemory(doc.data(), static_cast<int>(doc.size()), "bench.xml", "UTF-8", XML_PARSE_NONET);
        benchmark::DoNotOptimize(parsed);
        xmlFreeDoc(parsed);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * doc.size()));
}

void BM_LoadIntoTree(benchmark::State& state)
{
    const std::string& doc = Document(state.range(0));
    CXHTML engine;
    for (auto _ : state) {
        CMarkupDocument tree(&engine);
        CSafeBuf error;
        if (!tree.Read(doc.data(), doc.size(), error))
            state.SkipWithError("the document does not read");
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * doc.size()));
}

void BM_WriteBack(benchmark::State& state)
{
    const std::string& doc = Document(state.range(0));
    CXHTML engine;
    CMarkupDocument tree(&engine);
    CSafeBuf error, out;
    if (!tree.Read(doc.data(), doc.size(), error))
        state.SkipWithError("the document does not read");
    const int flags = static_cast<int>(state.range(1));
    for (auto _ : state) {
        tree.Write(out, flags);
        benchmark::DoNotOptimize(out.Length());
    }
    // Measured on the markup written (as UTF-8 it is about as long).
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * out.Length()));
}

// The document's own load (CXDoc::ReadDocument: LoadDocument without its
// layout, painting and baseline) of the same document as the UTF-16 text it
// is handed, the previous tree destroyed in the next round as in
// BM_LoadIntoTree. Goal: at most 20% over BM_LoadIntoTree. Range 1 set: the
// whole LoadDocument, laid out and painted at 800 pixels.
void BM_LoadDocument(benchmark::State& state)
{
    const std::string& doc = Document(state.range(0));
    CSafeBuf text;
    text.AssignUTF8(doc.c_str());
    CXHTML engine;
    engine.m_doc.m_windowRect = CRect(0, 0, 800, 600);
    const bool whole = state.range(1) != 0;
    for (auto _ : state) {
        bool built = false;
        const bool loaded = whole ? engine.m_doc.LoadDocument(text) : engine.m_doc.ReadDocument(text, built);
        if (!loaded)
            state.SkipWithError("the document does not load");
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * doc.size()));
}

// Cleaning as a page's value (mode 8, with the control's option 0x4000 so
// that it takes effect) or as markup from another program (mode 2); range 2
// 1 or 2: the 1 MB document with named or numeric references throughout.
void BM_Clean(benchmark::State& state)
{
    const std::string& doc = CleaningDocument(state.range(0), state.range(2));
    CSafeBuf source;
    source.AssignUTF8(doc.c_str());
    CXHTML engine;
    const int options = 0x4000;
    engine.m_controlOptions = &options;
    const int mode = static_cast<int>(state.range(1));
    for (auto _ : state) {
        CSafeBuf text(source);
        if (!engine.m_doc.CleanXHTML(text, mode))
            state.SkipWithError("the document does not clean");
        benchmark::DoNotOptimize(text.Length());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * doc.size()));
}

} // namespace

BENCHMARK(BM_LibxmlParse)->Arg(100)->Arg(1024)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadIntoTree)->Arg(100)->Arg(1024)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadDocument)
    ->Args({100, 0})
    ->Args({1024, 0})
    ->Args({100, 1})
    ->Args({1024, 1})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteBack)
    ->Args({100, 0})
    ->Args({1024, 0})
    ->Args({1024, kSourceIndent})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Clean)
    ->Args({100, 8, 0})
    ->Args({1024, 8, 0})
    ->Args({100, 2, 0})
    ->Args({1024, 2, 0})
    ->Args({1024, 8, 1})
    ->Args({1024, 8, 2})
    ->Args({1024, 2, 1})
    ->Args({1024, 2, 2})
    ->Unit(benchmark::kMillisecond);
