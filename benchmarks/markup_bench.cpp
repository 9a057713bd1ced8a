// Loading markup into the element tree and writing it back, and cleaning
// it (CXDoc::CleanXHTML in modes 8 and 2), beside libxml2 parsing the same
// bytes, on generated XHTML of about 100 KB and 1 MB: paragraphs with bold,
// italic and link runs, one block in ten a table and one in ten a list. Run
// by hand: build/benchmarks/markup_bench
//
// Goals: the load (parse, reader, repair, destruction) and the cleaning at
// most three times libxml2's parse; the writer at least 100 MB/s; all linear
// from 100 KB to 1 MB. Cleaning the document with a named reference
// (&nbsp;, &eacute;, &mdash; ...) in place of every blank of its text costs
// at most twice as much as with numeric ones in their place.

#include "base/text/SafeBuf.h"
#include "editor/XHTML.h"
#include "element/markup/MarkupDocument.h"
#include "element/markup/SourceCode.h"

#include "benchmarks/BenchDocument.h"

#include <benchmark/benchmark.h>
#include <libxml/parser.h>

#include <string>

namespace {

const std::string& Document(int64_t kilobytes)
{
    static std::string small = GenerateBenchDocument(100 * 1024), large = GenerateBenchDocument(1024 * 1024);
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
