// Markup cleaning: fuzzed markup (UTF-8) goes through CXDoc::CleanXHTML in
// modes 0, 1, 2, 8, 9 and 12, with the option bits 0x4000 and 0x10000 as the
// first byte says. Whatever the cleaner answers true for must parse as XML
// inside a body element (a fragment comes back as content, a whole document
// as its html element), and the cleaning makes no elements of the document.

#include "fuzz/FuzzText.h"
#include "fuzz/FuzzXml.h"

#include "base/text/SafeBuf.h"
#include "editor/XHTML.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1 || size > 64 * 1024)
        return 0;
    const int options = ((data[0] & 1) ? 0x4000 : 0) | ((data[0] & 2) ? 0x10000 : 0);
    const std::string markup(reinterpret_cast<const char*>(data) + 1, size - 1);
    CSafeBuf input;
    input.AssignUTF8(markup.c_str());

    CXHTML engine;
    engine.m_controlOptions = &options;
    for (int mode : {0, 1, 2, 8, 9, 12}) {
        CSafeBuf text(input);
        if (engine.m_doc.CleanXHTML(text, mode))
            QM_FUZZ_CHECK(qmfuzz::ParsesInsideBody(text));
    }
    QM_FUZZ_CHECK(engine.m_doc.m_registry.GetCount() == 0);
    return 0;
}
