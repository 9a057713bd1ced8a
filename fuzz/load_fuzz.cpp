// Loading markup into the document: fuzzed text (UTF-8) is loaded with
// CXDoc::LoadDocument, then, when the input holds a line "%%", the text after
// it is loaded into the same document (a load over a tree, which may fail
// and leave that tree). The first byte sets the control's Dir ("rtl") and
// Namespaces. After each load:
//   - the document has a tree, and every live element of the document is
//     in it or queued for destruction (a replaced tree leaves nothing
//     behind);
//   - the caret element, when there is one, is an element of the tree;
//   - a load that answered true left a body with content;
//   - what is kept of the text for the writer stays well-formed: the html
//     start tag closed by its end tag, with the head's markup, or with the
//     style element's markup, inside, parses as XML.
// Loading the same text again into a fresh document gives the same answer.

#include "base/text/SafeBuf.h"
#include "base/xml/XmlLoad.h"
#include "editor/XHTML.h"
#include "element/Element.h"
#include "fuzz/FuzzText.h"
#include "plugin/MorvaXEditorCtrl.h"

#include <cstdint>
#include <string>

namespace {

int CountTree(const CElement* root)
{
    int n = 0;
    for (const CElement* e = root; e;) {
        ++n;
        if (e->m_firstChild) {
            e = e->m_firstChild;
            continue;
        }
        while (e != root && !e->m_nextSibling)
            e = e->m_parent;
        e = e == root ? nullptr : e->m_nextSibling;
    }
    return n;
}

bool InTree(const CElement* root, const CElement* e)
{
    while (e && e != root)
        e = e->m_parent;
    return e == root;
}

bool Parses(const CSafeBuf& start, const CSafeBuf& inside)
{
    CSafeBuf text(start);
    text += inside;
    text += "</html>";
    xmlDoc* doc = LoadXMLString(text, nullptr, true);
    XMLReleaseDom(doc);
    return doc != nullptr;
}

struct Engine
{
    CMorvaXEditorCtrl control;
    CXHTML engine;

    explicit Engine(uint8_t flags)
    {
        engine.m_control = &control;
        if (flags & 1)
            control.Dir = "rtl";
        if (flags & 2)
            control.Namespaces = "xmlns:q=\"urn:q\"";
        engine.m_doc.m_windowRect = CRect(0, 0, 300, 200);
    }
};

void Check(CXDoc& doc, bool loaded)
{
    QM_FUZZ_CHECK(doc.m_root != nullptr);
    int live = CountTree(doc.m_root);
    doc.m_removedList.ForEachItem([&live](void* e) { live += CountTree(static_cast<CElement*>(e)); });
    QM_FUZZ_CHECK(doc.m_registry.GetCount() == live);
    QM_FUZZ_CHECK(!doc.m_caretElement || InTree(doc.m_root, doc.m_caretElement));
    QM_FUZZ_CHECK(!loaded || doc.m_root->m_firstChild);
    if (!doc.m_htmlStartTag.IsEmpty()) {
        QM_FUZZ_CHECK(Parses(doc.m_htmlStartTag, doc.m_headMarkup));
        QM_FUZZ_CHECK(Parses(doc.m_htmlStartTag, doc.m_styleMarkup));
    }
    // The sheet's place lies among the head's children: its element put
    // back there makes a head that reads again.
    const int place = doc.m_sheetPlace;
    QM_FUZZ_CHECK(place >= -1 && place <= doc.m_headMarkup.Length());
    if (place >= 0 && !doc.m_htmlStartTag.IsEmpty()) {
        CSafeBuf head = doc.m_headMarkup.Left(place);
        head += doc.m_styleMarkup;
        head += doc.m_headMarkup.Mid(place, doc.m_headMarkup.Length() - place);
        QM_FUZZ_CHECK(Parses(doc.m_htmlStartTag, head));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1 || size > 32 * 1024)
        return 0;
    const std::string input(reinterpret_cast<const char*>(data) + 1, size - 1);
    const size_t split = input.find("\n%%\n");
    CSafeBuf first, second;
    first.AssignUTF8(input.substr(0, split).c_str());
    if (split != std::string::npos)
        second.AssignUTF8(input.substr(split + 4).c_str());

    bool answer = false;
    {
        Engine e(data[0]);
        answer = e.engine.m_doc.LoadDocument(first);
        Check(e.engine.m_doc, answer);
        if (split != std::string::npos)
            Check(e.engine.m_doc, e.engine.m_doc.LoadDocument(second));
    }
    {
        Engine again(data[0]);
        QM_FUZZ_CHECK(again.engine.m_doc.LoadDocument(first) == answer);
    }
    return 0;
}
