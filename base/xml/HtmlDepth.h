#pragma once
// How deep the elements of HTML nest, as libxml2's HTML parser reads it:
// end tags that HTML lets a page leave out are implied, and an end tag
// closes the elements left open inside its element, so the depth is that of
// the tree a repairing reader builds. No tree is built; the count stops as
// soon as it passes limit (the answer is then limit + 1).
//
// The repair through HTML Tidy builds and writes its tree recursively, with
// no bound of its own, so markup is measured before Tidy sees it.

#include <cstddef>

// utf8: length bytes of UTF-8 (no terminator needed).
size_t HtmlNestingDepth(const char* utf8, size_t length, size_t limit);
