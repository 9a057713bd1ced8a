// Loading markup into the element tree and writing it back, and cleaning
// it (CXDoc::CleanXHTML in modes 8 and 2), beside libxml2 parsing the same
// bytes, on generated XHTML of about 100 KB, 1 MB and 10 MB: paragraphs with
// bold, italic and link runs, one block in ten a table and one in ten a
// list. Run by hand: build/benchmarks/markup_bench
//
// Goals: the load (parse, reader, repair, destruction) and the cleaning at
// most three times libxml2's parse (BM_LoadAgainstLibxml: counter "ratio"),
// a 10 MB load within ten times the 1 MB one; the writer at least 150 MB/s
// at 1 MB and growing at most 11 times from 100 KB to 1 MB (BM_WriteGrowth:
// counter "growth"); the peak memory of a whole qm-roundtrip and qm-render
// process (BM_ToolPeakMemory, on QM_BENCH_DOCUMENT when set, else the
// generated 1 MB document); the document's own load steps at most 20% over
// the load into the tree (BM_LoadDocument; BM_LoadDocumentAgainstTree:
// counter "ratio"). Cleaning the document with a named reference
// (&nbsp;, &eacute;, &mdash; ...) in place of every blank of its text costs
// at most twice as much as with numeric ones in their place.

#include "base/text/SafeBuf.h"
#include "editor/XHTML.h"
#include "element/markup/MarkupDocument.h"
#include "element/markup/SourceCode.h"

#include "benchmarks/BenchClock.h"
#include "benchmarks/BenchMarkupDocument.h"
#include "benchmarks/BenchTool.h"
#include "benchmarks/BenchView.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include <unistd.h>

namespace {

const std::string& Document(int64_t kilobytes) { return MarkupDocument(kilobytes); }

// The counters are in processor time: a shared machine's waits are not the
// load's.
double Now() { return BenchCpuMillis() / 1000; }

// One load of doc into a tree and its destruction, in seconds; negative
// when the document does not read. It pays for the allocator's sorting
// out of what the destruction freed (BenchSettleHeap), as libxml2's parse
// beside it does.
double TimeLoad(const std::string& doc, CXHTML& engine)
{
    const auto start = Now();
    {
        CMarkupDocument tree(&engine);
        CSafeBuf error;
        if (!tree.Read(doc.data(), doc.size(), error))
            return -1;
    }
    BenchSettleHeap();
    return Now() - start;
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
    const char* const* references = named ? kNames : kNumbers;
    bool inTag = false;
    unsigned turn = 0;
    for (char c : doc) {
        inTag = c == '<' ? true : c == '>' ? false : inTag;
        if (c == ' ' && !inTag) {
            out += references[turn];
            turn = turn == 5 ? 0 : turn + 1;
        } else {
            out += c;
        }
    }
    return out;
}

// range 2: 0 the document, 1 named references throughout, 2 numeric ones.
const std::string& CleaningDocument(int64_t kilobytes, int64_t references)
{
    static std::string named = ReferencesThroughout(MarkupDocument(1024), true);
    static std::string numeric = ReferencesThroughout(MarkupDocument(1024), false);
    if (references == 0 || kilobytes < 1024)
        return MarkupDocument(kilobytes);
    return references == 1 ? named : numeric;
}

void BM_LibxmlParse(benchmark::State& state) { BenchLibxmlParse(state); }

void BM_LoadIntoTree(benchmark::State& state)
{
    const std::string& doc = MarkupDocument(state.range(0));
    CXHTML engine;
    auto load = [&] {
        CMarkupDocument tree(&engine);
        CSafeBuf error;
        return tree.Read(doc.data(), doc.size(), error);
    };
    // One load untimed first, at every size: the first load of a process
    // takes its memory fresh from the system (the kernel zeroing every
    // page), which a small document's trial run hides and a large one's
    // few timed loads would count.
    if (!load())
        state.SkipWithError("the document does not read");
    for (auto _ : state) {
        if (!load())
            state.SkipWithError("the document does not read");
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * doc.size()));
}

// The two halves of BM_LoadIntoTree apart: the read alone (range 1: 0) or
// the destruction alone (1), the other half untimed.
void BM_LoadHalves(benchmark::State& state)
{
    const std::string& doc = MarkupDocument(state.range(0));
    const bool destruction = state.range(1) == 1;
    CXHTML engine;
    // One load untimed first, as in BM_LoadIntoTree: the process's first
    // takes its memory fresh from the system.
    {
        CMarkupDocument warm(&engine);
        CSafeBuf error;
        if (!warm.Read(doc.data(), doc.size(), error))
            state.SkipWithError("the document does not read");
    }
    for (auto _ : state) {
        if (destruction)
            state.PauseTiming();
        auto tree = std::make_unique<CMarkupDocument>(&engine);
        CSafeBuf error;
        if (!tree->Read(doc.data(), doc.size(), error))
            state.SkipWithError("the document does not read");
        if (destruction)
            state.ResumeTiming();
        else
            state.PauseTiming();
        tree.reset();
        BenchSettleHeap();
        if (!destruction)
            state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * doc.size()));
}

void BM_WriteBack(benchmark::State& state)
{
    const std::string& doc = MarkupDocument(state.range(0));
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

// The 1 MB document with its blocks inside depth nested divs: the load
// costs the same at any depth (each block used to restyle its subtree as it
// was read, so a tree n blocks deep was styled n times over).
void BM_LoadNestedBlocks(benchmark::State& state)
{
    const int depth = static_cast<int>(state.range(0));
    const std::string& flat = Document(1024);
    const std::string open = "<body>\n";
    const size_t at = flat.find(open) + open.size();
    const size_t end = flat.rfind("</body>");
    std::string doc = flat.substr(0, at);
    for (int i = 0; i < depth; ++i)
        doc += "<div>";
    doc += flat.substr(at, end - at);
    for (int i = 0; i < depth; ++i)
        doc += "</div>";
    doc += flat.substr(end);
    CXHTML engine;
    for (auto _ : state) {
        if (TimeLoad(doc, engine) < 0)
            state.SkipWithError("the document does not read");
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * doc.size()));
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
    SetBenchView(engine.m_doc);
    const bool whole = state.range(1) != 0;
    for (auto _ : state) {
        bool built = false;
        const bool loaded = whole ? engine.m_doc.LoadDocument(text) : engine.m_doc.ReadDocument(text, built);
        if (!loaded)
            state.SkipWithError("the document does not load");
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * doc.size()));
}

// The document's load of one data table of range(0) rows (a th and three
// td each, under a row of th): the td cells' headers are found in one pass
// over the cells, so the load grows with the rows, not with their square.
void BM_LoadDataTable(benchmark::State& state)
{
    // The tests' short runs (QM_BENCH_SHORT) take 100 rows.
    const char* quick = std::getenv("QM_BENCH_SHORT");
    const int64_t rows = quick && *quick ? std::min<int64_t>(state.range(0), 100) : state.range(0);
    std::string doc = "<html xmlns=\"http://www.w3.org/1999/xhtml\"><head><title>t</title></head><body>"
                      "<table><tr><th>h</th><th>x</th><th>y</th><th>z</th></tr>";
    for (int64_t r = 0; r < rows; ++r) {
        const std::string n = std::to_string(r);
        doc += "<tr><th>r" + n + "</th><td>a" + n + "</td><td>b" + n + "</td><td>c" + n + "</td></tr>";
    }
    doc += "</table></body></html>";
    CSafeBuf text;
    text.AssignUTF8(doc.c_str());
    CXHTML engine;
    SetBenchView(engine.m_doc);
    for (auto _ : state) {
        bool built = false;
        if (!engine.m_doc.ReadDocument(text, built))
            state.SkipWithError("the document does not load");
    }
    state.counters["rows"] = static_cast<double>(rows);
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

// The load and libxml2's parse of the same bytes, alternately, in one run:
// "ratio" is the load's time over the parse's.
void BM_LoadAgainstLibxml(benchmark::State& state)
{
    const std::string& doc = Document(state.range(0));
    CXHTML engine;
    double load = 0, parse = 0;
    for (auto _ : state) {
        const double t = TimeLoad(doc, engine);
        if (t < 0) {
            state.SkipWithError("the document does not read");
            return;
        }
        load += t;
        parse += BenchLibxmlSeconds(doc);
    }
    state.counters["ratio"] = parse > 0 ? load / parse : 0;
    state.counters["load_ms"] = 1000 * load / static_cast<double>(state.iterations());
    state.counters["libxml_ms"] = 1000 * parse / static_cast<double>(state.iterations());
}

// The document's own load (as BM_LoadDocument with range 1 = 0) and the load
// into the tree of the same document, alternately, in one run, so that both
// meet the same load of a shared machine: "ratio" is the document's load
// over the tree's (goal: at most 1.2).
void BM_LoadDocumentAgainstTree(benchmark::State& state)
{
    const std::string& doc = Document(state.range(0));
    CSafeBuf text;
    text.AssignUTF8(doc.c_str());
    CXHTML engine, treeEngine;
    SetBenchView(engine.m_doc);
    double document = 0, tree = 0;
    for (auto _ : state) {
        const auto start = Now();
        bool built = false;
        if (!engine.m_doc.ReadDocument(text, built)) {
            state.SkipWithError("the document does not load");
            return;
        }
        document += Now() - start;
        const double t = TimeLoad(doc, treeEngine);
        if (t < 0) {
            state.SkipWithError("the document does not read");
            return;
        }
        tree += t;
    }
    state.counters["ratio"] = tree > 0 ? document / tree : 0;
    state.counters["document_ms"] = 1000 * document / static_cast<double>(state.iterations());
    state.counters["tree_ms"] = 1000 * tree / static_cast<double>(state.iterations());
}

// The writer on the 100 KB and the 1 MB documents, alternately, in one run:
// "growth" is the 1 MB time over the 100 KB time (the bytes grow about 10.2
// times), "MBps" the 1 MB document's rate.
void BM_WriteGrowth(benchmark::State& state)
{
    CXHTML engine;
    CMarkupDocument small(&engine), large(&engine);
    CSafeBuf error, out;
    const std::string& smallDoc = Document(100);
    const std::string& largeDoc = Document(1024);
    if (!small.Read(smallDoc.data(), smallDoc.size(), error)
        || !large.Read(largeDoc.data(), largeDoc.size(), error)) {
        state.SkipWithError("the documents do not read");
        return;
    }
    double tSmall = 0, tLarge = 0, bytes = 0;
    for (auto _ : state) {
        auto start = Now();
        small.Write(out, 0);
        tSmall += Now() - start;
        start = Now();
        large.Write(out, 0);
        tLarge += Now() - start;
        bytes += out.Length();
    }
    state.counters["growth"] = tSmall > 0 ? tLarge / tSmall : 0;
    state.counters["MBps"] = tLarge > 0 ? bytes / tLarge / (1024 * 1024) : 0;
}

// The peak memory and the time of whole tool processes: qm-roundtrip (read
// and write) and qm-render without --png (read, lay out, paint), each a cold
// process. QM_BENCH_DOCUMENT names a document to use instead of the
// generated 1 MB one.
void BM_ToolPeakMemory(benchmark::State& state)
{
    std::string path;
    if (const char* given = std::getenv("QM_BENCH_DOCUMENT")) {
        path = given;
    } else {
        char name[] = "/tmp/qm-bench-XXXXXX";
        const int fd = mkstemp(name);
        if (fd < 0) {
            state.SkipWithError("no temporary file");
            return;
        }
        const std::string& doc = Document(1024);
        const bool written = write(fd, doc.data(), doc.size()) == static_cast<ssize_t>(doc.size());
        close(fd);
        path = name;
        if (!written) {
            state.SkipWithError("the temporary file cannot be written");
            return;
        }
    }
    double roundtripMB = 0, renderMB = 0, roundtripS = 0, renderS = 0;
    for (auto _ : state) {
        BenchToolRun run;
        if (!BenchRunTool(QM_ROUNDTRIP_TOOL, {path}, run)) {
            state.SkipWithError("qm-roundtrip failed");
            break;
        }
        roundtripMB = std::max(roundtripMB, run.peakMB);
        roundtripS += run.seconds;
        if (!BenchRunTool(QM_RENDER_TOOL, {path}, run)) {
            state.SkipWithError("qm-render failed");
            break;
        }
        renderMB = std::max(renderMB, run.peakMB);
        renderS += run.seconds;
    }
    if (!std::getenv("QM_BENCH_DOCUMENT"))
        unlink(path.c_str());
    const double n = static_cast<double>(std::max<int64_t>(state.iterations(), 1));
    state.counters["roundtrip_peak_MB"] = roundtripMB;
    state.counters["render_peak_MB"] = renderMB;
    state.counters["roundtrip_s"] = roundtripS / n;
    state.counters["render_s"] = renderS / n;
}

} // namespace

BENCHMARK(BM_LibxmlParse)->Arg(100)->Arg(1024)->Arg(10240)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadIntoTree)->Arg(100)->Arg(1024)->Arg(10240)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadHalves)
    ->Args({1024, 0})
    ->Args({1024, 1})
    ->Args({10240, 0})
    ->Args({10240, 1})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadNestedBlocks)->Arg(0)->Arg(8)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadAgainstLibxml)->Arg(1024)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadDocumentAgainstTree)->Arg(100)->Arg(1024)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteGrowth)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ToolPeakMemory)->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadDataTable)->Arg(500)->Arg(4000)->Unit(benchmark::kMillisecond);
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
