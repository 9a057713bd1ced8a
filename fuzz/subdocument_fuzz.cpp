// A sub-document service's answers: the input is the answer to the
// definitions request, then (after a NUL byte, when there is one) the answer
// to the content request, both handed to the engine by the page (the
// control's SOAP hook) as a service's would come. The document holds an
// "x-sub" element with an id and an option attribute. Then:
//   - the load answers 0, 1 or 2, with no content unless it answered 2;
//   - without definitions held (mode not 2) the answer is 1;
//   - a second load with the same answers gives the same answer and content;
//   - IsSubDocChanged is false while the element's attributes stay as kept,
//     and true once each differs, when the content was answered.

#include "editor/XHTML.h"
#include "element/Element.h"
#include "elements/CustomElement.h"
#include "fuzz/FuzzText.h"
#include "plugin/MorvaXEditorCtrl.h"

#include <cstdint>
#include <cstring>
#include <string>

namespace {

class AnsweringControl : public CMorvaXEditorCtrl
{
public:
    bool GoFireSOAPCall(const unsigned short* name, CSafeBuf&, CSafeBuf& response) override
    {
        const bool describe = CSafeBuf(name) == "doSubdocumentDescribe";
        response.AssignUTF8((describe ? definitions : content).c_str());
        return true;
    }
    std::string definitions;
    std::string content;
};

CCustomElement* FirstCustom(CElement* e)
{
    if (auto* custom = dynamic_cast<CCustomElement*>(e))
        return custom;
    for (CElement* c = e ? e->m_firstChild : nullptr; c; c = c->m_nextSibling) {
        if (CCustomElement* found = FirstCustom(c))
            return found;
    }
    return nullptr;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::string::size_type cut = input.find('\0');
    AnsweringControl control;
    control.SubdocumentURL = "http://127.0.0.1:9/sub";
    control.definitions = input.substr(0, cut);
    control.content = cut == std::string::npos ? std::string() : input.substr(cut + 1);
    CXHTML engine;
    engine.m_control = &control;
    engine.m_doc.m_windowRect = CRect(0, 0, 300, 200);
    if (!engine.LoadDocument(CSafeBuf("<p>x</p><x-sub docid=\"a&amp;b\" kind=\"k\"></x-sub>")))
        return 0;
    CCustomElement* e = FirstCustom(engine.m_doc.m_root);
    QM_FUZZ_CHECK(e != nullptr);

    CSafeBuf first;
    const int answer = engine.m_doc.LoadSubDocumentForElement(e, first, false);
    QM_FUZZ_CHECK(answer >= 0 && answer <= 2);
    QM_FUZZ_CHECK(answer == 2 || first.IsEmpty());
    QM_FUZZ_CHECK(engine.m_doc.m_subDocMode == 2 || answer == 1);
    CSafeBuf second;
    QM_FUZZ_CHECK(engine.m_doc.LoadSubDocumentForElement(e, second, false) == answer);
    QM_FUZZ_CHECK(second == first);

    // Kept as they are now: unchanged; every value changed: changed.
    e->m_loadAttributes.RemoveAll();
    e->m_attributes.ForEachPair([&](const CSafeBuf& key, const CSafeBuf& value) {
        e->m_loadAttributes.SetAt(static_cast<const unsigned short*>(key), value);
    });
    QM_FUZZ_CHECK(!engine.m_doc.IsSubDocChanged(e));
    for (const char* name : {"docid", "kind"}) {
        CSafeBuf value("~");
        CSafeBuf old;
        e->GetAttrString(name, old);
        value += old;
        e->SetAttrString(name, value);
    }
    if (answer == 2)
        QM_FUZZ_CHECK(engine.m_doc.IsSubDocChanged(e));
    return 0;
}
