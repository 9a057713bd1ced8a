// Markup from outside (the page's InsertXML, the clipboard) inserted at a
// caret: the fuzzed bytes are the markup, and the bytes at the end choose
// the document, the text run and caret offset (or the body child) that take
// it and the switches of the call. Then a range of the document's plain text
// is selected and an inline format applied to or taken off it; last, the
// document is laid out, a drag between two runs marks a selection and it is
// deleted. Checks: the caret stays on a live element; a dragged run's range
// lies in its text; what the writer makes of the tree after
// each step reads again; the selection written as markup is well-formed
// XML; nothing is left registered once the document is gone.

#include "fuzz/FuzzText.h"
#include "tests/common/TextHelpers.h"

#include "base/text/SafeBuf.h"
#include "base/xml/XmlLoad.h"
#include "editor/XHTML.h"
#include "element/Element.h"
#include "element/Selection.h"
#include "element/markup/MarkupDocument.h"
#include "element/markup/SourceCode.h"
#include "style/layout/LayoutPass.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

const char* const kDocuments[] = {
    "<p>abcd</p>",
    "<p>x<b>ab<i>cd</i></b>y</p><div>ef</div>",
    "<h1>ab</h1><ul><li>cd<a href=\"u\">ef</a></li></ul>",
    "<table><tbody><tr><td>ab</td><td>cd</td></tr></tbody></table><p><a href=\"u\">ab</a></p>",
    "<pre>ab\ncd</pre><p>&#160;</p><dl><dt>a</dt><dd>b</dd></dl>",
};

const int kFormats[] = {kKindB, kKindStrong, kKindEm, kKindI, kKindSpan};

void Runs(CElement* e, std::vector<CElement*>& out)
{
    for (CElement* c = e->m_firstChild; c; c = c->m_nextSibling) {
        if (c->IsTextElement())
            out.push_back(c);
        Runs(c, out);
    }
}

void CheckWrittenReads(CXHTML& engine, const CMarkupDocument& doc)
{
    for (int flags : {0, kSourceIndent}) {
        CSafeBuf out, error;
        doc.Write(out, flags);
        const std::string written = qmtest::ToUtf8(out);
        // A body left with an empty run writes nothing, which is no document.
        if (written.find_first_not_of(" \t\r\n") == std::string::npos)
            continue;
        CMarkupDocument again(&engine);
        const bool read = again.Read(written.data(), written.size(), error);
        if (!read)
            std::fprintf(stderr, "written: %s\nerror: %s\n", written.c_str(), qmtest::ToUtf8(error).c_str());
        QM_FUZZ_CHECK(read);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 16 * 1024)
        return 0;
    FuzzedDataProvider fdp(data, size);
    const char* document = kDocuments[fdp.ConsumeIntegralInRange<size_t>(0, std::size(kDocuments) - 1)];
    const bool atBody = fdp.ConsumeIntegralInRange<int>(0, 3) == 0;
    const bool after = fdp.ConsumeBool();
    const bool split = fdp.ConsumeBool();
    const bool drop = fdp.ConsumeBool();
    const size_t runPick = fdp.ConsumeIntegral<uint8_t>();
    const int offsetPick = fdp.ConsumeIntegral<uint8_t>();
    const int selStart = fdp.ConsumeIntegralInRange<int>(0, 40);
    const int selLength = fdp.ConsumeIntegralInRange<int>(0, 40);
    const int format = kFormats[fdp.ConsumeIntegralInRange<size_t>(0, std::size(kFormats) - 1)];
    const bool apply = fdp.ConsumeBool();
    const size_t dragFrom = fdp.ConsumeIntegral<uint8_t>();
    const size_t dragTo = fdp.ConsumeIntegral<uint8_t>();
    const int fromX = fdp.ConsumeIntegralInRange<int>(-10, 200);
    const int toX = fdp.ConsumeIntegralInRange<int>(-10, 200);
    const std::string markupBytes = fdp.ConsumeRemainingBytesAsString();
    CSafeBuf markup;
    markup.AssignUTF8(markupBytes.c_str());

    CXHTML engine;
    {
        CMarkupDocument doc(&engine);
        CSafeBuf error;
        const std::string text(document);
        if (!doc.Read(text.data(), text.size(), error) || !doc.Body())
            return 0;
        CElement* body = doc.Body();
        std::vector<CElement*> runs;
        Runs(body, runs);
        if (atBody || runs.empty()) {
            long refId = 0;
            long n = static_cast<long>(runPick % static_cast<size_t>(body->m_childCount + 1));
            for (CElement* c = body->m_firstChild; c && n > 0; c = c->m_nextSibling, --n)
                refId = c->GetID();
            body->InsertTagText(markup, refId, after, false, split, drop);
        } else {
            CElement* run = runs[runPick % runs.size()];
            run->m_caretOffset = offsetPick % (run->m_text.Length() + 1);
            engine.m_doc.m_caretElement = run;
            run->InsertTagText(markup, 0, after, false, split, drop);
        }
        engine.m_doc.ReleaseRemovedElements();
        if (CElement* caret = engine.m_doc.m_caretElement)
            QM_FUZZ_CHECK(engine.m_doc.IsElementExist(caret));
        CheckWrittenReads(engine, doc);

        // A range of the plain text, formatted.
        CSafeBuf plain;
        int state = 0;
        GetDocText(body, plain, state, 1, selStart, selLength, nullptr);
        CSafeBuf code;
        if (body->GetSelectionCode(code, 0, false)) {
            xmlDoc* parsed = LoadXMLString(code);
            QM_FUZZ_CHECK(parsed != nullptr);
            XMLReleaseDom(parsed);
        }
        CPtrList selected;
        body->GetAllChildren(&selected, 0, true, 0, 0);
        for (void* pos = selected.GetHeadPosition(); pos;) {
            CElement* e = static_cast<CElement*>(selected.GetNext(pos));
            if (engine.m_doc.IsElementExist(e))
                e->DoSelection(format, apply, nullptr);
        }
        engine.m_doc.ReleaseRemovedElements();
        CheckWrittenReads(engine, doc);

        // A drag between two runs, then its deletion.
        runs.clear();
        Runs(body, runs);
        if (!runs.empty() && LayoutDocument(body, 400)) {
            size_t a = dragFrom % runs.size(), b = dragTo % runs.size();
            const bool reverse = a > b;
            CPoint from(fromX, 1), to(toX, 1);
            runs[a]->ElementToScreen(from);
            runs[b]->ElementToScreen(to);
            body->CleanSelection(true);
            bool inside = false;
            CPtrList cells;
            body->ProcessSelection(runs[a]->GetID(), from, runs[b]->GetID(), to, inside, reverse, &cells);
            for (CElement* run : runs) {
                if (run->m_selected)
                    QM_FUZZ_CHECK(run->m_selStart >= 0 && run->m_selStart <= run->m_selEnd
                        && run->m_selEnd < std::max(run->m_text.Length(), 1));
            }
            // A body answering true holds nothing left to write.
            if (!body->DeleteSelection()) {
                engine.m_doc.ReleaseRemovedElements();
                CheckWrittenReads(engine, doc);
            }
        }
    }
    engine.m_doc.ReleaseRemovedElements();
    QM_FUZZ_CHECK(engine.m_doc.m_registry.GetCount() == 0);
    return 0;
}
