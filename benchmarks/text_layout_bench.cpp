// Typing into a paragraph re-lays out the text run that holds the caret: the
// run is shaped once, then the layout asks for prefix widths (caret position,
// hit-testing) and line breaks (wrapping). These benchmarks time those steps
// on a paragraph of ordinary length so a slow path shows up as a number; and
// the fonts a process takes in as it starts.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/text/FontFolderCache.h"
#include "platform/text/TextLayout.h"
#include "platform/text/TextStyle.h"
#include "platform/text/WordCache.h"

namespace {

std::vector<std::uint16_t> Paragraph(int words)
{
    static const char* kWords[] = {
        "the", "editor", "lays", "out", "each", "paragraph", "again", "after", "every", "typed", "character"};
    std::vector<std::uint16_t> text;
    for (int i = 0; i < words; ++i) {
        if (i)
            text.push_back(' ');
        for (const char* p = kWords[i % 11]; *p; ++p)
            text.push_back(std::uint16_t(*p));
    }
    return text;
}

// A 16-pixel style and a layout of a 200-word paragraph, shaped once.
struct ShapedParagraph
{
    ShapedParagraph() : text(Paragraph(200))
    {
        style.SetSize(16);
        layout.SetStyle(&style);
        layout.SetText(text.data(), int(text.size()));
        layout.PrefixWidth(1);
    }
    qm::text::Style style;
    std::vector<std::uint16_t> text;
    qm::text::Layout layout;
};

// Shaping a changed run: what one keystroke costs before any measuring.
void BM_ShapeParagraph(benchmark::State& state)
{
    qm::text::Style style;
    style.SetSize(16);
    std::vector<std::uint16_t> text = Paragraph(int(state.range(0)));
    qm::text::Layout layout;
    layout.SetStyle(&style);
    for (auto _ : state) {
        text.back() = text.back() == 'r' ? 's' : 'r'; // a new text every round
        layout.SetText(text.data(), int(text.size()));
        benchmark::DoNotOptimize(layout.PrefixWidth(int(text.size())));
    }
    state.SetItemsProcessed(state.iterations() * std::int64_t(text.size()));
}
BENCHMARK(BM_ShapeParagraph)->Arg(20)->Arg(200);

// Shaping a paragraph whose words the shaper has not met: what a document's
// first layout costs for each new word.
void BM_ShapeNewWords(benchmark::State& state)
{
    qm::text::Style style;
    style.SetSize(16);
    const std::vector<std::uint16_t> text = Paragraph(int(state.range(0)));
    qm::text::Layout layout;
    layout.SetStyle(&style);
    for (auto _ : state) {
        qm::text::WordCache::Get().Clear();
        layout.SetText(text.data(), int(text.size()));
        benchmark::DoNotOptimize(layout.PrefixWidth(int(text.size())));
    }
    state.SetItemsProcessed(state.iterations() * std::int64_t(text.size()));
}
BENCHMARK(BM_ShapeNewWords)->Arg(11);

// Prefix widths on a shaped run: answered from cluster positions.
void BM_PrefixWidths(benchmark::State& state)
{
    ShapedParagraph p;
    for (auto _ : state) {
        double sum = 0;
        for (int n = 0; n <= int(p.text.size()); n += 7)
            sum += p.layout.PrefixWidth(n);
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_PrefixWidths);

// Wrapping a shaped paragraph into lines of a column's width.
void BM_BreakIntoLines(benchmark::State& state)
{
    ShapedParagraph p;
    for (auto _ : state) {
        int lines = 0;
        for (int start = 0; start < p.layout.Length(); ++lines) {
            const int n = p.layout.BreakLine(start, int(state.range(0)));
            if (n <= 0)
                break;
            start += n;
        }
        benchmark::DoNotOptimize(lines);
    }
}
BENCHMARK(BM_BreakIntoLines)->Arg(300)->Arg(600);

// What every process pays once as its font catalogue starts: the fonts of
// the DejaVu folder put into a fontconfig configuration, each file scanned
// (0) or read from the machine's cache of the folder (1).
void BM_FontFolderFonts(benchmark::State& state)
{
    const std::string dir = "/usr/share/fonts/truetype/dejavu";
    const std::vector<std::string> files = qm::text::FontFilesOf(dir);
    if (files.empty()) {
        state.SkipWithError("no DejaVu fonts");
        return;
    }
    const std::string xml = std::string("<?xml version=\"1.0\"?>\n<fontconfig>\n")
        + qm::text::FontCacheFolders() + "</fontconfig>\n";
    for (auto _ : state) {
        FcConfig* config = FcConfigCreate();
        FcConfigParseAndLoadFromMemory(config, reinterpret_cast<const FcChar8*>(xml.c_str()), FcTrue);
        if (state.range(0) == 0 || !qm::text::AddCachedFonts(config, dir, files)) {
            for (const std::string& f : files)
                FcConfigAppFontAddFile(config, reinterpret_cast<const FcChar8*>(f.c_str()));
        }
        benchmark::DoNotOptimize(FcConfigGetFonts(config, FcSetApplication));
        FcConfigDestroy(config);
    }
}
BENCHMARK(BM_FontFolderFonts)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace
