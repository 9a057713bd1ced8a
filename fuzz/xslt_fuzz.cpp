// TransformXML with a fuzzed style sheet (and fuzzed parameters) against a
// fixed document. Run with a per-input time limit (-timeout): a style sheet
// can legitimately take long, but none may crash or corrupt memory.

#include "fuzz/FuzzText.h"

#include "base/collections/MapStringToString.h"
#include "base/text/SafeBuf.h"
#include "base/xml/XmlLoad.h"
#include "base/xml/XmlTransform.h"

#include <string>

namespace {

const char kDocument[] = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                         "<doc xmlns:x=\"urn:x\" xml:lang=\"en\"><title id=\"t\">Caf\xC3\xA9 &amp; co</title>"
                         "<list><item n=\"1\">one</item><item n=\"2\" xml:lang=\"fr\">deux</item>"
                         "<x:item n=\"3\"><![CDATA[<three>]]></x:item></list><!-- note --><?pi data?></doc>";

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 16000)
        return 0;
    FuzzedDataProvider fdp(data, size);
    CMapStringToString params;
    // An input that starts with '<' is all style sheet (so that seeds and the
    // dictionary work on whole sheets); any other starts with parameters.
    int n = size > 0 && data[0] == '<' ? 0 : fdp.ConsumeIntegralInRange<int>(0, 3);
    for (int i = 0; i < n; ++i) {
        std::string key = qmfuzz::ConsumeBytes(fdp, 8);
        std::string value = qmfuzz::ConsumeBytes(fdp, 16);
        params.SetAt(key.c_str(), CSafeBuf(value.c_str()));
    }
    std::vector<unsigned short> sheet = qmfuzz::Widen(fdp.ConsumeRemainingBytesAsString());
    for (size_t i = 0; i + 1 < sheet.size(); ++i)
        if (sheet[i] == 0)
            sheet[i] = ' ';

    // UTF-8 one byte per character, as its declaration says.
    CSafeBuf xml;
    xml = kDocument;
    static const bool parses = [&xml] {
        xmlDoc* doc = LoadXMLString(xml);
        XMLReleaseDom(doc);
        return doc != nullptr;
    }();
    QM_FUZZ_CHECK(parses); // otherwise no style sheet would ever run
    CSafeBuf error;
    TransformXML(xml, sheet.data(), &error, n ? &params : nullptr, static_cast<const char*>(nullptr));
    return 0;
}
