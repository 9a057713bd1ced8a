// One keystroke in a paragraph in the middle of generated XHTML of about
// 100 KB and 1 MB at 800 pixels wide, with the window showing that
// paragraph: the character goes into the text run, the run's paragraph is
// laid out again and what changed is repainted (the text run's OnChar and
// the notification it sends). Iterations alternate a character and
// Backspace, so the paragraph keeps its length. Run by hand from a release
// build: build/benchmarks/typing_bench
//
// The second argument is the number of words in the paragraph typed into:
// the cost of a keystroke should follow it, not the document's size. Where
// the character pushes a word onto a new line (and Backspace takes it back)
// the document's height changes and everything after the paragraph moves:
// the counter height_changes gives the share of such keystrokes.

#include "base/text/SafeBuf.h"
#include "editor/XHTML.h"
#include "element/Element.h"
#include "element/markup/MarkupDocument.h"
#include "elements/TextElement.h"
#include "style/layout/ElementPosition.h"
#include "style/layout/LayoutPass.h"
#include "style/paint/OffscreenView.h"

#include "benchmarks/BenchWords.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

// Paragraphs with bold, italic and link runs and a heading every ten
// blocks; the paragraph halfway down gets id "here" and words words.
std::string Generate(size_t size, int words)
{
    BenchWords source(77);
    auto w = [&source](int n) { return source.Words(n); };
    std::string body;
    int blocks = 0;
    while (body.size() < size) {
        if (blocks % 10 == 0)
            body += "<h2>" + w(3) + "</h2>\n";
        else
            body += "<p>" + w(9) + " <b>" + w(2) + "</b> " + w(7) + " <i>" + w(3) + "</i>, <a href=\"#x\">"
                + w(2) + "</a> " + w(11) + ".</p>\n";
        ++blocks;
    }
    // The paragraph typed into goes in the middle.
    size_t middle = body.find("<p>", body.size() / 2);
    body.insert(middle, "<p id=\"here\">" + w(words) + "</p>\n");
    return "<html xmlns=\"http://www.w3.org/1999/xhtml\"><head><title>typing</title></head><body>\n" + body
        + "</body></html>\n";
}

CElement* FindHere(CElement* body)
{
    CSafeBuf id;
    for (CElement* c = body->m_firstChild; c; c = c->m_nextSibling) {
        if (c->GetAttrString("id", id) && id == "here")
            return c;
    }
    return nullptr;
}

void BM_Keystroke(benchmark::State& state)
{
    CXHTML engine;
    CMarkupDocument markup(&engine);
    const std::string text = Generate(size_t(state.range(0)) * 1024, int(state.range(1)));
    CSafeBuf error;
    if (!markup.Read(text.data(), text.size(), error)) {
        state.SkipWithError("markup");
        return;
    }
    CElement* body = markup.Body();
    LayoutDocument(body, 800);
    RepaintDocument(body);
    CElement* p = FindHere(body);
    if (!p || !p->m_firstChild || !p->m_firstChild->IsTextElement()) {
        state.SkipWithError("no paragraph");
        return;
    }
    const CPoint at = DocumentPosition(p);
    ShowDocumentRows(body, at.y > 300 ? at.y - 300 : 0, at.y + 300);
    // The caret in the middle of the paragraph's first line.
    CTextElement* run = static_cast<CTextElement*>(p->m_firstChild);
    run->m_caretOffset = run->m_text.Length() / 2;
    engine.m_doc.m_caretElement = run;
    bool flag = false;
    CPoint point;
    int length = 0;
    int64_t n = 0, changes = 0;
    for (auto _ : state) {
        const LONG height = body->m_sizeRect.bottom;
        CElement* caret = engine.m_doc.m_caretElement;
        CElement* moved = nullptr;
        benchmark::DoNotOptimize(caret->OnChar(n++ % 2 ? 8 : 'x', 1, 0, flag, point, length, moved, false));
        if (moved)
            engine.m_doc.m_caretElement = moved;
        engine.m_doc.ReleaseRemovedElements();
        changes += body->m_sizeRect.bottom != height;
    }
    state.counters["height_changes"] = n ? double(changes) / double(n) : 0;
    state.counters["height_px"] = engine.m_doc.m_layoutHeight;
    state.counters["doc_KB"] = double(text.size()) / 1024;
}

} // namespace

BENCHMARK(BM_Keystroke)
    ->Args({100, 40})
    ->Args({1024, 40})
    ->Args({100, 400})
    ->Args({1024, 400})
    ->Unit(benchmark::kMillisecond);
