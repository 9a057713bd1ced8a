// One keystroke in a paragraph in the middle of generated XHTML of about
// 100 KB, 1 MB and 10 MB at 800 pixels wide, with the window showing that
// paragraph: the character goes into the text run, the run's paragraph is
// laid out again and what changed is repainted (the text run's OnChar and
// the notification it sends). Iterations alternate a character and
// Backspace, so the paragraph keeps its length. Run by hand from a release
// build: build/benchmarks/typing_bench
//
// BM_Keystroke: the second argument is the number of words in the
// paragraph typed into: the cost of a keystroke should follow it, not the
// document's size; the counter height_changes gives the share of
// keystrokes that changed the document's height.
//
// BM_KeystrokeNewLine: the caret stands at the end of the paragraph, where
// the character pushes the last word onto a new line (and Backspace takes
// it back), so
// every keystroke moves everything after the paragraph. Goals: at most
// 1 ms at 1 MB, at most twice the 100 KB figure, and at most 2 ms at 10 MB.
//
// BM_DocumentKeystroke: the same keystroke as the editor takes it
// (CXHTML::OnChar on a document the editor loaded at 800 pixels): the text
// run's edit, layout and repaint of what changed, the caret and the view,
// and the change notification with its undo check (no snapshot: the caret
// stays in one element). Goals: 2 ms at 100 KB, 4 ms at 1 MB.
//
// BM_SnapshotKeystroke: that keystroke followed by a forced undo snapshot,
// as Return and the commands take one: the whole document written out once
// more. Its own figure, at 100 KB and 1 MB.
//
// BM_UndoAfterKeystroke: that keystroke, a forced snapshot, then undo and
// redo in turn (counters undo_ms and redo_ms, processor time), at 100 KB
// and 1 MB.
// (The memory the undo list holds is undo_bench's.)

#include "base/text/SafeBuf.h"
#include "editor/XHTML.h"
#include "element/Element.h"
#include "element/markup/MarkupDocument.h"
#include "elements/TextElement.h"
#include "style/layout/ElementPosition.h"
#include "style/layout/LayoutPass.h"
#include "style/paint/OffscreenView.h"

#include "benchmarks/BenchClock.h"
#include "benchmarks/BenchMarkupDocument.h"
#include "benchmarks/BenchView.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <string>

namespace {

// Paragraphs with bold, italic and link runs and a heading every ten
// blocks; a paragraph with id "here" and that many words goes halfway down.
std::string Generate(size_t size, int words)
{
    BenchShape shape;
    shape.seed = 77;
    shape.tableEvery = 0;
    shape.listEvery = 0;
    shape.headingEvery = 10;
    shape.title = "typing";
    std::string doc = GenerateMarkupDocument(size, shape);
    BenchWords source(78);
    const size_t middle = doc.find("<p>", doc.size() / 2);
    doc.insert(middle == std::string::npos ? doc.rfind("</body>") : middle,
        "<p id=\"here\">" + source.Words(words) + "</p>\n");
    return doc;
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

// A generated document laid out and painted, the window showing the
// paragraph typed into, the caret in its first text run.
struct Typing
{
    CXHTML engine;
    CMarkupDocument markup{&engine};
    std::string text;
    CElement* body = nullptr;
    CTextElement* run = nullptr;

    bool Open(size_t size, int words)
    {
        text = Generate(size, words);
        CSafeBuf error;
        if (!markup.Read(text.data(), text.size(), error))
            return false;
        body = markup.Body();
        LayoutDocument(body, 800);
        RepaintDocument(body);
        CElement* p = FindHere(body);
        if (!p || !p->m_firstChild || !p->m_firstChild->IsTextElement())
            return false;
        const CPoint at = DocumentPosition(p);
        ShowDocumentRows(body, at.y > 300 ? at.y - 300 : 0, at.y + 300);
        run = static_cast<CTextElement*>(p->m_firstChild);
        engine.m_doc.m_caretElement = run;
        return true;
    }

    // One key at the caret; the caret follows the element the key moved it to.
    void Key(unsigned key)
    {
        bool flag = false;
        CPoint point;
        int length = 0;
        CElement* moved = nullptr;
        CElement* caret = engine.m_doc.m_caretElement;
        benchmark::DoNotOptimize(caret->OnChar(key, 1, 0, flag, point, length, moved, false));
        if (moved)
            engine.m_doc.m_caretElement = moved;
        engine.m_doc.ReleaseRemovedElements();
    }
};

void BM_Keystroke(benchmark::State& state)
{
    Typing t;
    if (!t.Open(size_t(state.range(0)) * 1024, int(state.range(1)))) {
        state.SkipWithError("no paragraph");
        return;
    }
    // The caret in the middle of the paragraph's first line.
    t.run->m_caretOffset = t.run->m_text.Length() / 2;
    int64_t n = 0, changes = 0;
    for (auto _ : state) {
        const LONG height = t.body->Lay().m_sizeRect.bottom;
        t.Key(n++ % 2 ? 8 : 'x');
        changes += t.body->Lay().m_sizeRect.bottom != height;
    }
    state.counters["height_changes"] = n ? double(changes) / double(n) : 0;
    state.counters["height_px"] = t.engine.m_doc.m_layoutHeight;
    state.counters["doc_KB"] = double(t.text.size()) / 1024;
}

void BM_KeystrokeNewLine(benchmark::State& state)
{
    Typing t;
    if (!t.Open(size_t(state.range(0)) * 1024, 40)) {
        state.SkipWithError("no paragraph");
        return;
    }
    // Characters typed at the end of the paragraph until one adds a line;
    // Backspace takes that one back, so the next character adds it again.
    t.run->m_caretOffset = t.run->m_text.Length();
    bool found = false;
    for (int i = 0; i < 400 && !found; ++i) {
        const LONG height = t.body->Lay().m_sizeRect.bottom;
        t.Key('x');
        found = t.body->Lay().m_sizeRect.bottom != height;
    }
    if (!found) {
        state.SkipWithError("no character adds a line");
        return;
    }
    t.Key(8);
    int64_t n = 0, changes = 0;
    for (auto _ : state) {
        const LONG height = t.body->Lay().m_sizeRect.bottom;
        t.Key(n++ % 2 ? 8 : 'x');
        changes += t.body->Lay().m_sizeRect.bottom != height;
    }
    state.counters["height_changes"] = n ? double(changes) / double(n) : 0;
    state.counters["doc_KB"] = double(t.text.size()) / 1024;
}

// A generated document the editor loaded at 800 pixels, the view showing
// the paragraph typed into, the caret in the middle of its first run.
struct EditorTyping
{
    CXHTML engine;
    std::string text;

    bool Open(size_t size)
    {
        SetBenchView(engine.m_doc);
        text = Generate(size, 40);
        CSafeBuf wide;
        wide.AssignUTF8(text.c_str());
        CXDoc& doc = engine.m_doc;
        CElement* p = doc.LoadDocument(wide) ? FindHere(doc.m_root) : nullptr;
        if (!p || !p->m_firstChild || !p->m_firstChild->IsTextElement())
            return false;
        const CPoint at = DocumentPosition(p);
        doc.m_scrollY = at.y > 300 ? at.y - 300 : 0;
        ShowDocumentRows(doc.m_root, doc.m_scrollY, doc.m_scrollY + 600);
        CElement* run = p->m_firstChild;
        run->m_caretOffset = run->m_text.Length() / 2;
        doc.m_caretElement = run;
        doc.m_caretEnabled = 1;
        // The first change notification takes the baseline's caret element.
        engine.NotifyChange(false);
        return true;
    }

    void Key(unsigned key)
    {
        engine.OnChar(key, 1, 0);
        engine.m_doc.ReleaseRemovedElements();
    }
};

void BM_DocumentKeystroke(benchmark::State& state)
{
    EditorTyping t;
    if (!t.Open(size_t(state.range(0)) * 1024)) {
        state.SkipWithError("no paragraph");
        return;
    }
    int64_t n = 0;
    const int snapshots = t.engine.m_doc.m_undoList.GetCount();
    for (auto _ : state)
        t.Key(n++ % 2 ? 8 : 'x');
    if (t.engine.m_doc.m_undoList.GetCount() != snapshots)
        state.SkipWithError("a keystroke took a snapshot");
    state.counters["doc_KB"] = double(t.text.size()) / 1024;
}

void BM_SnapshotKeystroke(benchmark::State& state)
{
    EditorTyping t;
    if (!t.Open(size_t(state.range(0)) * 1024)) {
        state.SkipWithError("no paragraph");
        return;
    }
    int64_t n = 0;
    for (auto _ : state) {
        t.Key(n++ % 2 ? 8 : 'x');
        benchmark::DoNotOptimize(t.engine.m_doc.SaveUndo(true));
    }
    state.counters["doc_KB"] = double(t.text.size()) / 1024;
}

// A keystroke with a forced snapshot after it (as moving the caret to
// another element takes one), then undo and redo in turn as the editor's
// commands: each loads a whole snapshot again, lays it out and paints the
// view, puts the caret back and takes the change notification.
void BM_UndoAfterKeystroke(benchmark::State& state)
{
    EditorTyping t;
    if (!t.Open(size_t(state.range(0)) * 1024)) {
        state.SkipWithError("no paragraph");
        return;
    }
    CSafeBuf before, after, now;
    t.engine.GetSourceCode(before, 6);
    t.Key('x');
    t.engine.NotifyChange(true);
    t.engine.GetSourceCode(after, 6);
    double undo = 0, redo = 0;
    for (auto _ : state) {
        const double start = BenchCpuMillis();
        t.engine.OnUndo();
        const double undone = BenchCpuMillis();
        t.engine.OnRedo();
        undo += undone - start;
        redo += BenchCpuMillis() - undone;
        state.PauseTiming();
        t.engine.GetSourceCode(now, 6);
        if (now != after)
            state.SkipWithError("undo and redo did not give the typed document back");
        state.ResumeTiming();
    }
    if (before == after)
        state.SkipWithError("the keystroke changed nothing");
    const double n = double(std::max<int64_t>(state.iterations(), 1));
    state.counters["undo_ms"] = undo / n;
    state.counters["redo_ms"] = redo / n;
    state.counters["doc_KB"] = double(t.text.size()) / 1024;
}

} // namespace

BENCHMARK(BM_UndoAfterKeystroke)->Arg(100)->Arg(1024)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DocumentKeystroke)->Arg(100)->Arg(1024)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SnapshotKeystroke)->Arg(100)->Arg(1024)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Keystroke)
    ->Args({100, 40})
    ->Args({1024, 40})
    ->Args({100, 400})
    ->Args({1024, 400})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_KeystrokeNewLine)->Arg(100)->Arg(1024)->Arg(10240)->Unit(benchmark::kMillisecond);
