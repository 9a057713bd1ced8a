// Taking a style sheet's text apart into rules (style/sheets/SheetText.h) on
// hostile sheets, each at two sizes 4x apart (the check is the ratio: 4x the
// input may cost at most about 4x):
//   StrayBracesWithMark  a sheet holding U+FDD0 and many "}" that close no
//                        block, which are then dropped
//   MarkedBraces         many "}" that close no block, kept in the selector
//                        of the rule after them
//   LeadingStatements    many "@...;" statements before one rule
//   Replace              CSafeBuf::Replace over a text full of matches
// Run by hand from a release build: build-rel/benchmarks/sheet_split_bench

#include "base/text/SafeBuf.h"
#include "style/sheets/SheetText.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

void Split(benchmark::State& state, const CSafeBuf& sheet)
{
    for (auto _ : state) {
        std::vector<SheetRule> rules;
        SplitSheet(sheet, rules);
        benchmark::DoNotOptimize(rules.data());
    }
    state.counters["units"] = sheet.Length();
}

void StrayBracesWithMark(benchmark::State& state)
{
    CSafeBuf sheet(static_cast<unsigned short>(0xFDD0), 1);
    sheet += CSafeBuf(static_cast<unsigned short>('}'), static_cast<int>(state.range(0)));
    sheet += "p { color: red }";
    Split(state, sheet);
}

void MarkedBraces(benchmark::State& state)
{
    CSafeBuf sheet(static_cast<unsigned short>('}'), static_cast<int>(state.range(0)));
    sheet += "p { color: red }";
    Split(state, sheet);
}

void LeadingStatements(benchmark::State& state)
{
    std::string text;
    for (int64_t i = 0; i < state.range(0) / 16; ++i)
        text += "@import \"a.css\";";
    CSafeBuf sheet(text.c_str());
    sheet += "p { color: red }";
    Split(state, sheet);
}

void Replace(benchmark::State& state)
{
    const CSafeBuf source(static_cast<unsigned short>('a'), static_cast<int>(state.range(0)));
    for (auto _ : state) {
        CSafeBuf text(source);
        benchmark::DoNotOptimize(text.Replace("a", "bc"));
    }
    state.counters["units"] = source.Length();
}

} // namespace

BENCHMARK(StrayBracesWithMark)->Arg(64 << 10)->Arg(256 << 10)->Unit(benchmark::kMillisecond);
BENCHMARK(MarkedBraces)->Arg(64 << 10)->Arg(256 << 10)->Unit(benchmark::kMillisecond);
BENCHMARK(LeadingStatements)->Arg(64 << 10)->Arg(256 << 10)->Unit(benchmark::kMillisecond);
BENCHMARK(Replace)->Arg(16 << 10)->Arg(64 << 10)->Unit(benchmark::kMillisecond);
