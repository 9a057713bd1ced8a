// Laying out and painting generated XHTML of about 100 KB and 1 MB (the
// paint of the first view also at 10 MB) at 800 pixels wide: paragraphs of
// text with bold, italic and link runs, headings with borders, one block in
// ten a bordered box on a tinted background and one in twenty a float
// beside the text, with a page style sheet. Run by hand from a release
// build: build/benchmarks/paint_bench
//
// Measured: layout alone, the paint of the whole document into its resident
// tiles, both together, showing a new screen after a scroll (tiles that
// become resident are painted then) and after a jump far away (the tiles
// must be painted again), the repaint after one paragraph changes colour,
// the editor's view drawn after a scroll, and the export of the whole
// document as a PNG file. The counters give the bitmap's memory: the
// resident tiles (bounded by the budget whatever the document's height)
// beside what the whole bitmap would take painted at once.
//
// Text runs take no room until they are measured, so the sheet gives each
// paragraph the height of two lines of text; drop that rule once they do.

#include "base/text/SafeBuf.h"
#include "editor/XHTML.h"
#include "element/Element.h"
#include "element/markup/MarkupDocument.h"
#include "platform/cg/Context.h"
#include "platform/qd/Port.h"
#include "style/layout/LayoutPass.h"
#include "style/paint/DocumentPng.h"
#include "style/paint/OffscreenView.h"

#include "benchmarks/BenchMarkupDocument.h"
#include "benchmarks/BenchView.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <memory>
#include <string>

namespace {

const char kSheet[] = "p { height: 38px; margin-top: 8px; margin-bottom: 8px }"
                      "h2 { border-bottom: 2px solid #2d3a66; height: 24px }"
                      "div.box { border: 1px solid #c9a227; background-color: #fff4c8; padding: 6px }"
                      "div.aside { float: right; width: 200px; height: 120px; border: 1px dashed #369;"
                      " background-color: #eef6e4; margin-left: 12px }"
                      "a { border-bottom: 1px dotted #00f }";

// The generated document: headings and boxes one block in ten each, a
// floating aside one in twenty, no tables or lists.
std::string Generate(size_t size)
{
    BenchShape shape;
    shape.seed = 2024;
    shape.tableEvery = 0;
    shape.listEvery = 0;
    shape.headingEvery = 10;
    shape.boxEvery = 10;
    shape.floatEvery = 20;
    shape.title = "paint";
    return GenerateMarkupDocument(size, shape);
}

// The document of about that many kilobytes, generated once.
const std::string& Markup(int64_t kilobytes)
{
    static std::map<int64_t, std::string> documents;
    std::string& doc = documents[kilobytes];
    if (doc.empty())
        doc = Generate(size_t(kilobytes) * 1024);
    return doc;
}

struct Document
{
    CXHTML engine;
    CMarkupDocument markup{&engine};
    CElement* body = nullptr;

    explicit Document(int64_t kilobytes)
    {
        CSafeBuf sheet(kSheet), error;
        engine.m_doc.LoadStyleClass(sheet, 0, false, 0);
        const std::string& text = Markup(kilobytes);
        if (markup.Read(text.data(), text.size(), error))
            body = markup.Body();
    }
};

void Counters(benchmark::State& state, const Document& doc)
{
    const CXDoc& d = doc.engine.m_doc;
    state.counters["height_px"] = d.m_layoutHeight;
    state.counters["resident_MB"] = double(ResidentBitmapBytes(doc.body)) / (1 << 20);
    state.counters["whole_bitmap_MB"] = double(d.m_bitmapBytes) / (1 << 20);
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(Markup(state.range(0)).size()));
}

void BM_Layout(benchmark::State& state)
{
    Document doc(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(LayoutDocument(doc.body, 800));
    RepaintDocument(doc.body);
    Counters(state, doc);
}

void BM_Paint(benchmark::State& state)
{
    Document doc(state.range(0));
    LayoutDocument(doc.body, 800);
    for (auto _ : state)
        benchmark::DoNotOptimize(RepaintDocument(doc.body));
    Counters(state, doc);
}

void BM_LayoutAndPaint(benchmark::State& state)
{
    Document doc(state.range(0));
    for (auto _ : state) {
        LayoutDocument(doc.body, 800);
        benchmark::DoNotOptimize(RepaintDocument(doc.body));
    }
    Counters(state, doc);
}

// Each iteration shows the screen 600 rows below the last one (from the top
// again at the end), so new tiles become resident and are painted.
void BM_ScrollToNewScreen(benchmark::State& state)
{
    Document doc(state.range(0));
    LayoutDocument(doc.body, 800);
    RepaintDocument(doc.body);
    const int height = doc.engine.m_doc.m_layoutHeight;
    int top = 0;
    for (auto _ : state) {
        top = top + 600 < height ? top + 600 : 0;
        benchmark::DoNotOptimize(ShowDocumentRows(doc.body, top, top + 600));
    }
    Counters(state, doc);
}

// The editor's view (CXDoc) of 800 x 600 pixels: each iteration scrolls it
// 600 rows further (from the top again at the end) and draws it (Redraw):
// the tiles that become resident are painted and the shown rows copied to
// the window. No layout.
void BM_RedrawAfterScroll(benchmark::State& state)
{
    Document doc(state.range(0));
    LayoutDocument(doc.body, 800);
    RepaintDocument(doc.body);
    std::unique_ptr<qm::qd::Port> port(qm::qd::Port::Create(800, 600));
    CXDoc& view = doc.engine.m_doc;
    view.m_root = doc.body;
    view.m_port = port.get();
    SetBenchView(view);
    view.m_clipBottom = 600;
    view.m_clipRight = 800;
    view.SetScrollBar();
    const int height = view.m_layoutHeight;
    int top = 0;
    for (auto _ : state) {
        top = top + 600 < height ? top + 600 : 0;
        view.m_scrollY = top;
        view.Redraw();
    }
    if (view.m_scrollY != top)
        state.SkipWithError("the view did not stay where it was scrolled");
    Counters(state, doc);
    // The markup document owns the tree.
    view.m_root = nullptr;
    view.m_port = nullptr;
}

// Each iteration jumps to one of five screens far apart, so the tiles it
// needs were dropped for the budget since it was last shown: the worst case
// of showing a new view.
void BM_JumpToFarScreen(benchmark::State& state)
{
    Document doc(state.range(0));
    LayoutDocument(doc.body, 800);
    RepaintDocument(doc.body);
    const int step = doc.engine.m_doc.m_layoutHeight / 5;
    int k = 0;
    for (auto _ : state) {
        const int top = (k++ % 5) * step;
        benchmark::DoNotOptimize(ShowDocumentRows(doc.body, top, top + 600));
    }
    Counters(state, doc);
}

// The painted document written as a PNG file, a band of tiles at a time:
// the tiles not resident are painted, converted and compressed. The
// counters give the file's size and the bitmap's memory afterwards (the
// shown tiles: one band more is resident while the file is written).
void BM_ExportPng(benchmark::State& state)
{
    Document doc(state.range(0));
    LayoutDocument(doc.body, 800);
    RepaintDocument(doc.body);
    const std::string path = "paint_bench_export.png";
    for (auto _ : state) {
        if (WriteDocumentPNG(doc.body, path) != DocumentPngResult::Written) {
            state.SkipWithError("not written");
            return;
        }
    }
    if (std::FILE* f = std::fopen(path.c_str(), "rb")) {
        std::fseek(f, 0, SEEK_END);
        state.counters["png_MB"] = double(std::ftell(f)) / (1 << 20);
        std::fclose(f);
    }
    std::remove(path.c_str());
    Counters(state, doc);
}

// One paragraph near the top changes colour and is repainted alone.
void BM_RepaintOneParagraph(benchmark::State& state)
{
    Document doc(state.range(0));
    LayoutDocument(doc.body, 800);
    RepaintDocument(doc.body);
    CElement* p = doc.body->m_firstChild;
    while (p && p->m_kind != kKindP)
        p = p->m_nextSibling;
    if (!p) {
        state.SkipWithError("no paragraph");
        return;
    }
    unsigned long colour = 0;
    for (auto _ : state) {
        p->EditStyle().bkColorSet = 1;
        p->EditStyle().bkColor = static_cast<std::int32_t>(colour++ & 0xFFFFFF);
        p->m_forceRepaint = 1;
        benchmark::DoNotOptimize(p->Notify(8, nullptr));
    }
    Counters(state, doc);
}

} // namespace

BENCHMARK(BM_Layout)->Arg(100)->Arg(1024)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Paint)->Arg(100)->Arg(1024)->Arg(10240)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LayoutAndPaint)->Arg(100)->Arg(1024)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScrollToNewScreen)->Arg(100)->Arg(1024)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RedrawAfterScroll)->Arg(100)->Arg(1024)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_JumpToFarScreen)->Arg(1024)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RepaintOneParagraph)->Arg(1024)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportPng)->Arg(100)->Arg(1024)->Unit(benchmark::kMillisecond);
