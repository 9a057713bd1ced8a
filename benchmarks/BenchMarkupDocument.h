#pragma once
// The generated XHTML documents of every benchmark: a whole document of
// paragraphs with inline runs, tables, lists and, as a benchmark asks,
// headings, boxes and floats, deterministic for a size and shape; and
// libxml2's parse of the same bytes, which the benchmarks are measured
// against.

#include "benchmarks/BenchClock.h"
#include "benchmarks/BenchWords.h"

#include <benchmark/benchmark.h>
#include <libxml/parser.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

// The mix of blocks a generated document holds: one block in N of each kind
// (0: none); the other blocks are paragraphs with bold, italic and link runs
// and a no-break space. The benchmarks' style sheets give the class names
// their look.
struct BenchShape
{
    unsigned seed = 12345;
    int tableEvery = 10;  // a bordered table: a header row and three rows
    int listEvery = 10;   // a list of four items
    int headingEvery = 0; // an h2
    int boxEvery = 0;     // a div of class "box" holding two paragraphs
    int floatEvery = 0;   // a div of class "aside" floating right
    const char* title = "bench";
};

// The size a benchmark asks for, or at most 8 KB in the short mode the
// tests run the benchmarks in (QM_BENCH_SHORT set): there they show that
// every benchmark runs, not how fast.
inline size_t BenchSize(size_t size)
{
    const char* quick = std::getenv("QM_BENCH_SHORT");
    return quick && *quick && size > 8 * 1024 ? 8 * 1024 : size;
}

// A deterministic document of at least size bytes (BenchSize).
inline std::string GenerateMarkupDocument(size_t size, const BenchShape& shape = BenchShape())
{
    size = BenchSize(size);
    BenchWords source(shape.seed);
    auto words = [&source](int n) { return source.Words(n); };
    // Each kind comes at its own place in its cycle: headings first, tables
    // at 3, boxes at 4, floats at 5, lists at 7 (modulo the cycle).
    auto every = [](int block, int n, int at) { return n > 0 && block % n == at % n; };
    std::string doc = std::string("<html xmlns=\"http://www.w3.org/1999/xhtml\"><head><title>") + shape.title
        + "</title></head><body>\n";
    for (int block = 0; doc.size() < size; ++block) {
        if (every(block, shape.floatEvery, 5))
            doc += "<div class=\"aside\"><p>" + words(6) + "</p></div>\n";
        if (every(block, shape.headingEvery, 0)) {
            doc += "<h2>" + words(3) + "</h2>\n";
        } else if (every(block, shape.tableEvery, 3)) {
            doc += "<table border=\"1\"><tr><th>" + words(1) + "</th><th>" + words(1) + "</th></tr>";
            for (int r = 0; r < 3; ++r)
                doc += "<tr><td>" + words(3) + "</td><td><b>" + words(2) + "</b></td></tr>";
            doc += "</table>\n";
        } else if (every(block, shape.listEvery, 7)) {
            doc += "<ul>";
            for (int i = 0; i < 4; ++i)
                doc += "<li>" + words(4) + " <i>" + words(1) + "</i></li>";
            doc += "</ul>\n";
        } else if (every(block, shape.boxEvery, 4)) {
            doc += "<div class=\"box\"><p>" + words(12) + "</p><p>" + words(9) + "</p></div>\n";
        } else {
            doc += "<p>" + words(8) + " <b>" + words(2) + "</b> " + words(6) + " <i>" + words(3)
                + "</i>, <a href=\"#" + words(1) + "\">" + words(2) + "</a> " + words(10) + "&#160;"
                + words(2) + ".</p>\n";
        }
    }
    doc += "</body></html>\n";
    return doc;
}

// The document of about 100 KB (kilobytes below 1024), 1 MB (1024) or
// 10 MB (above), each made when first asked for.
inline const std::string& MarkupDocument(int64_t kilobytes)
{
    if (kilobytes < 1024) {
        static const std::string small = GenerateMarkupDocument(100 * 1024);
        return small;
    }
    if (kilobytes == 1024) {
        static const std::string large = GenerateMarkupDocument(1024 * 1024);
        return large;
    }
    static const std::string huge = GenerateMarkupDocument(10 * 1024 * 1024);
    return huge;
}

// libxml2 parsing the document of range 0 into its tree and freeing it.
inline void BenchLibxmlParse(benchmark::State& state)
{
    const std::string& doc = MarkupDocument(state.range(0));
    for (auto _ : state) {
        xmlDoc* parsed
            = xmlReadMemory(doc.data(), static_cast<int>(doc.size()), "bench.xml", "UTF-8", XML_PARSE_NONET);
        benchmark::DoNotOptimize(parsed);
        xmlFreeDoc(parsed);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * doc.size()));
}

// Has the allocator sort out the small blocks freed so far, as it does
// before it hands out a large one. Timed work that frees many small blocks
// ends with it, so that it pays for its own frees: otherwise the next
// timed work to ask for a large block (libxml2's parser context does at
// once) is charged for them.
inline void BenchSettleHeap()
{
    // Large enough to be a large request, small enough not to be mapped.
    // Called through a pointer the compiler cannot see through, so that the
    // pair is not taken out as doing nothing.
    static void* (*volatile allocate)(std::size_t) = std::malloc;
    std::free(allocate(64 * 1024));
}

// One parse of doc by libxml2 into its tree and the tree's release, in
// seconds of processor time: the measure a load is set beside.
inline double BenchLibxmlSeconds(const std::string& doc)
{
    const double start = BenchCpuMillis();
    xmlDoc* parsed
        = xmlReadMemory(doc.data(), static_cast<int>(doc.size()), "bench.xml", "UTF-8", XML_PARSE_NONET);
    benchmark::DoNotOptimize(parsed);
    xmlFreeDoc(parsed);
    BenchSettleHeap();
    return (BenchCpuMillis() - start) / 1000;
}
