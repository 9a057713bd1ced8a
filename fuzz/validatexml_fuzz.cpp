// The two well-formedness answers on fuzzed markup (UTF-8 after a flag byte):
// the source view's check (ValidateXMLValue) and the Tidy repair
// (CXHTML::ValidateXML, reading XML with flag bit 0). Checks:
//   - the check answers true exactly when the text parses as the content of
//     an element (for text without a prolog, a processing instruction or
//     the check's own wrapper name), and false comes with the parser's
//     reason;
//   - what the repair answers true for and the value path's cleaning (mode
//     9) takes is well-formed XML inside a body. (The repair alone may give
//     text that is not: a document type declaration read as XML comes back
//     as it was, for the cleaning to drop.)

#include "fuzz/FuzzText.h"
#include "fuzz/FuzzXml.h"

#include "base/text/SafeBuf.h"
#include "editor/XHTML.h"
#include "source_view/ValidateXml.h"

#include <cstdint>
#include <cstdio>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1 || size > 32 * 1024)
        return 0;
    const bool xmlInput = (data[0] & 1) != 0;
    const std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    CSafeBuf markup;
    markup.AssignUTF8(bytes.c_str());

    CSafeBuf message;
    const bool wellFormed = ValidateXMLValue(markup, false, &message);
    QM_FUZZ_CHECK(wellFormed ? message == "Document is valid." : message.Find("XML error") == 0);
    const bool plain = markup.Find("<?") < 0 && markup.Find("<!D") < 0 && markup.Find("AdDedBlS12Bs") < 0
        && markup.Find("body") < 0;
    if (plain && wellFormed != qmfuzz::ParsesInsideBody(markup)) {
        std::fprintf(stderr, "check answered %d for: %s\n", wellFormed, bytes.c_str());
        QM_FUZZ_CHECK(false);
    }

    // The repair's text goes on to the cleaning of the value path, which
    // answers whether it is markup the editor takes.
    CSafeBuf repaired(markup);
    static CXHTML engine;
    if (CXHTML::ValidateXML(repaired, nullptr, xmlInput) && engine.CleanXHTML(repaired, 9)
        && !qmfuzz::ParsesInsideBody(repaired)) {
        std::fprintf(stderr, "repaired: %s\n", qmfuzz::Utf8(repaired).c_str());
        QM_FUZZ_CHECK(false);
    }
    return 0;
}
