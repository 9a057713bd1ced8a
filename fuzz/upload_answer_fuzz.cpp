// The library service's answer to an upload, as the page hands it to the
// engine (the control's SOAP hook): a local file, a picture or a text file
// as the first byte says, is uploaded and the URL the answer names goes into
// the document at the caret, as an img or as a link. The rest of the input
// is the answer (UTF-8). Checks:
//   - the upload succeeds exactly when the answer names a URL, and the URL
//     handed back is that one;
//   - an inserted picture or link carries the URL as it was answered;
//   - the caret is on an element of the tree; the document's write is
//     well-formed XML;
//   - the upload goes to the page, not the network; what the network is
//     asked for is the stored picture, shown from its URL.

#include "fuzz/FakeNetwork.h"
#include "fuzz/FuzzTree.h"
#include "fuzz/FuzzXml.h"

#include "base/xml/XmlLoad.h"
#include "editor/SoapEnvelope.h"
#include "editor/XHTML.h"
#include "element/Element.h"
#include "element/markup/SourceCode.h"
#include "plugin/MorvaXEditorCtrl.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

namespace {

class AnsweringControl : public CMorvaXEditorCtrl
{
public:
    bool GoFireSOAPCall(const unsigned short*, CSafeBuf&, CSafeBuf& response) override
    {
        response.AssignUTF8(answer.c_str());
        return true;
    }
    std::string answer;
};

// A 1x1 GIF and a text file in the scratch folder, made once.
std::string MadeFile(bool picture)
{
    static const std::string folder = [] {
        const char* tmp = std::getenv("TMPDIR");
        const std::string dir = tmp && *tmp ? tmp : "/tmp";
        setenv("HOME", (dir + "/qm-fuzz-home").c_str(), 1);
        static const unsigned char gif[]
            = {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0x80, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0x21, 0xF9, 4,
                1, 0, 0, 0, 0, 0x2C, 0, 0, 0, 0, 1, 0, 1, 0, 0, 2, 2, 0x44, 1, 0, 0x3B};
        std::ofstream(dir + "/upload-picture.gif", std::ios::binary)
            .write(reinterpret_cast<const char*>(gif), sizeof gif);
        std::ofstream(dir + "/upload-notes.txt") << "notes\n";
        return dir;
    }();
    return folder + (picture ? "/upload-picture.gif" : "/upload-notes.txt");
}

// The URL the answer names, as the upload reads it; empty when none.
CSafeBuf AnsweredURL(const std::string& text)
{
    SoapAnswer answer;
    CSafeBuf url;
    if (ReadSoapAnswer(text.data(), text.size(), answer)) {
        SoapResultValue(answer.result, "url", url);
        XMLReleaseDom(answer.document);
        for (const unsigned short c : {u'\t', u'\n', u'\r'})
            url.Remove(c); // an address holds no tabs or line breaks
    }
    return url;
}

bool Carries(CElement* root, const char* name, const CSafeBuf& url)
{
    for (CElement* e : qmfuzz::ElementsBelow(root)) {
        CSafeBuf value;
        if (e->GetAttrString(name, value) && value == url)
            return true;
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1 || size > 16 * 1024)
        return 0;
    const bool picture = data[0] & 1;
    const CSafeBuf path(MadeFile(picture).c_str());
    qmfuzz::FakeNetwork network;
    qmfuzz::ScopedNetwork scoped(network);

    AnsweringControl control;
    control.answer.assign(reinterpret_cast<const char*>(data) + 1, size - 1);
    // The page answers in UTF-16: bytes that are no UTF-8 never reach the
    // reader as they are.
    CSafeBuf units;
    units.AssignUTF8(control.answer.c_str());
    const CSafeBuf expected = AnsweredURL(qmfuzz::Utf8(units));
    CXHTML engine;
    engine.m_control = &control;
    engine.m_doc.m_windowRect = CRect(0, 0, 300, 200);
    engine.m_imageLibraryURL = "http://127.0.0.1:9/images";
    engine.m_attachmentLibraryURL = "http://127.0.0.1:9/files";
    std::string document = std::string("<p>a") + kCaretMarker + "b</p>";
    CSafeBuf markup;
    markup.AssignUTF8(document.c_str());
    if (!engine.LoadDocument(markup))
        return 0;

    CSafeBuf url;
    int error = 0;
    QM_FUZZ_CHECK(engine.FileUpload(path, error, url, 2) == !expected.IsEmpty());
    QM_FUZZ_CHECK(url == expected);

    int errors = 0;
    const bool stored = engine.FileUpload(path, errors);
    QM_FUZZ_CHECK(stored == !expected.IsEmpty());
    if (stored && !(errors & 4))
        QM_FUZZ_CHECK(Carries(engine.m_doc.m_root, picture ? "src" : "href", expected));
    CXDoc& doc = engine.m_doc;
    QM_FUZZ_CHECK(!doc.m_caretElement || doc.IsElementInTree(doc.m_caretElement));
    CSafeBuf written;
    engine.GetSourceCode(written, 1);
    QM_FUZZ_CHECK(qmfuzz::ParsesAsMarkup(written));
    for (const auto& request : network.Requests()) {
        if (request.method != "GET" || !picture || request.url != qmfuzz::Utf8(expected)) {
            std::fprintf(stderr, "sent: %s %s\n", request.method.c_str(), request.url.c_str());
            QM_FUZZ_CHECK(false);
        }
    }
    return 0;
}
