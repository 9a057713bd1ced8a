// Tables nested inside one another, 1 to 64 deep, laid out at 800 pixels:
// each table has a row of two cells, some words in the first and the next
// table in the second (the innermost: words in both). Each iteration lays
// the document out whole. Run by hand from a release build:
// build/benchmarks/nested_table_bench
//
// Counters per layout: width (the outermost table's) and inner (the
// innermost table's), which show that the deep tables take their words'
// natural widths.
//
// BM_NestedTablesWithRule: the tables each 100% wide with a horizontal rule
// in the innermost in place of its words. The rule's box follows the width
// its cell is offered and adds nothing to any minimum width: width stays
// 800 until the cells' words need more (as in BM_NestedTables).
//
// Goal: the time grows linearly with the depth (twice the depth, about
// twice the time), past the first few tables as below them; with the rule
// about as without it.

#include "base/text/SafeBuf.h"
#include "editor/XHTML.h"
#include "element/Element.h"
#include "element/markup/MarkupDocument.h"
#include "style/layout/LayoutBox.h"
#include "style/layout/LayoutPass.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

namespace {

// Levels of open + "some words in a cell" + middle, the innermost
// content, then the levels' close.
std::string Generate(
    int depth, const char* open, const char* middle, const char* close, const char* innermost)
{
    std::string doc = "<html xmlns=\"http://www.w3.org/1999/xhtml\"><body>";
    for (int i = 0; i < depth; ++i)
        doc += std::string(open) + "some words in a cell" + middle;
    doc += innermost;
    for (int i = 0; i < depth; ++i)
        doc += close;
    doc += "</body></html>";
    return doc;
}

const CElement* Innermost(const CElement* e)
{
    const CElement* found = nullptr;
    for (; e; e = e->GetLastChild()) {
        if (e->m_kind == kKindTable)
            found = e;
    }
    return found;
}

void Nested(benchmark::State& state, const char* open, const char* middle, const char* close,
    const char* innermost = "the innermost words")
{
    const int depth = static_cast<int>(state.range(0));
    auto engine = std::make_unique<CXHTML>();
    auto document = std::make_unique<CMarkupDocument>(engine.get());
    const std::string doc = Generate(depth, open, middle, close, innermost);
    CSafeBuf error;
    if (!document->Read(doc.data(), doc.size(), error)) {
        state.SkipWithError("the generated document did not read");
        return;
    }
    CElement* body = document->Body();
    LayoutDocument(body, 800);
    for (auto _ : state)
        benchmark::DoNotOptimize(LayoutDocument(body, 800));
    state.counters["width"] = body->m_firstChild ? static_cast<double>(BoxWidth(body->m_firstChild)) : 0.0;
    const CElement* inner = Innermost(body);
    state.counters["inner"] = inner ? static_cast<double>(BoxWidth(inner)) : 0.0;
}

void BM_NestedTables(benchmark::State& state)
{
    Nested(state, "<table><tr><td>", "</td><td>", "</td></tr></table>");
}

void BM_NestedTablesWithRule(benchmark::State& state)
{
    Nested(state, "<table width=\"100%\"><tr><td>", "</td><td>", "</td></tr></table>", "<hr/>");
}

// The same words in blocks nested as deep in elements, for comparison: the
// part of the time any content that deep takes (text runs look up inherited
// values and blocks their place in the document up their ancestors).
void BM_NestedBlocks(benchmark::State& state)
{
    Nested(state, "<div><div><div>", "</div><div>", "</div></div></div>");
}

} // namespace

BENCHMARK(BM_NestedTables)->RangeMultiplier(2)->Range(1, 64)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_NestedTablesWithRule)->RangeMultiplier(2)->Range(1, 64)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_NestedBlocks)->RangeMultiplier(2)->Range(1, 64)->Unit(benchmark::kMicrosecond);
