#pragma once
// The body of a generated document, for the benchmarks that put it
// into a document some other way than loading (inserting, pasting) and set
// that beside loading it: the content, the load itself, and counters of
// what the document writes afterwards, so that both can be seen to give the
// same tree.

#include "base/text/SafeBuf.h"
#include "benchmarks/BenchMarkupDocument.h"
#include "benchmarks/BenchView.h"
#include "editor/XHTML.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <string>

// The body's content (between its tags) of the document of about that many
// kilobytes (MarkupDocument: 100 KB, 1 MB or 10 MB).
inline std::string BenchBodyContent(int64_t kilobytes)
{
    const std::string& doc = MarkupDocument(kilobytes);
    const auto open = doc.find("<body>");
    const auto close = doc.rfind("</body>");
    return doc.substr(open + 6, close - open - 6);
}

// A new engine with the view of an 800-pixel window (SetBenchView).
inline std::unique_ptr<CXHTML> BenchEngine()
{
    auto engine = std::make_unique<CXHTML>();
    SetBenchView(engine->m_doc);
    return engine;
}

inline CSafeBuf BenchWide(const std::string& utf8)
{
    CSafeBuf out;
    out.AssignUTF8(utf8.c_str());
    return out;
}

// The size of what the engine's document writes (mode 6), in units and tags.
inline void CountWritten(CXHTML& engine, benchmark::State& state)
{
    CSafeBuf written;
    engine.GetSourceCode(written, 6);
    state.counters["written_units"] = written.Length();
    int tags = 0;
    for (int i = 0; i < written.Length(); ++i)
        tags += written.GetAt(i) == '<';
    state.counters["written_tags"] = tags;
}

// The body content of the document of range(0) kilobytes loaded as a
// document.
inline void BenchLoadBody(benchmark::State& state)
{
    const std::string body = BenchBodyContent(state.range(0));
    const CSafeBuf markup = BenchWide("<html><body>" + body + "</body></html>");
    for (auto _ : state) {
        auto engine = BenchEngine();
        benchmark::DoNotOptimize(engine->LoadDocument(markup));
        state.PauseTiming();
        CountWritten(*engine, state);
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(body.size()));
}
