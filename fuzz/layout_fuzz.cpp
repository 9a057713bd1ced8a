// A style sheet and markup through the layout pass: the bytes before a line
// "%%" are the page's sheet, the rest the document. The tree is laid out at
// two widths; every box must stay within the layout's bounds, and laying
// the tree out again at the same width must place every box as before.

#include "fuzz/FakeNetwork.h"
#include "fuzz/FuzzText.h"

#include "base/text/SafeBuf.h"
#include "editor/XHTML.h"
#include "element/Element.h"
#include "element/markup/MarkupDocument.h"
#include "style/layout/BoxDump.h"
#include "style/layout/LayoutLimits.h"
#include "style/layout/LayoutPass.h"

#include <string>

namespace {

void CheckBoxes(const CElement* root)
{
    for (const CElement* e = root; e;) {
        QM_FUZZ_CHECK(e->Lay().m_sizeRect.right - e->Lay().m_sizeRect.left >= 0);
        QM_FUZZ_CHECK(e->Lay().m_sizeRect.bottom - e->Lay().m_sizeRect.top >= 0);
        QM_FUZZ_CHECK(
            e->Lay().m_sizeRect.right <= kMaxLayoutCoord && e->Lay().m_sizeRect.bottom <= kMaxLayoutCoord);
        if (e->m_firstChild) {
            e = e->m_firstChild;
            continue;
        }
        while (e != root && !e->m_nextSibling)
            e = e->m_parent;
        e = e == root ? nullptr : e->m_nextSibling;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Pictures of images and backgrounds are never fetched from the network:
    // every request fails at once.
    static qmfuzz::FakeNetwork offline;
    static qmfuzz::ScopedNetwork scope(offline);
    offline.Restart();
    // A paragraph whose text is shaped whole (symbols, right-to-left or
    // Chinese and Japanese text) is shaped again for every line it wraps to,
    // and at width 0 every word is a line: inputs stay small enough for that
    // to finish within the time-out.
    if (size > 3 * 1024)
        return 0;
    const std::string input(reinterpret_cast<const char*>(data), size);
    const size_t split = input.find("\n%%\n");
    const std::string sheet = split == std::string::npos ? std::string() : input.substr(0, split);
    const std::string markup = split == std::string::npos ? input : input.substr(split + 4);
    CXHTML engine;
    CSafeBuf sheetText;
    sheetText.AssignUTF8(sheet.c_str());
    engine.m_doc.LoadStyleClass(sheetText, 0, false, 0);
    CMarkupDocument doc(&engine);
    CSafeBuf error;
    if (!doc.Read(markup.data(), markup.size(), error))
        return 0;
    for (int width : {0, 517}) {
        QM_FUZZ_CHECK(LayoutDocument(doc.Body(), width));
        CheckBoxes(doc.Body());
        CSafeBuf first, second;
        GetBoxDump(doc.Body(), first);
        QM_FUZZ_CHECK(LayoutDocument(doc.Body(), width));
        GetBoxDump(doc.Body(), second);
        QM_FUZZ_CHECK(first == second);
    }
    return 0;
}
