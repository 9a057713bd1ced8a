#pragma once
// The generated XHTML documents of the markup benchmarks (loading, cleaning
// and writing): a whole document of paragraphs with bold, italic and link
// runs and a no-break space, one block in ten a table and one in ten a
// list, deterministic for a size; and libxml2's parse of the same bytes,
// which the benchmarks are measured against.

#include "benchmarks/BenchWords.h"

#include <benchmark/benchmark.h>
#include <libxml/parser.h>

#include <cstdint>
#include <string>

// A deterministic document of at least size bytes.
inline std::string GenerateMarkupDocument(size_t size)
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
