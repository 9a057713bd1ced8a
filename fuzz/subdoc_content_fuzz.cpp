// A sub-document service's content, as the elements of a page take it in:
// the service (answered by the page through the control's SOAP hook) defines
// "x-sub" elements named by "docid" and answers every download with the
// input as markup. The page holds one such element in a div and one in a
// paragraph; their content is loaded while the document is read and styled,
// and the elements inside it load the same content when restyled. Checks:
//   - restyling settles: after a few rounds no further request is made, and
//     no more loaded sub-documents are found inside one than allowed;
//   - the caret is on an element of the tree;
//   - the document's write is well-formed.

#include "fuzz/FuzzText.h"
#include "fuzz/FuzzXml.h"

#include "editor/XHTML.h"
#include "element/Element.h"
#include "element/TreeQueries.h"
#include "elements/CustomElement.h"
#include "plugin/MorvaXEditorCtrl.h"

#include <cstdint>
#include <string>

namespace {

class AnsweringControl : public CMorvaXEditorCtrl
{
public:
    bool GoFireSOAPCall(const unsigned short*, CSafeBuf&, CSafeBuf& response) override
    {
        ++requests;
        response.AssignUTF8(answer.c_str());
        return true;
    }
    std::string answer;
    int requests = 0;
};

std::string Escaped(const std::string& text)
{
    std::string out;
    for (const char c : text) {
        if (c == '<')
            out += "&lt;";
        else if (c == '&')
            out += "&amp;";
        else if (c == '>')
            out += "&gt;";
        else
            out += c;
    }
    return out;
}

int CountLoaded(CElement* root)
{
    int n = 0;
    for (CElement* c = root; c; c = NextInSubtree(c, root)) {
        const auto* custom = dynamic_cast<const CCustomElement*>(c);
        n += custom && custom->m_isSubDocument && custom->m_subDocLoaded ? 1 : 0;
    }
    return n;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size > 8 * 1024)
        return 0;
    const std::string content(reinterpret_cast<const char*>(data), size);
    if (content.find('\0') != std::string::npos)
        return 0;
    AnsweringControl control;
    control.SubdocumentURL = "http://127.0.0.1:9/sub";
    control.SubdocumentTags = "x-sub";
    control.answer = "<e:Envelope xmlns:e=\"http://www.w3.org/2003/05/soap-envelope\"><e:Body>"
                     "<w:answer xmlns:w=\"urn:quillmark:webservice\"><w:subdocumentDefinition>"
                     "<w:elementName>x-sub</w:elementName><w:idAttribute>docid</w:idAttribute>"
                     "</w:subdocumentDefinition><w:subdocument>"
        + Escaped(content) + "</w:subdocument></w:answer></e:Body></e:Envelope>";
    CXHTML engine;
    engine.m_control = &control;
    engine.m_doc.m_windowRect = CRect(0, 0, 300, 200);
    const char* page = "<div><x-sub docid=\"a\"></x-sub></div><p>x<x-sub docid=\"b\"></x-sub></p>";
    if (!engine.LoadDocument(CSafeBuf(page)))
        return 0;
    CXDoc& doc = engine.m_doc;
    int asked = -1;
    int rounds = 0;
    for (; rounds < 12 && control.requests != asked; ++rounds) {
        asked = control.requests;
        doc.m_root->StyleChanged(0);
        doc.DrawDoc(1);
    }
    QM_FUZZ_CHECK(control.requests == asked);
    // Two elements of the page, each holding at most 64 loaded ones.
    QM_FUZZ_CHECK(CountLoaded(doc.m_root) <= 2 * 65);
    QM_FUZZ_CHECK(!doc.m_caretElement || doc.IsElementInTree(doc.m_caretElement));
    CSafeBuf written;
    engine.GetSourceCode(written, 6);
    QM_FUZZ_CHECK(qmfuzz::ParsesAsMarkup(written));
    return 0;
}
