#pragma once
// The XHTML document the markup benchmarks generate: paragraphs with bold,
// italic and link runs and a no-break space, one block in ten a table and
// one in ten a list, words drawn from BenchWords with a fixed seed, so that
// every run measures the same bytes.

#include "benchmarks/BenchWords.h"

#include <cstddef>
#include <string>

// A deterministic document of at least size bytes.
inline std::string GenerateBenchDocument(size_t size)
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
