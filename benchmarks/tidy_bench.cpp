// Markup repair through HTML Tidy (CXHTML::ValidateXML) on generated HTML of
// about 100 KB and 1 MB: the markup benchmarks' document with the end tags
// of its paragraphs and list items left out (Tidy puts them back) and a
// named no-break space in each paragraph (resolved before Tidy reads it);
// its links point to a local file ("file:///" leaves them).
// Run by hand: build-rel/benchmarks/tidy_bench
//
// BM_ValidateXML is the whole repair; BM_StepsAroundTidy the textual work
// it does besides Tidy's (references, the body test, the UTF-8 conversions
// both ways, the clean-ups of the output, on a text of the output's size).
// Tidy's own time is the difference. Goal: our steps take at most a fifth
// of Tidy's own time, at both sizes, and grow about as the input does.

#include "base/text/SafeBuf.h"
#include "editor/TidyMarkup.h"
#include "editor/XHTML.h"

#include "benchmarks/BenchMarkupDocument.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

void ReplaceAll(std::string& text, const std::string& what, const std::string& with)
{
    std::string out;
    out.reserve(text.size());
    size_t kept = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, kept)) {
        out.append(text, kept, at - kept);
        out += with;
        kept = at + what.size();
    }
    out.append(text, kept, std::string::npos);
    text.swap(out);
}

std::string Html(size_t size)
{
    std::string html = GenerateMarkupDocument(size);
    ReplaceAll(html, "</p>", "");
    ReplaceAll(html, "</li>", "");
    ReplaceAll(html, "&#160;", "&nbsp;");
    ReplaceAll(html, "href=\"#", "href=\"file:///doc.html#");
    return html;
}

const CSafeBuf& Input(int64_t kilobytes)
{
    static CSafeBuf small, large;
    CSafeBuf& text = kilobytes < 1024 ? small : large;
    if (text.IsEmpty())
        text.AssignUTF8(Html(static_cast<size_t>(kilobytes) * 1024).c_str());
    return text;
}

// What Tidy writes for the input, in UTF-8, for the steps: the repair's
// result with the addresses as they were.
const std::string& Repaired(int64_t kilobytes)
{
    static std::string small, large;
    std::string& out = kilobytes < 1024 ? small : large;
    if (out.empty()) {
        CSafeBuf markup(Input(kilobytes));
        CXHTML::ValidateXML(markup);
        char* bytes = nullptr;
        const int n = markup.CreateUTF8Str(&bytes);
        out.assign(bytes ? bytes : "", n > 0 ? static_cast<size_t>(n) : 0);
        delete[] bytes;
        ReplaceAll(out, "href=\"doc.html#", "href=\"file:///doc.html#");
    }
    return out;
}

void BM_ValidateXML(benchmark::State& state)
{
    const CSafeBuf& input = Input(state.range(0));
    for (auto _ : state) {
        CSafeBuf markup(input);
        if (!CXHTML::ValidateXML(markup))
            state.SkipWithError("Tidy wrote nothing");
        benchmark::DoNotOptimize(markup.Length());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * input.Length());
}

void BM_StepsAroundTidy(benchmark::State& state)
{
    const CSafeBuf& input = Input(state.range(0));
    const std::string& output = Repaired(state.range(0));
    for (auto _ : state) {
        CSafeBuf markup(input);
        ResolveCharacterReferences(markup);
        benchmark::DoNotOptimize(HasBodyStartTag(markup));
        char* utf8 = nullptr;
        benchmark::DoNotOptimize(markup.CreateUTF8Str(&utf8));
        delete[] utf8;

        CSafeBuf result;
        result.AssignUTF8(output.c_str());
        RemoveProcessingInstructions(result);
        result.Insert(0, "<html><body>");
        result += "</body></html>";
        RemoveMarkedSections(result);
        RemoveFileSchemeFromAddresses(result);
        benchmark::DoNotOptimize(result.Length());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * input.Length());
}

} // namespace

// Tidy runs on a thread of its own: the wall clock is what counts.
BENCHMARK(BM_ValidateXML)->Arg(100)->Arg(1024)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StepsAroundTidy)->Arg(100)->Arg(1024)->Unit(benchmark::kMillisecond);
