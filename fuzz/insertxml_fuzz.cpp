// Markup the page inserts through the control's InsertXML at the caret of a
// loaded document. The last bytes pick (from the end) the document, the
// text run that holds the caret and its offset, and the page's Options bit
// 0x4000; the bytes before them are the markup (UTF-8). Checks: the caret is on an element of the
// tree (or there is none); the document's writes, indented and for change
// detection, are well-formed XML; nothing is fetched; the control goes away
// with nothing left (LeakSanitizer).

#include "fuzz/FuzzControl.h"
#include "fuzz/FuzzTree.h"
#include "fuzz/FuzzXml.h"

#include "base/text/SafeBuf.h"
#include "element/Element.h"

#include <cstdint>
#include <cstdio>
#include <iterator>
#include <string>
#include <vector>

namespace {

const char* const kDocuments[] = {
    "<p>abcd</p>",
    "<p>x<b>ab<i>cd</i></b>y</p><div>ef</div>",
    "<h1>ab</h1><ul><li>cd<a href=\"u\">ef</a></li><li>gh</li></ul>",
    "<table><tbody><tr><td>ab</td><td>cd</td></tr></tbody></table><p>ef</p>",
    "<pre>ab\ncd</pre><blockquote><p>q</p></blockquote><dl><dt>a</dt><dd>b</dd></dl>",
    "<p style=\"-qm-lock: true\">locked</p><p>open <span class=\"c\">run</span></p>",
    "<div><p>a<br />b</p><img src=\"p.png\" alt=\"x\" /></div>",
};

constexpr int kIndented = 1;
constexpr int kChangeMode = 6;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 16 * 1024)
        return 0;
    FuzzedDataProvider fdp(data, size);
    const char* document = kDocuments[fdp.ConsumeIntegralInRange<size_t>(0, std::size(kDocuments) - 1)];
    const size_t runPick = fdp.ConsumeIntegral<uint8_t>();
    const int offsetPick = fdp.ConsumeIntegral<uint8_t>();
    const int options = fdp.ConsumeBool() ? 0x4000 : 0;
    CSafeBuf markup;
    markup.AssignUTF8(fdp.ConsumeRemainingBytesAsString().c_str());

    qmfuzz::StartedControl c(options);
    CXDoc& doc = c.Doc();
    if (!c.Engine().LoadDocument(CSafeBuf(document)))
        return 0;
    std::vector<CElement*> runs;
    for (CElement* e : qmfuzz::ElementsBelow(doc.m_root)) {
        if (e->IsTextElement())
            runs.push_back(e);
    }
    if (!runs.empty()) {
        CElement* run = runs[runPick % runs.size()];
        run->m_caretOffset = offsetPick % (run->m_text.Length() + 1);
        doc.m_caretElement = run;
    }

    c.control.InsertXML(markup);
    QM_FUZZ_CHECK(!doc.m_caretElement || doc.IsElementInTree(doc.m_caretElement));
    for (int mode : {kIndented, kChangeMode}) {
        CSafeBuf out;
        c.Engine().GetSourceCode(out, mode);
        if (!qmfuzz::ParsesAsMarkup(out)) {
            std::fprintf(stderr, "mode %d wrote: %s\n", mode, qmfuzz::Utf8(out).c_str());
            QM_FUZZ_CHECK(false);
        }
    }
    QM_FUZZ_CHECK(c.network.Requests().empty());
    return 0;
}
