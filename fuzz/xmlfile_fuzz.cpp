// LoadXMLFile on a file holding the fuzz bytes, read with the parser's own
// encoding detection. A file beside it holds a marker: no document may carry
// the marker's text unless the fuzz bytes do, so an entity or DTD reference
// ("secret.txt" is in the dictionary) never pulls a local file in.

#include "fuzz/FuzzFile.h"
#include "fuzz/FuzzText.h"

#include "base/text/SafeBuf.h"
#include "base/xml/XmlLoad.h"

#include <libxml/tree.h>

#include <cstring>
#include <string>

namespace {

const char kMarker[] = "QM-LOCAL-FILE-7319";

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 20000)
        return 0;
    static const bool planted = [] {
        const std::string text = std::string(kMarker) + "\n";
        qmfuzz::WriteScratchFile("secret.txt", text.data(), text.size());
        const std::string dtd = std::string("<!ENTITY leak \"") + kMarker + "\">\n";
        qmfuzz::WriteScratchFile("secret.dtd", dtd.data(), dtd.size());
        return true;
    }();
    (void)planted;
    const std::string path = qmfuzz::WriteScratchFile("doc.xml", data, size);
    if (path.empty())
        return 0;
    std::vector<unsigned short> wpath = qmfuzz::Widen(path);

    CSafeBuf error("stale");
    xmlDoc* doc = LoadXMLFile(wpath.data(), &error);
    if (!doc) {
        QM_FUZZ_CHECK(error.Find("Incorrect XML") == 0);
        return 0;
    }
    QM_FUZZ_CHECK(error.IsEmpty());
    xmlChar* text = nullptr;
    int length = 0;
    xmlDocDumpMemory(doc, &text, &length);
    if (text) {
        const std::string dumped(reinterpret_cast<const char*>(text), static_cast<size_t>(length));
        const std::string input(reinterpret_cast<const char*>(data), size);
        if (input.find("7319") == std::string::npos)
            QM_FUZZ_CHECK(dumped.find(kMarker) == std::string::npos);
        xmlFree(text);
    }
    XMLReleaseDom(doc);
    return 0;
}
